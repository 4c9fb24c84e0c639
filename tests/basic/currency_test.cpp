// The currency arithmetic of the card grid's total: exact decimal reading, rounding at the fourth
// decimal and at the cent, and a sum that stays exact where doubles drift.
#include "basic/currency.h"

#include <gtest/gtest.h>

#include <limits>

#include "basic/error.h"

using namespace Qt::StringLiterals;
using namespace slp;

namespace {

TEST(CardAmounts, PlainDecimalTextsAreReadExactly) {
    EXPECT_EQ(currencyUnits(u"1234.50"), 12345000);
    EXPECT_EQ(currencyUnits(u"0.01"), 100);
    EXPECT_EQ(currencyUnits(u" 12 "), 120000);
    EXPECT_EQ(currencyUnits(u"-0.5"), -5000);
    EXPECT_EQ(currencyUnits(u"+7."), 70000);
    EXPECT_EQ(currencyUnits(u".25"), 2500);
    // 922337203685477.5807 is the largest amount the currency holds.
    EXPECT_EQ(currencyUnits(u"922337203685477.5807"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(currencyUnits(u"123456789012.34"), 1234567890123400);
}

TEST(CardAmounts, TheFifthDecimalRoundsHalfToEven) {
    EXPECT_EQ(currencyUnits(u"0.00005"), 0);
    EXPECT_EQ(currencyUnits(u"0.00015"), 2);
    EXPECT_EQ(currencyUnits(u"0.000051"), 1);
    EXPECT_EQ(currencyUnits(u"0.00004999"), 0);
    EXPECT_EQ(currencyUnits(u"-0.00015"), -2);
}

TEST(CardAmounts, OtherTextsCountTheirLeadingNumber) {
    EXPECT_EQ(currencyUnits(u"12abc"), 120000);
    EXPECT_EQ(currencyUnits(u"abc"), 0);
    EXPECT_EQ(currencyUnits(u""), 0);
    EXPECT_EQ(currencyUnits(u"1.5e2"), 1500000);
    EXPECT_EQ(currencyUnits(u"1 000"), 10000000);  // blanks inside a number are skipped, as Val does
}

TEST(CardAmounts, AmountsBeyondTheCurrencyRangeAreOverflows) {
    EXPECT_THROW(currencyUnits(u"922337203685477.5808"), slp::OverflowError);
    EXPECT_THROW(currencyUnits(u"99999999999999999999"), slp::OverflowError);
    EXPECT_THROW(currencyUnits(u"1e30"), slp::OverflowError);
    EXPECT_THROW(currencyUnits(u"-1e300x"), slp::OverflowError);
}

TEST(CardAmounts, TwoDecimalTextRoundsHalvesAwayFromZero) {
    EXPECT_EQ(currencyText(0), u"0.00"_s);
    EXPECT_EQ(currencyText(12345000), u"1234.50"_s);
    EXPECT_EQ(currencyText(12345), u"1.23"_s);
    EXPECT_EQ(currencyText(12350), u"1.24"_s);
    EXPECT_EQ(currencyText(-12350), u"-1.24"_s);
    EXPECT_EQ(currencyText(-49), u"0.00"_s);  // no negative zero
    EXPECT_EQ(currencyText(-50), u"-0.01"_s);
    EXPECT_EQ(currencyText(std::numeric_limits<int64_t>::min()), u"-922337203685477.58"_s);
    EXPECT_EQ(currencyText(std::numeric_limits<int64_t>::max()), u"922337203685477.58"_s);
}

TEST(CardAmounts, TheTotalIsTheExactSumOfTheShownAmounts) {
    CurrencyTotal total;
    double drifting = 0;
    for (int i = 0; i < 100000; ++i) {
        total.add(currencyUnits(u"0.10"));
        drifting += 0.10;
    }
    EXPECT_EQ(total.text(), u"10000.00"_s);
    EXPECT_EQ(total.units(), 100000000);
    EXPECT_NE(drifting, 10000.0);  // what a sum of doubles would have shown

    CurrencyTotal big;
    big.add(currencyUnits(u"922337203685477.5807"));
    EXPECT_THROW(big.add(1), slp::OverflowError);
    EXPECT_EQ(big.units(), std::numeric_limits<int64_t>::max());  // unchanged by the refused addition
}

}  // namespace
