#pragma once
// The two query texts of the employee wage table, exactly as the host's engine is given them: the
// items of every employee of the month in department order, and the month's totals (head count of the
// leading text items, sums of the amount items).
#include <QString>

#include "data/wage_items.h"

namespace slp::windows::employee {

// "select [a],[b],...,[z] from 16工资输出数据 where 工作年月='<month>' order by 部门号".
// An empty catalogue raises slp::Error 9 (subscript out of range), as the loop would.
QString employeeItemQuery(const data::WageCatalogue& catalogue, const QString& monthKey);
// The number of rows employeeItemQuery gives, in its one field.
QString employeeCountQuery(const QString& monthKey);

// " Select  count([a]) as aofcount, count([b]) as bofcount, sum(val([c] & '')) as  cofsum,...,sum(val([z ]
// & '')) as zofsum from 16工资输出数据 where 工作年月='<month>' ": counts of the items before
// firstAmountIndex, sums of the others, the last one's name written with a blank before its closing
// bracket. The window gathers the same totals from the rows it reads (EmployeeTable::buildGrid); the
// text is the reference they agree with. An item index outside the catalogue (firstAmountIndex 0, or beyond
// the items) raises slp::Error 9.
QString employeeTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey);

}  // namespace slp::windows::employee
