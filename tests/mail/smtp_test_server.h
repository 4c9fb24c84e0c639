#pragma once
// The SMTP server of the mail tests: smtp_test_server.py (python3-aiosmtpd) on 127.0.0.1 with STARTTLS
// and AUTH on a certificate of its own, started by a test and stopped when it goes. What it received is
// read back as Python's email package decoded it.
#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace slp_test {

struct ReceivedMail {
    QJsonObject info;  // mail_from, rcpt_tos, authenticated, tls, subject, from_name, to_name, to_address,
                       // message_id, body, attachments [{filename, content_type}]
    QByteArray raw;
    std::vector<QByteArray> attachments;
};

struct SmtpServerOptions {
    QStringList refuse;  // recipients answered with 550
    int dropAt = 0;      // the connection is closed at this message's recipient (once)
    bool countOnly = false;
    double delay = 0;        // seconds before each message's answer
    int dropAfterQueue = 0;  // this message is answered 250 and the connection closed right after
    int silentAt = 0;        // this message's data is never answered
};

class SmtpTestServer {
  public:
    static constexpr const char* kUser = "payroll";
    static constexpr const char* kPassword = "s3cret-口令";

    // Starts the server; false (with why()) when python3-aiosmtpd or openssl is missing.
    bool start(const SmtpServerOptions& options = {});
    ~SmtpTestServer();
    void stop();
    const QString& why() const { return why_; }

    int port() const { return port_; }
    QString url() const { return QStringLiteral("smtp://127.0.0.1:%1").arg(port_); }
    // The server's certificate, to trust.
    const QString& caFile() const { return caFile_; }
    // A password file of mode 0600 holding the login's password.
    QString passwordFile() const;

    // The messages received so far, in order.
    std::vector<ReceivedMail> received() const;

  private:
    QTemporaryDir folder_;
    QProcess process_;
    int port_ = 0;
    QString caFile_;
    QString why_;
};

// A socket on 127.0.0.1 that listens and never answers (connections wait in its backlog); closed when
// it goes.
class MuteListener {
  public:
    MuteListener();
    ~MuteListener();
    MuteListener(const MuteListener&) = delete;
    MuteListener& operator=(const MuteListener&) = delete;
    int port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};
// A port of 127.0.0.1 that nobody listens on (one just let go).
int closedPort();

// pdftotext of a PDF's bytes (-layout), "" when it cannot be read.
QString pdfText(const QByteArray& pdf);

}  // namespace slp_test
