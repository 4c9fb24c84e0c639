// The table body on the recording target: data rows by alignment, 黑体 in the last column, the
// double-height totals row alternating halves, extra columns, pens, footer, signature labels and the
// preview's width line and overflow warning.
#include <gtest/gtest.h>

#include "print/wage_print.h"
#include "print_fixture.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;
using print_test::Fixture;
using print_test::horizontalAt;
using print_test::makeGrid;
using print_test::verticalAt;

namespace {

struct PrintTableBodyTest : ::testing::Test {
    Fixture f;
    // Alignment codes: centred, left (code 3), right (code 5), right (code 7).
    slp::data::WageGrid grid =
        makeGrid({u"序号"_s, u"姓名"_s, u"基本"_s, u"实发"_s}, {600, 1000, 1000, 1200}, 3, {4, 3, 5, 7});

    void SetUp() override { f.target.SetFontSize(9); }
    void body(int16_t firstRow = 1, int16_t lastRow = 40) {
        PrintTableBody(f.layout, grid, {firstRow, lastRow}, print_test::geometry(grid.cols() - 1), 960);
    }
    RecordedCall text(const QString& s) {
        auto c = f.target.findText(s);
        EXPECT_TRUE(c.has_value()) << s.toStdString();
        return c.value_or(RecordedCall{});
    }
};

}  // namespace

TEST_F(PrintTableBodyTest, DataRowsByAlignmentAndFaces) {
    body();
    EXPECT_FLOAT_EQ(text(u"r1c0"_s).x, 300 + (600 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"r1c0"_s).y, 1050);
    EXPECT_FLOAT_EQ(text(u"r1c1"_s).x, 900 + 30);           // code 3: left with the inset
    EXPECT_FLOAT_EQ(text(u"r1c2"_s).x, 1900 + 1000 - 360);  // code 5: right
    EXPECT_FLOAT_EQ(text(u"r1c3"_s).x, 2900 + 1200 - 360);
    EXPECT_FLOAT_EQ(text(u"r2c0"_s).y, 1410);
    EXPECT_FLOAT_EQ(text(u"r3c0"_s).y, 1770);
    for (int r = 1; r <= 3; ++r) {
        for (int c = 0; c < 3; ++c) EXPECT_EQ(text(u"r%1c%2"_s.arg(r).arg(c)).fontName, u"宋体"_s);
        EXPECT_EQ(text(u"r%1c3"_s.arg(r)).fontName, u"黑体"_s);
    }
}

TEST_F(PrintTableBodyTest, TotalsRowDoubleHeightAlternatingHalvesInHeiti) {
    body();
    // Rows 1-3 end at 2040; the totals row takes 2040 to 2760.
    EXPECT_FLOAT_EQ(text(u"t0"_s).y, 2130);
    EXPECT_FLOAT_EQ(text(u"t1"_s).y, 2130 + 360);
    EXPECT_FLOAT_EQ(text(u"t2"_s).y, 2130);
    EXPECT_FLOAT_EQ(text(u"t3"_s).y, 2130 + 360);
    EXPECT_FLOAT_EQ(text(u"t0"_s).x, 300 + (600 - 180) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"t3"_s).x, 2900 + 1200 - 180);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(text(u"t%1"_s.arg(c)).fontName, u"黑体"_s);
    ASSERT_EQ(verticalAt(f.target, 900).size(), 4u);
    EXPECT_FLOAT_EQ(verticalAt(f.target, 900)[3].y, 2040);
    EXPECT_FLOAT_EQ(verticalAt(f.target, 900)[3].y2, 2760);
    ASSERT_EQ(horizontalAt(f.target, 2760).size(), 1u);  // bottom frame
    EXPECT_EQ(f.target.FontName(), u"宋体"_s);
}

TEST_F(PrintTableBodyTest, WideLowerTotalMovesUpHalfAnOffset) {
    grid.setText(4, 1, u"12345678901234567890123"_s);  // 2070 twips in a 1000-twip cell
    body();
    EXPECT_FLOAT_EQ(text(u"12345678901234567890123"_s).y, 2040 + 45 + 360);
}

// The department summary's totals: one line in the middle of the double-height row, every total in the
// one size at which the widest fits its cell, and the body's size again after the row.
TEST_F(PrintTableBodyTest, TotalsOnOneLineShareOneSizeInTheMiddleOfTheRow) {
    f.layout.totalsOnOneLine = true;
    grid.setText(4, 2, u"1234567890123456789"_s);  // 1710 twips at 9 points in a 1000-twip cell
    body();
    const float size = 9 * 970.0f / 1710 * 0.98f;
    for (const QString& total : {u"t0"_s, u"t1"_s, u"1234567890123456789"_s, u"t3"_s}) {
        SCOPED_TRACE(total.toStdString());
        EXPECT_NEAR(text(total).fontSize, size, 0.001);
        EXPECT_NEAR(text(total).y, 2040 + 360 - size * 20 / 2, 0.01);
        EXPECT_EQ(text(total).fontName, u"黑体"_s);
    }
    EXPECT_FLOAT_EQ(text(u"t3"_s).x, 2900 + 1200 - 2 * size * 10);  // right-aligned at its size
    EXPECT_FLOAT_EQ(f.target.FontSize(), 9);
    ASSERT_EQ(horizontalAt(f.target, 2760).size(), 1u);  // the row keeps its double height
}

TEST_F(PrintTableBodyTest, FiveVisibleTotalsAlternateSkippingHiddenColumns) {
    grid = makeGrid({u"a"_s, u"隐"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}, {600, 100, 1000, 1000, 1000, 1000}, 1);
    body();
    // Rows: data row 1 at 960, totals at 1320.
    const float upper = 1320 + 90, lower = upper + 360;
    EXPECT_FLOAT_EQ(text(u"t0"_s).y, upper);
    EXPECT_FALSE(f.target.findText(u"t1"_s).has_value());
    EXPECT_FLOAT_EQ(text(u"t2"_s).y, lower);
    EXPECT_FLOAT_EQ(text(u"t3"_s).y, upper);
    EXPECT_FLOAT_EQ(text(u"t4"_s).y, lower);
    EXPECT_FLOAT_EQ(text(u"t5"_s).y, upper);
}

TEST_F(PrintTableBodyTest, PageBeforeTheEndHasNoTotalsButFooter) {
    body(1, 2);
    EXPECT_FALSE(f.target.findText(u"r3c0"_s).has_value());
    EXPECT_FALSE(f.target.findText(u"t0"_s).has_value());
    ASSERT_EQ(horizontalAt(f.target, 1680).size(), 1u);  // bottom frame after two rows
    const float y1 = 1680 + 45 + 180;
    EXPECT_FLOAT_EQ(text(u"【朔岚软件】    2024-03-15"_s).y, y1);
    EXPECT_FLOAT_EQ(text(u"制单:"_s).y, y1);
}

TEST_F(PrintTableBodyTest, OnlyTheTotalsRow) {
    grid = makeGrid({u"序号"_s, u"实发"_s}, {600, 1200}, 0);
    body(1, 40);
    const auto texts = f.target.printedTexts();
    EXPECT_TRUE(texts.contains(u"t0"_s));
    EXPECT_TRUE(texts.contains(u"t1"_s));
    EXPECT_FLOAT_EQ(text(u"t1"_s).y, 960 + 90 + 360);
    ASSERT_EQ(horizontalAt(f.target, 960 + 720).size(), 1u);
}

TEST_F(PrintTableBodyTest, RowsPastTheGridStopAtTheTotalsRow) {
    body(3, 8);
    EXPECT_TRUE(f.target.findText(u"r3c0"_s).has_value());
    EXPECT_TRUE(f.target.findText(u"t0"_s).has_value());
    f.target.clear();
    body(5, 8);  // beyond the totals row: nothing but frame and footer
    EXPECT_FALSE(f.target.findText(u"t0"_s).has_value());
    EXPECT_TRUE(f.target.findText(u"财务主管:"_s).has_value());
}

TEST_F(PrintTableBodyTest, FooterAndSignatureLabels) {
    f.layout.footerText = u"页脚"_s;
    body();
    const float y1 = 2760 + 45 + 180;
    const auto maker = text(u"【朔岚软件】    2024-03-15"_s);
    EXPECT_FLOAT_EQ(maker.x, 300);
    EXPECT_FLOAT_EQ(maker.y, y1);
    EXPECT_FLOAT_EQ(text(u"页脚"_s).x, 300 + (3800 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"页脚"_s).y, 2760 + 45);
    // The maker's text is 2340 wide: the labels share the remaining 1460.
    const float start = 300 + 2340, room = 3800 - 2340;
    EXPECT_FLOAT_EQ(text(u"财务主管:"_s).x, start + room / 7);
    EXPECT_FLOAT_EQ(text(u"复核:"_s).x, start + room / 7 * 2.5f);
    EXPECT_FLOAT_EQ(text(u"制单:"_s).x, start + room / 7 * 4);
    EXPECT_EQ(text(u"制单:"_s).fontName, u"宋体"_s);
}

TEST_F(PrintTableBodyTest, PreviewWidthLineButNotOnThePrinter) {
    body();
    const auto line = text(u"表格宽度:3800   打印纸张宽度:11906"_s);
    EXPECT_FLOAT_EQ(line.x, 0);
    EXPECT_FLOAT_EQ(line.y, 0);
    RecordingPrintTarget::Setup printer;
    printer.kind = TargetKind::Printer;
    Fixture p(printer);
    PrintTableBody(p.layout, grid, {1, 40}, print_test::geometry(3), 960);
    for (const QString& s : p.target.printedTexts()) EXPECT_FALSE(s.startsWith(u"表格宽度"_s));
    EXPECT_TRUE(p.target.only(RecordedCall::EndDoc).empty());
}

TEST_F(PrintTableBodyTest, ExtraColumnsInDataAndTotalsRows) {
    f.setTableOption(u"是否打印发薪日期"_s, u"True"_s);
    f.setTableOption(u"是否打印签收"_s, u"1"_s);
    body();
    // Columns 3800, date column to 4800, signature column to 5800.
    const auto dates = f.target.findTexts(u"2000-04-25"_s);
    ASSERT_EQ(dates.size(), 4u);
    EXPECT_FLOAT_EQ(dates[0].x, 300 + 4800 - 1000 + (1000 - 900) / 2.0f);
    EXPECT_FLOAT_EQ(dates[0].y, 1050);
    EXPECT_FLOAT_EQ(dates[3].y, 2040 + 90);  // totals: upper half
    const auto dateLines = verticalAt(f.target, 5100);
    ASSERT_EQ(dateLines.size(), 4u);
    EXPECT_FLOAT_EQ(dateLines[3].y2 - dateLines[3].y, 720);
    const auto signLines = verticalAt(f.target, 6100);
    ASSERT_EQ(signLines.size(), 4u);
    EXPECT_FLOAT_EQ(signLines[0].y2 - signLines[0].y, 360);
    EXPECT_FLOAT_EQ(signLines[3].y2 - signLines[3].y, 720);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 960)[0].x2, 6100);
}

TEST_F(PrintTableBodyTest, ThreePens) {
    f.setTableOption(u"线的宽度"_s, u"2"_s);
    f.setTableOption(u"外围线的宽度"_s, u"4"_s);
    f.setTableOption(u"中间横线的宽度"_s, u"3"_s);
    body();
    auto widthsAt = [&](float y) {
        std::vector<int> w;
        for (const auto& l : horizontalAt(f.target, y)) w.push_back(l.drawWidth);
        return w;
    };
    EXPECT_EQ(widthsAt(960), (std::vector<int>{4, 4}));  // top line, first row's line
    EXPECT_EQ(widthsAt(1320), (std::vector<int>{3}));    // between data rows
    EXPECT_EQ(widthsAt(2040), (std::vector<int>{4}));    // above the totals
    EXPECT_EQ(widthsAt(2760), (std::vector<int>{4}));    // bottom frame
    EXPECT_EQ(verticalAt(f.target, 300)[0].drawWidth, 4);
    EXPECT_EQ(verticalAt(f.target, 900)[0].drawWidth, 2);
    EXPECT_EQ(verticalAt(f.target, 4100)[0].drawWidth, 4);
}

TEST_F(PrintTableBodyTest, OverflowWarningOnThePreviewOnly) {
    RecordingPrintTarget::Setup small;
    small.height = 2800;  // the page ends at 2760 > 2700
    Fixture p(small);
    PrintTableBody(p.layout, grid, {1, 40}, print_test::geometry(3), 960);
    EXPECT_EQ(p.warnings.texts, QStringList{u"行高或每页行数太大,请减小行高或每页行数"_s});
    small.height = 2861;
    Fixture fits(small);
    PrintTableBody(fits.layout, grid, {1, 40}, print_test::geometry(3), 960);
    EXPECT_TRUE(fits.warnings.texts.isEmpty());
    small.height = 2800;
    small.kind = TargetKind::Printer;
    Fixture printer(small);
    PrintTableBody(printer.layout, grid, {1, 40}, print_test::geometry(3), 960);
    EXPECT_TRUE(printer.warnings.texts.isEmpty());
}

TEST_F(PrintTableBodyTest, RefusedFaceWarnsOnceAndDrawingGoesOn) {
    RecordingPrintTarget::Setup setup;
    setup.refusedFaces = {u"黑体"_s};
    Fixture p(setup);
    PrintTableBody(p.layout, grid, {1, 40}, print_test::geometry(3), 960);
    ASSERT_EQ(p.warnings.texts.size(), 1);
    EXPECT_TRUE(p.warnings.texts[0].contains(u"黑体"_s));
    EXPECT_EQ(p.target.findText(u"t3"_s)->fontName, u"宋体"_s);
    EXPECT_TRUE(p.target.findText(u"制单:"_s).has_value());
    // SetTargetFont reports the same way.
    EXPECT_FALSE(SetTargetFont(p.layout, u"黑体"_s));
    EXPECT_TRUE(SetTargetFont(p.layout, u"隶书"_s));
    EXPECT_EQ(p.target.FontName(), u"隶书"_s);
    EXPECT_EQ(p.warnings.texts.size(), 2);
}
