#include "basic/host_text.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace slp {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isPlainName(QStringView name) {
    if (name.isEmpty()) return false;
    bool first = true;
    for (const uint code : name.toUcs4()) {
        const bool digit = code >= U'0' && code <= U'9';
        if (first && digit) return false;
        first = false;
        if (code == U'_' || digit) continue;
        if (!QChar::isLetterOrNumber(char32_t(code))) return false;
    }
    return true;
}

}  // namespace

bool isWorkMonthText(QStringView text) {
    if (text.size() < 6 || text.size() > 7 || text[4] != u'-') return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i != 4 && !isAsciiDigit(text[i])) return false;
    }
    return true;
}

qsizetype firstControlCharacter(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isControlCharacter(text[i])) return i;
    }
    return -1;
}

QString visibleControls(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControlCharacter(c)) {
            out += u"\\x"_s + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        } else {
            out += c;
        }
    }
    return out;
}

QString sqlTextLiteral(QStringView text) {
    QString out = text.toString();
    out.replace(u'\'', u"''"_s);
    return u'\'' + out + u'\'';
}

QString sqlBracketed(QStringView name) {
    QString out = name.toString();
    out.replace(u']', u"]]"_s);
    return u'[' + out + u']';
}

QString sqlAlias(QStringView name) {
    return isPlainName(name) ? name.toString() : sqlBracketed(name);
}

}  // namespace slp
