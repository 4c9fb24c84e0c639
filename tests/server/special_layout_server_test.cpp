// The layout table 特殊打印位置设置 on PostgreSQL: created with its typed columns, replaced whole by a save,
// a save refused part-way by the server keeps the old layout, and the print reads it as on SQLite.
#include <gtest/gtest.h>

#include "app/special_print/layout_table.h"
#include "app/special_print/special_layout.h"
#include "app/special_print/special_print.h"
#include "data/database.h"
#include "data/demo_database.h"
#include "print/page.h"
#include "recording_print_target.h"
#include "test_server.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::special;

namespace {

TEST(ServerLayoutTable, CreatedSavedTwiceAndKeptWholeWhenASaveFails) {
    SLP_REQUIRE_SERVER(url);
    slp::data::Database db(url);
    EXPECT_TRUE(EnsureLayoutTable(db));
    EXPECT_FALSE(EnsureLayoutTable(db));
    const auto listed = db.tables();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].fields, layoutTableDef().fields);

    SaveLayout(db, {{u"基本工资"_s, 1000, 700, 0, 0, false}, {u"发薪日期"_s, 2200, 700, 0, 0, false}});
    const std::vector<LayoutRow> second{{u"基本工资"_s, 1500.5f, 800, 0, 2, true},
                                        {u"加班费"_s, 3000, 900, 0, 3, false},
                                        {u"发薪日期"_s, 4000, 1900, 0, 1, true}};
    SaveLayout(db, second);
    auto stored = ReadLayout(db);
    ASSERT_EQ(stored.size(), 3u);
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(stored[i].order, int16_t(i));
        EXPECT_EQ(stored[i].caption, second[i].caption);
        EXPECT_FLOAT_EQ(stored[i].x, second[i].x);
        EXPECT_EQ(stored[i].position, second[i].position);
        EXPECT_EQ(stored[i].printName, second[i].printName);
    }
    // The server refuses the third row of the next save, after the delete and two rows.
    db.executeNative(
        u"CREATE FUNCTION refuse_third() RETURNS trigger AS $$ BEGIN IF NEW.\"序号\" = 2 THEN "
        "RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"_s);
    db.executeNative(
        u"CREATE TRIGGER refuse_third BEFORE INSERT ON \"特殊打印位置设置\" FOR EACH ROW "
        "EXECUTE FUNCTION refuse_third()"_s);
    EXPECT_THROW(
        SaveLayout(db,
                   {{u"a"_s, 1, 1, 0, 0, false}, {u"b"_s, 2, 2, 0, 0, false}, {u"c"_s, 3, 3, 0, 0, false}}),
        std::exception);
    stored = ReadLayout(db);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[1].caption, u"加班费"_s);
    // A caption over 30 characters is refused before anything changes.
    EXPECT_THROW(SaveLayout(db, {{QString(31, u'长'), 1, 1, 0, 0, false}}), slp::Error);
    EXPECT_EQ(ReadLayout(db).size(), 3u);
}

TEST(ServerLayoutTable, PrintReadsTheMonthAndTheLayout) {
    SLP_REQUIRE_SERVER(url);
    slp::data::Database db(url);
    slp::data::DemoOptions demo;
    demo.employees = 5;
    slp::data::writeDemoData(db, demo);
    QStringList items;
    for (const auto& item : slp::data::demoWageItems()) items << item.name;
    SaveLayout(db, defaultLayout(items));
    SpecialData data =
        openSpecialData(db, u"2000-04"_s, u"order by 部门号"_s, u"16工资输出数据"_s, u"2000-04-25"_s);
    EXPECT_EQ(data.rows.recordCount(), 5);
    EXPECT_EQ(data.rows.fieldCount(), items.size());
    SpecialOptions options;
    options.sheet = {5670, 3969};
    options.onePerPage = true;
    slp::print::RecordingPrintTarget target;
    const auto pages = RecordSpecialPages(target, data, options);
    ASSERT_EQ(pages.size(), 5u);
    // The pay date at its place below its caption, as the last row's value.
    const auto* payDate = pages[0].find(u"2000-04-25"_s);
    ASSERT_NE(payDate, nullptr);
    const QPointF at = defaultLabelPos(int(items.size()));
    EXPECT_EQ(payDate->at, QPointF(at.x(), at.y() + 180 + 60));
}

}  // namespace
