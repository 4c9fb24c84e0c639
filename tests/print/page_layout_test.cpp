// Page counting, the layout measure, the too-tall check and the text offset.
#include "print/page_layout.h"

#include <gtest/gtest.h>

#include <QSizeF>

#include "print_fixture.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;
using print_test::makeGrid;

namespace {

slp::data::WageGrid gridOf(int dataRows, const std::vector<int>& widths) {
    QStringList captions;
    for (size_t c = 0; c < widths.size(); ++c) captions << u"列%1"_s.arg(c);
    return makeGrid(captions, widths, dataRows);
}

}  // namespace

TEST(PrintPageCount, HundredAndOneRowsWithTotalsAtFortyLines) {
    const auto grid = gridOf(101, {600, 1000, 1000});
    ASSERT_EQ(grid.rows(), 103);
    PrintLayout layout;
    layout.linesPerPage = 40;
    CountTablePages(layout, grid.rows());
    EXPECT_EQ(layout.pageCount, 3);

    layout.slipMode = -1;
    CountSlipPages(layout, grid.rows(), false, 11000);
    EXPECT_EQ(layout.rowsPerPage, 20);
    EXPECT_EQ(layout.pageCount, 6);

    CountSlipPages(layout, grid.rows(), true, 11000);
    EXPECT_EQ(layout.rowsPerPage, 10);
    EXPECT_EQ(layout.pageCount, 11);

    // A table too wide for the paper is printed as wrapped slips, a quarter of the lines per page.
    layout.slipMode = 0;
    CountSlipPages(layout, grid.rows(), false, 11000);
    EXPECT_EQ(layout.rowsPerPage, 10);
    EXPECT_EQ(layout.pageCount, 11);
}

TEST(PrintPageCount, EdgesOfTheRowCount) {
    PrintLayout layout;
    layout.linesPerPage = 40;
    CountTablePages(layout, 41);  // 40 rows after the caption: exactly one page
    EXPECT_EQ(layout.pageCount, 1);
    CountTablePages(layout, 42);
    EXPECT_EQ(layout.pageCount, 2);
    CountTablePages(layout, 1);  // caption only
    EXPECT_EQ(layout.pageCount, 0);
    // A page holds at least one line or one slip: no count divides by zero.
    layout.linesPerPage = 0;
    CountTablePages(layout, 11);
    EXPECT_EQ(layout.pageCount, 10);
    layout.linesPerPage = 3;
    layout.slipMode = -1;
    CountSlipPages(layout, 11, true, 11000);
    EXPECT_EQ(layout.rowsPerPage, 1);
    EXPECT_EQ(layout.pageCount, 10);
}

TEST(PrintPageCount, PrintAndSlotWidths) {
    PrintLayout layout;
    layout.columnsPerLine = 24;
    CountSlipPages(layout, 10, true, 11906);
    EXPECT_FLOAT_EQ(layout.printWidth, 11106);
    EXPECT_FLOAT_EQ(layout.slotWidth, 11106.0f / 24);
    layout.columnsPerLine = 0;  // a line has at least one slot
    CountSlipPages(layout, 10, true, 11906);
    EXPECT_FLOAT_EQ(layout.slotWidth, 11106);
}

TEST(PrintPageCount, WrappedSlotsWidenToTheirTexts) {
    const struct {
        float needed;
        int perLine;  // slots a line afterwards
    } cases[] = {{400, 24}, {0, 24}, {500, 22}, {11106, 1}, {20000, 1}};
    for (const auto& c : cases) {
        PrintLayout layout;
        layout.columnsPerLine = 24;
        layout.printWidth = 11106;
        layout.slotWidth = 11106 / 24.0f;
        EXPECT_EQ(WidenWrappedSlots(layout, c.needed), c.perLine) << c.needed;
        EXPECT_FLOAT_EQ(layout.slotWidth, 11106.0f / float(c.perLine)) << c.needed;
    }
    EXPECT_EQ(widenedSlotsNote(24, 8), u"每行24列放不下工资项目，已改为每行8列打印。"_s);
}

TEST(PrintPageCount, TheSlotNeededHoldsTheWidestCaptionAndValue) {
    // A hidden column's long text does not count; the totals row counts however many rows come before.
    auto grid = print_test::makeGrid({u"序号"_s, u"很长很长的项目名称"_s, u"隐藏"_s}, {600, 900, 100}, 300);
    grid.setText(2, 2, u"一个很长很长很长很长的隐藏值"_s);
    const float plain = WrappedSlotNeeded(grid, 9, 1440, 45);
    EXPECT_GE(plain, 9 * 180.0f);  // nine full-width characters of 9 points
    EXPECT_LT(plain, 12 * 180.0f);
    grid.setText(301, 0, u"123456789012345678901234567890"_s);
    EXPECT_GT(WrappedSlotNeeded(grid, 9, 1440, 45), plain);
    EXPECT_GT(WrappedSlotNeeded(grid, 18, 1440, 45), WrappedSlotNeeded(grid, 9, 1440, 45));
}

TEST(PrintPageCount, TooTallPages) {
    EXPECT_TRUE(PageTooTall(40, 500, 16838, 600));  // 20000 > 15938
    EXPECT_FALSE(PageTooTall(40, 360, 16838, 600));
    EXPECT_FALSE(PageTooTall(40, 398.45f, 16838, 600));  // 15938 is not more than 15938
    EXPECT_TRUE(PageTooTall(41, 398.45f, 16838, 600));
    EXPECT_EQ(tooTallMessage(), u"你所选择的行高与每页打印的行数之积\r\n   大于你所设置的打印纸张高度!"_s);
}

TEST(PrintMeasureLayout, VisibleColumnsFitAndWidth) {
    // Widths 199 and below are hidden.
    const auto grid = gridOf(3, {600, 199, 200, 5000, 0});
    PrintLayout layout;
    layout.columnsPerLine = 3;
    layout.slipMode = -1;
    auto m = MeasureLayout(layout, grid, 6600);
    EXPECT_EQ(m.visibleColumns, 3);
    EXPECT_DOUBLE_EQ(m.visibleWidth, 5800);
    EXPECT_TRUE(layout.fitsOneLine);
    EXPECT_TRUE(layout.slipLayout);
    EXPECT_FALSE(m.tooWide);  // 5800 is not more than 6600 - 800
    m = MeasureLayout(layout, grid, 6599);
    EXPECT_TRUE(m.tooWide);
    layout.columnsPerLine = 2;
    layout.slipMode = 0;
    MeasureLayout(layout, grid, 6600);
    EXPECT_FALSE(layout.fitsOneLine);
    EXPECT_FALSE(layout.slipLayout);
    EXPECT_EQ(ChooseLayout(true, true), PageLayoutKind::WrappedSlips);
    EXPECT_EQ(ChooseLayout(true, false), PageLayoutKind::WrappedSlips);
    EXPECT_EQ(ChooseLayout(false, true), PageLayoutKind::Slips);
    EXPECT_EQ(ChooseLayout(false, false), PageLayoutKind::Table);
}

TEST(PrintMeasureLayout, TextOffsetIsSixEleventhsOfTheGap) {
    EXPECT_FLOAT_EQ(TextOffset(360, 180), 180.0f * 6 / 11);
    EXPECT_FLOAT_EQ(TextOffset(100, 210), 110.0f * 6 / 11);
    EXPECT_FLOAT_EQ(TextOffset(180, 180), 0);
}

TEST(PrintDrawPage, TablePageJoinsHeadAndBody) {
    print_test::Fixture f;
    auto grid = makeGrid({u"序号"_s, u"姓名"_s, u"基本"_s, u"实发"_s}, {600, 1000, 1000, 1200}, 3);
    f.layout.printGrid = &grid;
    f.layout.linesPerPage = 2;
    CountTablePages(f.layout, grid.rows());
    EXPECT_EQ(f.layout.pageCount, 2);
    print_test::drawPage(f.layout, PageLayoutKind::Table, PageGeometry{300, 600, 360, 90}, 2);
    // Page 2 holds rows 3 and 4 (the totals) below the caption row; the body starts at 600 + 360.
    const Page& page = f.target.page();
    EXPECT_EQ(page.find(u"r2c0"_s), nullptr);
    ASSERT_NE(page.find(u"r3c0"_s), nullptr);
    EXPECT_FLOAT_EQ(page.find(u"r3c0"_s)->at.y(), 960 + 90);
    EXPECT_FLOAT_EQ(page.find(u"t0"_s)->at.y(), 1320 + 90);
    EXPECT_NE(page.find(u"共2页  第2页"_s), nullptr);
    EXPECT_NE(page.find(u"序号"_s), nullptr);
    // The page holds what was drawn, in order: the printed texts (blank ones leave nothing) and lines.
    QStringList printed = f.target.printedTexts();
    printed.removeAll(QString());
    EXPECT_EQ(page.textList(), printed);
    EXPECT_EQ(page.lines.size(), f.target.lines().size());
    EXPECT_FALSE(page.endsJob);
}

TEST(PrintPageRows, EveryRowOnExactlyOnePage) {
    // rows: the grid with its caption row and totals row; per: lines a page (table) or slips a page.
    const struct {
        PageLayoutKind kind;
        int rows, per, page, first, last;
    } cases[] = {
        {PageLayoutKind::Table, 102, 40, 1, 1, 40},
        {PageLayoutKind::Table, 102, 40, 3, 81, 101},
        {PageLayoutKind::Table, 42, 40, 2, 41, 41},  // the totals row alone
        {PageLayoutKind::Table, 100002, 40, 820, 32761, 32800},
        {PageLayoutKind::Slips, 102, 10, 11, 101, 101},  // a slip page may hold the totals alone
        {PageLayoutKind::WrappedSlips, 33001, 10, 3277, 32761, 32770},
        {PageLayoutKind::Slips, 5, 0, 2, 2, 2},  // at least one slip a page
    };
    for (const auto& c : cases) {
        PrintLayout layout;
        layout.linesPerPage = int16_t(c.per);
        layout.rowsPerPage = int16_t(c.per);
        const PageSpan span = PageRows(layout, c.kind, c.rows, 7, c.page);
        EXPECT_EQ(span.firstRow, c.first) << c.rows << " rows, page " << c.page;
        EXPECT_EQ(span.lastRow, c.last) << c.rows << " rows, page " << c.page;
        EXPECT_EQ(span.lastCol, 6);
    }
    // Consecutive pages meet: each row after the caption row is on exactly one page.
    PrintLayout layout;
    layout.linesPerPage = 7;
    CountTablePages(layout, 50);
    int next = 1;
    for (int page = 1; page <= layout.pageCount; ++page) {
        const PageSpan span = PageRows(layout, PageLayoutKind::Table, 50, 3, page);
        EXPECT_EQ(span.firstRow, next);
        next = span.lastRow + 1;
    }
    EXPECT_EQ(next, 50);
}
