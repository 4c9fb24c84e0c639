// The data, print and window tests need an application object (offscreen): Qt SQL finds its drivers
// through it, text is measured in real faces and the windows show widgets. One application for the whole
// test program, made before the first test with the Chinese font substitutes registered as at start-up,
// and dropped after the last.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "print/chinese_fonts.h"

namespace {

class AppEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        slp::print::registerChineseFontSubstitutes();
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "slp_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace
