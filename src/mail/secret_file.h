#pragma once
// The SMTP password lives in a file of its own that only its owner may read (mode 0600 or stricter),
// never in the settings nor on a command line.
#include <QString>

namespace slp::mail {

// The file used when the settings name none: "smtp-password" in the settings folder.
QString defaultPasswordFile(const QString& settingsFolder);

// The password: the file's first line without its line end. Throws slp::Error (errnum::PermissionDenied)
// for a file that its group or others may read or write, or that is not a regular file, and
// (errnum::FileNotFound) for one that does not exist.
QString readPasswordFile(const QString& path);

}  // namespace slp::mail
