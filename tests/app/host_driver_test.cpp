// The demo host's requests go through the C interface in the host's order and report the first failure.
#include "host_driver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include "command_line.h"
#include "data/demo_database.h"

using namespace Qt::StringLiterals;
using slp::app::HostDriver;
using slp::app::HostFields;

namespace {

class HostDriverTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
};

TEST_F(HostDriverTest, MissingDatabaseFileStopsBeforeTheWindow) {
    HostDriver driver;
    const auto r =
        driver.request({u"/nonexistent/wages.db"_s, u"0101"_s, u"单位"_s, u"2000-04"_s, u"25"_s}, "PFirst");
    EXPECT_EQ(r.code, SLP_E_DATABASE);
    EXPECT_EQ(r.step, u"slp_open_database"_s);
    EXPECT_TRUE(r.description.contains(u"/nonexistent/wages.db"_s)) << r.description.toStdString();
    // The clerk reads the file and the reason in Chinese first, the call and its code after.
    const QString told = slp::app::failureText(r);
    EXPECT_TRUE(told.startsWith(u"无法打开数据库“/nonexistent/wages.db”：找不到文件"_s))
        << told.toStdString();
    EXPECT_TRUE(told.endsWith(u"\n（slp_open_database 返回 0x80004005）"_s)) << told.toStdString();
}

TEST(PayDay, ADayTheWorkMonthHasIsTakenAnythingElseIsRefused) {
    const struct {
        const char16_t* month;
        const char16_t* day;
        bool ok;
    } cases[] = {
        {u"2000-04", u"25", true},  {u"2000-04", u"1", true},   {u"2000-04", u"30", true},
        {u"2000-04", u"31", false}, {u"2000-04", u"40", false}, {u"2000-04", u"abc", false},
        {u"2000-04", u"", false},   {u"2000-04", u"0", false},  {u"2000-02", u"29", true},
        {u"2001-02", u"29", false}, {u"2000-4", u"05", true},   {u"2000-12", u"025", false},
        {u"2000-04", u" 5", false}, {u"2000-04", u"-5", false},
    };
    for (const auto& c : cases) {
        const QString problem =
            slp::app::payDayProblem(QString::fromUtf16(c.month), QString::fromUtf16(c.day));
        EXPECT_EQ(problem.isEmpty(), c.ok)
            << QString::fromUtf16(c.day).toStdString() << problem.toStdString();
    }
    EXPECT_EQ(slp::app::payDayProblem(u"2000-04"_s, u"40"_s), u"发薪日应为2000-04的第1到30日，而不是“40”"_s);
}

TEST_F(HostDriverTest, EveryPutSucceedsAndAnUnknownMethodIsAnUnknownName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"demo.db"_s);
    slp::data::DemoOptions options;
    options.employees = 5;
    slp::data::createDemoDatabase(path, options);
    qputenv("XDG_CONFIG_HOME", dir.filePath(u"config"_s).toLocal8Bit());  // the window keeps its settings

    HostDriver driver;
    // Every put goes through before the method: PSEL opens the special print designer.
    const auto r = driver.request({path, u"0101"_s, u"单位"_s, u"2000-04"_s, u"25"_s}, "PSEL");
    EXPECT_TRUE(r.ok()) << r.description.toStdString();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == u"特殊打印设置"_s) w->close();
    }

    // An unknown method is an unknown name, not a crash.
    const auto u = driver.request({QString(), u"0101"_s, u"单位"_s, u"2000-04"_s, u"25"_s}, "PFourth");
    EXPECT_EQ(u.code, SLP_DISP_E_UNKNOWNNAME);
}

}  // namespace
