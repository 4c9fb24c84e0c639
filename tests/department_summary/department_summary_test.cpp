// The department summary on real SQLite data: the code length, one row per department of that level
// that has wages this month, head counts and sums, the totals row from the shown texts, the layout of
// the grid, the status line, the print request and the month without data.
#include "app/department_summary/department_summary.h"

#include <gtest/gtest.h>

#include "basic/conversions.h"
#include "basic/scripted_prompts.h"
#include "data/column_widths.h"
#include "summary_fixture.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::summary;
using slp::data::Value;
using summary_test::SummaryDatabase;

namespace {

// The texts of one grid row.
QStringList rowOf(const slp::data::WageGrid& g, int r) {
    QStringList cells;
    for (int c = 0; c < g.cols(); ++c) cells << g.text(r, c);
    return cells;
}

class SummaryLogic : public ::testing::Test {
  protected:
    // Departments 01 and 02 with their groups, 03 without employees, 09 only in another month; codes
    // of two characters first unless `groupsFirst`.
    void SetUp() override { w.createTables(); }
    void addDepartments(bool groupsFirst) {
        const QList<std::pair<QString, QString>> departments{
            {u"01"_s, u"销售部"_s}, {u"02"_s, u"财务部"_s}, {u"03"_s, u"后勤部"_s}};
        const QList<std::pair<QString, QString>> groups{
            {u"0101"_s, u"销售一组"_s}, {u"0102"_s, u"销售二组"_s}, {u"0201"_s, u"财务一组"_s}};
        for (const auto& [code, name] : groupsFirst ? groups : departments) w.addDepartment(code, name);
        for (const auto& [code, name] : groupsFirst ? departments : groups) w.addDepartment(code, name);
        w.addDepartment(u"09"_s, u"上月的部门"_s, u"2000-03"_s);
    }
    // Items: 部门, 工号, 姓名, 基本工资 (0.00), 工龄 ("0"), 加班费 (0.0), 实发工资 (0.00).
    void addEmployees() {
        w.addWage(u"0101"_s,
                  {u"销售一组"_s, u"001"_s, u"甲"_s, u"1000.50"_s, u"5.2"_s, u"12abc"_s, u"2000.10"_s});
        w.addWage(u"0102"_s, {u"销售二组"_s, u"002"_s, u"乙"_s, u"800"_s, u"5.2"_s, Value(), u"1500.25"_s});
        // No employee number: summed, but not counted by count(工号).
        w.addWage(u"0102"_s, {u"销售二组"_s, Value(), u"丙"_s, u"100"_s, u"0"_s, u"1.5"_s, u"100"_s});
        w.addWage(u"0201"_s, {u"财务一组"_s, u"003"_s, u"丁"_s, u"1200"_s, u"10.4"_s, u""_s, u"3000"_s});
        // A department code no department of the month has, and the same group in another month.
        w.addWage(u"0901"_s, {u"?"_s, u"004"_s, u"戊"_s, u"999"_s, u"9"_s, u"9"_s, u"999"_s});
        w.addWage(u"0101"_s, {u"销售一组"_s, u"005"_s, u"己"_s, u"777"_s, u"7"_s, u"7"_s, u"777"_s},
                  u"2000-03"_s);
    }
    std::optional<slp::data::WageGrid> build(DepartmentSummary& s) {
        s.beginOpening();
        s.readCodeLength();
        EXPECT_TRUE(s.loadCatalogue(prompts));
        return s.buildGrid(prompts);
    }

    SummaryDatabase w;
    slp::ScriptedPrompts prompts;
};

TEST_F(SummaryLogic, TheCodeLengthIsThatOfTheFirstDepartmentReturned) {
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    EXPECT_EQ(s.readCodeLength(), 0);  // an empty department table
    addDepartments(false);
    EXPECT_EQ(s.readCodeLength(), 2);
    EXPECT_EQ(s.deptCodeLength(), 2);

    SummaryDatabase groups;
    groups.createTables();
    groups.addDepartment(u"0101"_s, u"销售一组"_s);
    groups.addDepartment(u"01"_s, u"销售部"_s);
    DepartmentSummary g(groups.host, summary_test::fixedMeasure);
    EXPECT_EQ(g.readCodeLength(), 4);

    SummaryDatabase nullCode;
    nullCode.createTables();
    nullCode.addDepartment(Value(), u"无号部门"_s);
    nullCode.addDepartment(u"01"_s, u"销售部"_s);
    DepartmentSummary n(nullCode.host, summary_test::fixedMeasure);
    n.setDeptCodeLength(5);
    EXPECT_EQ(n.readCodeLength(), 0);
}

TEST_F(SummaryLogic, EmployeesAreSummedUnderTheDepartmentOfTheirFirstCharacters) {
    addDepartments(false);
    addEmployees();
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    const auto g = build(s);
    ASSERT_TRUE(g);
    EXPECT_TRUE(prompts.asked.isEmpty());
    // 03 has no employees, 09 is a department of another month: neither appears.
    ASSERT_EQ(g->rows(), 4);
    ASSERT_EQ(g->cols(), 7);
    EXPECT_EQ(rowOf(*g, 0), (QStringList{u"序号"_s, u"部门"_s, u"人数"_s, u"基本工资"_s, u"工龄"_s,
                                         u"加班费"_s, u"实发工资"_s}));
    // 01: 1000.50 + 800 + 100; 工龄 5.2 + 5.2 + 0 shown as 10; 加班费 12 (from "12abc") + null + 1.5.
    EXPECT_EQ(rowOf(*g, 1),
              (QStringList{u"1"_s, u"销售部"_s, u"2"_s, u"1900.50"_s, u"10"_s, u"13.5"_s, u"3600.35"_s}));
    EXPECT_EQ(rowOf(*g, 2),
              (QStringList{u"2"_s, u"财务部"_s, u"1"_s, u"1200.00"_s, u"10"_s, u"0.0"_s, u"3000.00"_s}));
}

TEST_F(SummaryLogic, TheTotalsRowAddsTheRoundedTextsShown) {
    addDepartments(false);
    addEmployees();
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    const auto g = build(s);
    ASSERT_TRUE(g);
    // 工龄: 10.4 and 10.4 are shown as 10 and 10 and total 20 (not the 21 of 20.8).
    EXPECT_EQ(rowOf(*g, 3), (QStringList{QString(), QString(), u"共3人"_s, u"3100.50"_s, u"20"_s, u"13.5"_s,
                                         u"6600.35"_s}));
    EXPECT_EQ(summaryStatusLine(*g), u"本月发薪部门数为2  本月总金额为6600.35"_s);
}

TEST_F(SummaryLogic, FourCharacterCodesFirstSummariseTheGroups) {
    addDepartments(true);
    addEmployees();
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    const auto g = build(s);
    ASSERT_TRUE(g);
    EXPECT_EQ(s.deptCodeLength(), 4);
    ASSERT_EQ(g->rows(), 5);
    EXPECT_EQ(rowOf(*g, 1).mid(0, 4), (QStringList{u"1"_s, u"销售一组"_s, u"1"_s, u"1000.50"_s}));
    EXPECT_EQ(rowOf(*g, 2).mid(0, 4), (QStringList{u"2"_s, u"销售二组"_s, u"1"_s, u"900.00"_s}));
    EXPECT_EQ(rowOf(*g, 3).mid(0, 4), (QStringList{u"3"_s, u"财务一组"_s, u"1"_s, u"1200.00"_s}));
    // 工龄 per group: 5.2, 5.2 and 10.4 shown as 5, 5 and 10.
    EXPECT_EQ(g->text(4, 4), u"20"_s);
    EXPECT_EQ(g->text(4, 2), u"共3人"_s);
    EXPECT_EQ(summaryStatusLine(*g), u"本月发薪部门数为3  本月总金额为6600.35"_s);
}

TEST_F(SummaryLogic, ANullDepartmentNameShowsAnEmptyCell) {
    w.addDepartment(u"01"_s, Value());
    w.addDepartment(u"02"_s, u"财务部"_s);
    w.addWage(u"0101"_s, {u"x"_s, u"001"_s, u"甲"_s, u"10"_s, u"1"_s, u"1"_s, u"10"_s});
    w.addWage(u"0201"_s, {u"y"_s, u"002"_s, u"乙"_s, u"20"_s, u"2"_s, u"2"_s, u"20"_s});
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    const auto g = build(s);
    ASSERT_TRUE(g);
    ASSERT_EQ(g->rows(), 4);
    EXPECT_EQ(g->text(1, 1), QString());
    EXPECT_EQ(g->text(1, 2), u"1"_s);
    EXPECT_EQ(g->text(2, 1), u"财务部"_s);
}

TEST_F(SummaryLogic, TheGridHasThreeFixedCentredColumnsAndTheWidthRule) {
    addDepartments(false);
    addEmployees();
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    const auto g = build(s);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->fixedRows(), 1);
    EXPECT_EQ(g->fixedCols(), 3);
    EXPECT_EQ(g->fontName(), u"宋体"_s);
    EXPECT_EQ(g->fontSize(), 9.0f);
    for (int c = 0; c < g->cols(); ++c) {
        EXPECT_EQ(g->captionAlignment(c),
                  c <= 2 ? slp::data::align::CenterCenter : slp::data::align::RightCenter)
            << c;
        if (c <= 2) {
            EXPECT_EQ(g->colAlignment(c), slp::data::align::CenterCenter) << c;
        }
    }
    // charUnit 9 x 20; column 0 three characters, column 1 item 0, column 2 item 1, column c item c + f - 3.
    const float unit = summary_test::fixedMeasure(QString(), 9);
    const auto& items = s.catalogue();
    EXPECT_EQ(items.firstAmountIndex, 3);
    EXPECT_EQ(g->colWidth(0), int(slp::roundHalfEven(3 * unit)));
    EXPECT_EQ(g->colWidth(1), int(slp::roundHalfEven(items.itemWidth[0] * unit)));
    EXPECT_EQ(g->colWidth(2), int(slp::roundHalfEven(items.itemWidth[1] * unit)));
    for (int c = 3; c < g->cols(); ++c) {
        EXPECT_EQ(g->colWidth(c), int(slp::roundHalfEven(items.itemWidth[c] * unit))) << c;
    }
    // 加班费 has 打印宽度 9: four and a half characters rounded to four.
    EXPECT_EQ(g->colWidth(5), 4 * 180);
}

TEST_F(SummaryLogic, AnEmptyDepartmentTableEndsInTheNoDataMessage) {
    addEmployees();
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    EXPECT_FALSE(build(s));
    EXPECT_EQ(s.deptCodeLength(), 0);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].kind, slp::ScriptedPrompts::Asked::Message);
    EXPECT_EQ(prompts.asked[0].text, u"未找到数据,请确定是否计算过!"_s);
    EXPECT_EQ(prompts.asked[0].title, QString());
    EXPECT_EQ(prompts.asked[0].icon, slp::MessageIcon::Warning);
}

TEST_F(SummaryLogic, AMonthWithoutWagesEndsInTheNoDataMessage) {
    addDepartments(false);
    w.addWage(u"0101"_s, {u"销售一组"_s, u"005"_s, u"己"_s, u"777"_s, u"7"_s, u"7"_s, u"777"_s},
              u"2000-03"_s);
    DepartmentSummary s(w.host, summary_test::fixedMeasure);
    EXPECT_FALSE(build(s));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, noSummaryDataMessage());
}

TEST_F(SummaryLogic, TheDemoMonthAgreesWithTheEnginesOwnGrouping) {
    SummaryDatabase demo;
    demo.writeDemo(120);
    DepartmentSummary s(demo.host);
    const auto g = build(s);
    ASSERT_TRUE(g);
    // The same grouping written directly in SQLite, by the first two characters of the code.
    slp::data::ResultSet expected = demo.db->openNative(
        u"SELECT b.\"部门名称\", count(a.\"工号\"), sum(CAST(a.\"实发工资\" AS REAL)) FROM "
        u"\"16工资输出数据\" a "
        "JOIN \"11部门信息\" b ON substr(a.\"部门号\", 1, 2) = b.\"部门号\" AND a.\"工作年月\" = "
        "b.\"工作年月\" "
        "WHERE a.\"工作年月\" = '2000-04' GROUP BY substr(a.\"部门号\", 1, 2), b.\"部门名称\" "
        "ORDER BY substr(a.\"部门号\", 1, 2)"_s);
    ASSERT_EQ(g->rows() - 2, expected.recordCount());
    const int last = g->cols() - 1;
    ASSERT_EQ(g->text(0, last), u"实发工资"_s);
    int64_t cents = 0;
    int people = 0;
    for (int r = 1; r <= g->rows() - 2; ++r) {
        expected.setAbsolutePosition(r - 1);
        EXPECT_EQ(g->text(r, 1), expected.text(0)) << r;
        EXPECT_EQ(g->text(r, 2), expected.text(1)) << r;
        EXPECT_EQ(g->text(r, last), slp::formatNumber(expected.number(2), u"0.00")) << r;
        people += expected.text(1).toInt();
        cents += QString(g->text(r, last)).remove(u'.').toLongLong();
    }
    EXPECT_EQ(people, 120);
    EXPECT_EQ(g->text(g->rows() - 1, 2), u"共120人"_s);
    const QString total =
        QString::number(cents / 100) + u'.' + QString::number(cents % 100).rightJustified(2, u'0');
    EXPECT_EQ(g->text(g->rows() - 1, last), total);
    EXPECT_EQ(summaryStatusLine(*g),
              u"本月发薪部门数为"_s + QString::number(g->rows() - 2) + u"  本月总金额为"_s + total);
}

}  // namespace
