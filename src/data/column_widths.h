#pragma once
// The column-width rule of the wage grids: every width is a number of full-width characters times
// charUnit, the width in twips of the character "我" in the grid's font at the print font size.
#include <QList>
#include <QString>
#include <functional>

#include "data/wage_grid.h"
#include "data/wage_items.h"

namespace slp::data {

// Width in twips of "我" in the face `family` at `pointSize` points (the print engine measures it:
// print::measureCharUnit).
using CharUnitMeasure = std::function<float(const QString& family, float pointSize)>;

// Which catalogue item each grid column shows: itemOfColumn[c] is the item index, or kSequence for the
// sequence-number column, which is sequenceChars characters wide.
struct ColumnItems {
    static constexpr int kSequence = -1;
    QList<int> itemOfColumn;
    int sequenceChars = 3;
};

// The employee table: column 0 the sequence (3 characters), column c >= 1 item c - 1.
ColumnItems employeeTableColumns(int columnCount);
// The department payment table: the same with a sequence column 2 characters wide.
ColumnItems departmentPaymentColumns(int columnCount);
// The department summary: column 1 item 0, column 2 item 1, column c >= 3 item c + firstAmountIndex - 3.
ColumnItems departmentSummaryColumns(int columnCount, int firstAmountIndex);

// Sets every column's width from the rule, each rounded to whole twips with halves to even. Columns beyond
// `columns` keep their widths; an item index outside the catalogue raises slp::Error (subscript out of
// range).
void applyColumnWidths(WageGrid& grid, const WageCatalogue& catalogue, const ColumnItems& columns,
                       float charUnit);

// The print font size changes: measures charUnit in the grid's font at `size`, sets the grid's font size
// and recomputes every column width. Returns the new charUnit for the window to keep.
float ApplyPrintFontSize(WageGrid& grid, const WageCatalogue& catalogue, const ColumnItems& columns,
                         float size, const CharUnitMeasure& measure);

}  // namespace slp::data
