#include "host_database.h"

#include <gtest/gtest.h>

#include "basic/conversions.h"
#include "data/database.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {

double Cell::number() const {
    switch (type) {
        case SQLITE_INTEGER:
            return double(integer);
        case SQLITE_FLOAT:
            return real;
        case SQLITE_NULL:
            return 0;
        default:
            return leadingValue(text);
    }
}

QString Cell::display() const {
    switch (type) {
        case SQLITE_INTEGER:
            return QString::number(integer);
        case SQLITE_FLOAT:
            return plainNumber(real);
        case SQLITE_NULL:
            return u"<null>"_s;
        default:
            return text;
    }
}

int Result::column(const QString& name) const {
    return int(columns.indexOf(name));
}

const Cell& Result::at(size_t row, const QString& name) const {
    static const Cell missing;
    const int c = column(name);
    if (c < 0 || row >= rows.size()) {
        ADD_FAILURE() << "no cell " << row << " / " << name.toStdString();
        return missing;
    }
    return rows[row][size_t(c)];
}

QStringList Result::texts(const QString& name) const {
    QStringList out;
    for (size_t r = 0; r < rows.size(); ++r) out << at(r, name).display();
    return out;
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

HostDatabase::HostDatabase(Engine engine, const QString& url) : engine_(engine) {
    if (engine == Engine::SQLite) {
        EXPECT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        EXPECT_EQ(registerSqliteHelpers(db_), SQLITE_OK);
    } else {
        server_ = std::make_unique<data::Database>(url);
    }
    // Wage item columns carry no declared type on SQLite: the host keeps numbers or texts in them. A
    // server engine's columns are typed: texts.
    const QString any = engine == Engine::SQLite ? QString() : u" TEXT"_s;
    exec(u"CREATE TABLE \"11部门信息\" (部门号 TEXT, 部门名称 TEXT, 工作年月 TEXT)"_s);
    exec(u"CREATE TABLE \"12个人信息\" (工号 TEXT, 姓名 TEXT, 信用卡号 TEXT)"_s);
    exec(
        u"CREATE TABLE \"14工资输出及公式\" (工作年月 TEXT, 项目序号 INTEGER, 项目名称 TEXT, 小数位数%1, "
        u"打印宽度%1, 计算公式 TEXT)"_s.arg(any));
    exec(
        u"CREATE TABLE \"16工资输出数据\" (工作年月 TEXT, 部门号 TEXT, 工号 TEXT, 姓名 TEXT, 部门%1, "
        u"基本工资%1, 奖金%1, 实发工资%1)"_s.arg(any));
    exec(
        u"CREATE TABLE \"特殊打印位置设置\" (项目名称 TEXT, X坐标 REAL, Y坐标 REAL, 序号 INTEGER, "
        u"位置 INTEGER, 是否打印名称 INTEGER)"_s);
}

HostDatabase::~HostDatabase() {
    sqlite3_close(db_);
}

QString HostDatabase::translate(const QString& hostText) const {
    return server_ ? server_->translate(hostText) : jet::translate(hostText);
}

void HostDatabase::exec(const QString& sql) {
    if (server_) {
        try {
            server_->executeNative(sql);
        } catch (const data::DatabaseError& e) {
            ADD_FAILURE() << sql.toStdString() << ": " << e.message().toStdString();
        }
        return;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    EXPECT_EQ(rc, SQLITE_OK) << sql.toStdString() << ": " << (message ? message : "");
    sqlite3_free(message);
}

namespace {

// Runs one statement; returns the error message, or fills the result.
std::optional<QString> runSqlite(sqlite3* db, const QString& sql, Result& result) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        return QString::fromUtf8(sqlite3_errmsg(db));
    }
    const int n = sqlite3_column_count(stmt);
    for (int c = 0; c < n; ++c) result.columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Cell> row(static_cast<size_t>(n));
        for (int c = 0; c < n; ++c) {
            Cell& cell = row[size_t(c)];
            cell.type = sqlite3_column_type(stmt, c);
            if (cell.type == SQLITE_INTEGER) cell.integer = sqlite3_column_int64(stmt, c);
            if (cell.type == SQLITE_FLOAT) cell.real = sqlite3_column_double(stmt, c);
            if (cell.type == SQLITE_TEXT || cell.type == SQLITE_BLOB) {
                cell.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                              sqlite3_column_bytes(stmt, c));
            }
        }
        result.rows.push_back(std::move(row));
    }
    std::optional<QString> error;
    if (rc != SQLITE_DONE) error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return error;
}

// The rows of a result set in the cells SQLite would give.
void copyRows(data::ResultSet& rs, Result& result) {
    result.columns = rs.fieldNames();
    for (int r = 0; r < rs.recordCount(); ++r) {
        rs.setAbsolutePosition(r);
        std::vector<Cell> row(size_t(rs.fieldCount()));
        for (int c = 0; c < rs.fieldCount(); ++c) {
            const data::Value v = rs.value(c);
            Cell& cell = row[size_t(c)];
            switch (v.type()) {
                case data::Value::Type::Integer:
                    cell.type = SQLITE_INTEGER;
                    cell.integer = v.toInt64();
                    break;
                case data::Value::Type::Real:
                    cell.type = SQLITE_FLOAT;
                    cell.real = v.toDouble();
                    break;
                case data::Value::Type::Null:
                    cell.type = SQLITE_NULL;
                    break;
                default:
                    cell.type = SQLITE_TEXT;
                    cell.text = v.toText();
            }
        }
        result.rows.push_back(std::move(row));
    }
}

}  // namespace

std::optional<QString> HostDatabase::run(const QString& sql, Result& result, bool translated) {
    if (!server_) return runSqlite(db_, translated ? jet::translate(sql) : sql, result);
    try {
        data::ResultSet rs = translated ? server_->open(sql) : server_->openNative(sql);
        copyRows(rs, result);
    } catch (const data::DatabaseError& e) {
        return e.message();
    }
    return std::nullopt;
}

Result HostDatabase::raw(const QString& sql) {
    Result result;
    if (const auto error = run(sql, result, false))
        ADD_FAILURE() << sql.toStdString() << ": " << error->toStdString();
    return result;
}

Result HostDatabase::query(const QString& hostText) {
    QString sql;
    try {
        sql = translate(hostText);
    } catch (const slp::Error& e) {
        ADD_FAILURE() << hostText.toStdString() << ": " << e.description().toStdString();
        return {};
    }
    Result result;
    if (const auto error = run(hostText, result, true)) {
        ADD_FAILURE() << hostText.toStdString() << "\n -> " << sql.toStdString() << ": "
                      << error->toStdString();
        return {};
    }
    return result;
}

std::optional<QString> HostDatabase::runError(const QString& hostText) {
    Result result;
    return run(hostText, result, true);
}

void fillSampleMonth(HostDatabase& db) {
    // Departments: two levels, codes of 2 and 4 characters; the first row has a 2-character code.
    db.exec(
        u"INSERT INTO \"11部门信息\" VALUES ('01','行政部','2000-04'), ('02','生产部','2000-04'), "
        u"('0101','办公室','2000-04'), ('0102','财务科','2000-04'), ('0103','后勤科','2000-04'), "
        u"('0104','保卫科','2000-04'), ('0201','一车间','2000-04'), ('03','销售部','2000-04'), "
        u"('01','旧行政部','2000-03')"_s);
    db.exec(
        u"INSERT INTO \"12个人信息\" VALUES ('003','张三','9555001'), ('002','阿明',''), "
        u"('001','白雪','6222003'), ('004','赵四',NULL), ('005','Alice','7777005'), ('006','bob','6222006')"_s);
    // The catalogue, stored out of order; 项目序号 is numeric so 9 comes before 10.
    db.exec(
        u"INSERT INTO \"14工资输出及公式\" VALUES ('2000-04',10,'实发工资','2','12',''), "
        u"('2000-04',1,'部门','0','10',''), ('2000-04',3,'基本工资','2','10',''), "
        u"('2000-04',2,'姓名','0','8',''), ('2000-04',9,'奖金','2','9',''), "
        u"('2000-03',1,'旧项目','0','8','')"_s);
    // Wages: amounts as numbers and as texts, a null and an empty bonus, a text with trailing letters.
    db.exec(
        u"INSERT INTO \"16工资输出数据\" VALUES "
        u"('2000-04','0101','003','张三','办公室',1000,'200',1200), "
        u"('2000-04','0102','002','阿明','财务科',800.5,NULL,800.5), "
        u"('2000-04','0201','001','白雪','一车间','12abc',100,112), "
        u"('2000-04','0103','004','赵四','后勤科',900,'',900), "
        u"('2000-04','03','005','Alice','销售部',500,50,550), "
        u"('2000-04','0104','006','bob','保卫科',300,30,0), "
        u"('2000-03','0101','003','张三','办公室',999,999,999)"_s);
}

}  // namespace slp::jet::test
