#include "data/column_widths.h"

#include "basic/conversions.h"
#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::data {

ColumnItems employeeTableColumns(int columnCount) {
    ColumnItems items;
    for (int c = 0; c < columnCount; ++c) items.itemOfColumn << (c == 0 ? ColumnItems::kSequence : c - 1);
    return items;
}

ColumnItems departmentPaymentColumns(int columnCount) {
    ColumnItems items = employeeTableColumns(columnCount);
    items.sequenceChars = 2;
    return items;
}

ColumnItems departmentSummaryColumns(int columnCount, int firstAmountIndex) {
    ColumnItems items;
    for (int c = 0; c < columnCount; ++c) {
        if (c == 0) {
            items.itemOfColumn << ColumnItems::kSequence;
        } else if (c <= 2) {
            items.itemOfColumn << c - 1;
        } else {
            items.itemOfColumn << c + firstAmountIndex - 3;
        }
    }
    return items;
}

void applyColumnWidths(WageGrid& grid, const WageCatalogue& catalogue, const ColumnItems& columns,
                       float charUnit) {
    const int n = std::min(grid.cols(), int(columns.itemOfColumn.size()));
    for (int c = 0; c < n; ++c) {
        const int item = columns.itemOfColumn[c];
        float chars = 0;
        if (item == ColumnItems::kSequence) {
            chars = float(columns.sequenceChars);
        } else if (item >= 0 && item < catalogue.itemWidth.size()) {
            chars = float(catalogue.itemWidth[item]);
        } else {
            throw slp::SubscriptError();
        }
        // Single-precision product, as the host computes it, then whole twips.
        const float width = chars * charUnit;
        grid.setColWidth(c, int(roundHalfEven(double(width))));
    }
}

float ApplyPrintFontSize(WageGrid& grid, const WageCatalogue& catalogue, const ColumnItems& columns,
                         float size, const CharUnitMeasure& measure) {
    const float charUnit = measure(grid.fontName(), size);
    grid.setFontSize(size);
    applyColumnWidths(grid, catalogue, columns, charUnit);
    return charUnit;
}

}  // namespace slp::data
