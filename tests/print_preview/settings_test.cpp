// The preview's settings: defaults and sections on opening, values read back, settings that do not
// convert, the writes of closing and of the sign-off and pay-date switches.
#include <gtest/gtest.h>

#include "preview_fixture.h"

using namespace Qt::StringLiterals;
using preview_test::Fixture;
using slp::print::kSlipModeSlips;
using slp::print::kSlipModeTable;

namespace {

TEST(PreviewSettings, EmptyStoreGivesTheDefaultsForWageSlips) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeSlips, QString());
    const auto& d = f.driver;
    EXPECT_EQ(d.reportKind(), u"工资条"_s);
    EXPECT_EQ(d.originX(), 300);
    EXPECT_EQ(d.originY(), 600);
    EXPECT_EQ(d.rowHeight(), 360);
    EXPECT_EQ(d.layout().linesPerPage, 40);
    EXPECT_EQ(d.layout().columnsPerLine, 24);
    EXPECT_EQ(d.layout().continuationIndent, 0);
    EXPECT_TRUE(d.layout().drawHorizontalLines);
    EXPECT_TRUE(d.layout().drawVerticalLines);
    for (PrintOption o : {PrintOption::HorizontalRules, PrintOption::VerticalRules, PrintOption::MiddleRules,
                          PrintOption::InnermostMiddleRule})
        EXPECT_TRUE(d.menus().item(o).checked) << int(o);
    EXPECT_FALSE(d.menus().item(PrintOption::PrintSignOff).checked);
    EXPECT_FALSE(d.menus().item(PrintOption::PrintPayDate).checked);
    // Slips never draw the middle rules.
    EXPECT_FALSE(d.layout().drawMiddleLines);
    EXPECT_FALSE(d.layout().drawCenterLine);
    EXPECT_EQ(d.menus().item(PageSetting::OriginX).caption, u"X轴起始位置为300"_s);
    EXPECT_EQ(d.menus().item(PageSetting::OriginY).caption, u"Y轴起始位置为600"_s);
    EXPECT_EQ(d.menus().item(PageSetting::RowHeight).caption, u"每行行高为360"_s);
    EXPECT_EQ(d.menus().item(PageSetting::LinesPerPage).caption, u"每页行数为40"_s);
    EXPECT_EQ(d.menus().item(PrintOption::ColumnsPerLine).caption, u"每行列数为24"_s);
    EXPECT_EQ(d.menus().item(PrintOption::ContinuationIndent).caption, u"非首行缩进数为0"_s);
    // Nothing is written by opening.
    EXPECT_EQ(f.originSetting(u"工资条"_s, u"X起始位置"_s), u"<none>"_s);
}

TEST(PreviewSettings, ClosingWritesTheSlipSectionsAndLeavesTheTableOnes) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeSlips, QString());
    f.driver.close();
    EXPECT_EQ(f.originSetting(u"工资条"_s, u"X起始位置"_s), u"300"_s);
    EXPECT_EQ(f.originSetting(u"工资条"_s, u"Y起始位置"_s), u"600"_s);
    EXPECT_EQ(f.originSetting(u"工资条"_s, u"每行行高"_s), u"360"_s);
    EXPECT_EQ(f.originSetting(u"工资条"_s, u"每页行数"_s), u"40"_s);
    EXPECT_EQ(f.layoutSetting(u"工资条"_s, u"每行列数"_s), u"24"_s);
    EXPECT_EQ(f.layoutSetting(u"工资条"_s, u"非首行缩进数"_s), u"0"_s);
    for (const QString& key : {u"打印横线"_s, u"打印竖线"_s, u"打印中间横线"_s, u"打印最中间横线"_s}) {
        EXPECT_EQ(f.layoutSetting(u"工资条"_s, key), u"是"_s) << key.toStdString();
    }
    // The switches are written by their menu only.
    EXPECT_EQ(f.layoutSetting(u"工资条"_s, u"是否打印签收"_s), u"<none>"_s);
    EXPECT_EQ(f.originSetting(QString(), u"X起始位置"_s), u"<none>"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"每行列数"_s), u"<none>"_s);
}

TEST(PreviewSettings, SlipAndTableSettingsAreIndependent) {
    Fixture f;
    f.setLayoutSetting(u"工资条"_s, u"每行列数"_s, u"12"_s);
    f.setLayoutSetting(QString(), u"每行列数"_s, u"30"_s);
    f.setOriginSetting(u"工资条"_s, u"每页行数"_s, u"36"_s);
    f.setOriginSetting(QString(), u"每页行数"_s, u"44"_s);
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeTable);
    EXPECT_EQ(f.driver.reportKind(), QString());
    EXPECT_EQ(f.driver.layout().columnsPerLine, 30);
    EXPECT_EQ(f.driver.layout().linesPerPage, 44);

    Fixture g;
    g.setLayoutSetting(u"工资条"_s, u"每行列数"_s, u"12"_s);
    g.setOriginSetting(u"工资条"_s, u"每页行数"_s, u"36"_s);
    g.open(grid, kSlipModeSlips, QString());
    EXPECT_EQ(g.driver.layout().columnsPerLine, 12);
    EXPECT_EQ(g.driver.layout().linesPerPage, 36);
}

TEST(PreviewSettings, StoredValuesAreReadWithHalvesToEven) {
    Fixture f;
    f.setOriginSetting(QString(), u"X起始位置"_s, u"412.5"_s);
    f.setOriginSetting(QString(), u"Y起始位置"_s, u"700"_s);
    f.setOriginSetting(QString(), u"每行行高"_s, u"300"_s);
    f.setOriginSetting(QString(), u"每页行数"_s, u"30.5"_s);
    f.setLayoutSetting(QString(), u"非首行缩进数"_s, u"2.5"_s);
    f.setLayoutSetting(QString(), u"打印竖线"_s, u"否"_s);
    f.setLayoutSetting(QString(), u"打印横线"_s, u"yes"_s);  // only "是" is on
    f.setLayoutSetting(QString(), u"是否打印签收"_s, u"True"_s);
    f.setLayoutSetting(QString(), u"是否打印发薪日期"_s, u"-1"_s);
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeTable);
    const auto& d = f.driver;
    EXPECT_FLOAT_EQ(d.originX(), 412.5f);
    EXPECT_EQ(d.originY(), 700);
    EXPECT_EQ(d.rowHeight(), 300);
    EXPECT_EQ(d.layout().linesPerPage, 30);
    EXPECT_EQ(d.layout().continuationIndent, 2);
    EXPECT_FALSE(d.layout().drawVerticalLines);
    EXPECT_FALSE(d.menus().item(PrintOption::VerticalRules).checked);
    EXPECT_FALSE(d.layout().drawHorizontalLines);
    EXPECT_TRUE(d.menus().item(PrintOption::PrintSignOff).checked);
    EXPECT_TRUE(d.menus().item(PrintOption::PrintPayDate).checked);
    EXPECT_EQ(d.menus().item(PageSetting::OriginX).caption, u"X轴起始位置为412.5"_s);
    // The text offset follows the row height and the height of "O" on the picture (180 twips at 9 points).
    EXPECT_NEAR(d.textOffset(), (300 - 180) * 6.0 / 11, 1e-3);
}

TEST(PreviewSettings, AValueThatDoesNotConvertKeepsTheEarlierOneAndTheOthersStillLoad) {
    Fixture f;
    f.setOriginSetting(QString(), u"X起始位置"_s, u"abc"_s);
    f.setOriginSetting(QString(), u"每页行数"_s, u"99999"_s);  // beyond 16 bits
    f.setOriginSetting(QString(), u"Y起始位置"_s, u"650"_s);
    f.setLayoutSetting(QString(), u"每行列数"_s, u"x"_s);
    f.setLayoutSetting(QString(), u"是否打印签收"_s, u"maybe"_s);
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeTable);
    // A window opened for the first time starts from zeros.
    EXPECT_EQ(f.driver.originX(), 0);
    EXPECT_EQ(f.driver.layout().linesPerPage, 0);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 0);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::PrintSignOff).checked);
    EXPECT_EQ(f.driver.originY(), 650);
    EXPECT_EQ(f.driver.rowHeight(), 360);
    // No lines a page cannot divide the rows: one line a page is assumed.
    EXPECT_EQ(f.driver.pageCount(), 11);

    // Loaded again after a good value was set, a bad text keeps that value.
    f.driver.close();
    f.setOriginSetting(QString(), u"X起始位置"_s, u"500"_s);
    f.driver.open();
    EXPECT_EQ(f.driver.originX(), 500);
    f.setOriginSetting(QString(), u"X起始位置"_s, u"1,5"_s);
    f.driver.open();
    EXPECT_EQ(f.driver.originX(), 500);
}

TEST(PreviewSettings, ClosingWritesWhatTheMenusShow) {
    Fixture f;
    const auto grid = preview_test::wideGrid(30);
    f.open(grid, kSlipModeTable);
    ASSERT_TRUE(f.driver.tooWide());
    f.prompts.answerInput(u"450"_s);
    f.driver.askSetting(PageSetting::OriginX);
    f.prompts.answerInput(u"380.5"_s);
    f.driver.askSetting(PageSetting::RowHeight);
    f.prompts.answerInput(u"36"_s);
    f.driver.askSetting(PageSetting::LinesPerPage);
    f.prompts.answerInput(u"-4"_s);
    f.driver.changeOption(PrintOption::ColumnsPerLine);
    f.prompts.answerInput(u"2"_s);
    f.driver.changeOption(PrintOption::ContinuationIndent);
    f.driver.changeOption(PrintOption::HorizontalRules);
    f.driver.changeOption(PrintOption::InnermostMiddleRule);
    f.driver.close();
    EXPECT_EQ(f.originSetting(QString(), u"X起始位置"_s), u"450"_s);
    EXPECT_EQ(f.originSetting(QString(), u"Y起始位置"_s), u"600"_s);
    EXPECT_EQ(f.originSetting(QString(), u"每行行高"_s), u"380.5"_s);
    EXPECT_EQ(f.originSetting(QString(), u"每页行数"_s), u"36"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"每行列数"_s), u"20"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"非首行缩进数"_s), u"2"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"打印横线"_s), u"否"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"打印竖线"_s), u"是"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"打印中间横线"_s), u"是"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"打印最中间横线"_s), u"否"_s);

    // Opened again, the window reads what it wrote.
    f.driver.open();
    EXPECT_EQ(f.driver.originX(), 450);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 20);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::HorizontalRules).checked);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::InnermostMiddleRule).checked);
    EXPECT_FALSE(f.driver.layout().drawCenterLine);
}

TEST(PreviewSettings, HiddenMiddleRulesKeepTheirStoredValueThroughClosing) {
    Fixture f;
    f.setLayoutSetting(QString(), u"打印中间横线"_s, u"否"_s);
    f.setLayoutSetting(QString(), u"打印最中间横线"_s, u"否"_s);
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeTable);
    ASSERT_FALSE(f.driver.tooWide());
    EXPECT_FALSE(f.driver.menus().item(PrintOption::MiddleRules).visible);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::InnermostMiddleRule).visible);
    f.driver.close();
    EXPECT_EQ(f.layoutSetting(QString(), u"打印中间横线"_s), u"否"_s);
    EXPECT_EQ(f.layoutSetting(QString(), u"打印最中间横线"_s), u"否"_s);
}

TEST(PreviewSettings, SignOffAndPayDateAreWrittenAtOnceAndReachThePages) {
    Fixture f;
    const auto grid = preview_test::narrowGrid(10);
    f.open(grid, kSlipModeSlips, QString());
    EXPECT_FALSE(f.drawn().contains(u"签收"_s));
    f.driver.changeOption(PrintOption::PrintSignOff);
    EXPECT_TRUE(f.driver.menus().item(PrintOption::PrintSignOff).checked);
    EXPECT_EQ(f.layoutSetting(u"工资条"_s, u"是否打印签收"_s), u"True"_s);
    // The slips read the switch from their section and show the signature column on the redraw.
    EXPECT_TRUE(f.drawn().contains(u"签收"_s));
    f.driver.changeOption(PrintOption::PrintPayDate);
    EXPECT_EQ(f.layoutSetting(u"工资条"_s, u"是否打印发薪日期"_s), u"True"_s);
    f.driver.changeOption(PrintOption::PrintSignOff);
    EXPECT_FALSE(f.driver.menus().item(PrintOption::PrintSignOff).checked);
    EXPECT_EQ(f.layoutSetting(u"工资条"_s, u"是否打印签收"_s), u"False"_s);
    EXPECT_FALSE(f.drawn().contains(u"签收"_s));
    // The table's section is untouched.
    EXPECT_EQ(f.layoutSetting(QString(), u"是否打印签收"_s), u"<none>"_s);
}

TEST(PreviewSettings, TheUnitCodeInForceNamesTheSections) {
    Fixture f;
    f.store.write(u"0202GZGL"_s, u"汇总表设置"_s, u"每行列数"_s, u"18"_s);
    f.host.unitCode = u"0202"_s;
    const auto grid = preview_test::narrowGrid(3);
    f.open(grid, kSlipModeTable);
    EXPECT_EQ(f.driver.layout().columnsPerLine, 18);
    f.host.unitCode = u"0303"_s;
    f.driver.close();
    EXPECT_EQ(f.store.find(u"0303GZGL"_s, u"汇总表设置"_s, u"每行列数"_s).value_or(QString()), u"18"_s);
}

}  // namespace
