#include "app/shared/font_size_menu.h"

#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace slp::windows {

QString printFontCaption(float size) {
    return u"打印字体为"_s + plainNumber(size) + u"号"_s;
}

QString printFontPrompt(float size) {
    return u"请选择打印字体大小,现在字体为"_s + plainNumber(size) + u"号"_s;
}

std::optional<int16_t> acceptPrintFontSize(QStringView answer) {
    const double value = leadingValue(answer);
    if (!(value >= kSmallestPrintFontSize && value <= kLargestPrintFontSize)) return std::nullopt;
    return toInt16(value);
}

std::optional<int16_t> askPrintFontSize(Prompts& prompts, float currentSize) {
    const auto answer = prompts.inputBox(printFontPrompt(currentSize), u"选择"_s, plainNumber(currentSize));
    return acceptPrintFontSize(answer.value_or(QString()));
}

}  // namespace slp::windows
