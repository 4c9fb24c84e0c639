#include "print/reports/strip_report.h"

#include <QPageLayout>
#include <QPageSize>

#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/printer.h"
#include "print/reports/delivery.h"
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

StripReport::StripReport(const data::WageGrid& grid, int firstRow, int lastRow, bool drawCellRules,
                         float originX, float originY, float fontSize)
    : grid_(grid),
      firstRow_(firstRow),
      lastRow_(lastRow),
      drawCellRules_(drawCellRules),
      originX_(originX),
      originY_(originY),
      fontSize_(fontSize) {}

int StripReport::pageCount() const {
    bool anyVisible = false;
    for (int j = 0; j < grid_.cols(); ++j) anyVisible = anyVisible || grid_.colWidth(j) > kStripHiddenWidth;
    // Nothing would be drawn: no job of blank pages.
    if (!anyVisible || firstRow_ > lastRow_) return 0;
    return lastRow_ - firstRow_ + 1;
}

void StripReport::draw(int page, print::PrintTarget& target) {
    const int n = firstRow_ + page - 1;
    target.SetFontSize(fontSize_);
    const float heightOfO = target.TextHeight(u"O"_s);
    // Two text lines with equal gaps above, between and below them.
    const float gap = (kStripPageHeight - 2 * heightOfO) / 3;
    float x = 0;
    for (int j = 0; j < grid_.cols(); ++j) {
        const float width = float(grid_.colWidth(j));
        if (grid_.colWidth(j) <= kStripHiddenWidth) continue;
        if (drawCellRules_) target.Line(originX_ + x, originY_, originX_ + x + width, originY_);
        const QString caption = cellOrEmpty(grid_, 0, j);
        const float captionX = originX_ + x + width - target.TextWidth(caption) - kStripRightInset;
        if (n == lastRow_) {
            printLastCaption(target, caption, width, captionX, originY_ + gap, heightOfO);
        } else {
            target.SetCurrentX(captionX);
            target.SetCurrentY(originY_ + gap);
            target.Print(caption);
        }
        const QString value = cellOrEmpty(grid_, n, j);
        target.SetCurrentX(originX_ + x + width - target.TextWidth(value) - kStripRightInset);
        target.SetCurrentY(originY_ + heightOfO + 2 * gap);
        target.Print(value);
        x += width;
    }
}

int PrintGridStrips(print::Printer& printer, const data::WageGrid& grid, int firstRow, int lastRow,
                    bool drawCellRules, float originX, float originY, float fontSize,
                    const QString& fileName) {
    StripReport report(grid, firstRow, lastRow, drawCellRules, originX, originY, fontSize);
    if (report.pageCount() == 0) return 0;
    // A point is 20 twips; the page is wider than high and is given as it lies.
    printer.setPageLayout(QPageSize(QSizeF(kStripPageWidth / 20, kStripPageHeight / 20), QPageSize::Point,
                                    QString(), QPageSize::ExactMatch),
                          QPageLayout::Portrait);
    print::DeliveryOptions options = print::splitAs(print::JobSplit::OneJob);
    options.fileName = fileName;
    return print::deliver(report, printer, {}, options);
}

}  // namespace slp::strips
