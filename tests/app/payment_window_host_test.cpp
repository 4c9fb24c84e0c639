// 班组签收联 opened as a new user opens it from the demo host: PSecond through the C interface with the
// component's own services, on a fresh settings folder, shows the month's departments and grid.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
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

namespace {

// The wage windows as the host opens them read their month on a thread of their own: each shows at
// once, its rows come when they are read, and its status panel then says what the grid holds.
TEST(WageWindowsFromTheHost, EachShowsAtOnceAndItsRowsFollow) {
    const struct {
        const char* member;
        QString window;
        int rows;         // below the caption row
        QString status2;  // the start of status panel 2 once filled
    } cases[] = {
        {"PFirst", u"工资输出表1"_s, 31, u"本月发薪人数为30"_s},
        {"PSecond", u"工资输出表2"_s, 31, u"本月发薪人数为30"_s},
        {"PThird", u"工资输出表3"_s, -1, u"本月发薪部门数为"_s},
    };
    for (const auto& c : cases) {
        slp::data::DemoOptions options;
        options.employees = 30;
        host_test::DemoHost host(options);
        const auto r = host.call(c.member);
        ASSERT_TRUE(r.ok()) << c.member << ": " << r.description.toStdString();
        QWidget* window = host_test::DemoHost::visibleWindow(c.window);
        ASSERT_NE(window, nullptr) << c.member;
        auto* grid = host_test::DemoHost::shownGrid(window);
        ASSERT_NE(grid, nullptr) << c.member;
        if (c.rows >= 0) {
            EXPECT_EQ(grid->model()->rowCount(), c.rows) << c.member;
        } else {
            EXPECT_GT(grid->model()->rowCount(), 1) << c.member;  // departments and the totals row
        }
        auto* status = window->findChild<QLabel*>(u"SBar1_2"_s);
        ASSERT_NE(status, nullptr) << c.member;
        EXPECT_TRUE(status->text().startsWith(c.status2)) << c.member << ": " << status->text().toStdString();
        window->close();
    }
}

}  // namespace
