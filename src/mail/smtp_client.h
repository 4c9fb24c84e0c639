#pragma once
// Sending messages through an SMTP server with libcurl: one connection (one curl handle) kept open for
// many messages, secured as the settings say, with a login when a user is given.
#include <QByteArray>
#include <QString>
#include <memory>

#include "mail/mail_settings.h"

namespace slp::mail {

// What became of one message.
struct SendOutcome {
    enum Kind {
        Accepted,  // the server took the message
        Refused,   // the server refused this message or recipient; the next one may go
        Broken,    // no answer of the server for this message (connection, login, certificate): stop
    };
    Kind kind = Broken;
    QString reply;  // the server's last words, or the client's description of the fault
};

// Where messages go: the SMTP client, or a stand-in in tests.
class MailTransport {
  public:
    virtual ~MailTransport() = default;
    // Sends `message` (a whole RFC 5322 message) from `from` to `to` (bare addresses).
    virtual SendOutcome send(const QString& from, const QString& to, const QByteArray& message) = 0;
};

struct SmtpAccount {
    QString url;  // smtp://host:port or smtps://host:port
    Security security = Security::StartTls;
    QString user;             // empty: no login
    QString password;         // read from the password file; never shown
    QString caFile;           // certificates trusted besides the system's
    int timeoutSeconds = 60;  // a server silent for this long is taken as gone
};

class SmtpClient : public MailTransport {
  public:
    explicit SmtpClient(SmtpAccount account);
    ~SmtpClient() override;
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    SendOutcome send(const QString& from, const QString& to, const QByteArray& message) override;
    // Connections opened so far (1 while the server keeps the first one open).
    long connectionsOpened() const { return connections_; }

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    long connections_ = 0;
};

}  // namespace slp::mail
