#pragma once
// The file layer of the PDF writer: numbered objects written one after another into a file, their
// offsets kept for the cross-reference table, streams compressed as zlib data, and the compact number
// formatting the page contents use.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>
#include <vector>

struct libdeflate_compressor;

namespace slp::print::pdf {

// Appends a number with at most two decimals and no trailing zeros ("12", "-3.5", "0.25").
void appendNumber(std::string& out, double value);
void appendInt(std::string& out, long long value);

class PdfOutput {
  public:
    // Opens (creates or truncates) the file and writes the header; throws slp::Error when it cannot.
    explicit PdfOutput(const QString& path);
    ~PdfOutput();
    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    // A new object number, for an object written later.
    int reserve();
    // Writes an object: "n 0 obj" body "endobj".
    void object(int number, std::string_view body);
    // Writes a stream object compressed as zlib data (FlateDecode); extra entries go into its dictionary.
    void stream(int number, std::string_view data, std::string_view extra = {});
    // Writes the cross-reference table and the trailer, then closes the file; throws slp::Error when
    // anything failed to be written.
    void finish(int catalog, int info);
    // Closes the file, finished or not.
    void close();

    // Compression level of the streams (libdeflate, 0 to 12). The fastest level writes files a little
    // smaller than zlib's level 3 did, in well under half the time.
    static constexpr int kLevel = 1;

  private:
    void write(std::string_view bytes);
    void flushBuffer();
    void placeObject(int number);

    QFile file_;
    int objects_ = 1;  // object numbers given out; 0 is the head of the free list
    libdeflate_compressor* compressor_ = nullptr;
    std::string buffer_;
    qint64 written_ = 0;
    bool failed_ = false;
    std::vector<qint64> offsets_;  // by object number; -1 until written
    std::vector<unsigned char> deflated_;
};

// A text in a PDF string of UTF-16 with its byte order mark, as the document information takes it.
std::string pdfTextString(const QString& text);

}  // namespace slp::print::pdf
