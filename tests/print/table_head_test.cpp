// The table head on the recording target: title, page head, caption rows with merged captions across
// columns and down rows, bold captions, the extra columns and the pens.
#include <gtest/gtest.h>

#include "basic/error.h"
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

struct PrintTableHeadTest : ::testing::Test {
    Fixture f;
    slp::data::WageGrid grid =
        makeGrid({u"序号"_s, u"姓名"_s, u"应发工资"_s, u"实发工资"_s}, {600, 1000, 1200, 1200}, 3);

    void SetUp() override {
        f.layout.printTitle = u"工资签收联"_s;
        f.layout.headerLeftText = u"单位名称:朔岚"_s;
        f.layout.headerRightText = u"发薪日期:00-04"_s;
        f.layout.pageCount = 3;
    }
    void head(int16_t firstRow = 0, int16_t lastRow = 0, int16_t lastCol = -1) {
        if (lastCol < 0) lastCol = int16_t(grid.cols() - 1);
        PrintTableHead(f.layout, grid, {firstRow, lastRow}, print_test::geometry(lastCol), 1);
    }
    RecordedCall text(const QString& s) {
        auto c = f.target.findText(s);
        EXPECT_TRUE(c.has_value()) << s.toStdString();
        return c.value_or(RecordedCall{});
    }
};

}  // namespace

TEST_F(PrintTableHeadTest, TitleInLishuCentredOverTheTable) {
    head();
    const auto title = text(u"工资签收联"_s);
    EXPECT_FLOAT_EQ(title.fontSize, 18);  // fontSize + 9
    EXPECT_EQ(title.fontName, u"隶书"_s);
    // Table 4000 wide; the title (5 x 360) is measured before the face changes.
    EXPECT_FLOAT_EQ(title.x, 300 + (4000 - 1800) / 2.0f);
    EXPECT_FLOAT_EQ(title.y, 60);  // originY - 540
    // Everything after the title in 宋体 at the base size.
    EXPECT_EQ(text(u"序号"_s).fontName, u"宋体"_s);
    EXPECT_FLOAT_EQ(text(u"序号"_s).fontSize, 9);
}

TEST_F(PrintTableHeadTest, EmptyTitlePrintsNoTitleLine) {
    f.layout.printTitle = u"   "_s;
    head();
    EXPECT_TRUE(f.target.findTexts(u"   "_s).empty());
    for (const auto& t : f.target.texts()) EXPECT_FLOAT_EQ(t.fontSize, 9);
}

TEST_F(PrintTableHeadTest, PageHeadAboveTheTopFrame) {
    head();
    const auto left = text(u"单位名称:朔岚"_s);
    EXPECT_FLOAT_EQ(left.x, 300);
    EXPECT_FLOAT_EQ(left.y, 600 - 180 - 30);
    const auto right = text(u"发薪日期:00-04"_s);
    EXPECT_FLOAT_EQ(right.x, 4300 - 1260);  // right-aligned to the table's right edge
    EXPECT_FLOAT_EQ(right.y, 390);
    const auto pages = text(u"共3页  第1页"_s);
    EXPECT_FLOAT_EQ(pages.x, 4300 - 1080);
    EXPECT_FLOAT_EQ(pages.y, 600 - 360 - 60);
    ASSERT_EQ(horizontalAt(f.target, 600).size(), 1u);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x, 300);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 4300);
}

TEST_F(PrintTableHeadTest, OneCaptionRowRightAlignedCellsAndCentredLastColumn) {
    head();
    EXPECT_FLOAT_EQ(text(u"序号"_s).x, 300 + 600 - 360);
    EXPECT_FLOAT_EQ(text(u"序号"_s).y, 690);
    EXPECT_FLOAT_EQ(text(u"姓名"_s).x, 900 + 1000 - 360);
    EXPECT_FLOAT_EQ(text(u"应发工资"_s).x, 1900 + 1200 - 720);
    // The last column is centred in its cell.
    EXPECT_FLOAT_EQ(text(u"实发工资"_s).x, 3100 + (1200 - 720) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"实发工资"_s).y, 690);
    EXPECT_EQ(f.target.findTexts(u"实发工资"_s).size(), 1u);
    // Rules under every caption cell (each differs from the first data row), no line across at 960.
    const auto rules = horizontalAt(f.target, 960);
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_FLOAT_EQ(rules[0].x, 300);
    EXPECT_FLOAT_EQ(rules[0].x2, 900);
    EXPECT_FLOAT_EQ(rules[3].x, 3100);
    EXPECT_FLOAT_EQ(rules[3].x2, 4300);
    for (float x : {300.0f, 900.0f, 1900.0f, 3100.0f, 4300.0f})
        EXPECT_EQ(verticalAt(f.target, x).size(), 1u) << x;
}

TEST_F(PrintTableHeadTest, WageCaptionsAreBoldOthersNot) {
    grid.setText(0, 1, u"应发工资合计"_s);
    head();
    EXPECT_TRUE(text(u"应发工资"_s).bold);
    EXPECT_TRUE(text(u"实发工资"_s).bold);
    EXPECT_FALSE(text(u"应发工资合计"_s).bold);
    EXPECT_FALSE(text(u"序号"_s).bold);
    EXPECT_FALSE(f.target.FontBold());
}

TEST_F(PrintTableHeadTest, CaptionEqualToTheFirstDataRowIsCentredLowWithoutRule) {
    grid.setText(0, 1, QString());
    grid.setText(1, 1, QString());
    head();
    // The empty caption sits on the boundary of the two rows: 600 + (360 - 180 / 2).
    bool found = false;
    for (const auto& t : f.target.findTexts(QString())) {
        if (t.y == 870) found = true;
    }
    EXPECT_TRUE(found);
    const auto rules = horizontalAt(f.target, 960);
    EXPECT_EQ(rules.size(), 3u);
    for (const auto& r : rules) EXPECT_NE(r.x, 900);
}

TEST_F(PrintTableHeadTest, GroupCaptionsMergeAcrossColumnsAndDownRows) {
    slp::data::WageGrid g =
        makeGrid({u"序号"_s, u"姓名"_s, u"应发项目"_s, u"应发项目"_s, u"应发项目"_s, u"实发工资"_s},
                 {600, 1000, 1000, 1000, 1000, 1200}, 3);
    // Row 1 becomes the second caption row.
    const QStringList second{u"序号"_s, u"姓名"_s, u"基本"_s, u"津贴"_s, u"奖金"_s, u"实发工资"_s};
    for (int c = 0; c < 6; ++c) g.setText(1, c, second[c]);
    grid = g;
    head(0, 1);
    // Captions spanning both rows: printed once, centred on the boundary (870).
    ASSERT_EQ(f.target.findTexts(u"序号"_s).size(), 1u);
    EXPECT_FLOAT_EQ(text(u"序号"_s).y, 870);
    EXPECT_EQ(f.target.findTexts(u"姓名"_s).size(), 1u);
    ASSERT_EQ(f.target.findTexts(u"实发工资"_s).size(), 1u);
    EXPECT_FLOAT_EQ(text(u"实发工资"_s).y, 870);
    EXPECT_FLOAT_EQ(text(u"实发工资"_s).x, 4900 + (1200 - 720) / 2.0f);
    // The group caption once, right-aligned in the third column of its run.
    ASSERT_EQ(f.target.findTexts(u"应发项目"_s).size(), 1u);
    EXPECT_FLOAT_EQ(text(u"应发项目"_s).x, 3900 + 1000 - 720);
    EXPECT_FLOAT_EQ(text(u"应发项目"_s).y, 690);
    // The second row's own captions.
    EXPECT_FLOAT_EQ(text(u"基本"_s).x, 1900 + 1000 - 360);
    EXPECT_FLOAT_EQ(text(u"基本"_s).y, 960 + 90);
    EXPECT_FLOAT_EQ(text(u"奖金"_s).x, 3900 + 1000 - 360);
    // No vertical lines inside the run in row 0, but in row 1.
    for (float x : {2900.0f, 3900.0f}) {
        const auto v = verticalAt(f.target, x);
        ASSERT_EQ(v.size(), 1u) << x;
        EXPECT_FLOAT_EQ(v[0].y, 960);
    }
    EXPECT_EQ(verticalAt(f.target, 4900).size(), 2u);
    // Rules under the run's cells in row 0 only, a line across under row 1.
    EXPECT_EQ(horizontalAt(f.target, 960).size(), 3u);
    ASSERT_EQ(horizontalAt(f.target, 1320).size(), 1u);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 1320)[0].x2, 6100);
}

TEST_F(PrintTableHeadTest, HiddenColumnsAreLeftOutButMoveTheRulesUnderCaptions) {
    grid = makeGrid({u"序号"_s, u"隐藏"_s, u"姓名"_s, u"实发工资"_s}, {600, 150, 1000, 1200}, 2);
    head();
    EXPECT_FALSE(f.target.findText(u"隐藏"_s).has_value());
    EXPECT_FLOAT_EQ(text(u"姓名"_s).x, 900 + 1000 - 360);
    // The table is 2800 wide; the rule under 姓名 starts after the hidden column's 150 twips.
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 3100);
    const auto rules = horizontalAt(f.target, 960);
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_FLOAT_EQ(rules[1].x, 1050);
}

TEST_F(PrintTableHeadTest, ExtraColumnsOnEveryCaptionRow) {
    f.setTableOption(u"是否打印发薪日期"_s, u"True"_s);
    f.setTableOption(u"是否打印签收"_s, u"True"_s);
    head();
    // 4000 of columns, the date column to 5000, the signature column to 6000.
    EXPECT_FLOAT_EQ(text(u"发薪日期"_s).x, 300 + 5000 - 1000 + (1000 - 720) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"发薪日期"_s).y, 690);
    EXPECT_FLOAT_EQ(text(u"签收"_s).x, 300 + 6000 - 1000 + (1000 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(horizontalAt(f.target, 600)[0].x2, 6300);
    EXPECT_FLOAT_EQ(text(u"发薪日期:00-04"_s).x, 6300 - 1260);
    ASSERT_EQ(verticalAt(f.target, 5300).size(), 1u);
    EXPECT_FLOAT_EQ(verticalAt(f.target, 5300)[0].y2, 960);
    ASSERT_EQ(verticalAt(f.target, 6300).size(), 1u);
}

TEST_F(PrintTableHeadTest, PensFromTheSettings) {
    f.setTableOption(u"线的宽度"_s, u"2"_s);
    f.setTableOption(u"外围线的宽度"_s, u"3"_s);
    head();
    EXPECT_EQ(horizontalAt(f.target, 600)[0].drawWidth, 3);  // top frame
    EXPECT_EQ(horizontalAt(f.target, 960)[0].drawWidth, 2);  // rule under a caption
    EXPECT_EQ(verticalAt(f.target, 300)[0].drawWidth, 3);    // left frame
    EXPECT_EQ(verticalAt(f.target, 900)[0].drawWidth, 2);    // between cells
    EXPECT_EQ(verticalAt(f.target, 4300)[0].drawWidth, 3);   // right frame
    EXPECT_EQ(f.target.DrawWidth(), 2);                      // left with the line pen
}

TEST_F(PrintTableHeadTest, NoLinesWhenSwitchedOff) {
    f.layout.drawHorizontalLines = false;
    f.layout.drawVerticalLines = false;
    head();
    EXPECT_TRUE(f.target.lines().empty());
    EXPECT_TRUE(f.target.findText(u"实发工资"_s).has_value());
}

TEST_F(PrintTableHeadTest, BadSwitchTextIsAConversionError) {
    f.setTableOption(u"是否打印签收"_s, u"abc"_s);
    EXPECT_THROW(head(), slp::ConversionError);
}
