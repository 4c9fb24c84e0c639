#include "mail/mime_message.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTimeZone>
#include <QUrl>

#include "mail/address.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

namespace {
// UTF-8 bytes of one encoded word at most: 45 bytes are 60 base64 characters, which with "=?UTF-8?B?"
// and "?=" stay under the 75 an encoded word may have.
constexpr qsizetype kWordBytes = 45;

bool isPlainHeaderText(const QString& text) {
    if (text.contains(u"=?"_s)) return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    }
    return text.size() <= 60;
}

void appendWrappedBase64(QByteArray& out, const QByteArray& data) {
    const QByteArray encoded = data.toBase64();
    for (qsizetype i = 0; i < encoded.size(); i += 76) {
        out += encoded.mid(i, 76);
        out += "\r\n";
    }
}

QByteArray percentEncodedUtf8(const QString& text) {
    return QUrl::toPercentEncoding(text, QByteArray(), QByteArray("'()*"));
}

QByteArray rfc5322Date(const QDateTime& when) {
    const QLocale c = QLocale::c();
    const int offset = when.offsetFromUtc() / 60;
    const QString zone = (offset < 0 ? u"-"_s : u"+"_s) +
                         QString::number(std::abs(offset) / 60).rightJustified(2, u'0') +
                         QString::number(std::abs(offset) % 60).rightJustified(2, u'0');
    return (c.toString(when, u"ddd, dd MMM yyyy HH:mm:ss "_s) + zone).toLatin1();
}
}  // namespace

Mailbox parseMailbox(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype open = t.lastIndexOf(u'<');
    if (open >= 0 && t.endsWith(u'>')) {
        QString name = t.left(open).trimmed();
        if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
            name = name.mid(1, name.size() - 2);
        return {name, t.mid(open + 1, t.size() - open - 2).trimmed()};
    }
    return {QString(), t};
}

QByteArray encodeHeaderText(const QString& text) {
    if (isPlainHeaderText(text)) return text.toLatin1();
    return encodeWords(text);
}

QByteArray encodeWords(const QString& text) {
    QByteArray out;
    QByteArray word;
    const auto flush = [&] {
        if (word.isEmpty()) return;
        if (!out.isEmpty()) out += "\r\n ";
        out += "=?UTF-8?B?" + word.toBase64() + "?=";
        word.clear();
    };
    // Whole characters only: an encoded word never splits a character's bytes.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, length).toUtf8();
        if (word.size() + bytes.size() > kWordBytes) flush();
        word += bytes;
        i += length;
    }
    flush();
    return out;
}

QByteArray encodeMailbox(const Mailbox& mailbox) {
    const QByteArray address = wireAddress(mailbox.address).toUtf8();
    // Line breaks and other controls have no place in a name.
    QString name;
    for (const QChar c : mailbox.name) name += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    name = name.simplified();
    if (name.isEmpty()) return address;
    // A plain name is a quoted string, so that commas, angle brackets and parentheses in it stay part
    // of the name; anything else is encoded words, which carry no specials at all.
    QByteArray shown;
    if (isPlainHeaderText(name)) {
        QByteArray quoted = name.toLatin1();
        quoted.replace('\\', "\\\\");
        quoted.replace('"', "\\\"");
        shown = '"' + quoted + '"';
    } else {
        shown = encodeWords(name);
    }
    return shown + " <" + address + ">";
}

QString expandTemplate(const QString& text, const TemplateValues& values) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'{') {
            const qsizetype close = text.indexOf(u'}', i + 1);
            if (close > i) {
                const QString name = text.mid(i + 1, close - i - 1);
                const auto value = values.constFind(name);
                if (value != values.constEnd()) {
                    out += *value;
                    i = close;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

QString attachmentName(const QString& monthKey, quint32 part) {
    const QString year = monthKey.section(u'-', 0, 0);
    const QString month = monthKey.section(u'-', 1, 1).rightJustified(2, u'0');
    return u"工资条_"_s + year + month + u'_' + QString::number(part % 1000000u).rightJustified(6, u'0') +
           u".pdf"_s;
}

quint32 randomAttachmentPart() {
    return QRandomGenerator::system()->bounded(1000000u);
}

QByteArray newMessageId(const QString& fromAddress) {
    QString domain = wireAddress(fromAddress).section(u'@', 1);
    if (domain.isEmpty()) domain = u"localhost"_s;
    QRandomGenerator* random = QRandomGenerator::system();
    return "slip." + QByteArray::number(random->generate64(), 36) + '.' +
           QByteArray::number(random->generate64(), 36) + '@' + domain.toUtf8();
}

QByteArray buildMessage(const SlipMessage& m) {
    const QByteArray boundary = "=_slip_" + QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    QByteArray out;
    out += "From: " + encodeMailbox(m.from) + "\r\n";
    out += "To: " + encodeMailbox(m.to) + "\r\n";
    out += "Subject: " + encodeHeaderText(m.subject) + "\r\n";
    out += "Date: " + rfc5322Date(m.date) + "\r\n";
    out += "Message-ID: <" + m.messageId + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n";
    out += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    QString body = m.body;
    body.replace(u"\r\n"_s, u"\n"_s);
    body.replace(u'\n', u"\r\n"_s);
    appendWrappedBase64(out, body.toUtf8());
    out += "--" + boundary + "\r\n";
    out += "Content-Type: application/pdf;\r\n name=\"" +
           encodeHeaderText(m.attachmentName).replace("\r\n ", " ") + "\"\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment;\r\n filename*=UTF-8''" + percentEncodedUtf8(m.attachmentName) +
           "\r\n\r\n";
    appendWrappedBase64(out, m.pdf);
    out += "--" + boundary + "--\r\n";
    return out;
}

}  // namespace slp::mail
