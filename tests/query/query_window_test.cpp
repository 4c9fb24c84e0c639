// The window SlgzGRCX offscreen: the condition boxes and Enter, the outcomes of "确定", the result
// state with its menus, and the slips handed to the preview.
#include "windows/query/query_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "../employee_table/window_services_fixture.h"
#include "windows/query/register_query.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::query;
using wage_test::WageDatabase;
using wage_test::WindowFixture;

namespace {

class QueryWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        w.writeDemo(40);
        slp::registerQueryWindow(f.registry, f.services);
        f.registry.open(slp::WindowId::Query);
        handle = dynamic_cast<QueryHandle*>(f.registry.instance(slp::WindowId::Query));
        ASSERT_TRUE(handle);
        window = handle->window();
        ASSERT_TRUE(window);
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
    }
    QAction* action(const QString& name) { return window->findChild<QAction*>(name); }

    WageDatabase w;
    WindowFixture f{w};
    QueryHandle* handle = nullptr;
    QueryWindow* window = nullptr;
};

TEST_F(QueryWindowTest, OpensEmptyWithItsLabelsButtonsAndNoMenus) {
    EXPECT_EQ(window->windowTitle(), u"查询"_s);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->nameBox()->text().isEmpty());
    EXPECT_TRUE(window->departmentBox()->text().isEmpty());
    EXPECT_EQ(window->findChild<QLabel*>(u"Label1_1"_s)->text(), u"姓名："_s);
    EXPECT_EQ(window->findChild<QLabel*>(u"Label1_0"_s)->text(), u"部门号："_s);
    EXPECT_FALSE(window->findChild<QLabel*>(u"Label1_2"_s)->isVisible());
    EXPECT_EQ(window->confirmButton()->text(), u"确定"_s);
    EXPECT_EQ(window->cancelButton()->text(), u"取消"_s);
    ASSERT_TRUE(action(u"MnuPrint"_s) && action(u"MnuExit"_s));
    EXPECT_EQ(action(u"MnuPrint"_s)->text(), u"打印个人发放联"_s);
    EXPECT_EQ(action(u"MnuExit"_s)->text(), u"退出"_s);
    EXPECT_FALSE(action(u"MnuPrint"_s)->isVisible());
    EXPECT_FALSE(action(u"MnuExit"_s)->isVisible());
    EXPECT_FALSE(window->gridView()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window->nameBox());
}

TEST_F(QueryWindowTest, EnterMovesFromNameToDepartmentToTheButtonWithoutQuerying) {
    window->nameBox()->setText(u"李"_s);
    QTest::keyClick(window->nameBox(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window->departmentBox());
    QTest::keyClick(window->departmentBox(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window->confirmButton());
    EXPECT_FALSE(window->showingResults());
    EXPECT_TRUE(f.prompts->asked.isEmpty());
    // Enter on the button runs the query.
    QTest::keyClick(window->confirmButton(), Qt::Key_Return);
    EXPECT_TRUE(window->showingResults());
}

TEST_F(QueryWindowTest, AQueryThatFindsShowsTheGridAndTheMenus) {
    window->nameBox()->setText(u"李"_s);
    window->confirmButton()->click();
    ASSERT_TRUE(window->showingResults());
    EXPECT_TRUE(f.prompts->asked.isEmpty());
    EXPECT_FALSE(window->nameBox()->isVisible());
    EXPECT_FALSE(window->departmentBox()->isVisible());
    EXPECT_FALSE(window->confirmButton()->isVisible());
    EXPECT_FALSE(window->cancelButton()->isVisible());
    EXPECT_FALSE(window->findChild<QLabel*>(u"Label1_1"_s)->isVisible());
    EXPECT_TRUE(action(u"MnuPrint"_s)->isVisible());
    EXPECT_TRUE(action(u"MnuExit"_s)->isVisible());
    EXPECT_TRUE(window->gridView()->isVisible());
    const slp::data::WageGrid& g = window->grid();
    ASSERT_GE(g.rows(), 2);
    EXPECT_EQ(g.fixedCols(), 3);
    for (int r = 1; r < g.rows(); ++r)
        EXPECT_TRUE(g.text(r, 3).startsWith(u"李"_s)) << g.text(r, 3).toStdString();
    EXPECT_EQ(window->gridView()->shownText(1, 3), g.text(1, 3));

    f.registry.destroyAll();
}

TEST_F(QueryWindowTest, TheSlipsAreHandedToThePreviewAtTheOwnersFontSize) {
    handle->setPrintFontSizeSource([] { return 13.0f; });
    handle->close();
    f.registry.open(slp::WindowId::Query);
    window = handle->window();
    ASSERT_TRUE(window);
    window->departmentBox()->setText(u"01"_s);
    window->confirmButton()->click();
    ASSERT_TRUE(window->showingResults());
    action(u"MnuPrint"_s)->trigger();
    ASSERT_EQ(f.previews.size(), 1u);
    const auto& p = f.previews[0];
    EXPECT_EQ(p.slipMode, -1);
    EXPECT_TRUE(p.title.isEmpty());
    EXPECT_EQ(p.leftText, u"单位名称:朔岚测试厂"_s);
    EXPECT_FLOAT_EQ(p.printFontSize, 13);
    EXPECT_EQ(p.grid.rows(), window->grid().rows());
    action(u"MnuExit"_s)->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(handle->isOpen());
}

TEST_F(QueryWindowTest, NothingFoundSaysSoAndCloses) {
    window->nameBox()->setText(u"没有这个人"_s);
    window->confirmButton()->click();
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].text, u"未找到满足条件的数据!"_s);
    QApplication::processEvents();
    EXPECT_FALSE(handle->isOpen());
    // A new window opens empty.
    f.registry.open(slp::WindowId::Query);
    ASSERT_TRUE(handle->window());
    EXPECT_TRUE(handle->window()->nameBox()->text().isEmpty());
    EXPECT_FALSE(handle->window()->showingResults());
}

TEST_F(QueryWindowTest, EmptyBoxesOrCancelCloseWithoutAWord) {
    window->nameBox()->setText(u"   "_s);
    window->confirmButton()->click();
    QApplication::processEvents();
    EXPECT_FALSE(handle->isOpen());
    EXPECT_TRUE(f.prompts->asked.isEmpty());
    f.registry.open(slp::WindowId::Query);
    handle->window()->cancelButton()->click();
    QApplication::processEvents();
    EXPECT_FALSE(handle->isOpen());
    EXPECT_TRUE(f.prompts->asked.isEmpty());
}

TEST_F(QueryWindowTest, AQuoteInTheBoxIsJustACharacter) {
    window->nameBox()->setText(u"x' or '1'='1"_s);
    window->confirmButton()->click();
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].text, u"未找到满足条件的数据!"_s);
}

TEST_F(QueryWindowTest, DatabaseFaultsAreReportedAndTheBoxesStay) {
    w.host.database.reset();
    window->nameBox()->setText(u"李"_s);
    window->confirmButton()->click();
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].title, u"错误号:91"_s);
    EXPECT_TRUE(handle->isOpen());
    EXPECT_FALSE(window->showingResults());
    EXPECT_TRUE(window->nameBox()->isVisible());
}

}  // namespace
