#include "mail/address.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace slp::mail {

namespace {

// The characters of an atom besides letters and digits (RFC 5322 atext).
bool isAtomText(QChar c) {
    if (c.unicode() >= 0x80) return false;
    if (c.isLetterOrNumber()) return true;
    return QStringView(u"!#$%&'*+-/=?^_`{|}~").contains(c);
}

bool refuse(QString* fault, const QString& why) {
    if (fault) *fault = why;
    return false;
}

bool checkLocalPart(const QString& local, QString* fault) {
    if (local.isEmpty()) return refuse(fault, u"“@”前没有用户名"_s);
    if (local.size() > 64) return refuse(fault, u"“@”前的用户名超过64个字符"_s);
    if (local.startsWith(u'.') || local.endsWith(u'.') || local.contains(u".."_s))
        return refuse(fault, u"用户名中的“.”位置不对"_s);
    for (const QChar c : local) {
        if (c != u'.' && !isAtomText(c)) return refuse(fault, u"用户名中有不能用的字符“"_s + c + u"”"_s);
    }
    return true;
}

bool checkDomain(const QString& domain, QString* fault) {
    if (domain.isEmpty()) return refuse(fault, u"“@”后没有域名"_s);
    const QByteArray ace = QUrl::toAce(domain);
    if (ace.isEmpty() || ace.size() > 253) return refuse(fault, u"域名“"_s + domain + u"”无效"_s);
    const QList<QByteArray> labels = ace.split('.');
    if (labels.size() < 2) return refuse(fault, u"域名“"_s + domain + u"”不完整"_s);
    for (const QByteArray& label : labels) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith('-') || label.endsWith('-'))
            return refuse(fault, u"域名“"_s + domain + u"”无效"_s);
        for (const char c : label) {
            const bool ok =
                (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
            if (!ok) return refuse(fault, u"域名“"_s + domain + u"”无效"_s);
        }
    }
    return true;
}

bool hasControl(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

}  // namespace

QString checkAddress(const QString& text, QString* fault) {
    const QString address = text.trimmed();
    if (address.isEmpty()) {
        refuse(fault, u"没有地址"_s);
        return QString();
    }
    for (const QChar c : address) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            refuse(fault, u"“"_s + address + u"”不是一个地址（含空白或控制字符）"_s);
            return QString();
        }
    }
    if (address.contains(u'<') || address.contains(u'>') || address.contains(u',') ||
        address.contains(u';')) {
        refuse(fault, u"“"_s + address + u"”不是一个地址（只写一个地址本身，不带名称、不写多个）"_s);
        return QString();
    }
    const qsizetype at = address.lastIndexOf(u'@');
    if (at < 0 || address.indexOf(u'@') != at) {
        refuse(fault, u"“"_s + address + u"”不是一个地址（应有一个“@”）"_s);
        return QString();
    }
    QString why;
    if (!checkLocalPart(address.left(at), &why) || !checkDomain(address.mid(at + 1), &why)) {
        refuse(fault, u"“"_s + address + u"”不是有效的地址（"_s + why + u"）"_s);
        return QString();
    }
    return address;
}

QString wireAddress(const QString& address) {
    const qsizetype at = address.lastIndexOf(u'@');
    if (at < 0) return address;
    return address.left(at + 1) + QString::fromLatin1(QUrl::toAce(address.mid(at + 1)));
}

std::optional<Mailbox> parseSender(const QString& text, QString* fault) {
    if (hasControl(text)) {
        refuse(fault, u"发件人中有换行或控制字符"_s);
        return std::nullopt;
    }
    const QString t = text.trimmed();
    Mailbox box;
    const qsizetype open = t.indexOf(u'<');
    if (open >= 0) {
        if (!t.endsWith(u'>') || t.indexOf(u'>') != t.size() - 1 || t.lastIndexOf(u'<') != open) {
            refuse(fault, u"发件人应写成“名称 <地址>”或只写地址"_s);
            return std::nullopt;
        }
        QString name = t.left(open).trimmed();
        if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"')) {
            name = name.mid(1, name.size() - 2);
            name.replace(u"\\\""_s, u"\""_s);
            name.replace(u"\\\\"_s, u"\\"_s);
        } else if (name.contains(u'"')) {
            refuse(fault, u"发件人的名称中引号不成对"_s);
            return std::nullopt;
        }
        box.name = name;
        box.address = t.mid(open + 1, t.size() - open - 2).trimmed();
    } else {
        box.address = t;
    }
    QString why;
    if (checkAddress(box.address, &why).isEmpty()) {
        refuse(fault, u"发件人地址无效："_s + why);
        return std::nullopt;
    }
    return box;
}

}  // namespace slp::mail
