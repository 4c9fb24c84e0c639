// The head of a table page: title, unit and pay date, page numbers and the caption rows. Identical
// neighbouring captions merge into one cell, across columns and down rows, so a caption row can carry
// group headings.
#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/render_support.h"
#include "print/wage_print.h"

using namespace Qt::StringLiterals;

namespace slp::print {

using namespace render;

namespace {
bool boldCaption(const QString& caption) {
    return caption == u"应发工资"_s || caption == u"实发工资"_s;
}
}  // namespace

void PrintTableHead(PrintLayout& layout, const data::WageGrid& grid, RowSpan captionRows,
                    const PageGeometry& g, int pageNumber) {
    const auto [firstRow, lastRow] = captionRows;
    const float originX = g.originX;
    const float originY = g.originY;
    const float rowHeight = g.rowHeight;
    const float textOffset = g.textOffset;
    const float scale = g.scale;
    const float fontSize = g.fontSize;
    const int firstCol = g.firstCol;
    const int lastCol = g.lastCol;
    PrintTarget& t = targetOf(layout);
    PageFonts fonts(layout);
    const ExtraColumns extras = readTableExtraColumns(layout.environment);
    const Pens pens = readTablePens(layout.environment);
    const TableWidth table = tableWidth(grid, scale, extras);
    const int endCol = lastColumn(grid, lastCol);
    t.SetDrawWidth(pens.line);

    if (!layout.printTitle.trimmed().isEmpty()) {
        t.SetFontSize((fontSize + 9) * scale);
        // Centred as measured in the face in use before the title's own face is set.
        t.SetCurrentX(originX + (table.width - t.TextWidth(layout.printTitle)) / 2);
        t.SetCurrentY(originY - 540 * scale);
        fonts.set(u"隶书"_s);
        t.Print(layout.printTitle);
    }
    t.SetFontSize(fontSize * scale);
    fonts.set(u"宋体"_s);
    float rowTop = originY;

    t.SetDrawWidth(pens.frame);
    if (layout.drawHorizontalLines) t.Line(originX, rowTop, originX + table.width, rowTop);
    t.SetDrawWidth(pens.line);

    // Page head: unit and pay date on the line above the table, the page numbers above that.
    const float textH = t.TextHeight(u"O"_s);
    auto printRight = [&](const QString& text, float y) {
        t.SetCurrentY(y);
        t.SetCurrentX(originX + table.width - t.TextWidth(text));
        t.Print(text);
    };
    const float headY = rowTop - textH - 30 * scale;
    t.SetCurrentY(headY);
    t.SetCurrentX(originX);
    t.Print(layout.headerLeftText);
    printRight(layout.headerRightText, headY);
    printRight(u"共%1页  第%2页"_s.arg(layout.pageCount).arg(pageNumber), rowTop - 2 * textH - 60 * scale);

    const float h = rowHeight * scale;
    auto printCaption = [&](const QString& caption, auto&& print) {
        const bool bold = boldCaption(caption);
        if (bold) t.SetFontBold(true);
        print();
        if (bold) t.SetFontBold(false);
    };

    for (int i = firstRow; i <= lastRow && i <= grid.rows() - 1; ++i) {
        float cellLeft = originX;
        float ruleLeft = originX;
        float runWidth = 0;
        if (i == firstRow) t.SetDrawWidth(pens.frame);
        if (layout.drawVerticalLines) t.Line(originX, rowTop, originX, rowTop + h);
        t.SetDrawWidth(pens.line);

        for (int j = firstCol; j <= endCol; ++j) {
            if (columnVisible(grid, j)) {
                const float w = float(grid.colWidth(j)) * scale;
                const QString caption = cellText(grid, i, j);
                const bool sameBelow = i + 1 < grid.rows() && cellText(grid, i + 1, j) == caption;
                const bool sameAbove = i >= 1 && cellText(grid, i - 1, j) == caption;
                // A caption that reaches into the next row is centred on the boundary of the two rows.
                if (sameBelow) {
                    t.SetCurrentY(rowTop + (rowHeight - textH / 2) * scale);
                } else {
                    if (i == 0 && layout.drawHorizontalLines) {
                        t.Line(ruleLeft, rowTop + h, ruleLeft + w, rowTop + h);
                    }
                    t.SetCurrentY(rowTop + textOffset * scale);
                }
                // A run of equal captions goes on to the right; a run shows its text in its last column.
                const bool sameRight = j + 1 >= grid.cols() || cellText(grid, i, j + 1) == caption;
                if (sameRight) {
                    runWidth += w;
                    cellLeft += w;
                } else {
                    t.SetCurrentX(cellLeft);
                    if (!sameAbove) {
                        const float y = t.CurrentY();
                        printCaption(caption, [&] {
                            PrintFittedCaption(t, caption, float(grid.colWidth(j)), cellLeft, y);
                        });
                    }
                    cellLeft += w;
                    runWidth = 0;
                    if (layout.drawVerticalLines) t.Line(cellLeft, rowTop, cellLeft, rowTop + h);
                }
                if (j == endCol) {
                    // The last column always ends its run: centred over the run.
                    t.SetCurrentX(cellLeft - runWidth + (runWidth * scale - t.TextWidth(caption)) / 2);
                    if (i == 0 || !sameAbove) printCaption(caption, [&] { t.Print(caption); });
                    runWidth = 0;
                    t.SetDrawWidth(pens.frame);
                    if (layout.drawVerticalLines) t.Line(cellLeft, rowTop, cellLeft, rowTop + h);
                    t.SetDrawWidth(pens.line);
                }
            }
            // The rules under the captions advance by every column of the range, visible or not.
            if (j >= 0 && j < grid.cols()) ruleLeft += float(grid.colWidth(j)) * scale;
        }

        const float captionY = rowTop + textOffset * scale;
        auto centredIn1000 = [&](const QString& text, float right) {
            t.SetCurrentX(originX + right - 1000 * scale + (1000 * scale - t.TextWidth(text)) / 2);
            t.SetCurrentY(captionY);
            t.Print(text);
            if (layout.drawVerticalLines)
                t.Line(originX + right, rowTop, originX + right, rowTop + rowHeight);
        };
        if (extras.payDate) centredIn1000(u"发薪日期"_s, table.dateRight);
        if (extras.signOff) centredIn1000(u"签收"_s, table.width);
        rowTop += h;
        if (i != 0 && layout.drawHorizontalLines) t.Line(originX, rowTop, originX + table.width, rowTop);
    }
}

}  // namespace slp::print
