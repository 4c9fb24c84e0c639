// The progress bar of a window's long work: modal to its window, moved by the callback it hands out,
// answering false once 取消 was pressed, shown only while the work runs and only once it has run for its
// time, gone when the work is done and with the last copy of the callback.
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
            slp::ui::progressBar(&window, u"正在打印..."_s, window.windowTitle(), 0);
        EXPECT_TRUE(progress(0, 1000));
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

TEST(ProgressBar, IsGoneWhenTheWorkIsDoneAndNeverComesBack) {
    QMainWindow window;
    slp::ui::ProgressCallback progress = slp::ui::progressBar(&window, u"正在打印..."_s, QString(), 0);
    EXPECT_TRUE(progress(1, 3));
    ASSERT_NE(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);
    EXPECT_TRUE(progress(3, 3));  // done: gone before the window says the result
    EXPECT_EQ(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);
    // A message box's event loop afterwards finds no bar to show.
    QApplication::processEvents();
    EXPECT_EQ(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);
}

TEST(ProgressBar, ShortWorkShowsNoBarAtAll) {
    QMainWindow window;
    slp::ui::ProgressCallback progress = slp::ui::progressBar(&window, u"正在打印..."_s, QString());
    for (int done = 0; done < 50; ++done) EXPECT_TRUE(progress(done, 50));
    EXPECT_EQ(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);
    EXPECT_TRUE(progress(50, 50));
    EXPECT_EQ(window.findChild<QProgressDialog*>(u"workProgress"_s), nullptr);
}

TEST(ProgressBar, ACallbackOutlivingItsWindowGoesOnWithoutIt) {
    slp::ui::ProgressCallback progress;
    {
        QMainWindow window;
        progress = slp::ui::progressBar(&window, u"正在写入电子表格..."_s, QString(), 0);
        EXPECT_TRUE(progress(0, 2));
    }
    EXPECT_TRUE(progress(1, 2));
}

}  // namespace
