#pragma once
// Translates the windows' query texts, written in the host engine's dialect, into the dialect of the
// engine at hand. Tokenizer, parser to a syntax tree, emitter.
#include <QString>
#include <QStringView>

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

// The statement in the target dialect, with the same rows, order and column names (aliases).
// Throws SyntaxError.
QString translate(QStringView hostQuery, Dialect dialect = Dialect::SQLite);

// Registers on a SQLite connection the helper functions and collation the translated texts use
// (val, left, len, null-safe concatenation, text comparison like the host engine).
// Returns SQLITE_OK or the first failing code.
int registerSqliteHelpers(sqlite3* db);

}  // namespace slp::jet
