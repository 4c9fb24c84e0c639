#pragma once
// Sending messages through an SMTP server with libcurl: one connection (one curl handle) kept open for
// many messages, secured as the settings say, with a login when a user is given.
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "mail/mail_settings.h"

namespace slp::mail {

// What became of one message.
struct SendOutcome {
    enum Kind {
        Accepted,  // the server took the message
        Refused,   // the server refused this message or recipient; the next one may go
        Broken,    // no answer of the server for this message (connection, login, certificate): stop
        Unknown,   // the whole message went out and its answer never came (stopped, connection lost)
    };
    Kind kind = Broken;
    QString reply;         // the server's last words, or the client's description of the fault
    bool started = false;  // the server heard of this message (MAIL FROM went out)
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
    int connectSeconds = 10;  // connecting gives up after this long
    int timeoutSeconds = 60;  // a server silent for this long at any step is taken as gone
    int quitSeconds = 5;      // the wait for the answer to QUIT at the end
};

class SmtpClient : public MailTransport {
  public:
    explicit SmtpClient(SmtpAccount account);
    ~SmtpClient() override;
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    SendOutcome send(const QString& from, const QString& to, const QByteArray& message) override;
    // Asked often while a message is under way (at least once a second, also while the server is
    // silent): true ends the message at once (a signal, 取消). Safe to set from any thread before send.
    void setStopCheck(std::function<bool()> stopRequested);
    // Connections opened so far (1 while the server keeps the first one open).
    long connectionsOpened() const { return connections_; }

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    long connections_ = 0;
};

}  // namespace slp::mail
