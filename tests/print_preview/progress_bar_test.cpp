// The progress bar of a window's long work: modal to its window, moved by the callback it hands out,
// answering false once 取消 was pressed, and gone with the last copy of the callback.
#include "ui/progress_bar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace {

TEST(ProgressBar, MovesWithTheWorkStopsWhenCancelledAndGoesWithItsCallback) {
    QMainWindow window;
    window.setWindowTitle(u"个人发放联"_s);
    {
        slp::ui::ProgressCallback progress =
            slp::ui::progressBar(&window, u"正在打印..."_s, window.windowTitle());
        auto* bar = window.findChild<QProgressDialog*>(u"workProgress"_s);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->labelText(), u"正在打印..."_s);
        EXPECT_EQ(bar->windowTitle(), u"个人发放联"_s);
        EXPECT_EQ(bar->windowModality(), Qt::WindowModal);
        EXPECT_TRUE(progress(400, 1000));  // a step of 5: moved
        EXPECT_EQ(bar->maximum(), 1000);
        EXPECT_EQ(bar->value(), 400);
        EXPECT_TRUE(progress(401, 1000));  // between steps: not moved
        EXPECT_EQ(bar->value(), 400);
        const slp::ui::ProgressCallback copy = progress;
        progress = nullptr;
        EXPECT_NE(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);  // the copy holds it
        bar->cancel();
        EXPECT_FALSE(copy(405, 1000));
    }
    EXPECT_EQ(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);
    EXPECT_EQ(slp::ui::progressStep(100), 1);
    EXPECT_EQ(slp::ui::progressStep(1000000), 5000);
}

TEST(ProgressBar, ACallbackOutlivingItsWindowGoesOnWithoutIt) {
    slp::ui::ProgressCallback progress;
    {
        QMainWindow window;
        progress = slp::ui::progressBar(&window, u"正在写入电子表格..."_s, QString());
    }
    EXPECT_TRUE(progress(1, 2));
}

}  // namespace
