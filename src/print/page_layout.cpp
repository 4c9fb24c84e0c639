#include "print/page_layout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "basic/conversions.h"
#include "data/wage_grid.h"
#include "print/printer.h"
#include "print/render_support.h"
#include "print/wage_print.h"

using namespace Qt::StringLiterals;

namespace slp::print {

LayoutMeasure MeasureLayout(PrintLayout& layout, const data::WageGrid& grid, float paperWidth) {
    LayoutMeasure m;
    for (int c = 0; c < grid.cols(); ++c) {
        if (render::columnVisible(grid, c)) {
            ++m.visibleColumns;
            m.visibleWidth += grid.colWidth(c);
        }
    }
    layout.fitsOneLine = layout.columnsPerLine >= m.visibleColumns;
    layout.slipLayout = layout.slipMode != 0;
    m.tooWide = m.visibleWidth > double(paperWidth) - 800;
    return m;
}

namespace {
// The smallest whole number not less than rows / perPage, as a positive page count.
int16_t pagesFor(int gridRows, int perPage) {
    return toInt16(std::fabs(std::ceil(double(gridRows - 1) / perPage)));
}
}  // namespace

void CountSlipPages(PrintLayout& layout, int gridRows, bool tooWide, float printableWidth) {
    const double factor = (layout.slipMode == 0 || tooWide) ? 0.25 : 0.5;
    const int perPage = int(std::trunc(layout.linesPerPage * factor));
    layout.rowsPerPage = int16_t(std::max(perPage, 1));
    layout.pageCount = pagesFor(gridRows, layout.rowsPerPage);
    layout.printWidth = printableWidth - 800;
    layout.slotWidth = layout.printWidth / float(std::max<int>(layout.columnsPerLine, 1));
}

void CountTablePages(PrintLayout& layout, int gridRows) {
    layout.pageCount = pagesFor(gridRows, std::max<int>(layout.linesPerPage, 1));
}

bool PageTooTall(int16_t linesPerPage, float rowHeight, float paperHeight, float originY) {
    return float(linesPerPage) * rowHeight > paperHeight - originY - 300;
}

QString tooTallMessage() {
    return u"你所选择的行高与每页打印的行数之积\r\n   大于你所设置的打印纸张高度!"_s;
}

float TextOffset(float rowHeight, float heightOfO) {
    return std::fabs(rowHeight - heightOfO) * 6 / 11;
}

PageLayoutKind ChooseLayout(bool tooWide, bool slipLayout) {
    if (tooWide) return PageLayoutKind::WrappedSlips;
    return slipLayout ? PageLayoutKind::Slips : PageLayoutKind::Table;
}

float DrawPage(PrintLayout& layout, PageLayoutKind kind, const PageMetrics& m, int page, float cellInset) {
    if (!layout.printGrid) throw std::invalid_argument("print layout without a grid");
    const data::WageGrid& grid = *layout.printGrid;
    const int16_t lastCol = toInt16(double(grid.cols() - 1));
    const int16_t pageNumber = toInt16(double(page));
    float scale = 1;
    if (kind == PageLayoutKind::Table) {
        const int header = layout.headerRowCount;
        const int lines = std::max<int>(layout.linesPerPage, 1);
        const int first = header + (page - 1) * lines;
        // Rows past the grid's end do not exist; the body stops at the totals row anyway.
        const int last = std::min(header + page * lines - 1, std::max(grid.rows() - 1, first));
        PrintTableHead(layout, grid, 0, toInt16(double(header - 1)), 0, lastCol, scale, layout.printFontSize,
                       m.originX, m.originY, m.rowHeight, m.textOffset, pageNumber);
        PrintTableBody(layout, grid, toInt16(double(first)), toInt16(double(last)), 0, lastCol, scale,
                       layout.printFontSize, m.originX, float(header) * m.rowHeight + m.originY, m.rowHeight,
                       m.textOffset);
        return scale;
    }
    const int perPage = std::max<int>(layout.rowsPerPage, 1);
    const int first = (page - 1) * perPage + 1;
    const int last = std::min(page * perPage, std::max(grid.rows() - 1, first));
    if (kind == PageLayoutKind::WrappedSlips) {
        PrintWrappedSlipPage(layout, grid, toInt16(double(first)), toInt16(double(last)), 0, lastCol, scale,
                             layout.printFontSize, m.originX, m.originY, m.rowHeight, m.textOffset, cellInset,
                             pageNumber);
    } else {
        PrintSlipPage(layout, grid, toInt16(double(first)), toInt16(double(last)), 0, lastCol, scale,
                      layout.printFontSize, m.originX, m.originY, m.rowHeight, m.textOffset, cellInset,
                      pageNumber);
    }
    return scale;
}

int PrintPages(PrintLayout& layout, Printer& printer, PageLayoutKind kind, const PageMetrics& metrics,
               int from, int to) {
    to = std::min(to, int(layout.pageCount));
    from = std::max(from, 1);
    layout.printTarget = &printer.target();
    int printed = 0;
    for (int page = from; page <= to; ++page) {
        try {
            DrawPage(layout, kind, metrics, page, 45);
            printer.endDoc();
        } catch (...) {
            printer.abortDoc();
            throw;
        }
        ++printed;
    }
    return printed;
}

}  // namespace slp::print
