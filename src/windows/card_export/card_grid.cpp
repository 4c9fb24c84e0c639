#include "windows/card_export/card_grid.h"

#include <array>

#include "basic/conversions.h"
#include "data/result_set.h"
#include "data/wage_grid.h"

using namespace Qt::StringLiterals;

namespace slp::card {

namespace {

struct ColumnDef {
    QStringView caption;
    int width;  // twips
    int16_t alignment;
};

constexpr std::array<ColumnDef, kCardGridColumns> kColumns{{
    {u"序号", 540, data::align::CenterCenter},
    {u"姓名", 900, data::align::CenterCenter},
    {u"卡号", 2160, data::align::LeftTop},
    {u"金额", 900, data::align::General},
}};

}  // namespace

void prepareCardGrid(data::WageGrid& grid, int dataRows) {
    grid.resize(0, 0);
    grid.resize(dataRows + 1, kCardGridColumns);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    for (int c = 0; c < kCardGridColumns; ++c) {
        grid.setText(0, c, kColumns[size_t(c)].caption);
        grid.setColWidth(c, kColumns[size_t(c)].width);
        grid.setColAlignment(c, kColumns[size_t(c)].alignment);
        grid.setCaptionAlignment(c, data::align::CenterCenter);
    }
}

CardGridSummary fillCardGrid(data::ResultSet& records, data::WageGrid& grid) {
    // The count is complete once the last record has been reached.
    if (!records.eof()) records.moveLast();
    const int count = records.recordCount();
    prepareCardGrid(grid, count);
    CurrencyTotal total;
    for (int k = 0; k < count; ++k) {
        records.setAbsolutePosition(k);
        const int row = k + 1;
        const QString shown = formatText(records.text(2), u"0.00");
        grid.setText(row, 0, QString::number(row));
        grid.setText(row, 1, records.text(0));
        grid.setText(row, 2, records.text(1));
        grid.setText(row, 3, shown);
        total.add(currencyUnits(shown));
    }
    return {count, total.units()};
}

QList<bank::CardRow> cardRowsOf(const data::WageGrid& grid) {
    QList<bank::CardRow> rows;
    if (grid.cols() < kCardGridColumns) return rows;
    rows.reserve(grid.rows() > 0 ? grid.rows() - 1 : 0);
    for (int r = 1; r < grid.rows(); ++r) rows.append({grid.text(r, 1), grid.text(r, 2), grid.text(r, 3)});
    return rows;
}

}  // namespace slp::card
