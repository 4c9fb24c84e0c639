// Rounding to whole numbers and the 16-bit conversions of counts, sizes and page numbers.
#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <limits>
#include <random>

#include "basic/conversions.h"
#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace {

TEST(RoundHalfEven, Table) {
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {
        {0, 0},
        {0.4, 0},
        {0.5, 0},
        {0.5000000000000001, 1},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {4.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {-3.5, -4},
        {2.4999999999999996, 2},
        {-2.4999999999999996, -2},
        {0.49999999999999994, 0},
        {-0.49999999999999994, 0},
        {4503599627370495.5, 4503599627370496},
        {4503599627370494.5, 4503599627370494},
        {9007199254740993.0, 9007199254740992},
        {1e300, 1e300},
        {-1e300, -1e300},
        {4.5000001, 5},
        {32767.5, 32768},
        {-32768.5, -32768},
        {9.0 / 2, 4},
        {11.0 / 2, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(slp::roundHalfEven(c.value), c.expected);
    }
    EXPECT_TRUE(std::isnan(slp::roundHalfEven(std::nan(""))));
    EXPECT_EQ(slp::roundHalfEven(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
}

TEST(RoundHalfEven, AgreesWithTheFloatingPointUnit) {
    // The default rounding mode of the machine rounds ties to even: an independent oracle.
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::uniform_int_distribution<int> halves(-200000, 200000);
    for (int n = 0; n < 20000; ++n) {
        const double a = wide(rng);
        const double b = halves(rng) / 2.0;
        EXPECT_EQ(slp::roundHalfEven(a), std::nearbyint(a)) << a;
        EXPECT_EQ(slp::roundHalfEven(b), std::nearbyint(b)) << b;
    }
}

TEST(ToInt16, RoundsHalvesToEven) {
    struct Case {
        double value;
        int expected;
    };
    const Case cases[] = {
        {2.5, 2},           {3.5, 4},  {-2.5, -2},       {-3.5, -4},       {0.5, 0},
        {1.49, 1},          {1.51, 2}, {32767.4, 32767}, {32766.5, 32766}, {-32768.4, -32768},
        {-32768.5, -32768}, {-0.4, 0}, {17, 17},         {4.5, 4},         {-32767.5, -32768},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(slp::toInt16(c.value), c.expected);
    }
}

TEST(ToInt16, OverflowBeyondTheRangeAndForNonNumbers) {
    const double bad[] = {32767.5,
                          32768,
                          -32768.6,
                          -32769,
                          1e10,
                          -1e10,
                          65535,
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::nan("")};
    for (const double v : bad) {
        SCOPED_TRACE(v);
        EXPECT_THROW(slp::toInt16(v), slp::OverflowError);
        try {
            slp::toInt16(v);
        } catch (const slp::Error& e) {
            EXPECT_EQ(e.number(), slp::errnum::Overflow);
            EXPECT_FALSE(e.description().isEmpty());
        }
    }
}

TEST(ToInt16, FromText) {
    struct Case {
        QString text;
        int expected;
    };
    const Case cases[] = {
        {u""_s, 0},           {u"abc"_s, 0},         {u"12abc"_s, 12}, {u" 2.5"_s, 2},   {u"3.5页"_s, 4},
        {u"&H7FFF"_s, 32767}, {u"-32768"_s, -32768}, {u"1 7"_s, 17},   {u"9e3"_s, 9000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(slp::toInt16(c.text), c.expected);
    }
    EXPECT_THROW(slp::toInt16(u"32768"_s), slp::OverflowError);
    EXPECT_THROW(slp::toInt16(u"&H8000"_s), slp::OverflowError);
    EXPECT_THROW(slp::toInt16(u"1e999"_s), slp::OverflowError);
    EXPECT_THROW(slp::toInt16(u"-40000"_s), slp::OverflowError);
}

}  // namespace
