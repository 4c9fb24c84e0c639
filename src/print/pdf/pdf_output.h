#pragma once
// The file layer of the PDF writer: numbered objects written one after another into a file, their
// offsets kept for the cross-reference table, streams compressed as zlib data, and the compact number
// formatting the page contents use.
#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "basic/file_replace.h"

struct libdeflate_compressor;

namespace slp::print::pdf {

// The largest number the writer writes: far past any page in twips, well within the rounding.
inline constexpr double kMaxNumber = 1e10;
// Appends a number with at most two decimals and no trailing zeros ("12", "-3.5", "0.25"); throws
// slp::Error (printer error) for one that is not finite or larger than kMaxNumber.
void appendNumber(std::string& out, double value);
void appendInt(std::string& out, long long value);

class PdfEncryption;

class PdfOutput {
  public:
    // Starts the file that is to replace (or become) `target`: a temporary file beside it, created
    // under a name nobody can foresee, and writes the header; throws slp::Error when it cannot. The
    // temporary file goes when the output does, unless it was committed (see file()). With an
    // encryption, every string and stream is written encrypted and the file opens only with its password.
    explicit PdfOutput(const QString& target, std::shared_ptr<const PdfEncryption> encryption = {});
    ~PdfOutput();
    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    // A new object number, for an object written later.
    int reserve();
    // Writes an object: "n 0 obj" body "endobj".
    void object(int number, std::string_view body);
    bool encrypted() const { return encryption_ != nullptr; }
    // Writes a stream object compressed as zlib data (FlateDecode); extra entries go into its dictionary.
    void stream(int number, std::string_view data, std::string_view extra = {});
    // Writes the cross-reference table and the trailer; throws slp::Error when anything failed to be
    // written. The file is then ready to be committed through file().
    void finish(int catalog, int info);
    // The temporary file, to be committed once finished.
    FileReplacement& file() { return file_; }
    // The message of a PDF file that could not be written: the file the user asked for and the reason.
    static QString writeFailure(const QString& target, const QString& reason);

    // Compression level of the streams (libdeflate, 0 to 12). The fastest level writes files a little
    // smaller than zlib's level 3 did, in well under half the time.
    static constexpr int kLevel = 1;

  private:
    void write(std::string_view bytes);
    void flushBuffer();
    void placeObject(int number);

    QString target_;
    FileReplacement file_;
    std::shared_ptr<const PdfEncryption> encryption_;
    QString failure_;  // the reason of the first write that failed
    int objects_ = 1;  // object numbers given out; 0 is the head of the free list
    libdeflate_compressor* compressor_ = nullptr;
    std::string buffer_;
    qint64 written_ = 0;
    std::vector<qint64> offsets_;  // by object number; -1 until written
    std::vector<unsigned char> deflated_;
};

// A text in a PDF string of UTF-16 with its byte order mark, as the document information takes it.
std::string pdfTextString(const QString& text);

}  // namespace slp::print::pdf
