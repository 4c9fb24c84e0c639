// The helper functions and the collation on their own, called from plain SQLite text.
#include <gtest/gtest.h>

#include "basic/conversions.h"
#include "basic/host_text.h"
#include "data/jet/translate.h"
#include "host_database.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {
namespace {

QString value(HostDatabase& db, const QString& expression) {
    const Result r = db.raw(u"SELECT "_s + expression);
    return r.rows.empty() ? QString() : r.rows[0][0].display();
}

bool refused(HostDatabase& db, const QString& expression) {
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = (u"SELECT "_s + expression).toUtf8();
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) return true;
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_ERROR;
}

TEST(SqliteHelpers, Registration) {
    EXPECT_EQ(registerSqliteHelpers(nullptr), SQLITE_MISUSE);
    HostDatabase db;
    EXPECT_EQ(registerSqliteHelpers(db.handle()), SQLITE_OK);  // again on the same connection
    EXPECT_EQ(value(db, u"slp_val('3x')"_s), u"3"_s);
}

TEST(SqliteHelpers, CharactersNotBytes) {
    HostDatabase db;
    EXPECT_EQ(value(db, u"slp_len('工资')"_s), u"2"_s);
    EXPECT_EQ(value(db, u"slp_len('a😀b')"_s), u"3"_s);  // a character outside the basic plane counts once
    EXPECT_EQ(value(db, u"slp_left('a😀b', 2)"_s), u"a😀"_s);
    EXPECT_EQ(value(db, u"slp_left('部门号', 2.5)"_s), u"部门"_s);  // halves to even
    EXPECT_EQ(value(db, u"slp_left('部门号', 1.5)"_s), u"部门"_s);
    EXPECT_EQ(value(db, u"slp_left('部门号', '1')"_s), u"部"_s);
    EXPECT_EQ(value(db, u"slp_left('部门号', 0)"_s), QString());
    EXPECT_TRUE(refused(db, u"slp_left('abc', NULL)"_s));
    EXPECT_TRUE(refused(db, u"slp_left('abc', 'x')"_s));
    EXPECT_EQ(value(db, u"slp_len('')"_s), u"0"_s);
    EXPECT_EQ(value(db, u"slp_len(-0.5)"_s), u"4"_s);  // "-0.5"
}

TEST(SqliteHelpers, NumbersAndTexts) {
    HostDatabase db;
    EXPECT_EQ(value(db, u"slp_val('')"_s), u"0"_s);
    EXPECT_EQ(value(db, u"slp_val('&H1F')"_s), u"31"_s);
    EXPECT_EQ(value(db, u"slp_val(' -1.5e1x')"_s), u"-15"_s);
    EXPECT_EQ(value(db, u"slp_cat(1e20, '')"_s), u"100000000000000000000"_s);  // never an exponent
    EXPECT_EQ(value(db, u"slp_cat(0.1, NULL)"_s), u"0.1"_s);
    EXPECT_EQ(value(db, u"slp_cat(-3, 'x')"_s), u"-3x"_s);
    EXPECT_EQ(value(db, u"slp_cat(NULL, NULL, 'x', NULL)"_s), u"x"_s);
    EXPECT_EQ(value(db, u"slp_cat(NULL, NULL, NULL)"_s), u"<null>"_s);
    EXPECT_EQ(value(db, u"slp_num(' 12 ')"_s), u"12"_s);
    EXPECT_TRUE(refused(db, u"slp_num('12x')"_s));
    EXPECT_EQ(value(db, u"slp_num(NULL)"_s), u"<null>"_s);
    EXPECT_EQ(value(db, u"slp_add(9223372036854775807, 1)"_s), plainNumber(9223372036854775808.0));
    EXPECT_EQ(value(db, u"slp_mul(3, 4)"_s), u"12"_s);
    EXPECT_EQ(value(db, u"slp_sub('5', 7)"_s), u"-2"_s);
    EXPECT_EQ(value(db, u"slp_div(1, 4)"_s), u"0.25"_s);
    EXPECT_EQ(value(db, u"slp_add('a', NULL)"_s), u"<null>"_s);
    EXPECT_TRUE(refused(db, u"slp_div(1, '0')"_s));
}

// The card export reads Val(text & suffix) > 0 outside the database: for every kind of text it must
// say what the helpers say in SQL, byte strings that are not well-formed UTF-8 included.
TEST(SqliteHelpers, JoinedTextValueOutsideTheDatabase) {
    HostDatabase db;
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.handle(), "SELECT slp_val(slp_cat(?1, ?2)), slp_val(slp_cat(?1, ?2)) > 0",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    const std::string texts[] = {"",
                                 " ",
                                 "0",
                                 "00.00",
                                 "-0",
                                 "+0.0",
                                 "12",
                                 " 5706.43 ",
                                 "-3.5",
                                 "+7",
                                 "0.001",
                                 "1.",
                                 ".5",
                                 ".",
                                 "-",
                                 "1.2.3",
                                 "1,000",
                                 "1e3",
                                 "-1e-3",
                                 "&H1F",
                                 "&O17",
                                 "1 2",
                                 "\t9\n",
                                 "abc",
                                 "12abc",
                                 "6222021234567890123",
                                 std::string(70, '9'),
                                 "0." + std::string(62, '0') + "1",
                                 "５",
                                 "十万",
                                 "\xEF\xBB\xBF"
                                 "12",
                                 "12\xE4",
                                 "\xFF"
                                 "3",
                                 std::string("4\0"
                                             "5",
                                             3),
                                 "-\xE4\xB8\xAD"};
    for (const char* suffix : {"", " ", "x", "5"}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(text + "|" + suffix);
            sqlite3_bind_text(stmt, 1, text.data(), int(text.size()), SQLITE_STATIC);
            sqlite3_bind_text(stmt, 2, suffix, -1, SQLITE_STATIC);
            ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
            EXPECT_EQ(joinedTextValue(text, suffix), sqlite3_column_double(stmt, 0));
            EXPECT_EQ(joinedTextPositive(text, suffix), sqlite3_column_int(stmt, 1) == 1);
            sqlite3_reset(stmt);
        }
    }
    sqlite3_finalize(stmt);
}

TEST(SqliteHelpers, TextCollation) {
    HostDatabase db;
    const auto less = [&](const QString& a, const QString& b) {
        return value(db, u"'"_s + a + u"' < '"_s + b + u"' COLLATE slp_text"_s) == u"1"_s;
    };
    const auto equal = [&](const QString& a, const QString& b) {
        return value(db, u"'"_s + a + u"' = '"_s + b + u"' COLLATE slp_text"_s) == u"1"_s;
    };
    EXPECT_TRUE(less(u"阿"_s, u"白"_s));
    EXPECT_TRUE(less(u"白"_s, u"张"_s));
    EXPECT_TRUE(less(u"张"_s, u"赵"_s));
    EXPECT_TRUE(less(u"zed"_s, u"阿"_s));  // Latin letters before Chinese characters
    EXPECT_TRUE(less(u"apple"_s, u"Banana"_s));
    EXPECT_TRUE(less(u"10"_s, u"9"_s));  // codes compare character by character
    EXPECT_TRUE(less(u"01"_s, u"0101"_s));
    EXPECT_TRUE(equal(u"ABC"_s, u"abc"_s));
    EXPECT_TRUE(equal(u"ＡＢ１"_s, u"ab1"_s));  // full-width forms like half-width ones
    EXPECT_FALSE(equal(u"张三"_s, u"张 三"_s));
    EXPECT_FALSE(equal(u"a"_s, u"á"_s));
}

}  // namespace
}  // namespace slp::jet::test

namespace slp::jet::test {
namespace {

// What a helper throws ends as the statement's error: no exception crosses SQLite's C code.
TEST(SqliteHelpers, FaultsOfTheHelpersEndAsTheStatementsError) {
    HostDatabase db;
    fillSampleMonth(db);
    const struct {
        const char16_t* query;
        const char16_t* error;
    } cases[] = {
        {u"select 2e1999 & '' from 16工资输出数据", u"溢出"},
        {u"select [基本工资] & 2e1999 from 16工资输出数据", u"溢出"},
        {u"select val(2e1999 & 'x') from 16工资输出数据", u"溢出"},
        {u"select len(-2e1999) from 16工资输出数据", u"溢出"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(db.runError(QString::fromUtf16(c.query)), QString::fromUtf16(c.error))
            << QString::fromUtf16(c.query).toStdString();
    }
}

// A name between brackets with its "]" doubled stays one name: a wage item's name cannot change the
// query it goes into, and a text literal with its quotes doubled stays one text.
TEST(SqliteHelpers, NamesAndTextsCannotChangeTheQuery) {
    HostDatabase db;
    fillSampleMonth(db);
    const QString name = u"基本工资] & 'X' & [基本工资"_s;
    const std::optional<QString> error =
        db.runError(u"select "_s + sqlBracketed(name) + u" from 16工资输出数据"_s);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(name)) << error->toStdString();
    const Result month = db.query(u"select 姓名 from 16工资输出数据 where 工作年月="_s +
                                  sqlTextLiteral(u"2000-04' or '1'='1"_s));
    EXPECT_TRUE(month.rows.empty());
}

TEST(BracketedNameAt, NamesTheBracketedNameAroundOrBeforeAPosition) {
    const QString query = u"select [a]]b],  x + [c d] & , [e] from t"_s;
    const struct {
        int position;
        const char16_t* name;
    } cases[] = {{1, u""},     {9, u"a]b"},  {13, u"a]b"}, {14, u""}, {17, u""},
                 {23, u"c d"}, {28, u"c d"}, {32, u"e"},   {99, u"e"}};
    for (const auto& c : cases) {
        EXPECT_EQ(bracketedNameAt(query, c.position), QString::fromUtf16(c.name)) << c.position;
    }
}

}  // namespace
}  // namespace slp::jet::test
