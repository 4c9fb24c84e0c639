// The designer's logic: default grid, stored rows by position, clamps, group move, rectangle selection,
// the rows 确认设置 stores and the texts in centimetres.
#include "app/special_print/special_layout.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using namespace slp::windows::special;

const QStringList kItems{u"部门"_s, u"工号"_s,   u"姓名"_s,    u"基本工资"_s,
                         u"工龄"_s, u"加班费"_s, u"实发工资"_s};

TEST(SpecialLayout, DefaultGridSixARowWithThePayDateLast) {
    SpecialLayout layout;
    layout.build(kItems, {});
    ASSERT_EQ(layout.count(), 8);
    const std::vector<QPointF> want{{1000, 700}, {2200, 700}, {3400, 700},  {4600, 700},
                                    {5800, 700}, {7000, 700}, {1000, 1600}, {2200, 1600}};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(layout.label(i).pos, want[size_t(i)]) << i;
    EXPECT_EQ(layout.label(7).caption, u"发薪日期"_s);
    EXPECT_EQ(layout.label(3).caption, u"基本工资"_s);
    EXPECT_FALSE(layout.label(0).printName);
    EXPECT_EQ(layout.label(0).position, 0);
}

TEST(SpecialLayout, StoredRowsApplyByPositionWhateverTheirNames) {
    SpecialLayout layout;
    // Saved in a month with other items: three rows only.
    layout.build(kItems, {{u"旧项目"_s, 50, 60, 0, 3, true},
                          {u"另一项"_s, 70, 80, 1, 2, false},
                          {u"发薪日期"_s, 90, 100, 2, 1, true}});
    EXPECT_EQ(layout.label(0).pos, QPointF(50, 60));
    EXPECT_EQ(layout.label(0).caption, u"部门"_s);
    EXPECT_EQ(layout.label(0).position, 3);
    EXPECT_TRUE(layout.label(0).printName);
    EXPECT_EQ(layout.label(2).pos, QPointF(90, 100));
    EXPECT_EQ(layout.label(2).position, 1);
    // The rest by the default grid, flags cleared, the pay date too.
    EXPECT_EQ(layout.label(3).pos, QPointF(4600, 700));
    EXPECT_FALSE(layout.label(3).printName);
    EXPECT_EQ(layout.label(7).pos, QPointF(2200, 1600));
    // A row at position n places the pay date.
    std::vector<LayoutRow> full = defaultLayout(kItems);
    full[7].x = 9999;
    layout.build(kItems, full);
    EXPECT_EQ(layout.label(7).pos.x(), 9999);
}

struct DragCase {
    const char* name;
    QPointF start;
    QPointF by;
    QPointF want;
};

TEST(SpecialLayout, DragClampsTopRightAndBottomButNotLeft) {
    const QSizeF labelSize(600, 200);
    const std::vector<DragCase> cases{
        {"inside", {1000, 700}, {500, 300}, {1500, 1000}},
        {"above twice its height", {1000, 700}, {0, -600}, {1000, 400}},
        {"past the bottom", {1000, 700}, {0, 20000}, {1000, 9800}},
        {"past the right", {1000, 700}, {30000, 0}, {17400, 700}},
        {"off the left", {1000, 700}, {-5000, 0}, {-4000, 700}},
    };
    for (const DragCase& c : cases) {
        SpecialLayout layout;
        layout.build(kItems, {});
        layout.moveTo(0, c.start);
        layout.drag(0, c.by.x(), c.by.y(), labelSize);
        EXPECT_EQ(layout.label(0).pos, c.want) << c.name;
    }
}

TEST(SpecialLayout, SelectedLabelsMoveTogetherUnclamped) {
    SpecialLayout layout;
    layout.build(kItems, {});
    layout.selectInRect({900, 600}, {2300, 800});  // labels 0 and 1
    EXPECT_EQ(layout.selection(), (std::vector<int>{0, 1}));
    layout.moveTo(1, {2200, 300});
    layout.drag(0, 100, -200, {600, 200});
    EXPECT_EQ(layout.label(0).pos, QPointF(1100, 500));
    EXPECT_EQ(layout.label(1).pos, QPointF(2300, 100));  // not clamped
    EXPECT_EQ(layout.label(2).pos, QPointF(3400, 700));  // not selected
}

TEST(SpecialLayout, RectangleSelectsByTopLeftCornerAndOnlyDownRight) {
    SpecialLayout layout;
    layout.build(kItems, {});
    layout.selectInRect({0, 0}, {3400, 1600});
    EXPECT_EQ(layout.selection(), (std::vector<int>{0, 1, 2, 6, 7}));
    layout.selectInRect({3400, 1600}, {0, 0});  // dragged up and left
    EXPECT_TRUE(layout.selection().empty());
    layout.selectInRect({5000, 0}, {0, 2000});  // dragged left
    EXPECT_TRUE(layout.selection().empty());
    layout.selectInRect({1001, 700}, {2200, 700});  // the edges count
    EXPECT_EQ(layout.selection(), (std::vector<int>{1}));
}

TEST(SpecialLayout, RowsToSaveNumberedWithCodesAndFlags) {
    SpecialLayout layout;
    layout.build(kItems, {});
    layout.setAllPositions(RightOf);
    layout.setPosition(2, LeftOf);
    layout.setAllPrintNames(true);
    layout.setPrintName(7, false);
    layout.moveTo(7, {1234.5, 678});
    const auto rows = layout.rowsToSave();
    ASSERT_EQ(rows.size(), 8u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].order, int16_t(i));
        EXPECT_EQ(rows[i].position, i == 2 ? LeftOf : RightOf);
        EXPECT_EQ(rows[i].printName, i != 7);
    }
    EXPECT_EQ(rows[7].caption, u"发薪日期"_s);
    EXPECT_FLOAT_EQ(rows[7].x, 1234.5f);
    EXPECT_EQ(defaultLayout(kItems).size(), 8u);
    EXPECT_FLOAT_EQ(defaultLayout(kItems)[6].y, 1600);
}

TEST(SpecialLayout, TextsInCentimetres) {
    EXPECT_EQ(positionTip({1000, 700}), u"X:1.76  Y:1.23"_s);
    EXPECT_EQ(treeStatusText({567, 1134}), u"横坐标X:1.00  纵坐标Y:2.00"_s);
    EXPECT_EQ(paperWidthCaption(18000), u"纸张宽度为31.75(单位厘米)"_s);
    EXPECT_EQ(paperHeightCaption(10000), u"纸张高度为17.64(单位厘米)"_s);
    EXPECT_EQ(paperWidthCaptionCm(10), u"纸张宽度为10(单位厘米)"_s);
    EXPECT_EQ(paperHeightCaptionCm(7.5), u"纸张高度为7.5(单位厘米)"_s);
    EXPECT_EQ(modeStatusText(true), u"每张纸张上只打印一个!"_s);
    EXPECT_EQ(modeStatusText(false), u"每张纸张上打印好几个!"_s);
    EXPECT_EQ(allNamesCaption(true), u"全部打印项目名称"_s);
    EXPECT_EQ(allNamesCaption(false), u"全部不打印项目名称"_s);
}

TEST(SpecialLayout, PaperBoxAcceptsTwoCentimetresOrMore) {
    const QString box = paperBoxDefault(paperWidthCaption(18000));
    EXPECT_EQ(box, u"31.75(单位厘米)"_s);
    EXPECT_EQ(acceptPaperCm(box), 31.75);
    EXPECT_EQ(acceptPaperCm(u"2"_s), 2.0);
    EXPECT_EQ(acceptPaperCm(u"1.99"_s), std::nullopt);
    EXPECT_EQ(acceptPaperCm(u""_s), std::nullopt);
    EXPECT_EQ(acceptPaperCm(u"abc"_s), std::nullopt);
}

}  // namespace
