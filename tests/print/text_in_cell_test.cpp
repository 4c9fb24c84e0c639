// No text crosses a rule: a total or value wider than its cell is printed smaller, inside the cell, on
// the table's totals row and on the slips; texts that fit keep their size.
#include <gtest/gtest.h>

#include "print/wage_print.h"
#include "print_fixture.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

namespace {

// Width of a text of half-width characters in the recording target's metrics.
float widthAt(const RecordedCall& c) {
    return float(c.text.size()) * c.fontSize * 10;
}

TEST(TextInCell, AnOverflowingTotalIsPrintedSmallerInsideItsCell) {
    const struct {
        bool slips;
        QString total;
        bool shrunk;
    } cases[] = {{false, u"12345678.90"_s, true},
                 {false, u"12.50"_s, false},
                 {true, u"12345678.90"_s, true},
                 {true, u"12.50"_s, false}};
    for (const auto& c : cases) {
        print_test::Fixture f;
        auto grid = print_test::makeGrid({u"姓名"_s, u"实发"_s}, {900, 600}, 3, {0, 9});
        grid.setText(4, 1, c.total);
        f.layout.printWidth = 11106;
        if (c.slips) {
            PrintSlipPage(f.layout, grid, {4, 4}, print_test::geometry(1));
        } else {
            PrintTableBody(f.layout, grid, {1, 4}, print_test::geometry(1), 960);
        }
        const auto printed = f.target.findText(c.total);
        ASSERT_TRUE(printed) << c.total.toStdString();
        const float cellLeft = 300 + 900;
        EXPECT_EQ(printed->fontSize < 9, c.shrunk) << c.total.toStdString();
        EXPECT_GE(printed->x, cellLeft) << c.total.toStdString();
        EXPECT_LE(printed->x + widthAt(*printed), cellLeft + 600 + 0.01f) << c.total.toStdString();
    }
}

}  // namespace
