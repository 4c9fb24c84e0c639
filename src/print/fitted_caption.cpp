#include <cmath>

#include "basic/conversions.h"
#include "print/print_target.h"
#include "print/wage_print.h"

namespace slp::print {

void PrintFittedCaption(PrintTarget& target, const QString& text, float width, float x, float y) {
    const float full = target.TextWidth(text);
    if (full <= width + 100) {
        target.SetCurrentX(x + width - full);
        target.SetCurrentY(y);
        target.Print(text);
        return;
    }
    target.SetCurrentY(y);
    // The most characters from the start that are not wider than the cell.
    const int length = int(text.size());
    int n = 0;
    while (n <= length && target.TextWidth(text.left(n)) <= width) ++n;
    int perLine = n - 1;
    // A cell narrower than the first character: one character a line rather than no line at all.
    if (perLine < 1) perLine = 1;
    const double lineCount = roundHalfEven(double(length) / perLine + 0.5);
    for (int m = 1; m <= int(lineCount); ++m) {
        const QString part = text.mid((m - 1) * perLine, perLine);
        target.SetCurrentX(x + (width - target.TextWidth(part)) / 2);
        target.Print(part);
    }
}

}  // namespace slp::print
