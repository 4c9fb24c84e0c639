// Formatting of texts (numbers and dates typed into fields) and the date forms the system reads.
#include <gtest/gtest.h>

#include <QDate>
#include <QString>
#include <cmath>
#include <random>

#include "basic/conversions.h"
#include "basic/error.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;

namespace {

struct TextCase {
    QString text;
    QString pattern;
    QString expected;
};

TEST(FormatText, NumericTextsAreFormattedAsNumbers) {
    const TextCase cases[] = {
        {u"42"_s, u"00000"_s, u"00042"_s},
        {u" 42 "_s, u"00000"_s, u"00042"_s},
        {u"\t42\n"_s, u"00000"_s, u"00042"_s},
        {u"2.675"_s, u"0.00"_s, u"2.68"_s},
        {u"-0.001"_s, u"0.00"_s, u"0.00"_s},
        {u"1e3"_s, u"0"_s, u"1000"_s},
        {u"&H1F"_s, u"0"_s, u"31"_s},
        {u"+7"_s, u"0.0"_s, u"7.0"_s},
        {u"007"_s, u""_s, u"7"_s},
        {u".5"_s, u"#.##"_s, u".5"_s},
        {u"123456789012.34"_s, u"0.00"_s, u"123456789012.34"_s},
        {u"\u3000"
         "15\u3000"_s,
         u"0000"_s, u"0015"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.pattern.toStdString());
        EXPECT_EQ(slp::formatText(c.text, c.pattern), c.expected);
    }
}

TEST(FormatText, OtherTextsStayUnchanged) {
    const TextCase cases[] = {
        {u"abc"_s, u"0.00"_s, u"abc"_s},    {u"12abc"_s, u"00000"_s, u"12abc"_s},
        {u"1 2"_s, u"0"_s, u"1 2"_s},       {u""_s, u"00000"_s, u""_s},
        {u"  "_s, u"0.00"_s, u"  "_s},      {u"1e"_s, u"0"_s, u"1e"_s},
        {u"."_s, u"0"_s, u"."_s},           {u"-"_s, u"0"_s, u"-"_s},
        {u"1.2.3"_s, u"0.0"_s, u"1.2.3"_s}, {u"&H"_s, u"0"_s, u"&H"_s},
        {u"张三"_s, u"0.00"_s, u"张三"_s},  {u"2000-04-25"_s, u"0.00"_s, u"2000-04-25"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.pattern.toStdString());
        EXPECT_EQ(slp::formatText(c.text, c.pattern), c.expected);
    }
}

TEST(FormatText, DatePatterns) {
    const TextCase cases[] = {
        {u"2000-04-25"_s, u"yyyymmdd"_s, u"20000425"_s},
        {u"2000-04-25"_s, u"YYYYMMDD"_s, u"20000425"_s},
        {u"2000-04-25"_s, u"YY-MM"_s, u"00-04"_s},
        {u"2003-5-7"_s, u"YY-MM"_s, u"03-05"_s},
        {u"2003/05/07"_s, u"yyyy-mm-dd"_s, u"2003-05-07"_s},
        {u"20030507"_s, u"yyyymmdd"_s, u"20030507"_s},
        {u" 2000-04-25 "_s, u"yyyymmdd"_s, u"20000425"_s},
        {u"1999-12-31"_s, u"yy-mm"_s, u"99-12"_s},
        {u"2000-02-29"_s, u"yyyymmdd"_s, u"20000229"_s},
        // No date: returned as given, even when it reads as a number.
        {u"2000-02-30"_s, u"yyyymmdd"_s, u"2000-02-30"_s},
        {u"abc"_s, u"yyyymmdd"_s, u"abc"_s},
        {u"25"_s, u"YY-MM"_s, u"25"_s},
        {u"20001325"_s, u"YYYYMMDD"_s, u"20001325"_s},
        {u""_s, u"yyyymmdd"_s, u""_s},
        {u"2000-04"_s, u"YY-MM"_s, u"2000-04"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.pattern.toStdString());
        EXPECT_EQ(slp::formatText(c.text, c.pattern), c.expected);
    }
}

TEST(FormatText, OverflowingNumberIsReported) {
    EXPECT_THROW(slp::formatText(u"1e999"_s, u"0.00"_s), slp::OverflowError);
}

TEST(ParseDate, AcceptedForms) {
    struct Case {
        QString text;
        QDate expected;
    };
    const Case cases[] = {
        {u"2000-04-25"_s, QDate(2000, 4, 25)},  {u"2000-4-5"_s, QDate(2000, 4, 5)},
        {u"2000/04/25"_s, QDate(2000, 4, 25)},  {u"2000/4/5"_s, QDate(2000, 4, 5)},
        {u"20000425"_s, QDate(2000, 4, 25)},    {u" 2000-04-25\t"_s, QDate(2000, 4, 25)},
        {u"2004-02-29"_s, QDate(2004, 2, 29)},  {u"0001-01-01"_s, QDate(1, 1, 1)},
        {u"9999-12-31"_s, QDate(9999, 12, 31)}, {u"2000-12-1"_s, QDate(2000, 12, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto d = slp::parseDate(c.text);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(*d, c.expected);
    }
}

TEST(ParseDate, RejectedTexts) {
    const QString texts[] = {
        u""_s,           u"2000-02-30"_s,  u"1900-02-29"_s,  u"2000-13-01"_s,   u"2000-00-10"_s,
        u"2000-01-00"_s, u"2000-04-25x"_s, u"2000-04"_s,     u"2000"_s,         u"25"_s,
        u"200-04-25"_s,  u"02000-04-25"_s, u"2000-004-25"_s, u"2000-04-025"_s,  u"2000/04-25"_s,
        u"2000-04/25"_s, u"2000--25"_s,    u"-2000-04-25"_s, u"2000-04-25-1"_s, u"0000-01-01"_s,
        u"20000230"_s,   u"2000042"_s,     u"200004251"_s,   u"2000 04 25"_s,   u"２０００-04-25"_s,
        u"2000-+4-25"_s, u"2000-4-"_s,     u"abcdefgh"_s,    u"2000.04.25"_s,   u"1234567-"_s,
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.toStdString());
        EXPECT_FALSE(slp::parseDate(t).has_value());
    }
}

TEST(FormatDate, Patterns) {
    const QDate d(2003, 5, 7);
    EXPECT_EQ(slp::formatDate(d, u"yyyymmdd"), u"20030507"_s);
    EXPECT_EQ(slp::formatDate(d, u"YYYYMMDD"), u"20030507"_s);
    EXPECT_EQ(slp::formatDate(d, u"YY-MM"), u"03-05"_s);
    EXPECT_EQ(slp::formatDate(d, u"yy-mm"), u"03-05"_s);
    EXPECT_EQ(slp::formatDate(d, u"yyyy-mm-dd"), u"2003-05-07"_s);
    EXPECT_EQ(slp::formatDate(QDate(2000, 12, 31), u"YY-MM"), u"00-12"_s);
    EXPECT_EQ(slp::formatDate(QDate(999, 1, 2), u"yyyymmdd"), u"09990102"_s);
    EXPECT_EQ(slp::formatDate(d, u"anything"), u"2003-05-07"_s);
    EXPECT_EQ(slp::formatDate(QDate(), u"yyyymmdd"), QString());
}

TEST(IsNumericText, Table) {
    const std::pair<QString, bool> cases[] = {
        {u"0"_s, true},     {u" 12 "_s, true},        {u"-1.5"_s, true},  {u"+.5"_s, true},
        {u"5."_s, true},    {u"1e5"_s, true},         {u"1D-5"_s, true},  {u"&H1F"_s, true},
        {u"&o17"_s, true},  {u"\t3\n"_s, true},       {u""_s, false},     {u"  "_s, false},
        {u"1 2"_s, false},  {u"12abc"_s, false},      {u"abc"_s, false},  {u"1e"_s, false},
        {u"1e+"_s, false},  {u"."_s, false},          {u"-"_s, false},    {u"1.2.3"_s, false},
        {u"&H"_s, false},   {u"&HG"_s, false},        {u"&O8"_s, false},  {u"- 5"_s, false},
        {u"--5"_s, false},  {u"1,000"_s, false},      {u"0x10"_s, false}, {u"inf"_s, false},
        {u"１２"_s, false}, {u"2000-04-25"_s, false},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(slp::isNumericText(text), expected) << text.toStdString();
    }
}

TEST(TextConversions, HoldTogetherOnRandomTexts) {
    std::mt19937 rng(99);
    const QString alphabet = u"0123456789012345678901234567890123456789 .-+/eEdDHhO&\t2000-04-25abc是"_s;
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 14);
    int numeric = 0;
    int dates = 0;
    for (int n = 0; n < 30000; ++n) {
        QString t;
        for (int i = length(rng); i > 0; --i) t += alphabet[pick(rng)];
        SCOPED_TRACE(t.toStdString());
        const bool isNumber = slp::isNumericText(t);
        const auto b = slp::toBool(t);
        if (isNumber) {
            ++numeric;
            ASSERT_TRUE(b.has_value());
            EXPECT_EQ(*b, slp::leadingValue(t) != 0);
            try {
                EXPECT_EQ(slp::formatText(t, u"0.00"_s), slp::formatNumber(slp::leadingValue(t), u"0.00"_s));
            } catch (const slp::OverflowError&) {
                EXPECT_TRUE(std::isinf(slp::leadingValue(t)));
            }
        } else {
            EXPECT_EQ(slp::formatText(t, u"0.00"_s), t);
        }
        const QString compact = slp::formatText(t, u"yyyymmdd"_s);
        if (const auto d = slp::parseDate(t)) {
            ++dates;
            EXPECT_EQ(compact, slp::formatDate(*d, u"yyyymmdd"));
            EXPECT_EQ(slp::parseDate(compact), d);
            EXPECT_EQ(slp::parseDate(slp::formatDate(*d, u"yyyy-mm-dd")), d);
        } else {
            EXPECT_EQ(compact, t);
        }
    }
    EXPECT_GT(numeric, 1000);  // the alphabet must keep producing both kinds
    EXPECT_GT(dates, 0);
}

}  // namespace

TEST(WithoutBlanks, OnlyBlanksAroundTheTextGo) {
    EXPECT_EQ(slp::withoutBlanks(u"  6222 0200  "), u"6222 0200");
    EXPECT_EQ(slp::withoutBlanks(u"\t张三 "), u"\t张三");  // tabs are not blanks of a field
    EXPECT_EQ(slp::withoutBlanks(u"   "), u"");
    EXPECT_EQ(slp::withoutBlanks(u""), u"");
    EXPECT_EQ(slp::withoutBlanks(u"\u3000工资\u3000"), u"\u3000工资\u3000");  // nor full-width ones
}
