#include "export/gbk_encoder.h"

#include <iconv.h>

#include <QList>
#include <QSysInfo>
#include <cerrno>

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

}  // namespace

GbkEncoder::GbkEncoder() {
    iconv_t cd = iconv_open("GBK", utf32Name());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw Error(errnum::DeviceIo, u"系统不支持GBK编码，无法写入工资卡文件"_s);
    }
    cd_ = cd;
}

GbkEncoder::~GbkEncoder() {
    iconv_close(handle(cd_));
}

std::optional<GbkEncoder::Failure> GbkEncoder::encode(QStringView text, QByteArray& out) {
    // A broken surrogate becomes U+FFFD here, which GBK lacks as well.
    const QList<uint> ucs4 = text.toUcs4();
    if (ucs4.isEmpty()) return std::nullopt;

    iconv(handle(cd_), nullptr, nullptr, nullptr, nullptr);
    const qsizetype start = out.size();
    // GBK needs at most two bytes a character.
    out.resize(start + ucs4.size() * 2);

    char* in = reinterpret_cast<char*>(const_cast<uint*>(ucs4.constData()));
    size_t inLeft = static_cast<size_t>(ucs4.size()) * sizeof(uint);
    char* outPtr = out.data() + start;
    size_t outLeft = static_cast<size_t>(ucs4.size()) * 2;

    while (inLeft > 0) {
        const size_t r = iconv(handle(cd_), &in, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            const qsizetype used = outPtr - out.data();
            out.resize(out.size() + 16);
            outPtr = out.data() + used;
            outLeft += 16;
            continue;
        }
        // EILSEQ, or EINVAL which whole UTF-32 units never give: `in` stands on the character.
        const qsizetype index =
            (in - reinterpret_cast<const char*>(ucs4.constData())) / static_cast<qsizetype>(sizeof(uint));
        out.resize(start);
        return Failure{index, static_cast<char32_t>(ucs4.at(index))};
    }
    out.resize(outPtr - out.data());
    return std::nullopt;
}

}  // namespace slp::bank
