// Wrapped wage slips on the recording target: equal slots, wrapping with indent, the X-origin quirk, the
// rules of a slip, the extra columns in the last line pair, page head and footer.
#include <gtest/gtest.h>

#include "print/page_layout.h"
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

struct PrintWrappedSlipTest : ::testing::Test {
    Fixture f;
    slp::data::WageGrid grid = makeGrid({u"序号"_s, u"姓名"_s, u"部门"_s, u"基本"_s, u"津贴"_s, u"实发"_s},
                                        {1000, 1000, 1000, 1000, 1000, 1000}, 2);

    void SetUp() override {
        // A line 3600 wide in four slots of 900: six columns wrap after the fourth.
        f.layout.printWidth = 3600;
        f.layout.columnsPerLine = 4;
        f.layout.slotWidth = 900;
        f.layout.fitsOneLine = false;
        f.layout.pageCount = 1;
        f.layout.headerLeftText = u"单位名称:朔岚"_s;
    }
    void page(float originX = 300, int16_t firstRow = 1, int16_t lastRow = 10) {
        PrintWrappedSlipPage(f.layout, grid, {firstRow, lastRow},
                             print_test::geometry(grid.cols() - 1, originX, 600, 30), 1);
    }
    RecordedCall text(const QString& s, size_t index = 0) {
        const auto all = f.target.findTexts(s);
        EXPECT_GT(all.size(), index) << s.toStdString();
        return all.size() > index ? all[index] : RecordedCall{};
    }
};

}  // namespace

TEST_F(PrintWrappedSlipTest, SlotsAndWrapping) {
    page();
    // First line pair: captions centred in their slots, values left with the inset.
    EXPECT_FLOAT_EQ(text(u"序号"_s).x, 300 + (900 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"序号"_s).y, 690);
    EXPECT_FLOAT_EQ(text(u"r1c0"_s).x, 330);
    EXPECT_FLOAT_EQ(text(u"r1c0"_s).y, 1050);
    EXPECT_FLOAT_EQ(text(u"基本"_s).x, 3000 + 270);
    EXPECT_FLOAT_EQ(text(u"r1c3"_s).x, 3030);
    // The fifth column wraps to a second line pair at the left edge.
    EXPECT_FLOAT_EQ(text(u"津贴"_s).x, 300 + 270);
    EXPECT_FLOAT_EQ(text(u"津贴"_s).y, 1320 + 90);
    EXPECT_FLOAT_EQ(text(u"r1c5"_s).x, 1200 + 30);
    EXPECT_FLOAT_EQ(text(u"r1c5"_s).y, 1320 + 450);
    // Each slip takes two line pairs; the totals row is a slip as well.
    EXPECT_FLOAT_EQ(text(u"r2c0"_s).y, 2040 + 450);
    EXPECT_FLOAT_EQ(text(u"t5"_s).y, 3480 + 720 + 450);
}

TEST_F(PrintWrappedSlipTest, ContinuationLinesIndented) {
    f.layout.continuationIndent = 2;
    page();
    EXPECT_FLOAT_EQ(text(u"津贴"_s).x, 300 + 1800 + 270);
    EXPECT_FLOAT_EQ(text(u"实发"_s).x, 300 + 2700 + 270);
}

TEST_F(PrintWrappedSlipTest, LargeXOriginWrapsOneSlotEarlier) {
    page(1000);
    // Slots at 1000, 1900 and 2800; the next position 3700 exceeds the line width 3600.
    EXPECT_FLOAT_EQ(text(u"部门"_s).y, 690);
    EXPECT_FLOAT_EQ(text(u"基本"_s).x, 1000 + 270);
    EXPECT_FLOAT_EQ(text(u"基本"_s).y, 1410);
}

TEST_F(PrintWrappedSlipTest, RulesOfAWrappedSlip) {
    page();
    // Horizontal rules across 300..3900: the top, the middle rule at the wrap (twice: on wrapping and
    // after the slip), the slip's top again, and the centre lines between captions and values.
    const auto at = [&](float y) { return horizontalAt(f.target, y).size(); };
    EXPECT_EQ(at(600), 2u);   // top of page, and the slip's top drawn again at y - 2h
    EXPECT_EQ(at(960), 1u);   // centre line of the first line pair
    EXPECT_EQ(at(1320), 2u);  // middle rule when wrapping and after the slip
    EXPECT_EQ(at(1680), 1u);  // centre line of the second line pair
    EXPECT_EQ(at(2040), 2u);  // bottom of the slip, and the next slip's top again
    for (const auto& l : horizontalAt(f.target, 600)) {
        EXPECT_FLOAT_EQ(l.x, 300);
        EXPECT_FLOAT_EQ(l.x2, 3900);
    }
    // Vertical lines at every slot edge, over both line pairs of each slip.
    for (int k = 0; k <= 4; ++k) {
        const auto v = verticalAt(f.target, 300 + k * 900.0f);
        ASSERT_GE(v.size(), 3u) << k;
        const auto& last = v.back();
        EXPECT_FLOAT_EQ(last.y, 3480);
        EXPECT_FLOAT_EQ(last.y2, 4920);
    }
    // The slip's left edge for its first line: 600 to 960.
    EXPECT_FLOAT_EQ(verticalAt(f.target, 300)[0].y2, 960);
    // After the last slip the bottom rule is drawn once more.
    EXPECT_EQ(at(4920), 2u);
}

TEST_F(PrintWrappedSlipTest, WidenedSlotsRuleTheWholeSlipWithinThePrintWidth) {
    // Slots widened to 1800 (two a line, though four are set): three line pairs a slip, the vertical
    // rules at the three slot edges only, each down the whole slip.
    f.layout.slotWidth = 1800;
    page(300, 1, 1);
    EXPECT_TRUE(verticalAt(f.target, 300 + 3 * 900.0f).empty());
    EXPECT_TRUE(verticalAt(f.target, 300 + 4 * 1800.0f).empty());
    for (int k = 0; k <= 2; ++k) {
        const auto v = verticalAt(f.target, 300 + k * 1800.0f);
        ASSERT_FALSE(v.empty()) << k;
        EXPECT_FLOAT_EQ(v.back().y, 600) << k;
        EXPECT_FLOAT_EQ(v.back().y2, 600 + 6 * 360) << k;
    }
}

TEST_F(PrintWrappedSlipTest, OneLinePairWhenTheColumnsFit) {
    f.layout.columnsPerLine = 6;
    f.layout.slotWidth = 600;
    f.layout.fitsOneLine = true;
    page();
    EXPECT_FLOAT_EQ(text(u"实发"_s).y, 690);
    EXPECT_FLOAT_EQ(text(u"r2c0"_s).y, 1320 + 450);
    // No extra rules: only the top, the slips' bottoms and the final repeat.
    EXPECT_EQ(horizontalAt(f.target, 600).size(), 1u);
    EXPECT_TRUE(horizontalAt(f.target, 960).empty());
    EXPECT_EQ(horizontalAt(f.target, 1320).size(), 1u);
    EXPECT_EQ(horizontalAt(f.target, 2760).size(), 2u);
    const auto v = verticalAt(f.target, 300 + 6 * 600.0f);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_FLOAT_EQ(v[0].y, 600);
    EXPECT_FLOAT_EQ(v[0].y2, 1320);
}

TEST_F(PrintWrappedSlipTest, ValuesPlacedByAlignment) {
    grid.setColAlignment(0, 3);
    grid.setColAlignment(1, 4);
    grid.setColAlignment(2, 5);
    page();
    EXPECT_FLOAT_EQ(text(u"r1c0"_s).x, 300 + 30);                   // code 3: left
    EXPECT_FLOAT_EQ(text(u"r1c1"_s).x, 1200 + (900 - 360) / 2.0f);  // code 4: centred
    EXPECT_FLOAT_EQ(text(u"r1c2"_s).x, 2100 + 900 - 360);           // code 5: right
}

TEST_F(PrintWrappedSlipTest, HiddenColumnLeftOut) {
    grid.setColWidth(1, 199);
    page();
    EXPECT_FALSE(f.target.findText(u"姓名"_s).has_value());
    EXPECT_FALSE(f.target.findText(u"r1c1"_s).has_value());
    EXPECT_FLOAT_EQ(text(u"部门"_s).x, 1200 + 270);
}

TEST_F(PrintWrappedSlipTest, PayDateAndSignatureInTheLastLinePair) {
    f.setSlipOption(slp::settings::key::PrintPayDate, u"True"_s);
    f.setSlipOption(slp::settings::key::PrintSignOff, u"True"_s);
    page();
    // The two rightmost slots of the second line pair: 签收 then 发薪日期.
    const auto sign = text(u"签收"_s);
    const auto date = text(u"发薪日期"_s);
    EXPECT_FLOAT_EQ(sign.x, 2100 + (900 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(date.x, 3000 + (900 - 720) / 2.0f);
    EXPECT_FLOAT_EQ(sign.y, 1320 + 90);
    EXPECT_FLOAT_EQ(date.y, 1320 + 90);
    const auto payDate = text(u"2000-04-25"_s);
    EXPECT_FLOAT_EQ(payDate.x, 3000 + (900 - 900) / 2.0f);
    EXPECT_FLOAT_EQ(payDate.y, 1320 + 450);
    EXPECT_EQ(f.target.findTexts(u"签收"_s).size(), 3u);  // on every slip
}

TEST_F(PrintWrappedSlipTest, PageHeadTitleAndFooter) {
    f.layout.printTitle = u"工资表"_s;
    f.layout.footerText = u"页脚"_s;
    f.layout.pageCount = 11;
    PrintWrappedSlipPage(f.layout, grid, {1, 10}, print_test::geometry(5, 300, 600, 30), 3);
    const auto title = text(u"工资表"_s);
    EXPECT_FLOAT_EQ(title.fontSize, 14);
    EXPECT_FLOAT_EQ(title.x, 300 + (3600 - 840) / 2.0f);
    EXPECT_FLOAT_EQ(title.y, 200);
    EXPECT_FLOAT_EQ(text(u"单位名称:朔岚"_s).x, 300);
    EXPECT_FLOAT_EQ(text(u"单位名称:朔岚"_s).y, 390);
    const auto pages = text(u"共11页  第3页"_s);
    EXPECT_FLOAT_EQ(pages.x, 3900 - (4 * 180 + 5 * 90));
    EXPECT_FLOAT_EQ(pages.y, 390);
    EXPECT_FLOAT_EQ(pages.fontSize, 9);
    const float foot = 4920 + 45;
    EXPECT_FLOAT_EQ(text(u"【朔岚软件】"_s).x, 300);
    EXPECT_FLOAT_EQ(text(u"【朔岚软件】"_s).y, foot);
    EXPECT_FLOAT_EQ(text(u"页脚"_s).x, 300 + (3600 - 360) / 2.0f);
    EXPECT_FLOAT_EQ(text(u"页脚"_s).y, foot);
    const auto date = text(u"打印时间:2024-03-15"_s);
    EXPECT_FLOAT_EQ(date.x, 3900 - 1710);
    EXPECT_FLOAT_EQ(date.y, foot);
    for (const auto& t : f.target.texts()) EXPECT_EQ(t.fontName, u"宋体"_s);
}

TEST_F(PrintWrappedSlipTest, RowsPastTheGridAreNotPrintedAndOverflowWarns) {
    RecordingPrintTarget::Setup small;
    small.height = 2000;
    Fixture p(small);
    p.layout.printWidth = 3600;
    p.layout.columnsPerLine = 4;
    p.layout.slotWidth = 900;
    PrintWrappedSlipPage(p.layout, grid, {3, 40}, print_test::geometry(5, 300, 600, 30), 2);
    EXPECT_TRUE(p.target.findText(u"t0"_s).has_value());
    EXPECT_EQ(p.target.findTexts(u"序号"_s).size(), 1u);
    EXPECT_EQ(p.warnings.texts, QStringList{pageOverflowWarning()});  // ends at 2040 > 1900
}

TEST(PrintDrawPage, SlipPagesTakeTheirRowRanges) {
    Fixture f;
    auto grid = makeGrid({u"序号"_s, u"姓名"_s}, {600, 1000}, 101);
    f.layout.printGrid = &grid;
    f.layout.slipMode = -1;
    CountSlipPages(f.layout, grid.rows(), false, 11906);
    ASSERT_EQ(f.layout.pageCount, 6);
    print_test::drawPage(f.layout, PageLayoutKind::Slips, PageGeometry{300, 600, 360, 90}, 6);
    // Page 6 holds rows 101 and the totals row 102.
    EXPECT_TRUE(f.target.findText(u"r101c0"_s).has_value());
    EXPECT_TRUE(f.target.findText(u"t1"_s).has_value());
    EXPECT_FALSE(f.target.findText(u"r100c0"_s).has_value());
    f.target.clear();
    CountSlipPages(f.layout, grid.rows(), true, 11906);
    ASSERT_EQ(f.layout.pageCount, 11);
    print_test::drawPage(f.layout, PageLayoutKind::WrappedSlips, PageGeometry{300, 600, 360, 90}, 2, 30);
    EXPECT_TRUE(f.target.findText(u"r11c0"_s).has_value());
    EXPECT_TRUE(f.target.findText(u"r20c0"_s).has_value());
    EXPECT_FALSE(f.target.findText(u"r21c0"_s).has_value());
    EXPECT_TRUE(f.target.findText(u"共11页  第2页"_s).has_value());
    EXPECT_FLOAT_EQ(f.target.findText(u"r11c0"_s)->x, 300 + 30);  // the preview's inset
}

TEST(PrintDrawPage, ShrunkSlipsReportTheirScale) {
    RecordingPrintTarget::Setup narrow;
    narrow.paperWidth = 2200;  // 1600 available for 2000 of columns: 1600 x 0.95 / 2000
    Fixture f(narrow);
    auto grid = makeGrid({u"序号"_s, u"姓名"_s}, {1000, 1000}, 3);
    f.layout.printGrid = &grid;
    EXPECT_FLOAT_EQ(print_test::drawPage(f.layout, PageLayoutKind::Slips, PageGeometry{300, 600, 360, 90}, 1),
                    0.76f);
    // The next page starts from scale 1 again, not from the lowered value.
    f.target.clear();
    EXPECT_FLOAT_EQ(print_test::drawPage(f.layout, PageLayoutKind::Slips, PageGeometry{300, 600, 360, 90}, 1),
                    0.76f);
}
