#pragma once
// The card grid: 4 columns (序号, 姓名, 卡号, 金额), the caption row, one row per card holder in query
// order, and what the bank writers read back from it.
#include <QList>
#include <functional>

#include "basic/currency.h"
#include "export/card_input.h"

namespace slp::data {
class ResultSet;
class WageGrid;
}  // namespace slp::data

namespace slp::card {

inline constexpr int kCardGridColumns = 4;

// Empties the grid and gives it its columns, caption texts, widths and alignments, the caption row and
// `dataRows` empty rows after it.
void prepareCardGrid(data::WageGrid& grid, int dataRows);

struct CardGridSummary {
    int count = 0;            // data rows
    CurrencyUnits total = 0;  // the sum of the shown amounts
};

// Fills the grid from the card query's result (name, card number, amount): row k + 1 for record k,
// the amount formatted "0.00", and adds the shown amounts. Throws the database's and the total's errors.
CardGridSummary fillCardGrid(data::ResultSet& records, data::WageGrid& grid);
// A record's texts for the grid, valid until the next record is asked for.
struct CardRecordTexts {
    QStringView name;
    QStringView cardNumber;
    QStringView amount;  // as stored: the grid shows it formatted "0.00"
};
// The same from `count` records that `record(k)` gives.
CardGridSummary fillCardGridFrom(int count, const std::function<CardRecordTexts(int)>& record,
                                 data::WageGrid& grid);

// The grid's data rows as the bank writers take them.
bank::CardRows cardRowsOf(const data::WageGrid& grid);

}  // namespace slp::card
