// Wage slips with the grid's own column widths: every row a slip of two lines, the captions over the
// employee's values, shrunk by a common factor when the table is wider than the paper allows.
#include "basic/conversions.h"
#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/render_support.h"
#include "print/wage_print.h"

using namespace Qt::StringLiterals;

namespace slp::print {

using namespace render;

float PrintSlipPage(PrintLayout& layout, const data::WageGrid& grid, RowSpan rows, const PageGeometry& g) {
    const auto [firstRow, lastRow] = rows;
    const float originX = g.originX;
    const float originY = g.originY;
    const float rowHeight = g.rowHeight;
    const float textOffset = g.textOffset;
    const float givenScale = g.scale;
    const float fontSize = g.fontSize;
    const int firstCol = g.firstCol;
    const int lastCol = g.lastCol;
    float scale = givenScale;
    PrintTarget& t = targetOf(layout);
    const ExtraColumns extras = readSlipExtraColumns(layout.environment);
    const int endCol = lastColumn(grid, lastCol);

    // Width and scale. The extra columns are added with the scale as lowered for the grid alone, and
    // the width is not recomputed after the final lowering.
    float tableWidth = render::tableWidth(grid, scale, {}).width;
    float dateRight = 0;
    const float available = t.PrinterPaperWidth() - 2 * originX;
    if (available < tableWidth) scale = available / tableWidth;
    if (extras.payDate) {
        tableWidth += 1000 * scale;
        dateRight = tableWidth;
    }
    if (extras.signOff) {
        dateRight = tableWidth;
        tableWidth += 1000 * scale;
    }
    if (available < tableWidth) scale = available * 0.95f / tableWidth;

    t.SetFontSize(fontSize * scale);
    if (!layout.printTitle.trimmed().isEmpty()) {
        t.SetFontSize((fontSize + 5) * scale);
        t.SetCurrentX(originX + (layout.printWidth - t.TextWidth(layout.printTitle)) / 2);
        t.SetCurrentY(originY - 400 * scale);
        t.Print(layout.printTitle);
        t.SetFontSize(fontSize * scale);
    }

    auto rule = [&](float y) { t.Line(originX, y, originX + tableWidth, y); };
    float lineTop = originY;
    if (layout.drawHorizontalLines) rule(lineTop);
    const QString payDate = formatText(layout.environment.payDate, u"YY-MM");

    for (int i = firstRow; i <= lastRow && i <= grid.rows() - 1; ++i) {
        const float captionY = lineTop + textOffset * scale;
        const float valueY = captionY + rowHeight * scale;
        float cellLeft = originX;
        for (int j = firstCol; j <= endCol; ++j) {
            if (!columnVisible(grid, j)) continue;
            // Captions and values are placed with the unscaled column width while the columns advance
            // by the scaled width; with scale 1 the two agree.
            const float w = float(grid.colWidth(j));
            PrintFittedCaption(t, cellText(grid, 0, j), w, cellLeft, captionY);
            if (layout.drawMiddleLines) rule(lineTop + rowHeight * scale);
            // Right-aligned on the unscaled width, in the room of the scaled column.
            printInCell(t, 5, cellText(grid, i, j), cellLeft, w, 0, valueY, scale * (w - 60));
            cellLeft += scale * w;
        }
        if (extras.payDate) {
            // Centred in the 800 twips that end at the date column's right edge.
            const float left = (dateRight + originX - 800) * scale;
            t.SetCurrentX(left + (800 - t.TextWidth(u"日期"_s)) * scale / 2);
            t.SetCurrentY(captionY);
            t.Print(u"日期"_s);
            t.SetCurrentX(left + (800 - t.TextWidth(payDate)) * scale / 2);
            t.SetCurrentY(valueY);
            t.Print(payDate);
        }
        if (extras.signOff) {
            t.SetCurrentX(originX + tableWidth - 1000 * scale + (1000 * scale - t.TextWidth(u"签收"_s)) / 2);
            t.SetCurrentY(captionY);
            t.Print(u"签收"_s);
        }
        lineTop += 2 * rowHeight * scale;
        if (layout.drawHorizontalLines) rule(lineTop);
    }

    // Every slip page is a print job of its own.
    if (t.IsPrinter()) t.EndDoc();
    checkOverflow(layout, lineTop);
    return scale;
}

}  // namespace slp::print
