#pragma once
// An in-memory SQLite database with the host's four wage tables (and the positioned-printing layout
// table), with the translator's helpers registered, and a runner that translates a query text and
// returns the column names and rows.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace slp::data {
class Database;
}

namespace slp::jet::test {

// One value as the engine returned it.
struct Cell {
    int type = SQLITE_NULL;
    qint64 integer = 0;
    double real = 0;
    QString text;

    bool isNull() const { return type == SQLITE_NULL; }
    double number() const;    // integer or real; texts read by their leading value
    QString display() const;  // texts as they are, numbers in plain decimal form, null as "<null>"
};

struct Result {
    QStringList columns;
    std::vector<std::vector<Cell>> rows;

    int column(const QString& name) const;  // index by name, -1 when missing
    const Cell& at(size_t row, const QString& name) const;
    QStringList texts(const QString& name) const;  // one column's display texts, in row order
};

// The engines the translated texts run on. A PostgreSQL database is a fresh schema on the test server
// (tests/server), reached through slp::data::Database; it keeps the wage columns as texts, as the
// host's typed tables would.
enum class Engine { SQLite, PostgreSQL };
std::string engineName(const ::testing::TestParamInfo<Engine>& info);

class HostDatabase {
  public:
    // Creates the tables empty; fill() adds the sample month. A PostgreSQL database needs the test
    // server: construct it after SLP_REQUIRE_SERVER gave the URL.
    explicit HostDatabase(Engine engine = Engine::SQLite, const QString& url = QString());
    ~HostDatabase();
    HostDatabase(const HostDatabase&) = delete;
    HostDatabase& operator=(const HostDatabase&) = delete;

    sqlite3* handle() const { return db_; }
    Engine engine() const { return engine_; }
    // The host text in this engine's dialect.
    QString translate(const QString& hostText) const;

    // Runs SQLite text directly (setting up data). Fails the test on error.
    void exec(const QString& sql);
    // Translates the host query text and runs it. Fails the test (and returns an empty result) when
    // the translation or the engine fails.
    Result query(const QString& hostText);
    // The engine's error message for a translated statement that fails while running, nullopt if it runs.
    std::optional<QString> runError(const QString& hostText);
    // Runs SQLite text directly and returns its rows.
    Result raw(const QString& sql);

  private:
    std::optional<QString> run(const QString& sql, Result& result, bool translated);

    Engine engine_;
    sqlite3* db_ = nullptr;
    std::unique_ptr<data::Database> server_;
};

// The sample month 2000-04 (and a row of 2000-03 in each month table) described in host_database.cpp.
void fillSampleMonth(HostDatabase& db);

inline const QString sampleMonth = QStringLiteral("2000-04");

}  // namespace slp::jet::test
