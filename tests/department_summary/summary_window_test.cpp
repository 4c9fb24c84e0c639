// The window 工资输出表3 offscreen: its menus and captions, status bar, the print font size, caption
// markers, the preview and spreadsheet commands, closing (which releases the host's database), and the
// messages and faults it reports while staying usable.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <vector>

#include "basic/scripted_prompts.h"
#include "print/font_metrics.h"
#include "summary_fixture.h"
#include "ui/window_registry.h"
#include "windows/department_summary/department_summary_window.h"
#include "windows/department_summary/register_department_summary.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::summary;
using slp::data::Value;
using summary_test::SummaryDatabase;

namespace {

struct RecordedPreview {
    slp::data::WageGrid grid;
    slp::print::PrintPreviewRequest request;
};

class SummaryWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        services.context = &w.host;
        services.registry = &registry;
        services.prompts = prompts;
        services.measure = summary_test::fixedMeasure;
        services.showPreview = [this](const slp::print::PrintPreviewRequest& r) {
            previews.push_back({*r.grid, r});
        };
        services.exportGrid = [this](const slp::data::WageGrid& g, slp::Prompts&) { exported.push_back(g); };
        slp::registerDepartmentSummaryWindow(registry, services);
    }
    void TearDown() override { registry.destroyAll(); }

    // A small month: departments 01 and 02, three employees.
    void smallMonth() {
        w.createTables();
        w.addDepartment(u"01"_s, u"销售部"_s);
        w.addDepartment(u"02"_s, u"财务部"_s);
        w.addDepartment(u"0101"_s, u"销售一组"_s);
        w.addWage(u"0101"_s,
                  {u"销售一组"_s, u"001"_s, u"甲"_s, u"1000.50"_s, u"5.2"_s, u"1.5"_s, u"2000.10"_s});
        w.addWage(u"0102"_s, {u"销售二组"_s, u"002"_s, u"乙"_s, u"800"_s, u"5.2"_s, u"2"_s, u"1500.25"_s});
        w.addWage(u"0201"_s, {u"财务一组"_s, u"003"_s, u"丁"_s, u"1200"_s, u"10.4"_s, u""_s, u"3000"_s});
    }
    DepartmentSummaryWindow* open() {
        registry.open(slp::WindowId::DepartmentSummary);
        auto* handle =
            dynamic_cast<DepartmentSummaryHandle*>(registry.instance(slp::WindowId::DepartmentSummary));
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
    QList<slp::ScriptedPrompts::Asked> messages() const {
        QList<slp::ScriptedPrompts::Asked> m;
        for (const auto& a : prompts->asked) {
            if (a.kind == slp::ScriptedPrompts::Asked::Message) m << a;
        }
        return m;
    }

    SummaryDatabase w;
    slp::WindowRegistry registry{w.host};
    slp::windows::WindowServices services;
    std::shared_ptr<slp::ScriptedPrompts> prompts = std::make_shared<slp::ScriptedPrompts>();
    std::vector<RecordedPreview> previews;
    std::vector<slp::data::WageGrid> exported;
};

TEST_F(SummaryWindow, OpensWithItsMenusStatusAndGrid) {
    smallMonth();
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(win->objectName(), u"工资输出表3"_s);
    EXPECT_EQ(win->windowTitle(), u"班组汇总联"_s);
    auto* file = win->findChild<QMenu*>(u"MnuFile"_s);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), u"文件"_s);
    const QList<std::pair<QString, QString>> expected{{u"MnuFileSet_10"_s, u"自动调整宽度"_s},
                                                      {u"MnuFileSet_30"_s, u"打印字体为9号"_s},
                                                      {u"MnuFileSet_35"_s, u"选择所有项目"_s},
                                                      {u"MnuFileSet_36"_s, u"清除选择"_s},
                                                      {u"MnuFileSet_40"_s, u"转到Excel"_s},
                                                      {u"MnuPrint_10"_s, u"打印班组汇总联"_s},
                                                      {u"MnuExit"_s, u"退出"_s}};
    for (const auto& [name, caption] : expected) {
        QAction* a = action(win, name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), caption) << name.toStdString();
        EXPECT_EQ(a->isEnabled(), name != u"MnuFileSet_10"_s) << name.toStdString();
    }
    // The file menu holds its five commands in order; print and exit stand on the menu bar.
    QStringList inFile;
    for (QAction* a : file->actions()) inFile << a->objectName();
    EXPECT_EQ(inFile, (QStringList{u"MnuFileSet_10"_s, u"MnuFileSet_30"_s, u"MnuFileSet_35"_s,
                                   u"MnuFileSet_36"_s, u"MnuFileSet_40"_s}));
    EXPECT_TRUE(win->menuBar()->actions().contains(action(win, u"MnuPrint_10"_s)));

    EXPECT_EQ(win->statusPanel(1), u"工作年月:2000-04"_s);
    EXPECT_EQ(win->statusPanel(2), u"本月发薪部门数为2  本月总金额为6500.35"_s);
    const auto& g = win->grid();
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(g.text(1, 1), u"销售部"_s);
    EXPECT_EQ(g.text(3, 2), u"共3人"_s);
    EXPECT_EQ(g.text(3, 4), u"20"_s);
    // What the clerk sees: the caption row as the header, the data below it.
    EXPECT_EQ(win->gridView()->shownText(0, 2), u"人数"_s);
    EXPECT_EQ(win->gridView()->shownText(2, 1), u"财务部"_s);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(SummaryWindow, TheFontSizeMenuChangesCaptionFontAndWidths) {
    smallMonth();
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    const int col1At9 = win->grid().colWidth(1);
    EXPECT_EQ(col1At9, 6 * 180);  // 打印宽度 12: six characters

    prompts->answerInput(u"12"_s);
    trigger(win, u"MnuFileSet_30"_s);
    EXPECT_EQ(action(win, u"MnuFileSet_30"_s)->text(), u"打印字体为12号"_s);
    EXPECT_EQ(prompts->asked.back().text, u"请选择打印字体大小,现在字体为9号"_s);
    EXPECT_EQ(prompts->asked.back().title, u"选择"_s);
    EXPECT_EQ(win->grid().fontSize(), 12.0f);
    EXPECT_EQ(win->logic().charUnit(), 240.0f);
    // Column 0 three characters, column 2 as wide as item 1 (工号, four), column 3 on item f (基本工资,
    // five).
    EXPECT_EQ(win->grid().colWidth(0), 3 * 240);
    EXPECT_EQ(win->grid().colWidth(1), 6 * 240);
    EXPECT_EQ(win->grid().colWidth(2), 4 * 240);
    EXPECT_EQ(win->grid().colWidth(3), 5 * 240);
    EXPECT_EQ(win->grid().colWidth(6), 6 * 240);
    // The texts stay as they were.
    EXPECT_EQ(win->grid().text(1, 3), u"1800.50"_s);

    prompts->answerInput(u"18"_s);
    trigger(win, u"MnuFileSet_30"_s);
    EXPECT_EQ(action(win, u"MnuFileSet_30"_s)->text(), u"打印字体为12号"_s);
    EXPECT_EQ(prompts->asked.back().text, u"请选择打印字体大小,现在字体为12号"_s);
    EXPECT_EQ(prompts->asked.back().defaultText, u"12"_s);
    EXPECT_EQ(win->grid().colWidth(1), 6 * 240);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(SummaryWindow, PrintingHandsThePreviewTheGridAsShown) {
    smallMonth();
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    prompts->answerInput(u"10"_s);
    trigger(win, u"MnuFileSet_30"_s);
    trigger(win, u"MnuPrint_10"_s);
    ASSERT_EQ(previews.size(), 1u);
    const auto& p = previews.front();
    EXPECT_EQ(p.request.title, u"班组汇总联"_s);
    EXPECT_EQ(p.request.leftText, u"单位名称:朔岚测试厂"_s);
    EXPECT_EQ(p.request.rightText, u"发薪日期:2000-04-25"_s);
    EXPECT_EQ(p.request.footerText, QString());
    EXPECT_EQ(p.request.captionRows, 1);
    EXPECT_EQ(p.request.slipMode, slp::print::kSlipModeTable);
    EXPECT_EQ(p.request.printFontSize, 10.0f);
    ASSERT_EQ(p.grid.rows(), win->grid().rows());
    ASSERT_EQ(p.grid.cols(), win->grid().cols());
    for (int r = 0; r < p.grid.rows(); ++r) {
        for (int c = 0; c < p.grid.cols(); ++c) EXPECT_EQ(p.grid.text(r, c), win->grid().text(r, c));
    }
    for (int c = 0; c < p.grid.cols(); ++c) EXPECT_EQ(p.grid.colWidth(c), win->grid().colWidth(c));
    // The pay date as the host assembled it, whatever it looks like.
    w.host.payDate = u"2000-04-第25天"_s;
    trigger(win, u"MnuPrint_10"_s);
    ASSERT_EQ(previews.size(), 2u);
    EXPECT_EQ(previews.back().request.rightText, u"发薪日期:2000-04-第25天"_s);
}

TEST_F(SummaryWindow, TheSpreadsheetCommandTakesTheGrid) {
    smallMonth();
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    trigger(win, u"MnuFileSet_40"_s);
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_EQ(exported.front().rows(), 4);
    EXPECT_EQ(exported.front().text(0, 2), u"人数"_s);
    EXPECT_EQ(exported.front().text(3, 6), u"6500.35"_s);
}

TEST_F(SummaryWindow, CaptionMarkersFollowTheMenusAndClicks) {
    smallMonth();
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    const auto marked = [win] {
        int n = 0;
        for (int c = 0; c < win->grid().cols(); ++c) n += win->grid().captionMarker(c) ? 1 : 0;
        return n;
    };
    win->gridView()->clickColumn(3);
    EXPECT_TRUE(win->grid().captionMarker(3));
    EXPECT_EQ(marked(), 1);
    win->gridView()->clickColumn(3);
    EXPECT_EQ(marked(), 0);
    trigger(win, u"MnuFileSet_35"_s);
    EXPECT_EQ(marked(), win->grid().cols());
    trigger(win, u"MnuFileSet_36"_s);
    EXPECT_EQ(marked(), 0);
}

TEST_F(SummaryWindow, ClosingReleasesTheDatabaseAndReopeningWithoutOneIsReported) {
    smallMonth();
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    prompts->answerInput(u"12"_s);
    trigger(win, u"MnuFileSet_30"_s);
    trigger(win, u"MnuExit"_s);
    EXPECT_FALSE(win->isVisible());
    EXPECT_FALSE(w.host.database);

    // Opened again before the host sets the database: the fault is shown, the window opens empty.
    win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->isVisible());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].title, u"错误号:91"_s);
    EXPECT_EQ(messages()[0].icon, slp::MessageIcon::Warning);
    EXPECT_EQ(win->grid().rows(), 0);
    // Opening starts again at font size 9.
    EXPECT_EQ(action(win, u"MnuFileSet_30"_s)->text(), u"打印字体为9号"_s);
    win->close();

    w.host.database = w.db;
    win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->grid().rows(), 4);
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(SummaryWindow, AnEmptyDepartmentTableShowsTheNoDataMessage) {
    w.createTables();
    w.addWage(u"0101"_s, {u"销售一组"_s, u"001"_s, u"甲"_s, u"1000.50"_s, u"5.2"_s, u"1.5"_s, u"2000.10"_s});
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, u"未找到数据,请确定是否计算过!"_s);
    EXPECT_EQ(messages()[0].title, QString());
    EXPECT_EQ(messages()[0].icon, slp::MessageIcon::Warning);
    EXPECT_EQ(win->grid().rows(), 0);
    EXPECT_EQ(win->statusPanel(2), QString());
    // The commands stay usable on the empty grid.
    trigger(win, u"MnuPrint_10"_s);
    prompts->answerInput(u"11"_s);
    trigger(win, u"MnuFileSet_30"_s);
    EXPECT_EQ(action(win, u"MnuFileSet_30"_s)->text(), u"打印字体为11号"_s);
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(SummaryWindow, ADatabaseErrorIsShownWithItsNumber) {
    smallMonth();
    w.db->addRow(u"14工资输出及公式"_s, {{u"工作年月"_s, summary_test::kMonth},
                                         {u"项目序号"_s, Value::integer(99)},
                                         {u"项目名称"_s, u"没有的列"_s},
                                         {u"小数位数"_s, Value::integer(2)},
                                         {u"打印宽度"_s, Value::integer(8)}});
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].title, u"错误号:"_s + QString::number(slp::errnum::Database));
    EXPECT_FALSE(messages()[0].text.isEmpty());
    EXPECT_EQ(messages()[0].icon, slp::MessageIcon::Warning);
    EXPECT_TRUE(win->isVisible());
    trigger(win, u"MnuExit"_s);
    EXPECT_FALSE(w.host.database);
}

TEST_F(SummaryWindow, TheDemoMonthDrawsItsGrid) {
    w.writeDemo(60);
    services.measure = slp::print::measureCharUnit;
    registry.destroyAll();
    slp::registerDepartmentSummaryWindow(registry, services);
    DepartmentSummaryWindow* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(win->grid().rows(), 14);  // twelve departments
    const QPixmap shot = win->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 200);
    // SLP_SCREENSHOT_DIR keeps the picture for a look.
    const QString dir = qEnvironmentVariable("SLP_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(dir));
        EXPECT_TRUE(shot.save(QDir(dir).filePath(u"department_summary.png"_s)));
    }
}

}  // namespace
