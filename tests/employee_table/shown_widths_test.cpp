// On-screen grids: a column as wide as its widest cell where the width rule would clip it (the grid's
// print widths untouched), and one row height in the frozen and the scrolling columns after a font change.
#include "app/shared/shown_widths.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "app/shared/window_geometry.h"
#include "data/wage_grid_model.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;
using slp::windows::shownWidth;
using slp::windows::widestCell;

namespace {

TEST(ShownWidths, TheWidestCellIsMeasuredTotalsRowIncludedCaptionsLeftOut) {
    slp::data::WageGrid grid(5, 2);
    grid.setText(0, 0, u"一个很长很长的标题"_s);
    grid.setText(1, 0, u"99"_s);
    grid.setText(2, 0, u"100000"_s);
    grid.setText(3, 0, u"7"_s);
    grid.setText(4, 0, u"共200人"_s);
    int measured = 0;
    const auto measure = [&](QStringView text) {
        ++measured;
        int w = 0;
        for (QChar c : text) w += c.unicode() >= 0x2E80 ? 20 : 10;
        return w;
    };
    EXPECT_EQ(widestCell(grid, 0, measure), 70);  // 共200人 (100000 is 60); not the caption
    EXPECT_EQ(measured, 2);                       // "99" and "7" are not measured
    EXPECT_EQ(widestCell(grid, 1, measure), 0);   // an empty column
    EXPECT_EQ(widestCell(grid, 5, measure), 0);   // no such column
}

TEST(ShownWidths, AColumnIsWidenedOnlyWhereItWouldClip) {
    struct Case {
        int rule, widest, shown;
    };
    for (const Case& c : {Case{100, 50, 100}, Case{100, 92, 100}, Case{100, 93, 101}, Case{40, 120, 128},
                          Case{13, 120, 13}, Case{10, 120, 10}, Case{100, 0, 100}}) {
        EXPECT_EQ(shownWidth(c.rule, c.widest, 8, 13), c.shown) << c.rule << " " << c.widest;
    }
}

TEST(WageGridViewRows, FrozenAndScrollingColumnsKeepOneRowHeightAndWholeTexts) {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    slp::data::WageGridModel model;
    model.update([](slp::data::WageGrid& g) {
        g.resize(4, 4);
        g.setFixedCols(2);
        g.setFixedRows(1);
        g.setFontSize(9);
        for (int c = 0; c < 4; ++c) g.setColWidth(c, 540);  // three characters at 9 points
        g.setColWidth(3, 150);                              // narrowed away
        g.setText(1, 0, u"1"_s);
        g.setText(2, 0, u"100000"_s);
        g.setText(3, 1, u"共200人"_s);
        g.setText(3, 2, u"40700.00"_s);
        g.setText(3, 3, u"123456789.00"_s);
    });
    slp::windows::WageGridView view(model);
    view.resize(800, 400);
    view.show();
    const auto printedWidths = [&] {
        QList<int> w;
        for (int c = 0; c < 4; ++c) w << model.grid().colWidth(c);
        return w;
    };
    const QList<int> before = printedWidths();
    for (const float size : {9.f, 5.f, 14.f, 4.f}) {
        model.setFontSize(size);
        QFont font(model.grid().fontName());
        font.setPointSizeF(size);
        const QFontMetrics metrics(font);
        for (int row = 1; row <= 3; ++row) {
            EXPECT_EQ(view.frozenRowHeight(row), view.shownRowHeight(row)) << size;
            EXPECT_EQ(view.shownRowHeight(row), metrics.height() + 6) << size;
        }
        for (const auto& [col, text] : {std::pair{0, u"100000"_s}, {1, u"共200人"_s}, {2, u"40700.00"_s}}) {
            EXPECT_GE(view.shownColumnWidth(col), metrics.horizontalAdvance(text)) << size << " " << col;
        }
        EXPECT_EQ(view.shownColumnWidth(3), slp::windows::pixelsFromTwips(150, view.logicalDpiX()));
        EXPECT_EQ(printedWidths(), before);  // printing keeps the rule's widths
    }
}

}  // namespace
