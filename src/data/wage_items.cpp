#include "data/wage_items.h"

#include <algorithm>

#include "basic/conversions.h"
#include "basic/host_text.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp::data {

QString wageItemsQuery(const QString& monthKey) {
    return u"select * from 14工资输出及公式 where 工作年月="_s + sqlTextLiteral(monthKey) +
           u" order by 项目序号"_s;
}

QString itemFormatFor(double decimalPlaces) {
    if (decimalPlaces == 0) return u"0"_s;
    if (decimalPlaces == 1) return u"0.0"_s;
    if (decimalPlaces == 2) return u"0.00"_s;
    return QString();
}

int16_t printedWidth(double halfWidths) {
    const int16_t chars = toInt16(halfWidths / 2);
    return std::max<int16_t>(chars, 0);
}

QString noPrintedItemMessage() {
    return u"没有可打印的工资项目：本月所有工资项目的打印宽度都为0、为空或太窄，打印时都被略去。"
           u"请在本月工资项目（14工资输出及公式）的“打印宽度”中设置后再打印。"_s;
}

bool LoadWageItems(Database& database, const QString& monthKey, Prompts& prompts, WageCatalogue& catalogue) {
    ResultSet rs = database.open(wageItemsQuery(monthKey));
    if (rs.eof()) {
        rs.close();
        prompts.messageBox(u"未找到本月计算公,请先设置本月公式!"_s, QString(), MessageIcon::Warning,
                           MessageButtons::Ok);
        return false;
    }
    rs.moveLast();
    // Built aside and swapped in at the end, so a failure half-way leaves the window's catalogue whole.
    WageCatalogue loaded;
    loaded.itemCount = toInt16(double(rs.recordCount()));
    loaded.firstAmountIndex = catalogue.firstAmountIndex;
    bool amountFound = false;
    for (int i = 0; i < loaded.itemCount; ++i) {
        rs.setAbsolutePosition(i);
        loaded.itemName << rs.text(u"项目名称");
        const double places = rs.number(u"小数位数");
        if (places > 0 && !amountFound) {
            loaded.firstAmountIndex = int16_t(i);
            amountFound = true;
        }
        loaded.itemFormat << itemFormatFor(places);
        loaded.itemWidth << printedWidth(rs.number(u"打印宽度"));
    }
    rs.close();
    catalogue = std::move(loaded);
    return true;
}

}  // namespace slp::data
