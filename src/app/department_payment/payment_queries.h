#pragma once
// The query texts of the department payment table 工资输出表2, exactly as the host's engine is given
// them: the month's employees for the grid and their totals, the department list, the length of a
// department code, and one department's employees and totals for its printed table.
#include <QString>

#include "data/wage_items.h"

namespace slp::windows::payment {

// " select len(部门号) as a from 11部门信息" (leading blank, no filter).
QString codeLengthQuery();
// "select * from 11部门信息  where 工作年月='<month>' order by 部门号".
QString departmentListQuery(const QString& monthKey);

// "select [a],[b],...,[z] from 16工资输出数据 where 工作年月='<month>'  order by 部门号". An empty
// catalogue raises slp::Error 9.
QString paymentItemQuery(const data::WageCatalogue& catalogue, const QString& monthKey);
// The grid's totals: counts of items 0 and 1, sums of items 2 to m - 1, aliased name & "ofcount" and
// name & "ofsum". Fewer than two items raise slp::Error 9.
QString paymentTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey);

// One department's employees: the items of the rows whose code begins with `code` (its first
// `codeLength` characters), in code order.
QString departmentRowsQuery(const data::WageCatalogue& catalogue, const QString& monthKey, int codeLength,
                            const QString& code);
// One department's totals, read by position: field 1 the count of item 1, field k >= 2 the sum of item k.
QString departmentTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey, int codeLength,
                              const QString& code);

}  // namespace slp::windows::payment
