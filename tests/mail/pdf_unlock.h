#pragma once
// Opening a password-protected PDF with qpdf's library, a reader that is not ours: whether a slip opens
// with a password, and its bytes decrypted for reading its text.
#include <QByteArray>
#include <QString>

namespace slp_test {

// Whether `pdf` is encrypted and opens with `password` (an empty password: opens without one).
bool pdfOpensWith(const QByteArray& pdf, const QString& password);
// The PDF decrypted with the password; throws std::runtime_error when it does not open.
QByteArray decryptPdf(const QByteArray& pdf, const QString& password);

}  // namespace slp_test
