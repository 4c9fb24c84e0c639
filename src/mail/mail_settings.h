#pragma once
// The settings of the electronic slips: the company's SMTP server, the sender, the message templates,
// the column of the employee's address and the rule of the slip's password. They are remembered per
// unit (application unit code & "GZ", section "电子工资条"). The SMTP password is never among them:
// it is read from a file only its owner can read (secret_file.h).
#include <QString>

namespace slp::settings {
class Store;
}

namespace slp::mail {

// How the connection to the SMTP server is secured.
enum class Security {
    StartTls,  // smtp:// upgraded with STARTTLS before anything else is said (required)
    Tls,       // smtps://, TLS from the first byte
    None,      // smtp:// in clear, for a relay on the same machine
};

// The rule that makes a slip's password from the employee's row: the value of `column`, or its last
// `lastChars` characters when lastChars > 0.
struct PasswordRule {
    QString column = QStringLiteral("工号");
    int lastChars = 0;
    friend bool operator==(const PasswordRule&, const PasswordRule&) = default;
};

struct MailSettings {
    QString server;  // host[:port]; empty: not set up yet
    Security security = Security::StartTls;
    QString user;          // login name at the server; empty: no login
    QString passwordFile;  // the file holding the server password; empty: the default file
    QString caFile;        // certificates trusted besides the system's (a company's own authority)
    QString from;          // the sender, "名称 <address>" or a bare address
    QString subject;       // templates, see expandTemplate()
    QString body;
    QString addressColumn = QStringLiteral("电子邮件");  // the column of 12个人信息 holding the address
    PasswordRule password;
    int messagesPerMinute = 0;  // 0: as fast as the server takes them
    int connectSeconds = 10;    // connecting to the server gives up after this long
    int replySeconds = 60;      // a server that answers nothing this long at any step is taken as gone
    friend bool operator==(const MailSettings&, const MailSettings&) = default;
};

// The templates a first run uses.
QString defaultSubjectTemplate();
QString defaultBodyTemplate();

// The settings of `unitCode`, defaults where none are stored.
MailSettings loadMailSettings(const settings::Store& store, const QString& unitCode);
// Remembers them (every key written). Throws slp::Error when the file cannot be written.
void saveMailSettings(settings::Store& store, const QString& unitCode, const MailSettings& settings);

// The server as a URL for the mail library: smtp://host:port or smtps://host:port (default ports 587,
// 465 and 25 for STARTTLS, TLS and none).
QString serverUrl(const MailSettings& settings);
// Reads a URL given on the command line (smtp://host[:port] or smtps://host[:port]) into `settings`:
// smtps gives TLS; smtp keeps STARTTLS unless the settings say none. False for anything else.
bool applyServerUrl(const QString& url, MailSettings& settings);

// The words shown for a security and read back ("STARTTLS", "TLS", "无").
QString securityName(Security security);
Security securityFromName(const QString& name);

// "工号" or "身份证号的后6位": what the message tells the employee the password is.
QString describePasswordRule(const PasswordRule& rule);

}  // namespace slp::mail
