#pragma once
// Writes a syntax tree as a SQLite statement that gives the rows, order and column names the host
// engine gives for the original text. The statement relies on the functions and the collation that
// registerSqliteHelpers puts on the connection.
#include <QString>
#include <QStringView>

#include "data/jet/syntax_tree.h"

namespace slp::jet {

// Name of the collation that compares texts like the host engine: without regard to case or
// character width, Chinese characters in pinyin order.
inline constexpr char textCollation[] = "slp_text";

// text is the original query text, for the positions of errors found while writing (a number
// compared with a text that is no number). Throws SyntaxError.
QString emitSqlite(const Statement& statement, QStringView text);

}  // namespace slp::jet
