// The special print tests need a QApplication (offscreen): Qt SQL finds its drivers through it,
// "我" is measured in real faces and the window tests show widgets.
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
    char name_[16] = "test_special";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace
