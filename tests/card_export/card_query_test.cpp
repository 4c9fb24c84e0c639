// The amount item's naming in the card export's query (its texts are golden files,
// tests/golden/queries), and the card types and orders its list and menus offer.
#include "app/card_export/card_query.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "app/card_export/card_types.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;
using namespace slp::card;

namespace {

TEST(CardQuery, NamesThatWouldNotReadAsOneColumnAreBracketed) {
    for (const QString& name : {u"实发工资"_s, u"Net_Pay2"_s, u"工资_2"_s, u"_x"_s, u"𠀋工资"_s}) {
        EXPECT_FALSE(amountNeedsBrackets(name)) << name.toStdString();
        EXPECT_EQ(amountColumn(name), name);
    }
    for (const QString& name :
         {u"实发-工资"_s, u"1月奖金"_s, u"实发 工资"_s, u"实发工资(元)"_s, u"Net.Pay"_s, u""_s}) {
        EXPECT_TRUE(amountNeedsBrackets(name)) << name.toStdString();
        EXPECT_EQ(amountColumn(name), u'[' + name + u']');
    }
    EXPECT_TRUE(cardQuery(u"1月奖金"_s, u"x"_s, u"m"_s).contains(u"Val([1月奖金] & '')>0"_s));
}

TEST(CardTypes, SixTypesInListOrderWithTheirCaptionsAndFileKeys) {
    const auto types = cardTypes();
    ASSERT_EQ(types.size(), 6u);
    const QStringList names{u"中国银行长城卡"_s,     u"中国建设银行龙卡"_s,   u"中国人民邮政储蓄卡"_s,
                            u"中国工商银行浦江卡"_s, u"中国工商银行牡丹卡"_s, u"中国农业银行白玉兰卡"_s};
    const QStringList prefixes{u"保存为长城卡格式"_s, u"保存为龙卡格式"_s,   u"保存为邮政卡格式"_s,
                               u"保存为浦江卡格式"_s, u"保存为牡丹卡格式"_s, u"保存为白玉兰卡格式"_s};
    const QStringList keys{u"长城卡文件"_s, u"龙卡文件"_s,   u"邮政卡文件"_s,
                           u"浦江卡文件"_s, u"牡丹卡文件"_s, u"白玉兰卡文件"_s};
    const QStringList defaults{u""_s, u"DFMX.TXT"_s, u"SEND.TXT"_s, u"SLFGTF"_s, u"SLFGTFC"_s, u"DFG2.DAT"_s};
    for (size_t i = 0; i < types.size(); ++i) {
        EXPECT_EQ(types[i].type, names[qsizetype(i)]);
        EXPECT_EQ(types[i].captionPrefix, prefixes[qsizetype(i)]);
        EXPECT_EQ(types[i].fileKey->key, keys[qsizetype(i)]);
        EXPECT_EQ(types[i].fileKey->defaultText, defaults[qsizetype(i)]);
        EXPECT_EQ(findCardType(names[qsizetype(i)]), &types[i]);
    }
    EXPECT_EQ(findCardType(u"中国银行长城"), nullptr);
    EXPECT_EQ(findCardType(u""), nullptr);
}

TEST(CardTypes, FourOrdersWithTheirCaptionsColumnsAndWords) {
    const auto sorts = sortChoices();
    ASSERT_EQ(sorts.size(), 4u);
    EXPECT_EQ(sorts[0].caption, u"按职号排序");
    EXPECT_EQ(sorts[0].column, u"[16工资输出数据].工号");
    EXPECT_EQ(sorts[1].caption, u"按部门排序");
    EXPECT_EQ(sorts[1].column, u"[16工资输出数据].部门号");
    EXPECT_EQ(sorts[2].caption, u"按信用卡号排序");
    EXPECT_EQ(sorts[2].column, u"[12个人信息].信用卡号");
    EXPECT_EQ(sorts[3].caption, u"按姓名排序");
    EXPECT_EQ(sorts[3].column, u"[16工资输出数据].姓名");
    for (size_t i = 0; i < sorts.size(); ++i) {
        EXPECT_EQ(sorts[i].order, SortOrder(i));
        EXPECT_EQ(findSort(sorts[i].order), &sorts[i]);
        EXPECT_EQ(findSortWord(sorts[i].word), &sorts[i]);
    }
    EXPECT_EQ(findSort(SortOrder(4)), nullptr);
    EXPECT_EQ(findSortWord(u"职号"), nullptr);
}

}  // namespace
