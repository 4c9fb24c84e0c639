#include "print/pdf/pdf_output.h"

#include <libdeflate.h>

#include <QDir>
#include <charconv>
#include <cmath>

#include "basic/error.h"
#include "print/pdf/pdf_encryption.h"
#include "print/printer.h"

using namespace Qt::StringLiterals;

namespace slp::print::pdf {

void appendInt(std::string& out, long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void appendNumber(std::string& out, double value) {
    // A number past this would be a position far off any page, or make the rounding below overflow.
    if (!(std::abs(value) <= kMaxNumber)) throw Error(printerError, u"打印位置超出页面范围，未打印"_s);
    long long hundredths = std::llround(value * 100);
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    appendInt(out, hundredths / 100);
    const int fraction = int(hundredths % 100);
    if (fraction != 0) {
        out += '.';
        out += char('0' + fraction / 10);
        if (fraction % 10) out += char('0' + fraction % 10);
    }
}

std::string pdfTextString(const QString& text) {
    std::string out = "<FEFF";
    static const char hex[] = "0123456789ABCDEF";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        for (int shift = 12; shift >= 0; shift -= 4) out += hex[(u >> shift) & 0xF];
    }
    out += '>';
    return out;
}

namespace {
FileReplacement replacementOf(const QString& target) {
    try {
        return FileReplacement(target);
    } catch (const FileWriteError& e) {
        throw Error(printerError, PdfOutput::writeFailure(target, e.description()));
    }
}
}  // namespace

QString PdfOutput::writeFailure(const QString& target, const QString& reason) {
    return u"无法写入打印文件“%1”（%2）"_s.arg(QDir::toNativeSeparators(target), reason);
}

PdfOutput::PdfOutput(const QString& target, std::shared_ptr<const PdfEncryption> encryption)
    : target_(target), file_(replacementOf(target)), encryption_(std::move(encryption)) {
    compressor_ = libdeflate_alloc_compressor(kLevel);
    if (!compressor_) throw Error(printerError, u"无法压缩打印文件"_s);
    offsets_.push_back(-1);  // object 0 is the head of the free list
    // AES-256 came with PDF 2.0; readers know it as version 1.7 with Adobe's extension level 8, which the
    // catalog names.
    write(encryption_ ? "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n" : "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfOutput::~PdfOutput() {
    if (compressor_) libdeflate_free_compressor(compressor_);
}

int PdfOutput::reserve() {
    return objects_++;
}

void PdfOutput::write(std::string_view bytes) {
    buffer_.append(bytes);
    written_ += qint64(bytes.size());
    if (buffer_.size() >= (1 << 20)) flushBuffer();
}

void PdfOutput::flushBuffer() {
    if (buffer_.empty()) return;
    if (failure_.isEmpty()) {
        try {
            file_.write(QByteArrayView(buffer_.data(), qsizetype(buffer_.size())));
        } catch (const FileWriteError& e) {
            failure_ = e.description();
        }
    }
    buffer_.clear();
}

void PdfOutput::placeObject(int number) {
    if (size_t(number) >= offsets_.size()) offsets_.resize(size_t(number) + 1, -1);
    offsets_[size_t(number)] = written_;
}

void PdfOutput::object(int number, std::string_view body) {
    placeObject(number);
    std::string head;
    appendInt(head, number);
    head += " 0 obj\n";
    write(head);
    write(encryption_ ? std::string_view(encryption_->encryptStrings(body)) : body);
    write("\nendobj\n");
}

void PdfOutput::stream(int number, std::string_view data, std::string_view extra) {
    deflated_.resize(libdeflate_zlib_compress_bound(compressor_, data.size()));
    const size_t length =
        libdeflate_zlib_compress(compressor_, data.data(), data.size(), deflated_.data(), deflated_.size());
    if (length == 0) throw Error(printerError, u"无法压缩打印文件"_s);
    std::string_view bytes(reinterpret_cast<const char*>(deflated_.data()), length);
    std::string sealed;
    if (encryption_) {
        sealed = encryption_->encrypt(bytes);
        bytes = sealed;
    }

    placeObject(number);
    std::string head;
    appendInt(head, number);
    head += " 0 obj\n<</Length ";
    appendInt(head, (long long)bytes.size());
    head += "/Filter/FlateDecode";
    head += encryption_ ? encryption_->encryptStrings(extra) : std::string(extra);
    head += ">>\nstream\n";
    write(head);
    write(bytes);
    write("\nendstream\nendobj\n");
}

void PdfOutput::finish(int catalog, int info) {
    int encrypt = 0;
    std::string id;
    if (encryption_) {
        // The dictionary that tells how to open the file is the one object not encrypted.
        encrypt = reserve();
        placeObject(encrypt);
        std::string head;
        appendInt(head, encrypt);
        write(head + " 0 obj\n" + encryption_->dictionary() + "\nendobj\n");
        id = encryption_->fileId();
    }
    offsets_.resize(size_t(objects_), -1);
    const qint64 xref = written_;
    std::string table = "xref\n0 ";
    appendInt(table, (long long)offsets_.size());
    table += "\n0000000000 65535 f \n";
    char entry[32];
    for (size_t i = 1; i < offsets_.size(); ++i) {
        // An object reserved and never written stays free.
        if (offsets_[i] < 0) {
            table += "0000000000 65535 f \n";
            continue;
        }
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", (long long)offsets_[i]);
        table += entry;
    }
    table += "trailer\n<</Size ";
    appendInt(table, (long long)offsets_.size());
    table += "/Root ";
    appendInt(table, catalog);
    table += " 0 R/Info ";
    appendInt(table, info);
    table += " 0 R";
    if (encrypt) {
        table += "/Encrypt ";
        appendInt(table, encrypt);
        table += " 0 R/ID[" + id + id + "]";
    }
    table += ">>\nstartxref\n";
    appendInt(table, xref);
    table += "\n%%EOF\n";
    write(table);
    flushBuffer();
    if (!failure_.isEmpty()) {
        file_.discard();
        throw Error(printerError, writeFailure(target_, failure_));
    }
}

}  // namespace slp::print::pdf
