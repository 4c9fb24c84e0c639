#include "pdf_unlock.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>
#include <string>

namespace slp_test {

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
        throw std::runtime_error(std::string("the PDF does not open: ") + e.what());
    }
}

}  // namespace slp_test
