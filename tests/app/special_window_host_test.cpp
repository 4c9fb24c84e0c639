// 特殊打印设置 opened as a new user opens it from the demo host: PSEL through the C interface with the
// component's own services, on a fresh settings folder, shows the sheet with the month's labels.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "demo_host.h"

using namespace Qt::StringLiterals;

namespace {

TEST(SpecialWindowFromTheHost, PselShowsTheSheetWithTheMonthsLabels) {
    slp::data::DemoOptions options;
    options.employees = 12;
    host_test::DemoHost host(options);
    const auto r = host.call("PSEL");
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    QWidget* window = host_test::DemoHost::visibleWindow(u"特殊打印设置"_s);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u"特殊打印设置"_s);
    auto* tree = window->findChild<QTreeWidget*>(u"TreeV1"_s);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 29);  // the demo month's 28 items and the pay date
    EXPECT_EQ(tree->topLevelItem(0)->text(0), u"部门"_s);
    auto* first = window->findChild<QLabel*>(u"GZHM_1"_s);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), u"部门"_s);
    EXPECT_FALSE(window->findChild<QAction*>(u"MenuPrint"_s)->isEnabled());
    if (const QByteArray shots = qgetenv("SLP_SCREENSHOT_DIR"); !shots.isEmpty()) {
        window->resize(1280, 800);
        window->grab().save(QString::fromLocal8Bit(shots) + u"/special-host.png"_s);
    }
    window->close();
}

}  // namespace
