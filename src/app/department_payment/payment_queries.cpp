#include "app/department_payment/payment_queries.h"

#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::windows::payment {

namespace {

QString itemList(const data::WageCatalogue& catalogue) {
    const int count = catalogue.itemCount;
    QString q;
    for (int k = 0; k <= count - 2; ++k) q += sqlBracketed(catalogue.nameAt(k)) + u',';
    q += sqlBracketed(catalogue.nameAt(count - 1));
    return q;
}

// ", sum(val([Nk] & '')) as  Nkofsum" for k = 2 .. m - 2, then ",sum(val([N(m-1)] & '')) as N(m-1)ofsum".
QString sums(const data::WageCatalogue& catalogue) {
    const int last = catalogue.itemCount - 1;
    QString q;
    for (int k = 2; k <= last - 1; ++k) {
        const QString& n = catalogue.nameAt(k);
        q += u", sum(val("_s + sqlBracketed(n) + u" & '')) as  "_s + sqlAlias(n + u"ofsum"_s);
    }
    const QString& n = catalogue.nameAt(last);
    q += u",sum(val("_s + sqlBracketed(n) + u" & '')) as "_s + sqlAlias(n + u"ofsum"_s);
    return q;
}

}  // namespace

QString codeLengthQuery() {
    return u" select len(部门号) as a from 11部门信息"_s;
}

QString departmentListQuery(const QString& monthKey) {
    return u"select * from 11部门信息  where 工作年月="_s + sqlTextLiteral(monthKey) + u" order by 部门号"_s;
}

QString paymentItemQuery(const data::WageCatalogue& catalogue, const QString& monthKey) {
    return u"select "_s + itemList(catalogue) + u" from 16工资输出数据 where 工作年月="_s +
           sqlTextLiteral(monthKey) + u"  order by 部门号"_s;
}

QString paymentTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey) {
    const QString& n0 = catalogue.nameAt(0);
    const QString& n1 = catalogue.nameAt(1);
    return u"select count("_s + sqlBracketed(n0) + u" ) as "_s + sqlAlias(n0 + u"ofcount"_s) + u", count("_s +
           sqlBracketed(n1) + u") as "_s + sqlAlias(n1 + u"ofcount"_s) + u' ' + sums(catalogue) +
           u" from 16工资输出数据    where  工作年月= "_s + sqlTextLiteral(monthKey) + u' ';
}

QString departmentRowsQuery(const data::WageCatalogue& catalogue, const QString& monthKey, int codeLength,
                            const QString& code) {
    return u"select "_s + itemList(catalogue) + u" from 16工资输出数据 where 工作年月="_s +
           sqlTextLiteral(monthKey) + u"  and left(部门号,"_s + QString::number(codeLength) + u")="_s +
           sqlTextLiteral(code) + u" order by 部门号"_s;
}

QString departmentTotalsQuery(const data::WageCatalogue& catalogue, const QString& monthKey, int codeLength,
                              const QString& code) {
    const QString& n0 = catalogue.nameAt(0);
    const QString& n1 = catalogue.nameAt(1);
    return u"select count("_s + sqlBracketed(n0) + u") as "_s + sqlAlias(n0 + u"ofcount"_s) + u", count("_s +
           sqlBracketed(n1) + u") as "_s + sqlAlias(n1 + u"ofcount"_s) + u' ' + sums(catalogue) +
           u" from 16工资输出数据  where left(部门号,"_s + QString::number(codeLength) + u")="_s +
           sqlTextLiteral(code) + u" and 工作年月="_s + sqlTextLiteral(monthKey) + u' ';
}

}  // namespace slp::windows::payment
