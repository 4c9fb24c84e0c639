#pragma once
// Translates the windows' query texts, written in the host engine's dialect, into the dialect of the
// engine at hand. Tokenizer, parser to a syntax tree, emitter.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>

#include "basic/error.h"

struct sqlite3;

namespace slp::jet {

enum class Dialect { SQLite, PostgreSQL };

// A query text that cannot be parsed: names the 1-based character position and the token found there.
class SyntaxError : public slp::Error {
  public:
    SyntaxError(int position, const QString& token, const QString& message);
    int position() const { return position_; }
    const QString& token() const { return token_; }

  private:
    int position_;
    QString token_;
};

// What a server engine's translation needs to know of the tables: a server engine keeps typed columns
// and compares names exactly, so each name is written as the table spells it and only texts take the
// host's text order. Keys are the names case-folded (see catalogueKey).
enum class ColumnKind { Number, Text };
struct CatalogueColumn {
    QString name;  // as the engine spells it
    ColumnKind kind = ColumnKind::Text;
};
struct CatalogueTable {
    QString name;
    QHash<QString, CatalogueColumn> columns;
};
using Catalogue = QHash<QString, CatalogueTable>;
QString catalogueKey(QStringView name);

// The statement in the target dialect, with the same rows, order and column names (aliases).
//
// Accepted: SELECT [DISTINCT] … FROM … [INNER|LEFT [OUTER] JOIN … ON …] [WHERE] [GROUP BY] [HAVING]
// [ORDER BY … [ASC|DESC]], and DELETE [*] FROM … [WHERE]; keywords and the functions val, left, len,
// count and sum in any case; names in brackets ("]]" stands for "]", blanks before "]" ignored), bare
// names that may begin with digits, "." and "!" qualifiers, aliases with or without AS for tables;
// quoted texts in ' or "; & + - * / and the comparisons; IS [NOT] NULL, NOT, AND, OR.
//
// Column names of the result: the alias when there is one; a column's own name ([姓名] and b.[姓名]
// give 姓名), or table.column when two selected columns share a name; any other expression
// without alias is named Expr1000, Expr1001, … in the order such expressions stand.
//
// Texts compare, group and sort like the host engine: case and character width are ignored, Latin
// letters come before Chinese characters, Chinese characters in pinyin order, digits character by
// character (so codes keep their order). A number compared with a quoted text compares numbers.
//
// Throws SyntaxError for a text it cannot read, an unknown function, a column outside the aggregates
// and groups of an aggregate query, a number compared with a text that is no number, or nesting
// beyond any real query.
//
// Dialect::PostgreSQL writes the functions of the schema that installPostgresHelpers() creates
// (sl_payprn.val, …, collation sl_payprn.slp_text) and plain SQL where that is exact; `catalogue` gives
// the tables' column types and spellings (names not in it are taken as texts, spelled as written).
QString translate(QStringView hostQuery, Dialect dialect = Dialect::SQLite,
                  const Catalogue* catalogue = nullptr);

// Registers on a SQLite connection the helper functions and the collation the translated texts use:
// slp_val, slp_left, slp_len, slp_cat (& where a null counts as empty text), slp_num (a text that must
// read as a number), slp_add/slp_sub/slp_mul/slp_div (arithmetic like the host's), collation slp_text.
// All deterministic, UTF-8. Works on any connection, including the one Qt's QSQLITE driver opened
// (QSqlDriver::handle()). Returns SQLITE_OK or the first failing code (SQLITE_MISUSE for null).
int registerSqliteHelpers(sqlite3* db);

// A text's key under collation slp_text when every character of it is printable ASCII with a rank of
// its own (see the collation): one rank byte a character, so that two such texts are equal under the
// collation exactly when their keys are equal, and ordered as their keys compare byte by byte.
// Writes the key (utf8.size() bytes, each from 1 to 127) to `key` and returns true; false for any other
// text (ICU orders it, and no such key is promised).
bool rankedTextKey(std::string_view utf8, unsigned char* key);

// slp_val(slp_cat(text, suffix)) for two texts, without SQLite: the number Val reads from the joined
// text. The card query's conditions on a text column are read this way outside the database.
double joinedTextValue(std::string_view utf8, std::string_view suffix);
// joinedTextValue(utf8, suffix) > 0, most texts read without a number being made.
bool joinedTextPositive(std::string_view utf8, std::string_view suffix);

// The statements that install the PostgreSQL counterparts in their own schema (sl_payprn), one text
// per statement, idempotent; run them in one transaction. postgresHelpersCheck() is a query whose one
// value is true when this version of them is installed.
QStringList postgresHelperStatements();
QString postgresHelpersCheck();

// The bracketed name a syntax error at `position` (a character position, from 1) lies in, or else the
// last bracketed name before it within the same comma-separated part; empty when there is none. A
// message that names a position of a query built from wage items names the item with it.
QString bracketedNameAt(QStringView query, int position);

}  // namespace slp::jet
