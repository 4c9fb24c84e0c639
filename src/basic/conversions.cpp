#include "basic/conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp {

QStringView withoutBlanks(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ') ++b;
    while (e > b && text[e - 1] == u' ') --e;
    return text.sliced(b, e - b);
}

namespace {

// ---------------------------------------------------------------------------------------------------------
// Reading numbers

bool isValBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Blanks allowed around a whole number, a date or a True/False text.
bool isOuterBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == QChar(0x3000);
}

QStringView trimBlanks(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isOuterBlank(text[b])) ++b;
    while (e > b && isOuterBlank(text[e - 1])) --e;
    return text.mid(b, e - b);
}

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= u'0' && u <= u'9') {
        d = u - u'0';
    } else if (u >= u'a' && u <= u'f') {
        d = u - u'a' + 10;
    } else if (u >= u'A' && u <= u'F') {
        d = u - u'A' + 10;
    }
    return d < base ? d : -1;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Walks a text for the leading number. In lenient mode blanks, tabs and line feeds are skipped
// wherever they stand; in strict mode (the whole-text test) none may stand inside the number.
class NumberScanner {
  public:
    NumberScanner(QStringView text, bool lenient) : text_(text), lenient_(lenient) {}

    QChar peek() {
        if (lenient_) {
            while (pos_ < text_.size() && isValBlank(text_[pos_])) ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : QChar();
    }
    void advance() { ++pos_; }
    bool atEnd() { return peek().isNull() && pos_ >= text_.size(); }

  private:
    QStringView text_;
    bool lenient_;
    qsizetype pos_ = 0;
};

// Significant digits kept; one more non-zero digit stands for all that were dropped, which keeps the
// correctly rounded result (767 digits decide any double).
constexpr std::size_t kMaxDigits = 800;
// Beyond these powers of ten every mantissa overflows or underflows.
constexpr long long kHugeExponent = 400;
constexpr long long kExponentCap = 1'000'000'000'000LL;

long long saturatingAdd(long long a, long long b) {
    const long long s = a + b;  // both operands stay far below the type's range
    if (s > kExponentCap) return kExponentCap;
    if (s < -kExponentCap) return -kExponentCap;
    return s;
}

struct ScanResult {
    double value = 0.0;
    bool complete = false;  // a number was read and nothing follows it
};

double radixValue(NumberScanner& s, int base, bool& any) {
    double v = 0.0;
    for (int d = digitValue(s.peek(), base); d >= 0; d = digitValue(s.peek(), base)) {
        v = v * base + d;
        any = true;
        s.advance();
    }
    return v;
}

ScanResult scanNumber(QStringView text, bool lenient) {
    NumberScanner s(text, lenient);
    ScanResult r;

    if (s.peek() == u'&') {
        s.advance();
        const QChar p = s.peek();
        int base = 0;
        if (p == u'H' || p == u'h') base = 16;
        if (p == u'O' || p == u'o') base = 8;
        if (base == 0) return r;
        s.advance();
        bool any = false;
        r.value = radixValue(s, base, any);
        r.complete = any && s.atEnd();
        return r;
    }

    bool negative = false;
    if (s.peek() == u'+' || s.peek() == u'-') {
        negative = s.peek() == u'-';
        s.advance();
    }

    // Value = 0.<digits> x 10^exponent.
    std::string digits;
    bool sticky = false;
    long long exponent = 0;
    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        const QChar c = s.peek();
        if (isDigit(c)) {
            anyDigit = true;
            const char d = static_cast<char>(c.unicode());
            if (digits.empty() && d == '0') {
                if (seenPoint) exponent = saturatingAdd(exponent, -1);
            } else {
                if (digits.size() < kMaxDigits) {
                    digits.push_back(d);
                } else if (d != '0') {
                    sticky = true;
                }
                if (!seenPoint) exponent = saturatingAdd(exponent, 1);
            }
            s.advance();
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            s.advance();
        } else {
            break;
        }
    }
    if (!anyDigit) return r;

    bool exponentComplete = true;
    const QChar e = s.peek();
    if (e == u'e' || e == u'E' || e == u'd' || e == u'D') {
        s.advance();
        bool expNegative = false;
        if (s.peek() == u'+' || s.peek() == u'-') {
            expNegative = s.peek() == u'-';
            s.advance();
        }
        long long expValue = 0;
        bool expDigits = false;
        while (isDigit(s.peek())) {
            expDigits = true;
            expValue = std::min(kExponentCap, expValue * 10 + (s.peek().unicode() - u'0'));
            s.advance();
        }
        exponentComplete = expDigits;
        if (expDigits) exponent = saturatingAdd(exponent, expNegative ? -expValue : expValue);
    }
    r.complete = exponentComplete && s.atEnd();

    while (!digits.empty() && digits.back() == '0' && !sticky) digits.pop_back();
    if (digits.empty() || exponent < -kHugeExponent) return r;  // zero, never a negative zero
    if (exponent > kHugeExponent) {
        r.value =
            negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return r;
    }

    std::string literal = "0.";
    literal += digits;
    if (sticky) literal.push_back('1');
    literal += 'e';
    literal += std::to_string(exponent);
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(literal.data(), literal.data() + literal.size(), v);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        v = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        v = 0.0;
    }
    if (v == 0.0) return r;
    r.value = negative ? -v : v;
    return r;
}

// ---------------------------------------------------------------------------------------------------------
// Writing numbers

[[noreturn]] void throwNotFinite() {
    throw OverflowError(u"溢出"_s);
}

// The shortest digits that read back as the value, written out in fixed notation ("2.675",
// "100000000000000000000"; 1.5e10f gives "15000000000", not the float's exact "15000000512").
template <typename T>
std::string shortestFixed(T value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific);
    if (ec != std::errc()) throwNotFinite();  // cannot happen for finite values: the buffer holds them all
    const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const auto e = text.find('e');
    std::string out;
    std::string digits;
    for (const char c : text.substr(0, e)) {
        if (c == '-') {
            out.push_back('-');
        } else if (c != '.') {
            digits.push_back(c);
        }
    }
    int exponent = 0;
    const std::string_view expText = text.substr(e + 1);
    std::from_chars(expText.data() + (expText.front() == '+' ? 1 : 0), expText.data() + expText.size(),
                    exponent);
    const long long integerDigits = static_cast<long long>(exponent) + 1;
    const auto count = static_cast<long long>(digits.size());
    if (integerDigits <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-integerDigits), '0');
        out += digits;
    } else if (integerDigits >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(integerDigits - count), '0');
    } else {
        out += digits.substr(0, static_cast<std::size_t>(integerDigits));
        out += '.';
        out += digits.substr(static_cast<std::size_t>(integerDigits));
    }
    return out;
}

template <typename T>
QString plainText(T value) {
    if (!std::isfinite(value)) throwNotFinite();
    if (value == 0) return u"0"_s;  // also for a negative zero
    return QString::fromLatin1(shortestFixed(value));
}

// A number pattern made of '0' and '#' with at most one point.
struct NumberPattern {
    int minIntegerDigits = 0;
    int decimals = 0;
    int minDecimals = 0;
    bool point = false;
};

std::optional<NumberPattern> parseNumberPattern(QStringView pattern) {
    if (pattern.isEmpty()) return std::nullopt;
    NumberPattern p;
    int fractionPos = 0;
    for (const QChar c : pattern) {
        if (c == u'.') {
            if (p.point) return std::nullopt;
            p.point = true;
        } else if (c == u'0' || c == u'#') {
            if (p.point) {
                ++fractionPos;
                if (c == u'0') p.minDecimals = fractionPos;
            } else if (c == u'0') {
                ++p.minIntegerDigits;
            }
        } else {
            return std::nullopt;
        }
    }
    p.decimals = fractionPos;
    return p;
}

template <typename T>
QString applyNumberPattern(T value, const NumberPattern& p) {
    const std::string text = shortestFixed(value);
    bool negative = !text.empty() && text.front() == '-';
    const std::string body = negative ? text.substr(1) : text;
    const auto pointAt = body.find('.');
    std::string integer = pointAt == std::string::npos ? body : body.substr(0, pointAt);
    std::string fraction = pointAt == std::string::npos ? std::string() : body.substr(pointAt + 1);

    // Half away from zero on the decimal text: the first dropped digit decides.
    if (fraction.size() > static_cast<std::size_t>(p.decimals)) {
        const bool up = fraction[static_cast<std::size_t>(p.decimals)] >= '5';
        fraction.resize(static_cast<std::size_t>(p.decimals));
        if (up) {
            std::string all = integer + fraction;
            auto i = all.size();
            while (i > 0 && all[i - 1] == '9') all[--i] = '0';
            if (i == 0) {
                all.insert(all.begin(), '1');
            } else {
                ++all[i - 1];
            }
            integer = all.substr(0, all.size() - fraction.size());
            fraction = all.substr(all.size() - fraction.size());
        }
    }

    const auto firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
    if (integer.empty() && fraction.find_first_not_of('0') == std::string::npos) negative = false;
    if (integer.size() < static_cast<std::size_t>(p.minIntegerDigits)) {
        integer.insert(0, static_cast<std::size_t>(p.minIntegerDigits) - integer.size(), '0');
    }
    fraction.resize(static_cast<std::size_t>(p.decimals), '0');
    while (fraction.size() > static_cast<std::size_t>(p.minDecimals) && fraction.back() == '0') {
        fraction.pop_back();
    }

    std::string out = negative ? "-" : "";
    out += integer;
    if (p.point) {
        out += '.';
        out += fraction;
    }
    return QString::fromLatin1(out);
}

// ---------------------------------------------------------------------------------------------------------
// Dates

enum class DatePattern { None, YearMonthDayCompact, ShortYearMonth, YearMonthDayDashed };

DatePattern datePattern(QStringView pattern) {
    if (pattern.compare(u"yyyymmdd", Qt::CaseInsensitive) == 0) return DatePattern::YearMonthDayCompact;
    if (pattern.compare(u"yy-mm", Qt::CaseInsensitive) == 0) return DatePattern::ShortYearMonth;
    if (pattern.compare(u"yyyy-mm-dd", Qt::CaseInsensitive) == 0) return DatePattern::YearMonthDayDashed;
    return DatePattern::None;
}

// Reads 1 to maxDigits ASCII digits; -1 when there are none or too many.
int readField(QStringView text, int maxDigits) {
    if (text.isEmpty() || text.size() > maxDigits) return -1;
    int v = 0;
    for (const QChar c : text) {
        if (!isDigit(c)) return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

std::optional<QDate> makeDate(int year, int month, int day) {
    if (year < 1 || month < 1 || day < 1) return std::nullopt;
    const QDate d(year, month, day);
    if (!d.isValid()) return std::nullopt;
    return d;
}

QString zeroPadded(int value, int width) {
    return u"%1"_s.arg(value, width, 10, QChar(u'0'));
}

}  // namespace

// -------------------------------------------------------------------------------------------------------------

double leadingValue(QStringView text) {
    return scanNumber(text, true).value;
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    double r = std::round(value);  // halves away from zero; exact
    if (std::fabs(value - r) == 0.5 && std::fmod(r, 2.0) != 0.0) r -= std::copysign(1.0, value);
    return r;
}

int16_t toInt16(double value) {
    if (!std::isfinite(value)) throwNotFinite();
    const double r = roundHalfEven(value);
    if (r < -32768.0 || r > 32767.0) throwNotFinite();
    return static_cast<int16_t>(r);
}

int32_t toInt32(double value) {
    if (!std::isfinite(value)) throwNotFinite();
    const double r = roundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0) throwNotFinite();
    return static_cast<int32_t>(r);
}

int16_t toInt16(QStringView text) {
    return toInt16(leadingValue(text));
}

QString plainNumber(double value) {
    return plainText(value);
}
QString plainNumber(float value) {
    return plainText(value);
}

template <typename T>
QString formatWithPattern(T value, QStringView pattern) {
    if (!std::isfinite(value)) throwNotFinite();
    const auto p = parseNumberPattern(pattern);
    if (!p) return plainNumber(value);
    return applyNumberPattern(value, *p);
}

QString formatNumber(double value, QStringView pattern) {
    return formatWithPattern(value, pattern);
}
QString formatSingle(float value, QStringView pattern) {
    return formatWithPattern(value, pattern);
}

QString formatText(QStringView text, QStringView pattern) {
    if (datePattern(pattern) != DatePattern::None) {
        if (const auto d = parseDate(text)) return formatDate(*d, pattern);
        return text.toString();
    }
    if (isNumericText(text)) return formatNumber(leadingValue(trimBlanks(text)), pattern);
    return text.toString();
}

std::optional<QDate> parseDate(QStringView text) {
    const QStringView t = trimBlanks(text);
    if (t.size() == 8 && readField(t, 8) >= 0) {
        const int y = readField(t.first(4), 4);
        const int m = readField(t.sliced(4, 2), 2);
        const int d = readField(t.sliced(6, 2), 2);
        if (y < 0 || m < 0 || d < 0) return std::nullopt;
        return makeDate(y, m, d);
    }
    for (const char16_t sep : {u'-', u'/'}) {
        const qsizetype a = t.indexOf(QChar(sep));
        if (a < 0) continue;
        const qsizetype b = t.indexOf(QChar(sep), a + 1);
        if (b < 0 || t.indexOf(QChar(sep), b + 1) >= 0) return std::nullopt;
        if (a != 4) return std::nullopt;
        const int y = readField(t.first(a), 4);
        const int m = readField(t.sliced(a + 1, b - a - 1), 2);
        const int d = readField(t.sliced(b + 1), 2);
        if (y < 0 || m < 0 || d < 0) return std::nullopt;
        return makeDate(y, m, d);
    }
    return std::nullopt;
}

QString formatDate(const QDate& date, QStringView pattern) {
    if (!date.isValid()) return QString();
    const QString yyyy = zeroPadded(date.year(), 4);
    const QString mm = zeroPadded(date.month(), 2);
    const QString dd = zeroPadded(date.day(), 2);
    switch (datePattern(pattern)) {
        case DatePattern::YearMonthDayCompact:
            return yyyy + mm + dd;
        case DatePattern::ShortYearMonth:
            return zeroPadded(date.year() % 100, 2) + u'-' + mm;
        case DatePattern::YearMonthDayDashed:
        case DatePattern::None:
            break;
    }
    return yyyy + u'-' + mm + u'-' + dd;
}

bool isNumericText(QStringView text) {
    const QStringView t = trimBlanks(text);
    return !t.isEmpty() && scanNumber(t, false).complete;
}

std::optional<bool> toBool(QStringView text) {
    const QStringView t = trimBlanks(text);
    if (t.compare(u"true", Qt::CaseInsensitive) == 0) return true;
    if (t.compare(u"false", Qt::CaseInsensitive) == 0) return false;
    if (isNumericText(t)) return leadingValue(t) != 0.0;
    return std::nullopt;
}

QString boolText(bool value) {
    return value ? u"True"_s : u"False"_s;
}
QString flagText(bool value) {
    return value ? u"-1"_s : u"0"_s;
}
QString yesNoText(bool value) {
    return value ? u"是"_s : u"否"_s;
}
bool isYes(QStringView text) {
    return text == u"是";
}

}  // namespace slp
