// The special print on recorded pages: the placements around the caption point, sheets across and down
// a page, ranges, one record a page with the page resized, the errors, nothing sent half-drawn (the
// query texts are golden files, tests/golden/queries).
#include "app/special_print/special_print.h"

#include <gtest/gtest.h>

#include <QPageSize>

#include "../department_summary/summary_fixture.h"
#include "app/shared/error_report.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/database_error.h"
#include "print/page.h"
#include "print/printer.h"
#include "recording_print_target.h"
#include "sheet_printer.h"

namespace {

using namespace Qt::StringLiterals;
using namespace slp::windows::special;
using slp::data::Value;
using slp::print::Page;
using slp::print::RecordingPrintTarget;

using special_test::kA4;
using special_test::SheetPrinter;
constexpr QSizeF kSheet10x7(5670, 3969);

// The small month with `employees` rows: 工号 E01 … and 基本工资 100, 200, …
struct Month : summary_test::SummaryDatabase {
    explicit Month(int employees) {
        createTables();
        for (int i = 1; i <= employees; ++i) {
            addWage(u"01"_s, {Value(u"部"_s), Value(u"E%1"_s.arg(i, 2, 10, QChar(u'0'))), Value(u"员工"_s),
                              Value::real(100 * i), Value::integer(i), Value::real(0.5), Value::real(99.5)});
        }
    }
    SpecialData open(const std::vector<LayoutRow>& layout) {
        SaveLayout(*db, layout);
        return openSpecialData(*db, host.monthKey(), u"order by 部门号"_s, u"16工资输出数据"_s, host.payDate);
    }
};

// 工号 at (100, 200) below, the pay date at (1000, 200) right of its name.
std::vector<LayoutRow> twoRows() {
    return {{u"部门"_s, 0, 0, 0, Below, false},
            {u"工号"_s, 100, 200, 1, Below, false},
            {u"发薪日期"_s, 1000, 200, 2, RightOf, false}};
}

const slp::print::PageText* findText(const Page& page, const QString& text) {
    return page.find(text);
}

TEST(SpecialPrint, ValuePlacementsAroundTheCaptionPoint) {
    const QSizeF name(360, 180);
    const QPointF at(1000, 2000);
    EXPECT_EQ(valuePoint(at, Below, name), QPointF(1000, 2240));
    EXPECT_EQ(valuePoint(at, Above, name), QPointF(1000, 1760));
    EXPECT_EQ(valuePoint(at, LeftOf, name), QPointF(550, 2000));
    EXPECT_EQ(valuePoint(at, RightOf, name), QPointF(1450, 2000));
}

TEST(SpecialPrint, OneRecordPrintsNamesAndValuesAtTheirPlaces) {
    Month month(1);
    // Every position code once, names printed on two rows; 宋体 9 in fixed metrics: "工号" 360 x 180.
    SpecialData data = month.open({{u"部门"_s, 3000, 3000, 0, Above, false},
                                   {u"工号"_s, 1000, 2000, 1, Below, true},
                                   {u"姓名"_s, 1000, 4000, 2, LeftOf, false},
                                   {u"基本工资"_s, 1000, 5000, 3, RightOf, true},
                                   {u"发薪日期"_s, 6000, 6000, 4, Below, false}});
    RecordingPrintTarget target;
    target.SetFontName(u"宋体"_s);
    data.rows.setAbsolutePosition(0);
    PrintOneRecord(target, data, {10, 20});
    const Page page = target.takePage();
    // 基本工资 has two decimals: printed as the tables show it; the text items as stored.
    EXPECT_EQ(page.textList(), (QStringList{u"部"_s, u"工号"_s, u"E01"_s, u"员工"_s, u"基本工资"_s,
                                            u"100.00"_s, u"2000-04-25"_s}));
    EXPECT_EQ(findText(page, u"部"_s)->at, QPointF(3010, 3020 - 180 - 60));
    EXPECT_EQ(findText(page, u"工号"_s)->at, QPointF(1010, 2020));
    EXPECT_EQ(findText(page, u"E01"_s)->at, QPointF(1010, 2020 + 180 + 60));
    EXPECT_EQ(findText(page, u"员工"_s)->at, QPointF(1010 - 360 - 90, 4020));
    EXPECT_EQ(findText(page, u"100.00"_s)->at, QPointF(1010 + 720 + 90, 5020));
    EXPECT_EQ(findText(page, u"2000-04-25"_s)->face, u"宋体"_s);
}

// Every amount item in its own format, as the tables show it (工龄 "0", 加班费 "0.0", 实发工资 "0.00"),
// an empty or odd amount as 0 in that format; 工号 and the other text items as stored.
TEST(SpecialPrint, AmountsInTheirItemsFormatTextsAsStored) {
    Month month(1);
    month.db->executeNative(
        u"UPDATE \"16工资输出数据\" SET \"工号\" = '0007', \"基本工资\" = '4691.6', "
        u"\"工龄\" = '2.6', \"加班费\" = '', \"实发工资\" = '277abc'"_s);
    SpecialData data = month.open({{u"部门"_s, 0, 0, 0, Below, false},
                                   {u"工号"_s, 100, 0, 1, Below, false},
                                   {u"姓名"_s, 200, 0, 2, Below, false},
                                   {u"基本工资"_s, 300, 0, 3, Below, false},
                                   {u"工龄"_s, 400, 0, 4, Below, false},
                                   {u"加班费"_s, 500, 0, 5, Below, false},
                                   {u"实发工资"_s, 600, 0, 6, Below, false},
                                   {u"发薪日期"_s, 700, 0, 7, Below, false}});
    RecordingPrintTarget target;
    data.rows.setAbsolutePosition(0);
    PrintOneRecord(target, data, {});
    EXPECT_EQ(target.takePage().textList(), (QStringList{u"部"_s, u"0007"_s, u"员工"_s, u"4691.60"_s, u"3"_s,
                                                         u"0.0"_s, u"277.00"_s, u"2000-04-25"_s}));
}

TEST(SpecialPrint, TenBySevenSheetsGoTwoAcrossFourDownOnA4) {
    const SheetGrid grid = sheetGrid(kA4, kSheet10x7);
    EXPECT_EQ(grid.across, 2);
    EXPECT_EQ(grid.down, 4);
    EXPECT_EQ(recordOffset(0, grid, kSheet10x7), QPointF(0, 0));
    EXPECT_EQ(recordOffset(1, grid, kSheet10x7), QPointF(5670, 0));
    EXPECT_EQ(recordOffset(2, grid, kSheet10x7), QPointF(0, 3969));
    EXPECT_EQ(recordOffset(7, grid, kSheet10x7), QPointF(5670, 3 * 3969));
    EXPECT_EQ(recordOffset(8, grid, kSheet10x7), QPointF(0, 0));
    // 2 across and 3 down: the third record of a page in the second row, first column.
    const SheetGrid six = sheetGrid({2 * 5670 + 10, 3 * 3969 + 10}, kSheet10x7);
    EXPECT_EQ(six.perPage(), 6);
    EXPECT_EQ(recordOffset(2, six, kSheet10x7), QPointF(0, 3969));

    Month month(10);
    SpecialData data = month.open(twoRows());
    SpecialOptions options;
    options.sheet = kSheet10x7;
    RecordingPrintTarget target;
    const auto pages = RecordSpecialPages(target, data, options);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[0].endsJob);
    // Records 1 … 8 on page 1, the values of 工号 at their sheets' (100, 200 + 180 + 60).
    for (int r = 0; r < 8; ++r) {
        const auto* t = findText(pages[0], u"E%1"_s.arg(r + 1, 2, 10, QChar(u'0')));
        ASSERT_NE(t, nullptr) << r;
        EXPECT_EQ(t->at, QPointF(100 + (r % 2) * 5670, 440 + (r / 2) * 3969)) << r;
    }
    EXPECT_EQ(pages[0].textList().last(), u"第1页"_s);
    EXPECT_EQ(pages[1].textList().last(), u"第2页"_s);
    EXPECT_NE(findText(pages[1], u"E10"_s), nullptr);
    const auto* footer = findText(pages[0], u"第1页"_s);
    EXPECT_EQ(footer->at.y(), 16838 - 300);
    EXPECT_EQ(footer->at.x(), (11906 - (2 * 180 + 90)) / 2);
}

TEST(SpecialPrint, RangeThreeToFiveFillsTheFirstThreePlacesOfOnePage) {
    Month month(10);
    SpecialData data = month.open(twoRows());
    SpecialOptions options;
    options.sheet = kSheet10x7;
    options.first = 3;
    options.last = 5;
    RecordingPrintTarget target;
    const auto pages = RecordSpecialPages(target, data, options);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].textList(),
              (QStringList{u"部"_s, u"E03"_s, u"2000-04-25"_s, u"部"_s, u"E04"_s, u"2000-04-25"_s, u"部"_s,
                           u"E05"_s, u"2000-04-25"_s, u"第1页"_s}));
    EXPECT_EQ(findText(pages[0], u"E03"_s)->at, QPointF(100, 440));
    EXPECT_EQ(findText(pages[0], u"E04"_s)->at, QPointF(5770, 440));
    EXPECT_EQ(findText(pages[0], u"E05"_s)->at, QPointF(100, 440 + 3969));
}

TEST(SpecialPrint, RangeIsAskedAndAZeroStops) {
    slp::ScriptedPrompts prompts;
    prompts.answerInput(u"3"_s);
    prompts.answerInput(u"5"_s);
    EXPECT_EQ(askRange(prompts, 10), std::make_pair(3, 5));
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, u"请选择从几号开始打印\r\n请注意共有10号"_s);
    EXPECT_EQ(prompts.asked[0].defaultText, u"1"_s);
    EXPECT_EQ(prompts.asked[1].text, u"你已选择从3号开始,请选择到几号结束\r\n请注意共有10号"_s);
    slp::ScriptedPrompts cancelled;
    cancelled.answerInput(std::nullopt);
    EXPECT_EQ(askRange(cancelled, 10), std::nullopt);
    slp::ScriptedPrompts zeroLast;
    zeroLast.answerInput(u"2"_s);
    zeroLast.answerInput(u"0"_s);
    EXPECT_EQ(askRange(zeroLast, 10), std::nullopt);
    // Record numbers past 16 bits, as a month of a million employees has.
    slp::ScriptedPrompts large;
    large.answerInput(u"65536"_s);
    large.answerInput(u"999999"_s);
    EXPECT_EQ(askRange(large, 1000000), std::make_pair(65536, 999999));
}

TEST(SpecialPrint, OnePerPageResizesThePageToTheSheetUnlessKept) {
    Month month(3);
    SpecialData data = month.open(twoRows());
    SheetPrinter printer;
    SpecialOptions options;
    options.onePerPage = true;
    options.sheet = kSheet10x7;
    options.calibration = {mmToTwips(2.54), -mmToTwips(5.08)};  // 144 and -288 twips
    EXPECT_EQ(PrintSpecial(printer, data, options), 3);
    ASSERT_EQ(printer.jobs.size(), 3u);
    for (const auto& job : printer.jobs) {
        ASSERT_EQ(job.size(), 1u);
        EXPECT_NEAR(job[0].size.width(), 5670, 1);
        EXPECT_NEAR(job[0].size.height(), 3969, 1);
        EXPECT_FALSE(job[0].textList().last().startsWith(u"第"_s));  // no footer a record
    }
    EXPECT_EQ(findText(printer.jobs[1][0], u"E02"_s)->at, QPointF(100 + 144, 440 - 288));
    EXPECT_NEAR(printer.size.width(), kA4.width(), 5);  // the printer's page given back (A4 again)
    // Kept: the printer's own page.
    SheetPrinter kept;
    options.keepPageSize = true;
    PrintSpecial(kept, data, options);
    EXPECT_TRUE(kept.layouts.empty());
    EXPECT_EQ(kept.jobs.at(0).at(0).size, kA4);
}

struct FailureCase {
    const char* name;
    int employees;
    std::vector<LayoutRow> layout;
    SpecialOptions options;
    int number;
};

TEST(SpecialPrint, ErrorsStopTheRunBeforeAnythingIsSent) {
    std::vector<LayoutRow> tooMany;
    for (int i = 0; i < 9; ++i) tooMany.push_back({u"x"_s, 0, 0, int16_t(i), 0, false});  // 7 columns + 1 = 8
    SpecialOptions fits;
    fits.sheet = kSheet10x7;
    SpecialOptions beyond = fits;
    beyond.first = 9;
    beyond.last = 12;
    const std::vector<FailureCase> cases{
        {"more layout rows than columns + 1", 2, tooMany, fits, slp::data::dberr::ItemNotFound},
        {"range beyond the data", 10, twoRows(), beyond, slp::data::dberr::InvalidArgument},
    };
    for (const FailureCase& c : cases) {
        Month month(c.employees);
        SpecialData data = month.open(c.layout);
        SheetPrinter printer;
        try {
            PrintSpecial(printer, data, c.options);
            ADD_FAILURE() << c.name << ": printed";
        } catch (const slp::Error& e) {
            EXPECT_EQ(e.number(), c.number) << c.name;
        }
        EXPECT_TRUE(printer.jobs.empty()) << c.name;
    }
}

// A sheet the paper does not hold as it is set still prints, and the clerk is told how: on the paper
// turned when that holds it, else one record a page at the sheet's own size; the paper is set back after.
TEST(SpecialPrint, SheetsLargerThanThePaperArePlacedSoThePrintWorks) {
    const struct {
        const char* name;
        QSizeF sheet;
        QString note;
        QSizeF pageSize;
        size_t jobs;  // of three records
    } cases[] = {
        {"fits A4 portrait", {5000, 5000}, QString(), kA4, 1},                      // six a page
        {"fits A4 turned", {14000, 5000}, turnedPaperNote(), kA4.transposed(), 2},  // two a page
        {"the host's default sheet", {18000, 10000}, sheetSizedPagesNote(), {18000, 10000}, 3},
    };
    for (const auto& c : cases) {
        Month month(3);
        SpecialData data = month.open(twoRows());
        SheetPrinter printer;
        SpecialOptions options;
        options.sheet = c.sheet;
        QString placement;
        ASSERT_EQ(PrintSpecial(printer, data, options, &placement), int(c.jobs)) << c.name;
        EXPECT_EQ(placement, c.note) << c.name;
        ASSERT_EQ(printer.jobs.size(), c.jobs) << c.name;
        // Sizes go through inches of two decimals (A4 comes back as 8.27 x 11.69 in): within 6 twips.
        const auto near = [](QSizeF a, QSizeF b) {
            return std::abs(a.width() - b.width()) < 6 && std::abs(a.height() - b.height()) < 6;
        };
        EXPECT_TRUE(near(printer.jobs[0][0].size, c.pageSize)) << c.name;
        EXPECT_TRUE(near(printer.size, kA4)) << c.name;  // set back
    }
    // The sheet grid itself still refuses a sheet larger than the page it is given.
    EXPECT_THROW(sheetGrid(kA4, {18000, 10000}), slp::Error);
    EXPECT_EQ(slp::windows::errorTitle(11), u"错误号:11"_s);
}

TEST(SpecialPrint, AJobFailingWhileSentIsDropped) {
    Month month(3);
    SpecialData data = month.open(twoRows());
    SheetPrinter printer;
    printer.failAtPage = 2;
    SpecialOptions options;
    options.onePerPage = true;
    options.keepPageSize = true;
    EXPECT_THROW(PrintSpecial(printer, data, options), slp::Error);
    EXPECT_EQ(printer.jobs.size(), 1u);  // the first record went out whole
    EXPECT_EQ(printer.dropped, 0);       // the failed page never began a job
}

TEST(SpecialPrint, NoDataRowsIsTheSystemsNoCurrentRecord) {
    Month month(0);
    try {
        month.open(twoRows());
        FAIL() << "opened";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), slp::data::dberr::NoCurrentRecord);
    }
}

}  // namespace
