#include "app/employee_table/employee_commands.h"

#include "basic/conversions.h"
#include "data/host_context.h"
#include "print/reports/strip_report.h"

using namespace Qt::StringLiterals;

namespace slp::windows::employee {

QString unitNameHeader(const QString& unitName) {
    return u"单位名称:"_s + unitName;
}

QString payMonthHeader(const QString& payDate) {
    return u"发薪日期:"_s + formatText(payDate, u"YY-MM");
}

namespace {
print::PrintPreviewRequest requestFor(const data::WageGrid& grid, const HostContext& context,
                                      float printFontSize) {
    print::PrintPreviewRequest r;
    r.grid = &grid;
    r.captionRows = 1;
    r.leftText = unitNameHeader(context.unitName);
    r.printFontSize = printFontSize;
    return r;
}
}  // namespace

print::PrintPreviewRequest wageTableRequest(const data::WageGrid& grid, const HostContext& context,
                                            float printFontSize) {
    print::PrintPreviewRequest r = requestFor(grid, context, printFontSize);
    r.slipMode = print::kSlipModeTable;
    r.title = u"工资签收联"_s;
    r.rightText = payMonthHeader(context.payDate);
    return r;
}

print::PrintPreviewRequest wageSlipsRequest(const data::WageGrid& grid, const HostContext& context,
                                            float printFontSize) {
    print::PrintPreviewRequest r = requestFor(grid, context, printFontSize);
    r.slipMode = print::kSlipModeSlips;
    r.caption = u"工资条"_s;  // the window's caption: slips print no title
    return r;
}

QString stripRulesCaption() {
    return u"打印工资条横线"_s;
}

QString stripPageNotice() {
    const auto cm = [](float twips) { return QString::number(twips * 2.54 / 1440, 'f', 2); };
    return u"个人发放联按连续纸打印：每名员工一页，页面为%1×%2厘米，不使用打印设置中的纸张。"_s.arg(
        cm(strips::kStripPageWidth), cm(strips::kStripPageHeight));
}

std::optional<StripRange> askStripRange(Prompts& prompts, int employees) {
    const QString count = u"共有"_s + QString::number(employees) + u"名员工"_s + u"\r\n"_s;
    const auto firstAnswer = prompts.inputBox(count + u"请选择从第几位开始打印"_s, u"选择开始位置"_s, u"1"_s);
    const double firstValue = leadingValue(firstAnswer.value_or(QString()));
    if (!(firstValue > 0)) return std::nullopt;
    const double first = std::max(1.0, roundHalfEven(firstValue));
    const auto lastAnswer =
        prompts.inputBox(count + u"从第"_s + plainNumber(first) + u"位开始,请选择到第几位结束"_s,
                         u"选择结束位置"_s, QString::number(employees));
    const double lastValue = leadingValue(lastAnswer.value_or(QString()));
    if (!(lastValue > 0)) return std::nullopt;
    const double last = lastValue > employees ? double(employees) : roundHalfEven(lastValue);
    if (first > last) return std::nullopt;
    return StripRange{int(first), int(last)};
}

int printEmployeeStrips(print::Printer& printer, const data::WageGrid& grid, StripRange range, bool rules,
                        float printFontSize, const QString& fileName) {
    return strips::PrintGridStrips(printer, grid, range.first, range.last, rules, kStripOriginX,
                                   kStripOriginY, printFontSize, fileName);
}

}  // namespace slp::windows::employee
