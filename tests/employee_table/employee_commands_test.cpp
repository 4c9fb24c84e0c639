// The commands of the employee wage table: the preview requests and their header texts, the range
// questions of "打印个人发放联" and their answers, the strips' origin, the rule switch caption.
#include "app/employee_table/employee_commands.h"

#include <gtest/gtest.h>

#include "../strip_print/recording_printer.h"
#include "basic/scripted_prompts.h"
#include "data/host_context.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::employee;

namespace {

slp::HostContext host() {
    slp::HostContext h;
    h.unitCode = u"0101"_s;
    h.unitName = u"朔岚测试厂"_s;
    h.workYear = u"2000"_s;
    h.workMonth = u"04"_s;
    h.payDate = u"2000-04-25"_s;
    return h;
}

TEST(EmployeeCommands, TheWageTableGoesToThePreviewAsATableWithUnitAndPayMonth) {
    slp::data::WageGrid grid(4, 3);
    const auto r = wageTableRequest(grid, host(), 11);
    EXPECT_EQ(r.grid, &grid);
    EXPECT_EQ(r.captionRows, 1);
    EXPECT_EQ(r.slipMode, 0);
    EXPECT_EQ(r.title, u"工资签收联"_s);
    EXPECT_EQ(r.leftText, u"单位名称:朔岚测试厂"_s);
    EXPECT_TRUE(r.footerText.isEmpty());
    EXPECT_EQ(r.rightText, u"发薪日期:00-04"_s);
    EXPECT_FLOAT_EQ(r.printFontSize, 11);
}

TEST(EmployeeCommands, ThePayMonthIsTheFullPayDateAsTwoDigitYearAndMonth) {
    EXPECT_EQ(payMonthHeader(u"2000-04-25"_s), u"发薪日期:00-04"_s);
    EXPECT_EQ(payMonthHeader(u"1999-12-5"_s), u"发薪日期:99-12"_s);
    // A pay day set before the month gives no date: shown as it is.
    EXPECT_EQ(payMonthHeader(u"--25"_s), u"发薪日期:--25"_s);
}

TEST(EmployeeCommands, WageSlipsGoToThePreviewWithoutTitleOrRightHeader) {
    slp::data::WageGrid grid(4, 3);
    const auto r = wageSlipsRequest(grid, host(), 9);
    EXPECT_EQ(r.slipMode, -1);
    EXPECT_TRUE(r.title.isEmpty());
    EXPECT_EQ(r.caption, u"工资条"_s);  // the window's caption, not the program's name
    EXPECT_EQ(r.leftText, u"单位名称:朔岚测试厂"_s);
    EXPECT_TRUE(r.rightText.isEmpty());
    EXPECT_TRUE(r.footerText.isEmpty());
    EXPECT_EQ(r.captionRows, 1);
}

TEST(EmployeeCommands, TheStripRuleSwitchIsNamedForWhatItsCheckPrints) {
    EXPECT_EQ(stripRulesCaption(), u"打印工资条横线"_s);
}

TEST(EmployeeCommands, TheRangeQuestionsAreAskedInTheSystemsWords) {
    slp::ScriptedPrompts prompts;
    prompts.answerInput(u"2"_s);
    prompts.answerInput(u"5"_s);
    const auto range = askStripRange(prompts, 25);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 2);
    EXPECT_EQ(range->last, 5);
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, u"共有25名员工\r\n请选择从第几位开始打印"_s);
    EXPECT_EQ(prompts.asked[0].title, u"选择开始位置"_s);
    EXPECT_EQ(prompts.asked[0].defaultText, u"1"_s);
    EXPECT_EQ(prompts.asked[1].text, u"共有25名员工\r\n从第2位开始,请选择到第几位结束"_s);
    EXPECT_EQ(prompts.asked[1].title, u"选择结束位置"_s);
    EXPECT_EQ(prompts.asked[1].defaultText, u"25"_s);
}

TEST(EmployeeCommands, RangeAnswersAreRoundedClampedOrRefused) {
    struct Case {
        std::optional<QString> first;
        std::optional<QString> last;
        std::optional<std::pair<int, int>> range;
        int questions;
    };
    const Case cases[] = {
        {std::nullopt, u"3"_s, std::nullopt, 1},  // cancelled
        {u""_s, u"3"_s, std::nullopt, 1},         // empty
        {u"0"_s, u"3"_s, std::nullopt, 1},        // not above 0
        {u"-2"_s, u"3"_s, std::nullopt, 1},
        {u"abc"_s, u"3"_s, std::nullopt, 1},
        {u"2"_s, std::nullopt, std::nullopt, 2},  // the last cancelled
        {u"2"_s, u"0"_s, std::nullopt, 2},
        {u"5"_s, u"3"_s, std::nullopt, 2},           // first after last: nothing
        {u"3"_s, u"99"_s, std::pair{3, 10}, 2},      // clamped to the last employee
        {u"2.5"_s, u"3.5"_s, std::pair{2, 4}, 2},    // halves to even
        {u"0.4"_s, u"1"_s, std::pair{1, 1}, 2},      // never the caption row
        {u"7号"_s, u"10.4"_s, std::pair{7, 10}, 2},  // leading numbers
        {u"11"_s, u"12"_s, std::nullopt, 2},         // first beyond the employees
        {u"1e9"_s, u"2"_s, std::nullopt, 2},
    };
    for (const Case& c : cases) {
        slp::ScriptedPrompts prompts;
        prompts.answerInput(c.first);
        prompts.answerInput(c.last);
        const auto range = askStripRange(prompts, 10);
        const QString label = c.first.value_or(u"<cancel>"_s) + u" / "_s + c.last.value_or(u"<cancel>"_s);
        EXPECT_EQ(prompts.asked.size(), c.questions) << label.toStdString();
        ASSERT_EQ(range.has_value(), c.range.has_value()) << label.toStdString();
        if (range) {
            EXPECT_EQ(range->first, c.range->first) << label.toStdString();
            EXPECT_EQ(range->last, c.range->second) << label.toStdString();
        }
    }
}

TEST(EmployeeCommands, StripsArePrintedFromTheTableOriginAsOneJob) {
    strip_test::RecordingPrinter printer;
    slp::data::WageGrid grid(6, 2);
    grid.setColWidth(0, 600);
    grid.setColWidth(1, 1200);
    grid.setText(0, 1, u"姓名"_s);
    for (int r = 1; r <= 4; ++r) grid.setText(r, 1, u"员工"_s + QString::number(r));
    EXPECT_EQ(printEmployeeStrips(printer, grid, {2, 4}, true, 10), 3);
    EXPECT_EQ(printer.count(strip_test::RecordingPrinter::Event::EndDoc), 1);
    EXPECT_EQ(printer.count(strip_test::RecordingPrinter::Event::Page), 3);
    const auto lines = printer.recording().lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_FLOAT_EQ(lines[0].x, 30);
    EXPECT_FLOAT_EQ(lines[0].y, 60);
    const auto first = printer.recording().findText(u"员工2"_s);
    ASSERT_TRUE(first);
    EXPECT_FLOAT_EQ(first->fontSize, 10);
    EXPECT_FALSE(printer.recording().findText(u"员工1"_s));
}

}  // namespace
