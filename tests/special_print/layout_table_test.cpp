// The layout table 特殊打印位置设置: created once with its six typed columns, read in 序号 order, replaced
// whole by a save in one transaction.
#include "app/special_print/layout_table.h"

#include <gtest/gtest.h>

#include "../department_summary/summary_fixture.h"
#include "basic/error.h"
#include "data/database.h"

namespace {

using namespace Qt::StringLiterals;
using namespace slp::windows::special;
using slp::data::FieldType;

LayoutRow row(const QString& caption, float x, float y, int16_t position = 0, bool name = false) {
    return {caption, x, y, 0, position, name};
}

TEST(LayoutTable, CreatedOnceWithItsSixTypedColumns) {
    summary_test::SummaryDatabase fx;
    EXPECT_TRUE(EnsureLayoutTable(*fx.db));
    EXPECT_FALSE(EnsureLayoutTable(*fx.db));
    const auto tables = fx.db->tables();
    ASSERT_EQ(tables.size(), 1);
    const auto& fields = tables[0].fields;
    ASSERT_EQ(fields.size(), 6);
    const QList<std::pair<QString, FieldType>> want{
        {u"项目名称"_s, FieldType::Text}, {u"X坐标"_s, FieldType::Single},
        {u"Y坐标"_s, FieldType::Single},  {u"序号"_s, FieldType::Integer},
        {u"位置"_s, FieldType::Integer},  {u"是否打印名称"_s, FieldType::Boolean}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(fields[i].name, want[i].first);
        EXPECT_EQ(fields[i].type, want[i].second) << i;
    }
    EXPECT_EQ(fields[0].size, 30);
    EXPECT_TRUE(ReadLayout(*fx.db).empty());
    EXPECT_FALSE(HasStoredLayout(*fx.db));
}

TEST(LayoutTable, SavedTwiceKeepsOneRowPerCaptionNumberedInOrder) {
    summary_test::SummaryDatabase fx;
    const std::vector<LayoutRow> first{row(u"基本工资"_s, 1000, 700), row(u"发薪日期"_s, 2200, 700)};
    SaveLayout(*fx.db, first);
    const std::vector<LayoutRow> second{row(u"基本工资"_s, 1500.5f, 800, 2, true),
                                        row(u"加班费"_s, 3000, 900, 3), row(u"发薪日期"_s, 4000, 1900, 1)};
    SaveLayout(*fx.db, second);
    const auto stored = ReadLayout(*fx.db);
    ASSERT_EQ(stored.size(), 3u);
    for (size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(stored[i].order, int16_t(i));
        EXPECT_EQ(stored[i].caption, second[i].caption);
        EXPECT_FLOAT_EQ(stored[i].x, second[i].x);
        EXPECT_FLOAT_EQ(stored[i].y, second[i].y);
        EXPECT_EQ(stored[i].position, second[i].position);
        EXPECT_EQ(stored[i].printName, second[i].printName);
    }
}

TEST(LayoutTable, ReadersOrderBy序号NotByInsertion) {
    summary_test::SummaryDatabase fx;
    EnsureLayoutTable(*fx.db);
    for (int order : {2, 0, 1}) {
        fx.db->addRow(kLayoutTable, {{u"项目名称"_s, QString::number(order)},
                                     {u"X坐标"_s, slp::data::Value::real(order * 100)},
                                     {u"序号"_s, slp::data::Value::integer(order)}});
    }
    const auto stored = ReadLayout(*fx.db);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].caption, u"0"_s);
    EXPECT_EQ(stored[2].caption, u"2"_s);
    EXPECT_FLOAT_EQ(stored[1].x, 100);
}

TEST(LayoutTable, CaptionLongerThan30IsRefusedBeforeAnythingIsDeleted) {
    summary_test::SummaryDatabase fx;
    SaveLayout(*fx.db, {row(u"基本工资"_s, 1000, 700)});
    const QString longName(31, u'长');
    try {
        SaveLayout(*fx.db, {row(u"加班费"_s, 1, 2), row(longName, 3, 4)});
        FAIL() << "saved";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), captionTooLongError);
        EXPECT_EQ(e.description(), captionTooLongMessage(longName));
        EXPECT_TRUE(e.description().contains(u"30"_s));
    }
    const auto stored = ReadLayout(*fx.db);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].caption, u"基本工资"_s);
    // 30 characters fit.
    SaveLayout(*fx.db, {row(QString(30, u'长'), 1, 2)});
    EXPECT_EQ(ReadLayout(*fx.db).at(0).caption, QString(30, u'长'));
}

TEST(LayoutTable, SaveFailingPartWayKeepsTheOldLayoutWhole) {
    summary_test::SummaryDatabase fx;
    const std::vector<LayoutRow> old{row(u"基本工资"_s, 1000, 700, 1, true), row(u"发薪日期"_s, 2200, 700)};
    SaveLayout(*fx.db, old);
    // The engine refuses the third row, after the old rows were deleted and two new ones written.
    fx.db->executeNative(
        u"CREATE TRIGGER refuse_third BEFORE INSERT ON \"特殊打印位置设置\" "
        "WHEN NEW.\"序号\" = 2 BEGIN SELECT RAISE(ABORT, 'refused'); END"_s);
    const std::vector<LayoutRow> bad{row(u"a"_s, 1, 1), row(u"b"_s, 2, 2), row(u"c"_s, 3, 3)};
    EXPECT_THROW(SaveLayout(*fx.db, bad), std::exception);
    const auto stored = ReadLayout(*fx.db);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].caption, u"基本工资"_s);
    EXPECT_EQ(stored[0].position, 1);
    EXPECT_TRUE(stored[0].printName);
    EXPECT_EQ(stored[1].caption, u"发薪日期"_s);
}

TEST(LayoutTable, SaveCreatesAMissingTableAndMessageIsTheSystems) {
    summary_test::SummaryDatabase fx;
    EXPECT_FALSE(fx.db->hasTable(kLayoutTable));
    SaveLayout(*fx.db, {row(u"发薪日期"_s, 1, 2)});
    EXPECT_TRUE(fx.db->hasTable(kLayoutTable));
    EXPECT_EQ(layoutSavedMessage(), u"你所做的设置已存盘确认!"_s);
}

}  // namespace
