// Result sets on a real SQLite file: end-of-data, move last, count, positions, fields by name, alias and
// index, closing, and the errors with their messages and query texts. Every case runs on both reading
// paths: the SQLite statement API and Qt SQL's generic one.
#include <gtest/gtest.h>

#include "data/database.h"
#include "test_files.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

class DataResultSet : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        native(
            u"CREATE TABLE \"16工资输出数据\" (\"工作年月\" TEXT, \"部门号\" TEXT, \"工号\" TEXT, \"姓名\" "
            u"TEXT, "
            "\"基本工资\" TEXT, \"奖金\" REAL, \"工龄\" INTEGER);"
            "INSERT INTO \"16工资输出数据\" VALUES ('2000-04', '0102', '0003', '王 芳', '1200.5', 300.25, 7);"
            "INSERT INTO \"16工资输出数据\" VALUES ('2000-04', '0101', '0001', '李娜', '12abc', NULL, 12);"
            "INSERT INTO \"16工资输出数据\" VALUES ('2000-04', '0201', '0002', NULL, NULL, 0.1, NULL);"
            "INSERT INTO \"16工资输出数据\" VALUES ('2000-03', '0101', '0001', '李娜', '999', 1, 1);"_s);
        db = test::newDatabase(folder, u"wage.db"_s, GetParam());
    }

    // Statements in the engine's dialect through the SQLite path (which takes several at once).
    void native(const QString& statements) { test::newDatabase(folder)->executeNative(statements); }

    ResultSet monthRows() {
        return db->open(
            u"select [工号],[姓名],[基本工资],[奖金],[工龄] from 16工资输出数据 where 工作年月='2000-04' "
            "order by 部门号"_s);
    }

    template <class F>
    void expectDbError(F&& f, int number, const QString& queryPart = QString()) {
        try {
            f();
            ADD_FAILURE() << "no DatabaseError";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.number(), number) << e.message().toStdString();
            EXPECT_FALSE(e.message().isEmpty());
            if (!queryPart.isEmpty()) {
                EXPECT_TRUE(e.query().contains(queryPart)) << e.query().toStdString();
            }
        }
    }

    test::TempFolder folder;
    std::unique_ptr<Database> db;
};

TEST_P(DataResultSet, EmptyResultIsAtEndRightAfterOpening) {
    ResultSet rs = db->open(u"select * from 16工资输出数据 where 工作年月='1999-01'"_s);
    EXPECT_TRUE(rs.isOpen());
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(rs.absolutePosition(), -1);
    EXPECT_EQ(rs.fieldCount(), 7);  // the fields are known even without rows
    expectDbError([&] { rs.moveLast(); }, dberr::NoCurrentRecord, u"1999-01"_s);
    expectDbError([&] { rs.value(0); }, dberr::NoCurrentRecord);
    expectDbError([&] { rs.setAbsolutePosition(0); }, dberr::InvalidArgument);
}

TEST_P(DataResultSet, MoveLastCountAndAbsolutePositions) {
    ResultSet rs = monthRows();
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.absolutePosition(), 0);
    EXPECT_EQ(rs.text(u"工号"), u"0001"_s);  // ordered by department code
    rs.moveLast();
    EXPECT_EQ(rs.absolutePosition(), 2);
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.text(u"工号"), u"0002"_s);
    const QStringList expected{u"0001"_s, u"0003"_s, u"0002"_s};
    for (int i = 0; i < rs.recordCount(); ++i) {
        rs.setAbsolutePosition(i);
        EXPECT_FALSE(rs.eof());
        EXPECT_EQ(rs.absolutePosition(), i);
        EXPECT_EQ(rs.text(0), expected[i]);
    }
    rs.setAbsolutePosition(1);  // backwards works too
    EXPECT_EQ(rs.text(u"姓名"), u"王 芳"_s);
    expectDbError([&] { rs.setAbsolutePosition(3); }, dberr::InvalidArgument, u"order by 部门号"_s);
    expectDbError([&] { rs.setAbsolutePosition(-1); }, dberr::InvalidArgument);
    EXPECT_EQ(rs.absolutePosition(), 1);  // a refused move leaves the position alone
}

TEST_P(DataResultSet, FieldsByIndexAndNamesAsTheHostComparesThem) {
    ResultSet rs = monthRows();
    EXPECT_EQ(rs.fieldCount(), 5);
    EXPECT_EQ(rs.fieldNames(), (QStringList{u"工号"_s, u"姓名"_s, u"基本工资"_s, u"奖金"_s, u"工龄"_s}));
    EXPECT_EQ(rs.fieldName(3), u"奖金"_s);
    EXPECT_EQ(rs.fieldIndex(u"工龄"), 4);
    EXPECT_EQ(rs.fieldIndex(u"工龄  "), 4);  // trailing blanks ignored
    EXPECT_EQ(rs.fieldIndex(u" 工龄"), -1);  // leading ones are not
    EXPECT_EQ(rs.fieldIndex(u"工资"), -1);
    EXPECT_EQ(rs.text(u"姓名"), rs.text(1));
    expectDbError([&] { rs.fieldName(5); }, dberr::ItemNotFound);
    expectDbError([&] { rs.value(-1); }, dberr::ItemNotFound);
    try {
        rs.value(u"津贴");
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), dberr::ItemNotFound);
        EXPECT_TRUE(e.message().contains(u"津贴"_s));
        EXPECT_TRUE(e.query().startsWith(u"select [工号]"_s));
    }
}

TEST_P(DataResultSet, AliasesAreFoundCaseInsensitivelyWithTrailingBlanks) {
    ResultSet rs = db->open(
        u" Select  count([姓名]) as 姓名ofcount, sum(val([基本工资] & '')) as  基本工资ofsum,sum(val([奖金 ] "
        u"& '')) as "
        "奖金ofsum from 16工资输出数据 where 工作年月='2000-04' "_s);
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.number(u"姓名OFCOUNT"), 2);                 // the null name is not counted
    EXPECT_DOUBLE_EQ(rs.number(u"基本工资ofsum "), 1212.5);  // "12abc" adds 12, null adds 0
    EXPECT_DOUBLE_EQ(rs.number(u"奖金OfSum"), 300.35);
    EXPECT_EQ(rs.text(u"姓名ofcount"), u"2"_s);
}

TEST_P(DataResultSet, ValuesKeepNullTextAndNumbersApart) {
    ResultSet rs = monthRows();
    rs.setAbsolutePosition(2);  // 0002: null name, null amount, real 0.1, null seniority
    EXPECT_TRUE(rs.isNull(1));
    EXPECT_TRUE(rs.value(u"姓名").isNull());
    EXPECT_EQ(rs.text(u"姓名"), QString());
    EXPECT_EQ(rs.number(u"基本工资"), 0);
    EXPECT_EQ(rs.value(u"奖金").type(), Value::Type::Real);
    EXPECT_EQ(rs.text(u"奖金"), u"0.1"_s);
    rs.setAbsolutePosition(0);  // 0001: text with leading digits, integer seniority
    EXPECT_EQ(rs.value(u"基本工资"), Value(u"12abc"_s));
    EXPECT_EQ(rs.number(u"基本工资"), 12);
    EXPECT_EQ(rs.value(u"工龄").type(), Value::Type::Integer);
    EXPECT_EQ(rs.value(u"工龄").toInt64(), 12);
    EXPECT_EQ(rs.text(u"工龄"), u"12"_s);
    EXPECT_FALSE(rs.isNull(4));
}

// Plain decimals are read from their digits without the general reader: the same double as reading
// the decimal would give, on both sides of the 15 digits the quick reading takes; other texts by the
// host's leading-value rule.
TEST_P(DataResultSet, NumbersOfTextsAreTheNearestDoubles) {
    const std::vector<std::pair<const char*, double>> cases{
        {"1200.5", 1200.5},
        {"-0.1", -0.1},
        {"0.3", 0.3},
        {"2.675", 2.675},
        {"123456789012345", 123456789012345.0},
        {"12345678901234.56", 12345678901234.56},
        {"9007199254740993", 9007199254740993.0},
        {"0.000000000000001", 1e-15},
        {"-0", -0.0},
        {"12abc", 12},
        {"1.", 1},
        {" 7", 7},
    };
    QString rows;
    for (size_t i = 0; i < cases.size(); ++i) {
        rows += u"INSERT INTO n VALUES ("_s + QString::number(i) + u", '"_s +
                QString::fromLatin1(cases[i].first) + u"');"_s;
    }
    native(u"CREATE TABLE n (k INTEGER, v TEXT);"_s + rows);
    ResultSet rs =
        test::newDatabase(folder, u"wage.db"_s, GetParam())->open(u"select k, v from n order by k"_s);
    for (size_t i = 0; i < cases.size(); ++i) {
        rs.setAbsolutePosition(int(i));
        const double v = rs.number(1);
        EXPECT_EQ(v, cases[i].second) << cases[i].first;
        EXPECT_EQ(std::signbit(v), std::signbit(cases[i].second)) << cases[i].first;
        EXPECT_EQ(rs.textBytes(1), QByteArrayView(cases[i].first)) << cases[i].first;
    }
    EXPECT_TRUE(rs.textBytes(0).isEmpty());  // an integer has no stored text
}

// A progress display is told the rows read every kRowsBetweenReports rows, on both reading paths.
TEST_P(DataResultSet, TheRowsReadObserverHearsOfEveryFewThousandRows) {
    native(
        u"CREATE TABLE many (k INTEGER);"
        "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 40000) "
        "INSERT INTO many SELECT k FROM n;"_s);
    auto database = test::newDatabase(folder, u"wage.db"_s, GetParam());
    std::vector<int> heard;
    database->setRowsReadObserver([&](int rows) { heard.push_back(rows); });
    const ResultSet rs = database->open(u"select k from many"_s);
    EXPECT_EQ(rs.recordCount(), 40000);
    EXPECT_EQ(heard, (std::vector<int>{ResultSet::kRowsBetweenReports, 2 * ResultSet::kRowsBetweenReports}));
    heard.clear();
    database->setRowsReadObserver({});
    EXPECT_EQ(database->open(u"select k from many"_s).recordCount(), 40000);
    EXPECT_TRUE(heard.empty());
}

TEST_P(DataResultSet, ClosedSetRefusesEverythingButClosing) {
    ResultSet rs = monthRows();
    rs.close();
    EXPECT_FALSE(rs.isOpen());
    expectDbError([&] { rs.eof(); }, dberr::ObjectClosed);
    expectDbError([&] { rs.recordCount(); }, dberr::ObjectClosed);
    expectDbError([&] { rs.text(u"工号"); }, dberr::ObjectClosed);
    expectDbError([&] { rs.moveLast(); }, dberr::ObjectClosed);
    rs.close();
    ResultSet never;
    expectDbError([&] { never.fieldCount(); }, dberr::ObjectClosed);
    // A moved-from set is closed; the one it moved to reads on.
    ResultSet a = monthRows();
    ResultSet b = std::move(a);
    EXPECT_EQ(b.recordCount(), 3);
}

TEST_P(DataResultSet, EngineErrorsCarryTheMessageAndBothQueryTexts) {
    const QString query = u"select [津贴] from 16工资输出数据 where 工作年月='2000-04'"_s;
    try {
        db->open(query);
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), errnum::Database);
        EXPECT_TRUE(e.message().contains(u"津贴"_s)) << e.message().toStdString();
        EXPECT_EQ(e.query(), query);
        EXPECT_TRUE(e.engineQuery().contains(u"津贴"_s));
        EXPECT_NE(e.engineQuery(), query);  // the translated text, not the host's
    }
}

TEST_P(DataResultSet, UnparsableHostTextIsADatabaseErrorWithTheText) {
    const QString query = u"select [姓名 from 16工资输出数据"_s;
    try {
        db->open(query);
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_EQ(e.query(), query);
    }
}

TEST_P(DataResultSet, ManyRowsCostAFewBytesACell) {
    native(
        u"CREATE TABLE t (a TEXT, b TEXT, c TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
        "INSERT INTO t SELECT printf('%05d', i), '王芳', printf('%d.%02d', i, i % 100) FROM n;"_s);
    ResultSet rs = db->openNative(u"SELECT a, b, c FROM t ORDER BY a"_s);
    rs.moveLast();
    ASSERT_EQ(rs.recordCount(), 20000);
    EXPECT_EQ(rs.text(u"a"), u"20000"_s);
    EXPECT_EQ(rs.text(u"c"), u"20000.00"_s);
    rs.setAbsolutePosition(9);
    EXPECT_EQ(rs.text(2), u"10.10"_s);
    // 5 bytes of bookkeeping a cell plus the UTF-8 texts (5, 6 and up to 8 bytes), with growth reserve.
    const double perCell = double(rs.storageBytes()) / (20000.0 * 3);
    EXPECT_LT(perCell, 24.0);
}

INSTANTIATE_TEST_SUITE_P(Data, DataResultSet, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "QtSql" : "SqliteApi"; });

}  // namespace
}  // namespace slp::data
