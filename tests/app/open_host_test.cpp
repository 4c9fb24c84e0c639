// Opening the host the one way the command line, the entry class and the tests share: the fields under
// the entry class's rules, the database opened, refusals and database errors told through the prompts.
#include "app/shared/open_host.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "basic/scripted_prompts.h"
#include "data/database.h"
#include "data/demo_database.h"
#include "entry/打印工资.h"

using namespace Qt::StringLiterals;

namespace {

struct OpenCase {
    const char* name;
    QString unitCode, unitName, month, payDay;
    bool opened;
    QString key, payDate;  // what the host holds afterwards
    QString told;          // a part of what the prompts were told; empty: nothing
};

class OpenHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(u"demo.db"_s);
        slp::data::createDemoDatabase(path, {});
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(OpenHostTest, FieldsUnderTheEntryClassRules) {
    const OpenCase cases[] = {
        {"the demo month",
         u"0101"_s,
         u"朔岚示范公司"_s,
         u"2000-04"_s,
         u"25"_s,
         true,
         u"2000-04"_s,
         u"2000-04-25"_s,
         {}},
        {"a one-digit month kept as given",
         u"0101"_s,
         u"朔岚"_s,
         u"2000-4"_s,
         u"5"_s,
         true,
         u"2000-4"_s,
         u"2000-4-5"_s,
         {}},
        {"a month without its dash",
         u"0101"_s,
         u"朔岚"_s,
         u"200004"_s,
         u"25"_s,
         false,
         u"-"_s,
         {},
         u"工作年月“200004”"_s},
        {"a unit code with a line break",
         u"01\n01"_s,
         u"朔岚"_s,
         u"2000-04"_s,
         u"25"_s,
         false,
         u"-"_s,
         {},
         u"单位代码"_s},
        {"a unit name with a tab",
         u"0101"_s,
         u"朔\t岚"_s,
         u"2000-04"_s,
         u"25"_s,
         false,
         u"-"_s,
         {},
         u"单位名称"_s},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.name);
        slp::HostContext host;
        slp::ScriptedPrompts prompts;
        slp::HostRequest request;
        request.connection = u"sqlite:"_s + path;
        request.unitCode = c.unitCode;
        request.unitName = c.unitName;
        request.month = c.month;
        request.payDay = c.payDay;
        EXPECT_EQ(slp::openHost(host, request, prompts), c.opened);
        EXPECT_EQ(host.monthKey(), c.key);
        EXPECT_EQ(host.payDate, c.payDate);
        EXPECT_EQ(host.database != nullptr, c.opened);
        if (c.told.isEmpty()) {
            EXPECT_TRUE(prompts.asked.empty());
        } else {
            ASSERT_EQ(prompts.asked.size(), 1u);
            EXPECT_TRUE(prompts.asked[0].text.contains(c.told)) << prompts.asked[0].text.toStdString();
        }
        if (c.opened) {
            EXPECT_EQ(host.unitCode, c.unitCode);
            EXPECT_EQ(host.unitName, c.unitName);
            // The month's rows are there to read through the database handed over.
            slp::data::ResultSet rows = host.database->open(u"select count(*) from 12个人信息"_s);
            EXPECT_GT(rows.text(0).toInt(), 0);
        }
    }
}

TEST_F(OpenHostTest, ADatabaseThatCannotBeOpenedIsToldWithItsNumber) {
    slp::HostContext host;
    host.database = std::make_shared<slp::data::Database>(u"sqlite:"_s + path);
    slp::ScriptedPrompts prompts;
    slp::HostRequest request;
    request.connection = u"sqlite:"_s + dir.filePath(u"no/such/folder/w.db"_s);
    request.unitCode = u"0101"_s;
    request.month = u"2000-04"_s;
    request.payDay = u"25"_s;
    EXPECT_FALSE(slp::openHost(host, request, prompts));
    EXPECT_EQ(host.database, nullptr);  // the database held before is let go, not kept by mistake
    EXPECT_EQ(host.monthKey(), u"2000-04"_s);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(prompts.asked[0].title.startsWith(u"错误号:"_s)) << prompts.asked[0].title.toStdString();
}

TEST_F(OpenHostTest, TheEntryClassRefusesWhatOpenHostRefuses) {
    // The same rules through the entry class: a refused month leaves the month held before.
    slp::HostContext host;
    slp::WindowRegistry noWindows(host);
    slp::打印工资 component(host, noWindows);
    EXPECT_TRUE(component.GetRQ(u"2000-04"_s).ok());
    const slp::Status refused = component.GetRQ(u"200004"_s);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.description.contains(u"工作年月“200004”"_s));
    EXPECT_EQ(host.monthKey(), u"2000-04"_s);
    EXPECT_FALSE(component.GetDWDM(u"01\n01"_s).ok());
    EXPECT_TRUE(host.unitCode.isEmpty());
}

}  // namespace
