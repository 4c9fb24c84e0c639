// The column-width rule: charUnit from the width of "我", widths in whole twips halved to even, and the
// column-to-item mappings of the employee table, the payment table and the department summary.
#include "data/column_widths.h"

#include <gtest/gtest.h>

#include "basic/error.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

WageCatalogue catalogue(const QList<int16_t>& widths) {
    WageCatalogue c;
    for (int i = 0; i < widths.size(); ++i) {
        c.itemName << u"项目"_s + QString::number(i);
        c.itemFormat << u"0.00"_s;
    }
    c.itemWidth = widths;
    c.itemCount = int16_t(widths.size());
    return c;
}

// A measure with a face the tests choose: "我" is 19.5 twips wide a point, and every call is recorded.
struct RecordingMeasure {
    QList<std::pair<QString, float>> calls;
    CharUnitMeasure measure() {
        return [this](const QString& family, float size) {
            calls << std::make_pair(family, size);
            return size * 19.5f;
        };
    }
};

TEST(DataColumnWidths, EmployeeTableAtNineAndTwelvePoints) {
    const WageCatalogue c = catalogue({6, 4, 4, 5, 0});
    WageGrid grid(3, 6);
    RecordingMeasure m;
    const float at9 = ApplyPrintFontSize(grid, c, employeeTableColumns(6), 9, m.measure());
    EXPECT_FLOAT_EQ(at9, 175.5f);
    ASSERT_EQ(m.calls.size(), 1);
    EXPECT_EQ(m.calls[0].first, u"宋体"_s);  // the grid's font
    EXPECT_FLOAT_EQ(m.calls[0].second, 9);
    EXPECT_FLOAT_EQ(grid.fontSize(), 9);
    // 3 × 175.5 = 526.5 -> 526 (half to even); 6 × 175.5 = 1053; 4 × 175.5 = 702; 5 × 175.5 = 877.5 -> 878.
    EXPECT_EQ(grid.colWidth(0), 526);
    EXPECT_EQ(grid.colWidth(1), 1053);
    EXPECT_EQ(grid.colWidth(2), 702);
    EXPECT_EQ(grid.colWidth(3), 702);
    EXPECT_EQ(grid.colWidth(4), 878);
    EXPECT_EQ(grid.colWidth(5), 0);  // width 0: hidden in print

    const float at12 = ApplyPrintFontSize(grid, c, employeeTableColumns(6), 12, m.measure());
    EXPECT_FLOAT_EQ(at12, 234);
    EXPECT_FLOAT_EQ(grid.fontSize(), 12);
    // Every column widens with the character; column 0 stays three characters.
    EXPECT_EQ(grid.colWidth(0), 702);
    EXPECT_EQ(grid.colWidth(1), 1404);
    EXPECT_EQ(grid.colWidth(2), 936);
    EXPECT_EQ(grid.colWidth(4), 1170);
    EXPECT_EQ(grid.colWidth(5), 0);
}

TEST(DataColumnWidths, MappingsOfTheThreeTables) {
    EXPECT_EQ(employeeTableColumns(4).itemOfColumn, (QList<int>{ColumnItems::kSequence, 0, 1, 2}));
    EXPECT_EQ(employeeTableColumns(4).sequenceChars, 3);
    EXPECT_EQ(departmentPaymentColumns(3).sequenceChars, 2);
    // Summary with firstAmountIndex 3: item 0, item 1 (the count), then the amount items 3, 4, ...
    EXPECT_EQ(departmentSummaryColumns(6, 3).itemOfColumn,
              (QList<int>{ColumnItems::kSequence, 0, 1, 3, 4, 5}));

    const WageCatalogue c = catalogue({6, 4, 4, 5, 7, 9});
    WageGrid summary(2, 6);
    applyColumnWidths(summary, c, departmentSummaryColumns(6, 3), 100);
    EXPECT_EQ(summary.colWidth(0), 300);
    EXPECT_EQ(summary.colWidth(1), 600);
    EXPECT_EQ(summary.colWidth(2), 400);
    EXPECT_EQ(summary.colWidth(3), 500);
    EXPECT_EQ(summary.colWidth(5), 900);

    WageGrid payment(2, 3);
    applyColumnWidths(payment, c, departmentPaymentColumns(3), 180.25f);
    EXPECT_EQ(payment.colWidth(0), 360);   // 360.5 -> 360
    EXPECT_EQ(payment.colWidth(1), 1082);  // 1081.5 -> 1082
}

TEST(DataColumnWidths, AColumnWithoutItsItemIsRefused) {
    const WageCatalogue c = catalogue({6, 4});
    WageGrid grid(2, 5);
    EXPECT_THROW(applyColumnWidths(grid, c, employeeTableColumns(5), 180), slp::Error);
    // Columns the mapping does not name keep their widths.
    WageGrid wide(2, 4);
    wide.setColWidth(3, 1234);
    applyColumnWidths(wide, c, employeeTableColumns(3), 100);
    EXPECT_EQ(wide.colWidth(2), 400);
    EXPECT_EQ(wide.colWidth(3), 1234);
}

}  // namespace
}  // namespace slp::data
