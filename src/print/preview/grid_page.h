#pragma once
// Drawing one page of a grid of any length. The renderers number rows in 16 bits, so a page whose rows
// lie past row 32767 is drawn from a small grid that holds just what the renderers read of it: the
// caption rows, the first data row (the head compares the last caption row with it), the page's rows
// and the totals row when the page reaches it. The page looks exactly as it would in a shorter grid.
#include "print/page_layout.h"

namespace slp::data {
class WageGrid;
}

namespace slp::print {

// The highest row number the renderers take.
inline constexpr int kMaxRendererRow = 32767;

// Draws page `page` of layout.printGrid like DrawPage (same renderers, arguments and cellInset rule),
// whatever the grid's length. Returns the scale the page was drawn at.
float DrawGridPage(PrintLayout& layout, PageLayoutKind kind, const PageMetrics& metrics, int page,
                   float cellInset);

// A grid with `source`'s columns (widths, alignments, font) and the given rows of it, in that order; a
// row number of -1 gives an empty row.
data::WageGrid copyRows(const data::WageGrid& source, const std::vector<int>& rows);

// Prints pages `from` to `to` on the printer like PrintPages, for grids of any length, drawing through
// `target` (the printer's target or one in front of it): every page a job of its own, or with `oneJob`
// the whole range as one job. Pages past layout.pageCount are not printed, a first page after the last
// prints nothing, a failing job is dropped (nothing of it is sent) and the error goes on to the caller.
// Returns the pages printed; layout.printTarget is left on the printer's own target.
int PrintGridPages(PrintLayout& layout, Printer& printer, PrintTarget& target, PageLayoutKind kind,
                   const PageMetrics& metrics, int from, int to, bool oneJob = false);

}  // namespace slp::print
