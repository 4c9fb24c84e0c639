#include "print/preview/grid_page.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "basic/conversions.h"
#include "data/wage_grid.h"
#include "print/preview/single_job_target.h"
#include "print/printer.h"
#include "print/wage_print.h"

namespace slp::print {

data::WageGrid copyRows(const data::WageGrid& source, const std::vector<int>& rows) {
    data::WageGrid grid(int(rows.size()), source.cols());
    for (int c = 0; c < source.cols(); ++c) {
        grid.setColWidth(c, source.colWidth(c));
        grid.setColAlignment(c, source.colAlignment(c));
        grid.setCaptionAlignment(c, source.captionAlignment(c));
    }
    grid.setFixedRows(std::min(source.fixedRows(), grid.rows()));
    grid.setFixedCols(source.fixedCols());
    grid.setFontSize(source.fontSize());
    grid.setFontName(source.fontName());
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] < 0) continue;
        for (int c = 0; c < source.cols(); ++c) grid.setText(int(r), c, source.textView(rows[r], c));
    }
    return grid;
}

namespace {

// The last grid row page `page` names, as DrawPage computes it.
int lastRowOfPage(const PrintLayout& layout, PageLayoutKind kind, int page) {
    if (kind == PageLayoutKind::Table) {
        return int(layout.headerRowCount) + page * std::max<int>(layout.linesPerPage, 1) - 1;
    }
    return page * std::max<int>(layout.rowsPerPage, 1);
}

float drawTablePage(PrintLayout& layout, const data::WageGrid& source, const PageMetrics& m, int page) {
    const int header = layout.headerRowCount;
    const int lines = std::max<int>(layout.linesPerPage, 1);
    const int first = header + (page - 1) * lines;
    const int last = header + page * lines - 1;
    const int totals = source.rows() - 1;
    std::vector<int> rows;
    for (int r = 0; r < header; ++r) rows.push_back(r);
    rows.push_back(header);  // the first data row, below the caption rows
    int count = 0;
    if (first <= totals) {
        for (int r = first; r <= std::min(last, totals); ++r, ++count) rows.push_back(r);
        // A page that ends before the totals row must not make its own last row the totals row.
        if (last < totals) rows.push_back(-1);
    }
    const data::WageGrid grid = copyRows(source, rows);
    const int16_t lastCol = toInt16(double(grid.cols() - 1));
    const int16_t firstRow = toInt16(double(header + 1));
    const int16_t lastRow = toInt16(double(header + std::max(count, 1)));
    float scale = 1;
    PrintTableHead(layout, grid, 0, toInt16(double(header - 1)), 0, lastCol, scale, layout.printFontSize,
                   m.originX, m.originY, m.rowHeight, m.textOffset, toInt16(double(page)));
    PrintTableBody(layout, grid, firstRow, lastRow, 0, lastCol, scale, layout.printFontSize, m.originX,
                   float(header) * m.rowHeight + m.originY, m.rowHeight, m.textOffset);
    return scale;
}

float drawSlipPage(PrintLayout& layout, const data::WageGrid& source, PageLayoutKind kind,
                   const PageMetrics& m, int page, float cellInset) {
    const int perPage = std::max<int>(layout.rowsPerPage, 1);
    const int first = (page - 1) * perPage + 1;
    const int last = std::min(page * perPage, source.rows() - 1);
    std::vector<int> rows{0};
    for (int r = first; r <= last; ++r) rows.push_back(r);
    const data::WageGrid grid = copyRows(source, rows);
    const int16_t lastCol = toInt16(double(grid.cols() - 1));
    const int16_t lastRow = toInt16(double(std::max(last - first + 1, 1)));
    const int16_t pageNumber = toInt16(double(page));
    float scale = 1;
    if (kind == PageLayoutKind::WrappedSlips) {
        PrintWrappedSlipPage(layout, grid, 1, lastRow, 0, lastCol, scale, layout.printFontSize, m.originX,
                             m.originY, m.rowHeight, m.textOffset, cellInset, pageNumber);
    } else {
        PrintSlipPage(layout, grid, 1, lastRow, 0, lastCol, scale, layout.printFontSize, m.originX, m.originY,
                      m.rowHeight, m.textOffset, cellInset, pageNumber);
    }
    return scale;
}

}  // namespace

float DrawGridPage(PrintLayout& layout, PageLayoutKind kind, const PageMetrics& metrics, int page,
                   float cellInset) {
    if (!layout.printGrid) throw std::invalid_argument("print layout without a grid");
    if (page < 1 || lastRowOfPage(layout, kind, page) <= kMaxRendererRow) {
        return DrawPage(layout, kind, metrics, page, cellInset);
    }
    const data::WageGrid& source = *layout.printGrid;
    if (kind == PageLayoutKind::Table) return drawTablePage(layout, source, metrics, page);
    return drawSlipPage(layout, source, kind, metrics, page, cellInset);
}

int PrintGridPages(PrintLayout& layout, Printer& printer, PrintTarget& target, PageLayoutKind kind,
                   const PageMetrics& metrics, int from, int to, bool oneJob) {
    to = std::min(to, int(layout.pageCount));
    from = std::max(from, 1);
    if (from > to) return 0;
    PrintTarget& own = printer.target();
    // The slip renderer ends the job after each page; in one job that only ends the page.
    SingleJobTarget kept(target);
    layout.printTarget = oneJob ? static_cast<PrintTarget*>(&kept) : &target;
    int printed = 0;
    try {
        for (int page = from; page <= to; ++page) {
            if (oneJob && page > from && printer.jobActive()) printer.newPage();
            DrawGridPage(layout, kind, metrics, page, 45);
            if (!oneJob) printer.endDoc();
            ++printed;
        }
        if (oneJob) printer.endDoc();
    } catch (...) {
        printer.abortDoc();
        layout.printTarget = &own;
        throw;
    }
    layout.printTarget = &own;
    return printed;
}

}  // namespace slp::print
