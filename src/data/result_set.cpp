#include "data/result_set.h"

#include <sqlite3.h>

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

#include "basic/conversions.h"
#include "data/database_error.h"
#include "data/engine_message.h"
#include "data/pod_buffer.h"

using namespace Qt::StringLiterals;

namespace slp::data {

namespace {

// Field names the way the host engine compares them: case-insensitive, trailing blanks ignored.
QString nameKey(QStringView name) {
    qsizetype n = name.size();
    while (n > 0 && name[n - 1] == u' ') --n;
    return name.first(n).toString().toCaseFolded();
}

}  // namespace

// The rows: cell i (row-major) holds bytes [end(i - 1), end(i)) of `bytes`, typed by `types[i]`.
// Numbers take 8 bytes, texts their UTF-8 bytes, null nothing.
struct ResultSet::Data {
    QString query;
    QStringList names;
    QHash<QString, int> index;  // nameKey -> first field of that name
    int columns = 0;
    int rows = 0;
    int current = 0;  // == rows at end of data
    PodBuffer<uint32_t> ends;
    PodBuffer<Value::Type> types;
    PodBuffer<char> bytes;

    void setNames(QStringList list) {
        names = std::move(list);
        columns = int(names.size());
        // Filled from the back so that of two fields with the same name the first one answers.
        for (int i = columns - 1; i >= 0; --i) index.insert(nameKey(names[i]), i);
    }

    void append(Value::Type type, const void* data, size_t size) {
        const size_t end = bytes.size() + size;
        if (end > std::numeric_limits<uint32_t>::max()) {
            throw DatabaseError(errnum::Database, u"查询结果太大,超过 4 GB。"_s, query);
        }
        if (size > 0) bytes.append(static_cast<const char*>(data), size);
        ends.push_back(uint32_t(end));
        types.push_back(type);
    }
    void appendNull() { append(Value::Type::Null, nullptr, 0); }
    void appendInteger(int64_t v) { append(Value::Type::Integer, &v, sizeof v); }
    void appendReal(double v) { append(Value::Type::Real, &v, sizeof v); }

    size_t begin(size_t cell) const { return cell == 0 ? 0 : ends[cell - 1]; }
    const char* at(size_t cell) const { return bytes.data() + begin(cell); }
    size_t size(size_t cell) const { return ends[cell] - begin(cell); }

    int64_t integer(size_t cell) const {
        int64_t v;
        std::memcpy(&v, at(cell), sizeof v);
        return v;
    }
    double real(size_t cell) const {
        double v;
        std::memcpy(&v, at(cell), sizeof v);
        return v;
    }
    QString utf8(size_t cell) const { return QString::fromUtf8(at(cell), qsizetype(size(cell))); }

    // Numeric value of a text cell. Plain decimals ("-12", "1200.5"), the bulk of the wage columns, are
    // read straight from the stored bytes; anything else goes through the host's leading-value rule.
    // Up to 15 digits the value is their integer over a power of ten: both are exact doubles, so the one
    // rounding of the division gives the nearest double, as reading the decimal does.
    double textNumber(size_t cell) const {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const char* p = at(cell);
        const size_t n = size(cell);
        const bool negative = n > 0 && p[0] == '-';
        size_t i = negative ? 1 : 0;
        const size_t digitsStart = i;
        uint64_t mantissa = 0;
        while (i < n && p[i] >= '0' && p[i] <= '9') mantissa = mantissa * 10 + uint64_t(p[i++] - '0');
        size_t digits = i - digitsStart;
        bool plain = digits > 0 && n <= 32;
        size_t decimals = 0;
        if (plain && i < n && p[i] == '.') {
            const size_t fractionStart = ++i;
            while (i < n && p[i] >= '0' && p[i] <= '9') mantissa = mantissa * 10 + uint64_t(p[i++] - '0');
            decimals = i - fractionStart;
            digits += decimals;
        }
        if (plain && i == n) {
            if (digits <= 15) {
                const double v = double(mantissa) / kPowers[decimals];
                return negative ? -v : v;
            }
            double v = 0;
            const auto [end, ec] = std::from_chars(p, p + n, v);
            if (ec == std::errc() && end == p + n) return v;
        }
        return leadingValue(utf8(cell));
    }

    Value value(size_t cell) const {
        switch (types[cell]) {
            case Value::Type::Null:
                return Value();
            case Value::Type::Integer:
                return Value::integer(integer(cell));
            case Value::Type::Real:
                return Value::real(real(cell));
            case Value::Type::Text:
                return Value(utf8(cell));
            case Value::Type::Blob:
                return Value::blob(QByteArray(at(cell), qsizetype(size(cell))));
        }
        return Value();
    }
};

ResultSet::ResultSet() = default;
ResultSet::ResultSet(std::unique_ptr<Data> data) : data_(std::move(data)) {}
ResultSet::ResultSet(ResultSet&&) noexcept = default;
ResultSet& ResultSet::operator=(ResultSet&&) noexcept = default;
ResultSet::~ResultSet() = default;

ResultSet ResultSet::fromSqlite(sqlite3_stmt* statement, const QString& query, const QString& engineQuery,
                                const std::function<void(int)>& rowsRead) {
    bool done = false;
    return nextSqliteChunk(statement, query, engineQuery, std::numeric_limits<int>::max(), done, 0, rowsRead);
}

ResultSet ResultSet::nextSqliteChunk(sqlite3_stmt* statement, const QString& query,
                                     const QString& engineQuery, int maxRows, bool& done, int rowsBefore,
                                     const std::function<void(int)>& rowsRead) {
    auto data = std::make_unique<Data>();
    data->query = query;
    const int columns = sqlite3_column_count(statement);
    QStringList names;
    for (int c = 0; c < columns; ++c) names << QString::fromUtf8(sqlite3_column_name(statement, c));
    data->setNames(std::move(names));
    done = false;
    while (data->rows < maxRows) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE) {
            done = true;
            break;
        }
        if (rc != SQLITE_ROW) {
            sqlite3* db = sqlite3_db_handle(statement);
            throw DatabaseError(errnum::Database,
                                engineMessageInChinese(QString::fromUtf8(sqlite3_errmsg(db))), query,
                                engineQuery, sqlite3_extended_errcode(db));
        }
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    data->appendInteger(sqlite3_column_int64(statement, c));
                    break;
                case SQLITE_FLOAT:
                    data->appendReal(sqlite3_column_double(statement, c));
                    break;
                case SQLITE_TEXT: {
                    const unsigned char* text = sqlite3_column_text(statement, c);
                    data->append(Value::Type::Text, text, size_t(sqlite3_column_bytes(statement, c)));
                    break;
                }
                case SQLITE_BLOB: {
                    const void* blob = sqlite3_column_blob(statement, c);
                    data->append(Value::Type::Blob, blob, size_t(sqlite3_column_bytes(statement, c)));
                    break;
                }
                default:
                    data->appendNull();
                    break;
            }
        }
        if (data->rows == std::numeric_limits<int>::max()) {
            throw DatabaseError(errnum::Database, u"查询结果的行数太多。"_s, query, engineQuery);
        }
        ++data->rows;
        const int read = rowsBefore + data->rows;
        if (rowsRead && read % kRowsBetweenReports == 0) rowsRead(read);
    }
    return ResultSet(std::move(data));
}

ResultSet ResultSet::fromQtQuery(QSqlQuery& q, const QString& hostQuery, const QString& engineQuery,
                                 const std::function<void(int)>& rowsRead) {
    auto data = std::make_unique<Data>();
    data->query = hostQuery;
    const QSqlRecord record = q.record();
    QStringList names;
    for (int c = 0; c < record.count(); ++c) names << record.fieldName(c);
    data->setNames(std::move(names));
    const int columns = data->columns;
    while (q.next()) {
        for (int c = 0; c < columns; ++c) {
            const Value v = Value::fromVariant(q.value(c));
            switch (v.type()) {
                case Value::Type::Null:
                    data->appendNull();
                    break;
                case Value::Type::Integer:
                    data->appendInteger(v.toInt64());
                    break;
                case Value::Type::Real:
                    data->appendReal(v.toDouble());
                    break;
                case Value::Type::Text: {
                    const QByteArray utf8 = v.textValue().toUtf8();
                    data->append(Value::Type::Text, utf8.constData(), size_t(utf8.size()));
                    break;
                }
                case Value::Type::Blob:
                    data->append(Value::Type::Blob, v.blobValue().constData(), size_t(v.blobValue().size()));
                    break;
            }
        }
        ++data->rows;
        if (rowsRead && data->rows % kRowsBetweenReports == 0) rowsRead(data->rows);
    }
    if (q.lastError().isValid()) {
        throw DatabaseError(errnum::Database, engineMessageInChinese(q.lastError().text()), hostQuery,
                            engineQuery);
    }
    return ResultSet(std::move(data));
}

const ResultSet::Data& ResultSet::open() const {
    if (!data_) throw DatabaseError(dberr::ObjectClosed, u"对象无效或不再设置。"_s);
    return *data_;
}

const QString& ResultSet::query() const {
    return open().query;
}

bool ResultSet::eof() const {
    const Data& d = open();
    return d.current >= d.rows;
}

void ResultSet::moveLast() {
    const Data& d = open();
    if (d.rows == 0) throw DatabaseError(dberr::NoCurrentRecord, u"无当前记录。"_s, d.query);
    data_->current = d.rows - 1;
}

int ResultSet::recordCount() const {
    return open().rows;
}

int ResultSet::absolutePosition() const {
    const Data& d = open();
    return d.current >= d.rows ? -1 : d.current;
}

void ResultSet::setAbsolutePosition(int position) {
    const Data& d = open();
    if (position < 0 || position >= d.rows)
        throw DatabaseError(dberr::InvalidArgument, u"无效参数。"_s, d.query);
    data_->current = position;
}

int ResultSet::fieldCount() const {
    return open().columns;
}

QString ResultSet::fieldName(int index) const {
    const Data& d = open();
    if (index < 0 || index >= d.columns) {
        throw DatabaseError(dberr::ItemNotFound, u"在此集合中找不到项目。"_s, d.query);
    }
    return d.names[index];
}

QStringList ResultSet::fieldNames() const {
    return open().names;
}

int ResultSet::fieldIndex(QStringView name) const {
    return open().index.value(nameKey(name), -1);
}

size_t ResultSet::cellOf(int index) const {
    const Data& d = open();
    if (index < 0 || index >= d.columns) {
        throw DatabaseError(dberr::ItemNotFound, u"在此集合中找不到项目。"_s, d.query);
    }
    if (d.current >= d.rows) throw DatabaseError(dberr::NoCurrentRecord, u"无当前记录。"_s, d.query);
    return size_t(d.current) * size_t(d.columns) + size_t(index);
}

namespace {
int requireField(const ResultSet& rs, QStringView name) {
    const int i = rs.fieldIndex(name);
    if (i < 0) {
        throw DatabaseError(dberr::ItemNotFound, u"在此集合中找不到项目。 ("_s + name.toString() + u')',
                            rs.query());
    }
    return i;
}
}  // namespace

Value ResultSet::value(int index) const {
    return data_->value(cellOf(index));
}
Value ResultSet::value(QStringView name) const {
    return value(requireField(*this, name));
}

QString ResultSet::text(int index) const {
    const size_t cell = cellOf(index);
    if (data_->types[cell] == Value::Type::Text) return data_->utf8(cell);
    return data_->value(cell).toText();
}
QString ResultSet::text(QStringView name) const {
    return text(requireField(*this, name));
}

double ResultSet::number(int index) const {
    const size_t cell = cellOf(index);
    switch (data_->types[cell]) {
        case Value::Type::Integer:
            return double(data_->integer(cell));
        case Value::Type::Real:
            return data_->real(cell);
        case Value::Type::Null:
            return 0;
        case Value::Type::Text:
            return data_->textNumber(cell);
        default:
            return data_->value(cell).toDouble();
    }
}
QByteArrayView ResultSet::textBytes(int index) const {
    const size_t cell = cellOf(index);
    if (data_->types[cell] != Value::Type::Text) return {};
    return QByteArrayView(data_->at(cell), qsizetype(data_->size(cell)));
}

double ResultSet::number(QStringView name) const {
    return number(requireField(*this, name));
}

ResultSet::StoredCell ResultSet::storedCell(int row, int index) const {
    const Data& d = open();
    if (row < 0 || row >= d.rows) throw DatabaseError(dberr::InvalidArgument, u"无效参数。"_s, d.query);
    if (index < 0 || index >= d.columns) {
        throw DatabaseError(dberr::ItemNotFound, u"在此集合中找不到项目。"_s, d.query);
    }
    const size_t cell = size_t(row) * size_t(d.columns) + size_t(index);
    const Value::Type type = d.types[cell];
    if (type != Value::Type::Text) return {type, {}};
    return {type, QByteArrayView(d.at(cell), qsizetype(d.size(cell)))};
}

bool ResultSet::isNull(int index) const {
    return data_->types[cellOf(index)] == Value::Type::Null;
}

Value::Type ResultSet::typeOf(int index) const {
    return data_->types[cellOf(index)];
}

void ResultSet::close() {
    data_.reset();
}

size_t ResultSet::storageBytes() const {
    const Data& d = open();
    return d.ends.capacity() * sizeof(uint32_t) + d.types.capacity() * sizeof(Value::Type) +
           d.bytes.capacity();
}

}  // namespace slp::data
