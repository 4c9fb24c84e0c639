#include "export/strip_print.h"

#include <QPageLayout>
#include <QPageSize>
#include <exception>

#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/printer.h"
#include "print/wage_print.h"

using namespace Qt::StringLiterals;

namespace slp::strips {

namespace {

QString cellOrEmpty(const data::WageGrid& grid, int row, int col) {
    if (row < 0 || row >= grid.rows() || col < 0 || col >= grid.cols()) return QString();
    return grid.text(row, col);
}

// The caption of the last strip: right-aligned when it fits its column with 100 twips to spare, else
// raised by half a line and split into centred lines that start from its right-aligned position.
void printLastCaption(print::PrintTarget& target, const QString& caption, float width, float rightAlignedX,
                      float y, float heightOfO) {
    if (target.TextWidth(caption) <= width + 100) {
        target.SetCurrentX(rightAlignedX);
        target.SetCurrentY(y);
        target.Print(caption);
        return;
    }
    print::PrintFittedCaption(target, caption, width, rightAlignedX, y - heightOfO / 2);
}

}  // namespace

int PrintGridStrips(print::Printer& printer, const data::WageGrid& grid, int firstRow, int lastRow,
                    bool drawCellRules, float originX, float originY, float fontSize) {
    if (firstRow > lastRow) return 0;
    bool anyVisible = false;
    for (int j = 0; j < grid.cols(); ++j) anyVisible = anyVisible || grid.colWidth(j) > kStripHiddenWidth;
    if (!anyVisible) return 0;  // nothing would be drawn: no job of blank pages
    // A point is 20 twips; the page is wider than high and is given as it lies.
    printer.setPageLayout(QPageSize(QSizeF(kStripPageWidth / 20, kStripPageHeight / 20), QPageSize::Point,
                                    QString(), QPageSize::ExactMatch),
                          QPageLayout::Portrait);
    print::PrintTarget& target = printer.target();
    target.SetFontSize(fontSize);
    const float heightOfO = target.TextHeight(u"O"_s);
    // Two text lines with equal gaps above, between and below them.
    const float gap = (kStripPageHeight - 2 * heightOfO) / 3;
    int printed = 0;
    try {
        for (int n = firstRow; n <= lastRow; ++n) {
            float x = 0;
            for (int j = 0; j < grid.cols(); ++j) {
                const float width = float(grid.colWidth(j));
                if (grid.colWidth(j) <= kStripHiddenWidth) continue;
                if (drawCellRules) target.Line(originX + x, originY, originX + x + width, originY);
                const QString caption = cellOrEmpty(grid, 0, j);
                const float captionX = originX + x + width - target.TextWidth(caption) - kStripRightInset;
                if (n == lastRow) {
                    printLastCaption(target, caption, width, captionX, originY + gap, heightOfO);
                } else {
                    target.SetCurrentX(captionX);
                    target.SetCurrentY(originY + gap);
                    target.Print(caption);
                }
                const QString value = cellOrEmpty(grid, n, j);
                target.SetCurrentX(originX + x + width - target.TextWidth(value) - kStripRightInset);
                target.SetCurrentY(originY + heightOfO + 2 * gap);
                target.Print(value);
                x += width;
            }
            ++printed;
            if (n < lastRow) printer.newPage();
        }
        printer.endDoc();
    } catch (...) {
        printer.abortDoc();
        throw;
    }
    return printed;
}

}  // namespace slp::strips
