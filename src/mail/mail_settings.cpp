#include "mail/mail_settings.h"

#include <QUrl>

#include "settings/store.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

namespace {
const QString kSection = u"电子工资条"_s;

// Line breaks of a template are kept in the one-line INI value as "\n" (and a backslash as "\\").
QString escapeLines(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\\') {
            out += u"\\\\"_s;
        } else if (c == u'\n') {
            out += u"\\n"_s;
        } else if (c != u'\r') {
            out += c;
        }
    }
    return out;
}

QString unescapeLines(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == u'n' ? QChar(u'\n') : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

int defaultPort(Security security) {
    switch (security) {
        case Security::Tls:
            return 465;
        case Security::None:
            return 25;
        case Security::StartTls:
            break;
    }
    return 587;
}
}  // namespace

QString defaultSubjectTemplate() {
    return u"{年}年{月}月工资条"_s;
}

QString defaultBodyTemplate() {
    return u"{姓名}：\n\n您好！附件是您{年}年{月}月的工资条（PDF文件），打开密码为您的{密码}。\n\n{单位}"_s;
}

MailSettings loadMailSettings(const settings::Store& store, const QString& unitCode) {
    const QString app = settings::appUnitGZ(unitCode);
    const auto read = [&](const QString& key, const QString& def) {
        return store.read(app, kSection, key, def);
    };
    MailSettings s;
    s.server = read(u"SMTP服务器"_s, QString());
    s.security = securityFromName(read(u"安全连接"_s, securityName(Security::StartTls)));
    s.user = read(u"用户名"_s, QString());
    s.passwordFile = read(u"密码文件"_s, QString());
    s.caFile = read(u"证书文件"_s, QString());
    s.from = read(u"发件人"_s, QString());
    s.subject = unescapeLines(read(u"邮件主题"_s, defaultSubjectTemplate()));
    s.body = unescapeLines(read(u"邮件正文"_s, escapeLines(defaultBodyTemplate())));
    s.addressColumn = read(u"邮箱列"_s, s.addressColumn);
    s.password.column = read(u"密码列"_s, s.password.column);
    s.password.lastChars = std::max(0, read(u"密码位数"_s, u"0"_s).toInt());
    s.messagesPerMinute = std::max(0, read(u"每分钟封数"_s, u"0"_s).toInt());
    const int connect = read(u"连接超时秒数"_s, u"10"_s).toInt();
    const int reply = read(u"应答超时秒数"_s, u"60"_s).toInt();
    s.connectSeconds = connect > 0 ? std::min(connect, 600) : 10;
    s.replySeconds = reply > 0 ? std::min(reply, 3600) : 60;
    return s;
}

void saveMailSettings(settings::Store& store, const QString& unitCode, const MailSettings& s) {
    const QString app = settings::appUnitGZ(unitCode);
    const auto write = [&](const QString& key, const QString& value) {
        store.write(app, kSection, key, value);
    };
    write(u"SMTP服务器"_s, s.server);
    write(u"安全连接"_s, securityName(s.security));
    write(u"用户名"_s, s.user);
    write(u"密码文件"_s, s.passwordFile);
    write(u"证书文件"_s, s.caFile);
    write(u"发件人"_s, s.from);
    write(u"邮件主题"_s, escapeLines(s.subject));
    write(u"邮件正文"_s, escapeLines(s.body));
    write(u"邮箱列"_s, s.addressColumn);
    write(u"密码列"_s, s.password.column);
    write(u"密码位数"_s, QString::number(s.password.lastChars));
    write(u"每分钟封数"_s, QString::number(s.messagesPerMinute));
    write(u"连接超时秒数"_s, QString::number(s.connectSeconds));
    write(u"应答超时秒数"_s, QString::number(s.replySeconds));
}

QString serverUrl(const MailSettings& s) {
    QString host = s.server.trimmed();
    if (!host.contains(u':')) host += u':' + QString::number(defaultPort(s.security));
    return (s.security == Security::Tls ? u"smtps://"_s : u"smtp://"_s) + host;
}

bool applyServerUrl(const QString& text, MailSettings& s) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"smtp"_s && scheme != u"smtps"_s)) return false;
    if (!url.path().isEmpty() && url.path() != u"/"_s) return false;
    if (scheme == u"smtps"_s) {
        s.security = Security::Tls;
    } else if (s.security == Security::Tls) {
        s.security = Security::StartTls;
    }
    s.server = url.host() + (url.port() > 0 ? u':' + QString::number(url.port()) : QString());
    return true;
}

QString securityName(Security security) {
    switch (security) {
        case Security::Tls:
            return u"TLS"_s;
        case Security::None:
            return u"无"_s;
        case Security::StartTls:
            break;
    }
    return u"STARTTLS"_s;
}

Security securityFromName(const QString& name) {
    if (name == u"TLS"_s) return Security::Tls;
    if (name == u"无"_s) return Security::None;
    return Security::StartTls;
}

QString describePasswordRule(const PasswordRule& rule) {
    if (rule.lastChars <= 0) return rule.column;
    return rule.column + u"的后"_s + QString::number(rule.lastChars) + u"位"_s;
}

}  // namespace slp::mail
