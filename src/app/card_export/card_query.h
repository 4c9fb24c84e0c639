#pragma once
// The query texts of the card export window, written in the host's query dialect.
#include <QString>
#include <QStringView>

namespace slp::card {

// The month's items with their positions; the last one is the amount paid into the cards.
QString cardItemsQuery(const QString& monthKey);

// The amount item as the card query names it: the bare name, which the host's dialect reads as a column
// as long as it is made of letters, digits (not in front), CJK characters and underscores; any other
// name ("实发-工资", "1月奖金", "实发 工资") between square brackets, so it still names its column.
QString amountColumn(QStringView itemName);
// Whether the bare name would not read as one column name.
bool amountNeedsBrackets(QStringView itemName);

// The card query: every employee with a positive amount and a card number of positive value, with
// name, card number and amount, ordered by `sortColumn` (a qualified column of the sort menu).
QString cardQuery(const QString& amountItem, const QString& sortColumn, const QString& monthKey);

// What a card query is made of.
struct CardQuery {
    QString amountItem;
    QString sortColumn;
    QString monthKey;
    QString text() const { return cardQuery(amountItem, sortColumn, monthKey); }
};

// The sort menu's columns.
inline constexpr QStringView kSortByNumber = u"[16工资输出数据].工号";
inline constexpr QStringView kSortByCard = u"[12个人信息].信用卡号";

}  // namespace slp::card
