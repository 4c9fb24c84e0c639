#pragma once
// Writing a finished card file. The bytes go to a temporary file beside the target, which replaces the
// target only once everything is written: a failure leaves no partial file and never touches an existing
// file of that name.
#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace slp::bank {

// Creates or replaces the file at `path` with `bytes`. Throws slp::Error naming the path when the folder
// does not exist (76), the target or folder cannot be written (70), the target is a folder or no regular
// file (75), or writing fails (61 a full disk or a file past its size limit, 57 any other failure); the
// target is then as it was and no temporary file is left.
void SaveCardFile(const QString& path, const QByteArray& bytes);

// Writes `bytes` to an open device whole. Throws slp::Error (57) when the device takes less.
void WriteCardBytes(QIODevice& out, const QByteArray& bytes);

}  // namespace slp::bank
