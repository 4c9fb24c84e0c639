#include "windows/special_print/special_print_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <algorithm>

#include "app/shared/window_geometry.h"
#include "data/host_context.h"
#include "print/chinese_fonts.h"
#include "ui/progress_bar.h"
#include "windows/print_preview/printer_choice_dialog.h"
#include "windows/special_print/register_special_print.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

namespace {
// Colour 9 of the 16-colour palette (light blue) for selected labels, colour 0 (black) for the others.
const QColor kSelectedColour(0, 0, 255);
const QColor kPlainColour(0, 0, 0);

// The place menus, by PositionCode: the menu bar's entry for every label and the pop-up's for one.
struct PlaceEntry {
    PositionCode code;
    QStringView all;
    QStringView one;
};
constexpr PlaceEntry kPlaces[] = {
    {Below, u"全部打印在名称下方", u"打印在名称下方"},
    {Above, u"全部打印在名称上方", u"打印在名称上方"},
    {LeftOf, u"全部打印在名称左侧", u"打印在名称左侧"},
    {RightOf, u"全部打印在名称右侧", u"打印在名称右侧"},
};
}  // namespace

void SheetPicture::setBackground(const QPixmap& picture) {
    background_ = picture;
    update();
}

void SheetPicture::setBand(const QRect& band) {
    band_ = band;
    update();
}

void SheetPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!background_.isNull()) p.drawPixmap(rect(), background_);
    p.setPen(QPen(Qt::gray, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!band_.isNull()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(band_.normalized());
    }
}

SpecialPrintWindow::SpecialPrintWindow(SpecialPrintSession& logic, WindowServices services, QWidget* parent)
    : CommandWindow(std::move(services), parent), logic_(logic) {
    setObjectName(u"特殊打印设置"_s);
    setWindowTitle(u"特殊打印设置"_s);
    tpp_ = windows::twipsPerPixel(logicalDpiX());
    area_ = new QWidget(this);
    setCentralWidget(area_);
    tree_ = new QTreeWidget(area_);
    tree_->setObjectName(u"TreeV1"_s);
    tree_->setHeaderHidden(true);
    tree_->setFixedWidth(160);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int index = tree_->indexOfTopLevelItem(item);
        if (index >= 0 && index < layout().count())
            panel1_->setText(treeStatusText(layout().label(index).pos));
    });
    sheet_ = new SheetPicture(area_);
    sheet_->setObjectName(u"PicSelItem"_s);
    sheet_->installEventFilter(this);
    panel1_ = new QLabel(this);
    panel2_ = new QLabel(this);
    statusBar()->setObjectName(u"SBar1"_s);
    statusBar()->addWidget(panel1_, 1);
    statusBar()->addWidget(panel2_, 1);
    buildMenus();
    open();
}

QAction* SpecialPrintWindow::addChoice(QWidget* menu, const QString& name, const QString& caption,
                                       std::function<void()> run) {
    QAction* a = addCommand(menu, name, caption, std::move(run));
    a->setCheckable(true);
    return a;
}

QAction* SpecialPrintWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QString SpecialPrintWindow::statusPanel(int panel) const {
    return panel == 1 ? panel1_->text() : panel2_->text();
}

void SpecialPrintWindow::buildMenus() {
    QMenu* set = menuBar()->addMenu(u"设置打印参数"_s);
    set->setObjectName(u"MenuSet_2"_s);
    onePerPage_ = addChoice(set, u"MenuJUST"_s, u"是否每张只打印一个"_s, [this] {
        logic_.keepOnePerPage();
        panel2_->setText(modeStatusText(logic_.onePerPage()));
    });
    connect(onePerPage_, &QAction::toggled, this, [this](bool on) { logic_.setOnePerPage(on); });
    paperWidth_ = addCommand(set, u"MenuPaperWidth"_s, u"打印宽度"_s, [this] {
        if (logic_.askPaperWidth(prompts())) showSheetSize();
    });
    paperHeight_ = addCommand(set, u"MenuPaperHeight"_s, u"打印高度"_s, [this] {
        if (logic_.askPaperHeight(prompts())) showSheetSize();
    });
    QAction* keepSize = addChoice(set, u"MnuYDDY"_s, u"按预定应大小打印"_s, [] {});
    connect(keepSize, &QAction::toggled, this, [this](bool on) { logic_.setKeepPageSize(on); });
    set->addSeparator();
    QAction* range = addChoice(set, u"MnuSelNum"_s, u"是否选择打印条件"_s, [] {});
    connect(range, &QAction::toggled, this, [this](bool on) { logic_.setChooseRange(on); });
    set->addSeparator();
    addCommand(set, u"MenuCalibration"_s, u"打印机校准(毫米)"_s,
               [this] { logic_.askCalibration(prompts()); });
    addCommand(set, u"MenuBackground"_s, u"背景图片"_s, [this] {
        if (const auto picture = logic_.askBackground(prompts()))
            sheet_->setBackground(QPixmap::fromImage(*picture));
    });

    set->addSeparator();
    addCommand(set, u"PrinterSetup"_s, print::printerSetupCaption(), [this] {
        if (services().store) print::askPrinterChoice(*services().store, prompts(), this);
    });

    QMenu* place = menuBar()->addMenu(u"设置打印位置"_s);
    place->setObjectName(u"MnuSWZ"_s);
    for (const PlaceEntry& e : kPlaces) {
        const PositionCode code = e.code;
        allPlaces_[size_t(code)] = addChoice(place, u"MnuSelWZ_%1"_s.arg(int(code) + 1), e.all.toString(),
                                             [this, code] { placeAllValues(code); });
    }
    place->addSeparator();
    allNames_ = addChoice(place, u"MnuSelWZ_20"_s, u"打印名称"_s, [this] {
        allNames_->setText(allNamesCaption(allNames_->isChecked()));
        layout().setAllPrintNames(allNames_->isChecked());
    });

    addCommand(menuBar(), u"MenuQRSZ"_s, u"确认设置"_s, [this] {
        logic_.confirmLayout(prompts());
        enablePrint(true);
    });
    print_ = addCommand(menuBar(), u"MenuPrint"_s, u"打印"_s, [this] { printRecords(); });
    addCommand(menuBar(), u"MenuExit"_s, u"退出"_s, [this] { close(); });

    popup_ = new QMenu(this);
    popup_->setObjectName(u"MenuPop"_s);
    for (const PlaceEntry& e : kPlaces) {
        const PositionCode code = e.code;
        chosenPlaces_[size_t(code)] =
            addChoice(popup_, u"MenuSetPlace_%1"_s.arg(int(code) + 1), e.one.toString(),
                      [this, code] { logic_.placeChosenValue(code); });
    }
    popup_->addSeparator();
    chosenName_ = addChoice(popup_, u"MenuSetPlace_20"_s, u"是否打印名称"_s,
                            [this] { logic_.printChosenName(chosenName_->isChecked()); });
}

void SpecialPrintWindow::open() {
    logic_.beginOpening();
    if (const auto twips = logic_.storedPlacement()) {
        setGeometry(int(twips->x() / tpp_), int(twips->y() / tpp_), int(twips->width() / tpp_),
                    int(twips->height() / tpp_));
    }
    runReported([this] {
        if (logic_.loadLayout(prompts())) buildLabels();
    });
    showSheetSize();
    const QString background = logic_.settings().background;
    if (!background.isEmpty()) sheet_->setBackground(QPixmap(background));
    onePerPage_->setChecked(logic_.onePerPage());
    panel2_->setText(modeStatusText(logic_.onePerPage()));
    bool stored = false;
    runReported([&] { stored = logic_.hasStoredLayout(); });
    enablePrint(stored);
    tree_->move(4, 4);
    sheet_->move(tree_->width() + 12, 4);
    sheet_->raise();
    fitSheetOnFirstOpening();
}

void SpecialPrintWindow::fitSheetOnFirstOpening() {
    // A window never closed before keeps the stored defaults (6500 x 4500 twips), too small for any
    // sheet: it opens large enough for the tree and the whole sheet at the screen's scale, within the
    // screen. Its size is remembered when it closes, so a size the clerk chooses is kept.
    const auto placement = logic_.storedPlacement();
    if (placement && placement->size() != QSize(6500, 4500)) return;
    const QSize needed(
        sheet_->x() + sheet_->width() + 16,
        sheet_->height() + 16 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    QSize size = needed.expandedTo(this->size());
    if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

void SpecialPrintWindow::enablePrint(bool stored) {
    const QString hint = stored ? QString() : SpecialPrintSession::confirmFirstHint();
    print_->setEnabled(stored);
    print_->setToolTip(stored ? print_->text() : hint);
    print_->setStatusTip(hint);
    panel1_->setText(hint);
}

void SpecialPrintWindow::buildLabels() {
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (int i = 0; i < layout().count(); ++i) {
        auto* node = new QTreeWidgetItem(tree_, {layout().label(i).caption});
        node->setIcon(0, icon);
        auto* label = new QLabel(layout().label(i).caption, sheet_);
        label->setObjectName(u"GZHM_%1"_s.arg(i + 1));
        label->installEventFilter(this);
        label->adjustSize();
        label->show();
        labels_.push_back(label);
    }
    placeLabels();
    for (int i = 0; i < layout().count() && i < logic_.storedLabels(); ++i) {
        labels_[size_t(i)]->setToolTip(positionTip(layout().label(i).pos));
    }
}

void SpecialPrintWindow::placeLabels() {
    for (int i = 0; i < layout().count() && i < int(labels_.size()); ++i) {
        const SheetLabel& l = layout().label(i);
        QLabel* label = labels_[size_t(i)];
        label->move(int(std::lround(l.pos.x() / tpp_)), int(std::lround(l.pos.y() / tpp_)));
        QFont f = label->font();
        f.setItalic(l.selected);
        label->setFont(f);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, l.selected ? kSelectedColour : kPlainColour);
        label->setPalette(pal);
        label->adjustSize();
    }
}

void SpecialPrintWindow::showSheetSize() {
    paperWidth_->setText(logic_.widthCaption());
    paperHeight_->setText(logic_.heightCaption());
    const QSizeF twips = layout().sheet();
    sheet_->resize(int(std::lround(twips.width() / tpp_)), int(std::lround(twips.height() / tpp_)));
}

void SpecialPrintWindow::openPopup(int index, const QPoint& globalPos) {
    logic_.chooseLabel(index);
    const SheetLabel& l = layout().label(index);
    for (const PlaceEntry& e : kPlaces) chosenPlaces_[size_t(e.code)]->setChecked(l.position == e.code);
    chosenName_->setChecked(l.printName);
    popup_->popup(globalPos);
}

void SpecialPrintWindow::placeAllValues(PositionCode code) {
    for (const PlaceEntry& e : kPlaces) allPlaces_[size_t(e.code)]->setChecked(e.code == code);
    layout().setAllPositions(code);
}

bool SpecialPrintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sheet_) return sheetMouse(event);
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (watched == labels_[i]) return labelMouse(int(i), event);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool SpecialPrintWindow::labelMouse(int index, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseMove) return false;
    auto* m = static_cast<QMouseEvent*>(event);
    QLabel* label = labels_[size_t(index)];
    const QPoint at = m->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) {
        if (m->button() == Qt::LeftButton) {
            labelPress_ = at;
            label->setToolTip(positionTip(QPointF(at) * tpp_));
        } else if (m->button() == Qt::RightButton) {
            openPopup(index, m->globalPosition().toPoint());
        }
        return true;
    }
    if (!(m->buttons() & Qt::LeftButton)) return false;
    const QPoint by = at - labelPress_;
    layout().drag(index, by.x() * tpp_, by.y() * tpp_, QSizeF(label->size()) * tpp_);
    placeLabels();
    label->setToolTip(positionTip(layout().label(index).pos));
    return true;
}

bool SpecialPrintWindow::sheetMouse(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return false;
    }
    auto* m = static_cast<QMouseEvent*>(event);
    const QPoint at = m->position().toPoint();
    if (type == QEvent::MouseButtonPress) {
        if (m->button() == Qt::LeftButton) sheetGrab_ = at;
        if (m->button() == Qt::RightButton) bandOrigin_ = at;
    } else if (type == QEvent::MouseMove) {
        if (m->buttons() & Qt::LeftButton) sheet_->move(sheet_->pos() + at - sheetGrab_);
        if (m->buttons() & Qt::RightButton) sheet_->setBand(QRect(bandOrigin_, at));
    } else if (m->button() == Qt::RightButton) {
        sheet_->setBand({});
        layout().selectInRect(QPointF(bandOrigin_) * tpp_, QPointF(at) * tpp_);
        placeLabels();
    }
    return true;
}

void SpecialPrintWindow::printRecords() {
    // The bar shows only while the records print, and is gone before the result is said.
    logic_.printRecords(prompts(), ui::progressBar(this, u"正在打印..."_s, windowTitle()));
}

void SpecialPrintWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized()) return;
    tree_->resize(tree_->width(), std::max(40, area_->height() - int(490 / tpp_)));
}

void SpecialPrintWindow::closeEvent(QCloseEvent* event) {
    if (!logic_.mayLeave(prompts())) {
        event->ignore();
        return;
    }
    if (!isMinimized()) {
        runReported([this] {
            const QRect g = geometry();
            logic_.keepPlacement(
                QRect(int(g.x() * tpp_), int(g.y() * tpp_), int(g.width() * tpp_), int(g.height() * tpp_)));
        });
    }
    if (services().registry) services().registry->windowClosed(WindowId::SpecialPrint);
    CommandWindow::closeEvent(event);
}

SpecialPrintHandle::SpecialPrintHandle(WindowServices services)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          print::registerChineseFontSubstitutes();
          return new SpecialPrintWindow(logic_, services_);
      }),
      services_(std::move(services)),
      logic_(services_) {}

}  // namespace slp::windows::special

namespace slp {

void registerSpecialPrintWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<windows::special::SpecialPrintHandle>(registry, WindowId::SpecialPrint,
                                                                        std::move(services));
}

void registerSpecialPrintWindow(WindowRegistry& registry) {
    registerSpecialPrintWindow(registry, windows::standardWindowServices(registry, hostContext()));
}

}  // namespace slp
