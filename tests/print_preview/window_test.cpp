// The preview window offscreen: opened through the registry by ShowPrintPreview, its actions, keys,
// status bar, picture, zoom, printer setup, closing and opening again.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QWheelEvent>

#include "preview_fixture.h"
#include "ui/window_registry.h"
#include "windows/print_preview/page_picture.h"
#include "windows/print_preview/print_preview_host.h"
#include "windows/print_preview/show_print_preview.h"

using namespace Qt::StringLiterals;

namespace {

class PreviewWindowTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    slp::settings::Store store{dir.path() + u"/settings"_s};
    slp::FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 30))};
    slp::ScriptedPrompts prompts;
    slp::HostContext host;
    slp::WindowRegistry registry{host};
    int setups = 0;

    void SetUp() override {
        host.unitCode = u"0101"_s;
        host.unitName = u"朔岚机械厂"_s;
        host.payDate = u"2000-04-25"_s;
        slp::print::PrintPreviewServices s;
        s.host = &host;
        s.store = &store;
        s.clock = &clock;
        s.prompts = &prompts;
        const QString spool = dir.path() + u"/spool"_s;
        s.openPrinter = [spool] {
            // Pages measured on the whole sheet; the printer's margins have tests of their own.
            auto printer = std::make_unique<slp::print::PdfSpoolPrinter>(spool);
            printer->setMarginMm(0);
            return printer;
        };
        s.printerSetup = [this](slp::print::Printer& printer, QWidget*) {
            ++setups;
            printer.setPageLayout(QPageSize(QPageSize::A3), QPageLayout::Portrait);
        };
        slp::print::registerPrintPreviewWindow(registry, s);
    }
    void TearDown() override { registry.destroyAll(); }

    void show(const slp::data::WageGrid& grid, int16_t slipMode = slp::print::kSlipModeTable,
              const QString& title = u"工资签收联"_s, const QString& caption = QString()) {
        slp::print::PrintPreviewRequest r;
        r.grid = &grid;
        r.title = title;
        r.caption = caption;
        r.leftText = u"单位名称:"_s + host.unitName;
        r.slipMode = slipMode;
        slp::print::ShowPrintPreview(registry, r);
        if (auto* w = window()) {
            w->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(w));
            // The window opens with the whole page in view; most tests look at it at full size.
            if (fullSize) {
                w->zoom(100);
                while (w->zoomPercent() > 100) w->zoom(-1);
            }
        }
    }
    bool fullSize = true;
    slp::print::PrintPreviewHost* hostWindow() const {
        return dynamic_cast<slp::print::PrintPreviewHost*>(registry.instance(slp::WindowId::PrintPreview));
    }
    slp::print::PrintPreviewWindow* window() const { return hostWindow() ? hostWindow()->window() : nullptr; }
    QString text(const QString& action) const { return window()->action(action)->text(); }
    QString panel(int i) const { return window()->statusPanel(i)->text(); }
    QStringList spooled() const {
        return QDir(dir.path() + u"/spool"_s).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    }
};

TEST_F(PreviewWindowTest, OpensWithTheMenusStatusBarAndPicture) {
    const auto grid = preview_test::narrowGrid(101);
    show(grid);
    auto* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(hostWindow()->isOpen());
    EXPECT_EQ(w->windowTitle(), u"工资签收联"_s);
    EXPECT_EQ(w->objectName(), u"工资MSGPRINT"_s);
    EXPECT_EQ(w->frameGeometry(), w->screen()->geometry());

    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第1页"_s);
    EXPECT_EQ(text(u"PRINTOUT"_s), u"打印"_s);
    EXPECT_EQ(text(u"SETPrint_1"_s), u"设置"_s);
    EXPECT_EQ(text(u"SETPrint_2"_s), u"打印设置"_s);
    EXPECT_EQ(text(u"EXITRANCE"_s), u"退出"_s);
    EXPECT_EQ(text(u"MenuSet_1"_s), u"X轴起始位置为300"_s);
    EXPECT_EQ(text(u"MenuSet_2"_s), u"Y轴起始位置为600"_s);
    EXPECT_EQ(text(u"MenuSet_3"_s), u"每行行高为360"_s);
    EXPECT_EQ(text(u"MenuSet_4"_s), u"每页行数为40"_s);
    EXPECT_EQ(text(u"MenuPrintSet_5"_s), u"打印横线"_s);
    EXPECT_EQ(text(u"MenuPrintSet_25"_s), u"是否打印发薪日期"_s);
    EXPECT_TRUE(w->action(u"MenuPrintSet_5"_s)->isChecked());
    EXPECT_TRUE(w->action(u"MenuPrintSet_6"_s)->isChecked());
    EXPECT_FALSE(w->action(u"MenuPrintSet_21"_s)->isChecked());
    EXPECT_FALSE(w->action(u"MenuPrintSet_7"_s)->isVisible());
    EXPECT_FALSE(w->action(u"MenuPrintSet_10"_s)->isVisible());
    EXPECT_TRUE(w->action(u"MenuPrintSet_21"_s)->isVisible());
    EXPECT_FALSE(w->action(u"MenuPrintSet_9"_s)->isCheckable());
    // The top-level items stand in the menu bar in this order.
    QStringList bar;
    for (QAction* a : w->menuBar()->actions()) bar << a->objectName();
    EXPECT_EQ(bar, QStringList({u"SELPAGE"_s, u"PRINTOUT"_s, u"SETPrint_1"_s, u"SETPrint_2"_s, u"zoomMenu"_s,
                                u"EXITRANCE"_s}));

    EXPECT_EQ(panel(1),
              u"你的打印机为"_s + hostWindow()->printer().deviceName() + u"   A4, 210 x 297 毫米."_s);
    EXPECT_EQ(panel(2), u"每页40行"_s);
    EXPECT_EQ(panel(3), u"共102行"_s);
    EXPECT_EQ(panel(4), u"共3页"_s);
    EXPECT_EQ(w->statusPanel(1)->width(), w->width() * 2 / 3);
    EXPECT_EQ(w->statusPanel(4)->width(), w->width() / 9);

    // The picture: the printable area at 15 twips a pixel, at the top left corner, not blank.
    auto* pic = w->picture();
    EXPECT_EQ(pic->pos(), QPoint(0, 0));
    EXPECT_EQ(pic->size(), QSize(794, 1123));
    const QImage image = pic->image();
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) dark += qGray(image.pixel(x, y)) < 128;
    }
    EXPECT_GT(dark, 500);
    EXPECT_TRUE(prompts.asked.isEmpty());
}

TEST_F(PreviewWindowTest, PagingKeysWorkWhateverHasTheFocus) {
    const auto grid = preview_test::narrowGrid(101);
    show(grid);
    auto* w = window();
    w->picture()->setFocus();
    QTest::keyClick(w->picture(), Qt::Key_PageDown);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第2页"_s);
    QTest::keyClick(w->menuBar(), Qt::Key_End);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第3页"_s);
    QTest::keyClick(w, Qt::Key_PageDown);  // the last page: nothing
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第3页"_s);
    QTest::keyClick(w, Qt::Key_PageUp);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第2页"_s);
    QTest::keyClick(w->statusPanel(2), Qt::Key_Home);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第1页"_s);
    QTest::keyClick(w, Qt::Key_PageUp);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第1页"_s);
}

TEST_F(PreviewWindowTest, ArrowKeysAndDraggingMoveThePicture) {
    const auto grid = preview_test::narrowGrid(10);
    show(grid);
    auto* pic = window()->picture();
    QTest::keyClick(window(), Qt::Key_Right);
    QTest::keyClick(window(), Qt::Key_Right);
    QTest::keyClick(window(), Qt::Key_Down);
    EXPECT_EQ(pic->positionTwips(), QPointF(600, 300));
    EXPECT_EQ(pic->pos(), QPoint(40, 20));
    QTest::keyClick(window(), Qt::Key_Left);
    QTest::keyClick(window(), Qt::Key_Up);
    QTest::keyClick(window(), Qt::Key_Up);
    EXPECT_EQ(pic->positionTwips(), QPointF(300, -300));

    // Dragging with the left button: the picture follows the pointer.
    const QPoint start(100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, start, pic->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &press);
    const QPoint to(150, 130);
    QMouseEvent move(QEvent::MouseMove, to, pic->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    EXPECT_EQ(pic->positionTwips(), QPointF(300 + 50 * 15, -300 + 30 * 15));
    // Moving without the button does nothing.
    QMouseEvent hover(QEvent::MouseMove, QPoint(10, 10), pic->mapToGlobal(QPoint(10, 10)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &hover);
    EXPECT_EQ(pic->positionTwips(), QPointF(1050, 150));
}

TEST_F(PreviewWindowTest, ActionsRunTheMenus) {
    const auto grid = preview_test::narrowGrid(101);
    show(grid);
    auto* w = window();
    prompts.answerInput(u"20"_s);
    w->action(u"MenuSet_4"_s)->trigger();
    EXPECT_EQ(text(u"MenuSet_4"_s), u"每页行数为20"_s);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共6页,现第1页"_s);
    EXPECT_EQ(panel(2), u"每页20行"_s);
    EXPECT_EQ(panel(4), u"共6页"_s);

    prompts.answerInput(u"3"_s);
    w->action(u"SELPAGE"_s)->trigger();
    EXPECT_EQ(text(u"SELPAGE"_s), u"共6页,现第3页"_s);

    w->action(u"MenuPrintSet_21"_s)->trigger();
    EXPECT_TRUE(w->action(u"MenuPrintSet_21"_s)->isChecked());
    EXPECT_EQ(store.find(u"0101GZGL"_s, u"汇总表设置"_s, u"是否打印签收"_s).value_or(QString()), u"True"_s);
    w->action(u"MenuPrintSet_5"_s)->trigger();
    EXPECT_FALSE(w->action(u"MenuPrintSet_5"_s)->isChecked());

    prompts.answerInput(u"2"_s);
    prompts.answerInput(u"3"_s);
    w->action(u"PRINTOUT"_s)->trigger();
    // A file a job here, named for the document and the time of the print (the host gives no month).
    EXPECT_EQ(spooled(), QStringList({u"工资签收联_103000.pdf"_s, u"工资签收联_103000_2.pdf"_s}));

    // Too tall: the message, and the menu, the status bar and the picture keep the value in force.
    const QImage shown = w->picture()->image();
    const QString rowHeight = text(u"MenuSet_3"_s);
    prompts.answerInput(u"900"_s);
    w->action(u"MenuSet_3"_s)->trigger();
    EXPECT_EQ(prompts.asked.last().text,
              u"你所选择的行高与每页打印的行数之积\r\n   大于你所设置的打印纸张高度!"_s);
    EXPECT_EQ(text(u"MenuSet_3"_s), rowHeight);
    EXPECT_NE(rowHeight, u"每行行高为900"_s);
    EXPECT_EQ(panel(2), u"每页20行"_s);
    EXPECT_TRUE(w->picture()->image() == shown);
}

TEST_F(PreviewWindowTest, TheFirstStatusPanelOpensThePrinterSetup) {
    const auto grid = preview_test::narrowGrid(101);
    show(grid);
    auto* w = window();
    QTest::keyClick(w, Qt::Key_PageDown);
    QTest::mouseClick(w->statusPanel(2), Qt::LeftButton);
    EXPECT_EQ(setups, 0);
    QTest::mouseClick(w->statusPanel(1), Qt::LeftButton);
    EXPECT_EQ(setups, 1);
    // The same panel from the menu 打印设置.
    w->action(u"PrinterSetup"_s)->trigger();
    EXPECT_EQ(setups, 2);
    EXPECT_EQ(w->action(u"PrinterSetup"_s)->text(), u"打印机设置…"_s);
    EXPECT_TRUE(panel(1).endsWith(u"  A3, 297 x 420 毫米."_s));
    EXPECT_EQ(text(u"SELPAGE"_s), u"共3页,现第1页"_s);
    EXPECT_EQ(w->picture()->size(), QSize(1123, 1588));
}

TEST_F(PreviewWindowTest, ZoomDrawsThePageAgainAtAnotherScale) {
    const auto grid = preview_test::narrowGrid(10);
    show(grid);
    auto* w = window();
    EXPECT_EQ(w->zoomPercent(), 100);
    QTest::keyClick(w, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(w->zoomPercent(), 125);
    EXPECT_EQ(w->picture()->size(), QSize(993, 1404));
    EXPECT_EQ(w->picture()->dpi(), 120);
    QTest::keyClick(w, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(w->zoomPercent(), 100);
    QWidget* background = w->centralWidget();
    const QPointF at(5, 5);
    QWheelEvent down(at, background->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(background, &down);
    EXPECT_EQ(w->zoomPercent(), 75);
    QWheelEvent plain(at, background->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(background, &plain);
    EXPECT_EQ(w->zoomPercent(), 75);
    // Zooming shows no message again and keeps the page and its position.
    EXPECT_TRUE(prompts.asked.isEmpty());
    for (int i = 0; i < 20; ++i) w->zoom(1);
    EXPECT_EQ(w->zoomPercent(), 400);
}

TEST_F(PreviewWindowTest, TheZoomMenuZoomsFitsThePageAndSaysHow) {
    fullSize = false;
    const auto grid = preview_test::narrowGrid(200);
    show(grid);
    auto* w = window();
    ASSERT_NE(w, nullptr);
    auto* menu = w->findChild<QMenu*>(u"zoomMenu_menu"_s);
    ASSERT_NE(menu, nullptr);
    const int fitted = w->zoomPercent();
    EXPECT_EQ(menu->title(), u"缩放(%1%)"_s.arg(fitted));
    w->action(u"zoomInAction"_s)->trigger();
    w->action(u"zoomInAction"_s)->trigger();
    EXPECT_GT(w->zoomPercent(), fitted);
    EXPECT_EQ(menu->title(), u"缩放(%1%)"_s.arg(w->zoomPercent()));
    const int zoomedIn = w->zoomPercent();
    // 适合页面: the whole page height between the menus and the status bar again.
    const auto room = [w] {
        return w->height() - w->menuBar()->sizeHint().height() - w->statusBar()->sizeHint().height();
    };
    w->action(u"fitPageAction"_s)->trigger();
    EXPECT_LT(w->zoomPercent(), zoomedIn);
    EXPECT_LE(w->picture()->height(), room());
    const int fits = w->zoomPercent();
    w->action(u"zoomOutAction"_s)->trigger();
    EXPECT_LE(w->zoomPercent(), fits);  // 50 percent is the smallest step
    w->action(u"zoomInAction"_s)->trigger();
    w->action(u"zoomInAction"_s)->trigger();
    EXPECT_GT(w->zoomPercent(), fits);
    QTest::keyClick(w, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(w->zoomPercent(), fits);
    // The wheel and the keys are said where the clerk sees them: in the menu and on the page.
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text();
    EXPECT_TRUE(texts.join(u'|').contains(u"按住Ctrl转动滚轮也可放大缩小"_s))
        << texts.join(u'|').toStdString();
    EXPECT_TRUE(w->picture()->toolTip().contains(u"PageUp/PageDown 翻页"_s));
}

TEST_F(PreviewWindowTest, ClosingWritesTheSettingsAndOpeningAgainReadsThem) {
    auto grid = std::make_unique<slp::data::WageGrid>(preview_test::narrowGrid(101));
    show(*grid);
    prompts.answerInput(u"450"_s);
    window()->action(u"MenuSet_1"_s)->trigger();
    window()->action(u"EXITRANCE"_s)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window(), nullptr);
    ASSERT_NE(hostWindow(), nullptr);
    EXPECT_FALSE(hostWindow()->isOpen());
    EXPECT_EQ(store.find(u"Sl_PAYPRN"_s, u"打印设置"_s, u"X起始位置"_s).value_or(QString()), u"450"_s);
    EXPECT_EQ(store.find(u"0101GZGL"_s, u"汇总表设置"_s, u"打印横线"_s).value_or(QString()), u"是"_s);

    // The caller's grid is gone; opening again runs the opening steps on the new request.
    grid.reset();
    store.write(u"Sl_PAYPRN"_s, u"工资条打印设置"_s, u"X起始位置"_s, u"520"_s);
    const auto slips = preview_test::narrowGrid(30);
    show(slips, slp::print::kSlipModeSlips, QString(), u"工资条"_s);
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(text(u"MenuSet_1"_s), u"X轴起始位置为520"_s);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共2页,现第1页"_s);
    EXPECT_EQ(window()->windowTitle(), u"工资条"_s);  // slips print no title; the window has its caption
}

TEST_F(PreviewWindowTest, ARequestWhileOpenShowsTheNewDocument) {
    auto first = std::make_unique<slp::data::WageGrid>(preview_test::narrowGrid(101));
    show(*first);
    QTest::keyClick(window(), Qt::Key_PageDown);
    first.reset();  // the copy stays with the preview
    // Another report asked for while the first is open: the preview shows it under its own title, from
    // its first page, and prints it; the first one's settings were written as at closing.
    auto second = preview_test::narrowGrid(5);
    show(second, slp::print::kSlipModeTable, u"班组汇总联"_s);
    auto* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), u"班组汇总联"_s);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共1页,现第1页"_s);
    EXPECT_EQ(panel(3), u"共6行"_s);
    EXPECT_TRUE(store.find(u"Sl_PAYPRN"_s, u"打印设置"_s, u"每页行数"_s).has_value());
    prompts.answerInput(u"1"_s);
    prompts.answerInput(u"1"_s);
    w->action(u"PRINTOUT"_s)->trigger();
    ASSERT_FALSE(spooled().isEmpty());
    EXPECT_TRUE(
        preview_test::pdfText(dir.path() + u"/spool/"_s + spooled().front()).contains(u"班组汇总联"_s));
}

TEST_F(PreviewWindowTest, OpensWithTheWholePageInViewAndTheWheelScrolls) {
    fullSize = false;
    const auto grid = preview_test::narrowGrid(200);
    show(grid);
    auto* w = window();
    ASSERT_NE(w, nullptr);
    // The largest zoom step at which the page's height fits between the menus and the status bar.
    const int room = w->height() - w->menuBar()->sizeHint().height() - w->statusBar()->sizeHint().height();
    EXPECT_LE(w->picture()->height(), room);
    EXPECT_LT(w->zoomPercent(), 100);  // an A4 page is taller than the offscreen screen
    const int fitted = w->zoomPercent();
    w->zoom(1);
    EXPECT_GT(w->picture()->height(), room) << fitted;
    w->zoom(-1);

    // The wheel alone scrolls the page up and down; PageDown pages without a click into the window.
    QWidget* background = w->centralWidget();
    const QPointF at(5, 5);
    QWheelEvent down(at, background->mapToGlobal(at), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(background, &down);
    EXPECT_EQ(w->picture()->positionTwips(), QPointF(0, -2400));
    EXPECT_EQ(w->zoomPercent(), fitted);
    QTest::keyClick(w, Qt::Key_PageDown);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共6页,现第2页"_s);
}

TEST_F(PreviewWindowTest, ThePageCounterKeepsItsWidthWhileTurningPages) {
    // The page number takes the places of the page count (figure spaces), so the menus after it stay.
    const auto grid = preview_test::narrowGrid(500);
    show(grid);
    auto* w = window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共13页,现第"_s + QChar(0x2007) + u"1页"_s);
    QTest::keyClick(w, Qt::Key_End);
    EXPECT_EQ(text(u"SELPAGE"_s), u"共13页,现第13页"_s);
}

TEST_F(PreviewWindowTest, AGridWithoutARowToPrintIsToldNotShown) {
    // No row, or a caption row and nothing under it: no window shows "共0页" and "共-1行".
    slp::data::WageGrid grid(1, 3);
    for (int c = 0; c < 3; ++c) {
        grid.setColWidth(c, 1000);
        grid.setText(0, c, u"项"_s + QString::number(c));
    }
    for (const slp::data::WageGrid& g : {slp::data::WageGrid(), grid}) {
        prompts.asked.clear();
        show(g, slp::print::kSlipModeSlips, u"个人发放联"_s);
        EXPECT_FALSE(window() && window()->isVisible());
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_EQ(prompts.asked.back().text, u"没有可打印的数据!"_s);
        EXPECT_EQ(prompts.asked.back().title, u"个人发放联"_s);
    }
    // A grid with rows opens the window as before.
    show(preview_test::narrowGrid(3));
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(PreviewWindowTest, ARegistryWithoutThePreviewSaysSo) {
    slp::HostContext other;
    slp::WindowRegistry empty(other);
    const auto grid = preview_test::narrowGrid(3);
    slp::print::PrintPreviewRequest r;
    r.grid = &grid;
    EXPECT_THROW(slp::print::ShowPrintPreview(empty, r), slp::MissingWindowError);
}

}  // namespace
