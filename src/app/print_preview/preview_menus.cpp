#include "app/print_preview/preview_menus.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {

// The number each item has carried in the window's object names since the first version; the menus
// are built from this table and nothing else uses the numbers.
constexpr std::array<int, PreviewMenus::kPageSettings.size()> kSettingNumbers{1, 2, 3, 4};
constexpr std::array<int, PreviewMenus::kPrintOptions.size()> kOptionNumbers{5, 6, 7, 8, 9, 10, 21, 25};

}  // namespace

bool PreviewMenus::isCheckItem(PrintOption option) {
    return option != PrintOption::ColumnsPerLine && option != PrintOption::ContinuationIndent;
}

QString PreviewMenus::actionName(PageSetting setting) {
    return u"MenuSet_"_s + QString::number(kSettingNumbers[size_t(setting)]);
}

QString PreviewMenus::actionName(PrintOption option) {
    return u"MenuPrintSet_"_s + QString::number(kOptionNumbers[size_t(option)]);
}

QString PreviewMenus::settingsMenuName() {
    return u"SETPrint_1"_s;
}

QString PreviewMenus::printSettingsMenuName() {
    return u"SETPrint_2"_s;
}

PreviewMenus::PreviewMenus()
    : print{u"打印"_s}, settingsMenu{u"设置"_s}, printSettings{u"打印设置"_s}, exit{u"退出"_s} {
    // The design captions; opening replaces them with the values.
    settings_ = {PreviewMenuItem{u"X轴起始位置"_s}, PreviewMenuItem{u"Y轴起始位置"_s},
                 PreviewMenuItem{u"每行行高"_s}, PreviewMenuItem{u"每页行数"_s}};
    // The rules start checked like their stored default "是"; sign-off and pay date unchecked.
    item(PrintOption::HorizontalRules) = {u"打印横线"_s, true, true};
    item(PrintOption::VerticalRules) = {u"打印竖线"_s, true, true};
    item(PrintOption::MiddleRules) = {u"打印中间横线"_s, true, true};
    item(PrintOption::InnermostMiddleRule) = {u"打印最中间横线"_s, true, true};
    item(PrintOption::ColumnsPerLine) = {u"每行列数"_s, true, false};
    item(PrintOption::ContinuationIndent) = {u"非首行缩进数"_s, true, false};
    item(PrintOption::PrintSignOff) = {u"是否打印签收"_s, true, false};
    item(PrintOption::PrintPayDate) = {u"是否打印发薪日期"_s, true, false};
}

}  // namespace slp::print
