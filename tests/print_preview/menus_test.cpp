// The settings menus: MenuSet(1) to (4) with their input boxes, MenuPrintSet(5) to (10) and the
// visibility of the middle-rule and column items in the three layouts.
#include <gtest/gtest.h>

#include "preview_fixture.h"

using namespace Qt::StringLiterals;
using preview_test::Fixture;
using slp::print::kSlipModeSlips;
using slp::print::kSlipModeTable;

namespace {

TEST(PreviewMenus, MenuSetAsksWithItsPromptAndTheCurrentValue) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    const QStringList prompts{u"请选择打印时的X轴起始位置!"_s, u"请选择打印时的Y轴起始位置!"_s,
                              u"请选择打印时的每行行高!"_s, u"请选择打印时的每页行数!"_s};
    const QStringList defaults{u"300"_s, u"600"_s, u"360"_s, u"40"_s};
    for (int i = 1; i <= 4; ++i) {
        f.prompts.asked.clear();
        f.driver.askSetting(
            slp::print::PreviewMenus::kPageSettings[size_t(i - 1)]);  // cancelled: nothing changes
        ASSERT_EQ(f.prompts.asked.size(), 1);
        EXPECT_EQ(f.prompts.asked[0].text, prompts[i - 1]);
        EXPECT_TRUE(f.prompts.asked[0].title.isEmpty());
        EXPECT_EQ(f.prompts.asked[0].defaultText, defaults[i - 1]);
    }
    EXPECT_EQ(f.driver.originX(), 300);
    EXPECT_EQ(f.driver.layout().linesPerPage, 40);
}

TEST(PreviewMenus, MenuSetStoresTheValueAndRedraws) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    f.driver.turnPage(slp::print::PrintPreviewDriver::PagingKey::End);
    const int clears = f.canvas.clears;

    f.prompts.answerInput(u"450.25"_s);
    f.driver.askSetting(PageSetting::OriginX);
    EXPECT_FLOAT_EQ(f.driver.originX(), 450.25f);
    EXPECT_EQ(f.driver.menus().item(PageSetting::OriginX).caption, u"X轴起始位置为450.25"_s);
    EXPECT_EQ(f.canvas.clears, clears + 1);
    EXPECT_EQ(f.driver.currentPage(), 1);  // back to page 1
    EXPECT_NEAR(f.canvas.recording().findText(u"r1c0"_s)->x, 450.25 + 30, 1e-3);

    f.prompts.answerInput(u"700"_s);
    f.driver.askSetting(PageSetting::OriginY);
    EXPECT_EQ(f.driver.menus().item(PageSetting::OriginY).caption, u"Y轴起始位置为700"_s);

    f.prompts.answerInput(u"380"_s);
    f.driver.askSetting(PageSetting::RowHeight);
    EXPECT_EQ(f.driver.menus().item(PageSetting::RowHeight).caption, u"每行行高为380"_s);
    EXPECT_NEAR(f.driver.textOffset(), (380 - 180) * 6.0 / 11, 1e-3);

    f.prompts.answerInput(u"30.9"_s);  // the integer part
    f.driver.askSetting(PageSetting::LinesPerPage);
    EXPECT_EQ(f.driver.layout().linesPerPage, 30);
    EXPECT_EQ(f.driver.menus().item(PageSetting::LinesPerPage).caption, u"每页行数为30"_s);
    EXPECT_EQ(f.driver.pageCount(), 4);
    EXPECT_EQ(f.driver.statusTexts()[1], u"每页30行"_s);
}

TEST(PreviewMenus, MenuSetRefusesZeroNegativeAndOutOfRangeValues) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(101);
    f.open(grid, kSlipModeTable);
    const int clears = f.canvas.clears;
    for (const QString& answer : {u"0"_s, u""_s, u"abc"_s, u"-300"_s}) {
        for (int i = 1; i <= 4; ++i) {
            f.prompts.answerInput(answer);
            f.driver.askSetting(slp::print::PreviewMenus::kPageSettings[size_t(i - 1)]);
        }
    }
    f.prompts.answerInput(u"0.5"_s);  // no whole line
    f.driver.askSetting(PageSetting::LinesPerPage);
    f.prompts.answerInput(u"40000"_s);  // beyond 16 bits
    f.driver.askSetting(PageSetting::LinesPerPage);
    f.prompts.answerInput(u"1e39"_s);  // beyond single precision
    f.driver.askSetting(PageSetting::OriginX);
    EXPECT_EQ(f.canvas.clears, clears);
    EXPECT_EQ(f.driver.originX(), 300);
    EXPECT_EQ(f.driver.originY(), 600);
    EXPECT_EQ(f.driver.rowHeight(), 360);
    EXPECT_EQ(f.driver.layout().linesPerPage, 40);
    EXPECT_EQ(f.driver.menus().item(PageSetting::LinesPerPage).caption, u"每页行数为40"_s);
}

TEST(PreviewMenus, RulesFlipTheirCheckAndFlag) {
    Fixture f;
    const auto grid = preview_test::wideGrid(30);
    f.open(grid, kSlipModeTable);
    const auto& l = f.driver.layout();
    ASSERT_TRUE(l.drawMiddleLines);
    f.driver.changeOption(PrintOption::HorizontalRules);
    f.driver.changeOption(PrintOption::VerticalRules);
    f.driver.changeOption(PrintOption::MiddleRules);
    f.driver.changeOption(PrintOption::InnermostMiddleRule);
    EXPECT_FALSE(l.drawHorizontalLines);
    EXPECT_FALSE(l.drawVerticalLines);
    EXPECT_FALSE(l.drawMiddleLines);
    EXPECT_FALSE(l.drawCenterLine);
    for (PrintOption o : {PrintOption::HorizontalRules, PrintOption::VerticalRules, PrintOption::MiddleRules,
                          PrintOption::InnermostMiddleRule})
        EXPECT_FALSE(f.driver.menus().item(o).checked) << int(o);
    // With no rules at all the page has no lines.
    EXPECT_TRUE(f.canvas.recording().lines().empty());
    f.driver.changeOption(PrintOption::VerticalRules);
    EXPECT_TRUE(l.drawVerticalLines);
    EXPECT_FALSE(f.canvas.recording().lines().empty());
}

TEST(PreviewMenus, VisibilityInTheThreeLayouts) {
    const auto narrow = preview_test::narrowGrid(10);
    const auto wide = preview_test::wideGrid(10);
    using O = PrintOption;
    auto visible = [](const Fixture& f) {
        QList<PrintOption> v;
        for (PrintOption o : slp::print::PreviewMenus::kPrintOptions) {
            if (f.driver.menus().item(o).visible) v << o;
        }
        return v;
    };
    {
        Fixture f;
        f.open(narrow, kSlipModeTable);
        EXPECT_EQ(visible(f), QList<PrintOption>(
                                  {O::HorizontalRules, O::VerticalRules, O::PrintSignOff, O::PrintPayDate}));
    }
    {
        Fixture f;
        f.open(narrow, kSlipModeSlips, QString());
        // Slips that fit across the paper have no vertical rules: no switch for them, its check kept.
        EXPECT_EQ(visible(f), QList<PrintOption>({O::HorizontalRules, O::PrintSignOff, O::PrintPayDate}));
        EXPECT_TRUE(f.driver.menus().item(O::VerticalRules).checked);
    }
    {
        // 31 visible columns, 24 a line: the indent item shows too.
        Fixture f;
        f.open(wide, kSlipModeTable);
        EXPECT_EQ(visible(f), QList<PrintOption>(slp::print::PreviewMenus::kPrintOptions.begin(),
                                                 slp::print::PreviewMenus::kPrintOptions.end()));
    }
    {
        Fixture f;
        f.setLayoutSetting(u"工资条"_s, u"每行列数"_s, u"31"_s);
        f.open(wide, kSlipModeSlips, QString());
        EXPECT_EQ(visible(f), QList<PrintOption>({O::HorizontalRules, O::VerticalRules, O::MiddleRules,
                                                  O::InnermostMiddleRule, O::ColumnsPerLine, O::PrintSignOff,
                                                  O::PrintPayDate}));
        EXPECT_FALSE(f.driver.layout().drawMiddleLines);
    }
}

TEST(PreviewMenus, ColumnsPerLineBelowTheVisibleColumnsShowsTheIndent) {
    Fixture f;
    f.setLayoutSetting(u"工资条"_s, u"每行列数"_s, u"40"_s);
    const auto grid = preview_test::wideGrid(30);  // 31 visible columns
    f.open(grid, kSlipModeSlips, QString());
    ASSERT_TRUE(f.driver.tooWide());
    EXPECT_TRUE(f.driver.menus().item(PrintOption::ColumnsPerLine).visible);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::ContinuationIndent).visible);
    EXPECT_EQ(f.driver.menus().item(PrintOption::ColumnsPerLine).caption, u"每行列数为40"_s);

    f.prompts.answerInput(u"-10"_s);
    f.driver.changeOption(PrintOption::ColumnsPerLine);
    EXPECT_EQ(f.prompts.asked[0].text, u"请选择每行打印列数的增减数!\r\n\r\r    基准值为40"_s);
    EXPECT_TRUE(f.prompts.asked[0].title.isEmpty());
    EXPECT_TRUE(f.prompts.asked[0].defaultText.isEmpty());
    EXPECT_EQ(f.driver.layout().columnsPerLine, 30);
    EXPECT_EQ(f.driver.menus().item(PrintOption::ColumnsPerLine).caption, u"每行列数为30"_s);
    EXPECT_TRUE(f.driver.menus().item(PrintOption::ContinuationIndent).visible);
    // Thirty slots are too narrow for the texts: as many as hold them.
    const int perLine = int((11906 - 800) / slp::print::WrappedSlotNeeded(grid, 9, 1440, 45));
    EXPECT_FLOAT_EQ(f.driver.layout().slotWidth, (11906 - 800) / float(std::min(perLine, 30)));

    f.prompts.answerInput(u"0.5"_s);  // 30.5 halves to even: 30
    f.driver.changeOption(PrintOption::ColumnsPerLine);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 30);
    f.prompts.answerInput(u"1.5"_s);  // 31.5: 32
    f.driver.changeOption(PrintOption::ColumnsPerLine);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 32);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::ContinuationIndent).visible);
}

TEST(PreviewMenus, AdjustmentsOfZeroOrOutOfRangeChangeNothingAndDrawNothing) {
    Fixture f;
    const auto grid = preview_test::wideGrid(30);
    f.open(grid, kSlipModeTable);
    const int clears = f.canvas.clears;
    for (const QString& answer : {u"0"_s, u"x"_s, u"-24"_s, u"-30"_s, u"40000"_s}) {
        f.prompts.answerInput(answer);
        f.driver.changeOption(PrintOption::ColumnsPerLine);
    }
    f.driver.changeOption(PrintOption::ContinuationIndent);  // cancelled
    f.prompts.answerInput(u"-1"_s);                          // no negative indent
    f.driver.changeOption(PrintOption::ContinuationIndent);
    EXPECT_EQ(f.canvas.clears, clears);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 24);
    EXPECT_EQ(f.driver.layout().continuationIndent, 0);

    f.prompts.answerInput(u"3"_s);
    f.driver.changeOption(PrintOption::ContinuationIndent);
    EXPECT_EQ(f.prompts.asked.last().text, u"请选择非首行缩进数的增减数!\r\n\r\r    基准值为0"_s);
    EXPECT_EQ(f.driver.layout().continuationIndent, 3);
    EXPECT_EQ(f.driver.menus().item(PrintOption::ContinuationIndent).caption, u"非首行缩进数为3"_s);
    EXPECT_EQ(f.canvas.clears, clears + 1);
    f.prompts.answerInput(u"-23"_s);  // down to one column a line is allowed
    f.driver.changeOption(PrintOption::ColumnsPerLine);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 1);
}

}  // namespace
