#pragma once
// The query texts each window builds, made by the windows' own builders (tests/golden/queries holds
// their texts); the designer's and the layout table's, which no builder makes, as those windows write
// them.
#include <QString>
#include <QStringList>

#include "data/wage_items.h"
#include "windows/card_export/card_query.h"
#include "windows/department_payment/payment_queries.h"
#include "windows/department_summary/summary_queries.h"
#include "windows/employee_table/employee_queries.h"
#include "windows/query/query_conditions.h"
#include "windows/special_print/special_print.h"

namespace slp::jet::test {

using namespace Qt::StringLiterals;
namespace win = slp::windows;

inline data::WageCatalogue catalogueOf(const QStringList& items, qsizetype firstAmount) {
    data::WageCatalogue c;
    c.itemName = items;
    c.itemCount = int16_t(items.size());
    c.firstAmountIndex = int16_t(firstAmount);
    return c;
}

// Item catalogue (the catalogue loader and the conditional query).
inline QString catalogueQuery(const QString& month) {
    return data::wageItemsQuery(month);
}

// Employee wage table, f = first amount index.
inline QString employeeItemsQuery(const QStringList& items, const QString& month) {
    return win::employee::employeeItemQuery(catalogueOf(items, 0), month);
}
inline QString employeeTotalsQuery(const QStringList& items, qsizetype f, const QString& month) {
    return win::employee::employeeTotalsQuery(catalogueOf(items, f), month);
}

// Department payment table: all employees, their totals, the departments and the code length.
inline QString paymentItemsQuery(const QStringList& items, const QString& month) {
    return win::payment::paymentItemQuery(catalogueOf(items, 2), month);
}
inline QString paymentTotalsQuery(const QStringList& items, const QString& month) {
    return win::payment::paymentTotalsQuery(catalogueOf(items, 2), month);
}
inline QString departmentListQuery(const QString& month) {
    return win::payment::departmentListQuery(month);
}
inline QString codeLengthQuery() {
    return win::payment::codeLengthQuery();
}

// Department payment printing: one department's employees, d = code length, c = department code.
inline QString departmentItemsQuery(const QStringList& items, const QString& month, int d, const QString& c) {
    return win::payment::departmentRowsQuery(catalogueOf(items, 2), month, d, c);
}
inline QString departmentTotalsQuery(const QStringList& items, const QString& month, int d,
                                     const QString& c) {
    return win::payment::departmentTotalsQuery(catalogueOf(items, 2), month, d, c);
}

// Department summary: one row per department of code length n.
inline QString summaryQuery(const QStringList& items, qsizetype f, int n, const QString& month) {
    return win::summary::departmentSummaryQuery(catalogueOf(items, f), n, month);
}

// Special print designer and layout table.
inline const QString layoutTable = u"特殊打印位置设置"_s;
inline QString layoutQuery() {
    return u"select * from "_s + layoutTable + u" order by 序号"_s;
}
inline QString layoutQueryUpper() {
    return u"SELECT * FROM "_s + layoutTable + u" ORDER BY 序号"_s;
}
inline QString layoutClear() {
    return u"delete * from "_s + layoutTable;
}
inline QString layoutAppendQuery() {
    return u"select * from "_s + layoutTable;
}
inline QString designerItemsQuery(const QString& month) {
    return u"select 项目名称  from  14工资输出及公式  where 工作年月 ='"_s + month + u"' order by 项目序号"_s;
}

// Special positioned printing.
inline QString specialItemsQuery(const QString& month) {
    return win::special::specialItemsQuery(month);
}
inline QString specialDataQuery(const QStringList& items, const QString& month, const QString& order,
                                const QString& table) {
    return win::special::specialDataQuery(items, table, month, order);
}

// Bank payroll-card export.
inline QString cardItemsQuery(const QString& month) {
    return card::cardItemsQuery(month);
}
inline const QStringList cardSortColumns = {u"[16工资输出数据].工号"_s, u"[16工资输出数据].部门号"_s,
                                            u"[12个人信息].信用卡号"_s, u"[16工资输出数据].姓名"_s};
inline QString cardQuery(const QString& amount, const QString& sort, const QString& month) {
    return card::cardQuery(amount, sort, month);
}

// Conditional query: name and department inputs as typed (already trimmed).
inline QString conditionalQuery(const QStringList& items, const QString& month, const QString& name,
                                const QString& dept) {
    const QString conditions =
        win::query::joinConditions(win::query::nameCondition(name), win::query::departmentCondition(dept));
    return win::query::conditionalQueryStatement(catalogueOf(items, 0), month, conditions);
}

}  // namespace slp::jet::test
