// The conditional query on real SQLite rows: which employees each condition finds, in department order,
// typed quotes that find what they say, the result grid, and the outcomes that close the window.
#include "app/query/conditional_query.h"

#include <gtest/gtest.h>

#include "../employee_table/wage_fixture.h"
#include "basic/scripted_prompts.h"
#include "golden_file.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::query;
using slp::data::Value;
using wage_test::WageDatabase;

namespace {

class ConditionalQueryRows : public ::testing::Test {
  protected:
    void SetUp() override {
        w.createTables(wage_test::smallCatalogue());
        const auto add = [&](const QString& dept, const QString& name, const Value& basic) {
            w.addWage(dept, {u"部"_s + dept, u"0"_s + dept, name, basic, u"3"_s, u"0"_s, u"100"_s});
        };
        add(u"0201"_s, u"张四五"_s, u"1500"_s);
        add(u"0101"_s, u"张三"_s, Value());
        add(u"0102"_s, u"张*"_s, u"1200.5"_s);
        add(u"0301"_s, u"王五"_s, u"0"_s);
        add(u"0401"_s, u"O'Neil"_s, u"900"_s);
        add(u"0501"_s, u"张'"_s, u"800"_s);
        add(u"05"_s, u"李四"_s, u"700"_s);
        w.addWage(u"0101"_s, {u"部"_s, u"x"_s, u"张老"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s}, u"2000-03"_s);
        query.beginOpening();
    }
    // The names found (column 3), or "<closed>", "<none>", "<no items>".
    QStringList found(const QString& name, const QString& dept) {
        const auto result = query.run(name, dept, prompts);
        switch (result.outcome) {
            case ConditionalQuery::Outcome::Closed:
                return {u"<closed>"_s};
            case ConditionalQuery::Outcome::NothingFound:
                return {u"<none>"_s};
            case ConditionalQuery::Outcome::NoCatalogue:
                return {u"<no items>"_s};
            case ConditionalQuery::Outcome::Found:
                break;
        }
        QStringList names;
        for (int r = 1; r < result.grid->rows(); ++r) names << result.grid->text(r, 3);
        return names;
    }

    WageDatabase w;
    slp::ScriptedPrompts prompts;
    ConditionalQuery query{w.host, wage_test::fixedMeasure};
};

TEST_F(ConditionalQueryRows, ANameFindsTheNamesBeginningWithItAndStarsAreLiteral) {
    EXPECT_EQ(found(u"张"_s, QString()), (QStringList{u"张三"_s, u"张*"_s, u"张四五"_s, u"张'"_s}));
    EXPECT_EQ(found(u"张*"_s, QString()), (QStringList{u"张*"_s}));
    EXPECT_EQ(found(u"  张三 "_s, QString()), (QStringList{u"张三"_s}));
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(found(u"张?"_s, QString()), (QStringList{u"<none>"_s}));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"未找到满足条件的数据!"_s);
    EXPECT_EQ(prompts.asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_TRUE(prompts.asked[0].title.isEmpty());
}

TEST_F(ConditionalQueryRows, DepartmentsCompareAPrefixAsLongAsWhatWasTyped) {
    EXPECT_EQ(found(QString(), u"01"_s), (QStringList{u"张三"_s, u"张*"_s}));
    EXPECT_EQ(found(QString(), u">=03"_s), (QStringList{u"王五"_s, u"O'Neil"_s, u"李四"_s, u"张'"_s}));
    EXPECT_EQ(found(QString(), u"<02"_s), (QStringList{u"张三"_s, u"张*"_s}));
    EXPECT_EQ(found(QString(), u"<=0102"_s), (QStringList{u"张三"_s, u"张*"_s}));
    // ">01" compares three characters with "01": "010" is greater, so department 01 is found too.
    EXPECT_EQ(found(QString(), u">01"_s).size(), 7);
    EXPECT_EQ(found(QString(), u"<5"_s).size(), 7);
    EXPECT_EQ(found(QString(), u"06"_s), (QStringList{u"<none>"_s}));
}

TEST_F(ConditionalQueryRows, NameAndDepartmentMustBothHold) {
    EXPECT_EQ(found(u"张"_s, u"02"_s), (QStringList{u"张四五"_s}));
    EXPECT_EQ(found(u"王"_s, u"01"_s), (QStringList{u"<none>"_s}));
}

TEST_F(ConditionalQueryRows, QuotesInTheInputFindWhatTheySayAndNeverChangeTheStatement) {
    EXPECT_EQ(found(u"O'Neil"_s, QString()), (QStringList{u"O'Neil"_s}));
    EXPECT_EQ(found(u"张'"_s, QString()), (QStringList{u"张'"_s}));
    EXPECT_EQ(found(u"x' or '1'='1"_s, QString()), (QStringList{u"<none>"_s}));
    EXPECT_EQ(found(QString(), u"0' or '1'='1"_s), (QStringList{u"<none>"_s}));
    EXPECT_EQ(found(u"'"_s, u">='"_s), (QStringList{u"<none>"_s}));
}

TEST_F(ConditionalQueryRows, TheResultGridHasThreeFixedColumnsZerosShownAndNoTotals) {
    const auto result = query.run(u"张"_s, QString(), prompts);
    ASSERT_EQ(result.outcome, ConditionalQuery::Outcome::Found);
    EXPECT_EQ(result.statement, slp::test::goldenText(u"queries/conditional_seven_items.sql"_s));
    const slp::data::WageGrid& g = *result.grid;
    ASSERT_EQ(g.rows(), 5);
    ASSERT_EQ(g.cols(), 8);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 3);
    QStringList captions;
    for (int c = 0; c < g.cols(); ++c) captions << g.text(0, c);
    EXPECT_EQ(captions, (QStringList{u"序号"_s, u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s, u"工龄"_s,
                                     u"加班费"_s, u"实发工资"_s}));
    QStringList first;
    for (int c = 0; c < g.cols(); ++c) first << g.text(1, c);
    // 张三 has no 基本工资: a formatted zero, never an empty cell.
    EXPECT_EQ(first, (QStringList{u"1"_s, u"部0101"_s, u"00101"_s, u"张三"_s, u"0.00"_s, u"3"_s, u"0.0"_s,
                                  u"100.00"_s}));
    EXPECT_EQ(g.text(4, 0), u"4"_s);
    EXPECT_EQ(g.text(4, 3), u"张'"_s);
    for (int c = 0; c < g.cols(); ++c) {
        EXPECT_EQ(g.captionAlignment(c),
                  c <= 2 ? slp::data::align::CenterCenter : slp::data::align::RightCenter);
        if (c <= 2) {
            EXPECT_EQ(g.colAlignment(c), slp::data::align::CenterCenter);
        }
    }
    const int chars[] = {3, 6, 4, 4, 5, 3, 4, 6};
    for (int c = 0; c < g.cols(); ++c) EXPECT_EQ(g.colWidth(c), chars[c] * 180) << c;
}

TEST_F(ConditionalQueryRows, EmptyBoxesCloseAndAMonthWithoutItemsRunsNothing) {
    EXPECT_EQ(found(QString(), QString()), (QStringList{u"<closed>"_s}));
    EXPECT_EQ(found(u"   "_s, u" "_s), (QStringList{u"<closed>"_s}));
    EXPECT_TRUE(prompts.asked.isEmpty());
    w.host.workMonth = u"05"_s;
    EXPECT_EQ(found(u"张"_s, QString()), (QStringList{u"<no items>"_s}));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"未找到本月计算公,请先设置本月公式!"_s);
}

TEST_F(ConditionalQueryRows, TheSlipsGoToThePreviewInSlipMode) {
    const auto result = query.run(u"张"_s, QString(), prompts);
    ASSERT_TRUE(result.grid);
    const auto r = query.slipsRequest(*result.grid, 12);
    EXPECT_EQ(r.grid, &*result.grid);
    EXPECT_EQ(r.slipMode, -1);
    EXPECT_EQ(r.captionRows, 1);
    EXPECT_TRUE(r.title.isEmpty());
    EXPECT_EQ(r.caption, u"工资条"_s);  // the window's caption, not the program's name
    EXPECT_EQ(r.leftText, u"单位名称:朔岚测试厂"_s);
    EXPECT_TRUE(r.rightText.isEmpty());
    EXPECT_TRUE(r.footerText.isEmpty());
    EXPECT_FLOAT_EQ(r.printFontSize, 12);
}

TEST(ConditionalQueryTwoTextItems, ItemsAfterTheFirstAmountAreNumbersEvenWithoutDecimals) {
    WageDatabase w;
    w.createTables({{u"工号"_s, Value::integer(0), Value::integer(8)},
                    {u"姓名"_s, Value::integer(0), Value::integer(8)},
                    {u"实发"_s, Value::integer(2), Value::integer(10)},
                    {u"工龄"_s, Value::integer(0), Value::integer(6)}});
    w.addWage(u"01"_s, {u"0001"_s, u"张三"_s, u""_s, u"7年"_s});
    slp::ScriptedPrompts prompts;
    ConditionalQuery query(w.host, wage_test::fixedMeasure);
    query.beginOpening();
    const auto result = query.run(u"张"_s, QString(), prompts);
    ASSERT_TRUE(result.grid);
    QStringList row;
    for (int c = 0; c < result.grid->cols(); ++c) row << result.grid->text(1, c);
    EXPECT_EQ(row, (QStringList{u"1"_s, u"0001"_s, u"张三"_s, u"0.00"_s, u"7"_s}));
}

}  // namespace
