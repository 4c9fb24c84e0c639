// Feeds arbitrary tables to the TrueType face and subsets them: the head, hhea, maxp, hmtx, loca and glyf
// tables each come with a two-byte length, then the glyphs to keep, two bytes each. Nothing may crash
// or read outside the tables, however the counts, offsets and composite glyphs in them disagree.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "print/pdf/truetype_face.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0;
    auto take = [&](size_t n) {
        n = std::min(n, size - at);
        QByteArray bytes(reinterpret_cast<const char*>(data + at), qsizetype(n));
        at += n;
        return bytes;
    };
    auto length = [&]() -> size_t {
        if (size - at < 2) return 0;
        const size_t n = (size_t(data[at]) << 8) | data[at + 1];
        at += 2;
        return n;
    };
    QByteArray tables[6];
    for (auto& table : tables) table = take(length());
    std::vector<quint32> glyphs;
    while (size - at >= 2) glyphs.push_back(quint32((data[at] << 8) | data[at + 1])), at += 2;
    const auto face = slp::print::pdf::TrueTypeFace::fromTables(tables[0], tables[1], tables[2], tables[3],
                                                                tables[4], tables[5]);
    for (const quint32 g : glyphs) (void)face->advance(g);
    const QByteArray program = face->subset(glyphs);
    (void)program;
    return 0;
}
