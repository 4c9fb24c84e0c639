// Filling the card grid from a result set: the shown amount is the stored one formatted "0.00" (the
// grid writes the usual amounts without formatting them), the row numbers, and the exact total.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include "app/card_export/card_grid.h"
#include "basic/conversions.h"
#include "data/database.h"
#include "data/result_set.h"
#include "data/wage_grid.h"

using namespace Qt::StringLiterals;
using namespace slp;

namespace {

QString draw(QRandomGenerator& random, const QStringList& pool, int maxLength) {
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int k = 0; k < length; ++k) text += pool[random.bounded(int(pool.size()))];
    return text;
}

// Amounts of digits with 0 to 3 decimals, a few of more digits than a double holds exactly, leading
// zeros, and texts of other forms.
QStringList amountTexts() {
    QStringList texts = {u"0"_s,
                         u"0.00"_s,
                         u"00.5"_s,
                         u".5"_s,
                         u"5."_s,
                         u"12abc"_s,
                         u" 7.5"_s,
                         u"-3.456"_s,
                         u"1e3"_s,
                         u""_s,
                         u"0.005"_s,
                         u"2.675"_s,
                         u"1.005"_s,

                         u"99999999999999.99"_s,
                         u"9999999999999.99"_s,
                         u"12345678901234.56"_s,
                         u"123456789012.345"_s,
                         u"１２"_s};
    QRandomGenerator random(20000425);
    const QStringList digits = {u"0"_s, u"1"_s, u"2"_s, u"5"_s, u"9"_s};
    for (int i = 0; i < 3000; ++i) {
        QString t = draw(random, digits, random.bounded(4) == 0 ? 11 : 7);
        if (random.bounded(4) > 0) t += u'.' + draw(random, digits, 3);
        texts << t;
    }
    return texts;
}

TEST(CardGridFill, ShowsEveryAmountAsFormattingItWouldAndAddsTheShownAmounts) {
    data::Database db(u"sqlite::memory:"_s);
    db.executeNative(u"CREATE TABLE card (name TEXT, card TEXT, amount TEXT)"_s);
    const QStringList amounts = amountTexts();
    for (const QString& amount : amounts) {
        db.addRow(u"card"_s, {{u"name"_s, data::Value(u"张三"_s)},
                              {u"card"_s, data::Value(u"6222"_s)},
                              {u"amount"_s, data::Value(amount)}});
    }
    db.addRow(u"card"_s,
              {{u"name"_s, data::Value(u"李四"_s)}, {u"card"_s, data::Value(u"1"_s)}});  // no amount
    data::ResultSet records = db.openNative(u"SELECT name, card, amount FROM card ORDER BY rowid"_s);

    data::WageGrid grid;
    const card::CardGridSummary summary = card::fillCardGrid(records, grid);
    ASSERT_EQ(summary.count, amounts.size() + 1);
    ASSERT_EQ(grid.rows(), amounts.size() + 2);
    CurrencyTotal total;
    for (int k = 0; k < summary.count; ++k) {
        const int row = k + 1;
        const QString stored = k < amounts.size() ? amounts[k] : QString();
        const QString expected = formatText(stored, u"0.00");
        EXPECT_EQ(grid.text(row, 3).toStdString(), expected.toStdString())
            << "“" << stored.toStdString() << "”";
        EXPECT_EQ(grid.text(row, 0), QString::number(row));
        total.add(currencyUnits(expected));
    }
    EXPECT_EQ(summary.total, total.units());
    EXPECT_EQ(grid.text(3, 1), u"张三"_s);
    EXPECT_EQ(grid.text(summary.count, 1), u"李四"_s);
    EXPECT_EQ(grid.text(summary.count, 3), QString());
    // The longest amount ("99999999999999.99", 17 characters) and the 4-digit row numbers fit their
    // columns on screen: the amount column grows, the number column keeps its 540 twips.
    EXPECT_GE(grid.colWidth(3), 17 * 100);
    EXPECT_EQ(grid.colWidth(0), 540);
    EXPECT_EQ(grid.colWidth(1), 900);
}

TEST(CardGridFill, TheNumberColumnGrowsWithTheRowCount) {
    data::Database db(u"sqlite::memory:"_s);
    db.executeNative(u"CREATE TABLE card (name TEXT, card TEXT, amount TEXT)"_s);
    db.executeNative(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
        u"INSERT INTO card SELECT 'x', '6222', '1.00' FROM n"_s);
    data::ResultSet records = db.openNative(u"SELECT name, card, amount FROM card"_s);
    data::WageGrid grid;
    ASSERT_EQ(card::fillCardGrid(records, grid).count, 100000);
    EXPECT_GE(grid.colWidth(0), 6 * 100);  // "100000"
    EXPECT_EQ(grid.colWidth(3), 900);      // "1.00" keeps the designed width
}

}  // namespace
