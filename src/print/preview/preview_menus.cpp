#include "print/preview/preview_menus.h"

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace slp::print {

bool PreviewMenus::isCheckItem(int index) {
    return (index >= 5 && index <= 8) || index == 21 || index == 25;
}

bool PreviewMenus::isPrintSetIndex(int index) {
    return std::find(kPrintSetIndexes.begin(), kPrintSetIndexes.end(), index) != kPrintSetIndexes.end();
}

QString PreviewMenus::menuSetName(int index) {
    return u"MenuSet_"_s + QString::number(index);
}
QString PreviewMenus::printSetName(int index) {
    return u"MenuPrintSet_"_s + QString::number(index);
}
QString PreviewMenus::setPrintName(int index) {
    return u"SETPrint_"_s + QString::number(index);
}

PreviewMenus::PreviewMenus()
    : printOut{u"打印"_s}, setPrint1{u"设置"_s}, setPrint2{u"打印设置"_s}, exitRance{u"退出"_s} {
    // The design captions; opening replaces them with the values.
    menuSet_ = {PreviewMenuItem{u"X轴起始位置"_s}, PreviewMenuItem{u"Y轴起始位置"_s},
                PreviewMenuItem{u"每行行高"_s}, PreviewMenuItem{u"每页行数"_s}};
    // The rules start checked like their stored default "是"; sign-off and pay date unchecked.
    printSet(5) = {u"打印横线"_s, true, true};
    printSet(6) = {u"打印竖线"_s, true, true};
    printSet(7) = {u"打印中间横线"_s, true, true};
    printSet(8) = {u"打印最中间横线"_s, true, true};
    printSet(9) = {u"每行列数"_s, true, false};
    printSet(10) = {u"非首行缩进数"_s, true, false};
    printSet(21) = {u"是否打印签收"_s, true, false};
    printSet(25) = {u"是否打印发薪日期"_s, true, false};
}

PreviewMenuItem& PreviewMenus::menuSet(int index) {
    if (index < 1 || index > 4) throw std::out_of_range("MenuSet index");
    return menuSet_[size_t(index - 1)];
}

const PreviewMenuItem& PreviewMenus::menuSet(int index) const {
    return const_cast<PreviewMenus*>(this)->menuSet(index);
}

size_t PreviewMenus::printSetSlot(int index) {
    const auto it = std::find(kPrintSetIndexes.begin(), kPrintSetIndexes.end(), index);
    if (it == kPrintSetIndexes.end()) throw std::out_of_range("MenuPrintSet index");
    return size_t(it - kPrintSetIndexes.begin());
}

PreviewMenuItem& PreviewMenus::printSet(int index) {
    return printSet_[printSetSlot(index)];
}

const PreviewMenuItem& PreviewMenus::printSet(int index) const {
    return printSet_[printSetSlot(index)];
}

}  // namespace slp::print
