// The printed department payment table on recorded pages: its measures and paging, the head, the
// column header row, the employee rows and the totals in twips, one print job per selected department,
// the preview's page, and the print command's messages.
#include <gtest/gtest.h>

#include "app/department_payment/department_payment.h"
#include "basic/scripted_prompts.h"
#include "job_printer.h"
#include "payment_fixture.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::payment;
using payment_test::JobLog;
using payment_test::JobPrinter;
using payment_test::SummaryDatabase;
using slp::print::Page;
using slp::print::PageText;

namespace {

const QDateTime kNow(QDate(2000, 4, 25), QTime(9, 5, 0));

TEST(PayTableMetricsRule, PagesOfADepartment) {
    struct Case {
        int employees, pageRows, pages;
    };
    const std::vector<Case> cases{
        {25, 20, 2},  // rows 1-20, then 21-25 and the totals
        {20, 20, 2},  // all rows on page 1, page 2 only the totals
        {19, 20, 2},  // 20 / 19 rounded up
        {18, 20, 1},  //
        {1, 20, 1},   //
        {39, 20, 3},  //
        // 401 / 19 rounded up would be 22 with page 21 holding neither rows nor totals.
        {400, 20, 21},
        {5, 1, 4},  // at least two rows a page
    };
    for (const Case& c : cases)
        EXPECT_EQ(payTablePageTotal(c.employees + 1, c.pageRows), c.pages)
            << c.employees << "/" << c.pageRows;
}

TEST(PayTableMetricsRule, RowsAPageHolds) {
    // (height - 900) in whole rows, less the header row, the totals' two lines and the foot.
    EXPECT_EQ(payTablePageRows(16838, 360), 40);
    EXPECT_EQ(payTablePageRows(9540, 360), 20);
    EXPECT_EQ(payTablePageRows(9539, 360), 19);
    EXPECT_EQ(payTablePageRows(16838, 2268), 3);
    EXPECT_EQ(payTablePageRows(1000, 360), 2);     // never fewer than two
    EXPECT_EQ(payTablePageRows(16838, 0), 15934);  // a row height of 0 counts as 1 twip: no division by zero
}

TEST(PayTableMetricsRule, ColumnsOfTwoHundredTwipsWidenTheTableWithoutBeingDrawn) {
    slp::data::WageCatalogue cat;
    cat.itemName = {u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    cat.itemFormat = {u"0"_s, u"0"_s, u"0.00"_s, u"0.00"_s};
    cat.itemWidth = {4, 5, 6, 7};
    cat.itemCount = 4;
    struct Case {
        std::vector<int> widths;
        float tableWidth;
    };
    const std::vector<Case> cases{
        {{360, 720, 900, 1080, 1260}, (2 + 4 + 5 + 6 + 7 + 6) * 100.f},
        {{201, 200, 199, 0, 1260}, (2 + 4 + 7 + 6) * 100.f},
        {{200, 720, 900, 1080, 1260}, (4 + 5 + 6 + 7 + 6) * 100.f},
        {{0, 0, 0, 0, 0}, 600.f},
    };
    for (const Case& c : cases) {
        slp::data::WageGrid grid(3, 5);
        for (int col = 0; col < 5; ++col) grid.setColWidth(col, c.widths[size_t(col)]);
        EXPECT_EQ(payTableWidth(grid, cat, 100), c.tableWidth);
    }
}

// Two departments of the small catalogue (firstAmountIndex 3): 01 with `first` employees, 02 with two.
class PayTablePrint : public ::testing::Test {
  protected:
    void month(int first) {
        w.createTables();
        w.addDepartment(u"01"_s, u"销售部"_s);
        w.addDepartment(u"02"_s, u"财务部"_s);
        w.addDepartment(u"03"_s, u"后勤部"_s);
        for (int i = 1; i <= first; ++i) {
            w.addWage(u"0101"_s,
                      {u"销售一组"_s, u"0101"_s, u"员工"_s + QString::number(i), QString::number(i * 100),
                       u"3"_s, u"1.5"_s, QString::number(i * 100 + 0.25)});
        }
        w.addWage(u"0201"_s, {u"财务一组"_s, u"0201"_s, u"丁"_s, u"1200"_s, u"10.4"_s, u""_s, u"3000"_s});
        w.addWage(u"0202"_s, {u"财务二组"_s, u"0202"_s, u"戊"_s, u"800"_s, u"2"_s, u"1"_s, u"900.5"_s});
        logic.beginOpening();
        logic.readCodeLength();
        ASSERT_TRUE(logic.loadCatalogue(prompts));
        grid = *logic.buildGrid(prompts);
        ASSERT_TRUE(logic.loadDepartments(prompts));
    }
    static const PageText& text(const Page& page, const QString& s) {
        const PageText* t = page.find(s);
        EXPECT_NE(t, nullptr) << s.toStdString();
        static const PageText none;
        return t ? *t : none;
    }
    static int count(const Page& page, const QString& s) { return int(page.textList().count(s)); }

    SummaryDatabase w;
    slp::ScriptedPrompts prompts;
    DepartmentPayment logic{w.host, payment_test::fixedMeasure};
    slp::data::WageGrid grid;
};

// In the recording target's metrics "O" is 180 twips high: charUnit 180, textOffset 90 at rows of 360.
constexpr float kUnit = 180;
// The catalogue's print widths are halved into full-width characters: 6, 4, 4, 5, 3, 4 and 6.
constexpr float kTableWidth = (2 + 6 + 4 + 4 + 5 + 3 + 4 + 6 + 6) * kUnit;

TEST_F(PayTablePrint, TwoSelectedDepartmentsAreTwoJobsInListOrder) {
    month(25);
    const auto log = std::make_shared<payment_test::JobLog>();
    const auto outcome = logic.printSelected(
        grid, [&] { return std::make_unique<JobPrinter>(9540, log); }, prompts, kNow);  // 20 rows a page
    EXPECT_FALSE(outcome.failed);
    const int jobs = outcome.jobs;
    EXPECT_TRUE(prompts.asked.isEmpty());
    const JobLog& printer = *log;
    EXPECT_EQ(jobs, 2);
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.finished, 2);
    const auto& sales = printer.jobs[0];
    ASSERT_EQ(sales.size(), 2u);
    EXPECT_EQ(logic.metrics().pageTotal, 1);  // the last print: 财务部's metrics
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(count(sales[p], u"共2页   第"_s + QString::number(p + 1) + u"页"_s), 1);
        EXPECT_EQ(count(sales[p], u"部门名称:销售部"_s), 1);
        EXPECT_EQ(count(sales[p], u"2000年04月部门班组签收联"_s), 1);
    }
    EXPECT_EQ(count(sales[0], u"20"_s), 1);
    EXPECT_EQ(count(sales[0], u"21"_s), 0);
    EXPECT_EQ(count(sales[0], u"合计:25"_s), 0);
    EXPECT_EQ(count(sales[1], u"21"_s), 1);
    EXPECT_EQ(count(sales[1], u"25"_s), 1);
    EXPECT_EQ(count(sales[1], u"合计:25"_s), 1);
    // 100 + 200 + ... + 2500
    EXPECT_EQ(count(sales[1], u"32500.00"_s), 1);
    const auto& finance = printer.jobs[1];
    ASSERT_EQ(finance.size(), 1u);
    EXPECT_EQ(count(finance[0], u"共1页   第1页"_s), 1);
    EXPECT_EQ(count(finance[0], u"部门名称:财务部"_s), 1);
    EXPECT_EQ(count(finance[0], u"合计:2"_s), 1);
    EXPECT_EQ(count(finance[0], u"3900.50"_s), 1);
}

TEST_F(PayTablePrint, TheHeadAndRowsInTwips) {
    month(2);
    JobPrinter printer;
    ASSERT_EQ(logic.printDepartment(u"02"_s, grid, printer, kNow), 1);
    const Page& page = printer.jobs.at(0).at(0);
    const auto& m = logic.metrics();
    EXPECT_EQ(m.charUnit, kUnit);
    EXPECT_EQ(m.textOffset, 90);
    EXPECT_EQ(m.tableWidth, kTableWidth);
    EXPECT_EQ(m.pageRows, 20);
    EXPECT_EQ(m.pageTotal, 1);

    // The title in 隶书 19 (a character 380 wide), centred, 1.5 widths of "提" above 700.
    const PageText& title = text(page, u"2000年04月部门班组签收联"_s);
    EXPECT_EQ(title.face, u"隶书"_s);
    EXPECT_EQ(title.size, 19);
    EXPECT_FLOAT_EQ(title.at.x(), (kTableWidth - (6 * 190 + 9 * 380)) / 2);
    EXPECT_FLOAT_EQ(title.at.y(), 700 - 1.5f * 380);
    // Body lines 180 high: the department line 2 x 210 above 700, the unit line 210 above.
    const PageText& dept = text(page, u"部门名称:财务部"_s);
    EXPECT_EQ(dept.face, u"宋体"_s);
    EXPECT_EQ(dept.at, QPointF(0, 700 - 2 * 210));
    const QString label = u"共1页   第1页"_s;
    EXPECT_EQ(text(page, label).at, QPointF(kTableWidth - (4 * 180 + 5 * 90), 280));
    EXPECT_EQ(text(page, u"单位名称:朔岚测试厂    "_s).at, QPointF(0, 490));
    EXPECT_EQ(text(page, u"发薪日期:2000-04-25"_s).at, QPointF(kTableWidth - (4 * 180 + 11 * 90), 490));

    // Header row: captions right-aligned in their columns, 签  收 centred in the last six units.
    EXPECT_EQ(text(page, u"序号"_s).at, QPointF(0, 790));
    EXPECT_EQ(text(page, u"部门"_s).at, QPointF(360 + 1080 - 360, 790));
    EXPECT_EQ(text(page, u"签  收"_s).at,
              QPointF(kTableWidth - 6 * kUnit + (6 * kUnit - 2 * 180 - 2 * 90) / 2, 790));
    // Row 1 at 1060 + 90: sequence right-aligned, the code 0201 placed by the width of 201.
    EXPECT_EQ(text(page, u"1"_s).at, QPointF(360 - 90, 1150));
    const float codeRight = 360 + 1080 + 720;
    EXPECT_EQ(text(page, u"0201"_s).at, QPointF(codeRight - 3 * 90, 1150));
    EXPECT_EQ(text(page, u"1200.00"_s).at, QPointF(codeRight + 720 + 900 - 7 * 90, 1150));
    // 工龄 formats "0": 10.4 is printed as stored.
    EXPECT_EQ(text(page, u"10.4"_s).at.x(), codeRight + 720 + 900 + 540 - 2 * 90);
    // Totals below row 2 (rule at 1780): 合计 60 into grid column 2 (工号); from grid column 3 on the
    // totals go lower (姓名, a text item, has none: its place stays empty), upper, lower, upper, lower,
    // right-aligned.
    EXPECT_EQ(text(page, u"合计:2"_s).at, QPointF(360 + 1080 + 60, 1870));
    for (const auto& t : page.texts) {
        const bool inTotals = t.at.y() > 1780 && t.at.y() < 2500;
        EXPECT_FALSE(inTotals && t.at.x() >= codeRight && t.at.x() < codeRight + 720) << t.text.toStdString();
    }
    EXPECT_EQ(text(page, u"2000.00"_s).at, QPointF(codeRight + 720 + 900 - 7 * 90, 1780 + 30));
    EXPECT_EQ(text(page, u"12"_s).at.y(), 1780 + 30 + 360);
    EXPECT_EQ(text(page, u"3900.50"_s).at, QPointF(kTableWidth - 6 * kUnit - 7 * 90, 1780 + 30 + 360));
    // The foot 60 below the last rule (2500).
    EXPECT_EQ(text(page, u"【朔岚软件】"_s).at, QPointF(0, 2560));
    const QString time = u"打印时间:2000-4-25 9:05:00"_s;
    EXPECT_EQ(text(page, time).at.y(), 2560);
    // Horizontal rules only, the table's width: 700, the header row, two rows, the totals.
    ASSERT_EQ(page.lines.size(), 5u);
    const std::vector<float> ys{700, 1060, 1420, 1780, 2500};
    for (size_t i = 0; i < ys.size(); ++i) {
        EXPECT_EQ(page.lines[i].line, QLineF(0, ys[i], kTableWidth, ys[i]));
    }
}

TEST_F(PayTablePrint, TwentyEmployeesLeaveTheTotalsAloneOnPageTwo) {
    month(20);
    JobPrinter printer;
    ASSERT_EQ(logic.printDepartment(u"01"_s, grid, printer, kNow), 2);
    const auto& job = printer.jobs.at(0);
    EXPECT_EQ(count(job[0], u"20"_s), 1);
    EXPECT_EQ(count(job[0], u"合计:20"_s), 0);
    EXPECT_EQ(count(job[0], u"【朔岚软件】"_s), 1);
    // Page 2: head, header row, totals and foot; rules at 700, 1060 and the totals' 1780.
    EXPECT_EQ(count(job[1], u"共2页   第2页"_s), 1);
    EXPECT_EQ(count(job[1], u"合计:20"_s), 1);
    EXPECT_EQ(count(job[1], u"1"_s), 0);
    ASSERT_EQ(job[1].lines.size(), 3u);
    EXPECT_EQ(job[1].lines[2].line.y1(), 1780);
}

TEST_F(PayTablePrint, NarrowedColumnsAreLeftOut) {
    month(2);
    grid.setColWidth(0, 200);
    grid.setColWidth(3, 150);  // 姓名
    JobPrinter printer;
    ASSERT_EQ(logic.printDepartment(u"02"_s, grid, printer, kNow), 1);
    const Page& page = printer.jobs.at(0).at(0);
    EXPECT_EQ(count(page, u"序号"_s), 0);
    EXPECT_EQ(count(page, u"1"_s), 0);
    EXPECT_EQ(count(page, u"姓名"_s), 0);
    EXPECT_EQ(count(page, u"合计:2"_s), 1);
    EXPECT_EQ(logic.metrics().tableWidth, kTableWidth - 2 * kUnit - 4 * kUnit);
    EXPECT_EQ(text(page, u"部门"_s).at.x(), 1080 - 360);
    // Grid column 2 narrowed: no 合计 label, the first total still on the lower line.
    grid.setColWidth(2, 100);
    ASSERT_EQ(logic.printDepartment(u"02"_s, grid, printer, kNow), 1);
    const Page& narrow = printer.jobs.at(1).at(0);
    EXPECT_EQ(count(narrow, u"合计:2"_s), 0);
    EXPECT_EQ(text(narrow, u"2000.00"_s).at.y(), 1780 + 30 + 360);
}

TEST_F(PayTablePrint, ThePreviewShowsPageOneWithTheWholeDepartmentsTotals) {
    month(25);
    slp::print::RecordingPrintTarget::Setup s;
    s.height = 9540;
    slp::print::RecordingPrintTarget recorder(s);
    const auto page = logic.previewDepartment(u"01"_s, grid, recorder, kNow);
    ASSERT_TRUE(page);
    EXPECT_EQ(count(*page, u"共2页   第1页"_s), 1);
    EXPECT_EQ(count(*page, u"20"_s), 1);
    EXPECT_EQ(count(*page, u"21"_s), 0);
    EXPECT_EQ(count(*page, u"合计:25"_s), 1);
    EXPECT_EQ(count(*page, u"32500.00"_s), 1);
    EXPECT_FALSE(logic.previewDepartment(u"03"_s, grid, recorder, kNow));
}

TEST_F(PayTablePrint, ATableWiderThanThePaperIsPrintedOnlyWhenTheClerkSaysSo) {
    month(2);
    for (const bool print : {false, true}) {
        JobPrinter narrow;
        narrow.width = kTableWidth - 1;
        prompts.asked.clear();
        prompts.answerMessage(print ? slp::MessageAnswer::Yes : slp::MessageAnswer::No);
        const auto outcome = logic.printSelected(grid, narrow, prompts, kNow);
        // Asked once for the two departments, before anything is printed.
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].text, tooWideMessage(kTableWidth, kTableWidth - 1));
        EXPECT_EQ(outcome.jobs, print ? 2 : 0);
        EXPECT_EQ(narrow.jobs.size(), print ? 2u : 0u);
        EXPECT_FALSE(outcome.failed);
    }
    JobPrinter wide;
    wide.width = kTableWidth;
    prompts.asked.clear();
    EXPECT_EQ(logic.printSelected(grid, wide, prompts, kNow).jobs, 2);
    EXPECT_TRUE(prompts.asked.isEmpty());
}

TEST_F(PayTablePrint, TheCommandReportsAMissingPrinterAndStopsAtAFailure) {
    month(2);
    const auto noPrinter = []() -> std::unique_ptr<slp::print::Printer> {
        throw slp::Error(484, u"无打印机"_s);
    };
    const auto none = logic.printSelected(grid, noPrinter, prompts, kNow);
    EXPECT_EQ(none.jobs, 0);
    EXPECT_TRUE(none.failed);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked.back().text, u"   未找到打印驱动程序\r\n请先安装了打印驱动程序!"_s);
    EXPECT_EQ(prompts.asked.back().title, QString());
    EXPECT_EQ(prompts.asked.back().icon, slp::MessageIcon::Warning);

    // The first page sent fails: nothing of department 01 stays, 02 is not printed.
    const auto log = std::make_shared<JobLog>();
    JobPrinter failing(9540, log);
    failing.failAtPage = 1;
    const auto failed = logic.printSelected(grid, failing, prompts, kNow);
    EXPECT_TRUE(failed.failed);
    EXPECT_EQ(failed.jobs, 0);
    EXPECT_TRUE(log->jobs.empty());
    EXPECT_EQ(log->finished, 0);
    EXPECT_EQ(prompts.asked.back().text, u"打印机错误"_s);
    EXPECT_EQ(prompts.asked.back().title, u"错误号482"_s);

    // An entry whose code is longer than the listed level stands for its department: each department is
    // printed once, under its name, however many entries lead to it, and the clerk is told which groups
    // did so; a code that names no entry stops the printing with the list's error.
    logic.departments().clear();
    logic.departments().add(u"02"_s, u"财务部"_s);
    logic.departments().add(u"0201"_s, u"财务一组"_s);
    logic.departments().add(u"0301"_s, u"后勤一组"_s);
    logic.departments().add(u"02"_s, u"财务部"_s);
    JobPrinter printer;
    const auto partly = logic.printSelected(grid, printer, prompts, kNow);
    EXPECT_EQ(partly.jobs, 1);  // 02 once under 财务部; 03 has no employees
    EXPECT_FALSE(partly.failed);
    EXPECT_EQ(
        partly.groupsNote,
        u"所选班组不单独打印，按所属部门整体打印，每个部门只打印一次：财务一组（0201）、后勤一组（0301）"_s);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(count(printer.jobs[0][0], u"部门名称:财务部"_s), 1);
    // Only departments selected: nothing to tell.
    logic.departments().toggle(1);
    logic.departments().toggle(2);
    EXPECT_TRUE(logic.printSelected(grid, printer, prompts, kNow).groupsNote.isEmpty());
    logic.departments().selectAll();
    // At length 3, "02List" gives "02L" (no employees) and "0201List" "020", which no entry is named.
    logic.setDeptCodeLength(3);
    const auto unnamed = logic.printSelected(grid, printer, prompts, kNow);
    EXPECT_TRUE(unnamed.failed);
    EXPECT_EQ(prompts.asked.back().title, u"错误号35601"_s);
    EXPECT_EQ(printer.jobs.size(), 2u);
}

}  // namespace
