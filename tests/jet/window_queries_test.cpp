// Every query text the windows build, made by their own builders (tests/golden/queries holds the texts),
// translated and run on the sample month.
#include <gtest/gtest.h>

#include "app/card_export/card_query.h"
#include "app/department_payment/payment_queries.h"
#include "app/department_summary/summary_queries.h"
#include "app/employee_table/employee_queries.h"
#include "app/query/query_conditions.h"
#include "app/special_print/special_print.h"
#include "data/jet/translate.h"
#include "data/wage_items.h"
#include "host_database.h"
#include "test_server.h"

using namespace Qt::StringLiterals;

namespace slp::jet::test {
namespace {

namespace win = slp::windows;

const QStringList items = {u"部门"_s, u"姓名"_s, u"基本工资"_s, u"奖金"_s, u"实发工资"_s};
// What the builders read of the month's catalogue: the names, their count and the first amount.
const data::WageCatalogue catalogue = [] {
    data::WageCatalogue c;
    c.itemName = items;
    c.itemCount = 5;
    c.firstAmountIndex = 2;
    return c;
}();

// The sample month's employees: name, department code, employee number, amounts as the host reads
// them (the numeric value of the stored text, null and empty as 0).
struct Employee {
    QString name;
    QString code;
    double base, bonus, net;
};
const std::vector<Employee> employees = {
    {u"张三"_s, u"0101"_s, 1000, 200, 1200}, {u"阿明"_s, u"0102"_s, 800.5, 0, 800.5},
    {u"白雪"_s, u"0201"_s, 12, 100, 112},    {u"赵四"_s, u"0103"_s, 900, 0, 900},
    {u"Alice"_s, u"03"_s, 500, 50, 550},     {u"bob"_s, u"0104"_s, 300, 30, 0},
};

// The employees whose code begins with the prefix, in code order.
std::vector<Employee> inDepartment(const QString& prefix) {
    std::vector<Employee> out;
    for (const Employee& e : employees) {
        if (e.code.startsWith(prefix)) out.push_back(e);
    }
    std::sort(out.begin(), out.end(), [](const Employee& a, const Employee& b) { return a.code < b.code; });
    return out;
}

QStringList names(const std::vector<Employee>& list) {
    QStringList out;
    for (const Employee& e : list) out << e.name;
    return out;
}

struct Totals {
    double base = 0, bonus = 0, net = 0;
};
Totals totals(const std::vector<Employee>& list) {
    Totals t;
    for (const Employee& e : list) {
        t.base += e.base;
        t.bonus += e.bonus;
        t.net += e.net;
    }
    return t;
}

// The same cases on each engine: same rows, same order, same names.
class WindowQueries : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        db = fresh();
        if (db) fillSampleMonth(*db);
    }
    // An empty database of the engine at hand (nullptr, the test skipped, without a server).
    std::unique_ptr<HostDatabase> fresh() {
        if (GetParam() == Engine::SQLite) return std::make_unique<HostDatabase>();
        QString reason;
        const std::optional<QString> url = slp::test::freshSchemaUrl(&reason);
        if (!url) {
            skipped_ = reason;
            return nullptr;
        }
        return std::make_unique<HostDatabase>(Engine::PostgreSQL, *url);
    }
    std::unique_ptr<HostDatabase> db;
    QString skipped_;
};

#define SKIP_WITHOUT_ENGINE() \
    if (!db) GTEST_SKIP() << "PostgreSQL tests skipped: " << skipped_.toStdString()

TEST_P(WindowQueries, CatalogueInItemOrder) {
    SKIP_WITHOUT_ENGINE();
    const Result r = db->query(data::wageItemsQuery(sampleMonth));
    EXPECT_EQ(r.texts(u"项目名称"_s), items);
    EXPECT_EQ(r.texts(u"项目序号"_s), (QStringList{u"1"_s, u"2"_s, u"3"_s, u"9"_s, u"10"_s}));
    EXPECT_EQ(r.texts(u"小数位数"_s), (QStringList{u"0"_s, u"0"_s, u"2"_s, u"2"_s, u"2"_s}));
    EXPECT_TRUE(db->query(data::wageItemsQuery(u"1999-01"_s)).rows.empty());
}

TEST_P(WindowQueries, EmployeeTableItemsAndTotals) {
    SKIP_WITHOUT_ENGINE();
    const Result rows = db->query(win::employee::employeeItemQuery(catalogue, sampleMonth));
    EXPECT_EQ(rows.columns, items);
    const std::vector<Employee> all = inDepartment(QString());
    EXPECT_EQ(rows.texts(u"姓名"_s), names(all));
    const qsizetype bai = rows.texts(u"姓名"_s).indexOf(u"白雪"_s);
    ASSERT_GE(bai, 0);
    EXPECT_EQ(rows.at(size_t(bai), u"基本工资"_s).display(), u"12abc"_s);  // stored text comes back as stored

    const QString text = win::employee::employeeTotalsQuery(catalogue, sampleMonth);
    ASSERT_TRUE(text.contains(u"[实发工资 ]"_s));
    const Result t = db->query(text);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.columns, (QStringList{u"部门ofcount"_s, u"姓名ofcount"_s, u"基本工资ofsum"_s, u"奖金ofsum"_s,
                                      u"实发工资ofsum"_s}));
    const Totals expected = totals(all);
    EXPECT_EQ(t.at(0, u"姓名ofcount"_s).integer, qint64(all.size()));
    EXPECT_DOUBLE_EQ(t.at(0, u"基本工资ofsum"_s).number(), expected.base);
    EXPECT_DOUBLE_EQ(t.at(0, u"奖金ofsum"_s).number(), expected.bonus);
    EXPECT_DOUBLE_EQ(t.at(0, u"实发工资ofsum"_s).number(), expected.net);
}

TEST_P(WindowQueries, PaymentTableItemsTotalsAndDepartments) {
    SKIP_WITHOUT_ENGINE();
    EXPECT_EQ(db->query(win::payment::paymentItemQuery(catalogue, sampleMonth)).texts(u"姓名"_s),
              names(inDepartment(QString())));

    const Result t = db->query(win::payment::paymentTotalsQuery(catalogue, sampleMonth));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.at(0, u"部门ofcount"_s).integer, 6);
    EXPECT_EQ(t.at(0, u"姓名ofcount"_s).integer, 6);
    EXPECT_DOUBLE_EQ(t.at(0, u"基本工资ofsum"_s).number(), totals(employees).base);
    EXPECT_DOUBLE_EQ(t.at(0, u"实发工资ofsum"_s).number(), totals(employees).net);

    const Result d = db->query(win::payment::departmentListQuery(sampleMonth));
    EXPECT_EQ(d.texts(u"部门号"_s), (QStringList{u"01"_s, u"0101"_s, u"0102"_s, u"0103"_s, u"0104"_s, u"02"_s,
                                                 u"0201"_s, u"03"_s}));
    EXPECT_EQ(d.at(0, u"部门名称"_s).text, u"行政部"_s);
    EXPECT_EQ(d.columns, (QStringList{u"部门号"_s, u"部门名称"_s, u"工作年月"_s}));
}

TEST_P(WindowQueries, CodeLengthIsThatOfTheFirstRow) {
    SKIP_WITHOUT_ENGINE();
    const Result r = db->query(win::payment::codeLengthQuery());
    ASSERT_FALSE(r.rows.empty());
    EXPECT_EQ(r.columns, QStringList{u"a"_s});
    EXPECT_EQ(r.rows[0][0].integer, 2);

    const auto other = fresh();
    other->exec(
        u"INSERT INTO \"11部门信息\" VALUES ('0101','办公室','2000-04'), ('01','行政部','2000-04')"_s);
    EXPECT_EQ(other->query(win::payment::codeLengthQuery()).rows[0][0].integer, 4);
    EXPECT_TRUE(fresh()->query(win::payment::codeLengthQuery()).rows.empty());
}

TEST_P(WindowQueries, OneDepartmentOfThePaymentTable) {
    SKIP_WITHOUT_ENGINE();
    for (const QString& code : {u"01"_s, u"02"_s, u"03"_s, u"04"_s}) {
        SCOPED_TRACE(code.toStdString());
        const std::vector<Employee> dept = inDepartment(code);
        EXPECT_EQ(
            db->query(win::payment::departmentRowsQuery(catalogue, sampleMonth, 2, code)).texts(u"姓名"_s),
            names(dept));
        const Result t = db->query(win::payment::departmentTotalsQuery(catalogue, sampleMonth, 2, code));
        ASSERT_EQ(t.rows.size(), 1u);
        // read by position: field 1 the count, fields 2 … the totals (null when no employee)
        EXPECT_EQ(t.rows[0][1].integer, qint64(dept.size()));
        EXPECT_DOUBLE_EQ(t.rows[0][2].number(), totals(dept).base);
        EXPECT_DOUBLE_EQ(t.rows[0][4].number(), totals(dept).net);
        EXPECT_EQ(t.rows[0][4].isNull(), dept.empty());
    }
    // four-character codes
    EXPECT_EQ(
        db->query(win::payment::departmentRowsQuery(catalogue, sampleMonth, 4, u"0102"_s)).texts(u"姓名"_s),
        QStringList{u"阿明"_s});
}

TEST_P(WindowQueries, DepartmentSummaryAtBothLevels) {
    SKIP_WITHOUT_ENGINE();
    const Result r = db->query(win::summary::departmentSummaryQuery(catalogue, 2, sampleMonth));
    EXPECT_EQ(r.columns, (QStringList{u"部门"_s, u"姓名ofcount"_s, u"基本工资ofsum"_s, u"奖金ofsum"_s,
                                      u"实发工资ofsum"_s}));
    EXPECT_EQ(r.texts(u"部门"_s), (QStringList{u"行政部"_s, u"生产部"_s, u"销售部"_s}));
    const QStringList codes = {u"01"_s, u"02"_s, u"03"_s};
    for (size_t i = 0; i < r.rows.size() && i < 3; ++i) {
        const std::vector<Employee> dept = inDepartment(codes[qsizetype(i)]);
        EXPECT_EQ(r.at(i, u"姓名ofcount"_s).integer, qint64(dept.size()));
        EXPECT_DOUBLE_EQ(r.at(i, u"基本工资ofsum"_s).number(), totals(dept).base);
        EXPECT_DOUBLE_EQ(r.at(i, u"奖金ofsum"_s).number(), totals(dept).bonus);
        EXPECT_DOUBLE_EQ(r.at(i, u"实发工资ofsum"_s).number(), totals(dept).net);
    }

    // Level of four characters: each employee under his own section; Alice's code 03 is shorter and
    // its first four characters are 03, the code of 销售部.
    const Result four = db->query(win::summary::departmentSummaryQuery(catalogue, 4, sampleMonth));
    EXPECT_EQ(four.texts(u"部门"_s),
              (QStringList{u"办公室"_s, u"财务科"_s, u"后勤科"_s, u"保卫科"_s, u"一车间"_s, u"销售部"_s}));
    EXPECT_EQ(four.texts(u"姓名ofcount"_s), (QStringList{u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s, u"1"_s}));
}

TEST_P(WindowQueries, SpecialPrintDesignerAndLayoutTable) {
    SKIP_WITHOUT_ENGINE();
    // The layout table's and the designer's texts, which no builder makes, as those windows write them.
    const QString layout = u"select * from 特殊打印位置设置 order by 序号"_s;
    EXPECT_TRUE(db->query(layout).rows.empty());
    db->exec(
        u"INSERT INTO \"特殊打印位置设置\" VALUES ('实发工资',300,400,2,3,1), ('部门',100,200,0,0,0), "
        u"('姓名',150,200,1,1,1)"_s);
    const Result r = db->query(layout);
    EXPECT_EQ(r.texts(u"项目名称"_s), (QStringList{u"部门"_s, u"姓名"_s, u"实发工资"_s}));
    EXPECT_EQ(r.columns.size(), 6);
    EXPECT_EQ(db->query(u"SELECT * FROM 特殊打印位置设置 ORDER BY 序号"_s).texts(u"序号"_s),
              (QStringList{u"0"_s, u"1"_s, u"2"_s}));
    EXPECT_EQ(db->query(u"select * from 特殊打印位置设置"_s).rows.size(), 3u);
    EXPECT_EQ(db->query(u"select 项目名称  from  14工资输出及公式  where 工作年月 ='"_s + sampleMonth +
                        u"' order by 项目序号"_s)
                  .texts(u"项目名称"_s),
              items);

    const QString clear = db->translate(u"delete * from 特殊打印位置设置"_s);
    db->exec(clear);
    EXPECT_TRUE(db->query(layout).rows.empty());
}

TEST_P(WindowQueries, SpecialPrintingData) {
    SKIP_WITHOUT_ENGINE();
    EXPECT_EQ(db->query(win::special::specialItemsQuery(sampleMonth)).texts(u"项目名称"_s), items);
    const Result r = db->query(
        win::special::specialDataQuery(items, u"16工资输出数据"_s, sampleMonth, u"order by 部门号"_s));
    EXPECT_EQ(r.columns, items);
    EXPECT_EQ(r.texts(u"姓名"_s), names(inDepartment(QString())));
}

TEST_P(WindowQueries, CardExportInEachOrder) {
    SKIP_WITHOUT_ENGINE();
    const Result itemsResult = db->query(card::cardItemsQuery(sampleMonth));
    EXPECT_EQ(itemsResult.columns, (QStringList{u"项目序号"_s, u"项目名称"_s}));
    const QString amount = itemsResult.texts(u"项目名称"_s).back();
    EXPECT_EQ(amount, u"实发工资"_s);

    // Listed: a positive amount and a card number with a positive value. 阿明 has an empty card,
    // 赵四 none, bob an amount of 0.
    const std::vector<QStringList> expected = {
        {u"白雪"_s, u"张三"_s, u"Alice"_s},  // 工号 001, 003, 005
        {u"张三"_s, u"白雪"_s, u"Alice"_s},  // 部门号 0101, 0201, 03
        {u"白雪"_s, u"Alice"_s, u"张三"_s},  // 信用卡号 6222003, 7777005, 9555001
        {u"Alice"_s, u"白雪"_s, u"张三"_s},  // 姓名: Latin first, then bai, zhang
    };
    const QStringList cardSortColumns = {u"[16工资输出数据].工号"_s, u"[16工资输出数据].部门号"_s,
                                         u"[12个人信息].信用卡号"_s, u"[16工资输出数据].姓名"_s};
    for (qsizetype i = 0; i < cardSortColumns.size(); ++i) {
        SCOPED_TRACE(cardSortColumns[i].toStdString());
        const Result r = db->query(card::cardQuery(amount, cardSortColumns[i], sampleMonth));
        EXPECT_EQ(r.columns, (QStringList{u"姓名"_s, u"信用卡号"_s, u"实发工资"_s}));
        EXPECT_EQ(r.texts(u"姓名"_s), expected[size_t(i)]);
    }
    const Result r = db->query(card::cardQuery(amount, cardSortColumns[0], sampleMonth));
    EXPECT_EQ(r.texts(u"信用卡号"_s), (QStringList{u"6222003"_s, u"9555001"_s, u"7777005"_s}));
    EXPECT_EQ(r.texts(u"实发工资"_s), (QStringList{u"112"_s, u"1200"_s, u"550"_s}));
}

TEST_P(WindowQueries, ConditionalQueryConditions) {
    SKIP_WITHOUT_ENGINE();
    const auto found = [&](const QString& name, const QString& dept) {
        const QString conditions = win::query::joinConditions(win::query::nameCondition(name),
                                                              win::query::departmentCondition(dept));
        return db->query(win::query::conditionalQueryStatement(catalogue, sampleMonth, conditions))
            .texts(u"姓名"_s);
    };
    EXPECT_EQ(found(u"张"_s, QString()), QStringList{u"张三"_s});
    EXPECT_EQ(found(u"alice"_s, QString()), QStringList{u"Alice"_s});  // the engine ignores case
    EXPECT_TRUE(found(u"张*"_s, QString()).isEmpty());
    EXPECT_EQ(found(QString(), u"01"_s), names(inDepartment(u"01"_s)));
    EXPECT_EQ(found(QString(), u">=02"_s), (QStringList{u"白雪"_s, u"Alice"_s}));
    EXPECT_EQ(found(QString(), u"<=0102"_s), (QStringList{u"张三"_s, u"阿明"_s}));
    EXPECT_EQ(found(QString(), u">0103"_s), (QStringList{u"bob"_s, u"白雪"_s, u"Alice"_s}));
    EXPECT_EQ(found(QString(), u"<02"_s), names(inDepartment(u"01"_s)));
    EXPECT_EQ(found(u"赵"_s, u"01"_s), QStringList{u"赵四"_s});
    EXPECT_TRUE(found(u"赵"_s, u"02"_s).isEmpty());

    // * and ? are no wildcards: only the name written with them matches.
    db->exec(u"INSERT INTO \"16工资输出数据\" VALUES ('2000-04','0105','007','张*','办公室',1,1,1)"_s);
    EXPECT_EQ(found(u"张*"_s, QString()), QStringList{u"张*"_s});
    EXPECT_EQ(found(u"张"_s, QString()), (QStringList{u"张三"_s, u"张*"_s}));
}

INSTANTIATE_TEST_SUITE_P(Engines, WindowQueries, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         engineName);

}  // namespace
}  // namespace slp::jet::test
