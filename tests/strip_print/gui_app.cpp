// Font metrics and PDF pages need a GUI application object (offscreen), with the Chinese faces
// registered as at start-up.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "print/chinese_fonts.h"

namespace {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_strip_print";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
        slp::print::registerChineseFontSubstitutes();
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
