// The window 工资输出表1 offscreen: its menus and captions, status bar, the zero display, the font
// size, caption markers, the commands (preview, strips, query, spreadsheet), closing, and the faults it
// reports while staying usable.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include "app/employee_table/employee_commands.h"
#include "app/shared/window_geometry.h"
#include "window_services_fixture.h"
#include "windows/employee_table/employee_table_window.h"
#include "windows/employee_table/register_employee_table.h"
#include "windows/query/query_window.h"
#include "windows/query/register_query.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::employee;
using wage_test::WageDatabase;
using wage_test::WindowFixture;

namespace {

class EmployeeWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        w.writeDemo(25);
        slp::registerEmployeeTableWindow(f.registry, f.services);
        slp::registerQueryWindow(f.registry, f.services);
    }
    EmployeeTableWindow* open() {
        f.registry.open(slp::WindowId::EmployeeTable);
        auto* handle = dynamic_cast<EmployeeTableHandle*>(f.registry.instance(slp::WindowId::EmployeeTable));
        EXPECT_NE(handle, nullptr);
        return handle ? handle->window() : nullptr;
    }
    QAction* action(QWidget* window, const QString& name) {
        auto* a = window->findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name.toStdString();
        return a;
    }
    void trigger(QWidget* window, const QString& name) {
        if (QAction* a = action(window, name)) a->trigger();
    }
    // The column of an item by its caption.
    static int columnOf(const slp::data::WageGrid& g, const QString& caption) {
        for (int c = 0; c < g.cols(); ++c) {
            if (g.text(0, c) == caption) return c;
        }
        return -1;
    }

    WageDatabase w;
    WindowFixture f{w};
};

TEST_F(EmployeeWindow, OpensWithItsMenusStatusAndGrid) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u"个人发放联"_s);
    EXPECT_TRUE(f.prompts->asked.isEmpty());
    const std::pair<const char16_t*, const char16_t*> captions[] = {{u"MnuFileSet_10", u"自动调整宽度"},
                                                                    {u"MnuFileSet_20", u"显示零"},
                                                                    {u"MnuFileSet_30", u"打印字体为9号"},
                                                                    {u"MnuFileSet_35", u"选择所有项目"},
                                                                    {u"MnuFileSet_36", u"清除选择"},
                                                                    {u"MnuFileSet_40", u"转到Excel"},
                                                                    {u"MnuLine", u"打印工资条横线"},
                                                                    {u"SL", u"单行打印（默认）"},
                                                                    {u"DL", u"双行打印"},
                                                                    {u"MnuFind", u"查询"},
                                                                    {u"MnuPrint_10", u"打印工资表"},
                                                                    {u"MnuPrint_15", u"预览个人发放联"},
                                                                    {u"MnuPrint_20", u"打印个人发放联"},
                                                                    {u"MnuExit", u"退出"},
                                                                    {u"MnuPopChild_10", u"选择所有项目"},
                                                                    {u"MnuPopChild_20", u"清除选择"}};
    for (const auto& [name, caption] : captions) {
        QAction* a = action(window, QString::fromUtf16(name));
        if (a) {
            EXPECT_EQ(a->text(), QString::fromUtf16(caption)) << QString::fromUtf16(name).toStdString();
        }
    }
    EXPECT_FALSE(action(window, u"MnuFileSet_10"_s)->isEnabled());
    EXPECT_FALSE(action(window, u"MnuLine"_s)->isChecked());
    // The way slips print is marked; the other way, which prints the same, cannot be chosen.
    EXPECT_TRUE(action(window, u"SL"_s)->isChecked());
    EXPECT_FALSE(action(window, u"DL"_s)->isEnabled());
    auto* file = window->findChild<QMenu*>(u"MnuFile"_s);
    auto* set = window->findChild<QMenu*>(u"MnuSet"_s);
    auto* pop = window->findChild<QMenu*>(u"MnuPop"_s);
    ASSERT_TRUE(file && set && pop);
    EXPECT_EQ(file->title(), u"文件"_s);
    EXPECT_EQ(set->title(), u"打印设置"_s);
    EXPECT_FALSE(pop->isVisible());

    EXPECT_EQ(window->statusPanel(1), u"工作年月:2000-04"_s);
    EXPECT_EQ(window->statusPanel(2), u"本月发薪人数为25"_s);
    const slp::data::WageGrid& g = window->grid();
    EXPECT_EQ(g.rows(), 27);
    EXPECT_EQ(g.text(26, 0), u"合计"_s);
    EXPECT_EQ(g.text(26, 3), u"共25人"_s);
    // The view shows the caption row as its header and the rows below it.
    auto* view = window->gridView();
    EXPECT_EQ(view->shownText(0, 3), u"姓名"_s);
    EXPECT_EQ(view->shownText(1, 0), u"1"_s);
    EXPECT_EQ(view->shownText(26, 0), u"合计"_s);
    EXPECT_EQ(view->model()->rowCount(), 26);
    // At the top left of the screen, full width, 360 twips short of the screen's height.
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(window->width(), screen.width());
    EXPECT_EQ(window->height(), screen.height() - slp::windows::pixelsFromTwips(360, window->logicalDpiY()));
}

TEST_F(EmployeeWindow, TheZeroDisplayRefillsTheGridAndSurvivesReopening) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    const int duty = columnOf(window->grid(), u"职务津贴"_s);
    ASSERT_GT(duty, 0);
    int zeroRow = -1;
    for (int r = 1; r <= 25 && zeroRow < 0; ++r) {
        if (window->grid().text(r, duty) == u"0.00"_s) zeroRow = r;
    }
    ASSERT_GT(zeroRow, 0) << "the demo month has an employee without 职务津贴";

    trigger(window, u"MnuFileSet_20"_s);
    EXPECT_EQ(action(window, u"MnuFileSet_20"_s)->text(), u"不显示零"_s);
    EXPECT_EQ(window->statusPanel(2), u"不显示零"_s);
    EXPECT_TRUE(window->grid().text(zeroRow, duty).isEmpty());
    EXPECT_TRUE(window->gridView()->shownText(zeroRow, duty).isEmpty());

    window->close();
    EXPECT_EQ(w.store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, QString()), u"0"_s);
    EXPECT_FALSE(w.host.database) << "closing releases the host's database";
    w.host.database = w.db;
    window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(action(window, u"MnuFileSet_20"_s)->text(), u"不显示零"_s);
    EXPECT_TRUE(window->grid().text(zeroRow, duty).isEmpty());
    trigger(window, u"MnuFileSet_20"_s);
    EXPECT_EQ(window->grid().text(zeroRow, duty), u"0.00"_s);
    window->close();
    EXPECT_EQ(w.store.read(u"0101GZ"_s, u"打印"_s, u"显示零"_s, QString()), u"-1"_s);
}

TEST_F(EmployeeWindow, TheFontSizeMenuAcceptsFourToSeventeenAndWidensTheColumns) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->grid().colWidth(0), 3 * 180);
    f.prompts->answerInput(u"12"_s);
    trigger(window, u"MnuFileSet_30"_s);
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].text, u"请选择打印字体大小,现在字体为9号"_s);
    EXPECT_EQ(f.prompts->asked[0].title, u"选择"_s);
    EXPECT_EQ(f.prompts->asked[0].defaultText, u"9"_s);
    EXPECT_EQ(action(window, u"MnuFileSet_30"_s)->text(), u"打印字体为12号"_s);
    EXPECT_EQ(window->grid().colWidth(0), 3 * 240);
    EXPECT_EQ(window->grid().colWidth(3), 5 * 240);  // 姓名: print width 10, five characters
    EXPECT_FLOAT_EQ(window->grid().fontSize(), 12);
    EXPECT_EQ(window->gridView()->shownColumnWidth(0),
              slp::windows::pixelsFromTwips(720, window->logicalDpiX()));

    for (const QString& refused : {u"17.5"_s, u"3.9"_s, u""_s}) {
        f.prompts->answerInput(refused);
        trigger(window, u"MnuFileSet_30"_s);
        EXPECT_EQ(action(window, u"MnuFileSet_30"_s)->text(), u"打印字体为12号"_s) << refused.toStdString();
    }
    trigger(window, u"MnuFileSet_30"_s);  // cancelled
    f.prompts->answerInput(u"4.5"_s);
    trigger(window, u"MnuFileSet_30"_s);
    EXPECT_EQ(action(window, u"MnuFileSet_30"_s)->text(), u"打印字体为4号"_s);
    EXPECT_EQ(window->grid().colWidth(0), 3 * 80);
    // The zero display refills at the size in force.
    trigger(window, u"MnuFileSet_20"_s);
    EXPECT_EQ(window->grid().colWidth(0), 3 * 80);
    EXPECT_FLOAT_EQ(window->grid().fontSize(), 4);
}

TEST_F(EmployeeWindow, CaptionMarkersFollowClicksAndTheSelectionMenus) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    const auto markers = [&] {
        QList<bool> out;
        for (int c = 0; c < window->grid().cols(); ++c) out << window->grid().captionMarker(c);
        return out;
    };
    window->gridView()->clickColumn(4);
    EXPECT_TRUE(window->grid().captionMarker(4));
    EXPECT_FALSE(window->grid().captionMarker(3));
    window->gridView()->clickColumn(4);
    EXPECT_FALSE(window->grid().captionMarker(4));
    trigger(window, u"MnuFileSet_35"_s);
    EXPECT_FALSE(markers().contains(false));
    trigger(window, u"MnuFileSet_36"_s);
    EXPECT_FALSE(markers().contains(true));
    trigger(window, u"MnuPopChild_10"_s);
    EXPECT_FALSE(markers().contains(false));
    EXPECT_FALSE(window->gridView()->model()->headerData(2, Qt::Horizontal, Qt::DecorationRole).isNull());
    trigger(window, u"MnuPopChild_20"_s);
    EXPECT_FALSE(markers().contains(true));
}

TEST_F(EmployeeWindow, ThePrintCommandsHandTheGridAsShownToThePreview) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    trigger(window, u"MnuFileSet_20"_s);  // zeros hidden
    f.prompts->answerInput(u"11"_s);
    trigger(window, u"MnuFileSet_30"_s);
    trigger(window, u"MnuPrint_10"_s);
    trigger(window, u"MnuPrint_15"_s);
    ASSERT_EQ(f.previews.size(), 2u);
    const auto& table = f.previews[0];
    EXPECT_EQ(table.slipMode, 0);
    EXPECT_EQ(table.title, u"工资签收联"_s);
    EXPECT_EQ(table.leftText, u"单位名称:朔岚测试厂"_s);
    EXPECT_EQ(table.rightText, u"发薪日期:00-04"_s);
    EXPECT_TRUE(table.footerText.isEmpty());
    EXPECT_EQ(table.captionRows, 1);
    EXPECT_FLOAT_EQ(table.printFontSize, 11);
    const auto& slips = f.previews[1];
    EXPECT_EQ(slips.slipMode, -1);
    EXPECT_TRUE(slips.title.isEmpty());
    EXPECT_TRUE(slips.rightText.isEmpty());
    EXPECT_EQ(slips.leftText, u"单位名称:朔岚测试厂"_s);
    // The grid as the clerk sees it: hidden zeros, widths at 11 points.
    for (const auto* sent : {&table.grid, &slips.grid}) {
        ASSERT_EQ(sent->rows(), window->grid().rows());
        ASSERT_EQ(sent->cols(), window->grid().cols());
        for (int r = 0; r < sent->rows(); ++r) {
            for (int c = 0; c < sent->cols(); ++c) ASSERT_EQ(sent->text(r, c), window->grid().text(r, c));
        }
        for (int c = 0; c < sent->cols(); ++c) EXPECT_EQ(sent->colWidth(c), window->grid().colWidth(c));
    }
}

TEST_F(EmployeeWindow, StripsOfARangeGoToThePrinterAsOneJob) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    trigger(window, u"MnuLine"_s);
    EXPECT_TRUE(action(window, u"MnuLine"_s)->isChecked());
    EXPECT_EQ(action(window, u"MnuLine"_s)->text(), u"打印工资条横线"_s);  // ticked: rules printed
    EXPECT_TRUE(window->stripRules());

    f.prompts->answerInput(u"3"_s);
    f.prompts->answerInput(u"40"_s);
    trigger(window, u"MnuPrint_20"_s);
    ASSERT_EQ(f.prompts->asked.size(), 3);
    EXPECT_EQ(f.prompts->asked[0].text, u"共有25名员工\r\n请选择从第几位开始打印"_s);
    EXPECT_EQ(f.prompts->asked[1].text, u"共有25名员工\r\n从第3位开始,请选择到第几位结束"_s);
    EXPECT_TRUE(f.prompts->asked[2].text.startsWith(u"已打印到PDF文件"_s));
    EXPECT_EQ(f.printedFiles().size(), 1);
    // Whatever paper is chosen, the strips went on pages of their own size: the clerk is told.
    EXPECT_EQ(window->statusPanel(2), stripPageNotice());
    EXPECT_TRUE(stripPageNotice().contains(u"38.45×1.27厘米"_s));

    // Cancelled, or the first after the last: no printer is even opened.
    trigger(window, u"MnuPrint_20"_s);
    f.prompts->answerInput(u"9"_s);
    f.prompts->answerInput(u"8"_s);
    trigger(window, u"MnuPrint_20"_s);
    EXPECT_EQ(f.printersOpened, 1);
    EXPECT_EQ(f.printedFiles().size(), 1);

    trigger(window, u"MnuLine"_s);
    EXPECT_EQ(action(window, u"MnuLine"_s)->text(), u"打印工资条横线"_s);
    EXPECT_FALSE(window->stripRules());
}

TEST_F(EmployeeWindow, NoPrinterIsReportedAndTheWindowCarriesOn) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    f.registry.destroyAll();
    f.services.openPrinter = []() -> std::unique_ptr<slp::print::Printer> {
        throw slp::Error(484, u"未找到打印机"_s);
    };
    slp::registerEmployeeTableWindow(f.registry, f.services);
    window = open();
    ASSERT_TRUE(window);
    f.prompts->answerInput(u"1"_s);
    f.prompts->answerInput(u"2"_s);
    trigger(window, u"MnuPrint_20"_s);
    ASSERT_EQ(f.prompts->asked.size(), 3);
    EXPECT_EQ(f.prompts->asked[2].text, u"未找到打印机"_s);
    EXPECT_EQ(f.prompts->asked[2].title, u"错误号:484"_s);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(EmployeeWindow, TheQueryOpensOwnedByTheTableAndTheExportGetsTheGrid) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    trigger(window, u"MnuFind"_s);
    auto* query = dynamic_cast<slp::windows::query::QueryHandle*>(f.registry.instance(slp::WindowId::Query));
    ASSERT_TRUE(query);
    ASSERT_TRUE(query->window());
    EXPECT_TRUE(query->window()->isVisible());
    EXPECT_EQ(query->window()->parentWidget(), window);
    EXPECT_TRUE(query->window()->isWindow());
    // A second 查询 only brings it forward.
    QWidget* first = query->window();
    trigger(window, u"MnuFind"_s);
    EXPECT_EQ(query->window(), first);

    trigger(window, u"MnuFileSet_40"_s);
    ASSERT_EQ(f.exported.size(), 1u);
    EXPECT_EQ(f.exported[0].rows(), 27);
    EXPECT_EQ(f.exported[0].text(0, 3), u"姓名"_s);

    // Closing the table closes the query it owns.
    window->close();
    QApplication::processEvents();
    EXPECT_FALSE(query->isOpen());
}

TEST_F(EmployeeWindow, DatabaseFaultsAreReportedAndTheWindowStaysUsable) {
    // An item of the catalogue without a wage column.
    w.db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, u"2000-04"_s},
                                         {u"项目序号"_s, slp::data::Value::integer(99)},
                                         {u"项目名称"_s, u"不存在"_s},
                                         {u"小数位数"_s, slp::data::Value::integer(2)},
                                         {u"打印宽度"_s, slp::data::Value::integer(8)}});
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].title, u"错误号:3000"_s);
    EXPECT_EQ(f.prompts->asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_FALSE(f.prompts->asked[0].text.isEmpty());
    EXPECT_EQ(window->grid().rows(), 0);
    trigger(window, u"MnuFileSet_20"_s);
    EXPECT_EQ(f.prompts->asked.size(), 2);
    f.prompts->answerInput(u"10"_s);
    trigger(window, u"MnuFileSet_30"_s);
    EXPECT_EQ(action(window, u"MnuFileSet_30"_s)->text(), u"打印字体为10号"_s);
    trigger(window, u"MnuPrint_20"_s);
    EXPECT_EQ(f.prompts->asked.back().text, u"共有0名员工\r\n请选择从第几位开始打印"_s);
    window->close();
}

TEST_F(EmployeeWindow, WithoutADatabaseTheWindowOpensEmptyWithoutAMonthsItemsNone) {
    w.host.database.reset();
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].text, u"对象变量或 With 块变量未设置"_s);
    EXPECT_EQ(f.prompts->asked[0].title, u"错误号:91"_s);
    window->close();

    w.host.database = w.db;
    w.host.workMonth = u"05"_s;
    f.prompts->asked.clear();
    // A month without items: the message, and no empty window after it.
    EXPECT_EQ(open(), nullptr);
    ASSERT_EQ(f.prompts->asked.size(), 1);
    EXPECT_EQ(f.prompts->asked[0].text, u"未找到本月计算公,请先设置本月公式!"_s);
    EXPECT_FALSE(f.registry.instance(slp::WindowId::EmployeeTable)->isOpen());
    w.host.workMonth = u"04"_s;
    w.host.database = w.db;  // closing released it, as every closing does
    ASSERT_NE(open(), nullptr);
}

TEST_F(EmployeeWindow, ResizingPlacesTheGridByTheRule) {
    EmployeeTableWindow* window = open();
    ASSERT_TRUE(window);
    window->showNormal();
    window->resize(900, 600);
    QApplication::processEvents();
    const double dpi = window->logicalDpiY();
    const int twipsWide = slp::windows::twipsFromPixels(window->width(), dpi);
    const QRect grid = window->gridView()->geometry();
    EXPECT_EQ(grid.left(), slp::windows::pixelsFromTwips(30, dpi));
    EXPECT_EQ(grid.top(), slp::windows::pixelsFromTwips(30, dpi));
    EXPECT_EQ(grid.width(), slp::windows::pixelsFromTwips(twipsWide - 120, dpi));
    // Too small a window leaves the grid where it was.
    window->resize(100, 150);
    QApplication::processEvents();
    EXPECT_EQ(window->gridView()->geometry(), grid);

    // A picture of the window for whoever looks at it.
    if (const QString dir = qEnvironmentVariable("SLP_SNAPSHOT_DIR"); !dir.isEmpty()) {
        window->resize(1280, 720);
        QApplication::processEvents();
        window->grab().save(dir + u"/employee_table.png"_s);
    }
}

}  // namespace
