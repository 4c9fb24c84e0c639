// Feeds arbitrary texts to the query translator. Whatever it accepts is prepared, and run for a few
// rows, on an in-memory database with the host's tables, inside a transaction that is rolled back.
// Nothing may crash; texts it refuses must be refused with a SyntaxError.
#include <sqlite3.h>

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "data/jet/translate.h"

namespace {

// Counts kept for the summary printed when the run ends.
struct Counts {
    long inputs = 0;
    long refused = 0;
    long translated = 0;
    long prepareFailed = 0;
    long ran = 0;
    long runFailed = 0;
};

const char* const schema =
    "CREATE TABLE \"11部门信息\" (部门号 TEXT, 部门名称 TEXT, 工作年月 TEXT);"
    "CREATE TABLE \"12个人信息\" (工号 TEXT, 姓名 TEXT, 信用卡号 TEXT);"
    "CREATE TABLE \"14工资输出及公式\" (工作年月 TEXT, 项目序号 INTEGER, 项目名称 TEXT, 小数位数, 打印宽度);"
    "CREATE TABLE \"16工资输出数据\" (工作年月 TEXT, 部门号 TEXT, 工号 TEXT, 姓名 TEXT, 部门, 基本工资, 奖金,"
    " 实发工资);"
    "CREATE TABLE \"特殊打印位置设置\" (项目名称 TEXT, X坐标 REAL, Y坐标 REAL, 序号 INTEGER, 位置 INTEGER,"
    " 是否打印名称 INTEGER);"
    "INSERT INTO \"11部门信息\" VALUES ('01','行政部','2000-04'), ('0101','办公室','2000-04'), "
    "(NULL,'x',NULL);"
    "INSERT INTO \"12个人信息\" VALUES ('001','张三','9555001'), ('002','Bob',NULL), (3, 'Ann', '  12x');"
    "INSERT INTO \"14工资输出及公式\" VALUES ('2000-04',1,'部门','0','10'), ('2000-04',2,'姓名','0','8'),"
    " ('2000-04',3,'实发工资','2',NULL);"
    "INSERT INTO \"16工资输出数据\" VALUES ('2000-04','0101','001','张三','办公室',1000,'12abc',1200.5),"
    " ('2000-04','01','002','Bob',NULL,NULL,'',0), ('2000-04','0101',3,'Ann','x',-5,1e300,'&H1F');"
    "INSERT INTO \"特殊打印位置设置\" VALUES ('部门',100,200,0,0,1);";

struct Fixture {
    sqlite3* db = nullptr;
    Counts counts;
    // JET_FUZZ_SHOW_ERRORS=1 prints the engine's message for each failing statement (to sort them).
    bool showErrors = std::getenv("JET_FUZZ_SHOW_ERRORS") != nullptr;

    Fixture() {
        if (sqlite3_open(":memory:", &db) != SQLITE_OK || slp::jet::registerSqliteHelpers(db) != SQLITE_OK ||
            sqlite3_exec(db, schema, nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "fixture failed: %s\n", sqlite3_errmsg(db));
            std::abort();
        }
        // Bound the work any one statement may do (a join of joins of joins).
        sqlite3_progress_handler(
            db, 100000, [](void*) { return 1; }, nullptr);
        std::atexit([] { report(); });
    }

    static void report();
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void Fixture::report() {
    const Counts& c = fixture().counts;
    std::fprintf(stderr,
                 "jet fuzz counts: inputs %ld, refused %ld, translated %ld, prepare failed %ld, ran %ld, "
                 "run failed %ld\n",
                 c.inputs, c.refused, c.translated, c.prepareFailed, c.ran, c.runFailed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fixture& f = fixture();
    ++f.counts.inputs;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString sql;
    try {
        sql = slp::jet::translate(text);
    } catch (const slp::jet::SyntaxError& e) {
        ++f.counts.refused;
        if (e.position() < 1 || e.position() > text.size() + 1) std::abort();
        // The name a message puts beside the position must be a piece of the text.
        const QString name = slp::jet::bracketedNameAt(text, e.position());
        if (name.size() > text.size()) std::abort();
        return 0;
    }
    ++f.counts.translated;
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(f.db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        ++f.counts.prepareFailed;
        if (f.showErrors) std::fprintf(stderr, "prepare: %s\n", sqlite3_errmsg(f.db));
        return 0;
    }
    sqlite3_exec(f.db, "SAVEPOINT fuzz", nullptr, nullptr, nullptr);
    int rc = SQLITE_ROW;
    for (int rows = 0; rows < 50 && rc == SQLITE_ROW; ++rows) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) sqlite3_column_text(stmt, c);
        }
    }
    if (rc == SQLITE_ROW || rc == SQLITE_DONE) {
        ++f.counts.ran;
    } else {
        ++f.counts.runFailed;
        if (f.showErrors) std::fprintf(stderr, "run: %s\n", sqlite3_errmsg(f.db));
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(f.db, "ROLLBACK TO fuzz; RELEASE fuzz", nullptr, nullptr, nullptr);
    return 0;
}
