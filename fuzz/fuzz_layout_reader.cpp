// libFuzzer target: the reader of layout text (slpayprn layout save FILE.tsv). Any bytes either read as
// rows that are whole (finite positions on the page, 位置 0 to 3, 序号 in order) and read back the same
// after being written, or are refused naming a line of the text; nothing crashes.
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "app/special_print/layout_text.h"
#include "app/special_print/special_layout.h"

using namespace slp::windows::special;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    std::vector<LayoutRow> rows;
    try {
        rows = layoutFromTsv(text);
    } catch (const LayoutTextError& e) {
        if (e.line < 1 || e.line > text.count(u'\n') + 1 || e.reason.isEmpty()) std::abort();
        return 0;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const LayoutRow& r = rows[i];
        if (!std::isfinite(r.x) || !std::isfinite(r.y) || !positionInRange(r.x) || !positionInRange(r.y))
            std::abort();
        if (r.position < 0 || r.position > 3 || r.order != int16_t(i)) std::abort();
    }
    // What was accepted is written and read back alike (captions lose their tabs and line breaks).
    const std::vector<LayoutRow> again = layoutFromTsv(QString::fromUtf8(layoutAsTsv(rows)));
    if (again.size() != rows.size()) std::abort();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (again[i].x != rows[i].x || again[i].y != rows[i].y || again[i].position != rows[i].position ||
            again[i].printName != rows[i].printName)
            std::abort();
    }
    return 0;
}
