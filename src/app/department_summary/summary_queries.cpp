#include "app/department_summary/summary_queries.h"

#include "basic/error.h"
#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::windows::summary {

QString codeLengthQuery() {
    return u" select len(部门号) as a from 11部门信息"_s;
}

QString departmentSummaryQuery(const data::WageCatalogue& catalogue, int codeLength,
                               const QString& monthKey) {
    const int last = catalogue.itemCount - 1;
    const int f = catalogue.firstAmountIndex;
    const QString n = QString::number(codeLength);
    const QString& name0 = catalogue.nameAt(0);
    const QString& name1 = catalogue.nameAt(1);
    QString q = u"select b.[部门名称] as "_s + sqlAlias(name0) + u", count(a."_s + sqlBracketed(name1) +
                u") as "_s + sqlAlias(name1 + u"ofcount"_s) + u' ';
    for (int k = f; k <= last - 1; ++k) {
        const QString& name = catalogue.nameAt(k);
        q += u", sum(val(a."_s + sqlBracketed(name) + u" & '')) as  "_s + sqlAlias(name + u"ofsum"_s);
    }
    const QString& lastName = catalogue.nameAt(last);
    q += u",sum(val(a."_s + sqlBracketed(lastName) + u" & '')) as "_s + sqlAlias(lastName + u"ofsum"_s) +
         u" from 16工资输出数据 as a inner join 11部门信息 as b on left(a.[部门号],"_s + n +
         u")=b.[部门号] and a.[工作年月]=B.[工作年月] where a.[工作年月]= "_s + sqlTextLiteral(monthKey) +
         u"  group by  left(a.[部门号],"_s + n + u"),b.[部门名称]  order by left(a.[部门号],"_s + n + u") "_s;
    return q;
}

QString departmentNameAlias(const data::WageCatalogue& catalogue) {
    return catalogue.nameAt(0);
}

QString headCountAlias(const data::WageCatalogue& catalogue) {
    return catalogue.nameAt(1) + u"ofcount"_s;
}

QString itemSumAlias(const data::WageCatalogue& catalogue, int item) {
    return catalogue.nameAt(item) + u"ofsum"_s;
}

}  // namespace slp::windows::summary
