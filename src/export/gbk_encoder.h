#pragma once
// Text to GBK bytes through the C library's iconv. A character that GBK has no code for is reported,
// never replaced or dropped: a bank file must hold exactly the names the clerk sees.
#include <QByteArray>
#include <QStringView>
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
    void* cd_;  // iconv_t
};

}  // namespace slp::bank
