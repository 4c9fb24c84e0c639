// Database on PostgreSQL: typed fields both ways, errors that carry the server's message and the query,
// a transaction cut by a dropped connection leaves nothing behind, connection texts.
#include <gtest/gtest.h>

#include "data/database.h"
#include "slpayprn.h"
#include "test_server.h"

using namespace Qt::StringLiterals;
using slp::data::Database;
using slp::data::DatabaseError;
using slp::data::FieldDef;
using slp::data::FieldType;
using slp::data::Value;

namespace {

TEST(ServerDatabase, TypedFieldsReadBackAsCreated) {
    SLP_REQUIRE_SERVER(url);
    Database db(url);
    const slp::data::TableDef table{u"特殊打印位置设置"_s,
                                    {{u"项目名称"_s, FieldType::Text, 20, {}},
                                     {u"X坐标"_s, FieldType::Single, 0, {}},
                                     {u"序号"_s, FieldType::Integer, 0, {}},
                                     {u"是否打印名称"_s, FieldType::Boolean, 0, {}},
                                     {u"备注"_s, FieldType::Text, 0, {}},
                                     {u"合计"_s, FieldType::Double, 0, {}},
                                     {u"行"_s, FieldType::Long, 0, {}}}};
    db.createTable(table);
    const QList<slp::data::TableDef> listed = db.tables();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0].name, table.name);
    EXPECT_EQ(listed[0].fields, table.fields);

    db.addRow(table.name, {{u"项目名称"_s, u"实发工资"_s},
                           {u"X坐标"_s, Value::real(12.5)},
                           {u"序号"_s, Value::integer(3)},
                           {u"是否打印名称"_s, Value::boolean(true)}});
    EXPECT_EQ(db.updateRows(table.name, {{u"X坐标"_s, Value::real(0.1)}}, {{u"备注"_s, Value()}}), 1);
    slp::data::ResultSet rs = db.open(u"select * from 特殊打印位置设置 order by 序号"_s);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(u"项目名称"_s), u"实发工资"_s);
    EXPECT_EQ(rs.text(u"X坐标"_s), u"0.1"_s);  // single precision read as the value stored
    EXPECT_EQ(rs.value(u"序号"_s), Value::integer(3));
    EXPECT_EQ(rs.value(u"是否打印名称"_s), Value::boolean(true));
    EXPECT_TRUE(rs.isNull(rs.fieldIndex(u"备注"_s)));
    // the ranges of the host's types are the engine's to enforce
    EXPECT_THROW(db.addRow(table.name, {{u"序号"_s, Value::integer(40000)}}), DatabaseError);
    EXPECT_THROW(db.addRow(table.name, {{u"是否打印名称"_s, Value::integer(1)}}), DatabaseError);
    EXPECT_THROW(db.addRow(table.name, {{u"项目名称"_s, QString(21, u'字')}}), DatabaseError);
}

TEST(ServerDatabase, ErrorsCarryTheServersMessageAndTheQuery) {
    SLP_REQUIRE_SERVER(url);
    Database db(url);
    db.executeNative(u"CREATE TABLE \"16工资输出数据\" (\"工作年月\" TEXT, \"奖金\" TEXT)"_s);
    const QString query = u"select [没有的项目] from 16工资输出数据 where 工作年月='2000-04'"_s;
    try {
        db.open(query);
        ADD_FAILURE() << "a missing column was not refused";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u"没有的项目"_s)) << e.message().toStdString();
        EXPECT_EQ(e.query(), query);
        EXPECT_TRUE(e.engineQuery().contains(u"\"没有的项目\""_s));
    }
    // a text that is no number where a number is wanted: the host's message
    db.executeNative(u"INSERT INTO \"16工资输出数据\" VALUES ('2000-04', 'abc')"_s);
    try {
        db.open(u"select 工作年月 from 16工资输出数据 where 奖金 > 1"_s);
        ADD_FAILURE() << "a text compared with a number was not refused";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u"类型不匹配"_s)) << e.message().toStdString();
    }
    EXPECT_THROW(Database(url + u"&dbname=no_such_database"_s), DatabaseError);
    EXPECT_THROW(Database(u"postgresql://[bad"_s), DatabaseError);
}

// Rows written in one transaction by a connection the server then drops are not there afterwards.
TEST(ServerDatabase, DroppedConnectionRollsTheTransactionBack) {
    SLP_REQUIRE_SERVER(url);
    Database admin(url);
    admin.createTable({u"layout"_s, {{u"name"_s, FieldType::Text, 0, {}}}});
    admin.addRow(u"layout"_s, {{u"name"_s, u"old"_s}});

    Database clerk(url);
    const int pid = int(clerk.openNative(u"SELECT pg_backend_pid()"_s).number(0));
    slp::data::Transaction transaction(clerk);
    clerk.execute(u"delete * from layout"_s);
    clerk.addRow(u"layout"_s, {{u"name"_s, u"new 1"_s}});
    admin.openNative(u"SELECT pg_terminate_backend("_s + QString::number(pid) + u')');
    EXPECT_THROW(clerk.addRow(u"layout"_s, {{u"name"_s, u"new 2"_s}}), DatabaseError);
    EXPECT_THROW(transaction.commit(), DatabaseError);
    slp::data::ResultSet rs = admin.open(u"select name from layout"_s);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(0), u"old"_s);
}

// The C interface opens the server database by its URL, and passes the server's refusal on.
TEST(ServerDatabase, CInterfaceOpensTheUrl) {
    SLP_REQUIRE_SERVER(url);
    slp_object* db = nullptr;
    ASSERT_EQ(slp_open_database(url.toUtf8().constData(), &db), SLP_OK) << slp_last_error();
    EXPECT_NE(db, nullptr);
    slp_release(db);
    const QByteArray missing = (url + u"&dbname=no_such_database"_s).toUtf8();
    EXPECT_EQ(slp_open_database(missing.constData(), &db), SLP_E_DATABASE);
    EXPECT_TRUE(QString::fromUtf8(slp_last_error()).contains(u"no_such_database"_s)) << slp_last_error();
}

}  // namespace
