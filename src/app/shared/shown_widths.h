#pragma once
// Column widths on screen. The width rule sizes the columns for printing; on screen a column the rule
// would make too narrow for one of its cells (a totals row's "共200人", a six-figure total, a six-digit
// sequence number) is widened to its widest cell, so every cell shows its whole text. The grid's own
// widths, which printing uses, are not changed; a column narrowed away (199 twips or less) stays so.
#include <QStringView>
#include <functional>
#include <vector>

#include "data/wage_grid.h"

namespace slp::windows {

// The widest of the cells of column `col` below the caption row (the totals row included), as
// `measure` gives widths. Only the cells that may be the widest are measured: those whose estimate
// (two for a wide character, one for any other) comes within two of the largest estimate.
int widestCell(const data::WageGrid& grid, int col, const std::function<int(QStringView)>& measure);

// widestCell of every column in pixels of the grid's own font (its face at its size), as a view shows
// them. It may run on any thread, so a grid built away from the windows comes measured.
std::vector<int> widestCells(const data::WageGrid& grid);

// The width a column is shown with: the rule's, or the widest cell's and `padding` when that is more.
// A hidden column (rule width `hiddenUpTo` pixels or less) keeps the rule's width.
int shownWidth(int rulePixels, int widestPixels, int padding, int hiddenUpTo);

}  // namespace slp::windows
