#pragma once
// A read-only result set: every row of a query, read at once into one compact store (the texts as
// the engine delivers them, UTF-8, with one end offset and one type byte a cell), so a month of a large
// unit costs a few bytes a cell and any row can be visited by its absolute position.
//
// The operations are the ones the windows use: end-of-data right after opening, move to the last row,
// row count, absolute 0-based position, field by name (alias included) or index, field names, close.
// Faults raise DatabaseError with the host engine's numbers (dberr::...).
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <memory>

#include "data/value.h"

class QSqlQuery;
struct sqlite3_stmt;

namespace slp::data {

class ResultSet {
  public:
    ResultSet();  // a closed result set
    ResultSet(ResultSet&&) noexcept;
    ResultSet& operator=(ResultSet&&) noexcept;
    ~ResultSet();

    // Reads every row of a prepared statement (stepping it to the end) or of an executed query.
    // query / engineQuery name the texts in the errors raised. Throws DatabaseError.
    // `rowsRead`, when set, is told the number of rows read so far every kRowsBetweenReports rows.
    static ResultSet fromSqlite(sqlite3_stmt* statement, const QString& query, const QString& engineQuery,
                                const std::function<void(int)>& rowsRead = {});
    // At most `maxRows` further rows of a statement, stepped on from where the last chunk stopped, as a
    // set of their own; `done` becomes true once the statement has no more rows. `rowsRead` is told the
    // rows of all chunks so far (`rowsBefore` and this chunk's).
    static ResultSet nextSqliteChunk(sqlite3_stmt* statement, const QString& query,
                                     const QString& engineQuery, int maxRows, bool& done, int rowsBefore = 0,
                                     const std::function<void(int)>& rowsRead = {});
    static ResultSet fromQtQuery(QSqlQuery& query, const QString& hostQuery, const QString& engineQuery,
                                 const std::function<void(int)>& rowsRead = {});
    static constexpr int kRowsBetweenReports = 16384;

    bool isOpen() const { return data_ != nullptr; }
    // The query text the set was opened from.
    const QString& query() const;

    // True when there is no current row: the set is empty, or the position moved past the last row.
    bool eof() const;
    // Makes the last row current. An empty set raises "无当前记录。" (dberr::NoCurrentRecord).
    void moveLast();
    // Number of rows (already complete when the set is opened; callers may move last first as the host asks).
    int recordCount() const;
    // 0-based position of the current row, or -1 at end of data.
    int absolutePosition() const;
    // Makes row `position` (0-based) current; outside 0 .. recordCount() - 1 raises dberr::InvalidArgument.
    void setAbsolutePosition(int position);

    int fieldCount() const;
    QString fieldName(int index) const;
    QStringList fieldNames() const;
    // Index of the field named `name` the way the host engine compares names (case-insensitive, trailing
    // blanks ignored); -1 when there is none.
    int fieldIndex(QStringView name) const;

    // Field values of the current row. An unknown name or index raises dberr::ItemNotFound, no current row
    // dberr::NoCurrentRecord.
    Value value(int index) const;
    Value value(QStringView name) const;
    // The value as the host reads it as text (null -> "", numbers as plain decimal text).
    QString text(int index) const;
    QString text(QStringView name) const;
    // Numeric value of the value concatenated with an empty text: numbers as they are, a text's leading
    // numeric value, null 0.
    double number(int index) const;
    double number(QStringView name) const;
    // The stored UTF-8 bytes of a text value, valid while the set is open; empty for other values.
    QByteArrayView textBytes(int index) const;
    bool isNull(int index) const;
    // The kind of the current row's value at `index` (the stored type; nothing is converted).
    Value::Type typeOf(int index) const;
    // The stored type of the value in row `row`, field `index`, and for a text its UTF-8 bytes (valid
    // while the set is open), without moving to the row: one call a value for work over many rows. A row
    // or index outside raises dberr::InvalidArgument or dberr::ItemNotFound.
    struct StoredCell {
        Value::Type type;
        QByteArrayView textBytes;  // empty for other values
    };
    StoredCell storedCell(int row, int index) const;

    // Releases the rows. Any later use except isOpen() and close() raises dberr::ObjectClosed.
    void close();

    // Bytes held by the rows (capacity of the store), for measurements.
    size_t storageBytes() const;

    struct Data;

  private:
    explicit ResultSet(std::unique_ptr<Data> data);
    const Data& open() const;
    size_t cellOf(int index) const;

    std::unique_ptr<Data> data_;
};

}  // namespace slp::data
