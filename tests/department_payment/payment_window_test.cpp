// The window 工资输出表2 offscreen: opening (captions, menus, list, grid, status bar, settings), the
// department list's clicks and pop-up menu, showing and hiding the list, the splitter, the row-height
// box, printing, the preview and its Esc, and closing (settings written, the host's database released).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>

#include "basic/scripted_prompts.h"
#include "job_printer.h"
#include "payment_fixture.h"
#include "settings/store.h"
#include "ui/window_registry.h"
#include "windows/department_payment/department_payment_window.h"
#include "windows/department_payment/register_department_payment.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::payment;
using payment_test::JobLog;
using payment_test::JobPrinter;
using payment_test::SummaryDatabase;

namespace {

class PaymentWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        store = std::make_shared<slp::settings::Store>(w.dir.filePath(u"config"_s));
        services.context = &w.host;
        services.registry = &registry;
        services.store = store;
        services.clock = std::make_shared<slp::FixedClock>(QDateTime(QDate(2000, 4, 25), QTime(9, 5)));
        services.prompts = prompts;
        services.measure = payment_test::fixedMeasure;
        services.openPrinter = [this]() -> std::unique_ptr<slp::print::Printer> {
            if (!printerInstalled) throw slp::Error(484, u"未安装打印机"_s);
            return std::make_unique<JobPrinter>(9540, log);
        };
        services.exportGrid = [this](const slp::data::WageGrid& g, slp::Prompts&) { exported.push_back(g); };
        slp::registerDepartmentPaymentWindow(registry, services);
        w.createTables();
        w.addDepartment(u"01"_s, u"销售部"_s);
        w.addDepartment(u"02"_s, u"财务部"_s);
        w.addDepartment(u"03"_s, u"后勤部"_s);
        for (int i = 1; i <= 25; ++i) {
            w.addWage(u"0101"_s, {u"销售一组"_s, u"0101"_s, u"员工"_s + QString::number(i), u"100"_s, u"3"_s,
                                  u"1.5"_s, u"200"_s});
        }
        w.addWage(u"0201"_s, {u"财务一组"_s, u"0201"_s, u"丁"_s, u"1200"_s, u"10.4"_s, u""_s, u"3000"_s});
    }
    void TearDown() override { registry.destroyAll(); }

    DepartmentPaymentWindow* open() {
        registry.open(slp::WindowId::DepartmentPayment);
        auto* handle =
            dynamic_cast<DepartmentPaymentHandle*>(registry.instance(slp::WindowId::DepartmentPayment));
        EXPECT_NE(handle, nullptr);
        return handle ? handle->window() : nullptr;
    }
    static QAction* action(QWidget* window, const QString& name) {
        auto* a = window->findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name.toStdString();
        return a;
    }
    static void trigger(QWidget* window, const QString& name) {
        if (QAction* a = action(window, name)) a->trigger();
    }
    static bool shown(QWidget* window, const QString& name) {
        QAction* a = action(window, name);
        return a && a->isVisible();
    }
    static bool fileMenuShown(QWidget* window) {
        auto* menu = window->findChild<QMenu*>(u"MnuFile"_s);
        return menu && menu->menuAction()->isVisible();
    }
    static QList<bool> icons(DepartmentPaymentWindow* win) {
        QList<bool> selected;
        for (const auto& e : win->logic().departments().entries()) selected << e.selected;
        return selected;
    }

    SummaryDatabase w;
    std::shared_ptr<slp::settings::Store> store;
    std::shared_ptr<slp::ScriptedPrompts> prompts = std::make_shared<slp::ScriptedPrompts>();
    slp::WindowRegistry registry{w.host};
    slp::windows::WindowServices services;
    std::shared_ptr<JobLog> log = std::make_shared<JobLog>();
    std::vector<slp::data::WageGrid> exported;
    bool printerInstalled = true;
};

TEST_F(PaymentWindow, OpensWithTheDepartmentsTheGridAndItsMenus) {
    auto* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->windowTitle(), u"班组签收联"_s);
    EXPECT_TRUE(prompts->asked.isEmpty());
    EXPECT_EQ(win->grid().rows(), 28);
    EXPECT_EQ(win->grid().text(27, 3), u"共26人"_s);
    EXPECT_EQ(win->statusPanel(1), u"工作年月:2000-04"_s);
    EXPECT_EQ(win->statusPanel(2), u"本月发薪人数为26"_s);
    ASSERT_EQ(win->departmentList()->count(), 3);
    EXPECT_EQ(win->departmentList()->item(1)->text(), u"财务部"_s);
    EXPECT_EQ(icons(win), (QList<bool>{true, true, true}));
    // The list is hidden by default ("LISTV.VISIBLE" False).
    EXPECT_FALSE(win->departmentList()->isVisible());
    EXPECT_EQ(action(win, u"MnuSelDept"_s)->text(), u"显示部门"_s);
    EXPECT_EQ(action(win, u"MnuFileSet_20"_s)->text(), u"每行高度为0.63厘米"_s);
    EXPECT_FALSE(action(win, u"MnuFileSet_10"_s)->isEnabled());
    EXPECT_FALSE(shown(win, u"MnuFileSet_40"_s));
    EXPECT_EQ(action(win, u"MnuFileSet_40"_s)->text(), u"打印字体为9号"_s);
    EXPECT_FALSE(shown(win, u"MnuPrint_20"_s));
    EXPECT_FALSE(shown(win, u"MnuExitView"_s));
    EXPECT_TRUE(shown(win, u"MnuPrint_10"_s));
    EXPECT_EQ(action(win, u"MnuPrint_10"_s)->text(), u"打印班组签收联"_s);
    EXPECT_FALSE(win->previewPicture()->isVisible());
    // The list hidden, the splitter at its least: the grid from 60 twips.
    EXPECT_EQ(win->splitterLeft(), 30);
}

TEST_F(PaymentWindow, ListClicksPopUpMenuAndHidingTheList) {
    store->write(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"LISTV.VISIBLE"_s, u"True"_s);
    store->write(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, u"2400"_s);
    auto* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->departmentList()->isVisible());
    EXPECT_EQ(action(win, u"MnuSelDept"_s)->text(), u"不显示部门"_s);
    EXPECT_EQ(win->splitterLeft(), 2400);
    win->clickDepartment(1);
    EXPECT_EQ(win->statusPanel(2), u"已选中了2个部门"_s);
    EXPECT_EQ(icons(win), (QList<bool>{true, false, true}));
    win->clickDepartment(-1);  // an empty area
    EXPECT_EQ(icons(win), (QList<bool>{true, false, true}));
    // The real click on the list's item.
    QListWidget* list = win->departmentList();
    emit list->itemClicked(list->item(0));
    EXPECT_EQ(win->statusPanel(2), u"已选中了1个部门"_s);
    trigger(win->popupMenu(), u"MnuPopSel_20"_s);
    EXPECT_EQ(win->statusPanel(2), u"清除选定"_s);
    EXPECT_EQ(icons(win), (QList<bool>{false, false, false}));
    trigger(win->popupMenu(), u"MnuPopSel_10"_s);
    EXPECT_EQ(win->statusPanel(2), u"全部选定"_s);
    EXPECT_EQ(icons(win), (QList<bool>{true, true, true}));
    EXPECT_EQ(list->contextMenuPolicy(), Qt::CustomContextMenu);

    // Hiding the list selects every department and moves the grid left; showing it puts the splitter back.
    win->clickDepartment(2);
    trigger(win, u"MnuSelDept"_s);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(icons(win), (QList<bool>{true, true, true}));
    EXPECT_EQ(win->splitterLeft(), 30);
    EXPECT_EQ(action(win, u"MnuSelDept"_s)->text(), u"显示部门"_s);
    trigger(win, u"MnuSelDept"_s);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(win->splitterLeft(), 2400);
    EXPECT_EQ(action(win, u"MnuSelDept"_s)->text(), u"不显示部门"_s);
}

TEST_F(PaymentWindow, TheSplitterDragsWithinTheWindow) {
    store->write(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"LISTV.VISIBLE"_s, u"True"_s);
    auto* win = open();
    ASSERT_NE(win, nullptr);
    win->resize(800, 600);
    const float width = win->widthTwips();
    win->arrangeControls(3000);
    win->pressSplitter();
    EXPECT_TRUE(win->splitterBar()->isVisible());
    win->moveSplitter(1500);
    win->releaseSplitter();
    EXPECT_FALSE(win->splitterBar()->isVisible());
    EXPECT_NEAR(win->splitterLeft(), 4500, 15);
    // Far right: the bar stops 500 twips inside, the layout clamps to 1500 inside.
    win->pressSplitter();
    win->moveSplitter(100000);
    win->releaseSplitter();
    EXPECT_NEAR(win->splitterLeft(), width - 1500, 15);
    // A grid to the right of the splitter.
    EXPECT_GT(win->gridView()->x(), win->splitter()->x());
}

TEST_F(PaymentWindow, ColumnMarks) {
    auto* win = open();
    ASSERT_NE(win, nullptr);
    const int cols = win->grid().cols();
    auto marks = [&] {
        int n = 0;
        for (int c = 0; c < cols; ++c) n += win->grid().captionMarker(c) ? 1 : 0;
        return n;
    };
    win->gridView()->clickColumn(2);
    EXPECT_TRUE(win->grid().captionMarker(2));
    EXPECT_EQ(marks(), 1);
    win->gridView()->clickColumn(2);
    EXPECT_EQ(marks(), 0);
    trigger(win, u"MnuFileSet_45"_s);
    EXPECT_EQ(marks(), cols);
    trigger(win, u"MnuFileSet_46"_s);
    EXPECT_EQ(marks(), 0);
}

TEST_F(PaymentWindow, TheRowHeightBox) {
    auto* win = open();
    ASSERT_NE(win, nullptr);
    prompts->answerInput(u"0.19"_s);
    prompts->answerInput(u"0.2"_s);
    trigger(win, u"MnuFileSet_20"_s);
    EXPECT_EQ(action(win, u"MnuFileSet_20"_s)->text(), u"每行高度为0.63厘米"_s);
    trigger(win, u"MnuFileSet_20"_s);
    EXPECT_EQ(action(win, u"MnuFileSet_20"_s)->text(), u"每行高度为0.20厘米"_s);
    EXPECT_FLOAT_EQ(win->logic().rowHeight(), 113.4f);
    EXPECT_EQ(prompts->asked.back().defaultText, u"0.63"_s);
}

TEST_F(PaymentWindow, PrintsTheSelectedDepartmentsOrSaysThereIsNoPrinter) {
    auto* win = open();
    ASSERT_NE(win, nullptr);
    trigger(win, u"MnuPrint_10"_s);
    EXPECT_TRUE(prompts->asked.isEmpty());
    ASSERT_EQ(log->jobs.size(), 2u);  // 后勤部 has no employees
    EXPECT_EQ(log->jobs[0].size(), 2u);
    EXPECT_TRUE(log->jobs[1][0].find(u"部门名称:财务部"_s));
    printerInstalled = false;
    trigger(win, u"MnuPrint_10"_s);
    ASSERT_EQ(prompts->asked.size(), 1);
    EXPECT_EQ(prompts->asked[0].text, u"   未找到打印驱动程序\r\n请先安装了打印驱动程序!"_s);
    trigger(win, u"MnuFileSet_50"_s);
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_EQ(exported[0].rows(), 28);
}

TEST_F(PaymentWindow, PreviewShowsThePrintersPageAndEscLeavesIt) {
    auto* win = open();
    ASSERT_NE(win, nullptr);
    win->show();
    win->clickDepartment(1);  // 财务部 not selected: the last selected is 后勤部, which has no rows
    win->clickDepartment(2);  // now 销售部 is the last selected
    trigger(win, u"MnuFileSet_30"_s);
    ASSERT_TRUE(win->inPreview());
    EXPECT_FALSE(shown(win, u"MnuExit"_s));
    EXPECT_FALSE(shown(win, u"MnuPrint_10"_s));
    EXPECT_FALSE(shown(win, u"MnuSelDept"_s));
    EXPECT_FALSE(fileMenuShown(win));
    EXPECT_TRUE(shown(win, u"MnuExitView"_s));
    const slp::print::Page& page = win->previewPage();
    EXPECT_TRUE(page.find(u"部门名称:销售部"_s));
    EXPECT_TRUE(page.find(u"共2页   第1页"_s));
    EXPECT_FALSE(page.find(u"合计:25"_s));  // the totals stand on the last page, as the printer gets them
    EXPECT_FALSE(win->previewPicture()->pixmap().isNull());

    // The very pages the printer gets for 销售部, page for page.
    slp::data::WageGrid grid = win->grid();
    JobPrinter printer;
    win->logic().printDepartment(u"01"_s, grid, printer, QDateTime(QDate(2000, 4, 25), QTime(9, 5)));
    const auto printed = printer.jobs.at(0);
    ASSERT_EQ(win->previewPageCount(), int(printed.size()));
    EXPECT_EQ(page.texts, printed.at(0).texts);
    EXPECT_EQ(page.lines, printed.at(0).lines);
    EXPECT_EQ(page.size, printed.at(0).size);
    // The whole page shows within the window.
    EXPECT_LE(win->previewPicture()->width(), win->width());
    EXPECT_LE(win->previewPicture()->height(), win->height());

    // PageDown, PageUp, Home and End turn the department's pages, as the printer gets them from page 2
    // on; the status bar says where the preview stands.
    // The keys work whichever control has the focus: here the department list's.
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win));
    win->departmentList()->setFocus();
    const auto key = [win](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(win->departmentList(), k, m);
    };
    ASSERT_EQ(win->previewPageCount(), 2);
    EXPECT_EQ(win->statusPanel(2), u"销售部  共2页,现第1页"_s);
    for (const auto& [k, expected] : {std::pair{Qt::Key_PageDown, 2},
                                      {Qt::Key_PageDown, 2},
                                      {Qt::Key_Home, 1},
                                      {Qt::Key_End, 2},
                                      {Qt::Key_PageUp, 1},
                                      {Qt::Key_PageUp, 1}}) {
        key(k);
        EXPECT_EQ(win->previewPageNumber(), expected) << k;
    }
    key(Qt::Key_End);
    EXPECT_TRUE(win->previewPage().find(u"共2页   第2页"_s));
    EXPECT_TRUE(win->previewPage().find(u"合计:25"_s));
    EXPECT_EQ(win->previewPage().texts, printed.at(1).texts);
    key(Qt::Key_PageDown, Qt::ControlModifier);  // 销售部 is the only department selected
    EXPECT_EQ(win->previewDepartmentCode(), u"01"_s);
    key(Qt::Key_Home);

    // The left button drags the picture.
    QLabel* pic = win->previewPicture();
    const QPoint before = pic->pos();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), pic->mapToGlobal(QPointF(10, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), pic->mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    EXPECT_EQ(pic->pos(), before + QPoint(30, 20));

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(win, &esc);
    EXPECT_FALSE(win->inPreview());
    EXPECT_TRUE(shown(win, u"MnuExit"_s));
    EXPECT_TRUE(fileMenuShown(win));
    EXPECT_FALSE(shown(win, u"MnuExitView"_s));
    QApplication::sendEvent(win, &esc);  // nothing when not previewing
    EXPECT_FALSE(win->inPreview());

    // None selected: the first entry, and Ctrl+PageDown goes through every department; 退出预览 leaves too.
    trigger(win->popupMenu(), u"MnuPopSel_20"_s);
    trigger(win, u"MnuFileSet_30"_s);
    EXPECT_TRUE(win->previewPage().find(u"部门名称:销售部"_s));
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(win->previewDepartmentCode(), u"02"_s);
    EXPECT_TRUE(win->previewPage().find(u"部门名称:财务部"_s));
    EXPECT_EQ(win->previewPageNumber(), 1);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(win->previewDepartmentCode(), u"01"_s);
    trigger(win, u"MnuExitView"_s);
    EXPECT_FALSE(win->inPreview());
    if (const QByteArray dir = qgetenv("SLP_SCREENSHOT_DIR"); !dir.isEmpty()) {
        win->resize(1200, 800);
        trigger(win, u"MnuSelDept"_s);
        win->grab().save(QString::fromLocal8Bit(dir) + u"/payment-window.png"_s);
        trigger(win, u"MnuFileSet_30"_s);
        win->grab().save(QString::fromLocal8Bit(dir) + u"/payment-preview.png"_s);
    }
}

TEST_F(PaymentWindow, ClosingWritesTheSettingsAndReleasesTheDatabase) {
    auto* win = open();
    ASSERT_NE(win, nullptr);
    prompts->answerInput(u"1"_s);
    trigger(win, u"MnuFileSet_20"_s);
    trigger(win, u"MnuSelDept"_s);  // show the list
    win->arrangeControls(2000);
    trigger(win, u"MnuExit"_s);
    EXPECT_EQ(store->read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"LISTV.VISIBLE"_s, {}), u"True"_s);
    EXPECT_EQ(store->read(u"Sl_PAYPRN"_s, u"班组签收联SETTINGS"_s, u"IMAGELEFT"_s, {}), u"2000"_s);
    EXPECT_EQ(store->read(u"0101GZ"_s, u"打印设置"_s, u" 行高"_s, {}), u"567"_s);
    EXPECT_EQ(w.host.database, nullptr);
}

TEST_F(PaymentWindow, AMonthWithoutDataOpensEmptyAfterItsMessages) {
    w.host.workMonth = u"05"_s;
    w.db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, u"2000-05"_s},
                                         {u"项目序号"_s, slp::data::Value::integer(1)},
                                         {u"项目名称"_s, u"部门"_s},
                                         {u"小数位数"_s, slp::data::Value::integer(0)},
                                         {u"打印宽度"_s, slp::data::Value::integer(8)}});
    w.db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, u"2000-05"_s},
                                         {u"项目序号"_s, slp::data::Value::integer(2)},
                                         {u"项目名称"_s, u"工号"_s},
                                         {u"小数位数"_s, slp::data::Value::integer(2)},
                                         {u"打印宽度"_s, slp::data::Value::integer(8)}});
    auto* win = open();
    ASSERT_NE(win, nullptr);
    ASSERT_EQ(prompts->asked.size(), 2);
    EXPECT_EQ(prompts->asked[0].text, u"未找到数据,请确定是否计算过!"_s);
    EXPECT_EQ(prompts->asked[1].text, u"部门未找到!"_s);
    EXPECT_EQ(win->departmentList()->count(), 0);
    trigger(win, u"MnuFileSet_30"_s);  // an empty list: told so, no preview
    EXPECT_FALSE(win->inPreview());
    EXPECT_EQ(prompts->asked.back().text, u"部门未找到!"_s);
}

}  // namespace
