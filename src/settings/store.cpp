#include "settings/store.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>
#include <QStringList>
#include <memory>

#include "basic/clock.h"
#include "basic/error.h"
#include "basic/file_replace.h"
#include "settings/ini_document.h"

using namespace Qt::StringLiterals;

namespace slp::settings {

namespace {

// A settings file is a few kilobytes; anything far larger is not one of ours.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
// How long a write waits for another process that is writing the same file.
constexpr int kLockWaitMs = 30000;
// Longest file name (in UTF-8 bytes, before ".ini") written as is; longer ones are shortened.
constexpr qsizetype kMaxNameBytes = 200;
constexpr qsizetype kShortenedPrefixBytes = 150;

QString hex(uint value, int digits) {
    return QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

bool unsafeInFileName(char16_t c, bool first) {
    static constexpr QStringView kReserved = u"/\\%:*?\"<>|~";
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || kReserved.contains(QChar(c)) || (first && c == u'.');
}

enum class FileState { Missing, Unreadable, Corrupt, Parsed };

struct LoadedFile {
    FileState state = FileState::Missing;
    IniDocument doc;
    QString error;
    QList<IniDocument::SkippedLine> skipped;  // lines read past; the file keeps them until it is written
};

QMutex reporterMutex;
SkippedLineReporter& reporter() {
    static SkippedLineReporter* r = new SkippedLineReporter;  // never destroyed: reads may come at exit
    return *r;
}

void reportSkippedLines(const QString& path, const QList<IniDocument::SkippedLine>& skipped) {
    SkippedLineReporter report;
    {
        const QMutexLocker locker(&reporterMutex);
        report = reporter();
    }
    for (const IniDocument::SkippedLine& line : skipped) {
        const QString text = skippedLineMessage(path, line.number, line.reason);
        if (report) {
            report(text);
        } else {
            qWarning().noquote() << text;
        }
    }
}

LoadedFile parseFile(const QString& path) {
    LoadedFile result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists()) return result;
        result.state = FileState::Unreadable;
        result.error = file.errorString();
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.state = FileState::Corrupt;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.state = FileState::Unreadable;
        result.error = file.errorString();
        return result;
    }
    result.state = FileState::Parsed;
    result.doc = IniDocument::parseKeepingGoodLines(bytes, result.skipped);
    reportSkippedLines(path, result.skipped);
    return result;
}

// What tells one version of a file from another: a write replaces the file (a new inode) and any
// edit in place changes its time of change.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const FileIdentity& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

std::optional<FileIdentity> identityOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

// The files parsed in this process, each kept until it changes: a read parses a file once per
// version, not once per key.
class ParsedFiles {
  public:
    std::shared_ptr<const LoadedFile> load(const QString& path) {
        const std::optional<FileIdentity> before = identityOf(path);
        if (before) {
            const QMutexLocker locker(&mutex_);
            const auto at = files_.constFind(path);
            if (at != files_.cend() && at->identity == *before) return at->file;
        }
        auto file = std::make_shared<const LoadedFile>(parseFile(path));
        // Kept only when the file did not change while it was read.
        if (before && file->state != FileState::Unreadable && identityOf(path) == before) {
            remember(path, *before, file);
        }
        return file;
    }

    void remember(const QString& path, const FileIdentity& identity, std::shared_ptr<const LoadedFile> file) {
        const QMutexLocker locker(&mutex_);
        if (files_.size() >= kMaxFiles && !files_.contains(path)) files_.clear();
        files_.insert(path, Entry{identity, std::move(file)});
    }

  private:
    static constexpr qsizetype kMaxFiles = 64;
    struct Entry {
        FileIdentity identity;
        std::shared_ptr<const LoadedFile> file;
    };
    QMutex mutex_;
    QHash<QString, Entry> files_;
};

ParsedFiles& parsedFiles() {
    static ParsedFiles* files = new ParsedFiles;  // never destroyed: reads may come at exit
    return *files;
}

// The snapshot that serves this thread's reads, if any.
thread_local ReadSnapshot::Files* activeSnapshot = nullptr;

int errorNumberOf(QFileDevice::FileError error) {
    return error == QFileDevice::PermissionsError ? errnum::PermissionDenied : errnum::DeviceIo;
}

// Renames an unreadable settings file, or copies one with lines that were skipped, so the user's data
// is kept for inspection.
void setAside(const QString& path, const QDateTime& now, bool copy = false) {
    const QString base = path + u".corrupt-"_s + now.toString(u"yyyyMMdd-HHmmss"_s);
    QString target = base;
    for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n) target = base + u'-' + QString::number(n);
    QFile file(path);
    if (!(copy ? file.copy(target) : file.rename(target))) {
        throw Error(
            errorNumberOf(file.error()),
            u"设置文件“%1”已损坏，无法改名保留（%2），新的设置未写入"_s.arg(path, file.errorString()));
    }
}

}  // namespace

QString skippedLineMessage(const QString& path, int line, const QString& reason) {
    return u"设置文件“%1”第%2行无法识别（%3），已跳过"_s.arg(path, QString::number(line), reason);
}

void setSkippedLineReporter(SkippedLineReporter report) {
    const QMutexLocker locker(&reporterMutex);
    reporter() = std::move(report);
}

QString defaultFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + u"/.config"_s;
    return base + u"/Sl_PAYPRN"_s;
}

QString appUnitGZGL(const QString& unitCode) {
    return unitCode + u"GZGL"_s;
}
QString appUnitGZ(const QString& unitCode) {
    return unitCode + u"GZ"_s;
}
QString appComponent() {
    return u"Sl_PAYPRN"_s;
}

QString fileNameFor(const QString& app) {
    // "%" alone is never produced by the escaping below, so the empty name keeps a file of its own.
    if (app.isEmpty()) return u"%.ini"_s;
    QStringList pieces;
    for (qsizetype i = 0; i < app.size(); ++i) {
        const QChar c = app[i];
        if (c.isHighSurrogate() && i + 1 < app.size() && app[i + 1].isLowSurrogate()) {
            pieces << app.mid(i, 2);
            ++i;
        } else if (c.isSurrogate()) {
            pieces << u"%u"_s + hex(c.unicode(), 4);  // no UTF-8 form; "%u" never comes from a byte
        } else if (unsafeInFileName(c.unicode(), i == 0)) {
            QString escaped;
            for (const char byte : QString(c).toUtf8()) escaped += u'%' + hex(uchar(byte), 2);
            pieces << escaped;
        } else {
            pieces << QString(c);
        }
    }
    QString name = pieces.join(QString());
    if (name.toUtf8().size() > kMaxNameBytes) {
        // "~" is always escaped above, so a shortened name cannot equal a name written in full.
        const QByteArray utf16(reinterpret_cast<const char*>(app.utf16()), app.size() * 2);
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(utf16, QCryptographicHash::Sha1).toHex());
        QString prefix;
        for (const QString& piece : pieces) {
            if ((prefix + piece).toUtf8().size() > kShortenedPrefixBytes) break;
            prefix += piece;
        }
        name = prefix + u'~' + hash;
    }
    return name + u".ini"_s;
}

Store::Store(QString folder) : folder_(std::move(folder)) {}

Store::Store(QString folder, const Clock& clock) : folder_(std::move(folder)), clock_(&clock) {}

QString Store::filePath(const QString& app) const {
    return folder_ + u'/' + fileNameFor(app);
}

QString Store::read(const QString& app, const QString& section, const QString& key,
                    const QString& defaultValue) const {
    return find(app, section, key).value_or(defaultValue);
}

struct ReadSnapshot::Files {
    QHash<QString, std::shared_ptr<const LoadedFile>> byPath;
};

ReadSnapshot::ReadSnapshot() {
    if (activeSnapshot) return;
    files_ = std::make_unique<Files>();
    activeSnapshot = files_.get();
}

ReadSnapshot::~ReadSnapshot() {
    if (files_) activeSnapshot = nullptr;
}

std::optional<QString> Store::find(const QString& app, const QString& section, const QString& key) const {
    const QString path = filePath(app);
    std::shared_ptr<const LoadedFile> file;
    if (activeSnapshot) {
        std::shared_ptr<const LoadedFile>& kept = activeSnapshot->byPath[path];
        if (!kept) kept = parsedFiles().load(path);
        file = kept;
    } else {
        file = parsedFiles().load(path);
    }
    if (file->state != FileState::Parsed) return std::nullopt;
    return file->doc.value(section, key);
}

void Store::write(const QString& app, const QString& section, const QString& key, const QString& value) {
    const QString path = filePath(app);
    if (!QDir().mkpath(folder_)) {
        throw Error(errnum::PathNotFound, u"无法建立设置文件夹“%1”，设置未写入"_s.arg(folder_));
    }

    QLockFile lock(path + u".lock"_s);
    if (!lock.tryLock(kLockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError) {
            throw Error(errnum::PermissionDenied, u"设置文件“%1”正被其他程序写入，设置未写入"_s.arg(path));
        }
        throw Error(errnum::PermissionDenied, u"无法在设置文件夹“%1”中写入，设置未写入"_s.arg(folder_));
    }

    LoadedFile file = *parsedFiles().load(path);
    switch (file.state) {
        case FileState::Unreadable:
            throw Error(errnum::PermissionDenied,
                        u"无法读取设置文件“%1”（%2），设置未写入"_s.arg(path, file.error));
        case FileState::Corrupt:
            setAside(path, clock_ ? clock_->now() : QDateTime::currentDateTime());
            break;
        case FileState::Parsed:
            if (file.doc.value(section, key) == value) return;
            // The lines skipped would go with the rewrite: the file as it was is kept beside it.
            if (!file.skipped.isEmpty()) {
                setAside(path, clock_ ? clock_->now() : QDateTime::currentDateTime(), true);
                file.skipped.clear();
            }
            break;
        case FileState::Missing:
            break;
    }
    file.doc.setValue(section, key, value);

    const QByteArray bytes = file.doc.serialize();
    try {
        replaceFile(path, bytes);
    } catch (const FileWriteError& e) {
        throw Error(e.number(), u"无法写入设置文件“%1”（%2），设置未写入"_s.arg(path, e.description()));
    }
    if (const std::optional<FileIdentity> written = identityOf(path)) {
        file.state = FileState::Parsed;
        file.error.clear();
        parsedFiles().remember(path, *written, std::make_shared<const LoadedFile>(std::move(file)));
    }
    if (activeSnapshot) activeSnapshot->byPath.remove(path);
}

}  // namespace slp::settings
