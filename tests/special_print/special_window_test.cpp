// The window 特殊打印设置 offscreen: opened through the registry, labels dragged and clamped, the pop-up,
// the rubber band, the paper boxes, 确认设置 and 打印, the settings kept; screenshots when
// SLP_SCREENSHOT_DIR is set.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>

#include "../department_summary/summary_fixture.h"
#include "app/special_print/layout_table.h"
#include "app/special_print/special_settings.h"
#include "basic/scripted_prompts.h"
#include "settings/store.h"
#include "sheet_printer.h"
#include "ui/window_registry.h"
#include "windows/special_print/register_special_print.h"
#include "windows/special_print/special_print_window.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::special;

namespace {

class SpecialWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        store = std::make_shared<slp::settings::Store>(w.dir.filePath(u"config"_s));
        services.context = &w.host;
        services.registry = &registry;
        services.store = store;
        services.prompts = prompts;
        services.openPrinter = [this]() -> std::unique_ptr<slp::print::Printer> {
            if (!printerInstalled) throw slp::Error(484, u"未安装打印机"_s);
            auto p = std::make_unique<special_test::SheetPrinter>();
            printer = p->log;
            printers.push_back(p->log);
            return p;
        };
        slp::registerSpecialPrintWindow(registry, services);
        w.createTables();
        for (int i = 1; i <= 5; ++i) {
            w.addWage(u"01"_s, {u"部"_s, u"E%1"_s.arg(i), u"员工"_s, u"100"_s, u"3"_s, u"1.5"_s, u"200"_s});
        }
    }
    void TearDown() override { registry.destroyAll(); }

    SpecialPrintWindow* open() {
        registry.open(slp::WindowId::SpecialPrint);
        auto* handle = dynamic_cast<SpecialPrintHandle*>(registry.instance(slp::WindowId::SpecialPrint));
        EXPECT_NE(handle, nullptr);
        return handle ? handle->window() : nullptr;
    }
    static void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    void shot(QWidget* win, const QString& name) {
        const QString dir = qEnvironmentVariable("SLP_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QDir().mkpath(dir);
        win->grab().save(dir + u'/' + name);
    }

    summary_test::SummaryDatabase w;
    std::shared_ptr<slp::settings::Store> store;
    std::shared_ptr<slp::ScriptedPrompts> prompts = std::make_shared<slp::ScriptedPrompts>();
    slp::WindowRegistry registry{w.host};
    slp::windows::WindowServices services;
    bool printerInstalled = true;
    // The jobs of the last printer opened, and of every printer opened.
    std::shared_ptr<std::vector<std::vector<slp::print::Page>>> printer;
    std::vector<std::shared_ptr<std::vector<std::vector<slp::print::Page>>>> printers;
};

TEST_F(SpecialWindow, OpensWithTheTreeTheLabelsAndTheDefaults) {
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(w.db->hasTable(kLayoutTable));
    ASSERT_EQ(win->tree()->topLevelItemCount(), 8);
    EXPECT_EQ(win->tree()->topLevelItem(7)->text(0), u"发薪日期"_s);
    EXPECT_EQ(win->label(3)->text(), u"基本工资"_s);
    const double tpp = win->twipsPerPixel();
    EXPECT_EQ(win->label(6)->pos(), QPoint(int(std::lround(1000 / tpp)), int(std::lround(1600 / tpp))));
    EXPECT_EQ(win->sheet()->size(), QSize(int(std::lround(18000 / tpp)), int(std::lround(10000 / tpp))));
    EXPECT_EQ(win->action(u"MenuPaperWidth"_s)->text(), u"纸张宽度为31.75(单位厘米)"_s);
    EXPECT_EQ(win->action(u"MenuPaperHeight"_s)->text(), u"纸张高度为17.64(单位厘米)"_s);
    EXPECT_FALSE(win->action(u"MenuPrint"_s)->isEnabled());
    // The greyed 打印 says why it waits.
    EXPECT_EQ(win->action(u"MenuPrint"_s)->toolTip(), u"请先确认设置，再打印"_s);
    EXPECT_EQ(win->statusPanel(1), u"请先确认设置，再打印"_s);
    EXPECT_EQ(win->statusPanel(2), u"每张纸张上打印好几个!"_s);
    // A second PSEL raises the open window: nothing is rebuilt.
    win->layout().moveTo(0, {5000, 5000});
    EXPECT_EQ(open(), win);
    EXPECT_EQ(win->layout().label(0).pos, QPointF(5000, 5000));
    // A tree click shows the node's label in centimetres.
    emit win->tree()->itemClicked(win->tree()->topLevelItem(7), 0);
    EXPECT_EQ(win->statusPanel(1), u"横坐标X:3.88  纵坐标Y:2.82"_s);
    shot(win, u"special_designer.png"_s);
    // 退出 with the label moved and not confirmed: asked; No stays.
    prompts->answerMessage(slp::MessageAnswer::No);
    win->action(u"MenuExit"_s)->trigger();
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(prompts->asked.back().icon, slp::MessageIcon::Question);
}

// Opened for the first time, the window is large enough for the tree and the whole sheet (within the
// screen), not the 433 x 300 of the stored defaults; a size kept at closing is taken as it is.
TEST_F(SpecialWindow, FirstOpeningShowsTheWholeSheetAndAKeptSizeIsTaken) {
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    const QSize screen = win->screen()->availableGeometry().size();
    const QWidget* sheet = win->sheet();
    const QPoint sheetEnd = sheet->mapTo(win, QPoint(sheet->width(), sheet->height()));
    EXPECT_GE(win->width(), std::min(sheetEnd.x(), screen.width()));
    EXPECT_GE(win->height(), std::min(sheetEnd.y() + win->statusBar()->sizeHint().height(), screen.height()));
    EXPECT_GT(win->width(), 433);
    EXPECT_LE(win->width(), screen.width());
    win->resize(700, 500);
    win->close();
    registry.destroyAll();
    SpecialPrintWindow* again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->size(), QSize(700, 500));
}

TEST_F(SpecialWindow, StoredLayoutPlacesTheLabelsByPositionAndEnablesPrint) {
    SaveLayout(*w.db, {{u"别的项目"_s, 567, 1134, 0, RightOf, true}});
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->action(u"MenuPrint"_s)->isEnabled());
    EXPECT_EQ(win->layout().label(0).caption, u"部门"_s);
    EXPECT_EQ(win->layout().label(0).pos, QPointF(567, 1134));
    EXPECT_EQ(win->label(0)->toolTip(), u"X:1.00  Y:2.00"_s);
    EXPECT_TRUE(win->label(1)->toolTip().isEmpty());
    EXPECT_EQ(win->layout().label(1).pos, QPointF(2200, 700));
}

TEST(SpecialWindowEmpty, NoItemsIsTheSystemsWarningAndAnEmptySheet) {
    summary_test::SummaryDatabase w;
    w.createTables({});
    slp::WindowRegistry registry{w.host};
    auto prompts = std::make_shared<slp::ScriptedPrompts>();
    slp::windows::WindowServices services;
    services.context = &w.host;
    services.registry = &registry;
    services.prompts = prompts;
    SpecialPrintSession logic(services);
    SpecialPrintWindow win(logic, services);
    ASSERT_EQ(prompts->asked.size(), 1);
    EXPECT_EQ(prompts->asked[0].text, u"工资项目数小于1,无法继续执行!"_s);
    EXPECT_EQ(prompts->asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_EQ(win.tree()->topLevelItemCount(), 0);
    EXPECT_EQ(win.layout().count(), 0);
}

TEST_F(SpecialWindow, LabelDragIsClampedAndMovesTheSelection) {
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    const double tpp = win->twipsPerPixel();
    // Right-button band over labels 1 and 2 (their top left corners).
    QWidget* sheet = win->sheet();
    mouse(sheet, QEvent::MouseButtonPress, QPoint(int(900 / tpp), int(600 / tpp)), Qt::RightButton,
          Qt::RightButton);
    mouse(sheet, QEvent::MouseMove, QPoint(int(2300 / tpp), int(800 / tpp)), Qt::NoButton, Qt::RightButton);
    mouse(sheet, QEvent::MouseButtonRelease, QPoint(int(2300 / tpp), int(800 / tpp)), Qt::RightButton,
          Qt::NoButton);
    EXPECT_EQ(win->layout().selection(), (std::vector<int>{0, 1}));
    EXPECT_TRUE(win->label(0)->font().italic());
    EXPECT_EQ(win->label(0)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(win->label(2)->font().italic());
    // Drag label 1 right by 20 pixels and far up: it stops at twice its height; label 2 follows freely.
    QLabel* first = win->label(0);
    mouse(first, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    mouse(first, QEvent::MouseMove, QPoint(22, 2 - 40), Qt::NoButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(win->layout().label(0).pos.x(), 1000 + 20 * tpp);
    EXPECT_DOUBLE_EQ(win->layout().label(0).pos.y(), 2 * first->height() * tpp);
    EXPECT_DOUBLE_EQ(win->layout().label(1).pos.y(), 700 - 40 * tpp);
    EXPECT_EQ(first->toolTip(), positionTip(win->layout().label(0).pos));
    EXPECT_EQ(first->pos().x(), int(std::lround((1000 + 20 * tpp) / tpp)));
    // Past the right edge: stopped there.
    mouse(first, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    mouse(first, QEvent::MouseMove, QPoint(5000, 2), Qt::NoButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(win->layout().label(0).pos.x(), 18000 - first->width() * tpp);
    // The left button drags the whole sheet.
    const QPoint sheetAt = sheet->pos();
    mouse(sheet, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    mouse(sheet, QEvent::MouseMove, QPoint(40, 25), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(sheet->pos(), sheetAt + QPoint(30, 15));
    // A band dragged up and left selects nothing.
    mouse(sheet, QEvent::MouseButtonPress, QPoint(200, 200), Qt::RightButton, Qt::RightButton);
    mouse(sheet, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::RightButton, Qt::NoButton);
    EXPECT_TRUE(win->layout().selection().empty());
}

TEST_F(SpecialWindow, PopupSetsThePlaceAndTheNameOfTheClickedLabel) {
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    win->layout().setPosition(2, RightOf);
    mouse(win->label(2), QEvent::MouseButtonPress, QPoint(1, 1), Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(win->popup()->isVisible());
    EXPECT_TRUE(win->action(u"MenuSetPlace_4"_s)->isChecked());
    EXPECT_FALSE(win->action(u"MenuSetPlace_1"_s)->isChecked());
    EXPECT_FALSE(win->action(u"MenuSetPlace_20"_s)->isChecked());
    win->action(u"MenuSetPlace_3"_s)->trigger();
    win->action(u"MenuSetPlace_20"_s)->trigger();
    win->popup()->hide();
    EXPECT_EQ(win->layout().label(2).position, LeftOf);
    EXPECT_TRUE(win->layout().label(2).printName);
    EXPECT_FALSE(win->layout().label(1).printName);
    // The menu bar's 全部 items.
    win->action(u"MnuSelWZ_2"_s)->trigger();
    win->action(u"MnuSelWZ_20"_s)->trigger();
    EXPECT_EQ(win->action(u"MnuSelWZ_20"_s)->text(), u"全部打印项目名称"_s);
    for (const SheetLabel& l : win->layout().labels()) {
        EXPECT_EQ(l.position, Above);
        EXPECT_TRUE(l.printName);
    }
    EXPECT_FALSE(win->action(u"MnuSelWZ_1"_s)->isChecked());
}

TEST_F(SpecialWindow, PaperBoxesResizeTheSheetAndAreKept) {
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    prompts->answerInput(u"10"_s);
    win->action(u"MenuPaperWidth"_s)->trigger();
    ASSERT_EQ(prompts->asked.size(), 1);
    EXPECT_EQ(prompts->asked[0].text, u"请输入打印纸张的宽度"_s);
    EXPECT_EQ(prompts->asked[0].defaultText, u"31.75(单位厘米)"_s);
    EXPECT_EQ(win->action(u"MenuPaperWidth"_s)->text(), u"纸张宽度为10(单位厘米)"_s);
    EXPECT_DOUBLE_EQ(win->layout().sheet().width(), 5670);
    prompts->answerInput(u"1.5"_s);  // below 2 cm: nothing changes
    win->action(u"MenuPaperHeight"_s)->trigger();
    EXPECT_DOUBLE_EQ(win->layout().sheet().height(), 10000);
    prompts->answerInput(u"7"_s);
    win->action(u"MenuPaperHeight"_s)->trigger();
    EXPECT_EQ(readSpecialSettings(*store, w.host.unitCode).paper, QSizeF(5670, 3969));
    win->action(u"MenuJUST"_s)->trigger();
    EXPECT_EQ(win->statusPanel(2), u"每张纸张上只打印一个!"_s);
    win->setGeometry(20, 30, 600, 400);
    const double tpp = win->twipsPerPixel();
    win->close();
    const QRect placed = readPlacement(*store);
    EXPECT_EQ(placed.size(), QSize(int(600 * tpp), int(400 * tpp)));
    registry.destroyAll();
    slp::registerSpecialPrintWindow(registry, services);
    SpecialPrintWindow* again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->action(u"MenuPaperWidth"_s)->text(), u"纸张宽度为10.00(单位厘米)"_s);
    EXPECT_TRUE(again->action(u"MenuJUST"_s)->isChecked());
    EXPECT_EQ(again->size(), QSize(600, 400));
}

TEST_F(SpecialWindow, ConfirmStoresTheLayoutAndPrintUsesIt) {
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    win->layout().moveTo(1, {300, 400});
    win->action(u"MenuQRSZ"_s)->trigger();
    ASSERT_EQ(prompts->asked.size(), 1);
    EXPECT_EQ(prompts->asked[0].text, u"你所做的设置已存盘确认!"_s);
    EXPECT_TRUE(win->action(u"MenuPrint"_s)->isEnabled());
    const auto stored = ReadLayout(*w.db);
    ASSERT_EQ(stored.size(), 8u);
    EXPECT_EQ(stored[1].x, 300);
    // Unsaved moves do not print: the stored layout does.
    win->layout().moveTo(1, {9000, 9000});
    prompts->answerInput(u"4"_s);
    prompts->answerInput(u"5"_s);
    win->action(u"MenuJUST"_s)->setChecked(true);
    win->action(u"MnuSelNum"_s)->setChecked(true);
    win->action(u"MenuPrint"_s)->trigger();
    ASSERT_NE(printer, nullptr);
    ASSERT_EQ((*printer).size(), 2u);  // records 4 and 5, a job each
    EXPECT_EQ(prompts->asked[1].text, u"请选择从几号开始打印\r\n请注意共有5号"_s);
    const slp::print::Page& page = (*printer)[0][0];
    EXPECT_EQ(page.size, QSizeF(18000, 10000));  // the page resized to the sheet
    ASSERT_NE(page.find(u"E4"_s), nullptr);
    EXPECT_EQ(page.find(u"E4"_s)->at, QPointF(300, 400 + 180 + 60));
    EXPECT_NE((*printer)[1][0].find(u"E5"_s), nullptr);
}

struct PrintFailure {
    const char* name;
    bool printer;
    bool onePerPage;
    QStringList range;
    QString title;
};

TEST_F(SpecialWindow, PrintErrorsAreAWarningAndNothingIsPrinted) {
    const std::vector<PrintFailure> cases{
        {"no printer", false, false, {}, u"错误号:484"_s},
        {"range beyond the data", true, true, {u"4"_s, u"9"_s}, u"错误号:3001"_s},
    };
    for (const PrintFailure& c : cases) {
        SpecialPrintWindow* win = open();
        ASSERT_NE(win, nullptr);
        win->action(u"MenuQRSZ"_s)->trigger();
        printerInstalled = c.printer;
        printers.clear();
        prompts->asked.clear();
        for (const QString& a : c.range) prompts->answerInput(a);
        win->action(u"MnuSelNum"_s)->setChecked(!c.range.isEmpty());
        win->action(u"MenuJUST"_s)->setChecked(c.onePerPage);
        win->action(u"MenuPrint"_s)->trigger();
        ASSERT_FALSE(prompts->asked.isEmpty()) << c.name;
        EXPECT_EQ(prompts->asked.last().title, c.title) << c.name;
        EXPECT_EQ(prompts->asked.last().icon, slp::MessageIcon::Warning) << c.name;
        for (const auto& p : printers) EXPECT_TRUE(p->empty()) << c.name;
        win->close();
    }
}

TEST_F(SpecialWindow, BackgroundPictureIsShownNeverPrintedAndKept) {
    const QString picture = w.dir.filePath(u"form.png"_s);
    QImage form(400, 200, QImage::Format_RGB32);
    form.fill(QColor(255, 240, 200));
    {
        // A form's boxes in red, as a scan shows them (the bottom right corner left plain).
        QPainter paint(&form);
        paint.setPen(QColor(200, 40, 40));
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 4; ++col) paint.drawRect(20 + col * 90, 20 + row * 50, 80, 40);
        }
    }
    ASSERT_TRUE(form.save(picture));
    SpecialPrintWindow* win = open();
    ASSERT_NE(win, nullptr);
    EXPECT_FALSE(win->sheet()->hasBackground());
    prompts->answerInput(w.dir.filePath(u"missing.png"_s));
    win->action(u"MenuBackground"_s)->trigger();
    EXPECT_FALSE(win->sheet()->hasBackground());
    EXPECT_EQ(prompts->asked.last().icon, slp::MessageIcon::Warning);
    prompts->answerInput(picture);
    win->action(u"MenuBackground"_s)->trigger();
    EXPECT_TRUE(win->sheet()->hasBackground());
    const QImage shown = win->sheet()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 5, shown.height() - 5), QColor(255, 240, 200));
    shot(win, u"special_designer_background.png"_s);
    EXPECT_EQ(readSpecialSettings(*store, w.host.unitCode).background, picture);
    // The calibration is stored per printer and added when printing.
    prompts->answerInput(u"2.54"_s);
    prompts->answerInput(u"-5.08"_s);
    win->action(u"MenuCalibration"_s)->trigger();
    EXPECT_EQ(readCalibrationMm(*store, w.host.unitCode, u"测试打印机"_s), QPointF(2.54, -5.08));
    win->action(u"MenuQRSZ"_s)->trigger();
    win->action(u"MenuJUST"_s)->setChecked(true);
    win->action(u"MenuPrint"_s)->trigger();
    ASSERT_NE(printer, nullptr);
    ASSERT_EQ((*printer).size(), 5u);
    const slp::print::Page& page = (*printer)[0][0];
    EXPECT_EQ(page.find(u"E1"_s)->at, QPointF(2200 + 144, 700 + 180 + 60 - 288));
    EXPECT_EQ(page.lines.size(), 0u);  // nothing of the picture
}

TEST(SpecialWindowEmpty, NoDatabaseIsReportedNotACrash) {
    slp::HostContext host;
    slp::WindowRegistry registry{host};
    auto prompts = std::make_shared<slp::ScriptedPrompts>();
    slp::windows::WindowServices services;
    services.context = &host;
    services.prompts = prompts;
    SpecialPrintSession logic(services);
    SpecialPrintWindow win(logic, services);
    ASSERT_FALSE(prompts->asked.isEmpty());
    EXPECT_EQ(prompts->asked[0].title, u"错误号:91"_s);
    EXPECT_FALSE(win.action(u"MenuPrint"_s)->isEnabled());
}

}  // namespace
