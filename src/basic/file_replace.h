#pragma once
// Replacing a file whole. The new contents go to a temporary file beside the target; every write and
// the final flush are checked, the file is synced to the disk, renamed over the target and the folder
// synced. On any failure, and when SIGINT, SIGTERM or SIGHUP ends the process, the temporary file is
// removed and the target stays as it was.
//
// Nothing here relies on QSaveFile: its commit() reports success after a failed or short final flush.
#include <QByteArrayView>
#include <QString>

#include "basic/error.h"
#include "basic/temporary_files.h"

namespace slp {

// The system's reason for `errorNumber` (an errno value), in Chinese for the reasons a clerk meets
// ("磁盘空间不足", "权限不够" …), the system's own text otherwise.
QString systemReason(int errorNumber);

// The host error number for an errno value: 61 a full disk or too large a file, 70 no permission,
// 76 a missing folder, 57 anything else.
int errorNumberOf(int errorNumber);

// A failure to write or replace a file: the host number, the errno value and the system's reason
// (the description is the reason alone, so a caller puts it into its own sentence).
class FileWriteError : public Error {
  public:
    FileWriteError(int systemError, const QString& reason)
        : Error(errorNumberOf(systemError), reason), systemError_(systemError) {}
    int systemError() const { return systemError_; }

  private:
    int systemError_;
};

// The reason given for a target that exists and is not a regular file (a pipe, a device, a socket).
QString notARegularFile();

class FileReplacement {
  public:
    // Creates the temporary file beside `target` (a symbolic link is followed: the file it names is
    // replaced). Throws FileWriteError when the folder does not exist or takes no new file, or when the
    // target exists and is not a regular file (notARegularFile(), errno value EINVAL).
    explicit FileReplacement(const QString& target);
    // Removes the temporary file unless commit() succeeded.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Where the new contents are written; a library that writes files by name (SQLite, the
    // spreadsheet writer) may write here once close() has been called.
    const QString& temporaryPath() const { return temporary_; }
    const QString& targetPath() const { return target_; }

    // Appends bytes, all of them or a FileWriteError.
    void write(QByteArrayView bytes);
    // Closes the temporary file (the descriptor only; commit() reopens it to sync it).
    void close();
    // Syncs the temporary file, renames it over the target and syncs the folder. Throws
    // FileWriteError; the target is then unchanged and the temporary file gone.
    void commit();
    // Syncs the temporary file and gives it the name `target` (in the same folder) only when no file
    // has that name: false when one has (the temporary file stays, for another name), true when the file
    // now has it. Two writers never take the same name. Throws FileWriteError.
    bool commitIfAbsent(const QString& target);
    // Removes the temporary file now.
    void discard();

  private:
    [[noreturn]] void fail(int systemError);
    void syncTemporary();

    QString target_;
    QString temporary_;
    TrackedTemporary tracked_;  // removed on SIGINT, SIGTERM or SIGHUP while under way
    int fd_ = -1;
    bool done_ = false;
};

// Replaces the file at `target` with `bytes` (see FileReplacement). Throws FileWriteError.
void replaceFile(const QString& target, QByteArrayView bytes);

// Writes all of `bytes` to the descriptor, retrying interrupted and short writes; false with errno
// set when the system takes less.
bool writeAll(int fd, QByteArrayView bytes);

}  // namespace slp
