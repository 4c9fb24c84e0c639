#include "export/card_fields.h"

#include <QVarLengthArray>
#include <cmath>
#include <cstring>
#include <optional>

#include "basic/conversions.h"
#include "basic/error.h"
#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Fen of digits with at most one point ("1234.56", ".05") computed on the digits, so that no amount is
// touched by binary fractions however long it is: the whole digits and the first two decimals, leading
// zeros dropped (one kept), plus one when the third decimal is 5 or more. nullopt for any other text.
std::optional<QString> fenOfDigits(QStringView t) {
    const qsizetype point = t.indexOf(u'.');
    const QStringView whole = point < 0 ? t : t.first(point);
    const QStringView fraction = point < 0 ? QStringView() : t.sliced(point + 1);
    if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;
    for (const QChar c : whole) {
        if (!isAsciiDigit(c)) return std::nullopt;
    }
    for (const QChar c : fraction) {
        if (!isAsciiDigit(c)) return std::nullopt;
    }

    // One place in front for a carry.
    QVarLengthArray<char16_t, 48> digits(whole.size() + 3);
    char16_t* d = digits.data();
    *d++ = u'0';
    for (const QChar c : whole) *d++ = c.unicode();
    *d++ = fraction.size() > 0 ? fraction[0].unicode() : u'0';
    *d++ = fraction.size() > 1 ? fraction[1].unicode() : u'0';
    if (fraction.size() > 2 && fraction[2] >= u'5') {
        char16_t* at = d;
        while (*--at == u'9') *at = u'0';
        ++*at;
    }
    qsizetype lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == u'0') ++lead;
    return QString(reinterpret_cast<const QChar*>(digits.data() + lead), digits.size() - lead);
}

std::optional<QString> exactFen(QStringView text) {
    QStringView t = text.trimmed();
    if (t.startsWith(u'+')) t = t.sliced(1);
    return fenOfDigits(t);
}

QString fenOfValue(double value, QStringView text, const FieldRef& where) {
    const double fen = value * 100.0;
    if (!std::isfinite(value) || !std::isfinite(fen)) {
        throw OverflowError(where.describe() + quoted(text) + u"超出范围"_s);
    }
    if (value < 0) {
        throw Error(carderr::InvalidArgument, where.describe() + quoted(text) + u"不能为负数"_s);
    }
    return formatNumber(fen, u"0");
}

void requireNumber(QStringView text, const FieldRef& where) {
    if (!isNumericText(text)) throw ConversionError(where.describe() + quoted(text) + u"不是数字"_s);
}

}  // namespace

QString quoted(QStringView text) {
    return u"“"_s + visibleControls(text) + u"”"_s;
}

QString FieldRef::describe() const {
    if (row <= 0) return label;
    return u"第%1行（%2）的%3"_s.arg(QString::number(row), visibleControls(employee), label);
}

qsizetype characterCount(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    }
    return n;
}

QString leftChars(QStringView text, qsizetype n) {
    qsizetype i = 0;
    for (qsizetype k = 0; k < n && i < text.size(); ++k, ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    }
    return text.first(i).toString();
}

QString trimBlanks(QStringView text) {
    return withoutBlanks(text).toString();
}

QString padRight(QStringView text, qsizetype width) {
    const qsizetype n = characterCount(text);
    return n >= width ? text.toString() : text.toString() + QString(width - n, u' ');
}

QString padLeft(QStringView text, qsizetype width) {
    const qsizetype n = characterCount(text);
    return n >= width ? text.toString() : QString(width - n, u' ') + text.toString();
}

QString zeroPad(const QString& digits, qsizetype width) {
    return digits.size() >= width ? digits : QString(width - digits.size(), u'0') + digits;
}

QString headerDigits(const QString& digits, qsizetype width, QStringView typed, const FieldRef& where) {
    if (digits.size() > width) {
        throw Error(carderr::InvalidArgument,
                    where.describe() + quoted(typed) +
                        u"写入文件有%1位，超出该栏的%2位"_s.arg(digits.size()).arg(width));
    }
    return zeroPad(digits, width);
}

QString fenOfAmount(QStringView text, const FieldRef& where) {
    if (isPlainDecimal(text)) return *fenOfDigits(text);
    requireNumber(text, where);
    if (auto fen = exactFen(text)) return *fen;
    return fenOfValue(leadingValue(text), text, where);
}

QString fenOfLeadingValue(QStringView text, const FieldRef& where) {
    if (auto fen = exactFen(text)) return *fen;
    return fenOfValue(leadingValue(text), text, where);
}

QString formatCount(QStringView text, QStringView zeroPattern, const FieldRef& where) {
    requireNumber(text, where);
    const double value = leadingValue(text);
    if (!std::isfinite(value)) throw OverflowError(where.describe() + quoted(text) + u"超出范围"_s);
    if (value < 0) {
        throw Error(carderr::InvalidArgument, where.describe() + quoted(text) + u"不能为负数"_s);
    }
    return formatNumber(value, zeroPattern);
}

QString formatCreditDate(QStringView text) {
    if (const auto date = parseDate(text)) return formatDate(*date, u"yyyymmdd");
    return text.toString();
}

void requireRoom(qsizetype spare, QStringView text, const FieldRef& where, const QString& room) {
    if (spare >= 0) return;
    throw Error(carderr::InvalidArgument,
                where.describe() + quoted(text) + u"太长，"_s + where.label + u"栏只有"_s + room);
}

void CardFileBuilder::put(QStringView text, const FieldRef& where) {
    const qsizetype control = firstControlCharacter(text);
    if (control >= 0) {
        const QChar c = text[control];
        if (c == u'\r' || c == u'\n') {
            throw Error(carderr::InvalidArgument,
                        where.describe() + quoted(text) + u"含有换行符，无法写成一行"_s);
        }
        throw Error(carderr::InvalidArgument, where.describe() + quoted(text) + u"含有控制字符"_s +
                                                  visibleControls(QStringView(&c, 1)) +
                                                  u"，无法写入工资卡文件"_s);
    }
    if (const auto failure = encoder_.encode(text, bytes_)) {
        const QString character = QString::fromUcs4(&failure->character, 1);
        const QString code =
            QString::number(static_cast<uint>(failure->character), 16).toUpper().rightJustified(4, u'0');
        throw Error(carderr::InvalidArgument, where.describe() + quoted(text) + u"含有GBK编码中没有的字符"_s +
                                                  quoted(character) + u"（U+"_s + code +
                                                  u"），无法写入工资卡文件"_s);
    }
}

void CardFileBuilder::putInField(QStringView text, qsizetype fieldBytes, const FieldRef& where,
                                 const QString& room) {
    const qsizetype at = bytes_.size();
    put(text, where);
    const qsizetype spare = fieldBytes - (bytes_.size() - at);
    if (spare < 0) bytes_.truncate(at);
    requireRoom(spare, text, where, room);
    putBlanks(spare);
}

void CardFileBuilder::putAscii(QStringView text) {
    // As toLatin1() would write it, without the intermediate array.
    const qsizetype at = bytes_.size();
    bytes_.resize(at + text.size());
    char* out = bytes_.data() + at;
    for (const QChar c : text) *out++ = c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?';
}

bool isPrintableAscii(QStringView text) {
    for (const QChar c : text) {
        if (c < u' ' || c > u'~') return false;
    }
    return true;
}

bool isPlainDecimal(QStringView text) {
    bool digit = false;
    bool point = false;
    for (const QChar c : text) {
        if (isAsciiDigit(c)) {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

void CardFileBuilder::putZeroPadded(QStringView digits, qsizetype width) {
    static constexpr char16_t zeros[] = u"0000000000000";
    if (digits.size() < width) putAscii(QStringView(zeros, width - digits.size()));
    putAscii(digits);
}

void CardFileBuilder::putZeroPadded(int number, qsizetype width) {
    char16_t digits[16];
    qsizetype n = 0;
    for (unsigned v = static_cast<unsigned>(number); n == 0 || v > 0; v /= 10)
        digits[15 - n++] = u'0' + v % 10;
    putZeroPadded(QStringView(digits + 16 - n, n), width);
}

void CardFileBuilder::putBlanks(qsizetype count) {
    if (count <= 0) return;
    const qsizetype at = bytes_.size();
    bytes_.resize(at + count);
    std::memset(bytes_.data() + at, ' ', size_t(count));
}

void CardFileBuilder::endLine() {
    const qsizetype at = bytes_.size();
    bytes_.resize(at + 2);
    bytes_.data()[at] = '\r';
    bytes_.data()[at + 1] = '\n';
}

}  // namespace slp::bank
