#pragma once
// A prepared SQLite statement that finalizes itself; faults become DatabaseError with the engine's
// message and extended result code.
#include <sqlite3.h>

#include <QString>

#include "data/database_error.h"
#include "data/value.h"

namespace slp::data {

class SqliteStatement {
  public:
    // Prepares the whole text as one statement. query / engineQuery name the texts in errors.
    SqliteStatement(sqlite3* db, const QString& text, const QString& query, const QString& engineQuery = {});
    // Prepares the first statement of a UTF-8 text; *tail receives where the next one starts. A text of
    // blanks or comments gives a null statement (get() == nullptr).
    SqliteStatement(sqlite3* db, const char* utf8, int size, const char** tail, const QString& query,
                    const QString& engineQuery);
    ~SqliteStatement() { sqlite3_finalize(statement_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    sqlite3_stmt* get() const { return statement_; }
    // Binds parameter `index` (1-based).
    void bind(int index, const Value& value);
    // Steps until the statement is done, ignoring rows.
    void runToEnd();
    // Ready to run again, bindings cleared.
    void reset();

  private:
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    QString query_;
    QString engineQuery_;
};

}  // namespace slp::data
