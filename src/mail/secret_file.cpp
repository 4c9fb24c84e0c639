#include "mail/secret_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

QString defaultPasswordFile(const QString& settingsFolder) {
    return QDir(settingsFolder).filePath(u"smtp-password"_s);
}

QString readPasswordFile(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray name = QFile::encodeName(path);
    // A pipe or a device is refused before it is opened: opening a FIFO would wait for a writer.
    struct stat before {};
    if (::stat(name.constData(), &before) == 0 && !S_ISREG(before.st_mode)) {
        throw Error(errnum::PermissionDenied,
                    u"密码文件“"_s + shown + u"”不是普通文件（管道、设备或文件夹），未读取"_s);
    }
    // Opened without waiting and checked again on the open file, so the file checked is the file read.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        throw Error(
            error == ENOENT ? errnum::FileNotFound : errnum::PermissionDenied,
            u"无法读取密码文件“"_s + shown + u"”（"_s + QString::fromLocal8Bit(strerror(error)) + u"）"_s);
    }
    struct stat info {};
    QByteArray content;
    bool safe = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 077) == 0;
    if (safe) {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && content.size() < 65536)
            content.append(buffer, n);
    }
    ::close(fd);
    if (!safe) {
        throw Error(errnum::PermissionDenied,
                    u"密码文件“"_s + shown + u"”须为只有本人可读写的普通文件（权限0600），未读取"_s);
    }
    const qsizetype end = content.indexOf('\n');
    QByteArray line = end >= 0 ? content.left(end) : content;
    if (line.endsWith('\r')) line.chop(1);
    return QString::fromUtf8(line);
}

}  // namespace slp::mail
