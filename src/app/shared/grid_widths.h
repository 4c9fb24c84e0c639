#pragma once
// The width rule applied to a window's grid model: the print font size changes the grid's font and
// every column's width (charUnit, the width of "我" at that size, times the item's characters).
#include "data/column_widths.h"
#include "data/wage_grid_model.h"

namespace slp::windows {

// ApplyPrintFontSize on the model's grid with the window's column-to-item mapping; views follow.
// Returns the new charUnit.
float applyPrintFontSize(data::WageGridModel& model, const data::WageCatalogue& catalogue,
                         const data::ColumnItems& columns, float size, const data::CharUnitMeasure& measure);

}  // namespace slp::windows
