#include "app/card_export/card_query.h"

#include <QList>

#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::card {

QString cardItemsQuery(const QString& monthKey) {
    return u"SELECT 项目序号,项目名称 FROM 14工资输出及公式 where 工作年月="_s + sqlTextLiteral(monthKey) +
           u"  order by 项目序号"_s;
}

bool amountNeedsBrackets(QStringView itemName) {
    if (itemName.isEmpty()) return true;
    bool first = true;
    for (const uint code : itemName.toUcs4()) {
        const char32_t c = code;
        const bool digit = c >= U'0' && c <= U'9';
        if (first && digit) return true;
        first = false;
        if (c == U'_' || digit) continue;
        if (!QChar::isLetterOrNumber(c)) return true;  // CJK ideographs are letters (Lo)
    }
    return false;
}

QString amountColumn(QStringView itemName) {
    if (amountNeedsBrackets(itemName)) return sqlBracketed(itemName);
    return itemName.toString();
}

QString cardQuery(const QString& amountItem, const QString& sortColumn, const QString& monthKey) {
    const QString a = amountColumn(amountItem);
    return u" SELECT [12个人信息].姓名, 信用卡号, "_s + a +
           u" FROM 16工资输出数据 INNER JOIN 12个人信息 ON [16工资输出数据].工号 = [12个人信息].工号"_s +
           u" WHERE Val("_s + a + u" & '')>0 AND [16工资输出数据].工作年月="_s + sqlTextLiteral(monthKey) +
           u" AND Val([12个人信息]![信用卡号] & ' ')>'0'"_s + u" ORDER by "_s + sortColumn;
}

}  // namespace slp::card
