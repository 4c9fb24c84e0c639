#include "print/reports/wage_report.h"

#include <stdexcept>

#include "data/wage_grid.h"
#include "print/wage_print.h"

namespace slp::print {

WageReport::WageReport(PrintLayout& layout, PageLayoutKind kind, const PageGeometry& geometry)
    : layout_(layout), kind_(kind), geometry_(geometry) {}

void WageReport::draw(int page, PrintTarget& target) {
    if (!layout_.printGrid) throw std::invalid_argument("print layout without a grid");
    const data::WageGrid& grid = *layout_.printGrid;
    const PageSpan span = PageRows(layout_, kind_, grid.rows(), grid.cols(), page);
    PageGeometry g = geometry_;
    g.firstCol = 0;
    g.lastCol = span.lastCol;
    PrintTarget* const before = layout_.printTarget;
    layout_.printTarget = &target;
    try {
        switch (kind_) {
            case PageLayoutKind::Table: {
                const int header = layout_.headerRowCount;
                PrintTableHead(layout_, grid, {0, header - 1}, g, page);
                PrintTableBody(layout_, grid, {span.firstRow, span.lastRow}, g,
                               float(header) * g.rowHeight + g.originY);
                drawnScale_ = g.scale;
                break;
            }
            case PageLayoutKind::WrappedSlips:
                PrintWrappedSlipPage(layout_, grid, {span.firstRow, span.lastRow}, g, page);
                drawnScale_ = g.scale;
                break;
            case PageLayoutKind::Slips:
                drawnScale_ = PrintSlipPage(layout_, grid, {span.firstRow, span.lastRow}, g);
                break;
        }
    } catch (...) {
        layout_.printTarget = before;
        throw;
    }
    layout_.printTarget = before;
}

}  // namespace slp::print
