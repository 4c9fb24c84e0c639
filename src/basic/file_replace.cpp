#include "basic/file_replace.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace slp {

namespace {

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

int openNew(const QByteArray& path, mode_t mode) {
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool syncFolder(const QString& folder) {
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync a folder
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return ok;
}

}  // namespace

QString systemReason(int errorNumber) {
    switch (errorNumber) {
        case ENOSPC:
            return u"磁盘空间不足"_s;
        case EDQUOT:
            return u"超出磁盘限额"_s;
        case EFBIG:
            return u"文件过大"_s;
        case EACCES:
            return u"权限不够"_s;
        case EPERM:
            return u"不允许的操作"_s;
        case EROFS:
            return u"只读文件系统"_s;
        case ENOENT:
            return u"没有那个文件或目录"_s;
        case ENOTDIR:
            return u"不是目录"_s;
        case EISDIR:
            return u"是一个目录"_s;
        case EIO:
            return u"输入/输出错误"_s;
        case ENAMETOOLONG:
            return u"文件名过长"_s;
        case EMFILE:
        case ENFILE:
            return u"打开的文件过多"_s;
        case EBUSY:
            return u"设备或资源忙"_s;
        case EXDEV:
            return u"无效的跨设备链接"_s;
        case EPIPE:
            return u"断开的管道"_s;
        default:
            return QString::fromLocal8Bit(std::strerror(errorNumber));
    }
}

QString notARegularFile() {
    return u"这不是普通文件"_s;
}

int errorNumberOf(int errorNumber) {
    switch (errorNumber) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return errnum::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS:
            return errnum::PermissionDenied;
        case ENOENT:
        case ENOTDIR:
            return errnum::PathNotFound;
        default:
            return errnum::DeviceIo;
    }
}

bool writeAll(int fd, QByteArrayView bytes) {
    const char* at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {  // the system took nothing and said nothing: count it as a full disk
            errno = ENOSPC;
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

FileReplacement::FileReplacement(const QString& target) {
    const QFileInfo link(target);
    target_ = link.isSymLink() && link.exists() ? link.canonicalFilePath() : link.absoluteFilePath();
    const QFileInfo info(target_);
    if (info.isDir()) throw FileWriteError(EISDIR, systemReason(EISDIR));

    // A replaced file keeps its permissions; a new one gets what the user's file mask allows.
    mode_t mode = 0666;
    struct stat existing {};
    const bool replacing = ::stat(encoded(target_).constData(), &existing) == 0;
    // A pipe, a device or a socket is not replaced by a plain file.
    if (replacing && !S_ISREG(existing.st_mode)) throw FileWriteError(EINVAL, notARegularFile());
    if (replacing) mode = existing.st_mode & 07777;

    const QString stem = info.absolutePath() + u"/.~"_s + info.fileName() + u'.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate =
            stem + QString::number(QRandomGenerator::global()->generate() % 0xFFFFFFu, 36).toUpper();
        // Tracked before it is created, so a signal never finds the file untracked; a name that
        // turns out to be taken is let go at once.
        TrackedTemporary tracked(encoded(candidate));
        fd_ = openNew(encoded(candidate), mode);
        if (fd_ >= 0) {
            temporary_ = candidate;
            tracked_ = std::move(tracked);
            break;
        }
        if (errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int e = errno;
        throw FileWriteError(e, systemReason(e));
    }
    // The file mask would narrow a replaced file's permissions: give them back as they were.
    if (replacing && ::fchmod(fd_, mode) != 0) fail(errno);
}

FileReplacement::~FileReplacement() {
    if (!done_) discard();
}

void FileReplacement::fail(int systemError) {
    discard();
    throw FileWriteError(systemError, systemReason(systemError));
}

void FileReplacement::write(QByteArrayView bytes) {
    if (fd_ < 0) fail(EBADF);
    if (!writeAll(fd_, bytes)) fail(errno);
}

void FileReplacement::close() {
    if (fd_ < 0) return;
    const int rc = ::close(fd_);
    fd_ = -1;
    // A file system that writes on close (NFS) reports a full disk here.
    if (rc != 0 && errno != EINTR) fail(errno);
}

void FileReplacement::syncTemporary() {
    if (done_) fail(EBADF);
    if (fd_ < 0) {
        do {
            fd_ = ::open(encoded(temporary_).constData(), O_RDWR | O_CLOEXEC);
        } while (fd_ < 0 && errno == EINTR);
        if (fd_ < 0) fail(errno);
    }
    if (::fsync(fd_) != 0) fail(errno);
    close();
}

void FileReplacement::commit() {
    syncTemporary();
    if (::rename(encoded(temporary_).constData(), encoded(target_).constData()) != 0) fail(errno);
    done_ = true;
    tracked_.release();
    // The rename is done; a folder that cannot be synced leaves it to the system's next write-back.
    syncFolder(QFileInfo(target_).absolutePath());
}

bool FileReplacement::commitIfAbsent(const QString& target) {
    syncTemporary();
    const QByteArray from = encoded(temporary_);
    const QByteArray to = encoded(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) return false;
        // A file system without the no-replace rename: a hard link never replaces either.
        if (errno != EINVAL && errno != ENOSYS) fail(errno);
        if (::link(from.constData(), to.constData()) != 0) {
            if (errno == EEXIST) return false;
            fail(errno);
        }
        ::unlink(from.constData());
    }
    target_ = QFileInfo(target).absoluteFilePath();
    done_ = true;
    tracked_.release();
    syncFolder(QFileInfo(target_).absolutePath());
    return true;
}

void FileReplacement::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!done_ && !temporary_.isEmpty()) ::unlink(encoded(temporary_).constData());
    tracked_.release();
    done_ = true;
}

void replaceFile(const QString& target, QByteArrayView bytes) {
    FileReplacement file(target);
    file.write(bytes);
    file.commit();
}

}  // namespace slp
