#include "app/query/query_conditions.h"

#include "basic/conversions.h"
#include "basic/error.h"
#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::windows::query {

QString trimBlanks(QStringView text) {
    return withoutBlanks(text).toString();
}

QString quotedText(QStringView value) {
    QString out = u"'"_s;
    for (const QChar c : value) {
        out += c;
        if (c == u'\'') out += c;
    }
    return out + u'\'';
}

QString nameCondition(QStringView name) {
    if (name.isEmpty()) return QString();
    if (name.contains(u'*') || name.contains(u'?')) return u"姓名="_s + quotedText(name);
    return u"left(姓名,"_s + QString::number(name.size()) + u")="_s + quotedText(name);
}

QString departmentCondition(QStringView department) {
    if (department.isEmpty()) return QString();
    const QString n = QString::number(department.size());
    if (department.startsWith(u">=")) return u"left(部门号,"_s + n + u")>="_s + quotedText(department.mid(2));
    if (department.startsWith(u"<=")) return u"left(部门号,"_s + n + u")<="_s + quotedText(department.mid(2));
    if (department.startsWith(u'>')) return u"left(部门号,"_s + n + u")>"_s + quotedText(department.mid(1));
    if (department.startsWith(u'<')) return u"left(部门号,"_s + n + u")<"_s + quotedText(department.mid(1));
    return u"Left(部门号,"_s + n + u")="_s + quotedText(department);
}

QString joinConditions(const QString& name, const QString& department) {
    if (!name.isEmpty() && !department.isEmpty()) return u"and "_s + name + u" and "_s + department;
    if (!name.isEmpty()) return u" and "_s + name;
    if (!department.isEmpty()) return u" and "_s + department;
    return QString();
}

QString conditionalQueryStatement(const data::WageCatalogue& catalogue, const QString& monthKey,
                                  const QString& conditions) {
    if (catalogue.itemCount < 1 || catalogue.itemName.size() < catalogue.itemCount) {
        throw SubscriptError();
    }
    QStringList names;
    names.reserve(catalogue.itemCount);
    for (int k = 0; k < catalogue.itemCount; ++k) names << sqlBracketed(catalogue.itemName[k]);
    return u"select "_s + names.join(u',') + u" from 16工资输出数据 where 工作年月="_s +
           sqlTextLiteral(monthKey) + u' ' + conditions + u"  order by 部门号"_s;
}

}  // namespace slp::windows::query
