// The key table and the typed reads and writes of one setting.
#include "settings/keys.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QTemporaryDir>

#include "basic/error.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp::settings;

namespace {

class SettingsKeys : public ::testing::Test {
  protected:
    QTemporaryDir home;
    Store store{home.path() + u"/Sl_PAYPRN"_s};
};

TEST(SettingsKeyTable, EveryRowIsDistinctAndNamesItsForm) {
    const auto table = keyTable();
    EXPECT_EQ(table.size(), 37u);
    QSet<QString> seen;
    for (const KeyDef& def : table) {
        const Setting s = resolve(def, u"0101"_s, u"V"_s);
        EXPECT_FALSE(s.key.isEmpty());
        const QString address = s.app + u'|' + s.section + u'|' + s.key;
        EXPECT_FALSE(seen.contains(address)) << address.toStdString();
        seen.insert(address);
    }
    // Defaults as the windows expect them.
    EXPECT_EQ(key::ShowZeros.defaultText, u"1");
    EXPECT_EQ(key::ShowZeros.kind, ValueKind::Flag16);
    EXPECT_EQ(key::PaymentRowHeight.key, u" 行高");
    EXPECT_EQ(key::PaymentRowHeight.defaultText, u"360");
    EXPECT_EQ(key::HorizontalRules.kind, ValueKind::YesNo);
    EXPECT_EQ(key::PrintSignOff.kind, ValueKind::TrueFalse);
    EXPECT_EQ(key::LinesPerPage.kind, ValueKind::Integer16);
    EXPECT_EQ(key::OriginX.kind, ValueKind::Single);
    EXPECT_TRUE(key::CardFileFolder.callerDefault);
}

TEST(SettingsKeyTable, SectionsAreBuiltFromReportKindAndCaption) {
    EXPECT_EQ(resolve(key::ColumnsPerLine, u"0101"_s, u"工资条"_s).section, u"汇总表工资条设置"_s);
    EXPECT_EQ(resolve(key::ColumnsPerLine, u"0101"_s, QString()).section, u"汇总表设置"_s);
    EXPECT_EQ(resolve(key::ColumnsPerLine, u"0101"_s).app, u"0101GZGL"_s);
    EXPECT_EQ(resolve(key::OriginX, u"0101"_s, u"工资条"_s).section, u"工资条打印设置"_s);
    EXPECT_EQ(resolve(key::OriginX, u"0101"_s, u"工资条"_s).app, u"Sl_PAYPRN"_s);
    EXPECT_EQ(resolve(key::OriginX, u"0101"_s).section, u"打印设置"_s);
    EXPECT_EQ(resolve(key::SplitterLeft, u"0101"_s, u"班组签收联"_s).section, u"班组签收联SETTINGS"_s);
    EXPECT_EQ(resolve(key::MainLeft, u"0101"_s, u"特殊打印设置"_s).section, u"特殊打印设置Settings"_s);
    EXPECT_EQ(resolve(key::LineWidth, u"0101"_s, u"ignored"_s).section, u"汇总表设置"_s);
    EXPECT_EQ(resolve(key::ShowZeros, QString()).app, u"GZ"_s);
    EXPECT_EQ(resolve(key::PaperWidthGZGL, QString()).app, u"GZGL"_s);
    EXPECT_EQ(resolve(key::PaperWidth, u"0101"_s).app, u"0101GZ"_s);
}

TEST(SettingsNumbers, DecimalTextOnly) {
    EXPECT_EQ(parseStoredNumber(u"24"), 24.0);
    EXPECT_EQ(parseStoredNumber(u" 24 "), 24.0);
    EXPECT_EQ(parseStoredNumber(u"\t-0.5"), -0.5);
    EXPECT_EQ(parseStoredNumber(u"+1e3"), 1000.0);
    EXPECT_EQ(parseStoredNumber(u"2.5E-1"), 0.25);
    EXPECT_EQ(parseStoredNumber(u".5"), 0.5);
    EXPECT_EQ(parseStoredNumber(u"5."), 5.0);
    for (QStringView bad : {u"abc", u"", u"  ", u"12abc", u"1 2", u"1,5", u"&H10", u"0x10", u"1e", u"e5",
                            u".", u"-", u"inf", u"nan", u"１２", u"1e+"}) {
        EXPECT_FALSE(parseStoredNumber(bad).has_value()) << bad.toString().toStdString();
    }
    EXPECT_TRUE(std::isinf(*parseStoredNumber(u"1e400")));
    EXPECT_EQ(*parseStoredNumber(u"1e-400"), 0.0);
}

TEST_F(SettingsKeys, IntegerReadsRoundHalvesToEvenAndReportBadText) {
    const Setting s = resolve(key::ColumnsPerLine, u"0101"_s, u"工资条"_s);
    EXPECT_EQ(readInt16(store, s), 24);
    const struct {
        QString text;
        int expected;
    } good[] = {{u" 30 "_s, 30},     {u"2.5"_s, 2},         {u"3.5"_s, 4},  {u"-2.5"_s, -2},
                {u"32767"_s, 32767}, {u"-32768"_s, -32768}, {u"1e2"_s, 100}};
    for (const auto& [text, expected] : good) {
        writeText(store, s, text);
        EXPECT_EQ(readInt16(store, s), expected) << text.toStdString();
    }
    writeText(store, s, u"abc"_s);
    try {
        readInt16(store, s);
        ADD_FAILURE() << "no conversion failure";
    } catch (const slp::ConversionError& e) {
        EXPECT_EQ(e.number(), slp::errnum::TypeMismatch);
        EXPECT_TRUE(e.description().contains(u"每行列数"_s)) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(u"abc"_s));
        EXPECT_TRUE(e.description().contains(u"汇总表工资条设置"_s));
    }
    for (const QString& text : {u"32768"_s, u"-32769"_s, u"1e400"_s}) {
        writeText(store, s, text);
        EXPECT_THROW(readInt16(store, s), slp::OverflowError) << text.toStdString();
    }
    writeText(store, s, QString());
    EXPECT_THROW(readInt16(store, s), slp::ConversionError);
}

TEST_F(SettingsKeys, SingleReadsAndPlainDecimalWrites) {
    const Setting s = resolve(key::OriginX, QString(), u"工资条"_s);
    EXPECT_EQ(readSingle(store, s), 300.0f);
    writeSingle(store, s, 300.5f);
    EXPECT_EQ(readText(store, s), u"300.5"_s);
    EXPECT_EQ(readSingle(store, s), 300.5f);
    writeSingle(store, s, 0.1f);
    EXPECT_EQ(readText(store, s), u"0.1"_s);
    writeSingle(store, s, 1200.0f);
    EXPECT_EQ(readText(store, s), u"1200"_s);
    writeText(store, s, u"1e39"_s);
    EXPECT_THROW(readSingle(store, s), slp::OverflowError);
    writeText(store, s, u"三百"_s);
    EXPECT_THROW(readSingle(store, s), slp::ConversionError);
    writeInt16(store, resolve(key::LinesPerPage, QString(), u"工资条"_s), -40);
    EXPECT_EQ(readText(store, resolve(key::LinesPerPage, QString(), u"工资条"_s)), u"-40"_s);
}

TEST_F(SettingsKeys, TwoStateForms) {
    const Setting tf = resolve(key::PrintSignOff, u"0101"_s, QString());
    EXPECT_FALSE(readTrueFalse(store, tf));
    writeTrueFalse(store, tf, true);
    EXPECT_EQ(readText(store, tf), u"True"_s);
    EXPECT_TRUE(readTrueFalse(store, tf));
    writeTrueFalse(store, tf, false);
    EXPECT_EQ(readText(store, tf), u"False"_s);
    for (const QString& text : {u"1"_s, u"-1"_s, u"2"_s, u"true"_s}) {
        writeText(store, tf, text);
        EXPECT_TRUE(readTrueFalse(store, tf)) << text.toStdString();
    }
    writeText(store, tf, u"0"_s);
    EXPECT_FALSE(readTrueFalse(store, tf));
    writeText(store, tf, u"是"_s);
    EXPECT_THROW(readTrueFalse(store, tf), slp::ConversionError);

    const Setting yn = resolve(key::VerticalRules, u"0101"_s, QString());
    EXPECT_TRUE(readYesNo(store, yn));
    writeYesNo(store, yn, false);
    EXPECT_EQ(readText(store, yn), u"否"_s);
    EXPECT_FALSE(readYesNo(store, yn));
    writeYesNo(store, yn, true);
    EXPECT_EQ(readText(store, yn), u"是"_s);
    for (const QString& text : {u"True"_s, u"1"_s, u" 是"_s, u"yes"_s}) {
        writeText(store, yn, text);
        EXPECT_FALSE(readYesNo(store, yn)) << text.toStdString();  // on only for exactly "是"
    }

    const Setting flag = resolve(key::ShowZeros, u"0101"_s);
    EXPECT_TRUE(readFlag(store, flag));  // the default "1"
    writeFlag(store, flag, false);
    EXPECT_EQ(readText(store, flag), u"0"_s);
    EXPECT_FALSE(readFlag(store, flag));
    writeFlag(store, flag, true);
    EXPECT_EQ(readText(store, flag), u"-1"_s);
    EXPECT_TRUE(readFlag(store, flag));
}

TEST_F(SettingsKeys, ACallerDefaultReplacesTheTableDefault) {
    const Setting folder = resolve(key::CardFileFolder, u"0101"_s).withDefault(u"/opt/slpayprn/"_s);
    EXPECT_EQ(readText(store, folder), u"/opt/slpayprn/"_s);
    writeText(store, folder, u"/home/clerk/bank"_s);
    EXPECT_EQ(readText(store, folder), u"/home/clerk/bank"_s);
}

}  // namespace
