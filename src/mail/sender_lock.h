#pragma once
// One sender at a time on an SQLite database: SQLite takes one writer at a time, so a second sender
// would only wait for the first one's log writes. The lock is an flock on a file named after the
// database file's device and inode in the temporary folder, held while the sender runs and released
// by the system however the process ends.
#include <QString>
#include <memory>

namespace slp::data {
class Database;
}

namespace slp::mail {

// The file of an SQLite database; empty for a server's.
QString sqliteDatabaseFile(data::Database& database);

class SenderLock {
  public:
    // Takes the lock of the database file `databasePath`. Throws slp::Error (errnum::PermissionDenied)
    // saying another sender has it, or why the lock could not be made.
    explicit SenderLock(const QString& databasePath, const QString& lockFolder = QString());
    ~SenderLock();
    SenderLock(const SenderLock&) = delete;
    SenderLock& operator=(const SenderLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace slp::mail
