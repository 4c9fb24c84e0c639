// 特殊打印设置 opened as a new user opens it from the demo host: PSEL through the C interface with the
// component's own services, on a fresh settings folder, shows the sheet with the month's labels.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "data/demo_database.h"
#include "host_driver.h"

using namespace Qt::StringLiterals;

namespace {

TEST(SpecialWindowFromTheHost, PselShowsTheSheetWithTheMonthsLabels) {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_s).toLocal8Bit());
    const QString path = dir.filePath(u"demo.db"_s);
    slp::data::DemoOptions options;
    options.employees = 12;
    slp::data::createDemoDatabase(path, options);

    slp::app::HostDriver driver;
    const auto r = driver.request({path, u"0101"_s, u"朔岚示范公司"_s, u"2000-04"_s, u"25"_s}, "PSEL");
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"特殊打印设置"_s && w->isVisible()) window = w;
    }
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
