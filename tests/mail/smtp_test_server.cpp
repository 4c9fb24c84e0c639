#include "smtp_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace slp_test {

bool SmtpTestServer::start(const SmtpServerOptions& options) {
    // Debian's python3 (with python3-aiosmtpd), not one first on PATH.
    const QString python = QFile::exists(u"/usr/bin/python3"_s) ? u"/usr/bin/python3"_s : u"python3"_s;
    QStringList args{QStringLiteral(SLP_MAIL_TEST_DIR) + u"/smtp_test_server.py"_s, u"--dir"_s,
                     folder_.path()};
    for (const QString& r : options.refuse) args << u"--refuse"_s << r;
    if (options.dropAt > 0) args << u"--drop-at"_s << QString::number(options.dropAt);
    if (options.countOnly) args << u"--count-only"_s;
    if (options.delay > 0) args << u"--delay"_s << QString::number(options.delay);
    if (options.dropAfterQueue > 0)
        args << u"--drop-after-queue"_s << QString::number(options.dropAfterQueue);
    if (options.silentAt > 0) args << u"--silent-at"_s << QString::number(options.silentAt);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(python, args);
    if (!process_.waitForStarted(10000)) {
        why_ = u"python3 does not start"_s;
        return false;
    }
    QByteArray out;
    while (!out.contains('\n') && process_.state() == QProcess::Running) {
        process_.waitForReadyRead(30000);
        out += process_.readAllStandardOutput();
    }
    const QList<QByteArray> words = out.trimmed().split(' ');
    if (words.size() != 3 || words[0] != "READY") {
        why_ = u"the test SMTP server did not start (python3-aiosmtpd, openssl): "_s +
               QString::fromUtf8(out + process_.readAllStandardError());
        stop();
        return false;
    }
    port_ = words[1].toInt();
    caFile_ = QString::fromUtf8(words[2]);
    return true;
}

SmtpTestServer::~SmtpTestServer() {
    stop();
}

void SmtpTestServer::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString SmtpTestServer::passwordFile() const {
    const QString path = folder_.filePath(u"smtp-password"_s);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(QByteArray(kPassword) + '\n');
        file.close();
    }
    ::chmod(QFile::encodeName(path).constData(), 0600);
    return path;
}

std::vector<ReceivedMail> SmtpTestServer::received() const {
    std::vector<ReceivedMail> mails;
    const QDir dir(folder_.path());
    for (const QString& name : dir.entryList({u"*.json"_s}, QDir::Files, QDir::Name)) {
        ReceivedMail mail;
        QFile json(dir.filePath(name));
        if (!json.open(QIODevice::ReadOnly)) continue;
        mail.info = QJsonDocument::fromJson(json.readAll()).object();
        const QString stem = name.chopped(5);
        QFile raw(dir.filePath(stem + u".eml"_s));
        if (raw.open(QIODevice::ReadOnly)) mail.raw = raw.readAll();
        for (int k = 1;; ++k) {
            QFile part(dir.filePath(stem + u"-%1.bin"_s.arg(k)));
            if (!part.open(QIODevice::ReadOnly)) break;
            mail.attachments.push_back(part.readAll());
        }
        mails.push_back(std::move(mail));
    }
    return mails;
}

namespace {
int boundSocket(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}
}  // namespace

MuteListener::MuteListener() {
    fd_ = boundSocket(&port_);
    if (fd_ >= 0) ::listen(fd_, 16);
}

MuteListener::~MuteListener() {
    if (fd_ >= 0) ::close(fd_);
}

int closedPort() {
    int port = 0;
    const int fd = boundSocket(&port);
    if (fd >= 0) ::close(fd);
    return port;
}

QString pdfText(const QByteArray& pdf) {
    QTemporaryFile file;
    if (!file.open()) return QString();
    file.write(pdf);
    file.flush();
    QProcess p;
    p.start(u"pdftotext"_s, {u"-layout"_s, file.fileName(), u"-"_s});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace slp_test
