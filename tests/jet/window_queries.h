#pragma once
// The query texts each window builds, concatenated from item names exactly as the windows do,
// spaces included. Item names go between brackets with any "]" doubled.
#include <QString>
#include <QStringList>

namespace slp::jet::test {

using namespace Qt::StringLiterals;

inline QString bracket(const QString& name) {
    return u'[' + QString(name).replace(u"]"_s, u"]]"_s) + u']';
}

inline QString bracketedList(const QStringList& names) {
    QString out;
    for (qsizetype k = 0; k < names.size(); ++k) out += (k > 0 ? u","_s : QString()) + bracket(names[k]);
    return out;
}

// Item catalogue (the catalogue loader and the conditional query).
inline QString catalogueQuery(const QString& month) {
    return u"select * from 14工资输出及公式 where 工作年月='"_s + month + u"' order by 项目序号"_s;
}

// Employee wage table: item columns.
inline QString employeeItemsQuery(const QStringList& items, const QString& month) {
    QString q = u"select "_s;
    for (qsizetype k = 0; k <= items.size() - 2; ++k) q += u"["_s + items[k] + u"]"_s + u","_s;
    q += u"["_s + items.back() + u"]"_s + u" from 16工资输出数据 where 工作年月='"_s + month +
         u"' order by 部门号"_s;
    return q;
}

// Employee wage table: totals, f = first amount index. The last sum has a blank before "]".
inline QString employeeTotalsQuery(const QStringList& items, qsizetype f, const QString& month) {
    QString q = u" Select "_s;
    for (qsizetype k = 0; k <= f - 2; ++k) {
        q += u" count(["_s + items[k] + u"]) as "_s + items[k] + u"ofcount,"_s;
    }
    q += u" count(["_s + items[f - 1] + u"]) as "_s + items[f - 1] + u"ofcount"_s;
    for (qsizetype k = f; k <= items.size() - 2; ++k) {
        q += u", sum(val(["_s + items[k] + u"] & '')) as  "_s + items[k] + u"ofsum"_s;
    }
    const QString& last = items.back();
    q += u",sum(val(["_s + last + u" ] & '')) as "_s + last +
         u"ofsum from 16工资输出数据 where 工作年月='"_s + month + u"' "_s;
    return q;
}

// Department payment table: all employees (two blanks before "order").
inline QString paymentItemsQuery(const QStringList& items, const QString& month) {
    return u"select "_s + bracketedList(items) + u" from 16工资输出数据 where 工作年月='"_s + month +
           u"'  order by 部门号"_s;
}

// The sums of items 2 … m − 1, shared by the payment table's two totals queries.
inline QString paymentSums(const QStringList& items) {
    QString q;
    for (qsizetype k = 2; k <= items.size() - 2; ++k) {
        q += u", sum(val(["_s + items[k] + u"] & '')) as  "_s + items[k] + u"ofsum"_s;
    }
    q += u",sum(val(["_s + items.back() + u"] & '')) as "_s + items.back() + u"ofsum"_s;
    return q;
}

// Department payment table: totals of the month.
inline QString paymentTotalsQuery(const QStringList& items, const QString& month) {
    return u"select count(["_s + items[0] + u"] ) as "_s + items[0] + u"ofcount, count(["_s + items[1] +
           u"]) as "_s + items[1] + u"ofcount "_s + paymentSums(items) +
           u" from 16工资输出数据    where  工作年月= '"_s + month + u"' "_s;
}

inline QString departmentListQuery(const QString& month) {
    return u"select * from 11部门信息  where 工作年月='"_s + month + u"' order by 部门号"_s;
}

inline QString codeLengthQuery() {
    return u" select len(部门号) as a from 11部门信息"_s;
}

// Department payment printing: one department's employees, d = code length, c = department code.
inline QString departmentItemsQuery(const QStringList& items, const QString& month, int d, const QString& c) {
    return u"select "_s + bracketedList(items) + u" from 16工资输出数据 where 工作年月='"_s + month +
           u"'  and left(部门号,"_s + QString::number(d) + u")='"_s + c + u"' order by 部门号"_s;
}

inline QString departmentTotalsQuery(const QStringList& items, const QString& month, int d,
                                     const QString& c) {
    return u"select count(["_s + items[0] + u"]) as "_s + items[0] + u"ofcount, count(["_s + items[1] +
           u"]) as "_s + items[1] + u"ofcount "_s + paymentSums(items) +
           u" from 16工资输出数据  where left(部门号,"_s + QString::number(d) + u")='"_s + c +
           u"' and 工作年月='"_s + month + u"' "_s;
}

// Department summary: one row per department of code length n.
inline QString summaryQuery(const QStringList& items, qsizetype f, int n, const QString& month) {
    const QString len = QString::number(n);
    const qsizetype last = items.size() - 1;
    QString q = u"select b.[部门名称] as "_s + items[0] + u", count(a.["_s + items[1] + u"]) as "_s +
                items[1] + u"ofcount "_s;
    for (qsizetype k = f; k <= last - 1; ++k) {
        q += u", sum(val(a.["_s + items[k] + u"] & '')) as  "_s + items[k] + u"ofsum"_s;
    }
    q += u",sum(val(a.["_s + items[last] + u"] & '')) as "_s + items[last] +
         u"ofsum from 16工资输出数据 as a inner join 11部门信息 as b on left(a.[部门号],"_s + len +
         u")=b.[部门号] and a.[工作年月]=B.[工作年月] where a.[工作年月]= '"_s + month +
         u"'  group by  left(a.[部门号],"_s + len + u"),b.[部门名称]  order by left(a.[部门号],"_s + len +
         u") "_s;
    return q;
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

// Special positioned printing: item names without brackets.
inline QString specialItemsQuery(const QString& month) {
    return u"select 项目名称 from 14工资输出及公式 where  工作年月='"_s + month + u"' order by 项目序号"_s;
}
inline QString specialDataQuery(const QStringList& items, const QString& month, const QString& order,
                                const QString& table) {
    return u" select "_s + items.join(u","_s) + u" from  "_s + table + u" where 工作年月= '"_s + month +
           u"' "_s + order;
}

// Bank payroll-card export.
inline QString cardItemsQuery(const QString& month) {
    return u"SELECT 项目序号,项目名称 FROM 14工资输出及公式 where 工作年月='"_s + month +
           u"'  order by 项目序号"_s;
}
inline const QStringList cardSortColumns = {u"[16工资输出数据].工号"_s, u"[16工资输出数据].部门号"_s,
                                            u"[12个人信息].信用卡号"_s, u"[16工资输出数据].姓名"_s};
inline QString cardQuery(const QString& amount, const QString& sort, const QString& month) {
    return u" SELECT [12个人信息].姓名, 信用卡号, "_s + amount +
           u" FROM 16工资输出数据 INNER JOIN 12个人信息 ON [16工资输出数据].工号 = [12个人信息].工号"_s +
           u" WHERE Val("_s + amount + u" & '')>0 AND [16工资输出数据].工作年月='"_s + month +
           u"' AND Val([12个人信息]![信用卡号] & ' ')>'0'"_s + u" ORDER by "_s + sort;
}

// Conditional query: name and department inputs as typed (already trimmed).
inline QString conditionalQuery(const QStringList& items, const QString& month, const QString& name,
                                const QString& dept) {
    QString nameCondition;
    if (!name.isEmpty()) {
        if (name.contains(u'*') || name.contains(u'?')) {
            nameCondition = u"姓名='"_s + name + u"'"_s;
        } else {
            nameCondition = u"left(姓名,"_s + QString::number(name.size()) + u")='"_s + name + u"'"_s;
        }
    }
    QString deptCondition;
    const QString n = QString::number(dept.size());
    if (dept.startsWith(u">="_s)) {
        deptCondition = u"left(部门号,"_s + n + u")>='"_s + dept.mid(2) + u"'"_s;
    } else if (dept.startsWith(u"<="_s)) {
        deptCondition = u"left(部门号,"_s + n + u")<='"_s + dept.mid(2) + u"'"_s;
    } else if (dept.startsWith(u">"_s)) {
        deptCondition = u"left(部门号,"_s + n + u")>'"_s + dept.mid(1) + u"'"_s;
    } else if (dept.startsWith(u"<"_s)) {
        deptCondition = u"left(部门号,"_s + n + u")<'"_s + dept.mid(1) + u"'"_s;
    } else if (!dept.isEmpty()) {
        deptCondition = u"Left(部门号,"_s + n + u")='"_s + dept + u"'"_s;
    }
    QString joined;
    if (!nameCondition.isEmpty() && !deptCondition.isEmpty()) {
        joined = u"and "_s + nameCondition + u" and "_s + deptCondition;
    } else if (!nameCondition.isEmpty() || !deptCondition.isEmpty()) {
        joined = u" and "_s + nameCondition + deptCondition;
    }
    return u"select "_s + bracketedList(items) + u" from 16工资输出数据 where 工作年月='"_s + month +
           u"' "_s + joined + u"  order by 部门号"_s;
}

}  // namespace slp::jet::test
