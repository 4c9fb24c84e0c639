// The rules of the layouts one at a time: header fields, card-number fitting, fen amounts, name blanks.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "card_grids.h"
#include "export/bank_card_writers.h"
#include "export/card_fields.h"
#include "golden.h"

using namespace Qt::StringLiterals;
using namespace slp::bank;
using namespace slp::bank::test;

namespace {

CardFileInput oneRow(const QString& name, const QString& card, const QString& amount) {
    CardFileInput in = emptyGrid();
    in.headCount = u"1"_s;
    in.totalAmount = amount;
    in.rows = {{name, card, amount}};
    return in;
}

// The data lines of a file without its header line.
QByteArray afterHeader(const QByteArray& bytes) {
    return bytes.mid(bytes.indexOf("\r\n") + 2);
}

#define EXPECT_BYTES(actual, notation) EXPECT_EQ(showBytes(actual), showBytes(parseGolden(notation)))

TEST(MudanHeader, FieldsAreTrimmedCutFormattedAndReadByTheirLeadingNumber) {
    CardFileInput in = emptyGrid();
    in.unitCode = u"  ABCDEFGHIJ "_s;  // cut to 7
    in.creditDate = u" 2000/4/5 "_s;
    in.headCount = u" 7 "_s;
    in.totalAmount = u"abc"_s;  // no leading number: 0
    EXPECT_BYTES(MudanCardBytes(in), u"F| |ABCDEFG| |20000405| |00007| |00000000000| |0|\\r\\n"_s);

    in.totalAmount = u"12.5元"_s;
    in.creditDate = u"下月25日"_s;  // no date: written as typed
    in.unitCode = u""_s;
    EXPECT_BYTES(MudanCardBytes(in), u"F| |{7}| |下月25日| |00007| |00000001250| |0|\\r\\n"_s);

    in.totalAmount = u" 1 234.5"_s;  // blanks inside a leading number are skipped
    in.creditDate = u"20000425"_s;
    EXPECT_BYTES(PujiangCardBytes(in), u"F| |{7}| |20000425| |00007| |00000123450| |0|\\r\\n"_s);

    // A count or total wider than its field is refused, never written wider.
    in.headCount = u"123456"_s;
    EXPECT_THROW(MudanCardBytes(in), slp::Error);
    in.headCount = u"7"_s;
    in.totalAmount = u"1000000000"_s;  // 12 fen digits in 11
    EXPECT_THROW(MudanCardBytes(in), slp::Error);
    in.totalAmount = u"99999999999999999999"_s;
    EXPECT_THROW(BaiyulanCardBytes(in), slp::Error);
}

TEST(MudanCardNumber, IsFittedToTwelveCharacters) {
    // A number the twelve characters would cut (other than the 16 the bank shortens itself) is refused.
    const struct {
        const char16_t* card;
        const char16_t* expected;  // nullptr: refused
    } cases[] = {
        {u"", u"{12}"},
        {u"12345678901", u"12345678901{1}"},
        {u"123456789012", u"123456789012"},
        {u"123456789012345", nullptr},
        {u"ABCDEFGHIJKLMNOP", u"AFGHIJKLMNOP"},     // 16: characters 2 to 5 dropped
        {u" ABCDEFGHIJKLMNOP  ", u"AFGHIJKLMNOP"},  // trimmed first
        {u"12345678901234567", nullptr},
    };
    for (const auto& c : cases) {
        const QString card = QString::fromUtf16(c.card);
        const CardFileInput in = oneRow(u"张三"_s, card, u"1.00"_s);
        if (!c.expected) {
            EXPECT_THROW(MudanCardBytes(in), slp::Error) << card.toStdString();
            continue;
        }
        EXPECT_BYTES(afterHeader(MudanCardBytes(in)), QString::fromUtf16(c.expected) + u"| |0000100|\\r\\n"_s)
            << card.toStdString();
    }
}

TEST(LongCardNumber, IsRightAlignedInSixteenOrWrittenWhole) {
    EXPECT_BYTES(LongCardBytes(oneRow(u"张三"_s, u"12345678901234567"_s, u" 7.00"_s)),
                 u"12345678901234567|,,|张三|,,| 7.00|\\r\\n"_s);
    EXPECT_BYTES(LongCardBytes(oneRow(u"张三"_s, u"1"_s, u"7.00"_s)), u"{15}1|,,|张三|,,|7.00|\\r\\n"_s);
}

TEST(BaiyulanHeader, UnitNameFillsThirtyTwoBytesOrIsCutAtSixteenCharacters) {
    CardFileInput in = emptyGrid();
    in.unitName = u"上海市朔岚软件开发有限公司财务部门"_s;  // 17 characters
    in.totalAmount = u" 12.00 "_s;
    in.headCount = u" 3 "_s;
    in.creditDate = u"不是日期"_s;
    EXPECT_BYTES(BaiyulanCardBytes(in),
                 u"12345|0000000001200|00003|上海市朔岚软件开发有限公司财务部|不是日期|{10}|\\r\\n"_s);
    in.unitName = u"上海市朔岚软件开发有限公司财务"_s;  // 15 characters: 2 blanks
    EXPECT_BYTES(BaiyulanCardBytes(in),
                 u"12345|0000000001200|00003|上海市朔岚软件开发有限公司财务{2}|不是日期|{10}|\\r\\n"_s);
    in.unitName.clear();
    EXPECT_BYTES(BaiyulanCardBytes(in), u"12345|0000000001200|00003|{32}|不是日期|{10}|\\r\\n"_s);
}

TEST(BaiyulanNames, BlanksFillTheFieldToTwelveBytes) {
    // A full-width blank is a character like any other: 3 characters, no U+0020.
    EXPECT_BYTES(afterHeader(BaiyulanCardBytes(oneRow(u"王　五"_s, u"1"_s, u"1.00"_s))),
                 u"0001|王　五{6}|0000000000100|1{17}|{53}|\\r\\n"_s);
    // Three blanks in six characters take 9 bytes: 3 blanks fill the field.
    EXPECT_BYTES(afterHeader(BaiyulanCardBytes(oneRow(u"王  小 五"_s, u"1"_s, u"1.00"_s))),
                 u"0001|王{2}小{1}五{3}|0000000000100|1{17}|{53}|\\r\\n"_s);
    // Six characters fill the field exactly.
    EXPECT_BYTES(afterHeader(BaiyulanCardBytes(oneRow(u"爱新觉罗溥仪"_s, u""_s, u"1.00"_s))),
                 u"0001|爱新觉罗溥仪|0000000000100|{18}|{53}|\\r\\n"_s);
}

TEST(PostSavings, PostOfficeNumberIsCutToSevenOrFilledWithZeros) {
    slp::ScriptedPrompts prompts;
    CardFileInput in = oneRow(u"张三"_s, u"12345678"_s, u"1.00"_s);
    const struct {
        const char16_t* office;
        const char16_t* written;
    } cases[] = {
        {u"310012345", u"3100123"}, {u" 3100123 ", u"3100123"}, {u"31001", u"3100100"}, {u"", u"0000000"}};
    for (const auto& c : cases) {
        in.unitCode = QString::fromUtf16(c.office);
        EXPECT_BYTES(PostSavingsCardBytes(in, prompts), u"00001|张三{6}|12345678|000000000100|00000000|"_s +
                                                            QString::fromUtf16(c.written) + u"\\r\\n"_s)
            << in.unitCode.toStdString();
    }
    EXPECT_TRUE(prompts.asked.isEmpty());
}

TEST(FenAmounts, AreExactAndRoundAFractionOfAFenHalfAwayFromZero) {
    const FieldRef where = FieldRef::cell(u"金额"_s, 1, u"张三");
    const struct {
        const char16_t* text;
        const char* fen;
    } cases[] = {
        {u"1234.56", "123456"}, {u"0.05", "5"},    {u"0", "0"},
        {u"12", "1200"},        {u".5", "50"},     {u"+3.1", "310"},
        {u" 8.00 ", "800"},     {u"1.005", "101"}, {u"1.0049", "100"},
        {u"1e3", "100000"},     {u"-0.00", "0"},   {u"123456789012345678.99", "12345678901234567899"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fenOfAmount(QString::fromUtf16(c.text), where), QString::fromLatin1(c.fen))
            << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(fenOfLeadingValue(u"3.5元", where), u"350"_s);
    EXPECT_EQ(fenOfLeadingValue(u"", where), u"0"_s);
}

TEST(FieldWidths, ANameFillsItsFieldToTheByteWhateverItHolds) {
    // A Chinese character takes two bytes, a letter or a blank one: the field always ends at its width.
    const struct {
        const char16_t* name;
        qsizetype field;
        qsizetype blanks;
    } cases[] = {
        {u"张三", 12, 8},   {u"张三", 10, 6},   {u"王 五", 12, 7},        {u"王 五", 10, 5},
        {u"李  四", 12, 6}, {u"李  四", 10, 4}, {u"Tom", 10, 7},          {u"Jonathan", 12, 4},
        {u"", 10, 10},      {u"王 a", 10, 6},   {u"爱新觉罗溥仪", 12, 0},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        CardFileBuilder file;
        file.putInField(name, c.field, FieldRef::cell(u"姓名"_s, 1, name), u"字节"_s);
        QByteArray expected;
        GbkEncoder().encode(name, expected);
        expected += QByteArray(c.blanks, ' ');
        EXPECT_EQ(file.bytes(), expected) << name.toStdString();
        EXPECT_EQ(file.bytes().size(), c.field) << name.toStdString();
    }
}

TEST(FieldWidths, ANameLongerThanItsFieldIsRefusedAndLeavesNothing) {
    const struct {
        const char16_t* name;
        qsizetype field;
    } cases[] = {
        {u"爱新觉罗溥仪", 10}, {u"爱新觉罗溥仪觉", 12}, {u"Christopher X", 12}, {u"王 五 六 七", 10}};
    for (const auto& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        CardFileBuilder file;
        file.putAscii(u"0001");
        EXPECT_THROW(file.putInField(name, c.field, FieldRef::cell(u"姓名"_s, 1, name), u"字节"_s),
                     slp::Error)
            << name.toStdString();
        EXPECT_EQ(file.bytes(), QByteArray("0001")) << name.toStdString();
    }
}

TEST(CardFormats, TypesOfTheWindowListMapToTheirWriters) {
    EXPECT_EQ(cardFormatForType(u"中国工商银行牡丹卡"), CardFormat::Mudan);
    EXPECT_EQ(cardFormatForType(u"中国工商银行浦江卡"), CardFormat::Pujiang);
    EXPECT_EQ(cardFormatForType(u"中国农业银行白玉兰卡"), CardFormat::Baiyulan);
    EXPECT_EQ(cardFormatForType(u"中国建设银行龙卡"), CardFormat::Long);
    EXPECT_EQ(cardFormatForType(u"中国人民邮政储蓄卡"), CardFormat::PostSavings);
    EXPECT_EQ(cardFormatForType(u"中国银行长城卡"), std::nullopt);
    EXPECT_EQ(cardFormatForType(u""), std::nullopt);

    QTemporaryDir dir;
    slp::ScriptedPrompts prompts;
    const struct {
        CardFormat format;
        CardFileInput input;
        const char16_t* golden;
    } cases[] = {
        {CardFormat::Mudan, fiveEmployees(), u"mudan.golden"},
        {CardFormat::Pujiang, fiveEmployees(), u"mudan.golden"},
        {CardFormat::Baiyulan, fiveEmployeesBaiyulan(), u"baiyulan.golden"},
        {CardFormat::Long, fiveEmployeesLong(), u"long.golden"},
        {CardFormat::PostSavings, fiveEmployeesPost(), u"post_savings.golden"},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromUtf16(c.golden) + u".out"_s);
        WriteBankCardFile(c.format, c.input, prompts, path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), goldenBytes(QString::fromUtf16(c.golden))) << path.toStdString();
    }
}

}  // namespace
