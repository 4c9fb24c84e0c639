#pragma once
// The page renderers of 工资打印MSGRID. Each draws one page of a wage grid onto layout.printTarget and
// returns; the driver chooses the renderer, the rows and the metrics (see page_layout.h). All lengths
// are twips, font sizes points.
#include <QString>
#include <cstdint>

#include "print/print_layout.h"
#include "print/reports/page_geometry.h"

namespace slp::data {
class WageGrid;
}

namespace slp::print {

// The warning shown when a preview page runs past the bottom of the picture.
QString pageOverflowWarning();  // "行高或每页行数太大,请减小行高或每页行数"

// Prints a caption into the cell whose top left corner is (x, y): right-aligned on one line when it is
// at most 100 twips wider than the cell, otherwise split into centred lines of as many characters as
// fit. When not even one character fits, it prints one character per line.
void PrintFittedCaption(PrintTarget& target, const QString& text, float width, float x, float y);

// Sets the target's font face; a face the target refuses is reported to the layout's warnings with the
// error's description and drawing goes on with the previous face. Returns whether the face was set.
bool SetTargetFont(PrintLayout& layout, const QString& face);

// Wrapped wage slips, for a grid wider than the paper: every row one slip of line pairs (captions over
// values) in columnsPerLine equal slots per line, wrapping with continuationIndent empty slots.
void PrintWrappedSlipPage(PrintLayout& layout, const data::WageGrid& grid, RowSpan rows,
                          const PageGeometry& g, int pageNumber);

// Wage slips with the grid's own column widths, every row a caption line over a value line. A table
// wider than the paper less twice originX is shrunk below g.scale; returns the scale the page was drawn
// at. On the printer the page ends its print job.
float PrintSlipPage(PrintLayout& layout, const data::WageGrid& grid, RowSpan rows, const PageGeometry& g);

// Title, page head and caption rows of a table page, merging identical neighbouring captions across
// columns and down rows.
void PrintTableHead(PrintLayout& layout, const data::WageGrid& grid, RowSpan captionRows,
                    const PageGeometry& g, int pageNumber);

// Data rows of a table page from bodyTop down, below the caption rows, the double-height totals row on
// the page that reaches it, bottom frame, footer and signature line.
void PrintTableBody(PrintLayout& layout, const data::WageGrid& grid, RowSpan rows, const PageGeometry& g,
                    float bodyTop);

}  // namespace slp::print
