#pragma once
// The per-user settings store: string values addressed by application, section and key, one
// human-readable UTF-8 INI file per application name under $XDG_CONFIG_HOME/Sl_PAYPRN/.
//
// Every read looks at the file's identity (inode, size, times of modification and change) and parses
// it again only when it changed, so a read sees the latest write of any Store object or process and a
// large file is parsed once per version, not once per key. Every write reads the file under a lock file,
// changes one key and replaces the file atomically (written aside, then renamed). A file too large to be
// a settings file reads as empty and is renamed aside ("<name>.ini.corrupt-<yyyyMMdd-HHmmss>") by the
// next write before the new file is written.
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace slp {
class Clock;
}

namespace slp::settings {

// A line of a settings file that cannot be read is skipped and the rest of the file is used; the
// reporter hears of each such line once a version of the file, as skippedLineMessage words it. Without
// one set, the message goes to the process's warnings (stderr). A write to such a file keeps a copy of
// it as it was ("<name>.ini.corrupt-<yyyyMMdd-HHmmss>") before it is rewritten without those lines.
using SkippedLineReporter = std::function<void(const QString& message)>;
void setSkippedLineReporter(SkippedLineReporter report);
// "设置文件“path”第N行无法识别（reason），已跳过"
QString skippedLineMessage(const QString& path, int line, const QString& reason);

// The folder that holds the files: $XDG_CONFIG_HOME/Sl_PAYPRN, or ~/.config/Sl_PAYPRN when unset
// (or set to a relative path, which the XDG rules say to ignore).
QString defaultFolder();

// The three application names, built at the time of the call from the unit code.
QString appUnitGZGL(const QString& unitCode);  // unit code & "GZGL"
QString appUnitGZ(const QString& unitCode);    // unit code & "GZ"
QString appComponent();                        // "Sl_PAYPRN"

// The file name that holds an application's settings: the name itself plus ".ini" where it is safe
// ("0101GZGL.ini"); characters a file name cannot or should not hold ("/", "\", controls, "%", ...)
// and a leading "." are written as %XX of their UTF-8 bytes, so distinct names give distinct files.
// Very long names are shortened and end in "~" and a hash of the whole name.
QString fileNameFor(const QString& app);

class Store {
  public:
    explicit Store(QString folder = defaultFolder());
    // The clock names the files that are put aside; it must outlive the store.
    Store(QString folder, const Clock& clock);
    const QString& folder() const { return folder_; }
    QString filePath(const QString& app) const;

    // The stored text, or the default when the key (or its file or section) does not exist. A file
    // that cannot be read or parsed reads as if it had no keys.
    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const;
    // The stored text, or nullopt when the key does not exist (same rules as read).
    std::optional<QString> find(const QString& app, const QString& section, const QString& key) const;
    // Creates application, section and key as needed and replaces any earlier value. The file is
    // written aside and renamed into place. Throws slp::Error when the file cannot be written.
    void write(const QString& app, const QString& section, const QString& key, const QString& value);

  private:
    QString folder_;
    const Clock* clock_ = nullptr;
};

// While a ReadSnapshot lives, the reads of its thread see each file as it was at the first read made
// under it. A document printed page by page keeps one set of settings even when another window or
// process saves halfway through, and each file is looked at once per document instead of once per
// page. Writes made on the same thread are seen. Snapshots nest: an inner one serves from the outer.
class ReadSnapshot {
  public:
    ReadSnapshot();
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;
    struct Files;

  private:
    std::unique_ptr<Files> files_;  // null when an outer snapshot serves
};

}  // namespace slp::settings
