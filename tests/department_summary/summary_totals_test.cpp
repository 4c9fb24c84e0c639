// The totals of the department summary: shown texts read as fixed-point amounts with four decimals,
// added in integers and formatted with the item's format.
#include "app/department_summary/summary_totals.h"

#include <gtest/gtest.h>

#include <limits>

#include "basic/error.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::summary;
using slp::CurrencyUnits;
using slp::kUnitsPerYuan;

namespace {

slp::data::WageGrid columnOf(const QStringList& cells) {
    // Caption row, the cells, an empty totals row.
    slp::data::WageGrid g(int(cells.size()) + 2, 1);
    g.setText(0, 0, u"金额"_s);
    for (int i = 0; i < cells.size(); ++i) g.setText(i + 1, 0, cells[i]);
    return g;
}

TEST(SummaryTotals, FixedFormatsRoundHalvesAwayFromZero) {
    EXPECT_EQ(formatUnits(104000, u"0"), u"10"_s);
    EXPECT_EQ(formatUnits(105000, u"0"), u"11"_s);
    EXPECT_EQ(formatUnits(-105000, u"0"), u"-11"_s);
    EXPECT_EQ(formatUnits(1250, u"0.00"), u"0.13"_s);
    EXPECT_EQ(formatUnits(-1250, u"0.00"), u"-0.13"_s);
    EXPECT_EQ(formatUnits(1249, u"0.00"), u"0.12"_s);
    EXPECT_EQ(formatUnits(104000, u"0.0"), u"10.4"_s);
    EXPECT_EQ(formatUnits(0, u"0.00"), u"0.00"_s);
    EXPECT_EQ(formatUnits(66003500, u"0.00"), u"6600.35"_s);
}

TEST(SummaryTotals, ANegativeAmountThatRoundsToZeroLosesItsSign) {
    EXPECT_EQ(formatUnits(-49, u"0.00"), u"0.00"_s);
    EXPECT_EQ(formatUnits(-4999, u"0"), u"0"_s);
    EXPECT_EQ(formatUnits(-5000, u"0"), u"-1"_s);
}

TEST(SummaryTotals, TheEmptyFormatIsThePlainDecimalText) {
    EXPECT_EQ(formatUnits(123456789, u""), u"12345.6789"_s);
    EXPECT_EQ(formatUnits(120000, u""), u"12"_s);
    EXPECT_EQ(formatUnits(-5000, u""), u"-0.5"_s);
    EXPECT_EQ(formatUnits(0, u""), u"0"_s);
}

TEST(SummaryTotals, TheExtremesOfTheRangeFormatWithoutOverflow) {
    constexpr slp::CurrencyUnits max = std::numeric_limits<slp::CurrencyUnits>::max();
    constexpr slp::CurrencyUnits min = std::numeric_limits<slp::CurrencyUnits>::min();
    EXPECT_EQ(formatUnits(max, u""), u"922337203685477.5807"_s);
    EXPECT_EQ(formatUnits(max, u"0.00"), u"922337203685477.58"_s);
    EXPECT_EQ(formatUnits(min, u""), u"-922337203685477.5808"_s);
    EXPECT_EQ(formatUnits(min, u"0"), u"-922337203685478"_s);
}

TEST(SummaryTotals, OtherPatternsGoThroughTheSystemsFormatting) {
    EXPECT_EQ(formatUnits(5000, u"#.##"), u".5"_s);
    EXPECT_EQ(formatUnits(420000, u"00000"), u"00042"_s);
}

TEST(SummaryTotals, AColumnIsTheSumOfItsShownTextsNotOfTheirValues) {
    // Two departments of 10.4 each, shown with the format "0".
    EXPECT_EQ(columnTotal(columnOf({u"10"_s, u"10"_s}), 0), 20 * kUnitsPerYuan);
    EXPECT_EQ(formatUnits(columnTotal(columnOf({u"10"_s, u"10"_s}), 0), u"0"), u"20"_s);
}

TEST(SummaryTotals, TextsAreReadExactlyOrByTheirLeadingNumber) {
    // 0.1 + 0.2 is exact here; digits past the fourth decimal are rounded half to even.
    EXPECT_EQ(columnTotal(columnOf({u"0.1"_s, u"0.2"_s}), 0), 3000);
    EXPECT_EQ(columnTotal(columnOf({u"1.23455"_s, u"1.23465"_s}), 0), 12346 + 12346);
    EXPECT_EQ(columnTotal(columnOf({u"12abc"_s, u"abc"_s, QString(), u" 3 "_s, u"-1.5"_s}), 0),
              (12 + 3) * kUnitsPerYuan - 15000);
}

TEST(SummaryTotals, OnlyTheDataRowsAreAdded) {
    slp::data::WageGrid g = columnOf({u"1"_s, u"2"_s});
    g.setText(0, 0, u"100"_s);   // a caption that reads as a number
    g.setText(3, 0, u"1000"_s);  // an earlier total
    EXPECT_EQ(columnTotal(g, 0), 3 * kUnitsPerYuan);
    EXPECT_EQ(columnTotal(slp::data::WageGrid(2, 1), 0), 0);
}

TEST(SummaryTotals, ATotalBeyondTheRangeIsAnOverflowError) {
    try {
        columnTotal(columnOf({u"900000000000000"_s, u"900000000000000"_s}), 0);
        FAIL() << "no error";
    } catch (const slp::OverflowError& e) {
        EXPECT_EQ(e.number(), slp::errnum::Overflow);
    }
}

TEST(SummaryTotals, TheHeadCountIsItsIntegerPartBetweenGongAndRen) {
    EXPECT_EQ(headCountTotal(60 * kUnitsPerYuan), u"共60人"_s);
    EXPECT_EQ(headCountTotal(0), u"共0人"_s);
    EXPECT_EQ(headCountTotal(35000), u"共3人"_s);
}

}  // namespace
