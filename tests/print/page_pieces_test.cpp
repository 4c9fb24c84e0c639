// Joining a page's straight lines: pieces of one line that touch or overlap become one line, whichever
// way they were drawn; a gap, another row or column, or a slant keeps lines apart.
#include "print/page_pieces.h"

#include <gtest/gtest.h>

#include <QLineF>
#include <algorithm>
#include <vector>

using slp::print::joinStraightLines;

TEST(JoinStraightLines, TouchingAndOverlappingPiecesJoinGapsAndSlantsDoNot) {
    std::vector<QLineF> lines{
        // a column at x 300: three pieces touching or overlapping (one drawn upwards), then a gap
        {300, 600, 300, 960},
        {300, 1320, 300, 960},
        {300, 1200, 300, 1680},
        {300, 1700, 300, 2000},
        // a row at y 600 in two touching pieces drawn right to left, and a row at y 960 apart
        {5000, 600, 2000, 600},
        {2000, 600, 300, 600},
        {300, 960, 2000, 960},
        // a slanting line, which stays as drawn
        {400, 400, 800, 800},
    };
    const size_t straight = joinStraightLines(lines);
    ASSERT_EQ(straight, 4u);
    ASSERT_EQ(lines.size(), 5u);
    std::vector<QLineF> joined(lines.begin(), lines.begin() + long(straight));
    auto has = [&](const QLineF& l) { return std::find(joined.begin(), joined.end(), l) != joined.end(); };
    EXPECT_TRUE(has(QLineF(300, 600, 300, 1680)));
    EXPECT_TRUE(has(QLineF(300, 1700, 300, 2000)));
    EXPECT_TRUE(has(QLineF(300, 600, 5000, 600)));
    EXPECT_TRUE(has(QLineF(300, 960, 2000, 960)));
    EXPECT_EQ(lines.back(), QLineF(400, 400, 800, 800));
}

TEST(JoinStraightLines, NothingToJoin) {
    std::vector<QLineF> none;
    EXPECT_EQ(joinStraightLines(none), 0u);
    std::vector<QLineF> slants{{0, 0, 10, 10}, {10, 10, 20, 20}};
    EXPECT_EQ(joinStraightLines(slants), 0u);
    EXPECT_EQ(slants.size(), 2u);
}
