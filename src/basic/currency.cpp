#include "basic/currency.h"

#include <cmath>
#include <optional>

#include "basic/conversions.h"
#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp {

namespace {

[[noreturn]] void overflow(QStringView text) {
    throw OverflowError(u"金额“"_s + text.toString() + u"”超出货币数值的范围"_s);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A plain decimal text read exactly; nullopt when the text has another shape.
std::optional<CurrencyUnits> exactUnits(QStringView original) {
    const QStringView t = original.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    int64_t whole = 0;
    int digits = 0;
    for (; i < t.size() && isDigit(t[i]); ++i, ++digits) {
        if (__builtin_mul_overflow(whole, 10, &whole) ||
            __builtin_add_overflow(whole, t[i].unicode() - u'0', &whole))
            overflow(original);
    }
    int64_t fraction = 0;  // four decimals
    int fractionDigits = 0;
    int roundDigit = -1;  // the fifth decimal
    bool sticky = false;  // any non-zero digit after the fifth
    if (i < t.size() && t[i] == u'.') {
        for (++i; i < t.size() && isDigit(t[i]); ++i, ++digits) {
            const int d = t[i].unicode() - u'0';
            if (fractionDigits < 4) {
                fraction = fraction * 10 + d;
                ++fractionDigits;
            } else if (roundDigit < 0) {
                roundDigit = d;
            } else if (d != 0) {
                sticky = true;
            }
        }
    }
    if (i != t.size() || digits == 0) return std::nullopt;
    for (; fractionDigits < 4; ++fractionDigits) fraction *= 10;
    int64_t units = 0;
    if (__builtin_mul_overflow(whole, kUnitsPerYuan, &units) ||
        __builtin_add_overflow(units, fraction, &units))
        overflow(original);
    if (roundDigit > 5 || (roundDigit == 5 && (sticky || (units % 2) != 0))) {
        if (__builtin_add_overflow(units, 1, &units)) overflow(original);
    }
    return negative ? -units : units;
}

}  // namespace

CurrencyUnits currencyUnits(QStringView text) {
    if (const auto exact = exactUnits(text)) return *exact;
    const double scaled = leadingValue(text) * double(kUnitsPerYuan);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9223372036854775808.0) overflow(text);
    const double rounded = roundHalfEven(scaled);
    if (std::fabs(rounded) >= 9223372036854775808.0) overflow(text);
    return static_cast<CurrencyUnits>(rounded);
}

QString currencyText(CurrencyUnits units) {
    // Cents, halves away from zero.
    int64_t cents = units / 100;
    const int64_t rest = units % 100;
    if (rest >= 50) ++cents;
    if (rest <= -50) --cents;
    const bool negative = cents < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(cents) : uint64_t(cents);
    QString text =
        QString::number(magnitude / 100) + u'.' + QString::number(magnitude % 100).rightJustified(2, u'0');
    return negative ? u'-' + text : text;
}

void CurrencyTotal::add(CurrencyUnits units) {
    CurrencyUnits sum = 0;
    if (__builtin_add_overflow(units_, units, &sum))
        throw OverflowError(u"入卡金额的合计超出货币数值的范围"_s);
    units_ = sum;
}

}  // namespace slp
