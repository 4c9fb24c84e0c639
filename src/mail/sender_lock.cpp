#include "mail/sender_lock.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "basic/error.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

QString sqliteDatabaseFile(data::Database& database) {
    if (!database.sqliteHandle()) return QString();
    const char* name = sqlite3_db_filename(database.sqliteHandle(), "main");
    return name ? QString::fromUtf8(name) : QString();
}

SenderLock::SenderLock(const QString& databasePath, const QString& lockFolder) {
    struct stat info {};
    if (::stat(QFile::encodeName(databasePath).constData(), &info) != 0) {
        throw Error(errnum::FileNotFound, u"找不到数据库文件“"_s + databasePath + u"”"_s);
    }
    const QString folder = lockFolder.isEmpty() ? QDir::tempPath() : lockFolder;
    const QString path = QDir(folder).filePath(
        u"slpayprn-mail-%1-%2.lock"_s.arg(quint64(info.st_dev)).arg(quint64(info.st_ino)));
    const QByteArray name = QFile::encodeName(path);
    // Readable by all so that another clerk's sender can ask for the same lock; it holds nothing.
    fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd_ < 0) {
        throw Error(errnum::PermissionDenied, u"无法建立发送锁文件“"_s + path + u"”（"_s +
                                                  QString::fromLocal8Bit(std::strerror(errno)) + u"）"_s);
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        if (error == EWOULDBLOCK) {
            throw Error(errnum::PermissionDenied,
                        u"另一个进程正在发送本数据库的电子工资条；SQLite数据库只能有一个发送进程，"_s
                        u"请等它结束后再发送（多个发送进程需要PostgreSQL数据库）"_s);
        }
        throw Error(errnum::PermissionDenied,
                    u"无法锁定发送锁文件（"_s + QString::fromLocal8Bit(std::strerror(error)) + u"）"_s);
    }
}

SenderLock::~SenderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace slp::mail
