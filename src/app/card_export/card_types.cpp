#include "app/card_export/card_types.h"

#include <array>

namespace slp::card {

namespace {

using namespace settings;

constexpr std::array<CardTypeInfo, 6> kCardTypes{{
    {u"中国银行长城卡", u"保存为长城卡格式", &key::GreatWallCardFile},
    {u"中国建设银行龙卡", u"保存为龙卡格式", &key::DragonCardFile},
    {u"中国人民邮政储蓄卡", u"保存为邮政卡格式", &key::PostalCardFile},
    {u"中国工商银行浦江卡", u"保存为浦江卡格式", &key::PujiangCardFile},
    {u"中国工商银行牡丹卡", u"保存为牡丹卡格式", &key::PeonyCardFile},
    {u"中国农业银行白玉兰卡", u"保存为白玉兰卡格式", &key::MagnoliaCardFile},
}};

constexpr std::array<SortChoice, 4> kSorts{{
    {SortOrder::ByEmployeeNumber, u"按职号排序", u"[16工资输出数据].工号", u"工号"},
    {SortOrder::ByDepartment, u"按部门排序", u"[16工资输出数据].部门号", u"部门"},
    {SortOrder::ByCardNumber, u"按信用卡号排序", u"[12个人信息].信用卡号", u"卡号"},
    {SortOrder::ByName, u"按姓名排序", u"[16工资输出数据].姓名", u"姓名"},
}};

}  // namespace

std::span<const CardTypeInfo> cardTypes() {
    return kCardTypes;
}

const CardTypeInfo* findCardType(QStringView type) {
    for (const CardTypeInfo& info : kCardTypes) {
        if (info.type == type) return &info;
    }
    return nullptr;
}

std::span<const SortChoice> sortChoices() {
    return kSorts;
}

const SortChoice* findSort(SortOrder order) {
    for (const SortChoice& s : kSorts) {
        if (s.order == order) return &s;
    }
    return nullptr;
}

const SortChoice* findSortWord(QStringView word) {
    for (const SortChoice& s : kSorts) {
        if (s.word == word) return &s;
    }
    return nullptr;
}

}  // namespace slp::card
