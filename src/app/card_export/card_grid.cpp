#include "app/card_export/card_grid.h"

#include <algorithm>
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

// formatText(stored, "0.00") for the usual amount, digits with at most two decimals and no leading
// zero: up to 15 digits are held by a double exactly enough that its shortest form is the text itself,
// so the formatted text is the text with its decimals filled up to two. Any other text is formatted.
// The shown text is the stored one itself or is made in `scratch`.
QStringView shownAmount(QStringView stored, QString& scratch) {
    constexpr qsizetype kExactDigits = 15;
    const qsizetype n = stored.size();
    const QChar* s = stored.data();
    qsizetype point = -1;
    for (qsizetype i = 0; i < n; ++i) {
        if (s[i] == u'.' && point < 0 && i > 0) {
            point = i;
        } else if (s[i] < u'0' || s[i] > u'9') {
            return scratch = formatText(stored, u"0.00");
        }
    }
    const qsizetype whole = point < 0 ? n : point;
    const qsizetype decimals = point < 0 ? 0 : n - point - 1;
    if (whole == 0 || (whole > 1 && s[0] == u'0') || decimals > 2 || whole + decimals > kExactDigits) {
        return scratch = formatText(stored, u"0.00");
    }
    if (decimals == 2) return stored;
    scratch.resize(0);
    scratch.append(stored);
    if (point < 0) scratch += u'.';
    for (qsizetype i = decimals; i < 2; ++i) scratch += u'0';
    return scratch;
}

// A column at least as wide as `characters` half-width characters need at the grid's font.
void widenForDigits(data::WageGrid& grid, int col, qsizetype characters) {
    constexpr int kPerCharacter = 100;  // a digit of 宋体 9 and a little
    constexpr int kPadding = 100;
    grid.setColWidth(col, std::max(grid.colWidth(col), int(characters) * kPerCharacter + kPadding));
}

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
    // The amounts are shown with two decimals; 序号, 姓名 and 卡号 stay texts (a card number keeps its
    // leading zeros).
    grid.setAmountFormat(kCardGridColumns - 1, u"0.00"_s);
}

CardGridSummary fillCardGrid(data::ResultSet& records, data::WageGrid& grid) {
    // The count is complete once the last record has been reached.
    if (!records.eof()) records.moveLast();
    std::array<QString, 3> texts;
    return fillCardGridFrom(
        records.recordCount(),
        [&records, &texts](int k) {
            records.setAbsolutePosition(k);
            for (int c = 0; c < 3; ++c) texts[size_t(c)] = records.text(c);
            return CardRecordTexts{texts[0], texts[1], texts[2]};
        },
        grid);
}

CardGridSummary fillCardGridFrom(int count, const std::function<CardRecordTexts(int)>& record,
                                 data::WageGrid& grid) {
    prepareCardGrid(grid, count);
    CurrencyTotal total;
    qsizetype longestAmount = 0;
    QString scratch;
    for (int k = 0; k < count; ++k) {
        const int row = k + 1;
        const CardRecordTexts texts = record(k);
        const QStringView shown = shownAmount(texts.amount, scratch);
        char16_t number[12];
        qsizetype digits = 0;
        for (unsigned v = unsigned(row); v > 0; v /= 10) number[11 - digits++] = char16_t(u'0' + v % 10);
        grid.setText(row, 0, QStringView(number + 12 - digits, digits));  // QString::number(row)
        grid.setText(row, 1, texts.name);
        grid.setText(row, 2, texts.cardNumber);
        grid.setText(row, 3, shown);
        longestAmount = std::max(longestAmount, shown.size());
        total.add(currencyUnits(shown));
    }
    // The number and the amount columns grow with their longest text, so none is cut off on screen.
    widenForDigits(grid, 0, QString::number(count).size());
    widenForDigits(grid, 3, longestAmount);
    return {count, total.units()};
}

bank::CardRows cardRowsOf(const data::WageGrid& grid) {
    bank::CardRows rows;
    if (grid.cols() < kCardGridColumns) return rows;
    qsizetype characters = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        for (int c = 1; c < kCardGridColumns; ++c) characters += grid.textView(r, c).size();
    }
    rows.reserve(grid.rows() > 0 ? grid.rows() - 1 : 0, characters);
    for (int r = 1; r < grid.rows(); ++r)
        rows.append(grid.textView(r, 1), grid.textView(r, 2), grid.textView(r, 3));
    return rows;
}

}  // namespace slp::card
