#pragma once
// Password protection of a PDF file with AES-256 (the standard security handler, revision 6, as PDF 2.0
// defines it): a random file key sealed for the password that opens the file and for a random owner
// password, every string and stream encrypted with that key in CBC mode behind a random initialisation
// vector. The primitives (AES, SHA-2, random bytes) are OpenSSL's libcrypto.
#include <QByteArray>
#include <array>
#include <string>
#include <string_view>

namespace slp::print::pdf {

class PdfEncryption {
  public:
    // Seals a new file key for `password` (UTF-8, at most its first 127 bytes count). Throws
    // slp::Error (printer error) for an empty password: a file is never left open by mistake.
    explicit PdfEncryption(const QByteArray& password);

    // The body of the /Encrypt dictionary, itself never encrypted. Every use is allowed to the one
    // who opens the file; the metadata is encrypted as well.
    std::string dictionary() const;
    // A stream's data encrypted: the initialisation vector, then the data padded to whole blocks.
    std::string encrypt(std::string_view plain) const;
    // An object's body with each of its strings (literal or hexadecimal) encrypted and written as a
    // hexadecimal string; names, numbers and the rest stay as they are.
    std::string encryptStrings(std::string_view body) const;

    // The file's identifier for the trailer's /ID, as a hexadecimal string.
    const std::string& fileId() const { return id_; }

  private:
    std::array<unsigned char, 32> key_{};
    std::string owner_, user_, ownerKey_, userKey_, perms_, id_;
};

}  // namespace slp::print::pdf
