#include "settings/ini_document.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace slp::settings {

namespace {

enum class Field { Section, Key, Value };

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Characters a person would not see or an editor would mangle: C0 and C1 controls, DEL, the Unicode
// line and paragraph separators and the byte-order mark.
bool needsCodeEscape(char16_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029 || c == 0xfeff;
}

void appendCodeEscape(QString& out, char16_t c) {
    out += u"\\u"_s;
    out += QString::number(c, 16).toUpper().rightJustified(4, u'0');
}

QString escapeField(const QString& text, Field field) {
    const qsizetype n = text.size();
    qsizetype lead = 0;
    while (lead < n && text[lead] == u' ') ++lead;
    qsizetype trail = n;
    while (trail > lead && text[trail - 1] == u' ') --trail;

    QString out;
    out.reserve(n + 8);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u' ') {
            out += (i < lead || i >= trail) ? u"\\s"_s : u" "_s;
            continue;
        }
        switch (c) {
            case u'\\':
                out += u"\\\\"_s;
                continue;
            case u'\t':
                out += u"\\t"_s;
                continue;
            case u'\n':
                out += u"\\n"_s;
                continue;
            case u'\r':
                out += u"\\r"_s;
                continue;
            default:
                break;
        }
        const bool keySpecial =
            field == Field::Key && (c == u'=' || (i == 0 && (c == u';' || c == u'#' || c == u'[')));
        const bool sectionSpecial = field == Field::Section && (c == u'[' || c == u']');
        if (keySpecial || sectionSpecial) {
            out += u'\\';
            out += QChar(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out += text[i];
            out += text[i + 1];
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || needsCodeEscape(c)) {
            appendCodeEscape(out, c);
            continue;
        }
        out += QChar(c);
    }
    return out;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

std::optional<QString> unescape(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != u'\\') {
            out += s[i];
            continue;
        }
        if (i + 1 >= s.size()) return std::nullopt;
        const char16_t c = s[++i].unicode();
        switch (c) {
            case u'\\':
            case u'=':
            case u'[':
            case u']':
            case u';':
            case u'#':
                out += QChar(c);
                break;
            case u's':
                out += u' ';
                break;
            case u't':
                out += u'\t';
                break;
            case u'n':
                out += u'\n';
                break;
            case u'r':
                out += u'\r';
                break;
            case u'u': {
                if (i + 4 >= s.size()) return std::nullopt;
                int code = 0;
                for (int k = 1; k <= 4; ++k) {
                    const int d = hexDigit(s[i + k]);
                    if (d < 0) return std::nullopt;
                    code = code * 16 + d;
                }
                out += QChar(char16_t(code));
                i += 4;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

// Index of the first occurrence of `wanted` that is not escaped, or -1.
qsizetype findUnescaped(QStringView s, QChar wanted) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\') {
            ++i;
        } else if (s[i] == wanted) {
            return i;
        }
    }
    return -1;
}

QStringView trimBlanks(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.sliced(b, e - b);
}

}  // namespace

QString IniDocument::escapeSection(const QString& name) {
    return escapeField(name, Field::Section);
}
QString IniDocument::escapeKey(const QString& key) {
    return escapeField(key, Field::Key);
}
QString IniDocument::escapeValue(const QString& value) {
    return escapeField(value, Field::Value);
}

IniDocument IniDocument::parseKeepingGoodLines(const QByteArray& bytes, QList<SkippedLine>& skipped) {
    IniDocument doc;
    constexpr qsizetype kNoSection = -1;
    constexpr qsizetype kSkippedSection = -2;
    qsizetype current = kNoSection;
    int number = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0) end = bytes.size();
        const QByteArrayView raw = QByteArrayView(bytes).sliced(at, end - at);
        at = end + 1;
        ++number;
        const auto skip = [&](const char16_t* reason) {
            skipped.append({number, QString::fromUtf16(reason)});
        };
        if (raw.contains('\0')) {
            skip(u"含有NUL字符");
            continue;
        }
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(raw);
        if (decoder.hasError()) {
            skip(u"不是有效的UTF-8文本");
            continue;
        }
        QStringView line(text);
        if (line.endsWith(u'\r')) line.chop(1);
        line = trimBlanks(line);
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = findUnescaped(line.sliced(1), u']');
            const std::optional<QString> name =
                close < 0 || close + 2 != line.size() ? std::nullopt : unescape(line.sliced(1, close));
            if (!name) {
                skip(u"节名无法识别，此节的设置都被跳过");
                current = kSkippedSection;
                continue;
            }
            current = doc.sectionFor(*name);
            continue;
        }
        if (current == kSkippedSection) continue;
        const qsizetype eq = findUnescaped(line, u'=');
        if (eq < 0) {
            skip(u"既不是“[节名]”也不是“键=值”");
            continue;
        }
        if (current == kNoSection) {
            skip(u"在第一个节之前");
            continue;
        }
        const std::optional<QString> key = unescape(trimBlanks(line.first(eq)));
        const std::optional<QString> value = unescape(trimBlanks(line.sliced(eq + 1)));
        if (!key || !value) {
            skip(u"含有无法识别的转义");
            continue;
        }
        doc.set(current, *key, *value);
    }
    return doc;
}

std::optional<IniDocument> IniDocument::parse(const QByteArray& bytes) {
    QList<SkippedLine> skipped;
    IniDocument doc = parseKeepingGoodLines(bytes, skipped);
    if (!skipped.isEmpty()) return std::nullopt;
    return doc;
}

QByteArray IniDocument::serialize() const {
    QString out =
        u"; Sl_PAYPRN settings, UTF-8. A backslash escapes: \\\\ \\s (a blank at either end) "
        u"\\= \\[ \\] \\; \\# \\t \\n \\r \\uXXXX\n"_s;
    for (const Section& section : sections_) {
        out += u"\n["_s + escapeSection(section.name) + u"]\n"_s;
        for (const auto& [key, value] : section.entries) {
            out += escapeKey(key) + u'=' + escapeValue(value) + u'\n';
        }
    }
    return out.toUtf8();
}

qsizetype IniDocument::sectionFor(const QString& name) {
    const auto at = sectionIndex_.constFind(name);
    if (at != sectionIndex_.cend()) return *at;
    sectionIndex_.insert(name, sections_.size());
    sections_.append(Section{name, {}});
    return sections_.size() - 1;
}

void IniDocument::set(qsizetype index, const QString& key, const QString& value) {
    auto& entries = sections_[index].entries;
    std::pair<qsizetype, QString> id{index, key};
    const auto at = keyIndex_.constFind(id);
    if (at != keyIndex_.cend()) {
        entries[*at].second = value;
        return;
    }
    keyIndex_.insert(std::move(id), entries.size());
    entries.append({key, value});
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const auto s = sectionIndex_.constFind(section);
    if (s == sectionIndex_.cend()) return std::nullopt;
    const auto k = keyIndex_.constFind({*s, key});
    if (k == keyIndex_.cend()) return std::nullopt;
    return sections_[*s].entries[*k].second;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    set(sectionFor(section), key, value);
}

}  // namespace slp::settings
