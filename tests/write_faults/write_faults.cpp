#include "write_faults.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace slp::test {

ChildOutcome runWithFileSizeLimit(qint64 limitBytes, const std::function<int(QString& message)>& body) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {-1, u"pipe failed"_s};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(limitBytes), rlim_t(limitBytes)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QString message;
        const int status = body(message);
        const QByteArray utf8 = message.toUtf8();
        [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], utf8.constData(), size_t(utf8.size()));
        ::_exit(status);
    }
    ::close(pipeEnds[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(buffer, n);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return {-1, u"fork failed"_s};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString::fromUtf8(text)};
}

SmallDisk::SmallDisk(qint64 bytes) {
    char pattern[] = "/tmp/slp-small-disk-XXXXXX";
    if (!::mkdtemp(pattern)) {
        why_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    path_ = QString::fromLocal8Bit(pattern);
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", pattern, "tmpfs", 0, options.constData()) != 0) {
        why_ = u"mount -t tmpfs: "_s + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
    if (!path_.isEmpty()) QDir(path_).removeRecursively();
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

}  // namespace slp::test
