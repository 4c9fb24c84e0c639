// Opening databases, table definitions, adding and updating rows, statements and transactions.
#include "data/database.h"

#include <gtest/gtest.h>

#include <QFile>

#include "test_files.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

TableDef layoutTable() {
    return {u"特殊打印位置设置"_s,
            {{u"项目名称"_s, FieldType::Text, 30, {}},
             {u"X坐标"_s, FieldType::Single, 0, {}},
             {u"Y坐标"_s, FieldType::Single, 0, {}},
             {u"序号"_s, FieldType::Integer, 0, {}},
             {u"位置"_s, FieldType::Integer, 0, {}},
             {u"是否打印名称"_s, FieldType::Boolean, 0, {}}}};
}

FieldValues layoutRow(const QString& name, double x, int order, bool printName) {
    return {{u"项目名称"_s, name},
            {u"X坐标"_s, Value::real(x)},
            {u"Y坐标"_s, Value::real(x / 2)},
            {u"序号"_s, Value::integer(order)},
            {u"位置"_s, Value::integer(order % 4)},
            {u"是否打印名称"_s, Value::boolean(printName)}};
}

int countRows(Database& db, const QString& table) {
    ResultSet rs = db.open(u"select count(*) as n from "_s + table);
    return int(rs.number(u"n"));
}

TEST(DataDatabaseOpen, MissingFileNotADatabaseAndUnknownConnectionsAreRefused) {
    test::TempFolder folder;
    const QString missing = folder.path(u"没有.db"_s);
    try {
        Database db(u"sqlite:"_s + missing);
        ADD_FAILURE() << "opened a missing file";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), dberr::FileNotFound);
        EXPECT_TRUE(e.message().contains(missing));
    }
    EXPECT_FALSE(QFile::exists(missing));  // and nothing was created

    QFile junk(folder.path(u"junk.db"_s));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_THROW(Database(u"sqlite:"_s + junk.fileName()), DatabaseError);

    EXPECT_THROW(Database(u"access:c:/wage.mdb"_s), DatabaseError);
    EXPECT_THROW(Database(u"sqlite:"_s), DatabaseError);
}

TEST(DataDatabaseOpen, TwoConnectionsToOneFileAreIndependent) {
    test::TempFolder folder;
    auto first = test::newDatabase(folder);
    first->executeNative(u"CREATE TABLE t (a TEXT); INSERT INTO t VALUES ('x')"_s);
    {
        Database second(u"sqlite:"_s + folder.path(u"wage.db"_s));
        EXPECT_EQ(second.dialect(), jet::Dialect::SQLite);
        EXPECT_NE(second.sqliteHandle(), first->sqliteHandle());
        EXPECT_NE(second.qtDatabase().connectionName(), first->qtDatabase().connectionName());
        EXPECT_EQ(countRows(second, u"t"_s), 1);
    }
    EXPECT_EQ(countRows(*first, u"t"_s), 1);  // closing the second left the first open
    Database memory(u"sqlite::memory:"_s);
    memory.executeNative(u"CREATE TABLE t (a TEXT)"_s);
    EXPECT_EQ(countRows(memory, u"t"_s), 0);
}

class DataDatabase : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { db = test::newDatabase(folder, u"wage.db"_s, GetParam()); }
    test::TempFolder folder;
    std::unique_ptr<Database> db;
};

TEST_P(DataDatabase, CreatedTablesAreListedWithTheirTypedFields) {
    EXPECT_TRUE(db->tables().isEmpty());
    EXPECT_FALSE(db->hasTable(u"特殊打印位置设置"_s));
    db->createTable(layoutTable());
    db->createTable({u"11部门信息"_s,
                     {{u"部门号"_s, FieldType::Text, 0, {}},
                      {u"人数"_s, FieldType::Long, 0, {}},
                      {u"比例"_s, FieldType::Double, 0, {}}}});
    EXPECT_TRUE(db->hasTable(u"特殊打印位置设置"_s));
    EXPECT_FALSE(db->hasTable(u"特殊打印位置设置 "_s));  // the name must match exactly
    const QList<TableDef> tables = db->tables();
    ASSERT_EQ(tables.size(), 2);
    const auto layout = std::find_if(tables.begin(), tables.end(),
                                     [](const TableDef& t) { return t.name == u"特殊打印位置设置"_s; });
    ASSERT_NE(layout, tables.end());
    EXPECT_EQ(layout->fields, layoutTable().fields);
    const auto departments = std::find_if(tables.begin(), tables.end(),
                                          [](const TableDef& t) { return t.name == u"11部门信息"_s; });
    ASSERT_NE(departments, tables.end());
    ASSERT_EQ(departments->fields.size(), 3);
    EXPECT_EQ(departments->fields[1].type, FieldType::Long);
    EXPECT_EQ(departments->fields[2].type, FieldType::Double);
    EXPECT_THROW(db->createTable(layoutTable()), DatabaseError);  // it exists already
}

TEST_P(DataDatabase, RowsAreAddedUpdatedAndTheirLimitsEnforced) {
    db->createTable(layoutTable());
    db->addRow(u"特殊打印位置设置"_s, layoutRow(u"基本工资"_s, 1234.5, 0, true));
    db->addRow(u"特殊打印位置设置"_s, layoutRow(u"发薪日期"_s, 600, 1, false));
    db->addRow(u"特殊打印位置设置"_s, {{u"序号"_s, Value::integer(2)}});  // the rest stays null

    // A caption longer than 30 characters does not fit, nor a 16-bit field out of range.
    EXPECT_THROW(db->addRow(u"特殊打印位置设置"_s, layoutRow(QString(31, u'工'), 0, 3, true)), DatabaseError);
    db->addRow(u"特殊打印位置设置"_s, layoutRow(QString(30, u'工'), 0, 3, true));
    EXPECT_THROW(db->addRow(u"特殊打印位置设置"_s, {{u"序号"_s, Value::integer(40000)}}), DatabaseError);

    ResultSet rs = db->open(u"select * from 特殊打印位置设置 order by 序号"_s);
    rs.moveLast();
    ASSERT_EQ(rs.recordCount(), 4);
    rs.setAbsolutePosition(0);
    EXPECT_EQ(rs.text(u"项目名称"), u"基本工资"_s);
    EXPECT_EQ(rs.number(u"X坐标"), 1234.5);
    EXPECT_EQ(rs.number(u"是否打印名称"), -1);  // True as the host stores it
    EXPECT_TRUE(rs.value(u"是否打印名称").toBool());
    rs.setAbsolutePosition(1);
    EXPECT_FALSE(rs.value(u"是否打印名称").toBool());
    rs.setAbsolutePosition(2);
    EXPECT_TRUE(rs.value(u"项目名称").isNull());
    rs.close();

    // Update by a null-safe match: the row without a name is found by its null.
    EXPECT_EQ(db->updateRows(u"特殊打印位置设置"_s, {{u"项目名称"_s, u"奖金"_s}}, {{u"项目名称"_s, Value()}}),
              1);
    EXPECT_EQ(db->updateRows(u"特殊打印位置设置"_s, {{u"位置"_s, Value::integer(3)}},
                             {{u"序号"_s, Value::integer(1)}, {u"项目名称"_s, u"发薪日期"_s}}),
              1);
    EXPECT_EQ(db->updateRows(u"特殊打印位置设置"_s, {{u"位置"_s, Value::integer(0)}}, {}), 4);
    rs = db->open(u"select 项目名称, 位置 from 特殊打印位置设置 where 序号=2"_s);
    EXPECT_EQ(rs.text(u"项目名称"), u"奖金"_s);
    EXPECT_EQ(rs.number(u"位置"), 0);
}

TEST_P(DataDatabase, RowWriterChecksItsValueCount) {
    db->createTable(layoutTable());
    RowWriter writer(*db, u"特殊打印位置设置"_s, {u"项目名称"_s, u"序号"_s});
    writer.add({u"甲"_s, Value::integer(0)});
    writer.add({u"乙"_s, Value::integer(1)});
    EXPECT_THROW(writer.add({u"丙"_s}), DatabaseError);
    EXPECT_EQ(writer.rowsAdded(), 2);
    EXPECT_EQ(countRows(*db, u"特殊打印位置设置"_s), 2);
    EXPECT_THROW(RowWriter(*db, u"没有的表"_s, {u"a"_s}), DatabaseError);
}

TEST_P(DataDatabase, RowsReadInChunksAreTheRowsOfOneReadingInOrder) {
    db->executeNative(u"CREATE TABLE n (k INTEGER, t TEXT)"_s);
    for (int i = 1; i <= 10; ++i) db->executeNative(u"INSERT INTO n VALUES (%1, 'r%1')"_s.arg(i));
    QStringList whole;
    ResultSet all = db->open(u"select k, t from n order by k desc"_s);
    for (int k = 0; k < all.recordCount(); ++k) {
        all.setAbsolutePosition(k);
        whole << all.text(1);
    }
    const bool generic = GetParam();
    struct Case {
        QString where;
        int rows;
        std::vector<int> chunks;  // on SQLite's own path; the generic path reads one chunk
    };
    const Case cases[] = {
        {u""_s, 10, {4, 4, 2}}, {u" where k <= 8"_s, 8, {4, 4}}, {u" where k > 100"_s, 0, {}}};
    for (const Case& c : cases) {
        std::vector<int> sizes;
        QStringList texts;
        const int rows = db->openInChunks(u"select k, t from n"_s + c.where + u" order by k desc"_s, 4,
                                          [&](ResultSet& rs) {
                                              sizes.push_back(rs.recordCount());
                                              for (int k = 0; k < rs.recordCount(); ++k) {
                                                  rs.setAbsolutePosition(k);
                                                  texts << rs.text(1);
                                              }
                                          });
        EXPECT_EQ(rows, c.rows) << c.where.toStdString();
        EXPECT_EQ(sizes, generic ? (c.rows ? std::vector<int>{c.rows} : std::vector<int>{}) : c.chunks);
        EXPECT_EQ(texts, whole.mid(10 - c.rows)) << c.where.toStdString();
    }
}

TEST_P(DataDatabase, HostStatementsAreTranslatedBeforeTheyRun) {
    db->createTable(layoutTable());
    for (int i = 0; i < 3; ++i)
        db->addRow(u"特殊打印位置设置"_s, layoutRow(u"项目"_s + QString::number(i), i, i, true));
    EXPECT_EQ(db->execute(u"delete * from 特殊打印位置设置"_s), 3);
    EXPECT_EQ(countRows(*db, u"特殊打印位置设置"_s), 0);
    try {
        db->execute(u"delete * from 没有的表"_s);
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.query(), u"delete * from 没有的表"_s);
        EXPECT_TRUE(e.message().contains(u"没有的表"_s)) << e.message().toStdString();
    }
}

TEST_P(DataDatabase, TransactionsRollBackUnlessCommitted) {
    db->createTable(layoutTable());
    {
        Transaction t(*db);
        db->addRow(u"特殊打印位置设置"_s, layoutRow(u"甲"_s, 1, 0, true));
        EXPECT_EQ(countRows(*db, u"特殊打印位置设置"_s), 1);  // visible inside
    }
    EXPECT_EQ(countRows(*db, u"特殊打印位置设置"_s), 0);

    // A save that fails half-way leaves the earlier rows in place.
    db->addRow(u"特殊打印位置设置"_s, layoutRow(u"旧"_s, 1, 0, true));
    try {
        Transaction t(*db);
        db->execute(u"delete * from 特殊打印位置设置"_s);
        db->addRow(u"特殊打印位置设置"_s, layoutRow(u"新"_s, 1, 0, true));
        db->addRow(u"特殊打印位置设置"_s, layoutRow(QString(31, u'长'), 1, 1, true));
        t.commit();
        ADD_FAILURE() << "the long caption was stored";
    } catch (const DatabaseError&) {
    }
    ResultSet rs = db->open(u"select 项目名称 from 特殊打印位置设置"_s);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(0), u"旧"_s);
    rs.close();

    {
        Transaction t(*db);
        db->execute(u"delete * from 特殊打印位置设置"_s);
        db->addRow(u"特殊打印位置设置"_s, layoutRow(u"新"_s, 1, 0, true));
        t.commit();
        EXPECT_TRUE(t.committed());
    }
    rs = db->open(u"select 项目名称 from 特殊打印位置设置"_s);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(0), u"新"_s);
}

INSTANTIATE_TEST_SUITE_P(Data, DataDatabase, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "QtSql" : "SqliteApi"; });

TEST(DataSchema, DeclaredTypesReadBack) {
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"VARCHAR(30)"_s).size, 30);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"varchar ( 8 )"_s).type, FieldType::Text);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"TEXT"_s).size, 0);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"SMALLINT"_s).type, FieldType::Integer);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"integer"_s).type, FieldType::Long);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"FLOAT"_s).type, FieldType::Single);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"DOUBLE"_s).type, FieldType::Double);
    EXPECT_EQ(fieldFromDeclaredType(u"a"_s, u"BOOLEAN"_s).type, FieldType::Boolean);
    const FieldDef other = fieldFromDeclaredType(u"a"_s, u"DATETIME"_s);
    EXPECT_EQ(other.type, FieldType::Other);
    EXPECT_EQ(other.declaredType, u"DATETIME"_s);
    EXPECT_EQ(quoteIdentifier(u"a\"b"_s), u"\"a\"\"b\""_s);
    const QString pg = createTableStatement(layoutTable(), jet::Dialect::PostgreSQL);
    EXPECT_TRUE(pg.contains(u"\"X坐标\" REAL"_s)) << pg.toStdString();
    EXPECT_TRUE(pg.contains(u"\"是否打印名称\" sl_payprn.yes_no"_s)) << pg.toStdString();
    const QString lite = createTableStatement(layoutTable(), jet::Dialect::SQLite);
    EXPECT_TRUE(lite.startsWith(u"CREATE TABLE \"特殊打印位置设置\" (\"项目名称\" VARCHAR(30)"_s))
        << lite.toStdString();
}

}  // namespace
}  // namespace slp::data
