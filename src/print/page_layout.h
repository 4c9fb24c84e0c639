#pragma once
// How a grid is split into pages and which renderer draws a page: the pure parts of the preview driver,
// shared by the preview window, the print command and the tests.
#include <QString>
#include <cstdint>

#include "print/print_layout.h"

namespace slp::data {
class WageGrid;
}

namespace slp::print {

// The result of measuring the grid against the paper.
struct LayoutMeasure {
    int visibleColumns = 0;   // columns wider than 199 twips
    double visibleWidth = 0;  // their widths added up
    bool tooWide = false;     // wider than the paper width less 800 twips
};

// Counts the visible columns and sets layout.fitsOneLine (columnsPerLine >= that count) and
// layout.slipLayout (slipMode non-zero).
LayoutMeasure MeasureLayout(PrintLayout& layout, const data::WageGrid& grid, float paperWidth);

// Slips per page (a quarter of linesPerPage for wrapped slips and for a table too wide for the paper,
// half of it for slips), pageCount, printWidth (printable width - 800) and slotWidth. A page holds at
// least one slip and a line at least one slot, so no count divides by zero.
void CountSlipPages(PrintLayout& layout, int gridRows, bool tooWide, float printableWidth);
// The slot width wrapped slips of the grid need so that no caption or value is shrunk or drawn over
// another at `fontSize` points (texts measured at `dpi`): the widest caption, and the widest value of the
// first rows and of the totals row plus the values' inset.
float WrappedSlotNeeded(const data::WageGrid& grid, float fontSize, int dpi, float cellInset);
// Wrapped slips whose slots (columnsPerLine to a line) are narrower than `needed` go fewer to a line, as
// many as the print width holds (at least one): slotWidth grows, the stored count stays. Returns the
// slots a line now holds.
int WidenWrappedSlots(PrintLayout& layout, float needed);
// What the clerk is told then: "每行24列放不下工资项目，已改为每行13列打印。"
QString widenedSlotsNote(int columnsPerLine, int perLine);

// Line pairs a wrapped slip of the grid takes: its visible columns in slots of layout.slotWidth, wrapping
// as the wrapped slip renderer wraps (its running position includes originX, compared with the print
// width alone), with continuationIndent empty slots before each continuation.
int WrappedSlipLinePairs(const PrintLayout& layout, const data::WageGrid& grid, float originX);
// Wrapped slips of `linePairs` line pairs that do not fit linesPerPage lines at the slips a page counted
// go fewer to a page, as many as fit (at least one), and the page count grows with them: no slip runs
// off its page and none is left out of print.
void FitWrappedSlips(PrintLayout& layout, int gridRows, int linePairs);
// pageCount of a table: the rows after the caption row (the totals row included) over linesPerPage
// (taken as at least 1), rounded up.
void CountTablePages(PrintLayout& layout, int gridRows);

// Whether linesPerPage lines of rowHeight overrun the paper below originY with 300 twips to spare.
bool PageTooTall(int16_t linesPerPage, float rowHeight, float paperHeight, float originY);
// "你所选择的行高与每页打印的行数之积" CR LF, three blanks, "大于你所设置的打印纸张高度!"
QString tooTallMessage();
// Why pages of these metrics would not hold their rows: a row height that is not above zero (rows on top
// of one another or running upwards), no line a page, or a page too tall for the paper (PageTooTall);
// empty when they do.
QString rowsLostMessage(int16_t linesPerPage, float rowHeight, float paperHeight, float originY);

// Distance from the top of a printed line to the top of its text: |rowHeight - height of "O"| x 6 / 11.
float TextOffset(float rowHeight, float heightOfO);

enum class PageLayoutKind { Table, Slips, WrappedSlips };
// Wrapped slips for a grid too wide for the paper, else slips in slip layout, else a table.
PageLayoutKind ChooseLayout(bool tooWide, bool slipLayout);

// The rows and columns of a page: a pure function of the layout, the grid's size and the page number,
// used wherever a page is drawn (the preview, printing a range, a job a page, the command line). A table
// page holds linesPerPage rows after the caption rows (the totals row among them), a slip page
// rowsPerPage employees; the last page's rows stop at the grid's end.
struct PageSpan {
    int firstRow = 0;
    int lastRow = 0;
    int firstCol = 0;
    int lastCol = 0;
};
PageSpan PageRows(const PrintLayout& layout, PageLayoutKind kind, int gridRows, int gridCols, int page);

}  // namespace slp::print
