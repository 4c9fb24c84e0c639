// 班组签收联 opened as a new user opens it from the demo host: PSecond through the C interface with the
// component's own services, on a fresh settings folder, shows the month's departments and grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "data/demo_database.h"
#include "host_driver.h"

using namespace Qt::StringLiterals;

namespace {

TEST(PaymentWindowFromTheHost, PSecondShowsTheDepartmentsAndTheGrid) {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_s).toLocal8Bit());
    const QString path = dir.filePath(u"demo.db"_s);
    slp::data::DemoOptions options;
    options.employees = 30;
    slp::data::createDemoDatabase(path, options);

    slp::app::HostDriver driver;
    const auto r = driver.request({path, u"0101"_s, u"朔岚示范公司"_s, u"2000-04"_s, u"25"_s}, "PSecond");
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"工资输出表2"_s && w->isVisible()) window = w;
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u"班组签收联"_s);
    auto* list = window->findChild<QListWidget*>(u"ListV1"_s);
    ASSERT_NE(list, nullptr);
    EXPECT_GT(list->count(), 0);
    EXPECT_EQ(list->item(0)->text(), u"办公室"_s);
    auto* grid = window->findChild<QTableView*>(u"MSGrid1"_s);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 31);  // 30 employees and the totals row below the caption
    if (const QByteArray shots = qgetenv("SLP_SCREENSHOT_DIR"); !shots.isEmpty()) {
        window->resize(1280, 800);
        window->grab().save(QString::fromLocal8Bit(shots) + u"/payment-host.png"_s);
    }
    window->close();
}

}  // namespace
