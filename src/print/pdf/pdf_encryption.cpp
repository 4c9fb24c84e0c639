#include "print/pdf/pdf_encryption.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

#include "basic/error.h"
#include "print/printer.h"

using namespace Qt::StringLiterals;

namespace slp::print::pdf {

namespace {

[[noreturn]] void fail() {
    throw Error(printerError, u"无法加密打印文件"_s);
}

void check(int status) {
    if (status != 1) fail();
}

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

CipherContext newContext() {
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context) fail();
    return context;
}

// The algorithms, fetched once: fetching them anew for every call would cost more than the work.
const EVP_MD* digest(int bytes) {
    static EVP_MD* const sha256 = EVP_MD_fetch(nullptr, "SHA256", nullptr);
    static EVP_MD* const sha384 = EVP_MD_fetch(nullptr, "SHA384", nullptr);
    static EVP_MD* const sha512 = EVP_MD_fetch(nullptr, "SHA512", nullptr);
    const EVP_MD* md = bytes == 32 ? sha256 : bytes == 48 ? sha384 : sha512;
    if (!md) fail();
    return md;
}

const EVP_CIPHER* cipher(const char* name) {
    static EVP_CIPHER* const aes128cbc = EVP_CIPHER_fetch(nullptr, "AES-128-CBC", nullptr);
    static EVP_CIPHER* const aes256cbc = EVP_CIPHER_fetch(nullptr, "AES-256-CBC", nullptr);
    static EVP_CIPHER* const aes256ecb = EVP_CIPHER_fetch(nullptr, "AES-256-ECB", nullptr);
    const std::string_view n(name);
    const EVP_CIPHER* c = n == "AES-128-CBC" ? aes128cbc : n == "AES-256-CBC" ? aes256cbc : aes256ecb;
    if (!c) fail();
    return c;
}

const unsigned char* bytesOf(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

std::string hashed(std::string_view data, int bytes) {
    std::string out(size_t(bytes), '\0');
    unsigned int length = 0;
    check(EVP_Digest(data.data(), data.size(), reinterpret_cast<unsigned char*>(out.data()), &length,
                     digest(bytes), nullptr));
    return out;
}

// Encrypts `data` in one pass with the named cipher; padding to whole blocks when asked.
std::string encrypted(EVP_CIPHER_CTX* context, const char* name, const unsigned char* key,
                      const unsigned char* iv, std::string_view data, bool padding) {
    check(EVP_EncryptInit_ex2(context, cipher(name), key, iv, nullptr));
    check(EVP_CIPHER_CTX_set_padding(context, padding ? 1 : 0));
    std::string out(data.size() + 16, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    int length = 0, last = 0;
    check(EVP_EncryptUpdate(context, o, &length, bytesOf(data), int(data.size())));
    check(EVP_EncryptFinal_ex(context, o + length, &last));
    out.resize(size_t(length + last));
    return out;
}

std::string randomBytes(size_t count) {
    std::string out(count, '\0');
    check(RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), int(count)));
    return out;
}

void appendHex(std::string& out, std::string_view bytes) {
    static const char hex[] = "0123456789ABCDEF";
    out += '<';
    for (const char b : bytes) {
        out += hex[(unsigned char)b >> 4];
        out += hex[(unsigned char)b & 0xF];
    }
    out += '>';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The bytes of the literal string starting at body[i] ("("), with i left past its closing ")".
std::string literalString(std::string_view body, size_t& i) {
    std::string raw;
    int depth = 1;
    ++i;
    while (i < body.size()) {
        const char c = body[i++];
        if (c == '\\') {
            if (i >= body.size()) break;
            const char e = body[i++];
            switch (e) {
                case 'n':
                    raw += '\n';
                    break;
                case 'r':
                    raw += '\r';
                    break;
                case 't':
                    raw += '\t';
                    break;
                case 'b':
                    raw += '\b';
                    break;
                case 'f':
                    raw += '\f';
                    break;
                case '\r':  // a line continued: neither the backslash nor the line end counts
                    if (i < body.size() && body[i] == '\n') ++i;
                    break;
                case '\n':
                    break;
                default:
                    if (e >= '0' && e <= '7') {
                        int value = e - '0';
                        for (int k = 0; k < 2 && i < body.size() && body[i] >= '0' && body[i] <= '7'; ++k) {
                            value = value * 8 + (body[i++] - '0');
                        }
                        raw += char(value & 0xFF);
                    } else {
                        raw += e;  // \( \) \\ and a backslash before anything else
                    }
            }
        } else if (c == '(') {
            ++depth;
            raw += c;
        } else if (c == ')') {
            if (--depth == 0) return raw;
            raw += c;
        } else if (c == '\r') {
            // A line end within the string stands for one line feed.
            if (i < body.size() && body[i] == '\n') ++i;
            raw += '\n';
        } else {
            raw += c;
        }
    }
    fail();  // a string the writer left open
}

// The bytes of the hexadecimal string starting at body[i] ("<"), with i left past its ">".
std::string hexString(std::string_view body, size_t& i) {
    std::string raw;
    int high = -1;
    for (++i; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '>') {
            ++i;
            if (high >= 0) raw += char(high << 4);
            return raw;
        }
        const int v = hexValue(c);
        if (v < 0) continue;  // white space
        if (high < 0) {
            high = v;
        } else {
            raw += char(high << 4 | v);
            high = -1;
        }
    }
    fail();
}

// The password hash of revision 6: SHA-256 over the password, the salt and (for the owner's entries)
// the 48 bytes of /U, then rounds of AES-128 and SHA-256/384/512 until the last round allows an end.
std::string passwordHash(std::string_view password, std::string_view salt, std::string_view userEntry) {
    std::string k = hashed(std::string(password).append(salt).append(userEntry), 32);
    const CipherContext context = newContext();
    std::string once;
    std::string k1;
    for (int round = 1;; ++round) {
        once.assign(password).append(k).append(userEntry);
        k1.clear();
        k1.reserve(once.size() * 64);
        for (int n = 0; n < 64; ++n) k1 += once;
        const auto* key = bytesOf(k);
        const std::string e = encrypted(context.get(), "AES-128-CBC", key, key + 16, k1, false);
        // The first 16 bytes of E as a number modulo 3 pick the next hash; 256 is 1 modulo 3, so the
        // sum of the bytes gives the same remainder.
        unsigned sum = 0;
        for (int n = 0; n < 16; ++n) sum += (unsigned char)e[size_t(n)];
        k = hashed(e, sum % 3 == 0 ? 32 : sum % 3 == 1 ? 48 : 64);
        if (round >= 64 && (unsigned char)e.back() <= unsigned(round - 32)) break;
    }
    k.resize(32);
    return k;
}

}  // namespace

PdfEncryption::PdfEncryption(const QByteArray& password) {
    if (password.isEmpty()) throw Error(printerError, u"密码为空，不能加密打印文件"_s);
    const std::string_view user(password.constData(), size_t(std::min<qsizetype>(password.size(), 127)));
    // The owner password is random and forgotten (128 bits): nobody can lift the protection, and its
    // hashes, which take time in proportion to its length, stay short.
    const std::string owner = randomBytes(16);
    check(RAND_bytes(key_.data(), int(key_.size())));
    const CipherContext context = newContext();
    const std::string_view fileKey(reinterpret_cast<const char*>(key_.data()), key_.size());
    const unsigned char zeroIv[16] = {};

    // /U and /UE: the hash for checking the password and the file key sealed with the password.
    const std::string userSalts = randomBytes(16);
    user_ = passwordHash(user, userSalts.substr(0, 8), {}) + userSalts;
    const std::string userSeal = passwordHash(user, userSalts.substr(8), {});
    userKey_ = encrypted(context.get(), "AES-256-CBC", bytesOf(userSeal), zeroIv, fileKey, false);
    // /O and /OE: the same for the owner password, over /U.
    const std::string ownerSalts = randomBytes(16);
    owner_ = passwordHash(owner, ownerSalts.substr(0, 8), user_) + ownerSalts;
    const std::string ownerSeal = passwordHash(owner, ownerSalts.substr(8), user_);
    ownerKey_ = encrypted(context.get(), "AES-256-CBC", bytesOf(ownerSeal), zeroIv, fileKey, false);
    // /Perms: the permissions (-4, everything allowed), "T" for encrypted metadata, "adb", random.
    std::string perms("\xFC\xFF\xFF\xFF\xFF\xFF\xFF\xFFTadb", 12);
    perms += randomBytes(4);
    perms_ = encrypted(context.get(), "AES-256-ECB", key_.data(), nullptr, perms, false);
    appendHex(id_, randomBytes(16));
}

std::string PdfEncryption::dictionary() const {
    std::string d =
        "<</Filter/Standard/V 5/R 6/Length 256/P -4/EncryptMetadata true"
        "/CF<</StdCF<</AuthEvent/DocOpen/CFM/AESV3/Length 32>>>>/StmF/StdCF/StrF/StdCF/O";
    appendHex(d, owner_);
    d += "/U";
    appendHex(d, user_);
    d += "/OE";
    appendHex(d, ownerKey_);
    d += "/UE";
    appendHex(d, userKey_);
    d += "/Perms";
    appendHex(d, perms_);
    d += ">>";
    return d;
}

std::string PdfEncryption::encrypt(std::string_view plain) const {
    const std::string iv = randomBytes(16);
    const CipherContext context = newContext();
    return iv + encrypted(context.get(), "AES-256-CBC", key_.data(), bytesOf(iv), plain, true);
}

std::string PdfEncryption::encryptStrings(std::string_view body) const {
    std::string out;
    out.reserve(body.size() + 64);
    size_t i = 0;
    while (i < body.size()) {
        const char c = body[i];
        if (c == '(') {
            appendHex(out, encrypt(literalString(body, i)));
        } else if (c == '<' && i + 1 < body.size() && body[i + 1] == '<') {
            out += "<<";
            i += 2;
        } else if (c == '<') {
            appendHex(out, encrypt(hexString(body, i)));
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace slp::print::pdf
