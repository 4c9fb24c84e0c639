#pragma once
// The card query's rows by a join of our own, for speed on SQLite: the month's payments and the card
// holders are read by two single-table queries with the very conditions of the card query (the host's
// dialect, translated as the card query is), then joined on 工号 and ordered here, on keys that are
// exact for the collation. It is taken only where it gives the card query's own rows in the card
// query's own order; anywhere else the caller runs the card query itself.
#include <optional>
#include <utility>
#include <vector>

#include "data/result_set.h"

namespace slp::data {
class Database;
class WageGrid;
}  // namespace slp::data

namespace slp::card {

struct CardQuery;

struct CardGridSummary;

struct JoinedCardRows {
    data::ResultSet payments;  // 工号 and the amount of the month's rows
    data::ResultSet holders;   // 工号, 姓名 and 信用卡号 of every employee
    // (payment, holder) a record of the card query, in its order: a positive amount and a card number
    // of positive value.
    std::vector<std::pair<int, int>> rows;
};

// nullopt, having changed nothing, when the join might differ from the card query in any way: not
// SQLite, another order, a name the query would find ambiguous, a 工号 or sort text that is not plain
// printable ASCII text (or is a number), a 工号 twice on one side, two rows with the same sort key, or
// any error (the card query then says its own).
std::optional<JoinedCardRows> joinCardRows(data::Database& db, const CardQuery& query);

// Fills the card grid from the joined records as fillCardGrid does from the card query's: the very texts.
CardGridSummary fillCardGrid(JoinedCardRows& joined, data::WageGrid& grid);

}  // namespace slp::card
