// 班组签收联 opened as a new user opens it from the demo host: PSecond through the C interface with the
// component's own services, on a fresh settings folder, shows the month's departments and grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "demo_host.h"

using namespace Qt::StringLiterals;

namespace {

TEST(PaymentWindowFromTheHost, PSecondShowsTheDepartmentsAndTheGrid) {
    slp::data::DemoOptions options;
    options.employees = 30;
    host_test::DemoHost host(options);
    const auto r = host.call("PSecond");
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    QWidget* window = host_test::DemoHost::visibleWindow(u"工资输出表2"_s);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u"班组签收联"_s);
    auto* list = window->findChild<QListWidget*>(u"ListV1"_s);
    ASSERT_NE(list, nullptr);
    EXPECT_GT(list->count(), 0);
    EXPECT_EQ(list->item(0)->text(), u"办公室"_s);
    auto* grid = host_test::DemoHost::shownGrid(window);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 31);  // 30 employees and the totals row below the caption
    if (const QByteArray shots = qgetenv("SLP_SCREENSHOT_DIR"); !shots.isEmpty()) {
        window->resize(1280, 800);
        window->grab().save(QString::fromLocal8Bit(shots) + u"/payment-host.png"_s);
    }
    window->close();
}

}  // namespace
