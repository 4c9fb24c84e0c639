#pragma once
// The wage database: a connection to the host's database, the query dialect its texts are translated
// to, and the operations the windows use (open a result set, execute a statement, table definitions,
// adding and updating rows, transactions).
//
// Connection texts:
//   "sqlite:PATH"                        the embedded engine (SQLite through Qt SQL); "sqlite::memory:"
//                                        for a private database in memory
//   "postgresql://user:pw@host:port/db"  PostgreSQL through Qt's QPSQL driver; parts left out come from
//                                        libpq's environment (PGHOST, PGPORT, PGUSER, PGDATABASE, …);
//                                        "?host=/folder" for a Unix socket, other ?name=value pairs are
//                                        passed to libpq
//
// Every query text handed to open() or execute() is written in the host engine's dialect and goes
// through slp::jet::translate for this database's dialect; the *Native variants take the engine's own
// dialect. Nothing here shows a window: every fault is a DatabaseError.
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>

#include "data/database_error.h"
#include "data/jet/translate.h"
#include "data/result_set.h"
#include "data/schema.h"
#include "data/value.h"

struct sqlite3;

namespace slp::data {

// Column name and value pairs, in order.
using FieldValues = QList<std::pair<QString, Value>>;

// Seconds a server connection waits for the server unless the URL (connect_timeout) or the environment
// (PGCONNECT_TIMEOUT) says otherwise.
inline constexpr int kDefaultConnectTimeoutSeconds = 10;

// The connection text as it may be shown: a server URL's password, in the user information or as
// ?password=, replaced by "***". Every message, output and log shows this form.
QString connectionWithoutPassword(const QString& connection);

class Database {
  public:
    struct Options {
        bool createIfMissing =
            false;  // create a missing SQLite file instead of failing with dberr::FileNotFound
        // Use only Qt SQL's generic operations even on SQLite, the way a server engine is used (reads
        // through QSqlQuery, writes through prepared QSqlQuery); sqliteHandle() is then nullptr.
        bool genericQtSql = false;
    };

    // Opens the database. Throws DatabaseError (dberr::FileNotFound for a missing file, errnum::Database
    // for anything the engine refuses, including a file that is not a database).
    explicit Database(const QString& connection);
    Database(const QString& connection, Options options);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& connectionText() const { return connection_; }
    jet::Dialect dialect() const { return dialect_; }
    // The SQLite handle of the connection, or nullptr for another engine (or the generic mode).
    sqlite3* sqliteHandle() const { return sqlite_; }
    // The Qt SQL connection (its name is unique to this object).
    QSqlDatabase qtDatabase() const;

    // The host query text in this database's dialect. A text that does not parse raises DatabaseError
    // with the translator's number and message.
    QString translate(const QString& hostQuery) const;

    // Reads every row of a query written in the host dialect / in the engine's dialect.
    ResultSet open(const QString& hostQuery);
    // Told the rows read so far while a query's rows are read (every few thousand rows), for a progress
    // display; none by default.
    void setRowsReadObserver(std::function<void(int)> observer) { rowsRead_ = std::move(observer); }
    ResultSet openNative(const QString& engineQuery);
    // Reads the rows of a query in the host dialect a chunk of at most `rowsPerChunk` rows at a time, so
    // that a large month is never held whole: each chunk is a result set of its own handed to `chunk`
    // in order (none for a query without rows). Returns the rows read. Another engine than SQLite
    // hands all rows as one chunk.
    int openInChunks(const QString& hostQuery, int rowsPerChunk,
                     const std::function<void(ResultSet&)>& chunk);
    // Runs a statement written in the host dialect / the engine's dialect; returns the number of rows
    // changed. On SQLite's own path executeNative also takes several ';'-separated statements (the count
    // is then the last one's); Qt's generic path runs one statement only.
    int64_t execute(const QString& hostStatement);
    int64_t executeNative(const QString& engineStatement);

    // Table definitions in creation order (the engine's internal tables left out).
    QList<TableDef> tables();
    // The table named exactly `name` (case and blanks count), if any.
    bool hasTable(const QString& name);
    // Creates the table with its typed fields.
    void createTable(const TableDef& table);
    // Adds one row; columns not named get their default (null).
    void addRow(const QString& table, const FieldValues& values);
    // Sets `values` in every row whose columns equal `where` (null equals null); all rows when `where`
    // is empty. Returns the number of rows changed.
    int64_t updateRows(const QString& table, const FieldValues& values, const FieldValues& where);

    // Transactions; prefer the Transaction guard below.
    void beginTransaction();
    void commit();
    void rollback();

  private:
    friend class RowWriter;
    [[noreturn]] void throwQtError(const QString& what, const QString& query,
                                   const QString& engineQuery) const;
    // PostgreSQL: the component's functions and collation, installed on the first connection.
    void installPostgresHelpers();
    // PostgreSQL: the tables' column types for the translation, read again after any native statement.
    const jet::Catalogue* catalogue() const;

    QString connection_;
    QString connectionName_;
    jet::Dialect dialect_ = jet::Dialect::SQLite;
    sqlite3* sqlite_ = nullptr;
    mutable jet::Catalogue catalogue_;
    mutable bool catalogueStale_ = true;
    std::function<void(int)> rowsRead_;
};

// Rolls back on destruction unless committed.
class Transaction {
  public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    bool committed() const { return done_; }

  private:
    Database& database_;
    bool done_ = false;
};

// Adds many rows to one table through one prepared statement. Keep it shorter-lived than its Database.
class RowWriter {
  public:
    RowWriter(Database& database, const QString& table, const QStringList& columns);
    ~RowWriter();
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    // One row, values in the order of the columns given at construction.
    void add(const QList<Value>& values);
    int64_t rowsAdded() const { return added_; }

  private:
    Database& database_;
    QString statement_;
    int columns_ = 0;
    int64_t added_ = 0;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace slp::data
