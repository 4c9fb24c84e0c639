#pragma once
// The per-user settings store: string values addressed by application, section and key, one
// human-readable UTF-8 INI file per application name under $XDG_CONFIG_HOME/Sl_PAYPRN/.
#include <QString>

namespace slp::settings {

// The folder that holds the files: $XDG_CONFIG_HOME/Sl_PAYPRN, or ~/.config/Sl_PAYPRN when unset.
QString defaultFolder();

// The three application names, built at the time of the call from the unit code.
QString appUnitGZGL(const QString& unitCode);  // unit code & "GZGL"
QString appUnitGZ(const QString& unitCode);    // unit code & "GZ"
QString appComponent();                        // "Sl_PAYPRN"

class Store {
public:
    explicit Store(QString folder = defaultFolder());
    const QString& folder() const { return folder_; }

    // The stored text, or the default when the key (or its file or section) does not exist.
    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const;
    // Creates application, section and key as needed and replaces any earlier value. The file is
    // written aside and renamed into place. Throws slp::Error when the file cannot be written.
    void write(const QString& app, const QString& section, const QString& key, const QString& value);

private:
    QString folder_;
};

}  // namespace slp::settings
