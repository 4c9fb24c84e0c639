#pragma once
// A month of wage data for the card export tests: the demo unit plus hand-made employees at the edges of
// the card query (empty, zero and odd amounts, empty and odd card numbers, another month), and the rows
// the card grid must show, worked out here without the window's query.
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

#include "data/database.h"
#include "data/host_context.h"
#include "data/value.h"

namespace slp::test {

inline const QString kMonth = QStringLiteral("2000-04");

struct ExpectedRow {
    QString number;  // 工号
    QString dept;    // 部门号
    QString name;
    QString card;   // as stored
    QString shown;  // the amount as the grid shows it
};

class CardDatabase {
  public:
    // `oddAmount` adds an employee whose amount is "12abc": listed (its value is 12) but no bank
    // format can write it.
    explicit CardDatabase(int employees = 60, bool oddAmount = false);

    QString path() const { return dir_.filePath(QStringLiteral("wages.db")); }
    const std::shared_ptr<data::Database>& database() const { return db_; }
    data::Database& db() { return *db_; }

    // Card numbers of at most `chars` characters (the first ones of each): the demo's 16- and 19-digit
    // numbers do not fit the card field of every bank's file, and a file never cuts one.
    void keepCardNumbersTo(int chars);

    // The card holders of kMonth in 工号 order.
    QList<ExpectedRow> expectedRows() const;
    // Their count and total in fen, as the clerk would add the shown amounts.
    int expectedCount() const { return int(expectedRows().size()); }
    int64_t expectedTotalFen() const;

  private:
    QTemporaryDir dir_;
    std::shared_ptr<data::Database> db_;
    bool oddAmount_;
};

// The host of the demo: unit 0101 朔岚示范公司, month 2000-04, pay day 25.
HostContext demoHost(std::shared_ptr<data::Database> database);

// Fen of a shown amount ("1234.50" -> 123450), read digit by digit; "12abc" counts its leading 12.
int64_t fenOf(const QString& shown);
// Fen written with two decimals.
QString yuanText(int64_t fen);

}  // namespace slp::test
