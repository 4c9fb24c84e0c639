#pragma once
// The card products the export window offers and the orders its sort menu gives, in menu and list order.
#include <QString>
#include <QStringView>
#include <span>

#include "settings/keys.h"

namespace slp::card {

struct CardTypeInfo {
    QStringView type;                 // the list text, also the stored "工资卡名称"
    QStringView captionPrefix;        // the file menu's caption before the file name
    const settings::KeyDef* fileKey;  // the settings key of the type's file name
};

// The six card types in list order: 长城卡, 龙卡, 邮政卡, 浦江卡, 牡丹卡, 白玉兰卡.
std::span<const CardTypeInfo> cardTypes();
// The entry of a list text; nullptr for any other text.
const CardTypeInfo* findCardType(QStringView type);

// The card type whose first field is the post-office number instead of the unit code.
inline constexpr QStringView kPostSavingsCard = u"中国人民邮政储蓄卡";

// The orders of the sort menu, in menu order.
enum class SortOrder { ByEmployeeNumber, ByDepartment, ByCardNumber, ByName };

struct SortChoice {
    SortOrder order;
    QStringView caption;  // "按职号排序", ...
    QStringView column;   // the qualified column the card query orders by
    QStringView word;     // the command line's name of the order: 工号, 部门, 卡号, 姓名
};

// The four orders of the sort menu, in menu order.
std::span<const SortChoice> sortChoices();
// The entry of an order; nullptr for a value that is no order.
const SortChoice* findSort(SortOrder order);
// The entry for a command-line word; nullptr for another word.
const SortChoice* findSortWord(QStringView word);

}  // namespace slp::card
