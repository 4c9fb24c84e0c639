#pragma once
// A slip's PDF locked with a password: AES-256 (the standard security handler of PDF 2.0, revision 6),
// written by qpdf's library. Opening the file needs the password; printing and copying are then allowed.
// The owner password is random and forgotten, so nobody can lift the protection without rewriting.
#include <QByteArray>
#include <QString>

namespace slp::mail {

// The PDF of `pdf` (the bytes of a whole file) encrypted for `password`. Throws slp::Error for an empty
// password (a slip is never sent unprotected) or a PDF that qpdf cannot read.
QByteArray encryptPdf(const QByteArray& pdf, const QString& password);

// Whether `pdf` is encrypted and opens with `password` (an empty password: opens without one).
bool pdfOpensWith(const QByteArray& pdf, const QString& password);
// The PDF decrypted with the password, for reading its text; throws slp::Error when it does not open.
QByteArray decryptPdf(const QByteArray& pdf, const QString& password);

// Error number of a slip that could not be protected.
inline constexpr int encryptionError = 31037;

}  // namespace slp::mail
