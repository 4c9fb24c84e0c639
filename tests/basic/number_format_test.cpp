// Formatted amounts and plain decimal texts: what is printed on wage tables and written to bank files.
#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <tuple>

#include "basic/conversions.h"
#include "basic/error.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;

namespace {

struct FormatCase {
    double value;
    QString pattern;
    QString expected;
};

void checkAll(std::initializer_list<FormatCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with \"" << c.pattern.toStdString() << '"');
        EXPECT_EQ(slp::formatNumber(c.value, c.pattern), c.expected);
    }
}

TEST(FormatNumber, WholeNumbers) {
    checkAll({
        {0, u"0"_s, u"0"_s},
        {-0.0, u"0"_s, u"0"_s},
        {2.5, u"0"_s, u"3"_s},
        {-2.5, u"0"_s, u"-3"_s},
        {0.4, u"0"_s, u"0"_s},
        {-0.4, u"0"_s, u"0"_s},
        {0.5, u"0"_s, u"1"_s},
        {1234567, u"0"_s, u"1234567"_s},
        {3.5, u"0"_s, u"4"_s},
        {1e15, u"0"_s, u"1000000000000000"_s},
        {1e20, u"0"_s, u"100000000000000000000"_s},
        {0.29 * 100, u"0"_s, u"29"_s},
        {1.15 * 100, u"0"_s, u"115"_s},
        {9.5, u"0"_s, u"10"_s},
        {-9.5, u"0"_s, u"-10"_s},
        {99.49, u"0"_s, u"99"_s},
    });
}

TEST(FormatNumber, FixedDecimals) {
    checkAll({
        {0, u"0.0"_s, u"0.0"_s},
        {0.05, u"0.0"_s, u"0.1"_s},
        {0.04, u"0.0"_s, u"0.0"_s},
        {-0.04, u"0.0"_s, u"0.0"_s},
        {-0.05, u"0.0"_s, u"-0.1"_s},
        {113.45, u"0.0"_s, u"113.5"_s},
        {9.95, u"0.0"_s, u"10.0"_s},
        {99.96, u"0.0"_s, u"100.0"_s},
        {7, u"0.0"_s, u"7.0"_s},
        {2.675, u"0.00"_s, u"2.68"_s},
        {0.125, u"0.00"_s, u"0.13"_s},
        {1.005, u"0.00"_s, u"1.01"_s},
        {-1.005, u"0.00"_s, u"-1.01"_s},
        {-0.001, u"0.00"_s, u"0.00"_s},
        {-0.005, u"0.00"_s, u"-0.01"_s},
        {-0.0, u"0.00"_s, u"0.00"_s},
        {0.63, u"0.00"_s, u"0.63"_s},
        {357.0 / 567, u"0.00"_s, u"0.63"_s},
        {0.1 + 0.2, u"0.00"_s, u"0.30"_s},
        {999.995, u"0.00"_s, u"1000.00"_s},
        {1e-300, u"0.00"_s, u"0.00"_s},
        {5e-324, u"0.00"_s, u"0.00"_s},
        {-5e-324, u"0.00"_s, u"0.00"_s},
        {0.1, u"0.00"_s, u"0.10"_s},
        {123456789012.34, u"0.00"_s, u"123456789012.34"_s},
        {1e15, u"0.00"_s, u"1000000000000000.00"_s},
        {-123456789012.345, u"0.00"_s, u"-123456789012.35"_s},
        {4.35, u"0.00"_s, u"4.35"_s},
        {1.255, u"0.00"_s, u"1.26"_s},
        {8.575, u"0.00"_s, u"8.58"_s},
        {0.015, u"0.000"_s, u"0.015"_s},
        {0.0005, u"0.000"_s, u"0.001"_s},
    });
}

TEST(FormatNumber, LargestValuesAreWrittenInFull) {
    const QString max = slp::formatNumber(std::numeric_limits<double>::max(), u"0.00"_s);
    EXPECT_EQ(max.size(), 309 + 3);
    EXPECT_TRUE(max.startsWith(u"17976931348623157"_s));
    EXPECT_TRUE(max.endsWith(u"000.00"_s));
    EXPECT_FALSE(max.contains(u'e'));
    EXPECT_EQ(slp::formatNumber(-1e300, u"0"_s), u"-1"_s + QString(300, u'0'));
}

TEST(FormatNumber, ZeroPatterns) {
    checkAll({
        {42, u"00000"_s, u"00042"_s},
        {123456, u"00000"_s, u"123456"_s},
        {-5, u"00000"_s, u"-00005"_s},
        {0, u"00000"_s, u"00000"_s},
        {2.5, u"00000"_s, u"00003"_s},
        {0.4, u"00000"_s, u"00000"_s},
        {-0.4, u"00000"_s, u"00000"_s},
        {99999.5, u"00000"_s, u"100000"_s},
        {1234.5 * 100, u"0000000"_s, u"0123450"_s},
        {100000.00 * 100, u"0000000"_s, u"10000000"_s},
        {12345.67 * 100, u"00000000000"_s, u"00001234567"_s},
        {123456789012.34 * 100, u"0000000000000"_s, u"12345678901234"_s},
        {0.29 * 100, u"0000000000000"_s, u"0000000000029"_s},
        {7, u"0000"_s, u"0007"_s},
    });
}

TEST(FormatNumber, OptionalDigitsPattern) {
    checkAll({
        {8.5, u"#.##"_s, u"8.5"_s},
        {8, u"#.##"_s, u"8."_s},
        {0.5, u"#.##"_s, u".5"_s},
        {0, u"#.##"_s, u"."_s},
        {0.001, u"#.##"_s, u"."_s},
        {-0.001, u"#.##"_s, u"."_s},
        {-0.5, u"#.##"_s, u"-.5"_s},
        {-8.5, u"#.##"_s, u"-8.5"_s},
        {8.255, u"#.##"_s, u"8.26"_s},
        {0.995, u"#.##"_s, u"1."_s},
        {0.10, u"#.##"_s, u".1"_s},
        {16838.0 / 1440, u"#.##"_s, u"11.69"_s},
        {11906.0 / 1440, u"#.##"_s, u"8.27"_s},
        {12.0, u"#.##"_s, u"12."_s},
        {0.005, u"#.##"_s, u".01"_s},
    });
}

TEST(FormatNumber, EmptyPatternGivesPlainDecimalText) {
    checkAll({
        {300, u""_s, u"300"_s},
        {0.63, u""_s, u"0.63"_s},
        {113.4, u""_s, u"113.4"_s},
        {-0.5, u""_s, u"-0.5"_s},
        {1e20, u""_s, u"100000000000000000000"_s},
        {1e-7, u""_s, u"0.0000001"_s},
        {-0.0, u""_s, u"0"_s},
    });
}

TEST(FormatNumber, UnknownPatternGivesPlainDecimalText) {
    checkAll({
        {1.5, u"Fixed"_s, u"1.5"_s},
        {2, u"0.0.0"_s, u"2"_s},
        {3.25, u"0,00"_s, u"3.25"_s},
    });
}

TEST(FormatNumber, NonFiniteValuesOverflow) {
    for (const double v :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), std::nan("")}) {
        for (const QString& p : {u"0"_s, u"0.00"_s, u"00000"_s, u"#.##"_s, u""_s}) {
            EXPECT_THROW(slp::formatNumber(v, p), slp::OverflowError);
        }
    }
}

// Exact expectations built from whole numbers, independent of any floating-point text.
QString centsText(std::int64_t cents) {
    const bool negative = cents < 0;
    const std::int64_t a = negative ? -cents : cents;
    return (negative ? u"-"_s : QString()) + QString::number(a / 100) + u'.' +
           QString::number(a % 100).rightJustified(2, u'0');
}

TEST(FormatNumber, TwoDecimalAmountsAreExact) {
    std::mt19937_64 rng(1);
    std::uniform_int_distribution<std::int64_t> cents(-999'999'999'999'99LL, 999'999'999'999'99LL);
    for (int n = 0; n < 20000; ++n) {
        const std::int64_t k = n < 2000 ? n - 1000 : cents(rng);
        ASSERT_EQ(slp::formatNumber(static_cast<double>(k) / 100, u"0.00"_s), centsText(k)) << k;
    }
}

TEST(FormatNumber, ThirdDecimalRoundsHalfAwayFromZero) {
    std::mt19937_64 rng(2);
    std::uniform_int_distribution<std::int64_t> mils(-9'999'999'999'999LL, 9'999'999'999'999LL);
    for (int n = 0; n < 20000; ++n) {
        const std::int64_t k = n < 4000 ? n - 2000 : mils(rng);
        const std::int64_t magnitude = k < 0 ? -k : k;
        const std::int64_t rounded = (magnitude + 5) / 10;
        const std::int64_t expected = k < 0 ? -rounded : rounded;
        ASSERT_EQ(slp::formatNumber(static_cast<double>(k) / 1000, u"0.00"_s), centsText(expected)) << k;
    }
}

TEST(FormatNumber, FenAmountsFromTwoDecimalYuan) {
    // Yuan with two decimals times 100 always gives the exact fen count.
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<std::int64_t> cents(0, 99'999'999'999'99LL);
    for (int n = 0; n < 20000; ++n) {
        const std::int64_t k = cents(rng);
        const double yuan = slp::leadingValue(centsText(k));
        const QString fen = QString::number(k).rightJustified(11, u'0');
        ASSERT_EQ(slp::formatNumber(yuan * 100, u"00000000000"_s), fen) << k;
    }
}

TEST(PlainNumber, Doubles) {
    const std::pair<double, QString> cases[] = {
        {300, u"300"_s},
        {0.63, u"0.63"_s},
        {113.4, u"113.4"_s},
        {-0.5, u"-0.5"_s},
        {1234567, u"1234567"_s},
        {1e20, u"100000000000000000000"_s},
        {0.1 + 0.2, u"0.30000000000000004"_s},
        {1e-5, u"0.00001"_s},
        {-0.0, u"0"_s},
        {0, u"0"_s},
        {24, u"24"_s},
        {-1234567, u"-1234567"_s},
        {5e-324, u"0."_s + QString(323, u'0') + u"5"_s},
    };
    for (const auto& [v, expected] : cases) {
        EXPECT_EQ(slp::plainNumber(v), expected) << v;
    }
    EXPECT_EQ(slp::plainNumber(std::numeric_limits<double>::max()).size(), 309);
    EXPECT_THROW(slp::plainNumber(std::nan("")), slp::OverflowError);
    EXPECT_THROW(slp::plainNumber(std::numeric_limits<double>::infinity()), slp::OverflowError);
}

TEST(PlainNumber, Floats) {
    const std::pair<float, QString> cases[] = {
        {0.1f, u"0.1"_s},
        {360.0f, u"360"_s},
        {0.63f, u"0.63"_s},
        {300.0f, u"300"_s},
        {113.4f, u"113.4"_s},
        {-0.0f, u"0"_s},
        {16777217.0f, u"16777216"_s},
        {1.5e10f, u"15000000000"_s},
        {1e-7f, u"0.0000001"_s},
        {-2.5f, u"-2.5"_s},
    };
    for (const auto& [v, expected] : cases) {
        EXPECT_EQ(slp::plainNumber(v), expected) << v;
    }
    EXPECT_EQ(slp::plainNumber(std::numeric_limits<float>::max()), u"34028235"_s + QString(31, u'0'));
    EXPECT_THROW(slp::plainNumber(std::numeric_limits<float>::quiet_NaN()), slp::OverflowError);
}

TEST(PlainNumber, ReadsBackAsTheSameValue) {
    std::mt19937_64 rng(4);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int n = 0; n < 20000; ++n) {
        double v = 0;
        const std::uint64_t b = bits(rng);
        static_assert(sizeof v == sizeof b);
        std::memcpy(&v, &b, sizeof v);
        if (!std::isfinite(v)) continue;
        const QString text = slp::plainNumber(v);
        ASSERT_EQ(slp::leadingValue(text), v == 0 ? 0.0 : v) << text.toStdString();
        ASSERT_FALSE(text.contains(u'e') || text.contains(u'+')) << text.toStdString();
        ASSERT_FALSE(text.contains(u'.') && text.endsWith(u'0')) << text.toStdString();
        float f = static_cast<float>(v);
        if (!std::isfinite(f)) continue;
        const QString ftext = slp::plainNumber(f);
        ASSERT_EQ(static_cast<float>(slp::leadingValue(ftext)), f) << ftext.toStdString();
    }
}

}  // namespace

namespace {

TEST(FormatSingle, RoundsOnTheFloatsOwnText) {
    const std::tuple<float, QString, QString> cases[] = {
        {2.675f, u"0.00"_s, u"2.68"_s},
        {0.125f, u"0.00"_s, u"0.13"_s},
        {1.005f, u"0.00"_s, u"1.01"_s},
        {-0.001f, u"0.00"_s, u"0.00"_s},
        {8.5f, u"#.##"_s, u"8.5"_s},
        {1.5e10f, u"0"_s, u"15000000000"_s},
        {357.0f / 567.0f, u"0.00"_s, u"0.63"_s},
        {-2.5f, u"0"_s, u"-3"_s},
        {360.0f, u""_s, u"360"_s},
        {42.0f, u"00000"_s, u"00042"_s},
    };
    for (const auto& [v, pattern, expected] : cases) {
        EXPECT_EQ(slp::formatSingle(v, pattern), expected) << v << ' ' << pattern.toStdString();
    }
    EXPECT_EQ(slp::formatNumber(static_cast<double>(2.675f), u"0.00"_s), u"2.67"_s);
    EXPECT_THROW(slp::formatSingle(std::numeric_limits<float>::infinity(), u"0"_s), slp::OverflowError);
}

}  // namespace
