// The host dialect's pieces give the same values on both engines for the same texts: val, left, len,
// &, + on texts, numbers compared with quoted numbers, the text order, faults refused on both.
#include <gtest/gtest.h>

#include "host_database.h"
#include "test_server.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {
namespace {

// Every cell of the result as text, row by row; or the fact that the engine refused the query.
QStringList outcome(HostDatabase& db, const QString& query) {
    if (db.runError(query)) return {u"<refused>"_s};
    const Result r = db.query(query);
    QStringList out;
    for (const auto& row : r.rows) {
        QStringList cells;
        for (const Cell& c : row) cells << c.display();
        out << cells.join(u'|');
    }
    return out;
}

TEST(EngineAgreement, SameValuesForTheSameTexts) {
    SLP_REQUIRE_SERVER(url);
    HostDatabase sqlite;
    HostDatabase server(Engine::PostgreSQL, url);
    const QString rows =
        u"INSERT INTO t VALUES (1, '12abc', ' 1 2', '张三丰', '0102'), (2, '-3.5e2x', '&H1F', 'bob', '01'), "
        u"(3, NULL, '', NULL, NULL), (4, '&o17', '.5', 'Alice', '9'), (5, '1.2.3', '7', '阿明', '10'), "
        u"(6, 'abc', '1d3', 'BOB', 'ａ1'), (7, '-12.5', '-0', 'carol', '-1')"_s;
    for (HostDatabase* db : {&sqlite, &server}) {
        db->exec(u"CREATE TABLE t (id INTEGER, a TEXT, b TEXT, name TEXT, code TEXT)"_s);
        db->exec(rows);
    }
    const QStringList queries = {
        u"select id, val(a & ''), val(b & ' '), len(name), left(name, 2), a & b & name from t order by id"_s,
        u"select id, left(code, 1.5), left(code, 2.5), len(a & b), name & 1.50 & 007 from t order by id"_s,
        u"select id from t where val(a & '') > '0' order by id"_s,
        u"select id from t where val(b & '') >= '7' order by id"_s,
        u"select name from t order by name, id"_s,
        u"select code from t where code > '01' order by code desc"_s,
        u"select count(name) as n, sum(val(a & '')) as s from t"_s,
        u"select name, count(*) as n from t group by name order by name"_s,
        u"select distinct name from t where name = 'BOB'"_s,
        u"select b + code as c from t where id = 5"_s,
        u"select id, b * 2 as c, id / 4 as q from t where id = 5"_s,
        u"select id from t where b = 7"_s,       // refused: " 1 2" is no number
        u"select id from t where a = 12"_s,      // refused: '12abc' is no number
        u"select val(a) from t where id = 3"_s,  // refused: val of null
        u"select left(name, -1) from t"_s,       // refused
        u"select id, -val(b & '') as m from t order by id"_s,
    };
    for (const QString& q : queries) {
        SCOPED_TRACE(q.toStdString());
        const QStringList expected = outcome(sqlite, q);
        EXPECT_EQ(outcome(server, q), expected);
    }
}

}  // namespace
}  // namespace slp::jet::test
