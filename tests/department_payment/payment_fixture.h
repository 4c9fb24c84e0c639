#pragma once
// A month of department wages made by hand for the payment table tests: the department table, the item
// catalogue and the wage rows in a SQLite file of a private folder, typeless columns so texts, numbers
// and nulls are stored as given, and a host record pointing at it.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "data/database.h"
#include "data/demo_database.h"
#include "data/host_context.h"

namespace payment_test {

using namespace Qt::StringLiterals;
using slp::data::Value;

inline const QString kMonth = u"2000-04"_s;

// "我" is size x 20 twips wide.
inline float fixedMeasure(const QString&, float size) {
    return size * 20;
}

struct Item {
    QString name;
    Value decimals;
    Value width;
};

// 部门, 工号, 姓名 (text items), then 基本工资 (2 places), 工龄 (0: an amount shown "0"), 加班费 (1) and
// 实发工资 (2). firstAmountIndex 3; the grid shows 序号 and the seven items.
inline QList<Item> smallCatalogue() {
    return {{u"部门"_s, Value::integer(0), Value::integer(12)},
            {u"工号"_s, Value::integer(0), Value::integer(8)},
            {u"姓名"_s, Value::integer(0), Value::integer(8)},
            {u"基本工资"_s, Value::integer(2), Value::integer(10)},
            {u"工龄"_s, Value::integer(0), Value::integer(6)},
            {u"加班费"_s, Value::integer(1), Value::integer(9)},
            {u"实发工资"_s, Value::integer(2), Value::integer(12)}};
}

class SummaryDatabase {
  public:
    SummaryDatabase() {
        EXPECT_TRUE(dir.isValid());
        slp::data::Database::Options options;
        options.createIfMissing = true;
        db = std::make_shared<slp::data::Database>(u"sqlite:"_s + path(), options);
        host.unitCode = u"0101"_s;
        host.unitName = u"朔岚测试厂"_s;
        host.workYear = u"2000"_s;
        host.workMonth = u"04"_s;
        host.payDate = u"2000-04-25"_s;
        host.database = db;
    }

    QString path() const { return dir.filePath(u"wage.db"_s); }

    // The three tables, the catalogue of kMonth filled with `items`.
    void createTables(const QList<Item>& items = smallCatalogue()) {
        db->executeNative(u"CREATE TABLE \"11部门信息\" (\"部门号\", \"部门名称\", \"工作年月\")"_s);
        db->executeNative(
            u"CREATE TABLE \"14工资输出及公式\" (\"工作年月\" TEXT, \"项目序号\" INTEGER, \"项目名称\" TEXT, "
            "\"小数位数\", \"打印宽度\")"_s);
        QString wages = u"CREATE TABLE \"16工资输出数据\" (\"工作年月\" TEXT, \"部门号\" TEXT"_s;
        for (const Item& item : items) wages += u", \""_s + item.name + u'"';
        db->executeNative(wages + u')');
        int order = 1;
        for (const Item& item : items) {
            db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, kMonth},
                                               {u"项目序号"_s, Value::integer(order++)},
                                               {u"项目名称"_s, item.name},
                                               {u"小数位数"_s, item.decimals},
                                               {u"打印宽度"_s, item.width}});
            names << item.name;
        }
    }
    void addDepartment(const Value& code, const Value& name, const QString& month = kMonth) {
        db->addRow(u"11部门信息"_s, {{u"部门号"_s, code}, {u"部门名称"_s, name}, {u"工作年月"_s, month}});
    }
    // One employee: department code and one value per item, in catalogue order.
    void addWage(const QString& department, const QList<Value>& values, const QString& month = kMonth) {
        slp::data::FieldValues row{{u"工作年月"_s, month}, {u"部门号"_s, department}};
        for (int i = 0; i < values.size(); ++i) row.push_back({names.at(i), values[i]});
        db->addRow(u"16工资输出数据"_s, row);
    }
    // The demo month (2000-04) written into this database instead.
    void writeDemo(int employees) {
        slp::data::DemoOptions o;
        o.employees = employees;
        slp::data::writeDemoData(*db, o);
    }

    QTemporaryDir dir;
    std::shared_ptr<slp::data::Database> db;
    slp::HostContext host;
    QStringList names;
};

}  // namespace payment_test
