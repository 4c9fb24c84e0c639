// Host texts as they are checked where they enter and put into queries.
#include "basic/host_text.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(HostText, AWorkMonthIsFourDigitsADashAndOneOrTwoDigits) {
    const struct {
        QString text;
        bool month;
    } cases[] = {
        {u"2000-04"_s, true}, {u"2000-4"_s, true},    {u"1999-12"_s, true},  {u"2000-004"_s, false},
        {u"200004"_s, false}, {u"2000-"_s, false},    {u"99-12"_s, false},   {u"２０００-04"_s, false},
        {u""_s, false},       {u"2000-04 "_s, false}, {u"2000/04"_s, false}, {u"2000-04' or '1'='1"_s, false},
    };
    for (const auto& c : cases) EXPECT_EQ(slp::isWorkMonthText(c.text), c.month) << c.text.toStdString();
}

TEST(HostText, ControlCharactersAreFoundAndShown) {
    const struct {
        QString text;
        qsizetype first;
        QString shown;
    } cases[] = {
        {u"朔岚"_s, -1, u"朔岚"_s},          {QString(u"a\0b"_s), 1, u"a\\x00b"_s},
        {u"\tx\x1F"_s, 0, u"\\x09x\\x1F"_s}, {u"x\x7F"_s, 1, u"x\\x7F"_s},
        {u"\u0080 ~"_s, -1, u"\u0080 ~"_s},  // C1 controls and printable ASCII pass
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slp::firstControlCharacter(c.text), c.first) << c.shown.toStdString();
        EXPECT_EQ(slp::visibleControls(c.text), c.shown);
    }
}

TEST(HostText, QuotesAndBracketsAreDoubled) {
    const struct {
        QString text;
        QString literal;
        QString bracketed;
        QString alias;
    } cases[] = {
        {u"基本工资"_s, u"'基本工资'"_s, u"[基本工资]"_s, u"基本工资"_s},
        {u"a'b"_s, u"'a''b'"_s, u"[a'b]"_s, u"[a'b]"_s},
        {u"基本工资] & 'X' & [基本工资"_s, u"'基本工资] & ''X'' & [基本工资'"_s,
         u"[基本工资]] & 'X' & [基本工资]"_s, u"[基本工资]] & 'X' & [基本工资]"_s},
        {u"16项"_s, u"'16项'"_s, u"[16项]"_s, u"[16项]"_s},
        {u"x_1"_s, u"'x_1'"_s, u"[x_1]"_s, u"x_1"_s},
        {u""_s, u"''"_s, u"[]"_s, u"[]"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slp::sqlTextLiteral(c.text), c.literal);
        EXPECT_EQ(slp::sqlBracketed(c.text), c.bracketed);
        EXPECT_EQ(slp::sqlAlias(c.text), c.alias);
    }
}

}  // namespace
