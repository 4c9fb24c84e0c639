// The leading numeric value of a text, as typed into input boxes and stored in wage columns.
#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace {

struct ValueCase {
    QString text;
    double expected;
};

void checkAll(std::initializer_list<ValueCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const double v = slp::leadingValue(c.text);
        if (std::isinf(c.expected)) {
            EXPECT_EQ(v, c.expected);
        } else {
            EXPECT_DOUBLE_EQ(v, c.expected);
            EXPECT_FALSE(std::signbit(v) && v == 0.0) << "a negative zero escaped";
        }
    }
}

// The value strtod gives for the longest number at the front (C locale; tests never set another).
double referenceValue(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

TEST(LeadingValue, PlainNumbers) {
    checkAll({
        {u"0"_s, 0},
        {u"12"_s, 12},
        {u"-7"_s, -7},
        {u"+7"_s, 7},
        {u"3.25"_s, 3.25},
        {u"-.5"_s, -0.5},
        {u".5"_s, 0.5},
        {u"5."_s, 5},
        {u"007"_s, 7},
        {u"0.000123"_s, 0.000123},
        {u"113.4"_s, 113.4},
        {u"1e3"_s, 1000},
        {u"1E3"_s, 1000},
        {u"1d3"_s, 1000},
        {u"1D-2"_s, 0.01},
        {u"2.5e+2"_s, 250},
        {u"-1.5E-1"_s, -0.15},
    });
}

TEST(LeadingValue, StopsAtTheFirstOtherCharacter) {
    checkAll({
        {u"12abc"_s, 12},
        {u"x9"_s, 0},
        {u"1.2.3"_s, 1.2},
        {u"1e"_s, 1},
        {u"1e+"_s, 1},
        {u"1e-x"_s, 1},
        {u"1E2.5"_s, 100},
        {u"--5"_s, 0},
        {u"+-5"_s, 0},
        {u"-"_s, 0},
        {u"."_s, 0},
        {u"-."_s, 0},
        {u".e5"_s, 0},
        {u"12,345"_s, 12},
        {u"12元"_s, 12},
        {u"１２"_s, 0},
        {u"$5"_s, 0},
        {u"1e5e5"_s, 1e5},
        {u"5-3"_s, 5},
        {u"0x1A"_s, 0},
        {u"inf"_s, 0},
        {u"nan"_s, 0},
        {u"1\r2"_s, 1},
        {u"\u3000"
         "5"_s,
         0},
        {u"3.7 元"_s, 3.7},
        {u"1ee5"_s, 1},
    });
}

TEST(LeadingValue, BlanksTabsAndLineFeedsAreSkippedAnywhere) {
    checkAll({
        {u""_s, 0},
        {u"   "_s, 0},
        {u"  1 2"_s, 12},
        {u"\t\n12\t"_s, 12},
        {u"- 5"_s, -5},
        {u"1 . 5"_s, 1.5},
        {u"1 e 2"_s, 100},
        {u"1e - 2"_s, 0.01},
        {u"1 2 3 4"_s, 1234},
        {u"&H 1 F"_s, 31},
        {u"& H1F"_s, 31},
        {u" \n-\t.\n5"_s, -0.5},
    });
}

TEST(LeadingValue, HexadecimalAndOctalPrefixes) {
    checkAll({
        {u"&H1F"_s, 31},
        {u"&h1f"_s, 31},
        {u"&HFF"_s, 255},
        {u"&H"_s, 0},
        {u"&HG"_s, 0},
        {u"&H1G"_s, 1},
        {u"&O17"_s, 15},
        {u"&o17"_s, 15},
        {u"&O8"_s, 0},
        {u"&O78"_s, 7},
        {u"&"_s, 0},
        {u"&X1"_s, 0},
        {u"&17"_s, 0},
        {u"-&H10"_s, 0},
        {u"&H.5"_s, 0},
        {u"&HFFFF"_s, 65535},
        {u"&H10000"_s, 65536},
    });
}

TEST(LeadingValue, ExtremeLengthsAndExponents) {
    const QString longInteger = u"1"_s + QString(400, u'0');
    const QString longFraction = u"0."_s + QString(400, u'0') + u"1"_s;
    const QString manyZerosThenScaled = u"0."_s + QString(300, u'0') + u"5e305"_s;
    const QString longMantissa = QString(5000, u'9') + u"e-4990"_s;
    checkAll({
        {longInteger, std::numeric_limits<double>::infinity()},
        {u"-"_s + longInteger, -std::numeric_limits<double>::infinity()},
        {longFraction, 0},
        {manyZerosThenScaled, 5e4},
        {longMantissa, 1e10},
        {u"1e308"_s, 1e308},
        {u"1e309"_s, std::numeric_limits<double>::infinity()},
        {u"-1e309"_s, -std::numeric_limits<double>::infinity()},
        {u"1e-320"_s, 1e-320},
        {u"1e-400"_s, 0},
        {u"-1e-400"_s, 0},
        {u"1e99999999999999999999999999"_s, std::numeric_limits<double>::infinity()},
        {u"1e-99999999999999999999999999"_s, 0},
        {u"0e99999999999999999999999999"_s, 0},
        {u"0.0000000000e400"_s, 0},
        {u"-0"_s, 0},
        {u"-0.000"_s, 0},
        {u"&H"_s + QString(300, u'F'), std::numeric_limits<double>::infinity()},
    });
}

TEST(LeadingValue, ManyDigitsRoundCorrectly) {
    // Halfway cases that need every digit to decide, and long strings with a non-zero tail.
    const std::string cases[] = {
        "9007199254740993",  // 2^53 + 1: halfway, ties to even
        "9007199254740993" + std::string(900, '0') + "1e-900",
        "2.2250738585072011e-308",
        "1.7976931348623157e308",
        "1.7976931348623158e308",
        "0." + std::string(1200, '3'),
        std::string(1000, '1') + "e-990",
        "4.9406564584124654e-324",
        "2.4703282292062328e-324",
    };
    for (const auto& text : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        EXPECT_EQ(slp::leadingValue(QString::fromLatin1(text)), referenceValue(text));
    }
}

TEST(LeadingValue, AgreesWithStrtodOnRandomTexts) {
    std::mt19937 rng(20000425);
    const std::string alphabet = "0123456789012345678901234567890123456789..--++eEdz";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 30);
    std::uniform_int_distribution<int> coin(0, 4);
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        for (int i = length(rng); i > 0; --i) text.push_back(alphabet[pick(rng)]);
        std::string forStrtod = text;
        for (auto& ch : forStrtod) {
            if (ch == 'd') ch = 'e';
        }
        // The same text with blanks sprinkled in must read the same.
        QString spaced;
        for (const char ch : text) {
            if (coin(rng) == 0) spaced += u' ';
            spaced += QChar::fromLatin1(ch);
        }
        SCOPED_TRACE(text);
        const double expected = referenceValue(forStrtod);
        EXPECT_EQ(slp::leadingValue(QString::fromLatin1(text)), expected);
        EXPECT_EQ(slp::leadingValue(spaced), expected);
    }
}

TEST(LeadingValue, NeverFailsOnArbitraryCharacters) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    std::uniform_int_distribution<int> length(0, 64);
    for (int n = 0; n < 5000; ++n) {
        QString text;
        for (int i = length(rng); i > 0; --i) text += QChar(static_cast<char16_t>(unit(rng)));
        const double v = slp::leadingValue(text);
        EXPECT_FALSE(std::isnan(v));
    }
    // Texts that stop in the middle of a surrogate pair or hold NUL characters.
    EXPECT_EQ(slp::leadingValue(QStringView(u"12\0"
                                            "34",
                                            5)),
              12);
    EXPECT_EQ(slp::leadingValue(QString(QChar(0xD800))), 0);
}

}  // namespace
