#pragma once
// An in-memory SQLite database with the host's four wage tables (and the positioned-printing layout
// table), with the translator's helpers registered, and a runner that translates a query text and
// returns the column names and rows.
#include <sqlite3.h>

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

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

class HostDatabase {
  public:
    // Creates the tables empty; fill() adds the sample month.
    HostDatabase();
    ~HostDatabase();
    HostDatabase(const HostDatabase&) = delete;
    HostDatabase& operator=(const HostDatabase&) = delete;

    sqlite3* handle() const { return db_; }

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
    sqlite3* db_ = nullptr;
};

// The sample month 2000-04 (and a row of 2000-03 in each month table) described in host_database.cpp.
void fillSampleMonth(HostDatabase& db);

inline const QString sampleMonth = QStringLiteral("2000-04");

}  // namespace slp::jet::test
