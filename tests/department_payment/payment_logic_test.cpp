// The logic of 工资输出表2 without widgets: the quoting in its queries (their texts are golden files,
// tests/golden/queries), the grid and its totals row on a real SQLite month, the department list and
// its selection, the row-height box and the splitter arithmetic.
#include <gtest/gtest.h>

#include "app/department_payment/department_payment.h"
#include "app/department_payment/payment_queries.h"
#include "app/department_payment/splitter.h"
#include "basic/scripted_prompts.h"
#include "payment_fixture.h"
#include "settings/store.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::payment;
using payment_test::SummaryDatabase;
using slp::data::Value;

namespace {

slp::data::WageCatalogue fourItems() {
    slp::data::WageCatalogue c;
    c.itemName = {u"部门"_s, u"姓名"_s, u"基本工资"_s, u"实发工资"_s};
    c.itemFormat = {u"0"_s, u"0"_s, u"0.00"_s, u"0.00"_s};
    c.itemWidth = {6, 4, 8, 8};
    c.itemCount = 4;
    c.firstAmountIndex = 2;
    return c;
}

TEST(PaymentQueries, NamesAndCodesCannotChangeAQuery) {
    auto c = fourItems();
    c.itemName[2] = u"基本工资] & 'X' & [基本工资"_s;
    const QString bracketed = u"[基本工资]] & 'X' & [基本工资]"_s;
    EXPECT_TRUE(paymentItemQuery(c, u"2000-04"_s).contains(u"[姓名],"_s + bracketed + u",[实发工资]"_s));
    const QString totals = departmentTotalsQuery(c, u"2000-04"_s, 2, u"0'1"_s);
    EXPECT_TRUE(
        totals.contains(u"sum(val("_s + bracketed + u" & '')) as  "_s + bracketed.chopped(1) + u"ofsum]"_s))
        << totals.toStdString();
    EXPECT_TRUE(totals.contains(u"left(部门号,2)='0''1'"_s)) << totals.toStdString();
}

TEST(PaymentQueries, AnEmptyCatalogueIsASubscriptError) {
    slp::data::WageCatalogue empty;
    try {
        (void)paymentItemQuery(empty, u"2000-04"_s);
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_THROW((void)paymentTotalsQuery(empty, u"2000-04"_s), slp::SubscriptError);
}

class PaymentGrid : public ::testing::Test {
  protected:
    void SetUp() override {
        w.createTables();
        w.addDepartment(u"01"_s, u"销售部"_s);
        w.addDepartment(u"02"_s, u"财务部"_s);
        w.addWage(u"0101"_s,
                  {u"销售一组"_s, u"0101"_s, u"甲"_s, u"1000.50"_s, u"5.2"_s, u"1.5"_s, u"2000.10"_s});
        w.addWage(u"0201"_s, {u"财务一组"_s, u"003"_s, u"丁"_s, u"1200"_s, u"10.4"_s, u""_s, u"3000"_s});
        w.addWage(u"0102"_s, {u"销售二组"_s, u"002"_s, Value(), u"800"_s, u"abc"_s, u"2"_s, u"1500.25"_s});
        logic.beginOpening();
        logic.readCodeLength();
        ASSERT_TRUE(logic.loadCatalogue(prompts));
    }
    SummaryDatabase w;
    slp::ScriptedPrompts prompts;
    DepartmentPayment logic{w.host, payment_test::fixedMeasure};
};

TEST_F(PaymentGrid, OneRowPerEmployeeInCodeOrderAndTheTotalsRow) {
    const auto grid = logic.buildGrid(prompts);
    ASSERT_TRUE(grid);
    EXPECT_EQ(logic.deptCodeLength(), 2);
    ASSERT_EQ(grid->rows(), 5);
    ASSERT_EQ(grid->cols(), 8);
    EXPECT_EQ(grid->fixedRows(), 1);
    EXPECT_EQ(grid->fixedCols(), 3);
    const QStringList captions{u"序号"_s,     u"部门"_s, u"工号"_s,   u"姓名"_s,
                               u"基本工资"_s, u"工龄"_s, u"加班费"_s, u"实发工资"_s};
    const QList<QStringList> rows{
        {u"1"_s, u"销售一组"_s, u"0101"_s, u"甲"_s, u"1000.50"_s, u"5"_s, u"1.5"_s, u"2000.10"_s},
        {u"2"_s, u"销售二组"_s, u"002"_s, u""_s, u"800.00"_s, u"0"_s, u"2.0"_s, u"1500.25"_s},
        {u"3"_s, u"财务一组"_s, u"003"_s, u"丁"_s, u"1200.00"_s, u"10"_s, u"0.0"_s, u"3000.00"_s},
        {u"合计"_s, u""_s, u""_s, u"共3人"_s, u"3000.50"_s, u"16"_s, u"3.5"_s, u"6500.35"_s}};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(grid->text(0, c), captions[c]) << c;
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < 8; ++c) EXPECT_EQ(grid->text(r + 1, c), rows[r][c]) << r + 1 << "," << c;
    }
    // "我" is 180 twips: the sequence 2 characters, each item its print width (half-width characters
    // halved, 9 to 4).
    const QList<int> widths{360, 1080, 720, 720, 900, 540, 720, 1080};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(grid->colWidth(c), widths[c]) << c;
    EXPECT_EQ(headCountPanel(grid->rows() - 2), u"本月发薪人数为3"_s);
}

TEST_F(PaymentGrid, AMonthWithoutWagesLeavesTheGridAfterItsMessage) {
    w.host.workMonth = u"05"_s;
    EXPECT_FALSE(logic.buildGrid(prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"未找到数据,请确定是否计算过!"_s);
    EXPECT_EQ(prompts.asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_FALSE(logic.loadDepartments(prompts));
    EXPECT_EQ(prompts.asked.back().text, u"部门未找到!"_s);
    EXPECT_TRUE(logic.departments().isEmpty());
}

TEST_F(PaymentGrid, BelowTwoLeadingTextItemsTheHeadCountStaysInColumnOne) {
    auto c = logic.catalogue();
    c.firstAmountIndex = 0;
    logic.setCatalogue(c);
    const auto grid = logic.buildGrid(prompts);
    ASSERT_TRUE(grid);
    const int t = grid->rows() - 1;
    EXPECT_EQ(grid->text(t, 0), u"合计"_s);
    EXPECT_EQ(grid->text(t, 1), u"共3人"_s);
    EXPECT_EQ(grid->text(t, 2), u""_s);  // item 1 is only counted
    EXPECT_EQ(grid->text(t, 5), u"16"_s);
}

TEST_F(PaymentGrid, TheDepartmentListSelectsEveryEntryInCodeOrder) {
    w.addDepartment(u"03"_s, u"后勤部"_s, u"2000-05"_s);
    ASSERT_TRUE(logic.loadDepartments(prompts));
    auto& list = logic.departments();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.entries()[0].key, u"01List"_s);
    EXPECT_EQ(list.entries()[1].name, u"财务部"_s);
    EXPECT_EQ(list.selectedCodes(2), (QStringList{u"01"_s, u"02"_s}));
}

TEST(DepartmentListSelection, ClicksMenusAndThePreviewChoice) {
    DepartmentList list;
    EXPECT_EQ(list.previewCode(2), std::nullopt);
    EXPECT_EQ(list.toggle(0), u"已选中了0个部门"_s);  // an empty area: nothing to switch
    list.add(u"01"_s, u"销售部"_s);
    list.add(u"02"_s, u"财务部"_s);
    list.add(u"0201"_s, u"财务一组"_s);
    EXPECT_EQ(list.selectedCount(), 3);
    EXPECT_EQ(list.toggle(2), u"已选中了2个部门"_s);
    EXPECT_EQ(list.previewCode(2), u"02"_s);
    EXPECT_EQ(list.toggle(1), u"已选中了1个部门"_s);
    EXPECT_EQ(list.previewCode(2), u"01"_s);
    EXPECT_EQ(list.toggle(7), u"已选中了1个部门"_s);
    EXPECT_EQ(list.clearSelection(), u"清除选定"_s);
    EXPECT_EQ(list.previewCode(2), u"01"_s);  // none selected: the first entry
    EXPECT_EQ(list.selectAll(), u"全部选定"_s);
    EXPECT_EQ(list.selectedCodes(2), (QStringList{u"01"_s, u"02"_s, u"02"_s}));
    EXPECT_EQ(list.nameOf(u"02"_s), u"财务部"_s);
    try {
        (void)list.nameOf(u"03"_s);
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), kElementNotFound);
    }
}

TEST(RowHeightBox, AcceptsPointTwoToFourCentimetres) {
    struct Case {
        QString answer;
        bool accepted;
        float twips;
        QString caption;
    };
    const std::vector<Case> cases{
        {u"0.2"_s, true, 113.4f, u"每行高度为0.20厘米"_s},
        {u"4"_s, true, 2268, u"每行高度为4.00厘米"_s},
        {u"0.635"_s, true, 360.045f, u"每行高度为0.64厘米"_s},
        {u"0.19"_s, false, 0, {}},
        {u"4.01"_s, false, 0, {}},
        {u""_s, false, 0, {}},
        {u"abc"_s, false, 0, {}},
        {u"-1"_s, false, 0, {}},
    };
    for (const Case& c : cases) {
        const auto a = acceptRowHeight(c.answer);
        ASSERT_EQ(bool(a), c.accepted) << c.answer.toStdString();
        if (!a) continue;
        EXPECT_NEAR(a->rowHeight, c.twips, 0.01) << c.answer.toStdString();
        EXPECT_EQ(a->caption, c.caption);
    }
    EXPECT_EQ(rowHeightCaption(360), u"每行高度为0.63厘米"_s);
}

TEST(RowHeightBox, AsksWithTheCurrentHeightAndKeepsItOnACancel) {
    SummaryDatabase w;
    DepartmentPayment logic(w.host, payment_test::fixedMeasure);
    slp::ScriptedPrompts prompts;
    prompts.answerInput(std::nullopt);
    prompts.answerInput(u"1"_s);
    EXPECT_EQ(logic.askRowHeight(prompts), std::nullopt);
    EXPECT_EQ(logic.rowHeight(), 360);
    EXPECT_EQ(logic.askRowHeight(prompts), u"每行高度为1.00厘米"_s);
    EXPECT_EQ(logic.rowHeight(), 567);
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, u"请输入你想要修改的数值"_s);
    EXPECT_EQ(prompts.asked[0].title, u"更改"_s);
    EXPECT_EQ(prompts.asked[0].defaultText, u"0.63"_s);
}

TEST(PaymentSettings, ReadAtOpeningAndWrittenAtClosing) {
    SummaryDatabase w;
    slp::settings::Store store(w.dir.filePath(u"config"_s));
    DepartmentPayment logic(w.host, payment_test::fixedMeasure);
    logic.loadSettings(store);
    EXPECT_EQ(logic.splitterLeft(), 0);
    EXPECT_FALSE(logic.listVisible());
    EXPECT_EQ(logic.rowHeight(), 360);
    logic.setSplitterLeft(2500);
    logic.setListVisible(true);
    logic.setRowHeight(113.4f);
    logic.saveSettings(store);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"LISTV.VISIBLE"_s, {}), u"True"_s);
    EXPECT_EQ(store.read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, {}), u"2500"_s);
    EXPECT_EQ(store.read(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, {}), u"113.4"_s);
    DepartmentPayment again(w.host, payment_test::fixedMeasure);
    again.loadSettings(store);
    EXPECT_EQ(again.splitterLeft(), 2500);
    EXPECT_TRUE(again.listVisible());
    EXPECT_FLOAT_EQ(again.rowHeight(), 113.4f);
}

TEST(Splitter, ArrangeControlsClampsAndPlaces) {
    struct Case {
        float x, splitter;
    };
    // A window 12000 twips wide, 8000 inside, a status bar of 300.
    for (const Case& c : std::vector<Case>{{0, 30}, {29, 30}, {3000, 3000}, {10500, 10500}, {11000, 10500}}) {
        const Arrangement a = arrangeControls(c.x, 12000, 8000, 300);
        EXPECT_EQ(a.splitterLeft, c.splitter) << c.x;
        EXPECT_EQ(a.listWidth, c.splitter - 30);
        EXPECT_EQ(a.gridLeft, c.splitter + 30);
        EXPECT_EQ(a.gridWidth, 12000 - (c.splitter - 30 + 220));
        EXPECT_EQ(a.gridHeight, 8000 - 120 - 300);
        EXPECT_EQ(a.listTop, 60);
        EXPECT_EQ(a.listHeight, a.gridHeight);
        EXPECT_EQ(a.splitterHeight, a.gridHeight + 120);
    }
    // A window narrower than 1530 twips: the upper clamp wins.
    EXPECT_EQ(arrangeControls(100, 1000, 8000, 300).splitterLeft, -500);
}

TEST(Splitter, TheBarStaysFiveHundredTwipsInsideAndTheListComesBack) {
    EXPECT_EQ(dragBarLeft(3000, 200, 12000), 3200);
    EXPECT_EQ(dragBarLeft(300, 100, 12000), 500);
    EXPECT_EQ(dragBarLeft(11000, 900, 12000), 11500);
    // Dragged to the far right: the bar stops at 11500, the layout clamps to 10500.
    EXPECT_EQ(arrangeControls(dragBarLeft(11000, 900, 12000), 12000, 8000, 300).splitterLeft, 10500);
    EXPECT_EQ(restoredSplitterLeft(200, 12000), 200);
    EXPECT_EQ(restoredSplitterLeft(199, 12000), 3000);
    EXPECT_EQ(restoredSplitterLeft(4000, 12000), 4000);
}

}  // namespace
