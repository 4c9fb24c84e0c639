// The meaning of the host dialect's pieces on real data: nulls, val, left, len, &, comparisons,
// text order, names of result columns.
#include <gtest/gtest.h>

#include "data/jet/translate.h"
#include "host_database.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {
namespace {

class Semantics : public ::testing::Test {
  protected:
    void SetUp() override { db.exec(u"CREATE TABLE t (id INTEGER, a, b, name TEXT, code TEXT)"_s); }
    // Adds rows given as SQLite value lists.
    void rows(const QStringList& values) {
        for (const QString& v : values) db.exec(u"INSERT INTO t VALUES ("_s + v + u")"_s);
    }
    // The display texts of the first column of the host query's result.
    QStringList column(const QString& hostText) {
        const Result r = db.query(hostText);
        return r.columns.isEmpty() ? QStringList{} : r.texts(r.columns[0]);
    }
    HostDatabase db;
};

TEST_F(Semantics, CountSkipsNullsAndSumsReadLeadingNumbers) {
    rows({u"1, '12abc', NULL, 'x', ''"_s, u"2, NULL, 3, 'y', ''"_s, u"3, '', '2.5', NULL, ''"_s,
          u"4, 7.25, 'abc', 'z', ''"_s, u"5, '  1 2', '-4', 'w', ''"_s});
    const Result r = db.query(
        u"select count([a]) as aofcount, count(name) as nameofcount, "
        u"sum(val([a] & '')) as aofsum, sum(val(b & '')) as bofsum from t"_s);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.at(0, u"aofcount"_s).integer, 4);  // the null is not counted, the empty text is
    EXPECT_EQ(r.at(0, u"nameofcount"_s).integer, 4);
    EXPECT_DOUBLE_EQ(r.at(0, u"aofsum"_s).number(), 12 + 0 + 0 + 7.25 + 12);  // "  1 2" reads as 12
    EXPECT_DOUBLE_EQ(r.at(0, u"bofsum"_s).number(), 3 + 2.5 + 0 - 4);

    // count(*) counts rows; sum of a column that holds number texts adds them
    EXPECT_EQ(column(u"select count(*) as n from t"_s), QStringList{u"5"_s});
    EXPECT_EQ(column(u"select sum(id) as s from t"_s), QStringList{u"15"_s});
    // no rows: count 0, sum null
    const Result none = db.query(u"select count(a) as c, sum(val(a & '')) as s from t where id > 99"_s);
    EXPECT_EQ(none.at(0, u"c"_s).integer, 0);
    EXPECT_TRUE(none.at(0, u"s"_s).isNull());
    // a sum over texts that are no numbers is refused, not taken as 0 silently
    EXPECT_TRUE(db.runError(u"select sum(name) as s from t"_s).has_value());
}

TEST_F(Semantics, ValLeftAndLen) {
    rows({u"1, '0102xy', NULL, '张三丰', '0102'"_s, u"2, 12.5, 1234.0, 'bob', '01'"_s,
          u"3, NULL, NULL, NULL, NULL"_s});
    EXPECT_EQ(column(u"select val(a & '') as v from t order by id"_s),
              (QStringList{u"102"_s, u"12.5"_s, u"0"_s}));
    EXPECT_EQ(column(u"select VAL(a) as v from t where id = 2"_s), QStringList{u"12.5"_s});
    EXPECT_EQ(column(u"select Left(code, 2) as p from t order by id"_s),
              (QStringList{u"01"_s, u"01"_s, u"<null>"_s}));
    EXPECT_EQ(column(u"select left(name, 2) as p from t order by id"_s),
              (QStringList{u"张三"_s, u"bo"_s, u"<null>"_s}));
    EXPECT_EQ(column(u"select left(name, 9) as p from t where id = 1"_s), QStringList{u"张三丰"_s});
    EXPECT_EQ(column(u"select left(b, 3) as p from t where id = 2"_s), QStringList{u"123"_s});
    EXPECT_EQ(column(u"select LEN(name) as n from t order by id"_s),
              (QStringList{u"3"_s, u"3"_s, u"<null>"_s}));
    EXPECT_EQ(column(u"select len(b) as n from t where id = 2"_s), QStringList{u"4"_s});  // "1234"
    // val of a null is refused like the host's Val; a negative length too
    EXPECT_TRUE(db.runError(u"select val(a) as v from t where id = 3"_s).has_value());
    EXPECT_TRUE(db.runError(u"select left(name, -1) as v from t where id = 1"_s).has_value());
}

TEST_F(Semantics, ConcatenationWithNullsAndNumbers) {
    rows({u"1, NULL, NULL, 'x', NULL"_s, u"2, NULL, 'y', 'x', NULL"_s, u"3, 1234.0, '', 'x', NULL"_s,
          u"4, 12.5, 'm', 'x', NULL"_s, u"5, 7, 8, 'x', NULL"_s, u"6, 'O''Neil', ' & co', 'x', NULL"_s});
    EXPECT_EQ(column(u"select a & b as c from t order by id"_s),
              (QStringList{u"<null>"_s, u"y"_s, u"1234"_s, u"12.5m"_s, u"78"_s, u"O'Neil & co"_s}));
    EXPECT_EQ(column(u"select a & '' as c from t where id = 1"_s), QStringList{QString()});
    EXPECT_EQ(column(u"select val(a & '') as c from t where id = 1"_s), QStringList{u"0"_s});
    EXPECT_EQ(column(u"select 'O''Neil' & \"'s\" as c from t where id = 1"_s), QStringList{u"O'Neil's"_s});
    // & binds looser than +: 'n' & 1 + 2 is n3
    EXPECT_EQ(column(u"select 'n' & 1 + 2 as c from t where id = 1"_s), QStringList{u"n3"_s});
    // long chains, and nulls anywhere in them
    EXPECT_EQ(column(u"select a & b & a & b as c from t order by id"_s),
              (QStringList{u"<null>"_s, u"yy"_s, u"12341234"_s, u"12.5m12.5m"_s, u"7878"_s,
                           u"O'Neil & coO'Neil & co"_s}));
    EXPECT_EQ(column(u"select (a & b) & ('-' & a) as c from t where id <= 2 order by id"_s),
              (QStringList{u"-"_s, u"y-"_s}));
    EXPECT_EQ(column(u"select id"_s + u" & a"_s.repeated(150) + u" as c from t where id = 5"_s),
              QStringList{u"5"_s + u"7"_s.repeated(150)});
}

TEST_F(Semantics, NumbersComparedWithQuotedNumbers) {
    rows({u"1, '0000', NULL, NULL, NULL"_s, u"2, '00012', NULL, NULL, NULL"_s,
          u"3, 'abc', NULL, NULL, NULL"_s, u"4, NULL, NULL, NULL, NULL"_s, u"5, '9', NULL, NULL, NULL"_s,
          u"6, '10', NULL, NULL, NULL"_s});
    // Val(x & ' ') > '0' compares numbers: 0000, abc and null are out
    EXPECT_EQ(column(u"select id from t where Val(a & ' ')>'0' order by id"_s),
              (QStringList{u"2"_s, u"5"_s, u"6"_s}));
    // numerically 9 < 10, as texts it would not be
    EXPECT_EQ(column(u"select id from t where val(a & '') >= '10' order by id"_s),
              (QStringList{u"2"_s, u"6"_s}));
    EXPECT_EQ(column(u"select id from t where '10' <= val(a & '') order by id"_s),
              (QStringList{u"2"_s, u"6"_s}));
    // texts compared with texts stay texts: '9' > '5' but '10' < '5'; letters come after digits
    EXPECT_EQ(column(u"select id from t where a > '5' order by id"_s), (QStringList{u"3"_s, u"5"_s}));
    // a number against a column compares numbers; a text that is no number is refused, not skipped
    EXPECT_TRUE(db.runError(u"select id from t where a = 12"_s).has_value());
    db.exec(u"DELETE FROM t WHERE a = 'abc'"_s);
    EXPECT_EQ(column(u"select id from t where a = 12 order by id"_s), QStringList{u"2"_s});
    EXPECT_EQ(column(u"select id from t where 9 < a order by id"_s), (QStringList{u"2"_s, u"6"_s}));
}

TEST_F(Semantics, TextsOrderLikeTheHost) {
    rows({u"1, NULL, NULL, '赵', '9'"_s, u"2, NULL, NULL, '张', '10'"_s, u"3, NULL, NULL, '白', '01'"_s,
          u"4, NULL, NULL, '阿', '0101'"_s});
    EXPECT_EQ(column(u"select name from t order by name"_s),
              (QStringList{u"阿"_s, u"白"_s, u"张"_s, u"赵"_s}));
    EXPECT_EQ(column(u"select name from t order by name desc"_s),
              (QStringList{u"赵"_s, u"张"_s, u"白"_s, u"阿"_s}));
    // codes keep the order of their characters
    EXPECT_EQ(column(u"select code from t order by code"_s),
              (QStringList{u"01"_s, u"0101"_s, u"10"_s, u"9"_s}));

    db.exec(u"DELETE FROM t"_s);
    rows({u"1, NULL, NULL, 'carol', 'b'"_s, u"2, NULL, NULL, 'Dave', 'a'"_s, u"3, NULL, NULL, 'alice', 'b'"_s,
          u"4, NULL, NULL, 'Bob', 'a'"_s});
    EXPECT_EQ(column(u"select name from t order by name"_s),
              (QStringList{u"alice"_s, u"Bob"_s, u"carol"_s, u"Dave"_s}));
    // several keys, mixed directions
    EXPECT_EQ(column(u"select name from t order by code desc, name asc"_s),
              (QStringList{u"alice"_s, u"carol"_s, u"Bob"_s, u"Dave"_s}));
    // = and < on texts ignore case
    EXPECT_EQ(column(u"select name from t where name = 'BOB'"_s), QStringList{u"Bob"_s});
    EXPECT_EQ(column(u"select name from t where name < 'b' order by name"_s), QStringList{u"alice"_s});
    // grouping and distinct take texts that differ in case as one
    db.exec(u"INSERT INTO t VALUES (5, NULL, NULL, 'BOB', 'A')"_s);
    EXPECT_EQ(column(u"select count(name) as n from t group by code order by code"_s),
              (QStringList{u"3"_s, u"2"_s}));
    EXPECT_EQ(db.query(u"select distinct code from t"_s).rows.size(), 2u);
}

TEST_F(Semantics, ColumnNamesOfTheResult) {
    rows({u"1, 5, 6, 'n', 'c'"_s});
    db.exec(u"CREATE TABLE w (id INTEGER, title TEXT)"_s);
    db.exec(u"INSERT INTO w VALUES (1, 'm')"_s);
    const Result r = db.query(
        u"select [name], t.[code], a + b, len(name), b.id as [my id] "
        u"from t inner join w as B on t.id = b.id"_s);
    // a plain or qualified column by its own name, expressions numbered from Expr1000
    EXPECT_EQ(r.columns, (QStringList{u"name"_s, u"code"_s, u"Expr1000"_s, u"Expr1001"_s, u"my id"_s}));
    EXPECT_EQ(r.texts(u"Expr1000"_s), QStringList{u"11"_s});
    EXPECT_EQ(r.texts(u"my id"_s), QStringList{u"1"_s});
    // the same column name from two tables: table.column
    db.exec(u"CREATE TABLE u (id INTEGER, name TEXT)"_s);
    db.exec(u"INSERT INTO u VALUES (1, 'm')"_s);
    const Result both = db.query(u"select t.name, u.name from t inner join u on t.id = u.id"_s);
    EXPECT_EQ(both.columns, (QStringList{u"t.name"_s, u"u.name"_s}));
    EXPECT_EQ(both.texts(u"u.name"_s), QStringList{u"m"_s});
    // select * keeps the table's names
    EXPECT_EQ(db.query(u"select * from u"_s).columns, (QStringList{u"id"_s, u"name"_s}));
    EXPECT_EQ(db.query(u"select B.* from t inner join u as b on t.id = B.id"_s).columns,
              (QStringList{u"id"_s, u"name"_s}));
}

TEST_F(Semantics, OrderByNamesTheColumnNotAnAlias) {
    rows({u"1, 'z', NULL, 'b', 'x'"_s, u"2, 'y', NULL, 'a', 'x'"_s, u"3, 'x', NULL, 'c', 'x'"_s});
    // the alias name hides nothing: order by name is the table's column
    EXPECT_EQ(column(u"select a as name from t order by name"_s), (QStringList{u"y"_s, u"z"_s, u"x"_s}));
    // a constant key is a constant, not a column position
    EXPECT_EQ(column(u"select a from t order by 2, id"_s), (QStringList{u"z"_s, u"y"_s, u"x"_s}));
    EXPECT_EQ(column(u"select id from t order by -1, 'k', id desc"_s), (QStringList{u"3"_s, u"2"_s, u"1"_s}));
}

TEST_F(Semantics, ConditionsAndArithmetic) {
    rows({u"1, 7, 2, 'p', NULL"_s, u"2, '3', '4', 'q', 'x'"_s, u"3, NULL, 1, 'r', 'y'"_s});
    EXPECT_EQ(column(u"select id from t where code is null"_s), QStringList{u"1"_s});
    EXPECT_EQ(column(u"select id from t where code is not null and not (name = 'q') "_s),
              QStringList{u"3"_s});
    EXPECT_EQ(column(u"select id from t where (id = 1 or id = 3) and a is null"_s), QStringList{u"3"_s});
    EXPECT_EQ(column(u"select id from t where id <> 2 order by id desc"_s), (QStringList{u"3"_s, u"1"_s}));
    EXPECT_EQ(column(u"select a / b as q from t where id = 1"_s),
              QStringList{u"3.5"_s});  // no integer division
    EXPECT_EQ(column(u"select a + b as s from t order by id"_s), (QStringList{u"9"_s, u"34"_s, u"<null>"_s}));
    EXPECT_EQ(column(u"select a * b - 1 as s from t where id <= 2 order by id"_s),
              (QStringList{u"13"_s, u"11"_s}));
    EXPECT_EQ(column(u"select -a as s from t where id = 1"_s), QStringList{u"-7"_s});
    EXPECT_EQ(column(u"select id from t where id = '2'"_s), QStringList{u"2"_s});
    EXPECT_TRUE(db.runError(u"select a / 0 as s from t"_s).has_value());
    EXPECT_TRUE(db.runError(u"select name * 2 as s from t"_s).has_value());
}

TEST_F(Semantics, DeleteAndBracketedNames) {
    db.exec(u"CREATE TABLE \"x]y\" (\"a]b\" TEXT, \"实发工资\" REAL, \"16工资\" TEXT)"_s);
    db.exec(u"INSERT INTO \"x]y\" VALUES ('v1', 1, 'q'), ('v2', 2, 'r')"_s);
    const Result r =
        db.query(u"select [a]]b], [实发工资 ], 16工资 from [x]]y] order by [实发工资   ] DESC"_s);
    EXPECT_EQ(r.columns, (QStringList{u"a]b"_s, u"实发工资"_s, u"16工资"_s}));
    EXPECT_EQ(r.texts(u"a]b"_s), (QStringList{u"v2"_s, u"v1"_s}));

    db.exec(translate(u"delete * from [x]]y] where [a]]b] = 'V1'"_s));
    EXPECT_EQ(db.query(u"select [a]]b] from [x]]y]"_s).texts(u"a]b"_s), QStringList{u"v2"_s});
    db.exec(translate(u"DELETE FROM [x]]y];"_s));
    EXPECT_TRUE(db.query(u"select * from [x]]y]"_s).rows.empty());
}

TEST_F(Semantics, JoinsWithParenthesesAndKeywordCase) {
    rows({u"1, 5, NULL, 'p', '01'"_s, u"2, 6, NULL, 'q', '02'"_s});
    db.exec(u"CREATE TABLE d (code TEXT, title TEXT, m TEXT)"_s);
    db.exec(u"INSERT INTO d VALUES ('01', 'one', 'k'), ('02', 'two', 'k')"_s);
    const QString q =
        u"SeLeCt D.title As T From (t As X Inner Join d As d On (Left(x.code, 2) = D.[code] AND x.id > 0)) "
        u"WHERE d.M = 'K' Order By x.ID Desc"_s;
    EXPECT_EQ(column(q), (QStringList{u"two"_s, u"one"_s}));
    EXPECT_EQ(
        column(
            u"select d.title from t left outer join d on t.code = d.code and d.title = 'one' order by t.id"_s),
        (QStringList{u"one"_s, u"<null>"_s}));
}

// However deep the translator lets a text nest, SQLite can prepare the result: each shape is nested
// further until the translator refuses it, and every accepted depth must run.
TEST_F(Semantics, EveryAcceptedNestingRuns) {
    rows({u"1, '5', '6', 'n', 'c'"_s});
    db.exec(u"CREATE TABLE w (wid INTEGER)"_s);
    const std::vector<std::pair<QString, QString>> shapes = {
        {u"a & ("_s, u")"_s},        {u"val("_s, u" & '')"_s},
        {u"left("_s, u", 1)"_s},     {u"-("_s, u")"_s},
        {u"1 + ("_s, u")"_s},        {u"len(name & "_s, u")"_s},
        {u"(a = "_s, u")"_s},        {u"not ("_s, u")"_s},
        {u"(b = 'c' or "_s, u")"_s}, {u"("_s, u" = 'y') & 'x'"_s},
    };
    for (const auto& [open, close] : shapes) {
        SCOPED_TRACE(open.toStdString());
        int accepted = 0;
        for (int n = 1; n < 60; ++n) {
            const QString e = open.repeated(n) + u"a"_s + close.repeated(n);
            QStringList texts = {u"select "_s + e + u" as x from t"_s, u"select id from t where "_s + e,
                                 u"select id from t order by "_s + e,
                                 u"select id from t inner join w on "_s + e + u" and id = wid"_s};
            bool refused = false;
            for (const QString& text : texts) {
                QString sql;
                try {
                    sql = translate(text);
                } catch (const SyntaxError&) {
                    refused = true;
                    continue;
                }
                sqlite3_stmt* stmt = nullptr;
                const QByteArray utf8 = sql.toUtf8();
                const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), -1, &stmt, nullptr);
                EXPECT_EQ(rc, SQLITE_OK)
                    << n << " " << sql.toStdString() << ": " << sqlite3_errmsg(db.handle());
                sqlite3_finalize(stmt);
            }
            if (refused) break;
            accepted = n;
        }
        EXPECT_GE(accepted, 4);  // the windows' queries nest no deeper than this
    }
}

TEST_F(Semantics, NoNulCharactersReachTheEngine) {
    EXPECT_THROW(translate(u"select [a"_s + QChar(0) + u"b] from t"_s), SyntaxError);
    EXPECT_THROW(translate(u"select a from t where b = 'x"_s + QChar(0) + u"'"_s), SyntaxError);
    EXPECT_THROW(translate(u"select a"_s + QChar(0) + u" from t"_s), SyntaxError);
    EXPECT_THROW(translate(u"select [a\nb] from t"_s), SyntaxError);
}

}  // namespace
}  // namespace slp::jet::test
