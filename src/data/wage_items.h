#pragma once
// The month's wage item catalogue: which items the month's wage table has, in item order, with their
// number formats and printed widths. Every wage window loads it before it fills its grid.
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "basic/error.h"
#include "basic/prompts.h"

namespace slp::data {

class Database;

// One item of the catalogue.
struct WageItem {
    QString itemName;       // 项目名称: the item's column in 16工资输出数据 and its caption
    QString itemFormat;     // "0", "0.0", "0.00" or empty (the value's plain text)
    int16_t itemWidth = 0;  // printed width in full-width characters
};

// A window's catalogue: three parallel arrays indexed 0 .. itemCount - 1 in 项目序号 order, plus the
// index of the first amount item.
struct WageCatalogue {
    QStringList itemName;
    QStringList itemFormat;
    QList<int16_t> itemWidth;
    int16_t itemCount = 0;
    // Index of the first item with decimal places; the items before it are the leading text items.
    int16_t firstAmountIndex = 0;

    WageItem item(int index) const { return {itemName[index], itemFormat[index], itemWidth[index]}; }
    // The name of item k; a subscript error when there is none.
    const QString& nameAt(int k) const {
        if (k < 0 || k >= itemName.size()) throw SubscriptError();
        return itemName[k];
    }
    bool isAmount(int index) const { return index >= firstAmountIndex; }
};

// The catalogue query of a month, exactly as the windows write it.
QString wageItemsQuery(const QString& monthKey);

// Format of an item's values from its decimal places: exactly 0, 1 or 2 give "0", "0.0", "0.00";
// anything else (3, 1.5, -1) the empty format.
QString itemFormatFor(double decimalPlaces);

// The printed width in full-width characters of an item whose 打印宽度 (in half-width characters) is
// `halfWidths`: half of it, rounded half to even. Zero or empty gives 0, a column the print engine leaves
// out: that is how a month keeps a working item off the printed tables and slips. A negative width is
// never drawn, so it is 0 as well; a width beyond 16 bits raises the overflow error.
int16_t printedWidth(double halfWidths);

// Said before a print of the wage table, slips, strips or payment table is refused because every wage
// item's column would be left out: no item of the month has a print width.
QString noPrintedItemMessage();

// Loads the catalogue of the month (monthKey: workYear & "-" & workMonth). When the month has no items,
// shows "未找到本月计算公,请先设置本月公式!" (warning icon, no title, OK), leaves the catalogue as it was
// and returns false. Item widths are printedWidth's of 打印宽度. firstAmountIndex keeps its earlier value
// when no item has decimal places. Database faults and an item count beyond 16 bits raise their errors and
// leave the catalogue untouched.
bool LoadWageItems(Database& database, const QString& monthKey, Prompts& prompts, WageCatalogue& catalogue);

}  // namespace slp::data
