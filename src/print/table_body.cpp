// The body of a table page: the page's data rows, the totals row in double height on the page that
// reaches it, the bottom frame, the footer and the signature line.
#include <algorithm>

#include "basic/conversions.h"
#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/render_support.h"
#include "print/wage_print.h"

using namespace Qt::StringLiterals;

namespace slp::print {

using namespace render;

void PrintTableBody(PrintLayout& layout, const data::WageGrid& grid, RowSpan rows, const PageGeometry& g,
                    float bodyTop) {
    const auto [firstRow, lastRow] = rows;
    const float originX = g.originX;
    const float rowHeight = g.rowHeight;
    const float textOffset = g.textOffset;
    const float scale = g.scale;
    const int firstCol = g.firstCol;
    const int lastCol = g.lastCol;
    PrintTarget& t = targetOf(layout);
    PageFonts fonts(layout);
    const ExtraColumns extras = readTableExtraColumns(layout.environment);
    const Pens pens = readTablePens(layout.environment);
    const TableWidth table = tableWidth(grid, scale, extras);
    const int endCol = lastColumn(grid, lastCol);
    const int totalsRow = grid.rows() - 1;
    const float h = rowHeight * scale;
    t.SetDrawWidth(pens.line);

    // The preview shows how wide the table is against the paper; the printer never gets this line.
    if (t.IsPicture()) {
        t.SetCurrentX(0);
        t.SetCurrentY(0);
        t.Print(u"表格宽度:"_s + plainNumber(table.width) + u"   打印纸张宽度:"_s +
                plainNumber(t.PrinterPrintableWidth()));
    }

    float rowTop = bodyTop;
    auto across = [&](float y) { t.Line(originX, y, originX + table.width, y); };
    t.SetDrawWidth(pens.frame);
    if (layout.drawHorizontalLines) across(rowTop);
    t.SetDrawWidth(pens.line);

    // The extra columns of a row: the pay date in its cell, the closing lines (the signature column's
    // line of a data row is one unscaled row height tall).
    auto extraColumns = [&](float height, float signatureHeight) {
        if (extras.payDate) {
            const QString& date = layout.environment.payDate;
            t.SetCurrentX(originX + table.dateRight - 1000 * scale + (1000 * scale - t.TextWidth(date)) / 2);
            t.SetCurrentY(rowTop + textOffset * scale);
            t.Print(date);
            if (layout.drawVerticalLines) {
                t.Line(originX + table.dateRight, rowTop, originX + table.dateRight, rowTop + height);
            }
        }
        // The signature cell stays empty; only its right edge is drawn.
        if (extras.signOff && layout.drawVerticalLines) {
            const float right = originX + table.width;
            t.Line(right, rowTop, right, rowTop + signatureHeight);
        }
    };
    auto leftFrame = [&](float height) {
        t.SetDrawWidth(pens.frame);
        if (layout.drawVerticalLines) t.Line(originX, rowTop, originX, rowTop + height);
        t.SetDrawWidth(pens.line);
    };
    auto closeCell = [&](float cellLeft, int j, float height) {
        t.SetDrawWidth(j == endCol ? pens.frame : pens.line);
        if (layout.drawVerticalLines) t.Line(cellLeft, rowTop, cellLeft, rowTop + height);
        t.SetDrawWidth(pens.line);
    };

    int i = firstRow;
    for (; i <= lastRow && i < totalsRow; ++i) {
        float cellLeft = originX;
        t.SetDrawWidth(i == firstRow ? pens.frame : pens.middle);
        if (layout.drawHorizontalLines) across(rowTop);
        leftFrame(h);
        for (int j = firstCol; j <= endCol; ++j) {
            if (!columnVisible(grid, j)) continue;
            const float w = float(grid.colWidth(j)) * scale;
            fonts.set(j == endCol ? u"黑体"_s : u"宋体"_s);
            const QString text = cellText(grid, i, j);
            printInCell(t, grid.colAlignment(j), text, cellLeft, w, 30 * scale, rowTop + textOffset * scale);
            cellLeft += w;
            closeCell(cellLeft, j, h);
        }
        extraColumns(h, rowHeight);
        rowTop += h;
    }

    // The totals row, in double height and 黑体. Neighbouring totals alternate between the upper and the
    // lower half so long numbers do not collide.
    if (i == totalsRow && i >= firstRow && i <= lastRow) {
        t.SetDrawWidth(pens.frame);
        if (layout.drawHorizontalLines) across(rowTop);
        t.SetDrawWidth(pens.line);
        leftFrame(2 * h);
        float cellLeft = originX;
        int k = 0;
        // On one line: the size at which every total fits its cell, the same for all of them, in the
        // middle of the double-height row.
        const float baseSize = t.FontSize();
        float oneLineSize = baseSize;
        if (layout.totalsOnOneLine) {
            fonts.set(u"黑体"_s);
            for (int j = firstCol; j <= endCol; ++j) {
                if (!columnVisible(grid, j)) continue;
                const float room = float(grid.colWidth(j)) * scale - 30 * scale;
                const float width = t.TextWidth(cellText(grid, i, j));
                if (width > room && room > 0)
                    oneLineSize = std::min(oneLineSize, baseSize * room / width * 0.98f);
            }
        }
        for (int j = firstCol; j <= endCol; ++j) {
            if (!columnVisible(grid, j)) continue;
            const float w = float(grid.colWidth(j)) * scale;
            fonts.set(u"黑体"_s);
            ++k;
            const QString text = cellText(grid, i, j);
            float y = rowTop + textOffset * scale + h;
            if (layout.totalsOnOneLine) {
                t.SetFontSize(oneLineSize);
                y = rowTop + h - t.TextHeight(u"O"_s) / 2;
            } else if (k % 2 == 1) {
                y = rowTop + textOffset * scale;
            } else if (t.TextWidth(text) > w) {
                y = rowTop + textOffset * scale / 2 + h;
            }
            printInCell(t, grid.colAlignment(j), text, cellLeft, w, 30 * scale, y);
            if (t.FontSize() != baseSize) t.SetFontSize(baseSize);
            cellLeft += w;
            closeCell(cellLeft, j, 2 * h);
        }
        extraColumns(2 * h, 2 * h);
        rowTop += 2 * h;
    }

    fonts.set(u"宋体"_s);
    t.SetDrawWidth(pens.frame);
    if (layout.drawHorizontalLines) across(rowTop);
    t.SetDrawWidth(pens.line);

    // Footer: maker and date at the left, the footer text centred, the signature labels in the room
    // right of the maker's text.
    const float y1 = rowTop + 45 * scale + h / 2;
    const QString left = u"【朔岚软件】    "_s + todayText(layout.environment);
    t.SetCurrentX(originX);
    t.SetCurrentY(y1);
    t.Print(left);
    t.SetCurrentX(originX + (table.width - t.TextWidth(layout.footerText)) / 2);
    t.SetCurrentY(rowTop + 45 * scale);
    t.Print(layout.footerText);
    const float leftWidth = t.TextWidth(left);
    const float room = table.width - leftWidth;
    const float start = originX + leftWidth;
    const struct {
        QString text;
        float at;
    } labels[] = {{u"财务主管:"_s, 1}, {u"复核:"_s, 2.5f}, {u"制单:"_s, 4}};
    for (const auto& label : labels) {
        t.SetCurrentX(start + room / 7 * label.at);
        t.SetCurrentY(y1);
        t.Print(label.text);
    }

    checkOverflow(layout, rowTop);
}

}  // namespace slp::print
