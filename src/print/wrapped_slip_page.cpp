// Wrapped wage slips: a grid too wide for the paper printed as slips of line pairs, a caption line over
// a value line, columnsPerLine equal slots a line, wrapping into further line pairs.
#include <algorithm>
#include <cmath>

#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/render_support.h"
#include "print/wage_print.h"

using namespace Qt::StringLiterals;

namespace slp::print {

using namespace render;

void PrintWrappedSlipPage(PrintLayout& layout, const data::WageGrid& grid, RowSpan rows,
                          const PageGeometry& g, int pageNumber) {
    const auto [firstRow, lastRow] = rows;
    const float originX = g.originX;
    const float originY = g.originY;
    const float rowHeight = g.rowHeight;
    const float textOffset = g.textOffset;
    const float scale = g.scale;
    const float fontSize = g.fontSize;
    const int firstCol = g.firstCol;
    const int lastCol = g.lastCol;
    const float cellInset = g.cellInset;
    PrintTarget& t = targetOf(layout);
    const ExtraColumns extras = readSlipExtraColumns(layout.environment);
    const float W = layout.printWidth;
    const float S = layout.slotWidth;
    const float h = rowHeight * scale;
    const int endCol = lastColumn(grid, lastCol);
    auto rule = [&](float y) { t.Line(originX, y, originX + W, y); };

    if (!layout.printTitle.trimmed().isEmpty()) {
        t.SetFontSize((fontSize + 5) * scale);
        t.SetCurrentX(originX + (W - t.TextWidth(layout.printTitle)) / 2);
        t.SetCurrentY(originY - 400 * scale);
        t.Print(layout.printTitle);
    }
    t.SetFontSize(fontSize * scale);
    float y = originY;
    if (layout.drawHorizontalLines) rule(y);

    // Page head: the unit at the left, the page numbers at the right, just above the first rule.
    const float headY = y - t.TextHeight(u"O"_s) - 30 * scale;
    t.SetCurrentX(originX);
    t.SetCurrentY(headY);
    t.Print(layout.headerLeftText);
    const QString pages = u"共%1页  第%2页"_s.arg(layout.pageCount).arg(pageNumber);
    t.SetCurrentY(headY);
    t.SetCurrentX(originX + W - t.TextWidth(pages));
    t.Print(pages);

    const float textTop = textOffset * scale;
    auto centred = [&](const QString& text, float left, float top) {
        t.SetCurrentX(left + (S * scale - t.TextWidth(text)) / 2);
        t.SetCurrentY(top);
        t.Print(text);
    };

    // Slots a line: the set count, or fewer when they were widened to hold the texts.
    const int perLine =
        S > 0 ? std::max(1, int(std::lround(W / S))) : std::max<int>(layout.columnsPerLine, 1);
    for (int i = firstRow; i <= lastRow && i <= grid.rows() - 1; ++i) {
        const float slipTop = y;
        float x = originX;
        if (layout.drawVerticalLines) t.Line(originX, y, originX, y + h);
        for (int j = firstCol; j <= endCol; ++j) {
            if (!columnVisible(grid, j)) continue;
            // The running position includes originX but is compared with the line width alone, so a
            // large X origin wraps one slot earlier.
            if (x > W * scale) {
                x = originX + S * scale * float(layout.continuationIndent);
                y += 2 * h;
                if (layout.drawMiddleLines) rule(y);
            }
            printInCell(t, 4, cellText(grid, 0, j), x, S * scale, 0, y + textTop);
            const QString value = cellText(grid, i, j);
            printInCell(t, grid.colAlignment(j), value, x, S * scale, cellInset * scale, y + textTop + h);
            x += S * scale;
        }
        // The extra columns take the rightmost slots of the last line pair.
        if (extras.payDate) {
            const float left = originX + W - S * scale;
            centred(u"发薪日期"_s, left, y + textTop);
            centred(layout.environment.payDate, left, y + textTop + h);
        }
        if (extras.signOff) centred(u"签收"_s, originX + W - 2 * S * scale, y + textTop);
        if (!layout.fitsOneLine) {
            if (layout.drawHorizontalLines) rule(y - 2 * h);
            if (layout.drawCenterLine) {
                rule(y - h);
                rule(y + h);
            }
        }
        if (layout.drawVerticalLines) {
            // Down the whole slip, however many line pairs it took.
            const float top = layout.fitsOneLine ? y : slipTop;
            for (int k = 0; k <= perLine; ++k) {
                const float vx = originX + float(k) * S;
                t.Line(vx, top, vx, y + 2 * h);
            }
        }
        if (layout.drawMiddleLines && !layout.fitsOneLine) rule(y);
        y += 2 * h;
        if (layout.drawHorizontalLines) rule(y);
    }
    if (layout.drawHorizontalLines) rule(y);

    // Footer: the maker at the left, the footer text in the middle, the print date at the right.
    const float footY = y + 45 * scale;
    t.SetCurrentX(originX);
    t.SetCurrentY(footY);
    t.Print(u"【朔岚软件】"_s);
    t.SetCurrentX(originX + (W - t.TextWidth(layout.footerText)) / 2);
    t.SetCurrentY(footY);
    t.Print(layout.footerText);
    const QString printed = u"打印时间:"_s + todayText(layout.environment);
    t.SetCurrentX(originX + W - t.TextWidth(printed));
    t.SetCurrentY(footY);
    t.Print(printed);

    checkOverflow(layout, y);
}

}  // namespace slp::print
