#include "app/employee_table/employee_queries.h"

#include "basic/error.h"
#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::windows::employee {

QString employeeItemQuery(const data::WageCatalogue& catalogue, const QString& monthKey) {
    const int count = catalogue.itemCount;
    QString q = u"select "_s;
    for (int k = 0; k <= count - 2; ++k) q += sqlBracketed(catalogue.nameAt(k)) + u',';
    q += sqlBracketed(catalogue.nameAt(count - 1));
    q += u" from 16工资输出数据 where 工作年月="_s + sqlTextLiteral(monthKey) + u" order by 部门号"_s;
    return q;
}

QString employeeCountQuery(const QString& monthKey) {
    return u"select count(*) as 人数 from 16工资输出数据 where 工作年月="_s + sqlTextLiteral(monthKey);
}

QString employeeTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey) {
    const int count = catalogue.itemCount;
    const int f = catalogue.firstAmountIndex;
    QString q = u" Select "_s;
    for (int k = 0; k <= f - 2; ++k) {
        const QString& n = catalogue.nameAt(k);
        q += u" count("_s + sqlBracketed(n) + u") as "_s + sqlAlias(n + u"ofcount"_s) + u',';
    }
    const QString& lastText = catalogue.nameAt(f - 1);
    q += u" count("_s + sqlBracketed(lastText) + u") as "_s + sqlAlias(lastText + u"ofcount"_s);
    for (int k = f; k <= count - 2; ++k) {
        const QString& n = catalogue.nameAt(k);
        q += u", sum(val("_s + sqlBracketed(n) + u" & '')) as  "_s + sqlAlias(n + u"ofsum"_s);
    }
    const QString& last = catalogue.nameAt(count - 1);
    q += u",sum(val("_s + sqlBracketed(last + u' ') + u" & '')) as "_s + sqlAlias(last + u"ofsum"_s) +
         u" from 16工资输出数据 where 工作年月="_s + sqlTextLiteral(monthKey) + u' ';
    return q;
}

}  // namespace slp::windows::employee
