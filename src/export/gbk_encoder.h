#pragma once
// Text to GBK bytes through the C library's iconv. A character that GBK has no code for is reported,
// never replaced or dropped: a bank file must hold exactly the names the clerk sees.
//
// GBK is a stateless code page, so each character has one fixed byte sequence: the encoder asks iconv
// once per distinct character of the Basic Multilingual Plane and keeps the answer in a table, which
// makes a file of 100,000 names cost a table look-up a character. ASCII is copied as it is once iconv
// has shown at start-up that it writes ASCII unchanged.
#include <QByteArray>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>

namespace slp::bank {

class GbkEncoder {
  public:
    // Throws slp::Error when the C library offers no GBK converter.
    GbkEncoder();
    ~GbkEncoder();
    GbkEncoder(const GbkEncoder&) = delete;
    GbkEncoder& operator=(const GbkEncoder&) = delete;

    struct Failure {
        qsizetype index = 0;     // position of the character in the text, counted in characters
        char32_t character = 0;  // the character GBK cannot encode (U+FFFD for a broken surrogate)
    };

    // The text's GBK bytes appended to `out`; on a character GBK lacks, `out` is left as it was and the
    // failure is returned.
    std::optional<Failure> encode(QStringView text, QByteArray& out);

  private:
    // What iconv makes of one character: its bytes, or that GBK lacks it.
    uint32_t codeOf(char32_t c);
    // Asks iconv for one character; false when GBK lacks it. At most 8 bytes are written to `bytes`.
    bool convert(char32_t c, char* bytes, qsizetype& length);

    void* cd_;                         // iconv_t
    bool asciiUnchanged_ = false;      // iconv writes every ASCII character as its own byte
    std::unique_ptr<uint32_t[]> bmp_;  // per BMP character: 0 not asked yet, else codeOf()'s answer
};

}  // namespace slp::bank
