#include "windows/print_preview/print_preview_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QWheelEvent>

#include "app/print_preview/preview_canvas.h"
#include "app/print_preview/print_preview_driver.h"
#include "ui/progress_bar.h"
#include "windows/print_preview/page_picture.h"
#include "windows/print_preview/printer_choice_dialog.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {

// Twips the arrow keys move the picture.
constexpr double kArrowStep = 300;
constexpr int kScreenDpi = 96;

// The window's background: the two help lines at its top left corner, under the picture; Ctrl and the
// wheel zoom.
class PreviewBackground : public QWidget {
  public:
    PreviewBackground(QWidget* parent, std::function<void(int)> zoom)
        : QWidget(parent), zoom_(std::move(zoom)) {
        setObjectName(u"PreviewBackground"_s);
        setAutoFillBackground(true);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        int y = metrics.ascent();
        for (const QString& line : PrintPreviewDriver::helpLines()) {
            painter.drawText(0, y, line);
            y += metrics.height();
        }
    }
    void wheelEvent(QWheelEvent* event) override {
        if (event->angleDelta().y() == 0) return QWidget::wheelEvent(event);
        // Ctrl and the wheel zoom; the wheel alone scrolls the page up and down.
        if (event->modifiers() & Qt::ControlModifier) {
            zoom_(event->angleDelta().y() > 0 ? 1 : -1);
        } else if (scroll_) {
            scroll_(event->angleDelta().y());
        }
        event->accept();
    }

  public:
    std::function<void(int)> scroll_;  // wheel steps in eighths of a degree, up positive

  private:
    std::function<void(int)> zoom_;
};

// Twips the wheel scrolls for one notch (120 eighths of a degree).
constexpr double kWheelStep = 1200;

}  // namespace

PrintPreviewWindow::PrintPreviewWindow(PrintPreviewDriver& driver, PictureCanvas& canvas, Hooks hooks,
                                       QWidget* parent)
    : QMainWindow(parent), driver_(driver), canvas_(canvas), hooks_(std::move(hooks)) {
    setObjectName(u"工资MSGPRINT"_s);
    auto* background = new PreviewBackground(this, [this](int steps) { zoom(steps); });
    setCentralWidget(background);
    picture_ = new PagePicture(background);
    background->scroll_ = [this](int eighths) { picture_->moveByTwips(0, eighths * kWheelStep / 120); };
    picture_->setFocusPolicy(Qt::ClickFocus);
    picture_->setToolTip(zoomHints().join(u'\n'));
    buildMenus();
    buildStatusBar();
    buildKeys();
    // A print of many pages shows a bar that can stop it (none once this window is gone: the driver may
    // outlive it).
    driver_.setPrintProgressSource([window = QPointer<PrintPreviewWindow>(this)]() -> ui::ProgressCallback {
        if (!window) return {};
        return ui::progressBar(window, u"正在打印..."_s, window->windowTitle());
    });
}

QAction* PrintPreviewWindow::addAction(QMenu* menu, const QString& name, std::function<void()> handler) {
    auto* action = new QAction(this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { run(handler); });
    if (menu) {
        menu->addAction(action);
    } else {
        menuBar()->addAction(action);
    }
    actions_[name] = action;
    return action;
}

void PrintPreviewWindow::buildMenus() {
    const PreviewMenus& m = driver_.menus();
    addAction(nullptr, u"SELPAGE"_s, [this] { driver_.choosePage(); })->setText(m.pageChoice.caption);
    addAction(nullptr, u"PRINTOUT"_s, [this] { driver_.printChosenPages(); })->setText(m.print.caption);

    setMenu_ = menuBar()->addMenu(m.settingsMenu.caption);
    setMenu_->setObjectName(PreviewMenus::settingsMenuName() + u"_menu"_s);
    setMenu_->menuAction()->setObjectName(PreviewMenus::settingsMenuName());
    actions_[PreviewMenus::settingsMenuName()] = setMenu_->menuAction();
    for (PageSetting setting : PreviewMenus::kPageSettings) {
        addAction(setMenu_, PreviewMenus::actionName(setting),
                  [this, setting] { driver_.askSetting(setting); });
    }

    printSetMenu_ = menuBar()->addMenu(m.printSettings.caption);
    printSetMenu_->setObjectName(PreviewMenus::printSettingsMenuName() + u"_menu"_s);
    printSetMenu_->menuAction()->setObjectName(PreviewMenus::printSettingsMenuName());
    actions_[PreviewMenus::printSettingsMenuName()] = printSetMenu_->menuAction();
    for (PrintOption option : PreviewMenus::kPrintOptions) {
        QAction* a = addAction(printSetMenu_, PreviewMenus::actionName(option),
                               [this, option] { driver_.changeOption(option); });
        // The driver flips the check marks; the action only shows them.
        a->setCheckable(PreviewMenus::isCheckItem(option));
    }

    // The printer panel is reached from the menu as well as by a click on the status bar's printer.
    printSetMenu_->addSeparator();
    addAction(printSetMenu_, u"PrinterSetup"_s, [this] { choosePrinter(); })->setText(printerSetupCaption());

    // Zooming, which the keys and Ctrl with the wheel do too: said here, where the clerk looks for it.
    zoomMenu_ = menuBar()->addMenu(QString());
    zoomMenu_->setObjectName(u"zoomMenu_menu"_s);
    zoomMenu_->menuAction()->setObjectName(u"zoomMenu"_s);
    addAction(zoomMenu_, u"zoomInAction"_s, [this] { zoom(1); })->setText(u"放大\tCtrl++"_s);
    addAction(zoomMenu_, u"zoomOutAction"_s, [this] { zoom(-1); })->setText(u"缩小\tCtrl+-"_s);
    addAction(zoomMenu_, u"fitPageAction"_s, [this] { fitPageToWindow(); })->setText(u"适合页面\tCtrl+0"_s);
    zoomMenu_->addSeparator();
    for (const QString& hint : zoomHints()) zoomMenu_->addAction(hint)->setEnabled(false);
    showZoom();

    addAction(nullptr, u"EXITRANCE"_s, [this] { close(); })->setText(m.exit.caption);
}

QStringList PrintPreviewWindow::zoomHints() {
    return {u"按住Ctrl转动滚轮也可放大缩小"_s, u"PageUp/PageDown 翻页，Home/End 第一页/最后一页"_s,
            u"方向键或按住左键拖动 移动页面"_s};
}

void PrintPreviewWindow::showZoom() {
    zoomMenu_->setTitle(u"缩放(%1%)"_s.arg(zoomPercent()));
}

void PrintPreviewWindow::choosePrinter() {
    if (hooks_.printerSetup) hooks_.printerSetup(this);
    driver_.afterPrinterSetup();
}

void PrintPreviewWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"SBar"_s);
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(u"SBar_"_s + QString::number(i + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addWidget(label);
        panels_[size_t(i)] = label;
    }
    panels_[0]->installEventFilter(this);
    panels_[0]->setCursor(Qt::PointingHandCursor);
    panels_[0]->setToolTip(u"打印机设置"_s);
}

void PrintPreviewWindow::buildKeys() {
    // The window takes these keys whatever control has the focus.
    auto key = [this](const QKeySequence& sequence, const QString& name, std::function<void()> handler) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setObjectName(name);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(true);
        connect(shortcut, &QShortcut::activated, this,
                [this, handler = std::move(handler)] { run(handler); });
    };
    using Key = PrintPreviewDriver::PagingKey;
    key(QKeySequence(Qt::Key_PageUp), u"key_PageUp"_s, [this] { driver_.turnPage(Key::PageUp); });
    key(QKeySequence(Qt::Key_PageDown), u"key_PageDown"_s, [this] { driver_.turnPage(Key::PageDown); });
    key(QKeySequence(Qt::Key_Home), u"key_Home"_s, [this] { driver_.turnPage(Key::Home); });
    key(QKeySequence(Qt::Key_End), u"key_End"_s, [this] { driver_.turnPage(Key::End); });
    key(QKeySequence(Qt::Key_Left), u"key_Left"_s, [this] { picture_->moveByTwips(-kArrowStep, 0); });
    key(QKeySequence(Qt::Key_Right), u"key_Right"_s, [this] { picture_->moveByTwips(kArrowStep, 0); });
    key(QKeySequence(Qt::Key_Up), u"key_Up"_s, [this] { picture_->moveByTwips(0, -kArrowStep); });
    key(QKeySequence(Qt::Key_Down), u"key_Down"_s, [this] { picture_->moveByTwips(0, kArrowStep); });
    key(QKeySequence(QKeySequence::ZoomIn), u"key_ZoomIn"_s, [this] { zoom(1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), u"key_ZoomInEqual"_s, [this] { zoom(1); });
    key(QKeySequence(QKeySequence::ZoomOut), u"key_ZoomOut"_s, [this] { zoom(-1); });
    key(QKeySequence(Qt::CTRL | Qt::Key_0), u"key_FitPage"_s, [this] { fitPageToWindow(); });
}

void PrintPreviewWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        driver_.reportError(e);
    }
    if (!closing_) refresh();
}

void PrintPreviewWindow::placeForOpening() {
    setWindowTitle(driver_.windowCaption());
    fitToScreen();
    picture_->setPositionTwips(QPointF(0, 0));
    refresh();
    fitPageToWindow();
    // The keys page at once, without a first click into the window.
    activateWindow();
    picture_->setFocus();
}

void PrintPreviewWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    fitToScreen();
}

void PrintPreviewWindow::fitPageToWindow() {
    // The largest zoom step at which the whole page height shows between the menus and the status bar
    // (the smallest step when none does); the keys and Ctrl with the wheel zoom from there.
    const QImage& image = canvas_.image();
    if (image.isNull() || canvas_.dpi() <= 0) return;
    const double pageHeightAt100 = double(image.height()) * kScreenDpi / canvas_.dpi();
    const int room = height() - menuBar()->sizeHint().height() - statusBar()->sizeHint().height();
    size_t step = 0;
    for (size_t i = 0; i <= 3; ++i) {  // never larger than 100 percent
        if (pageHeightAt100 * kZoomSteps[i] / 100 <= room) step = i;
    }
    zoom(int(step) - int(zoomStep_));
}

void PrintPreviewWindow::fitToScreen() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    // The frame covers what the desktop leaves free (panels and task bars stay visible, and so does the
    // status bar); before the window is shown its frame is not known yet.
    const QRect free = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    move(free.topLeft());
    resize(free.size() - frame);
}

void PrintPreviewWindow::refresh() {
    const PreviewMenus& m = driver_.menus();
    // The page number takes as many places as the page count, so the menus after it stay where they
    // are while the clerk turns the pages.
    const int places = int(QString::number(driver_.pageCount()).size());
    actions_.at(u"SELPAGE"_s)
        ->setText(u"共"_s + QString::number(driver_.pageCount()) + u"页,现第"_s +
                  QStringLiteral("%1").arg(driver_.currentPage(), places, 10, QChar(0x2007)) + u"页"_s);
    for (PageSetting setting : PreviewMenus::kPageSettings)
        actions_.at(PreviewMenus::actionName(setting))->setText(m.item(setting).caption);
    for (PrintOption option : PreviewMenus::kPrintOptions) {
        QAction* a = actions_.at(PreviewMenus::actionName(option));
        const PreviewMenuItem& item = m.item(option);
        a->setText(item.caption);
        a->setVisible(item.visible);
        if (a->isCheckable()) a->setChecked(item.checked);
    }
    const auto& texts = driver_.statusTexts();
    for (size_t i = 0; i < panels_.size(); ++i) panels_[i]->setText(texts[i]);
    sizePanels();
    showPicture();
}

void PrintPreviewWindow::showPicture() {
    picture_->setImage(canvas_.image(), canvas_.dpi());
}

void PrintPreviewWindow::sizePanels() {
    const int w = width();
    panels_[0]->setFixedWidth(w * 2 / 3);
    for (size_t i = 1; i < panels_.size(); ++i) panels_[i]->setFixedWidth(w / 9);
}

QAction* PrintPreviewWindow::action(const QString& objectName) const {
    const auto it = actions_.find(objectName);
    return it == actions_.end() ? nullptr : it->second;
}

QLabel* PrintPreviewWindow::statusPanel(int index) const {
    if (index < 1 || index > 4) return nullptr;
    return panels_[size_t(index - 1)];
}

void PrintPreviewWindow::zoom(int steps) {
    const int next = std::clamp(int(zoomStep_) + steps, 0, int(kZoomSteps.size()) - 1);
    if (size_t(next) == zoomStep_) return;
    zoomStep_ = size_t(next);
    canvas_.setDpi(kScreenDpi * kZoomSteps[zoomStep_] / 100);
    driver_.redrawShownPage();
    showPicture();
    showZoom();
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        driver_.close();
        if (hooks_.closed) hooks_.closed();
    }
    event->accept();
}

void PrintPreviewWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    sizePanels();
}

bool PrintPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panels_[0] && event->type() == QEvent::MouseButtonRelease) {
        run([this] { choosePrinter(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace slp::print
