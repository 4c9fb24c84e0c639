#include "settings/store.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringList>

#include "basic/clock.h"
#include "basic/error.h"
#include "settings/ini_document.h"

using namespace Qt::StringLiterals;

namespace slp::settings {

namespace {

// A settings file is a few kilobytes; anything far larger is not one of ours.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
// How long a write waits for another process that is writing the same file.
constexpr int kLockWaitMs = 5000;
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
};

LoadedFile loadFile(const QString& path) {
    LoadedFile result;
    if (!QFileInfo::exists(path)) return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
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
    std::optional<IniDocument> doc = IniDocument::parse(bytes);
    if (!doc) {
        result.state = FileState::Corrupt;
        return result;
    }
    result.state = FileState::Parsed;
    result.doc = std::move(*doc);
    return result;
}

int errorNumberOf(QFileDevice::FileError error) {
    return error == QFileDevice::PermissionsError ? errnum::PermissionDenied : errnum::DeviceIo;
}

// Renames an unreadable settings file so the user's data is kept for inspection.
void setAside(const QString& path, const QDateTime& now) {
    const QString base = path + u".corrupt-"_s + now.toString(u"yyyyMMdd-HHmmss"_s);
    QString target = base;
    for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n) target = base + u'-' + QString::number(n);
    QFile file(path);
    if (!file.rename(target)) {
        throw Error(
            errorNumberOf(file.error()),
            u"设置文件“%1”已损坏，无法改名保留（%2），新的设置未写入"_s.arg(path, file.errorString()));
    }
}

}  // namespace

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

std::optional<QString> Store::find(const QString& app, const QString& section, const QString& key) const {
    const LoadedFile file = loadFile(filePath(app));
    if (file.state != FileState::Parsed) return std::nullopt;
    return file.doc.value(section, key);
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

    LoadedFile file = loadFile(path);
    switch (file.state) {
        case FileState::Unreadable:
            throw Error(errnum::PermissionDenied,
                        u"无法读取设置文件“%1”（%2），设置未写入"_s.arg(path, file.error));
        case FileState::Corrupt:
            setAside(path, clock_ ? clock_->now() : QDateTime::currentDateTime());
            break;
        case FileState::Parsed:
            if (file.doc.value(section, key) == value) return;
            break;
        case FileState::Missing:
            break;
    }
    file.doc.setValue(section, key, value);

    const QByteArray bytes = file.doc.serialize();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        throw Error(errorNumberOf(out.error()),
                    u"无法写入设置文件“%1”（%2），设置未写入"_s.arg(path, out.errorString()));
    }
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        throw Error(errorNumberOf(out.error()),
                    u"无法写入设置文件“%1”（%2），设置未写入"_s.arg(path, reason));
    }
}

}  // namespace slp::settings
