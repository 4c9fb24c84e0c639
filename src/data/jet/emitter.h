#pragma once
// Writes a syntax tree as a statement of the engine at hand that gives the rows, order and column names
// the host engine gives for the original text. A SQLite statement relies on the functions and the
// collation that registerSqliteHelpers puts on the connection, a PostgreSQL one on the schema that
// postgresHelperStatements() installs.
#include <QString>
#include <QStringView>

#include "data/jet/syntax_tree.h"
#include "data/jet/translate.h"

namespace slp::jet {

// Name of the collation that compares texts like the host engine: without regard to case or
// character width, Chinese characters in pinyin order.
inline constexpr char textCollation[] = "slp_text";
// The schema of the component's own functions and collation on a PostgreSQL database.
inline constexpr char postgresSchema[] = "sl_payprn";

// text is the original query text, for the positions of errors found while writing (a number
// compared with a text that is no number). Throws SyntaxError.
QString emitSqlite(const Statement& statement, QStringView text);
QString emitPostgres(const Statement& statement, QStringView text, const Catalogue* catalogue);

}  // namespace slp::jet
