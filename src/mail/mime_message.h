#pragma once
// The e-mail of one slip as the standards want it: RFC 5322 headers, Chinese subject and names as RFC
// 2047 encoded words (UTF-8, base64), a text part and the PDF attachment named in RFC 2231 form (with
// an RFC 2047 name beside it for older readers), every line CRLF-ended and under 78 characters.
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

namespace slp::mail {

// A mailbox as written in a header or a setting: "名称 <address>", "<address>" or a bare address.
struct Mailbox {
    QString name;
    QString address;
};
Mailbox parseMailbox(const QString& text);

// `text` as one or more RFC 2047 encoded words separated by folding ("\r\n "); plain printable ASCII
// without "=?" stays as it is.
QByteArray encodeHeaderText(const QString& text);
// `text` as encoded words whatever it holds.
QByteArray encodeWords(const QString& text);
// A mailbox for a header: the name as a quoted string (plain ASCII) or encoded words, then the address
// in angle brackets (its domain in ASCII form); the bare address without a name.
QByteArray encodeMailbox(const Mailbox& mailbox);

// The values a template may use: {年} {月} (without a leading zero) {单位} {姓名} {工号} {密码} (the
// description of the password rule, never the password). Unknown names stay as they are.
using TemplateValues = QHash<QString, QString>;
QString expandTemplate(const QString& text, const TemplateValues& values);

// "工资条_<yyyyMM>_<six digits>.pdf" of the month key "yyyy-MM" (or "yyyy-M"): nothing of the employee
// (the 工号 is the password on many a month). `part` is a random number (randomAttachmentPart()).
QString attachmentName(const QString& monthKey, quint32 part);
quint32 randomAttachmentPart();

struct SlipMessage {
    Mailbox from;
    Mailbox to;
    QString subject;
    QString body;  // plain text, lines separated by "\n"
    QString attachmentName;
    QByteArray pdf;
    QByteArray messageId;  // without angle brackets
    QDateTime date;
};

// A message id unique to this message: random parts and the sender's domain, nothing of the employee.
QByteArray newMessageId(const QString& fromAddress);

// The whole message, ready for the SMTP DATA phase (CRLF line ends, no dot-stuffing: the client does it).
QByteArray buildMessage(const SlipMessage& message);

}  // namespace slp::mail
