#pragma once
// The two query texts of the department summary, exactly as the host's engine is given them: the length
// of a department code at the level summarised, and one row per department of that level with its head
// count and the sums of the month's amount items.
#include <QString>

#include "data/wage_items.h"

namespace slp::windows::summary {

// " select len(部门号) as a from 11部门信息": no filter and no order; the first row the engine returns
// gives the length.
QString codeLengthQuery();

// "select b.[部门名称] as <N0>, count(a.[<N1>]) as <N1>ofcount , sum(val(a.[<Nf>] & '')) as  <Nf>ofsum
// ...,sum(val(a.[<NL>] & '')) as <NL>ofsum from 16工资输出数据 as a inner join 11部门信息 as b on
// left(a.[部门号],<n>)=b.[部门号] and a.[工作年月]=B.[工作年月] where a.[工作年月]= '<month>'  group by
// left(a.[部门号],<n>),b.[部门名称]  order by left(a.[部门号],<n>) ", its blanks as written. A catalogue
// of fewer than two items, or a first amount index beyond it, raises slp::Error 9 (subscript out of
// range), as the loop would.
QString departmentSummaryQuery(const data::WageCatalogue& catalogue, int codeLength, const QString& monthKey);

// The aliases the summary query gives its columns: the department name (the first item's name), the
// head count (the second item's name & "ofcount") and each item's sum (its name & "ofsum").
QString departmentNameAlias(const data::WageCatalogue& catalogue);
QString headCountAlias(const data::WageCatalogue& catalogue);
QString itemSumAlias(const data::WageCatalogue& catalogue, int item);

}  // namespace slp::windows::summary
