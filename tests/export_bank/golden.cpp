#include "golden.h"

#include <QFile>
#include <QStringEncoder>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace slp::bank::test {

namespace {

[[noreturn]] void broken(const QString& why) {
    throw std::runtime_error(why.toStdString());
}

QByteArray gbk(const QString& text) {
    QStringEncoder encoder("GBK");
    if (!encoder.isValid()) broken(u"no GBK codec in Qt"_s);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) broken(u"not in GBK: "_s + text);
    return bytes;
}

}  // namespace

QByteArray parseGolden(const QString& notation) {
    QByteArray out;
    QString pending;
    auto flush = [&] {
        out += gbk(pending);
        pending.clear();
    };
    bool lineStart = true;
    for (qsizetype i = 0; i < notation.size(); ++i) {
        const QChar c = notation[i];
        if (lineStart && c == u'#') {
            while (i < notation.size() && notation[i] != u'\n') ++i;
            continue;
        }
        lineStart = c == u'\n';
        if (c == u'\n' || c == u'\r' || c == u'|') continue;
        if (c == u'{') {
            const qsizetype close = notation.indexOf(u'}', i);
            bool ok = false;
            const int n = close < 0 ? 0 : notation.mid(i + 1, close - i - 1).toInt(&ok);
            if (!ok || n <= 0) broken(u"bad {n} at "_s + QString::number(i));
            pending += QString(n, u' ');
            i = close;
            continue;
        }
        if (c == u'\\') {
            if (i + 1 >= notation.size()) broken(u"lone backslash"_s);
            const QChar e = notation[++i];
            if (e == u'r' || e == u'n') {
                flush();
                out += e == u'r' ? '\r' : '\n';
            } else if (e == u'x') {
                bool ok = false;
                const int b = notation.mid(i + 1, 2).toInt(&ok, 16);
                if (!ok) broken(u"bad \\x at "_s + QString::number(i));
                flush();
                out += static_cast<char>(b);
                i += 2;
            } else if (e == u'\\' || e == u'|' || e == u'{' || e == u'#') {
                pending += e;
            } else {
                broken(u"unknown escape \\"_s + e);
            }
            continue;
        }
        pending += c;
    }
    flush();
    return out;
}

QByteArray goldenBytes(const QString& fileName) {
    QFile file(QStringLiteral(SLP_TEST_DATA_DIR) + u"/bank/"_s + fileName);
    if (!file.open(QIODevice::ReadOnly)) broken(u"cannot read "_s + file.fileName());
    return parseGolden(QString::fromUtf8(file.readAll()));
}

std::string showBytes(const QByteArray& bytes) {
    std::string s;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x20 && b < 0x7f && b != '\\') {
            s += static_cast<char>(b);
        } else if (b == '\n') {
            s += "\\n\n";
        } else {
            static const char* hex = "0123456789ABCDEF";
            s += "\\x";
            s += hex[b >> 4];
            s += hex[b & 15];
        }
    }
    return s;
}

}  // namespace slp::bank::test
