#include "export/gbk_encoder.h"

#include <iconv.h>

#include <QChar>
#include <QSysInfo>
#include <array>
#include <cstring>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

namespace {

iconv_t handle(void* cd) {
    return static_cast<iconv_t>(cd);
}

const char* utf32Name() {
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-32LE" : "UTF-32BE";
}

// A table entry: the kind in the top byte; for Bytes the length (0 to 2) below it and the bytes in the
// low 16 bits, first byte high.
constexpr uint32_t kBytes = 1u << 24;
constexpr uint32_t kMissing = 2u << 24;  // GBK lacks the character
constexpr uint32_t kLonger = 3u << 24;   // more than two bytes: asked of iconv each time (GBK has none)
constexpr uint32_t kKindMask = 0xFFu << 24;

constexpr qsizetype kMaxBytes = 8;  // room for one character's bytes in convert()

}  // namespace

GbkEncoder::GbkEncoder() {
    iconv_t cd = iconv_open("GBK", utf32Name());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw Error(errnum::DeviceIo, u"系统不支持GBK编码，无法写入工资卡文件"_s);
    }
    cd_ = cd;

    // ASCII in one call: when every character comes back as its own byte, ASCII needs no table.
    std::array<char32_t, 128> ascii{};
    for (char32_t c = 0; c < 128; ++c) ascii[c] = c;
    std::array<char, 128 * kMaxBytes> bytes{};
    char* in = reinterpret_cast<char*>(ascii.data());
    size_t inLeft = sizeof(ascii);
    char* out = bytes.data();
    size_t outLeft = bytes.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
    bool same = r != static_cast<size_t>(-1) && inLeft == 0 && out - bytes.data() == 128;
    for (int c = 0; same && c < 128; ++c) same = bytes[size_t(c)] == static_cast<char>(c);
    asciiUnchanged_ = same;
}

GbkEncoder::~GbkEncoder() {
    iconv_close(handle(cd_));
}

bool GbkEncoder::convert(char32_t c, char* bytes, qsizetype& length) {
    iconv(handle(cd_), nullptr, nullptr, nullptr, nullptr);
    char32_t unit = c;
    char* in = reinterpret_cast<char*>(&unit);
    size_t inLeft = sizeof(unit);
    char* out = bytes;
    size_t outLeft = kMaxBytes;
    // EILSEQ for a character GBK lacks; EINVAL and E2BIG cannot come of one whole UTF-32 unit.
    if (iconv(handle(cd_), &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) return false;
    length = out - bytes;
    return true;
}

uint32_t GbkEncoder::codeOf(char32_t c) {
    char bytes[kMaxBytes];
    qsizetype length = 0;
    if (!convert(c, bytes, length)) return kMissing;
    if (length > 2) return kLonger;
    uint32_t code = 0;
    for (qsizetype i = 0; i < length; ++i) code = (code << 8) | static_cast<unsigned char>(bytes[i]);
    return kBytes | (static_cast<uint32_t>(length) << 16) | code;
}

std::optional<GbkEncoder::Failure> GbkEncoder::encode(QStringView text, QByteArray& out) {
    const qsizetype n = text.size();
    if (n == 0) return std::nullopt;

    const qsizetype start = out.size();
    const char16_t* p = text.utf16();
    if (asciiUnchanged_) {
        qsizetype ascii = 0;
        while (ascii < n && p[ascii] < 0x80) ++ascii;
        if (ascii == n) {
            out.resize(start + n);
            char* o = out.data() + start;
            for (qsizetype i = 0; i < n; ++i) o[i] = static_cast<char>(p[i]);
            return std::nullopt;
        }
    }
    // Two bytes a UTF-16 unit are enough for every character GBK has.
    out.resize(start + 2 * n);
    char* o = out.data() + start;

    qsizetype index = 0;  // in characters: a surrogate pair counts once, as does a broken surrogate
    for (qsizetype i = 0; i < n; ++i, ++index) {
        const char16_t u = p[i];
        if (u < 0x80 && asciiUnchanged_) {
            *o++ = static_cast<char>(u);
            continue;
        }
        char32_t c = u;
        uint32_t entry = 0;
        if (QChar::isSurrogate(u)) {
            if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
                c = QChar::surrogateToUcs4(u, p[++i]);
            } else {
                c = 0xFFFD;  // a broken surrogate is no character
            }
        }
        if (c <= 0xFFFF) {
            if (!bmp_) bmp_ = std::make_unique<uint32_t[]>(0x10000);
            entry = bmp_[c];
            if (entry == 0) entry = bmp_[c] = codeOf(c);
        } else {
            entry = codeOf(c);
        }

        switch (entry & kKindMask) {
            case kBytes: {
                const uint32_t length = (entry >> 16) & 0xFF;
                if (length == 2) {
                    *o++ = static_cast<char>((entry >> 8) & 0xFF);
                    *o++ = static_cast<char>(entry & 0xFF);
                } else if (length == 1) {
                    *o++ = static_cast<char>(entry & 0xFF);
                }
                break;
            }
            case kLonger: {
                char bytes[kMaxBytes];
                qsizetype length = 0;
                convert(c, bytes, length);
                const qsizetype used = o - out.data();
                const qsizetype need = used + length + 2 * (n - i - 1);
                if (need > out.size()) {
                    out.resize(need);
                    o = out.data() + used;
                }
                std::memcpy(o, bytes, size_t(length));
                o += length;
                break;
            }
            default:
                out.resize(start);
                return Failure{index, c};
        }
    }
    if (o - out.data() != out.size()) out.resize(o - out.data());
    return std::nullopt;
}

}  // namespace slp::bank
