#include "data/amount_format.h"

#include <charconv>
#include <cmath>

#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace slp::data {

AmountFormat::AmountFormat(const QString& pattern) : pattern_(pattern) {
    if (pattern == u"0"_s) {
        decimals_ = 0;
    } else if (pattern == u"0.0"_s) {
        decimals_ = 1;
    } else if (pattern == u"0.00"_s) {
        decimals_ = 2;
    }
    if (decimals_ >= 0) {
        zero_ = formatNumber(0.0, pattern);
        negativeZero_ = formatNumber(-0.0, pattern);
    }
}

QString AmountFormat::format(double value) const {
    Buffer buffer;
    QString spill;
    return format(value, buffer, spill).toString();
}

QStringView AmountFormat::format(double value, QByteArrayView text, Buffer& buffer, QString& spill) const {
    // A decimal of at most 15 significant digits comes back from its double as the same digits, so the
    // text written is the stored one when it is written the way the format writes: no leading zero but
    // the one before the point, no more decimals than the format's, not zero (zeros have their texts).
    const qsizetype n = text.size();
    if (decimals_ < 0 || value == 0 || n == 0 || n > 17) return format(value, buffer, spill);
    const char* p = text.data();
    qsizetype i = p[0] == '-' ? 1 : 0;
    if ((i == 1) != (value < 0)) return format(value, buffer, spill);
    const qsizetype integerStart = i;
    while (i < n && p[i] >= '0' && p[i] <= '9') ++i;
    const qsizetype integerDigits = i - integerStart;
    if (integerDigits == 0 || (integerDigits > 1 && p[integerStart] == '0'))
        return format(value, buffer, spill);
    qsizetype fractionDigits = 0;
    if (i < n) {
        if (p[i] != '.') return format(value, buffer, spill);
        const qsizetype fractionStart = ++i;
        while (i < n && p[i] >= '0' && p[i] <= '9') ++i;
        fractionDigits = i - fractionStart;
        if (i < n || fractionDigits == 0 || fractionDigits > decimals_) return format(value, buffer, spill);
    }
    if (integerDigits + fractionDigits > 15) return format(value, buffer, spill);
    size_t out = 0;
    for (qsizetype k = 0; k < n; ++k) buffer[out++] = char16_t(p[k]);
    if (decimals_ > 0) {
        if (fractionDigits == 0) buffer[out++] = u'.';
        for (qsizetype k = fractionDigits; k < decimals_; ++k) buffer[out++] = u'0';
    }
    return QStringView(buffer.data(), qsizetype(out));
}

QStringView AmountFormat::format(double value, Buffer& buffer, QString& spill) const {
    if (decimals_ >= 0 && value == 0) return std::signbit(value) ? negativeZero_ : zero_;
    // Non-finite values and amounts beyond 15 digits take the general path.
    if (decimals_ < 0 || !std::isfinite(value) || std::fabs(value) >= 1e15) {
        spill = formatNumber(value, pattern_);
        return spill;
    }
    // Shortest decimal digits and exponent of the magnitude: d.ddd e±x.
    std::array<char, 40> sci;
    const auto [end, ec] =
        std::to_chars(sci.data(), sci.data() + sci.size(), std::fabs(value), std::chars_format::scientific);
    if (ec != std::errc()) {
        spill = formatNumber(value, pattern_);
        return spill;
    }
    std::array<char, 40> digits;
    int count = 0;
    const char* p = sci.data();
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') digits[size_t(count++)] = *p;
    }
    int exponent = 0;
    ++p;  // past 'e'
    if (p < end && *p == '+') ++p;
    std::from_chars(p, end, exponent);

    // Digits of the whole number laid out with the point after `integerDigits` of them (leading zeros
    // added when the value is below 1), cut after `decimals_` fraction digits, and rounded on the first
    // dropped digit.
    const int integerDigits = exponent + 1;  // at most 15 here
    std::array<char, 64> all;
    int n = 0;
    if (integerDigits <= 0) {
        all[size_t(n++)] = '0';
        for (int i = 0; i < -integerDigits && n < 40; ++i) all[size_t(n++)] = '0';
        for (int i = 0; i < count && n < 40; ++i) all[size_t(n++)] = digits[size_t(i)];
    } else {
        for (int i = 0; i < count; ++i) all[size_t(n++)] = digits[size_t(i)];
        for (int i = count; i < integerDigits; ++i) all[size_t(n++)] = '0';
    }
    const int intLen = integerDigits <= 0 ? 1 : integerDigits;
    const int keep = intLen + decimals_;
    const bool up = n > keep && all[size_t(keep)] >= '5';
    while (n < keep) all[size_t(n++)] = '0';
    n = keep;
    int lead = 0;  // a carry out of the first digit
    if (up) {
        int i = n;
        while (i > 0 && all[size_t(i - 1)] == '9') all[size_t(--i)] = '0';
        if (i == 0) {
            lead = 1;
        } else {
            ++all[size_t(i - 1)];
        }
    }
    // Leading zeros of the integer part go, but one stays.
    int first = 0;
    if (!lead) {
        while (first < intLen - 1 && all[size_t(first)] == '0') ++first;
    }
    bool allZero = !lead;
    for (int i = 0; i < n && allZero; ++i) allZero = all[size_t(i)] == '0';

    size_t out = 0;
    if (value < 0 && !allZero) buffer[out++] = u'-';
    if (lead) buffer[out++] = u'1';
    for (int i = first; i < intLen; ++i) buffer[out++] = char16_t(all[size_t(i)]);
    if (decimals_ > 0) {
        buffer[out++] = u'.';
        for (int i = intLen; i < n; ++i) buffer[out++] = char16_t(all[size_t(i)]);
    }
    return QStringView(buffer.data(), qsizetype(out));
}

}  // namespace slp::data
