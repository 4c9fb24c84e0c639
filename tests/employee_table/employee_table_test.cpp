// The employee wage table's grid on real SQLite data: rows in department order, texts as stored,
// amounts formatted, zeros shown or hidden, the totals row, the zero-display setting, and the faults
// the window reports.
#include "app/employee_table/employee_table.h"

#include <gtest/gtest.h>

#include "app/employee_table/employee_queries.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/database_error.h"
#include "settings/store.h"
#include "wage_fixture.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::employee;
using slp::data::Value;
using wage_test::WageDatabase;

namespace {

QStringList rowOf(const slp::data::WageGrid& g, int r) {
    QStringList out;
    for (int c = 0; c < g.cols(); ++c) out << g.text(r, c);
    return out;
}

class EmployeeTableGrid : public ::testing::Test {
  protected:
    void SetUp() override {
        w.createTables(wage_test::smallCatalogue());
        // Out of department order; numbers and texts mixed as hosts store them.
        w.addWage(u"0201"_s,
                  {u"销售部"_s, u"0003"_s, u"王五"_s, u"2100"_s, Value::integer(12), u""_s, u"2100.5"_s});
        w.addWage(u"0101"_s,
                  {u"办公室"_s, Value::integer(7), u"李四"_s, u"1234.5"_s, u"0"_s, Value(), u"12abc"_s});
        w.addWage(u"0102"_s, {Value(), Value(), Value(), Value(), Value(), u"3.25"_s, Value::real(0.001)});
        w.addWage(u"0101"_s, {u"办公室"_s, u"0001"_s, u"张三"_s, u"0"_s, u"3"_s, u"0"_s, u"-0"_s},
                  u"2000-03"_s);
    }
    std::optional<slp::data::WageGrid> open(bool showZeros = true) {
        table.beginOpening();
        table.setShowZeros(showZeros);
        EXPECT_TRUE(table.loadCatalogue(prompts));
        return table.buildGrid(prompts);
    }

    WageDatabase w;
    slp::ScriptedPrompts prompts;
    EmployeeTable table{w.host, w.store, wage_test::fixedMeasure};
};

TEST_F(EmployeeTableGrid, EveryEmployeeIsARowInDepartmentOrderWithTextsAsStoredAndAmountsFormatted) {
    const auto grid = open();
    ASSERT_TRUE(grid);
    EXPECT_TRUE(prompts.asked.isEmpty());
    ASSERT_EQ(grid->rows(), 3 + 2);
    ASSERT_EQ(grid->cols(), 7 + 1);
    EXPECT_EQ(rowOf(*grid, 0), (QStringList{u"序号"_s, u"部门"_s, u"工号"_s, u"姓名"_s, u"基本工资"_s,
                                            u"工龄"_s, u"加班费"_s, u"实发工资"_s}));
    EXPECT_EQ(rowOf(*grid, 1), (QStringList{u"1"_s, u"办公室"_s, u"7"_s, u"李四"_s, u"1234.50"_s, u"0"_s,
                                            u"0.0"_s, u"12.00"_s}));
    // A null in a leading text item shows an empty cell; null amounts are zeros.
    EXPECT_EQ(rowOf(*grid, 2),
              (QStringList{u"2"_s, u""_s, u""_s, u""_s, u"0.00"_s, u"0"_s, u"3.3"_s, u"0.00"_s}));
    EXPECT_EQ(rowOf(*grid, 3), (QStringList{u"3"_s, u"销售部"_s, u"0003"_s, u"王五"_s, u"2100.00"_s, u"12"_s,
                                            u"0.0"_s, u"2100.50"_s}));
}

TEST_F(EmployeeTableGrid, TheTotalsRowCountsTheSecondItemAndSumsTheLeadingNumbers) {
    const auto grid = open();
    ASSERT_TRUE(grid);
    // 工号 is null for one employee: two are counted. 实发工资 adds 12 from "12abc".
    EXPECT_EQ(rowOf(*grid, 4), (QStringList{u"合计"_s, u""_s, u""_s, u"共2人"_s, u"3334.50"_s, u"12"_s,
                                            u"3.3"_s, u"2112.50"_s}));
}

// The totals row gathered from the rows answers what the host's totals query answers.
void expectTotalsAsTheQueryGivesThem(slp::data::Database& db, const EmployeeTable& table,
                                     const slp::data::WageGrid& grid) {
    const auto& c = table.catalogue();
    slp::data::ResultSet totals = db.open(employeeTotalsQuery(c, table.monthKey()));
    ASSERT_FALSE(totals.eof());
    const int t = grid.rows() - 1;
    const int f = c.firstAmountIndex;
    EXPECT_EQ(grid.text(t, f), u"共"_s + totals.text(QString(c.itemName[1] + u"ofcount"_s)) + u"人"_s);
    for (int col = f + 1; col < grid.cols(); ++col) {
        const double v = totals.number(QString(c.itemName[col - 1] + u"ofsum"_s));
        const QString expected =
            !table.showZeros() && v == 0 ? QString() : slp::formatNumber(v, c.itemFormat[col - 1]);
        EXPECT_EQ(grid.text(t, col), expected) << c.itemName[col - 1].toStdString();
    }
}

TEST_F(EmployeeTableGrid, TheTotalsRowAnswersWhatTheTotalsQueryAnswers) {
    for (const bool zeros : {true, false}) {
        const auto grid = open(zeros);
        ASSERT_TRUE(grid);
        expectTotalsAsTheQueryGivesThem(*w.db, table, *grid);
    }
}

TEST_F(EmployeeTableGrid, HiddenZerosLeaveEmptyCellsInRowsAndTotals) {
    w.addWage(u"0301"_s, {u"人事部"_s, u"0009"_s, u"赵六"_s, u"-3334.5"_s, u"-12"_s, u"0"_s, u"0"_s});
    const auto grid = open(false);
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->rows(), 6);
    EXPECT_EQ(rowOf(*grid, 1),
              (QStringList{u"1"_s, u"办公室"_s, u"7"_s, u"李四"_s, u"1234.50"_s, u""_s, u""_s, u"12.00"_s}));
    // 0.001 is not zero, though it shows as 0.00.
    EXPECT_EQ(rowOf(*grid, 2), (QStringList{u"2"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"3.3"_s, u"0.00"_s}));
    EXPECT_EQ(rowOf(*grid, 4), (QStringList{u"4"_s, u"人事部"_s, u"0009"_s, u"赵六"_s, u"-3334.50"_s,
                                            u"-12"_s, u""_s, u""_s}));
    // The month's 基本工资 and 工龄 add up to zero: empty totals.
    EXPECT_EQ(rowOf(*grid, 5),
              (QStringList{u"合计"_s, u""_s, u""_s, u"共3人"_s, u""_s, u""_s, u"3.3"_s, u"2112.50"_s}));
}

TEST_F(EmployeeTableGrid, ShapeCaptionsAndWidthsFollowTheCatalogue) {
    const auto grid = open();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->fixedRows(), 1);
    EXPECT_EQ(grid->fixedCols(), 3);  // the sequence and the first two text items
    EXPECT_EQ(grid->rowHeight(0), 500);
    EXPECT_EQ(grid->fontName(), u"宋体"_s);
    EXPECT_FLOAT_EQ(grid->fontSize(), 9);
    for (int c = 0; c < grid->cols(); ++c) {
        EXPECT_EQ(grid->captionAlignment(c),
                  c <= 2 ? slp::data::align::CenterCenter : slp::data::align::RightCenter);
    }
    // "我" is 180 twips at 9 points; print widths 12, 8, 8, 10, 6, 9, 12 halve (to even) to 6, 4, 4, 5, 3,
    // 4, 6.
    const int chars[] = {3, 6, 4, 4, 5, 3, 4, 6};
    for (int c = 0; c < grid->cols(); ++c) EXPECT_EQ(grid->colWidth(c), chars[c] * 180) << c;

    // At 12 points every column widens with "我"; the refill keeps the size.
    table.setPrintFontSize(12);
    table.setCharUnit(wage_test::fixedMeasure(u"宋体"_s, 12));
    const auto bigger = table.buildGrid(prompts);
    ASSERT_TRUE(bigger);
    EXPECT_FLOAT_EQ(bigger->fontSize(), 12);
    for (int c = 0; c < bigger->cols(); ++c) EXPECT_EQ(bigger->colWidth(c), chars[c] * 240) << c;
}

TEST_F(EmployeeTableGrid, AMonthWithoutWagesOrWithoutItemsIsReportedAndFillsNothing) {
    w.host.workMonth = u"05"_s;
    table.beginOpening();
    EXPECT_FALSE(table.loadCatalogue(prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"未找到本月计算公,请先设置本月公式!"_s);
    EXPECT_EQ(prompts.asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_TRUE(prompts.asked[0].title.isEmpty());

    // Items but no wage rows.
    w.addItems(wage_test::smallCatalogue(), u"2000-05"_s);
    prompts.asked.clear();
    ASSERT_TRUE(table.loadCatalogue(prompts));
    EXPECT_FALSE(table.buildGrid(prompts).has_value());
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, noWageDataMessage());
    EXPECT_EQ(noWageDataMessage(), u"未找到数据,请确定是否计算过!"_s);
    EXPECT_EQ(prompts.asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_TRUE(prompts.asked[0].title.isEmpty());
}

TEST_F(EmployeeTableGrid, DatabaseFaultsAndAMissingDatabaseRaiseErrorsWithTheirNumbers) {
    // A catalogue item without a wage column.
    w.addItems({{u"不存在的项目"_s, Value::integer(2), Value::integer(8)}}, u"2000-04"_s);
    table.beginOpening();
    ASSERT_TRUE(table.loadCatalogue(prompts));
    try {
        (void)table.buildGrid(prompts);
        FAIL() << "the engine accepted a missing column";
    } catch (const slp::data::DatabaseError& e) {
        EXPECT_EQ(e.number(), slp::errnum::Database);
        EXPECT_FALSE(e.description().isEmpty());
    }
    w.host.database.reset();
    try {
        (void)table.buildGrid(prompts);
        FAIL() << "filled without a database";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 91);
        EXPECT_EQ(e.description(), u"对象变量或 With 块变量未设置"_s);
    }
}

TEST_F(EmployeeTableGrid, TheZeroDisplayIsReadAndWrittenAsASixteenBitFlag) {
    const QString app = u"0101GZ"_s;
    const auto stored = [&] { return w.store.read(app, u"打印"_s, u"显示零"_s, u"<none>"_s); };
    table.beginOpening();
    EXPECT_TRUE(table.showZeros());  // default "1"
    for (const auto& [text, on] :
         {std::pair{u"0"_s, false}, {u"-1"_s, true}, {u"1"_s, true}, {u"False"_s, false}}) {
        w.store.write(app, u"打印"_s, u"显示零"_s, text);
        table.beginOpening();
        EXPECT_EQ(table.showZeros(), on) << text.toStdString();
    }
    table.toggleZeroDisplay();
    table.saveZeroDisplay();
    EXPECT_EQ(stored(), u"-1"_s);
    table.toggleZeroDisplay();
    table.saveZeroDisplay();
    EXPECT_EQ(stored(), u"0"_s);

    // A text that does not convert: the error comes after the rest of the opening, zeros shown.
    w.store.write(app, u"打印"_s, u"显示零"_s, u"abc"_s);
    table.setPrintFontSize(14);
    EXPECT_THROW(table.beginOpening(), slp::Error);
    EXPECT_TRUE(table.showZeros());
    EXPECT_FLOAT_EQ(table.printFontSize(), 9);
    EXPECT_FLOAT_EQ(table.charUnit(), 180);
    // Another unit keeps its own choice.
    slp::HostContext other = w.host;
    other.unitCode = u"0202"_s;
    EmployeeTable otherTable(other, w.store, wage_test::fixedMeasure);
    otherTable.beginOpening();
    EXPECT_TRUE(otherTable.showZeros());
}

TEST_F(EmployeeTableGrid, ASingleTextItemHasNoSecondItemToCount) {
    WageDatabase one;
    one.createTables({{u"姓名"_s, Value::integer(0), Value::integer(8)},
                      {u"实发"_s, Value::integer(2), Value::integer(10)}});
    one.addWage(u"01"_s, {u"张三"_s, u"10"_s});
    EmployeeTable t(one.host, one.store, wage_test::fixedMeasure);
    t.beginOpening();
    ASSERT_TRUE(t.loadCatalogue(prompts));
    try {
        (void)t.buildGrid(prompts);
        FAIL() << "a head count without a second item";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 3265);  // as the totals query's missing alias
    }
    // The engine indeed has no such alias to give.
    slp::data::ResultSet totals = one.db->open(employeeTotalsQuery(t.catalogue(), t.monthKey()));
    EXPECT_THROW(totals.text(u"实发ofcount"), slp::Error);
}

TEST(EmployeeTableDemo, TheDemoMonthTotalsMatchItsRows) {
    WageDatabase w;
    w.writeDemo(120);
    slp::ScriptedPrompts prompts;
    EmployeeTable table(w.host, w.store, wage_test::fixedMeasure);
    table.beginOpening();
    ASSERT_TRUE(table.loadCatalogue(prompts));
    const auto grid = table.buildGrid(prompts);
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rows(), 122);
    EXPECT_EQ(grid->fixedCols(), 3);
    EXPECT_EQ(grid->text(121, 3), u"共120人"_s);
    expectTotalsAsTheQueryGivesThem(*w.db, table, *grid);
    // Every amount column's total is the sum of the amounts shown (all have at most two decimals).
    for (int c = 4; c < grid->cols(); ++c) {
        double sum = 0;
        for (int r = 1; r <= 120; ++r) sum += slp::leadingValue(grid->text(r, c));
        EXPECT_EQ(grid->text(121, c), slp::formatNumber(sum, table.catalogue().itemFormat[c - 1])) << c;
    }
}

}  // namespace
