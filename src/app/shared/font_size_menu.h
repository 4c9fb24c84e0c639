#pragma once
// The print font size menu of the wage windows: its caption "打印字体为" & size & "号" and the input box
// that changes the size (accepted from 4 to 17, halves rounded to the even neighbour).
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

#include "basic/prompts.h"

namespace slp::windows {

// The print font size every wage window starts with.
inline constexpr float kOpeningPrintFontSize = 9;
// The range an answer must lie in, both ends included.
inline constexpr double kSmallestPrintFontSize = 4;
inline constexpr double kLargestPrintFontSize = 17;

// "打印字体为" & size & "号", the size as plain decimal text.
QString printFontCaption(float size);
// "请选择打印字体大小,现在字体为" & size & "号".
QString printFontPrompt(float size);

// The size an answer gives: its leading numeric value when that lies between 4 and 17, as a 16-bit
// integer (4.5 gives 4, 16.5 gives 16); nullopt for anything else, an empty or cancelled answer included.
std::optional<int16_t> acceptPrintFontSize(QStringView answer);

// Asks for the size: prompt printFontPrompt(current), title "选择", the current size as default.
std::optional<int16_t> askPrintFontSize(Prompts& prompts, float currentSize);

}  // namespace slp::windows
