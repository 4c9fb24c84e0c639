// Feeds arbitrary bytes to the settings reader. Nothing may crash; every line is either used or said to
// be skipped, and what is kept is a settings file of its own: written out, it reads back whole (no line
// skipped) and the same.
#include <cstdint>
#include <cstdlib>

#include "settings/ini_document.h"

using slp::settings::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<IniDocument::SkippedLine> skipped;
    const IniDocument kept = IniDocument::parseKeepingGoodLines(bytes, skipped);
    // A file without a skipped line is a well-formed one, and the other way round.
    if (skipped.isEmpty() != IniDocument::parse(bytes).has_value()) std::abort();
    int last = 0;
    for (const IniDocument::SkippedLine& line : skipped) {
        if (line.number <= last || line.reason.isEmpty()) std::abort();
        last = line.number;
    }
    const QByteArray written = kept.serialize();
    const std::optional<IniDocument> again = IniDocument::parse(written);
    if (!again || again->serialize() != written) std::abort();
    return 0;
}
