// Layouts and pages: the page counts of the three layouts, the status bar, the too-tall check, paging
// keys, the choice of a page, the renderer calls of each layout and pages past row 32767.
#include <gtest/gtest.h>

#include "preview_fixture.h"

using namespace Qt::StringLiterals;
using preview_test::Fixture;
using slp::print::kSlipModeSlips;
using slp::print::kSlipModeTable;
using slp::print::PageLayoutKind;
using Key = slp::print::PrintPreviewDriver::PagingKey;

namespace {

// The height of "O" at 9 points on the recording picture is 180 twips.
constexpr double kTextOffset = (360 - 180) * 6.0 / 11;

TEST(PreviewPages, AHundredAndOneRowsAndTotalsInTheThreeLayouts) {
    const auto narrow = preview_test::narrowGrid(101);
    const auto wide = preview_test::wideGrid(101);
    {
        Fixture f;
        f.open(narrow, kSlipModeTable);
        EXPECT_EQ(f.driver.layoutKind(), PageLayoutKind::Table);
        EXPECT_EQ(f.driver.pageCount(), 3);
    }
    {
        Fixture f;
        f.open(narrow, kSlipModeSlips, QString());
        EXPECT_EQ(f.driver.layoutKind(), PageLayoutKind::Slips);
        EXPECT_EQ(f.driver.layout().rowsPerPage, 20);
        EXPECT_EQ(f.driver.pageCount(), 6);
    }
    {
        Fixture f;
        f.open(wide, kSlipModeSlips, QString());
        EXPECT_EQ(f.driver.layoutKind(), PageLayoutKind::WrappedSlips);
        EXPECT_EQ(f.driver.layout().rowsPerPage, 10);
        EXPECT_EQ(f.driver.pageCount(), 11);
        EXPECT_FLOAT_EQ(f.driver.layout().printWidth, 11906 - 800);
        // 24 slots a line are too narrow for texts like "r100c30": fewer go to a line, and the clerk is
        // told how many.
        const int perLine = int((11906 - 800) / slp::print::WrappedSlotNeeded(wide, 9, 1440, 45));
        ASSERT_LT(perLine, 24);
        EXPECT_FLOAT_EQ(f.driver.layout().slotWidth, (11906 - 800) / float(perLine));
        EXPECT_EQ(f.driver.slotsNote(), slp::print::widenedSlotsNote(24, perLine));
        EXPECT_TRUE(f.driver.statusTexts()[1].endsWith(f.driver.slotsNote()));
    }
    {
        // A table too wide for the paper is printed as wrapped slips, a quarter of the lines a page.
        Fixture f;
        f.open(wide, kSlipModeTable);
        EXPECT_EQ(f.driver.layoutKind(), PageLayoutKind::WrappedSlips);
        EXPECT_EQ(f.driver.pageCount(), 11);
    }
}

TEST(PreviewPages, OpeningShowsPageOneWithCaptionAndStatusBar) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    EXPECT_EQ(f.driver.currentPage(), 1);
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共3页,现第1页"_s);
    EXPECT_EQ(f.driver.windowCaption(), u"工资签收联"_s);
    const auto& s = f.driver.statusTexts();
    // A4 is named with a leading blank after the two blanks.
    EXPECT_EQ(s[0], u"你的打印机为"_s + f.printer.deviceName() + u"   A4, 210 x 297 毫米."_s);
    EXPECT_EQ(s[1], u"每页40行"_s);
    EXPECT_EQ(s[2], u"共102行"_s);
    EXPECT_EQ(s[3], u"共3页"_s);
    EXPECT_EQ(f.driver.shownPage(), 1);
    EXPECT_TRUE(f.drawn().contains(u"共3页  第1页"_s));
    // The picture is sized to the printer's printable area.
    EXPECT_FLOAT_EQ(f.canvas.lastWidth, f.printer.printableWidth());
    EXPECT_EQ(slp::print::PrintPreviewDriver::helpLines(),
              QStringList({u"PageDown 向下翻页  Home 第一页"_s, u"PageUp   向上翻页  End 最后一页"_s}));
}

TEST(PreviewPages, ATooTallValueIsSaidAndTheValueInForceStays) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    f.prompts.answerInput(u"500"_s);
    f.driver.askSetting(PageSetting::RowHeight);  // 40 x 500 = 20000 > 16838 - 600 - 300
    ASSERT_EQ(f.prompts.asked.size(), 2);
    const auto& m = f.prompts.asked.last();
    EXPECT_EQ(m.kind, slp::ScriptedPrompts::Asked::Message);
    EXPECT_EQ(m.text, u"你所选择的行高与每页打印的行数之积\r\n   大于你所设置的打印纸张高度!"_s);
    EXPECT_EQ(m.icon, slp::MessageIcon::Information);
    EXPECT_TRUE(m.title.isEmpty());
    // The refused row height is not kept: menu, status bar and pages keep the one in force.
    EXPECT_EQ(f.driver.menus().item(PageSetting::RowHeight).caption, u"每行行高为360"_s);
    EXPECT_EQ(f.driver.statusTexts()[1], u"每页40行"_s);
    EXPECT_EQ(f.driver.pageCount(), 3);
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共3页,现第1页"_s);

    // A value that fits is taken: 20 lines a page count 6 pages.
    f.prompts.answerInput(u"20"_s);
    f.driver.askSetting(PageSetting::LinesPerPage);
    EXPECT_EQ(f.driver.pageCount(), 6);
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共6页,现第1页"_s);
    EXPECT_EQ(f.driver.statusTexts()[1], u"每页20行"_s);

    // Too many lines for the row height in force: said, and the 20 lines stay.
    f.prompts.answerInput(u"60"_s);
    f.driver.askSetting(PageSetting::LinesPerPage);  // 60 x 360 = 21600
    EXPECT_EQ(f.prompts.asked.last().kind, slp::ScriptedPrompts::Asked::Message);
    EXPECT_EQ(f.driver.menus().item(PageSetting::LinesPerPage).caption, u"每页行数为20"_s);
    EXPECT_EQ(f.driver.pageCount(), 6);
    EXPECT_EQ(f.driver.statusTexts()[3], u"共6页"_s);
}

TEST(PreviewPages, TheTooTallLimitIsStrict) {
    Fixture f;
    f.setOriginSetting(QString(), u"Y起始位置"_s, u"638"_s);   // 16838 - 638 - 300 = 15900
    f.setOriginSetting(QString(), u"每行行高"_s, u"397.5"_s);  // 40 x 397.5 = 15900
    const auto grid = preview_test::narrowGrid(5);
    f.open(grid, kSlipModeTable);
    EXPECT_TRUE(f.prompts.asked.isEmpty());
    EXPECT_EQ(f.driver.shownPage(), 1);

    Fixture g;
    g.setOriginSetting(QString(), u"Y起始位置"_s, u"638"_s);
    g.setOriginSetting(QString(), u"每行行高"_s, u"398"_s);
    g.open(grid, kSlipModeTable);
    ASSERT_EQ(g.prompts.asked.size(), 1);
    EXPECT_EQ(g.driver.shownPage(), 0);
    EXPECT_EQ(g.driver.statusTexts()[0], QString());
}

TEST(PreviewPages, PagingKeysStopAtTheEnds) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    const int clears = f.canvas.clears;
    EXPECT_FALSE(f.driver.turnPage(Key::PageUp));
    EXPECT_FALSE(f.driver.turnPage(Key::Home));
    EXPECT_EQ(f.canvas.clears, clears);
    EXPECT_TRUE(f.driver.turnPage(Key::PageDown));
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共3页,现第2页"_s);
    EXPECT_TRUE(f.drawn().contains(u"共3页  第2页"_s));
    EXPECT_TRUE(f.driver.turnPage(Key::End));
    EXPECT_EQ(f.driver.currentPage(), 3);
    EXPECT_FALSE(f.driver.turnPage(Key::PageDown));
    EXPECT_FALSE(f.driver.turnPage(Key::End));
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共3页,现第3页"_s);
    EXPECT_TRUE(f.driver.turnPage(Key::PageUp));
    EXPECT_EQ(f.driver.currentPage(), 2);
    EXPECT_TRUE(f.driver.turnPage(Key::Home));
    EXPECT_EQ(f.driver.currentPage(), 1);
    EXPECT_TRUE(f.drawn().contains(u"共3页  第1页"_s));
}

TEST(PreviewPages, PagingAnEmptyGridDoesNothing) {
    Fixture f;
    slp::data::WageGrid captionsOnly = preview_test::narrowGrid(0);
    captionsOnly.setRows(1);
    f.open(captionsOnly, kSlipModeTable);
    EXPECT_EQ(f.driver.pageCount(), 0);
    EXPECT_FALSE(f.driver.turnPage(Key::PageDown));
    EXPECT_FALSE(f.driver.turnPage(Key::End));
    EXPECT_EQ(f.driver.currentPage(), 1);
}

TEST(PreviewPages, SelPageRefusesPagesOutsideTheRange) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    const int clears = f.canvas.clears;
    for (const QString& answer : {u"0"_s, u"4"_s, u"abc"_s, u"0.9"_s, u"-2"_s}) {
        f.prompts.answerInput(answer);
        f.driver.choosePage();
    }
    f.driver.choosePage();  // cancelled
    EXPECT_EQ(f.canvas.clears, clears);
    EXPECT_EQ(f.driver.currentPage(), 1);
    ASSERT_EQ(f.inputsAsked(), 6);
    EXPECT_EQ(f.prompts.asked[0].text, u"共有3页,请选择预览页!"_s);
    EXPECT_TRUE(f.prompts.asked[0].title.isEmpty());
    EXPECT_EQ(f.prompts.asked[0].defaultText, u"1"_s);

    f.prompts.answerInput(u"2.5"_s);  // halves to even
    f.driver.choosePage();
    EXPECT_EQ(f.driver.currentPage(), 2);
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共3页,现第2页"_s);
    EXPECT_TRUE(f.drawn().contains(u"共3页  第2页"_s));
    f.prompts.answerInput(u"3页"_s);
    f.driver.choosePage();
    EXPECT_EQ(f.driver.currentPage(), 3);
    EXPECT_EQ(f.prompts.asked.last().defaultText, u"2"_s);
}

TEST(PreviewPages, SelPageOnASinglePageRedrawsWithoutAsking) {
    Fixture f;
    const auto grid = preview_test::wideGrid(5);
    f.open(grid, kSlipModeSlips, QString());
    ASSERT_EQ(f.driver.pageCount(), 1);
    f.driver.choosePage();
    EXPECT_EQ(f.inputsAsked(), 0);
    EXPECT_EQ(f.driver.shownPage(), 1);
    EXPECT_EQ(f.driver.shownInset(), 45);
}

TEST(PreviewPages, TablePagesCallHeadAndBodyWithTheirRows) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    f.driver.turnPage(Key::PageDown);
    auto& t = f.canvas.recording();
    // Rows 41 to 80 on page 2; the body starts below the caption row at 600 + 360.
    EXPECT_FALSE(t.findText(u"r40c1"_s));
    ASSERT_TRUE(t.findText(u"r41c1"_s));
    EXPECT_NEAR(t.findText(u"r41c1"_s)->y, 960 + kTextOffset, 1e-3);
    EXPECT_NEAR(t.findText(u"r41c0"_s)->x, 300 + 30, 1e-3);
    EXPECT_NEAR(t.findText(u"r42c1"_s)->y, 960 + 360 + kTextOffset, 1e-3);
    EXPECT_TRUE(t.findText(u"r80c1"_s));
    EXPECT_FALSE(t.findText(u"r81c1"_s));
    EXPECT_TRUE(t.findText(u"项1"_s));
    EXPECT_TRUE(t.findText(u"工资签收联"_s));
    EXPECT_TRUE(t.findText(u"单位名称:朔岚机械厂"_s));
    EXPECT_TRUE(t.findText(u"发薪日期:00-04"_s));
    EXPECT_FALSE(t.findText(u"t1"_s));
    f.driver.turnPage(Key::End);
    EXPECT_TRUE(f.canvas.recording().findText(u"r101c1"_s));
    EXPECT_TRUE(f.canvas.recording().findText(u"t1"_s));
}

TEST(PreviewPages, SlipPagesHoldTheirRows) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeSlips, QString());
    f.driver.turnPage(Key::PageDown);
    auto& t = f.canvas.recording();
    EXPECT_FALSE(t.findText(u"r20c1"_s));
    EXPECT_TRUE(t.findText(u"r21c1"_s));
    EXPECT_TRUE(t.findText(u"r40c1"_s));
    EXPECT_FALSE(t.findText(u"r41c1"_s));
    f.driver.turnPage(Key::End);
    EXPECT_TRUE(f.canvas.recording().findText(u"r101c1"_s));
    EXPECT_TRUE(f.canvas.recording().findText(u"t1"_s));
}

TEST(PreviewPages, WrappedSlipsInsetValuesBy30OnRedrawsAnd45AfterAChoice) {
    Fixture f;
    const auto grid = preview_test::wideGrid(101);
    f.open(grid, kSlipModeSlips, QString());
    f.driver.turnPage(Key::PageDown);
    auto& t = f.canvas.recording();
    EXPECT_FALSE(t.findText(u"r10c0"_s));
    ASSERT_TRUE(t.findText(u"r11c0"_s));
    EXPECT_TRUE(t.findText(u"r20c0"_s));
    EXPECT_FALSE(t.findText(u"r21c0"_s));
    EXPECT_TRUE(t.findText(u"共11页  第2页"_s));
    // The first slip's first value, on the line below its caption.
    EXPECT_NEAR(t.findText(u"r11c0"_s)->x, 300 + 30, 1e-3);
    EXPECT_NEAR(t.findText(u"r11c0"_s)->y, 600 + kTextOffset + 360, 1e-3);
    EXPECT_EQ(f.driver.shownInset(), 30);

    f.prompts.answerInput(u"2"_s);
    f.driver.choosePage();
    EXPECT_NEAR(f.canvas.recording().findText(u"r11c0"_s)->x, 300 + 45, 1e-3);
    EXPECT_EQ(f.driver.shownInset(), 45);
    f.driver.turnPage(Key::PageDown);
    EXPECT_NEAR(f.canvas.recording().findText(u"r21c0"_s)->x, 300 + 30, 1e-3);
}

TEST(PreviewPages, TablePagesPastRow32767) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(40000);  // 1001 table pages
    f.open(grid, kSlipModeTable);
    ASSERT_EQ(f.driver.pageCount(), 1001);
    // Page 820 holds rows 32761 to 32800, across the renderers' last row number.
    f.prompts.answerInput(u"820"_s);
    f.driver.choosePage();
    auto& t = f.canvas.recording();
    EXPECT_TRUE(f.prompts.asked.size() == 1) << "no error is shown";
    EXPECT_FALSE(t.findText(u"r32760c1"_s));
    ASSERT_TRUE(t.findText(u"r32761c1"_s));
    EXPECT_NEAR(t.findText(u"r32761c1"_s)->y, 960 + kTextOffset, 1e-3);
    ASSERT_TRUE(t.findText(u"r32800c1"_s));
    EXPECT_NEAR(t.findText(u"r32800c1"_s)->y, 960 + 39 * 360 + kTextOffset, 1e-3);
    EXPECT_FALSE(t.findText(u"r32801c1"_s));
    EXPECT_FALSE(t.findText(u"t1"_s));
    EXPECT_TRUE(t.findText(u"共1001页  第820页"_s));
    // The caption row is drawn once, from the grid's own captions.
    EXPECT_EQ(t.findTexts(u"项1"_s).size(), 1u);

    // The last page holds the totals row alone, in double height; the page before it rows 39961 to
    // 40000 and no totals.
    f.driver.turnPage(Key::End);
    auto& last = f.canvas.recording();
    ASSERT_TRUE(last.findText(u"t0"_s));
    EXPECT_NEAR(last.findText(u"t0"_s)->y, 960 + kTextOffset, 1e-3);
    EXPECT_NEAR(last.findText(u"t1"_s)->y, 960 + kTextOffset + 360, 1e-3);
    EXPECT_FALSE(last.findText(u"r40000c1"_s));
    f.driver.turnPage(Key::PageUp);
    auto& before = f.canvas.recording();
    EXPECT_TRUE(before.findText(u"r39961c1"_s));
    EXPECT_TRUE(before.findText(u"r40000c1"_s));
    EXPECT_FALSE(before.findText(u"t1"_s));
}

TEST(PreviewPages, SlipPagesPastRow32767) {
    Fixture f;
    const auto grid = preview_test::wideGrid(33000);
    f.open(grid, kSlipModeSlips, QString());
    ASSERT_EQ(f.driver.pageCount(), 3301);
    f.prompts.answerInput(u"3277"_s);  // rows 32761 to 32770
    f.driver.choosePage();
    auto& t = f.canvas.recording();
    EXPECT_FALSE(t.findText(u"r32760c0"_s));
    ASSERT_TRUE(t.findText(u"r32761c0"_s));
    EXPECT_NEAR(t.findText(u"r32761c0"_s)->y, 600 + kTextOffset + 360, 1e-3);
    EXPECT_TRUE(t.findText(u"r32770c30"_s));
    EXPECT_FALSE(t.findText(u"r32771c0"_s));
    f.driver.turnPage(Key::End);
    EXPECT_TRUE(f.canvas.recording().findText(u"t30"_s));
    EXPECT_FALSE(f.canvas.recording().findText(u"r33000c0"_s));
    f.driver.turnPage(Key::PageUp);
    EXPECT_TRUE(f.canvas.recording().findText(u"r33000c0"_s));
}

}  // namespace

namespace {

// The wage table with its 签收 column on A4: turned when only the turned paper holds it, with the lines
// a page that paper holds, and turned back when the column goes; wider than the paper either way, the
// clerk learns which paper would hold it and is asked before printing.
TEST(PreviewPaper, ATableThatFitsOnlyTurnedIsTurnedAndSaidSo) {
    Fixture f;
    const auto grid = preview_test::makeGrid(60, 11, 1000);  // 11000 twips: fits A4 upright alone
    f.open(grid, kSlipModeTable);
    EXPECT_FLOAT_EQ(f.printer.paperWidth(), 11906);
    EXPECT_TRUE(f.driver.paperNote().isEmpty());
    f.driver.changeOption(PrintOption::PrintSignOff);  // 300 + 11000 + 1000 twips
    EXPECT_FLOAT_EQ(f.printer.paperWidth(), 16838);
    EXPECT_EQ(f.driver.paperNote(), u"表格宽21.7厘米，纸张纵向放不下，已改为横向打印，每页30行。"_s);
    EXPECT_TRUE(f.driver.statusTexts()[0].endsWith(f.driver.paperNote()));
    EXPECT_EQ(f.driver.statusTexts()[1], u"每页30行"_s);
    EXPECT_EQ(f.driver.menus().pageChoice.caption, u"共3页,现第1页"_s);  // 61 rows, 30 a page
    EXPECT_TRUE(f.prompts.asked.isEmpty());                              // no too-tall message
    f.driver.changeOption(PrintOption::PrintSignOff);
    EXPECT_FLOAT_EQ(f.printer.paperWidth(), 11906);
    EXPECT_TRUE(f.driver.paperNote().isEmpty());
    EXPECT_EQ(f.driver.statusTexts()[1], u"每页40行"_s);
    f.driver.changeOption(PrintOption::PrintSignOff);
    f.driver.close();
    EXPECT_EQ(f.originSetting(QString(), u"每页行数"_s), u"40"_s);  // the setting as set, not as turned
}

TEST(PreviewPaper, ATableWiderThanThePaperEitherWaySaysWhichPaperHoldsIt) {
    Fixture f;
    // From x = 5000, 7000 twips of columns with a 签收 and a 发薪日期 column on A5: neither way.
    f.printer.setPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait);
    f.setOriginSetting(QString(), u"X起始位置"_s, u"5000"_s);
    const auto grid = preview_test::makeGrid(10, 7, 1000);
    f.open(grid, kSlipModeTable);
    f.driver.changeOption(PrintOption::PrintSignOff);
    f.driver.changeOption(PrintOption::PrintPayDate);
    EXPECT_TRUE(f.driver.paperNote().contains(u"当前纸张横竖都放不下"_s))
        << f.driver.paperNote().toStdString();
    EXPECT_TRUE(f.driver.paperNote().endsWith(u"请在打印机设置中选用A4纸横向。"_s))
        << f.driver.paperNote().toStdString();
    // Asked before printing; No prints nothing.
    f.prompts.asked.clear();
    f.prompts.answerMessage(slp::MessageAnswer::No);
    f.driver.printChosenPages();
    ASSERT_FALSE(f.prompts.asked.isEmpty());
    EXPECT_TRUE(f.prompts.asked[0].text.endsWith(u"是否仍然打印?"_s));
    EXPECT_TRUE(f.spooled().isEmpty());

    const struct {
        float width;
        float margins;
        const char16_t* paper;
    } cases[] = {{11000, 0, u"A4纸纵向"}, {12000, 0, u"A4纸横向"}, {16000, 680, u"A4纸横向"},
                 {17000, 0, u"B4纸横向"}, {21000, 0, u"A3纸横向"}, {30000, 0, u"比A3更宽的纸张"}};
    for (const auto& c : cases) {
        EXPECT_EQ(slp::print::paperHoldingWidth(c.width, c.margins), QString::fromUtf16(c.paper)) << c.width;
    }
}

}  // namespace
