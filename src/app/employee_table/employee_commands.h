#pragma once
// The commands that take the employee wage grid elsewhere: the wage table "工资签收联" and the wage
// slips through the preview, the strips of a range of employees straight to the printer, and the
// caption of the strips' rule switch.
#include <QString>
#include <memory>
#include <optional>

#include "app/shared/window_services.h"
#include "basic/prompts.h"
#include "data/wage_grid.h"

namespace slp {
struct HostContext;
}
namespace slp::print {
class Printer;
}

namespace slp::windows::employee {

// "单位名称:" & the unit name.
QString unitNameHeader(const QString& unitName);
// "发薪日期:" & the pay date formatted "YY-MM" (2000-04-25 gives 00-04); a pay date that is no date is
// shown as it is.
QString payMonthHeader(const QString& payDate);

// The requests refer to `grid`, which the preview copies when it is shown.
// "打印工资表": a table (slipMode 0) titled "工资签收联", unit name at the left, pay month at the right.
print::PrintPreviewRequest wageTableRequest(const data::WageGrid& grid, const HostContext& context,
                                            float printFontSize);
// "预览个人发放联": wage slips (slipMode -1), no title, unit name at the left, nothing at the right.
print::PrintPreviewRequest wageSlipsRequest(const data::WageGrid& grid, const HostContext& context,
                                            float printFontSize);

// The rule switch of the strips, "打印工资条横线": its check mark says that the strips get rules, so the
// caption never changes and never reads as a negation.
QString stripRulesCaption();
// Told after strips were printed: each goes on a page of its own size, whatever paper is chosen.
QString stripPageNotice();

// The employees whose strips "打印个人发放联" prints, grid rows first .. last.
struct StripRange {
    int first = 0;
    int last = 0;
};
// The two questions of "打印个人发放联" for a grid of `employees` employees:
//   "共有" & n & "名员工" CR LF "请选择从第几位开始打印", title "选择开始位置", default 1;
//   "共有" & n & "名员工" CR LF "从第" & s & "位开始,请选择到第几位结束", title "选择结束位置", default n.
// nullopt (nothing printed, no message) when an answer is cancelled, empty or not above 0, or when the
// first is after the last. Answers are rounded halves to even; a last beyond the employees is taken as
// the last employee; a first rounded down to 0 is taken as 1, so the caption row is never printed as an
// employee.
std::optional<StripRange> askStripRange(Prompts& prompts, int employees);

// Strip origin of the employee table.
inline constexpr float kStripOriginX = 30;
inline constexpr float kStripOriginY = 60;
// Prints the strips of the range: PrintGridStrips(grid, first, last, rules, 30, 60, font size) as one job.
// Printed to files, `fileName` names them.
int printEmployeeStrips(print::Printer& printer, const data::WageGrid& grid, StripRange range, bool rules,
                        float printFontSize, const QString& fileName = {});

}  // namespace slp::windows::employee
