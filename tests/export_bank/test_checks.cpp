// The clerk's checks before writing: they report, they never change a byte.
#include <gtest/gtest.h>

#include "basic/scripted_prompts.h"
#include "card_grids.h"
#include "export/bank_card_writers.h"
#include "export/card_checks.h"

using namespace Qt::StringLiterals;
using namespace slp::bank;
using namespace slp::bank::test;

namespace {

std::string joined(const QStringList& list) {
    return list.join(u" / "_s).toStdString();
}

TEST(CardChecks, AConsistentGridGivesNoWarning) {
    EXPECT_TRUE(CheckCardFileInput(fiveEmployees(), CardFormat::Mudan).isEmpty())
        << joined(CheckCardFileInput(fiveEmployees(), CardFormat::Mudan));
    EXPECT_TRUE(CheckCardFileInput(emptyGrid(), CardFormat::Pujiang).isEmpty());
    EXPECT_TRUE(CheckCardFileInput(emptyGrid(), CardFormat::Baiyulan).isEmpty());
    // 龙卡 has no header: edited header fields do not matter to it.
    CardFileInput edited = fiveEmployees();
    edited.headCount = u"9"_s;
    edited.totalAmount = u"1.00"_s;
    EXPECT_TRUE(CheckCardFileInput(edited, CardFormat::Long).isEmpty())
        << joined(CheckCardFileInput(edited, CardFormat::Long));
}

TEST(CardChecks, EditedCountAndTotalThatNoLongerMatchTheGridNameBothFigures) {
    CardFileInput in = fiveEmployees();
    in.headCount = u" 6 "_s;
    in.totalAmount = u"101254.90"_s;
    EXPECT_EQ(
        CheckCardFileInput(in, CardFormat::Mudan),
        QStringList({u"入卡人数为6，而明细共有5人"_s, u"入卡金额为101254.90，而明细合计为101254.91元"_s}));

    in = fiveEmployeesBaiyulan();
    in.rows.removeLast();
    const QStringList w = CheckCardFileInput(in, CardFormat::Baiyulan);
    EXPECT_TRUE(w.contains(u"入卡人数为5，而明细共有4人"_s)) << joined(w);
    EXPECT_TRUE(w.contains(u"入卡金额为101296.91，而明细合计为101246.91元"_s)) << joined(w);
}

TEST(CardChecks, FieldsThatAreNoNumberOrNoDateAreReported) {
    CardFileInput in = fiveEmployees();
    in.headCount = u"五"_s;
    in.totalAmount = u"约十万"_s;
    in.creditDate = u"下月"_s;
    in.rows[2].amount = u"十万"_s;
    const QStringList mudan = CheckCardFileInput(in, CardFormat::Mudan);
    EXPECT_TRUE(mudan.contains(u"入卡人数“五”不是数字"_s)) << joined(mudan);
    EXPECT_TRUE(mudan.contains(u"入卡金额“约十万”不是数字，将按其开头的数值写入"_s)) << joined(mudan);
    EXPECT_TRUE(mudan.contains(u"进卡日期“下月”不是日期，将原样写入文件"_s)) << joined(mudan);
    EXPECT_TRUE(mudan.contains(u"第3行（王 五）的金额“十万”不是数字"_s)) << joined(mudan);

    const QStringList baiyulan = CheckCardFileInput(in, CardFormat::Baiyulan);
    EXPECT_TRUE(baiyulan.contains(u"入卡金额“约十万”不是有效的金额"_s)) << joined(baiyulan);
}

TEST(CardChecks, CardNumbersThatAreNotAllDigitsAreListed) {
    CardFileInput in = fiveEmployees();
    in.rows[0].cardNumber = u"6222-0000-1111"_s;
    in.rows[1].cardNumber = u""_s;
    // " 123456789012345 " of row 4 is trimmed by 牡丹卡 and 龙卡, written as stored by 白玉兰卡 and 邮政卡.
    const QStringList mudan = CheckCardFileInput(in, CardFormat::Mudan);
    EXPECT_EQ(mudan, QStringList({u"第1行（张三）的卡号“6222-0000-1111”不全是数字"_s,
                                  u"第2行（欧阳修）的卡号“”不全是数字"_s}));
    const QStringList post = CheckCardFileInput(in, CardFormat::PostSavings);
    EXPECT_TRUE(post.contains(u"第4行（李  四）的卡号“ 123456789012345 ”不全是数字"_s)) << joined(post);
}

TEST(CardChecks, NameFieldsThatWillNotHaveTheirFullWidthAreReported) {
    const QStringList baiyulan = CheckCardFileInput(fiveEmployeesBaiyulan(), CardFormat::Baiyulan);
    // "王 五" takes 11 bytes instead of 12; "李  四" with two blanks comes out right; " 12345 " is no number.
    EXPECT_TRUE(
        baiyulan.contains(u"第3行（王 五）的姓名“王 五”一栏将占11字节而不是12字节，该行其后各栏将错位"_s))
        << joined(baiyulan);
    EXPECT_EQ(baiyulan.filter(u"字节"_s).size(), 1) << joined(baiyulan);

    CardFileInput post = fiveEmployeesPost();
    post.rows[0].name = u"Tom"_s;
    const QStringList p = CheckCardFileInput(post, CardFormat::PostSavings);
    EXPECT_TRUE(p.contains(u"第1行（Tom）的姓名“Tom”一栏将占7字节而不是10字节，该行其后各栏将错位"_s))
        << joined(p);

    CardFileInput unit = emptyGrid();
    unit.unitName = u"ABC公司"_s;
    EXPECT_EQ(CheckCardFileInput(unit, CardFormat::Baiyulan),
              QStringList{u"单位名称栏将占29字节而不是32字节，表头其后各栏将错位"_s});
}

TEST(CardChecks, LongCardNamesWithACommaAreReported) {
    CardFileInput in = fiveEmployees();
    in.rows[0].name = u"张,三"_s;
    EXPECT_EQ(CheckCardFileInput(in, CardFormat::Long),
              QStringList{u"第1行（张,三）的姓名“张,三”含有逗号，与文件的分隔符相同"_s});
}

TEST(CardChecks, ChangeNoByteOfTheFile) {
    CardFileInput in = fiveEmployees();
    in.headCount = u"6"_s;
    const QByteArray before = MudanCardBytes(in);
    EXPECT_FALSE(CheckCardFileInput(in, CardFormat::Mudan).isEmpty());
    EXPECT_EQ(MudanCardBytes(in), before);
}

}  // namespace
