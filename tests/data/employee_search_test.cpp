// Finding an employee in a grid by 工号 or 姓名, as the clerk types either.
#include "data/employee_search.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using slp::data::WageGrid;

namespace {

// 序号, 部门, 工号, 姓名, 实发工资; the last row is the totals row.
WageGrid payments() {
    const QStringList rows[] = {
        {u"序号"_s, u"部门"_s, u"工号"_s, u"姓名"_s, u"实发工资"_s},
        {u"1"_s, u"办公室"_s, u"0032"_s, u"丁龙宇"_s, u"6047.60"_s},
        {u"2"_s, u"办公室"_s, u"0003"_s, u"王 芳"_s, u"4280.55"_s},
        {u"3"_s, u"车间"_s, u"0107"_s, u"李娜"_s, u"3000.00"_s},
        {u"4"_s, u"车间"_s, u"0108"_s, u"李娜"_s, u"3100.00"_s},
        {u"5"_s, u"车间"_s, u"32"_s, u"周 正"_s, u"0.00"_s},
        {u"合计"_s, u""_s, u"共5人"_s, u""_s, u"16428.15"_s},
    };
    WageGrid g(7, 5);
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 5; ++c) g.setText(r, c, rows[r][c]);
    }
    return g;
}

TEST(EmployeeSearch, ByNumberOrElseByNameAsTheClerkTypesThem) {
    const WageGrid g = payments();
    const struct {
        const char16_t* key;
        QList<int> rows;
    } cases[] = {
        {u"0032", {1, 5}},                                     // 0032 and 32 are the same number
        {u" 0003 ", {2}},  {u"3", {2}},       {u"王芳", {2}},  // blanks in the name ignored
        {u"王 芳", {2}},   {u"李娜", {3, 4}},                  // two employees of the name
        {u"0107", {3}},    {u"赵六", {}},     {u"", {}},
        {u"共5人", {}},  // the totals row is not searched
        {u"6047.60", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slp::data::rowsOfEmployee(g, QString::fromUtf16(c.key), 1, 5), c.rows)
            << QString::fromUtf16(c.key).toStdString();
    }
}

TEST(EmployeeSearch, TheNextRowGoesRoundAndAGridWithoutTheColumnsFindsNothing) {
    const WageGrid g = payments();
    EXPECT_EQ(slp::data::nextRowOfEmployee(g, u"李娜"_s, 1, 5, 0), 3);
    EXPECT_EQ(slp::data::nextRowOfEmployee(g, u"李娜"_s, 1, 5, 3), 4);
    EXPECT_EQ(slp::data::nextRowOfEmployee(g, u"李娜"_s, 1, 5, 4), 3);
    EXPECT_EQ(slp::data::nextRowOfEmployee(g, u"赵六"_s, 1, 5, 0), -1);
    const auto columns = slp::data::employeeColumns(g);
    EXPECT_EQ(columns.number, 2);
    EXPECT_EQ(columns.name, 3);

    WageGrid cards(2, 4);  // the card grid: 序号, 姓名, 卡号, 金额
    for (int c = 0; c < 4; ++c)
        cards.setText(0, c, QStringList{u"序号"_s, u"姓名"_s, u"卡号"_s, u"金额"_s}[c]);
    cards.setText(1, 1, u"袁军"_s);
    EXPECT_EQ(slp::data::rowsOfEmployee(cards, u"袁军"_s, 1, 1), QList<int>{1});
    WageGrid none(2, 2);
    none.setText(1, 1, u"袁军"_s);
    EXPECT_TRUE(slp::data::rowsOfEmployee(none, u"袁军"_s, 1, 1).isEmpty());
}

}  // namespace
