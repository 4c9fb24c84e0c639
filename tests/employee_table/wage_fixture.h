#pragma once
// A wage database made by hand for the window tests: the catalogue and the wage rows of a month in a
// SQLite file of a private folder, a host record pointing at it, a settings store in the same folder
// and a fixed measure of "我" (20 twips a point, the em square of the CJK faces).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "data/database.h"
#include "data/demo_database.h"
#include "data/host_context.h"
#include "settings/store.h"

namespace wage_test {

using namespace Qt::StringLiterals;
using slp::data::Value;

// "我" is size x 20 twips wide.
inline float fixedMeasure(const QString&, float size) {
    return size * 20;
}

struct CatalogueItem {
    QString name;
    Value decimals;
    Value width;
};

class WageDatabase {
  public:
    WageDatabase() {
        EXPECT_TRUE(dir.isValid());
        slp::data::Database::Options options;
        options.createIfMissing = true;
        db = std::make_shared<slp::data::Database>(u"sqlite:"_s + dir.filePath(u"wage.db"_s), options);
        host.unitCode = u"0101"_s;
        host.unitName = u"朔岚测试厂"_s;
        host.workYear = u"2000"_s;
        host.workMonth = u"04"_s;
        host.payDate = u"2000-04-25"_s;
        host.database = db;
    }

    // The catalogue table with the items of `month` in this order, and the wage table with a column for
    // each item (and for `extraColumns`), all typeless so numbers and texts are stored as given.
    void createTables(const QList<CatalogueItem>& items, const QString& month = u"2000-04"_s,
                      const QStringList& skipColumns = {}) {
        db->executeNative(
            u"CREATE TABLE \"14工资输出及公式\" (\"工作年月\" TEXT, \"项目序号\" INTEGER, \"项目名称\" TEXT, "
            "\"小数位数\", \"打印宽度\", \"计算公式\" TEXT)"_s);
        QString wages = u"CREATE TABLE \"16工资输出数据\" (\"工作年月\" TEXT, \"部门号\" TEXT"_s;
        for (const auto& item : items) {
            if (!skipColumns.contains(item.name)) wages += u", \""_s + item.name + u'"';
        }
        db->executeNative(wages + u')');
        addItems(items, month);
        names.clear();
        for (const auto& item : items) names << item.name;
        for (const QString& s : skipColumns) names.removeAll(s);
    }
    void addItems(const QList<CatalogueItem>& items, const QString& month) {
        int order = 1;
        for (const auto& item : items) {
            db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, month},
                                               {u"项目序号"_s, Value::integer(order++)},
                                               {u"项目名称"_s, item.name},
                                               {u"小数位数"_s, item.decimals},
                                               {u"打印宽度"_s, item.width}});
        }
    }
    // One employee: department code and one value per wage column, in catalogue order.
    void addWage(const QString& department, const QList<Value>& values, const QString& month = u"2000-04"_s) {
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
    slp::settings::Store store{dir.filePath(u"config"_s)};
    QStringList names;
};

// A small month: three leading text items (部门, 工号, 姓名), amounts with 2, 0, 1 and 2 decimal places.
inline QList<CatalogueItem> smallCatalogue() {
    return {{u"部门"_s, Value::integer(0), Value::integer(12)},
            {u"工号"_s, Value::integer(0), Value::integer(8)},
            {u"姓名"_s, Value::integer(0), Value::integer(8)},
            {u"基本工资"_s, Value::integer(2), Value::integer(10)},
            {u"工龄"_s, Value::integer(0), Value::integer(6)},
            {u"加班费"_s, Value::integer(1), Value::integer(9)},
            {u"实发工资"_s, Value::integer(2), Value::integer(12)}};
}

}  // namespace wage_test
