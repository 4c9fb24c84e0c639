#include "print/page_layout.h"

#include <algorithm>
#include <cmath>

#include "basic/conversions.h"
#include "data/wage_grid.h"
#include "print/font_metrics.h"
#include "print/render_support.h"

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
int32_t pagesFor(int gridRows, int perPage) {
    return toInt32(std::fabs(std::ceil(double(gridRows - 1) / perPage)));
}
}  // namespace

void CountSlipPages(PrintLayout& layout, int gridRows, bool tooWide, float printableWidth) {
    const double factor = (layout.slipMode == 0 || tooWide) ? 0.25 : 0.5;
    const int perPage = int(std::trunc(layout.linesPerPage * factor));
    layout.rowsPerPage = std::max(perPage, 1);
    layout.pageCount = pagesFor(gridRows, layout.rowsPerPage);
    layout.printWidth = printableWidth - 800;
    layout.slotWidth = layout.printWidth / float(std::max<int>(layout.columnsPerLine, 1));
}

float WrappedSlotNeeded(const data::WageGrid& grid, float fontSize, int dpi, float cellInset) {
    const std::shared_ptr<MeasuredFont> font = FontMetrics::instance().font(u"宋体"_s, fontSize, false, dpi);
    // The first rows show what the names and departments are like; the totals row holds the widest sums.
    constexpr int kSampledRows = 200;
    QList<int> rows;
    for (int r = 1; r < std::min(grid.rows(), kSampledRows + 1); ++r) rows << r;
    if (grid.rows() > kSampledRows + 1) rows << grid.rows() - 1;
    float needed = 0;
    for (int j = 0; j < grid.cols(); ++j) {
        if (!render::columnVisible(grid, j)) continue;
        needed = std::max(needed, font->width(grid.text(0, j)));
        for (int r : rows) needed = std::max(needed, font->width(grid.text(r, j)) + cellInset);
    }
    return needed;
}

int WidenWrappedSlots(PrintLayout& layout, float needed) {
    const int set = std::max<int>(layout.columnsPerLine, 1);
    if (!(layout.slotWidth < needed) || !(needed > 0)) return set;
    const int perLine = std::clamp(int(layout.printWidth / needed), 1, set);
    layout.slotWidth = layout.printWidth / float(perLine);
    return perLine;
}

QString widenedSlotsNote(int columnsPerLine, int perLine) {
    return u"每行%1列放不下工资项目，已改为每行%2列打印。"_s.arg(columnsPerLine).arg(perLine);
}

int WrappedSlipLinePairs(const PrintLayout& layout, const data::WageGrid& grid, float originX) {
    const float W = layout.printWidth;
    const float S = layout.slotWidth;
    int pairs = 1;
    float x = originX;
    for (int j = 0; j < grid.cols(); ++j) {
        if (!render::columnVisible(grid, j)) continue;
        if (x > W) {
            x = originX + S * float(layout.continuationIndent);
            ++pairs;
        }
        x += S;
    }
    return pairs;
}

void FitWrappedSlips(PrintLayout& layout, int gridRows, int linePairs) {
    const int fit = std::max(int(layout.linesPerPage) / std::max(2 * linePairs, 1), 1);
    if (fit >= layout.rowsPerPage) return;
    layout.rowsPerPage = fit;
    layout.pageCount = pagesFor(gridRows, fit);
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

QString rowsLostMessage(int16_t linesPerPage, float rowHeight, float paperHeight, float originY) {
    if (!(rowHeight > 0)) return u"每行行高为%1，必须大于0，请重新设置每行行高"_s.arg(plainNumber(rowHeight));
    if (linesPerPage < 1) return u"每页行数为%1，必须大于0，请重新设置每页行数"_s.arg(linesPerPage);
    if (PageTooTall(linesPerPage, rowHeight, paperHeight, originY)) return tooTallMessage();
    return {};
}

float TextOffset(float rowHeight, float heightOfO) {
    return std::fabs(rowHeight - heightOfO) * 6 / 11;
}

PageLayoutKind ChooseLayout(bool tooWide, bool slipLayout) {
    if (tooWide) return PageLayoutKind::WrappedSlips;
    return slipLayout ? PageLayoutKind::Slips : PageLayoutKind::Table;
}

PageSpan PageRows(const PrintLayout& layout, PageLayoutKind kind, int gridRows, int gridCols, int page) {
    PageSpan span;
    span.lastCol = gridCols - 1;
    if (kind == PageLayoutKind::Table) {
        const int header = layout.headerRowCount;
        const int lines = std::max<int>(layout.linesPerPage, 1);
        span.firstRow = header + (page - 1) * lines;
        // Rows past the grid's end do not exist; the body stops at the totals row anyway.
        span.lastRow = std::min(header + page * lines - 1, std::max(gridRows - 1, span.firstRow));
        return span;
    }
    const int perPage = std::max<int>(layout.rowsPerPage, 1);
    span.firstRow = (page - 1) * perPage + 1;
    span.lastRow = std::min(page * perPage, std::max(gridRows - 1, span.firstRow));
    return span;
}

}  // namespace slp::print
