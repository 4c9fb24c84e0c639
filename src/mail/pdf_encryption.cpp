#include "mail/pdf_encryption.h"

#include <QRandomGenerator>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFWriter.hh>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::mail {

namespace {
QByteArray writtenBytes(QPDFWriter& writer) {
    writer.write();
    const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()), qsizetype(buffer->getSize()));
}

void readPdf(QPDF& pdf, const QByteArray& bytes, const QString& password) {
    pdf.setSuppressWarnings(true);
    const QByteArray secret = password.toUtf8();
    pdf.processMemoryFile("slip.pdf", bytes.constData(), size_t(bytes.size()),
                          password.isEmpty() ? nullptr : secret.constData());
}
}  // namespace

QByteArray encryptPdf(const QByteArray& bytes, const QString& password) {
    if (password.isEmpty()) throw Error(encryptionError, u"密码为空，工资条不能加密"_s);
    try {
        QPDF pdf;
        readPdf(pdf, bytes, QString());
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        // The streams as our writer compressed them, only encrypted: decoding and compressing them again
        // would cost more than everything else a slip takes.
        writer.setStreamDataMode(qpdf_s_preserve);
        const QByteArray user = password.toUtf8();
        const QByteArray owner = QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
                                 QByteArray::number(QRandomGenerator::system()->generate64(), 36);
        // Every use allowed to the one who can open it; the metadata encrypted as well.
        writer.setR6EncryptionParameters(user.constData(), owner.constData(), true, true, true, true, true,
                                         true, qpdf_r3p_full, true);
        return writtenBytes(writer);
    } catch (const std::exception& e) {
        throw Error(encryptionError, u"工资条加密失败（"_s + QString::fromUtf8(e.what()) + u"）"_s);
    }
}

bool pdfOpensWith(const QByteArray& bytes, const QString& password) {
    try {
        QPDF pdf;
        readPdf(pdf, bytes, password);
        return pdf.isEncrypted() || password.isEmpty();
    } catch (const QPDFExc&) {
        return false;
    }
}

QByteArray decryptPdf(const QByteArray& bytes, const QString& password) {
    try {
        QPDF pdf;
        readPdf(pdf, bytes, password);
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setPreserveEncryption(false);
        return writtenBytes(writer);
    } catch (const std::exception& e) {
        throw Error(encryptionError, u"工资条无法打开（"_s + QString::fromUtf8(e.what()) + u"）"_s);
    }
}

}  // namespace slp::mail
