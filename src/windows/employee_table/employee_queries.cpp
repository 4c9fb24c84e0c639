#include "windows/employee_table/employee_queries.h"

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::windows::employee {

namespace {

const QString& nameAt(const data::WageCatalogue& catalogue, int k) {
    if (k < 0 || k >= catalogue.itemName.size()) throw Error(9, u"下标越界"_s);
    return catalogue.itemName[k];
}

}  // namespace

QString employeeItemQuery(const data::WageCatalogue& catalogue, const QString& monthKey) {
    const int count = catalogue.itemCount;
    QString q = u"select "_s;
    for (int k = 0; k <= count - 2; ++k) q += u'[' + nameAt(catalogue, k) + u"],"_s;
    q += u'[' + nameAt(catalogue, count - 1) + u']';
    q += u" from 16工资输出数据 where 工作年月='"_s + monthKey + u"' order by 部门号"_s;
    return q;
}

QString employeeTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey) {
    const int count = catalogue.itemCount;
    const int f = catalogue.firstAmountIndex;
    QString q = u" Select "_s;
    for (int k = 0; k <= f - 2; ++k) {
        const QString& n = nameAt(catalogue, k);
        q += u" count(["_s + n + u"]) as "_s + n + u"ofcount,"_s;
    }
    const QString& lastText = nameAt(catalogue, f - 1);
    q += u" count(["_s + lastText + u"]) as "_s + lastText + u"ofcount"_s;
    for (int k = f; k <= count - 2; ++k) {
        const QString& n = nameAt(catalogue, k);
        q += u", sum(val(["_s + n + u"] & '')) as  "_s + n + u"ofsum"_s;
    }
    const QString& last = nameAt(catalogue, count - 1);
    q += u",sum(val(["_s + last + u" ] & '')) as "_s + last +
         u"ofsum from 16工资输出数据 where 工作年月='"_s + monthKey + u"' "_s;
    return q;
}

}  // namespace slp::windows::employee
