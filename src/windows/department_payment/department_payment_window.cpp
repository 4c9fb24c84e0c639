#include "windows/department_payment/department_payment_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>

#include "app/department_payment/splitter.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/window_geometry.h"
#include "data/host_context.h"
#include "print/chinese_fonts.h"
#include "print/no_printer.h"
#include "print/page_recorder.h"
#include "print/preview_picture.h"
#include "print/printer.h"
#include "windows/department_payment/register_department_payment.h"
#include "windows/print_preview/printer_choice_dialog.h"
#include "windows/shared/caption_markers.h"
#include "windows/shared/employee_find.h"
#include "windows/shared/wage_grid_view.h"

using namespace Qt::StringLiterals;

namespace slp::windows::payment {

namespace {

// The list's two icons (ImageList1): an empty box for a department not selected, a ticked one for a
// selected department.
QIcon departmentIcon(bool selected) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(selected ? QColor(0, 90, 170) : QColor(120, 120, 120), 2));
    p.setBrush(selected ? QColor(60, 140, 220) : QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
    if (selected) {
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(9, 16), QPointF(14, 22), QPointF(24, 10)}));
    }
    return QIcon(pixmap);
}

constexpr float kPreviewOffset = 90;  // Pic's left and top in twips

}  // namespace

DepartmentPaymentWindow::DepartmentPaymentWindow(DepartmentPayment& logic, WindowServices services)
    : WageWindow(std::move(services)), logic_(logic) {
    setObjectName(u"工资输出表2"_s);
    setWindowTitle(paymentCaption());
    buildControls();
    buildMenus();
    addPreviewKeys();
    connect(gridView(), &WageGridView::columnClicked, this,
            [this](int col) { toggleCaptionMarker(gridModel(), col); });
    load();
}

void DepartmentPaymentWindow::buildControls() {
    QWidget* central = centralWidget();
    list_ = new QListWidget(central);
    list_->setObjectName(u"ListV1"_s);
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(32, 32));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    list_->setWordWrap(true);
    list_->setGridSize(QSize(96, 64));
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { clickDepartment(list_->row(item)); });
    connect(list_, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(list_->viewport()->mapToGlobal(at)); });

    splitter_ = new QFrame(central);
    splitter_->setObjectName(u"Image1"_s);
    splitter_->setCursor(Qt::SplitHCursor);
    splitter_->installEventFilter(this);
    bar_ = new QFrame(central);
    bar_->setObjectName(u"Picture1"_s);
    bar_->setAutoFillBackground(true);
    bar_->setPalette(QPalette(QColor(96, 96, 96)));
    bar_->hide();

    pic_ = new QLabel(central);
    pic_->setObjectName(u"Pic"_s);
    pic_->setFrameShape(QFrame::Box);
    pic_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pic_->installEventFilter(this);
    pic_->hide();
}

void DepartmentPaymentWindow::buildMenus() {
    file_ = menuBar()->addMenu(u"文件"_s);
    file_->setObjectName(u"MnuFile"_s);
    addCommand(file_, u"MnuFileSet_10"_s, u"自动调整宽度"_s, [] {})->setEnabled(false);
    rowHeightAction_ = addCommand(file_, u"MnuFileSet_20"_s, u"每行高度"_s, [this] { changeRowHeight(); });
    addCommand(file_, u"MnuFileSet_30"_s, u"打印预览"_s, [this] { preview(); });
    addCommand(file_, u"MnuFileSet_40"_s, u"打印字体"_s, [] {})->setVisible(false);
    addCommand(file_, u"MnuFileSet_45"_s, u"选择所有项目"_s, [this] { markAllCaptions(gridModel()); });
    addCommand(file_, u"MnuFileSet_46"_s, u"清除选择"_s, [this] { clearAllCaptions(gridModel()); });
    addCommand(file_, u"PrinterSetup"_s, print::printerSetupCaption(), [this] {
        if (services().store) print::askPrinterChoice(*services().store, prompts(), this);
    });
    addCommand(file_, u"MnuFileSet_50"_s, u"转到Excel"_s, [this] {
        if (services().exportGrid) services().exportGrid(grid(), prompts());
    });
    printAction_ =
        addCommand(menuBar(), u"MnuPrint_10"_s, u"打印班组签收联"_s, [this] { printDepartments(); });
    addCommand(menuBar(), u"MnuPrint_20"_s, u"打印工资条"_s, [] {})->setVisible(false);
    selDeptAction_ =
        addCommand(menuBar(), u"MnuSelDept"_s, u"显示部门"_s, [this] { showOrHideDepartments(); });
    // 查找 by 工号 or 姓名 among the employees (the totals row is none).
    findAction_ = addCommand(menuBar(), u"findEmployeeAction"_s, u"查找"_s, [this] {
        findEmployeeInView(*gridView(), grid(), 1, grid().rows() - 2, prompts(), findKey_);
    });
    findAction_->setShortcut(QKeySequence::Find);
    exitAction_ = addCommand(menuBar(), u"MnuExit"_s, u"退出"_s, [this] { close(); });
    exitViewAction_ = addCommand(menuBar(), u"MnuExitView"_s, u"退出预览"_s, [this] { exitPreview(); });
    exitViewAction_->setVisible(false);

    popup_ = new QMenu(this);
    popup_->setObjectName(u"MnuPop"_s);
    addCommand(popup_, u"MnuPopSel_10"_s, u"全部选定"_s, [this] {
        setStatusPanel(2, logic_.departments().selectAll());
        showIcons();
    });
    addCommand(popup_, u"MnuPopSel_20"_s, u"清除选定"_s, [this] {
        setStatusPanel(2, logic_.departments().clearSelection());
        showIcons();
    });
}

void DepartmentPaymentWindow::load() {
    logic_.beginOpening();
    if (QAction* font = findChild<QAction*>(u"MnuFileSet_40"_s))
        font->setText(printFontCaption(logic_.printFontSize()));
    placeAtOpening();
    if (services().store) runReported([this] { logic_.loadSettings(*services().store); });
    list_->setVisible(logic_.listVisible());
    selDeptAction_->setText(logic_.listVisible() ? u"不显示部门"_s : u"显示部门"_s);
    rowHeightAction_->setText(rowHeightCaption(logic_.rowHeight()));
    setStatusPanel(1, workMonthPanel(logic_.monthKey()));
    arrangeControls(logic_.splitterLeft());
    runReported([this] {
        logic_.readCodeLength();
        if (!logic_.loadCatalogue(prompts())) return markNoCatalogue();
        // Read on a copy of the logic, so that the window's own may change meanwhile.
        readGrid([payment = logic_,
                  month = logic_.monthKey()](data::Database& db) { return payment.buildGridFrom(db, month); },
                 [this](BuiltGrid& built) { showGrid(built); });
        if (logic_.loadDepartments(prompts())) fillDepartmentList();
    });
}

void DepartmentPaymentWindow::showGrid(BuiltGrid& built) {
    if (built.error) std::rethrow_exception(built.error);
    if (!built.grid) {
        prompts().messageBox(noPaymentDataMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const int employees = built.grid->rows() - 2;
    gridModel().replaceGrid(std::move(*built.grid), std::move(built.widestCells));
    setStatusPanel(2, headCountPanel(employees));
}

bool DepartmentPaymentWindow::fillGrid() {
    std::optional<data::WageGrid> filled = logic_.buildGrid(prompts());
    if (!filled) return false;
    const int employees = filled->rows() - 2;
    gridModel().update([&](data::WageGrid& shown) { shown = std::move(*filled); });
    setStatusPanel(2, headCountPanel(employees));
    return true;
}

void DepartmentPaymentWindow::fillDepartmentList() {
    list_->clear();
    for (const DepartmentEntry& e : logic_.departments().entries()) {
        auto* item = new QListWidgetItem(e.name, list_);
        item->setData(Qt::UserRole, e.key);
    }
    showIcons();
}

void DepartmentPaymentWindow::showIcons() {
    static const QIcon on = departmentIcon(true);
    static const QIcon off = departmentIcon(false);
    const auto& entries = logic_.departments().entries();
    for (int i = 0; i < list_->count() && i < int(entries.size()); ++i)
        list_->item(i)->setIcon(entries[size_t(i)].selected ? on : off);
}

void DepartmentPaymentWindow::clickDepartment(int index) {
    // A click on an empty area of the list has no entry to switch: nothing changes.
    if (index < 0 || index >= logic_.departments().size()) return;
    setStatusPanel(2, logic_.departments().toggle(index));
    showIcons();
}

double DepartmentPaymentWindow::dpi() const {
    return logicalDpiX();
}

float DepartmentPaymentWindow::widthTwips() const {
    return float(twipsFromPixels(width(), dpi()));
}

float DepartmentPaymentWindow::splitterLeft() const {
    return splitterLeft_;
}

float DepartmentPaymentWindow::arrangeControls(float x) {
    const double d = dpi();
    const float status = statusBar()->isVisible() ? float(twipsFromPixels(statusBar()->height(), d)) : 0;
    const float inner = float(twipsFromPixels(centralWidget()->height(), d)) + status;
    const Arrangement a = payment::arrangeControls(x, widthTwips(), inner, status);
    auto place = [d](QWidget* w, float left, float top, float width, float height) {
        w->setGeometry(pixelsFromTwips(left, d), pixelsFromTwips(top, d),
                       std::max(pixelsFromTwips(width, d), 0), std::max(pixelsFromTwips(height, d), 0));
    };
    place(gridView(), a.gridLeft, a.gridTop, a.gridWidth, a.gridHeight);
    place(list_, a.listLeft, a.listTop, a.listWidth, a.listHeight);
    place(splitter_, a.splitterLeft, 0, 60, a.splitterHeight);
    bar_->resize(bar_->width(), std::max(pixelsFromTwips(a.splitterHeight, d), 0));
    splitterLeft_ = a.splitterLeft;
    return a.splitterLeft;
}

void DepartmentPaymentWindow::pressSplitter() {
    const double d = dpi();
    bar_->setGeometry(splitter_->x(), splitter_->y(), std::max(splitter_->width() / 2, 1),
                      std::max(splitter_->height() - pixelsFromTwips(20, d), 0));
    bar_->show();
    bar_->raise();
    splitterDragging_ = true;
}

void DepartmentPaymentWindow::moveSplitter(float pointerX) {
    if (!splitterDragging_) return;
    const float left = dragBarLeft(splitterLeft_, pointerX, widthTwips());
    bar_->move(pixelsFromTwips(left, dpi()), bar_->y());
}

void DepartmentPaymentWindow::releaseSplitter() {
    if (!splitterDragging_) return;
    arrangeControls(float(twipsFromPixels(bar_->x(), dpi())));
    bar_->hide();
    splitterDragging_ = false;
}

void DepartmentPaymentWindow::showOrHideDepartments() {
    if (list_->isVisible()) {
        logic_.setSavedSplitterLeft(splitterLeft_);
        list_->hide();
        arrangeControls(0);
        selDeptAction_->setText(u"显示部门"_s);
        // Hiding the list selects every department again.
        setStatusPanel(2, logic_.departments().selectAll());
        showIcons();
    } else {
        list_->show();
        arrangeControls(restoredSplitterLeft(logic_.savedSplitterLeft(), widthTwips()));
        selDeptAction_->setText(u"不显示部门"_s);
    }
}

void DepartmentPaymentWindow::changeRowHeight() {
    if (const auto caption = logic_.askRowHeight(prompts())) rowHeightAction_->setText(*caption);
}

QDateTime DepartmentPaymentWindow::now() const {
    return services().clock ? services().clock->now() : QDateTime::currentDateTime();
}

void DepartmentPaymentWindow::printDepartments() {
    const auto outcome = logic_.printSelected(grid(), services().openPrinter, prompts(), now());
    if (!outcome.turnedNote.isEmpty()) setStatusPanel(2, outcome.turnedNote);
    QStringList told;
    if (outcome.jobs > 0 && !outcome.groupsNote.isEmpty()) told << outcome.groupsNote;
    if (!outcome.notice.isEmpty()) told << outcome.notice;
    if (!told.isEmpty()) prompts().messageBox(told.join(u'\n'), QString(), MessageIcon::Information);
}

bool DepartmentPaymentWindow::inPreview() const {
    return pic_->isVisible();
}

void DepartmentPaymentWindow::preview() {
    const auto code = logic_.departments().previewCode(logic_.deptCodeLength());
    if (!code) {
        // Nothing to preview: the clerk is told as at opening.
        prompts().messageBox(noDepartmentsMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    // The preview goes through the selected departments, or every one when none is selected, and opens
    // on the last selected one (the first entry's department when none is).
    const int length = logic_.deptCodeLength();
    previewCodes_ = logic_.departments().selectedDepartments(length);
    if (previewCodes_.isEmpty()) {
        for (const auto& entry : logic_.departments().entries())
            previewCodes_ << DepartmentList::codeOf(entry, length);
        previewCodes_.removeDuplicates();
    }
    if (!inPreview()) panelBeforePreview_ = statusPanel(2);
    showPreviewDepartment(std::max<int>(0, int(previewCodes_.indexOf(*code))));
    setPreviewMode(true);
}

QString DepartmentPaymentWindow::previewDepartmentCode() const {
    return previewCodeIndex_ < previewCodes_.size() ? previewCodes_[previewCodeIndex_] : QString();
}

QString DepartmentPaymentWindow::previewDepartmentName() const {
    const QString code = previewDepartmentCode();
    const int entry = logic_.departments().indexOf(code);
    return entry < 0 ? code : logic_.departments().entries()[size_t(entry)].name;
}

void DepartmentPaymentWindow::showPreviewDepartment(int index) {
    if (index < 0 || index >= previewCodes_.size()) return;
    previewCodeIndex_ = index;
    // The pages the chosen printer would get, its paper turned as the print turns it; without a printer,
    // those of an A4 sheet.
    std::unique_ptr<print::Printer> printer;
    try {
        if (services().openPrinter) printer = services().openPrinter();
    } catch (const std::exception&) {
    }
    if (!printer) printer = std::make_unique<print::NoInstalledPrinter>();
    DepartmentPayment::PreviewPages preview;
    // Database faults are reported and the window stays as it was.
    runReported([&] { preview = logic_.previewPrintedPages(previewCodes_[index], grid(), *printer, now()); });
    previewPages_ = std::move(preview.pages);
    previewTurnedNote_ = preview.turnedNote;
    previewSheet_ = printer->sheet();
    previewPageIndex_ = 0;
    if (previewPages_.empty()) {
        pic_->clear();
        setStatusPanel(2, previewDepartmentName() + u"  没有可打印的数据!"_s);
        return;
    }
    showPreviewPage(0);
}

double DepartmentPaymentWindow::previewDpi() const {
    // The whole page in sight: the screen's scale, smaller when the page is larger than the room below
    // the menus.
    const QSizeF page = previewSheet_.size;
    const double offset = 2 * double(pixelsFromTwips(kPreviewOffset, dpi()));
    const double roomWidth = width() - offset;
    const double roomHeight = height() - menuBar()->height() - statusBar()->height() - offset;
    double d = dpi();
    if (page.width() > 0) d = std::min(d, roomWidth * 1440 / page.width());
    if (page.height() > 0) d = std::min(d, roomHeight * 1440 / page.height());
    return std::max(d, 12.0);
}

void DepartmentPaymentWindow::showPreviewPage(int index) {
    if (index < 0 || index >= int(previewPages_.size())) return;
    previewPageIndex_ = index;
    previewPage_ = previewPages_[size_t(index)];
    const print::Sheet& sheet = previewSheet_;
    const double d = previewDpi();
    print::PreviewPicture picture(float(sheet.size.width()), float(sheet.size.height()), sheet.paperWidth,
                                  sheet.printableWidth, int(d));
    picture.show(previewPage_);
    const QPixmap pixmap = QPixmap::fromImage(picture.image());
    pic_->setGeometry(pixelsFromTwips(kPreviewOffset, dpi()), pixelsFromTwips(kPreviewOffset, dpi()),
                      pixmap.width(), pixmap.height());
    pic_->setPixmap(pixmap);
    QString status = previewDepartmentName() + u"  共"_s + QString::number(previewPages_.size()) +
                     u"页,现第"_s + QString::number(index + 1) + u"页"_s;
    if (!previewTurnedNote_.isEmpty()) status += u"  "_s + previewTurnedNote_;
    setStatusPanel(2, status);
}

void DepartmentPaymentWindow::addPreviewKeys() {
    // Pages with PageUp/PageDown/Home/End, departments with Ctrl and PageUp/PageDown: shortcuts of the
    // window, so they work whichever control has the focus, and only while the preview is shown.
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::Key_PageDown), [this] { showPreviewPage(previewPageIndex_ + 1); }},
        {QKeySequence(Qt::Key_PageUp), [this] { showPreviewPage(previewPageIndex_ - 1); }},
        {QKeySequence(Qt::Key_Home), [this] { showPreviewPage(0); }},
        {QKeySequence(Qt::Key_End), [this] { showPreviewPage(int(previewPages_.size()) - 1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { showPreviewDepartment(previewCodeIndex_ + 1); }},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { showPreviewDepartment(previewCodeIndex_ - 1); }},
    };
    for (const auto& [sequence, turn] : keys) {
        auto* action = new QAction(this);
        action->setShortcut(sequence);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, turn);
        addAction(action);
        previewKeys_.push_back(action);
    }
}

void DepartmentPaymentWindow::setPreviewMode(bool on) {
    for (QAction* key : previewKeys_) key->setEnabled(on);
    exitAction_->setVisible(!on);
    file_->menuAction()->setVisible(!on);
    printAction_->setVisible(!on);
    selDeptAction_->setVisible(!on);
    findAction_->setVisible(!on);
    exitViewAction_->setVisible(on);
    pic_->setVisible(on);
    if (on) pic_->raise();
}

void DepartmentPaymentWindow::exitPreview() {
    setPreviewMode(false);
    setStatusPanel(2, panelBeforePreview_);
}

void DepartmentPaymentWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && inPreview()) {
        exitPreview();
        return;
    }
    WageWindow::keyPressEvent(event);
}

bool DepartmentPaymentWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return WageWindow::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    if (watched == splitter_) {
        if (type == QEvent::MouseButtonPress) pressSplitter();
        if (type == QEvent::MouseMove) moveSplitter(float(twipsFromPixels(at.x(), dpi())));
        if (type == QEvent::MouseButtonRelease) releaseSplitter();
        return true;
    }
    if (watched == pic_) {
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) dragOrigin_ = at;
        if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton))
            pic_->move(pic_->pos() + at - dragOrigin_);
        return true;
    }
    return WageWindow::eventFilter(watched, event);
}

void DepartmentPaymentWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);  // the grid goes where the splitter says, not the wage windows' rule
    const float w = widthTwips();
    const float h = float(twipsFromPixels(height(), dpi()));
    if (!isMinimized() && w > 2000 && h > 3000) arrangeControls(splitterLeft_);
}

void DepartmentPaymentWindow::closeEvent(QCloseEvent* event) {
    // Each step on its own, errors ignored: the settings, then the host's database is released.
    logic_.setSplitterLeft(splitterLeft_);
    logic_.setListVisible(list_->isVisible());
    if (services().store) {
        try {
            logic_.saveSettings(*services().store);
        } catch (const std::exception&) {
        }
    }
    if (services().registry) services().registry->windowClosed(WindowId::DepartmentPayment);
    WageWindow::closeEvent(event);
}

DepartmentPaymentHandle::DepartmentPaymentHandle(WindowServices services)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          print::registerChineseFontSubstitutes();  // the grid's 宋体 and the printed 隶书
          return windowToShow(new DepartmentPaymentWindow(logic_, services_));
      }),
      services_(std::move(services)),
      logic_(*services_.context, services_.measure) {}

}  // namespace slp::windows::payment

namespace slp {

void registerDepartmentPaymentWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<windows::payment::DepartmentPaymentHandle>(
        registry, WindowId::DepartmentPayment, std::move(services));
}

void registerDepartmentPaymentWindow(WindowRegistry& registry) {
    registerDepartmentPaymentWindow(registry, windows::standardWindowServices(registry, hostContext()));
}

}  // namespace slp
