// Texts the translator refuses: each names the 1-based character position and the token found there.
#include <gtest/gtest.h>

#include "data/jet/syntax_tree.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {
namespace {

struct Refused {
    QString text;
    int position;
    QString token;
};

void expectRefused(const Refused& c) {
    SCOPED_TRACE(c.text.toStdString());
    try {
        const QString sql = translate(c.text);
        ADD_FAILURE() << "translated to " << sql.toStdString();
    } catch (const SyntaxError& e) {
        EXPECT_EQ(e.position(), c.position);
        EXPECT_EQ(e.token(), c.token);
        EXPECT_TRUE(e.description().contains(QString::number(c.position))) << e.description().toStdString();
        EXPECT_EQ(e.number(), errnum::Database);
    }
}

TEST(SyntaxErrors, BrokenTokens) {
    for (const Refused& c : std::vector<Refused>{
             {u"select [姓名 from t"_s, 8, u"["_s},  // bracket never closed
             {u"select [a]]b from t"_s, 8, u"["_s},  // ]] is a ] inside the name
             {u"select a from t where a = 'abc"_s, 27, u"'"_s},
             {u"select \"abc from t"_s, 8, u"\""_s},
             {u"select [] from t"_s, 8, u"[]"_s},
             {u"select [  ] from t"_s, 8, u"[  ]"_s},
             {u"select a from t where a = #2000-01-01#"_s, 27, u"#"_s},
             {u"select a from t where a = ?"_s, 27, u"?"_s},
             {u"select 1.5a from t"_s, 8, u"1.5a"_s},
             {u"select a from t where b = 1　"_s, 28, u"　"_s},  // a full-width blank is no blank
         }) {
        expectRefused(c);
    }
}

TEST(SyntaxErrors, BrokenStatements) {
    for (const Refused& c : std::vector<Refused>{
             {QString(), 1, QString()},
             {u"   "_s, 4, QString()},
             {u"update t set a = 1"_s, 1, u"update"_s},
             {u"select from t"_s, 8, u"from"_s},
             {u"select a b from t"_s, 10, u"b"_s},           // a missing comma, not an alias
             {u"select 姓名 姓名 from t"_s, 11, u"姓名"_s},  // positions count characters
             {u"select a, from t"_s, 11, u"from"_s},
             {u"select a from"_s, 14, QString()},
             {u"select a from t where"_s, 22, QString()},
             {u"select a from t order by"_s, 25, QString()},
             {u"select a from t order a"_s, 23, u"a"_s},
             {u"select a from t where (a = 1"_s, 29, QString()},
             {u"select a from t where a = 1)"_s, 28, u")"_s},
             {u"select a from t; select b from t"_s, 18, u"select"_s},
             {u"select a from t as"_s, 19, QString()},
             {u"select a as from t"_s, 13, u"from"_s},
             {u"select a from t inner join u"_s, 29, QString()},
             {u"select a from t inner join u on"_s, 32, QString()},
             {u"select a from t, u"_s, 16, u","_s},
             {u"select a from t where a like 'x*'"_s, 25, u"like"_s},
             {u"select a from t where a not in (1)"_s, 25, u"not"_s},
             {u"select t.from from t"_s, 10, u"from"_s},
             {u"delete * t"_s, 10, u"t"_s},
             {u"select a from t where a = = 1"_s, 27, u"="_s},
         }) {
        expectRefused(c);
    }
}

TEST(SyntaxErrors, FunctionsAndAggregates) {
    for (const Refused& c : std::vector<Refused>{
             {u"select foo(a) from t"_s, 8, u"foo"_s},
             {u"select trim(a) from t"_s, 8, u"trim"_s},
             {u"select [left](a, 2) from t"_s, 14, u"("_s},
             {u"select left(a) from t"_s, 14, u")"_s},
             {u"select val(a, b) from t"_s, 16, u")"_s},
             {u"select len() from t"_s, 12, u")"_s},
             {u"select sum(*) from t"_s, 12, u"*"_s},
             {u"select count(sum(a)) from t"_s, 14, u"sum"_s},
             {u"select a from t where count(a) > 1"_s, 23, u"count"_s},
             {u"select a from t group by sum(b)"_s, 26, u"sum"_s},
             {u"select count(a), b from t"_s, 18, u"b"_s},  // b is in no aggregate and no group
             {u"select a, count(b) from t group by c"_s, 8, u"a"_s},
             {u"select *, count(b) from t"_s, 8, u"*"_s},
             {u"select left(a, 2) as p from t group by left(a, 3)"_s, 13, u"a"_s},
             {u"select count(a) from t group by b order by c"_s, 44, u"c"_s},
             {u"select a from t where val(a) > 'x'"_s, 32, u"'x'"_s},  // a number against a non-number
             {u"select a from t where 'x' = len(a)"_s, 23, u"'x'"_s},
         }) {
        expectRefused(c);
    }
}

// Texts nested or chained beyond any real query are refused instead of exhausting the stack.
TEST(SyntaxErrors, DepthIsBounded) {
    const auto refusedWith = [](const QString& text) {
        try {
            translate(text);
        } catch (const SyntaxError& e) {
            return e.position() >= 1 && e.position() <= text.size() + 1;
        }
        return false;
    };
    EXPECT_TRUE(refusedWith(u"select "_s + QString(5000, u'(') + u'a' + QString(5000, u')') + u" from t"_s));
    EXPECT_TRUE(refusedWith(u"select "_s + QString(5000, u'-') + u"a from t"_s));
    EXPECT_TRUE(refusedWith(u"select a from t where "_s + u"not "_s.repeated(5000) + u"a"_s));
    EXPECT_TRUE(refusedWith(u"select a"_s + u" + a"_s.repeated(5000) + u" from t"_s));
    EXPECT_TRUE(refusedWith(u"select a from "_s + QString(5000, u'(') + u't'));
    EXPECT_TRUE(refusedWith(u"select a from t"_s + u" inner join t on 1 = 1"_s.repeated(1000)));
    EXPECT_TRUE(refusedWith(u"select a from t"_s + u" inner join t on 1 = 1"_s.repeated(maxJoins + 1)));
    EXPECT_NO_THROW(translate(u"select a from t"_s + u" inner join t on 1 = 1"_s.repeated(maxJoins)));
    // what real queries need stays well inside
    EXPECT_NO_THROW(translate(u"select "_s + QString(20, u'(') + u'a' + QString(20, u')') + u" from t"_s));
    EXPECT_NO_THROW(translate(u"select a"_s + u" & a"_s.repeated(150) + u" from t"_s));
}

// PostgreSQL: names spelled as the catalogue has them, the text order only on texts, plain SQL for a
// constant left(), and the same syntax errors as on SQLite.
TEST(SyntaxErrors, PostgresSpellingFollowsTheCatalogue) {
    Catalogue catalogue;
    catalogue.insert(catalogueKey(u"Emp"_s), {u"Emp"_s,
                                              {{catalogueKey(u"Code"_s), {u"Code"_s, ColumnKind::Text}},
                                               {catalogueKey(u"n"_s), {u"n"_s, ColumnKind::Number}}}});
    EXPECT_EQ(
        translate(u"select CODE from emp where left(code, 2) = '01' order by N, code"_s, Dialect::PostgreSQL,
                  &catalogue),
        u"SELECT \"Code\" AS \"CODE\" FROM \"Emp\" WHERE (left(\"Code\", 2) = '01' COLLATE "
        u"sl_payprn.slp_text) ORDER BY \"n\" NULLS FIRST, \"Code\" COLLATE sl_payprn.slp_text NULLS FIRST, \"Emp\".ctid"_s);
    EXPECT_EQ(translate(u"select sum(val(code & '')) as s from emp where n > '1'"_s, Dialect::PostgreSQL,
                        &catalogue),
              u"SELECT sum(sl_payprn.val(concat(\"Code\", ''))) AS \"s\" FROM \"Emp\" WHERE (\"n\" > 1)"_s);
    EXPECT_THROW(translate(u"select a from t where"_s, Dialect::PostgreSQL), SyntaxError);
    // a name the server would cut short (22 characters of 3 bytes) is refused rather than lost
    EXPECT_THROW(translate(u"select a as ["_s + QString(22, u'名') + u"] from t"_s, Dialect::PostgreSQL),
                 SyntaxError);
    EXPECT_NO_THROW(translate(u"select a as ["_s + QString(21, u'名') + u"] from t"_s, Dialect::PostgreSQL));
}

// Texts at the edge of what is accepted translate without complaint.
TEST(SyntaxErrors, AcceptedEdges) {
    for (const QString& text : {
             u"select a from t;"_s,
             u"  select\t[a]\r\nfrom\nt  "_s,
             u"select 16工资 from 16工资输出数据"_s,
             u"select [12个人信息]![信用卡号] from [12个人信息]"_s,
             u"select a from t where a = .5 or a = 1e3 or a = 2E+2 or a = 1.25e-1"_s,
             u"select count(*) as n from t"_s,
             u"select count(a) as n from t group by b having count(a) > 1 order by count(a) desc"_s,
             u"select left(a, 2) as p, count(b) from t group by LEFT(A,2) order by left(a , 2)"_s,
             u"select distinct a from t"_s,
             u"delete from t where a is not null"_s,
             u"delete t.* from t"_s,
         }) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_NO_THROW(translate(text));
    }
}

}  // namespace
}  // namespace slp::jet::test
