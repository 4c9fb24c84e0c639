// The clerk's checks before writing: they report, they never change a byte.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "basic/error.h"
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
    in.rows.setAmount(2, u"十万");
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
    in.rows.setCardNumber(0, u"6222-0000-1111");
    in.rows.setCardNumber(1, u"");
    // " 1234567890 " of row 4 is trimmed by 牡丹卡 and 龙卡, written as stored by 白玉兰卡 and 邮政卡.
    const QStringList mudan = CheckCardFileInput(in, CardFormat::Mudan);
    EXPECT_EQ(mudan, QStringList({u"第1行（张三）的卡号“6222-0000-1111”不全是数字"_s,
                                  u"第2行（欧阳修）的卡号“”不全是数字"_s}));
    const QStringList post = CheckCardFileInput(in, CardFormat::PostSavings);
    EXPECT_TRUE(post.contains(u"第4行（李  四）的卡号“ 1234567890 ”不全是数字"_s)) << joined(post);
}

TEST(CardChecks, NamesWithBlanksOrLettersAskNothing) {
    // Every name fills its field to the byte, so a name with one blank or of letters shifts nothing and
    // needs no question before the file is written.
    EXPECT_TRUE(
        CheckCardFileInput(fiveEmployeesBaiyulan(), CardFormat::Baiyulan).filter(u"姓名"_s).isEmpty());

    CardFileInput post = fiveEmployeesPost();
    post.rows.setName(0, u"Tom");
    EXPECT_TRUE(CheckCardFileInput(post, CardFormat::PostSavings).filter(u"姓名"_s).isEmpty());

    CardFileInput unit = emptyGrid();
    unit.unitName = u"ABC公司"_s;
    EXPECT_TRUE(CheckCardFileInput(unit, CardFormat::Baiyulan).isEmpty());
}

TEST(CardChecks, LongCardNamesWithACommaAreReported) {
    CardFileInput in = fiveEmployees();
    in.rows.setName(0, u"张,三");
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

namespace {

// A card number the format's field would cut is refused before a byte is written, naming every such
// employee; what the field holds (and the 龙卡's longer numbers, written whole) passes.
TEST(CardChecks, CardNumbersTheFieldWouldCutAreRefusedBeforeWriting) {
    const struct {
        CardFormat format;
        QString fits;
        QString cut;  // empty: the format cuts nothing
    } cases[] = {
        {CardFormat::Mudan, u"1234567890123456"_s, u"1234567890123"_s},
        {CardFormat::Pujiang, u" 123456789012 "_s, u"9558801234567890123"_s},
        {CardFormat::Baiyulan, u"622848001000000001"_s, u"6228480010000000012"_s},
        {CardFormat::PostSavings, u"62284800"_s, u"622848001"_s},
        {CardFormat::Long, u"9558801234567890123"_s, QString()},
    };
    QTemporaryDir dir;
    slp::ScriptedPrompts prompts;
    for (const auto& c : cases) {
        CardFileInput in = c.format == CardFormat::Baiyulan ? fiveEmployeesBaiyulan() : fiveEmployees();
        for (qsizetype i = 0; i < in.rows.size(); ++i) in.rows.setCardNumber(i, c.fits);
        EXPECT_TRUE(CutCardNumbers(in, c.format).isEmpty()) << joined(CutCardNumbers(in, c.format));
        if (c.cut.isEmpty()) continue;

        // Twelve rows too long: the first ten named, then how many in all.
        in.rows.setCardNumber(2, c.cut);
        while (in.rows.size() < 16) in.rows.append({u"孙七"_s, c.cut, u"1.00"_s});
        const QStringList cut = CutCardNumbers(in, c.format);
        ASSERT_EQ(cut.size(), 12) << joined(cut);
        EXPECT_EQ(cut[0],
                  u"第3行（王 五）的卡号“"_s + c.cut.trimmed() + u"”（%1位）"_s.arg(c.cut.trimmed().size()));
        const QString path = dir.filePath(u"card.txt"_s);
        try {
            WriteBankCardFile(c.format, in, prompts, path);
            ADD_FAILURE() << "written with a cut card number, format " << int(c.format);
        } catch (const slp::Error& e) {
            EXPECT_TRUE(e.description().contains(cut[0] + u'\n')) << e.description().toStdString();
            EXPECT_TRUE(e.description().contains(cut[9] + u'\n')) << e.description().toStdString();
            EXPECT_FALSE(e.description().contains(cut[10])) << e.description().toStdString();
            EXPECT_TRUE(e.description().endsWith(u"……共12人"_s)) << e.description().toStdString();
        }
        EXPECT_FALSE(QFile::exists(path));
    }
}

TEST(CardChecks, AnEmptyUnitCodeIsReportedForTheFormatsWithOneInTheHeader) {
    CardFileInput in = fiveEmployees();
    in.unitCode = u"  "_s;
    for (CardFormat f : {CardFormat::Mudan, CardFormat::Pujiang}) {
        EXPECT_TRUE(CheckCardFileInput(in, f).contains(u"单位代码为空，文件表头的单位代码将是空白"_s));
    }
    EXPECT_FALSE(CheckCardFileInput(in, CardFormat::Long).join(u' ').contains(u"单位代码"_s));
}

}  // namespace
