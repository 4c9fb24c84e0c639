#pragma once
// The totals row of the department summary, added from the texts the grid shows rather than from the
// database: every cell is read as a fixed-point amount with four decimal places and added in a 64-bit
// integer, so an item shown with fewer decimals than it holds is totalled at the rounded values a clerk
// sees (two departments shown as 10 and 10 give 20, not the 21 of their unrounded 10.4 and 10.4).
#include <QString>
#include <QStringView>

#include "basic/currency.h"
#include "data/wage_grid.h"

namespace slp::windows::summary {

// The total of column `col` over the data rows 1 .. rows - 2, each cell read with currencyUnits
// (a plain decimal text exactly, digits past the fourth decimal rounded half to even, any other text by
// its leading numeric value). Throws slp::OverflowError when the total leaves the 64-bit range.
CurrencyUnits columnTotal(const data::WageGrid& grid, int col);

// An amount in ten-thousandths formatted with an item format: "0", "0.0" and "0.00" round half away from
// zero (a negative amount that rounds to zero loses its sign), the empty format gives the plain decimal
// text without trailing zeros; any other pattern goes through slp::formatNumber.
QString formatUnits(CurrencyUnits units, QStringView pattern);

// The head count total: "共" & the integer part of the total & "人".
QString headCountTotal(CurrencyUnits units);

}  // namespace slp::windows::summary
