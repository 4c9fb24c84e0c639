// Every test executable of the preview gets an application object before its first test (widgets need
// one, fonts need one), with the Chinese font substitutes registered as at start-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "print/chinese_fonts.h"

namespace {

class AppEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_print_preview";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        slp::print::registerChineseFontSubstitutes();
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace
