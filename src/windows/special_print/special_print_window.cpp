#include "windows/special_print/special_print_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTreeWidget>

#include "basic/conversions.h"
#include "basic/host_text.h"
#include "data/database.h"
#include "data/host_context.h"
#include "print/chinese_fonts.h"
#include "print/printer.h"
#include "ui/qt_prompts.h"
#include "windows/shared/error_report.h"
#include "windows/shared/host_database.h"
#include "windows/shared/window_geometry.h"
#include "windows/special_print/register_special_print.h"
#include "windows/special_print/special_print.h"

using namespace Qt::StringLiterals;

namespace slp::windows::special {

namespace {
// Colour 9 of the 16-colour palette (light blue) for selected labels, colour 0 (black) for the others.
const QColor kSelectedColour(0, 0, 255);
const QColor kPlainColour(0, 0, 0);
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

SpecialPrintWindow::SpecialPrintWindow(WindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
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
        if (index >= 0 && index < layout_.count()) panel1_->setText(treeStatusText(layout_.label(index).pos));
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
    load();
}

SpecialPrintWindow::~SpecialPrintWindow() = default;

Prompts& SpecialPrintWindow::prompts() {
    if (services_.prompts) return *services_.prompts;
    if (!ownPrompts_) ownPrompts_ = std::make_unique<ui::QtPrompts>(this);
    return *ownPrompts_;
}

bool SpecialPrintWindow::runReported(const std::function<void()>& handler) {
    return windows::runReported(prompts(), handler);
}

QAction* SpecialPrintWindow::addCommand(QWidget* menu, const QString& name, const QString& caption,
                                        std::function<void()> run, bool checkable) {
    auto* a = new QAction(caption, menu);
    a->setObjectName(name);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, run] { runReported(run); });
    menu->addAction(a);
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
    addCommand(
        set, u"MenuJUST"_s, u"是否每张只打印一个"_s,
        [this] {
            const bool on = action(u"MenuJUST"_s)->isChecked();
            if (services_.store) writeOnePerPage(*services_.store, services_.context->unitCode, on);
            panel2_->setText(modeStatusText(on));
        },
        true);
    addCommand(set, u"MenuPaperWidth"_s, u"打印宽度"_s, [this] { askPaperWidth(); });
    addCommand(set, u"MenuPaperHeight"_s, u"打印高度"_s, [this] { askPaperHeight(); });
    addCommand(
        set, u"MnuYDDY"_s, u"按预定应大小打印"_s, [] {}, true);
    set->addSeparator();
    addCommand(
        set, u"MnuSelNum"_s, u"是否选择打印条件"_s, [] {}, true);
    set->addSeparator();
    addCommand(set, u"MenuCalibration"_s, u"打印机校准(毫米)"_s, [this] { askCalibration(); });
    addCommand(set, u"MenuBackground"_s, u"背景图片"_s, [this] { askBackground(); });

    QMenu* place = menuBar()->addMenu(u"设置打印位置"_s);
    place->setObjectName(u"MnuSWZ"_s);
    const QStringList all{u"全部打印在名称下方"_s, u"全部打印在名称上方"_s, u"全部打印在名称左侧"_s,
                          u"全部打印在名称右侧"_s};
    for (int i = 1; i <= 4; ++i) {
        addCommand(
            place, u"MnuSelWZ_%1"_s.arg(i), all[i - 1], [this, i] { setAllPlaces(i); }, true);
    }
    place->addSeparator();
    addCommand(
        place, u"MnuSelWZ_20"_s, u"打印名称"_s, [this] { toggleAllNames(); }, true);

    addCommand(menuBar(), u"MenuQRSZ"_s, u"确认设置"_s, [this] { confirmLayout(); });
    addCommand(menuBar(), u"MenuPrint"_s, u"打印"_s, [this] { printLayout(); });
    addCommand(menuBar(), u"MenuExit"_s, u"退出"_s, [this] { close(); });

    popup_ = new QMenu(this);
    popup_->setObjectName(u"MenuPop"_s);
    const QStringList one{u"打印在名称下方"_s, u"打印在名称上方"_s, u"打印在名称左侧"_s, u"打印在名称右侧"_s};
    for (int i = 1; i <= 4; ++i) {
        addCommand(
            popup_, u"MenuSetPlace_%1"_s.arg(i), one[i - 1], [this, i] { choosePlace(i); }, true);
    }
    popup_->addSeparator();
    addCommand(
        popup_, u"MenuSetPlace_20"_s, u"是否打印名称"_s, [this] { choosePlace(20); }, true);
}

void SpecialPrintWindow::load() {
    if (services_.store) {
        const QRect twips = readPlacement(*services_.store);
        setGeometry(int(twips.x() / tpp_), int(twips.y() / tpp_), int(twips.width() / tpp_),
                    int(twips.height() / tpp_));
        settings_ = readSpecialSettings(*services_.store, services_.context->unitCode);
    }
    runReported([this] {
        data::Database& db = requireDatabase(*services_.context);
        EnsureLayoutTable(db);
        buildSheet();
    });
    action(u"MenuPaperWidth"_s)->setText(paperWidthCaption(float(settings_.paper.width())));
    action(u"MenuPaperHeight"_s)->setText(paperHeightCaption(float(settings_.paper.height())));
    resizeSheet(settings_.paper);
    if (!settings_.background.isEmpty()) sheet_->setBackground(QPixmap(settings_.background));
    action(u"MenuJUST"_s)->setChecked(settings_.onePerPage);
    panel1_->clear();
    panel2_->setText(modeStatusText(settings_.onePerPage));
    bool stored = false;
    runReported([&] { stored = HasStoredLayout(requireDatabase(*services_.context)); });
    action(u"MenuPrint"_s)->setEnabled(stored);
    tree_->move(4, 4);
    sheet_->move(tree_->width() + 12, 4);
    sheet_->raise();
}

void SpecialPrintWindow::buildSheet() {
    data::Database& db = requireDatabase(*services_.context);
    QStringList items;
    data::ResultSet set = db.open(u"select 项目名称  from  14工资输出及公式  where 工作年月 ="_s +
                                  sqlTextLiteral(services_.context->monthKey()) + u" order by 项目序号"_s);
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        items << set.text(0);
    }
    if (items.isEmpty()) {
        prompts().messageBox(u"工资项目数小于1,无法继续执行!"_s, QString(), MessageIcon::Warning);
        return;
    }
    const std::vector<LayoutRow> stored = ReadLayout(db);
    layout_.build(items, stored);
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (int i = 0; i < layout_.count(); ++i) {
        auto* node = new QTreeWidgetItem(tree_, {layout_.label(i).caption});
        node->setIcon(0, icon);
        auto* label = new QLabel(layout_.label(i).caption, sheet_);
        label->setObjectName(u"GZHM_%1"_s.arg(i + 1));
        label->installEventFilter(this);
        label->adjustSize();
        label->show();
        labels_.push_back(label);
    }
    placeLabels();
    for (int i = 0; i < layout_.count(); ++i) {
        if (size_t(i) < stored.size()) labels_[size_t(i)]->setToolTip(positionTip(layout_.label(i).pos));
    }
}

void SpecialPrintWindow::placeLabels() {
    for (int i = 0; i < layout_.count() && i < int(labels_.size()); ++i) {
        const SheetLabel& l = layout_.label(i);
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

void SpecialPrintWindow::resizeSheet(QSizeF twips) {
    layout_.setSheet(twips);
    sheet_->resize(int(std::lround(twips.width() / tpp_)), int(std::lround(twips.height() / tpp_)));
}

void SpecialPrintWindow::openPopup(int index, const QPoint& globalPos) {
    const SheetLabel& l = layout_.label(index);
    for (int i = 1; i <= 4; ++i) action(u"MenuSetPlace_%1"_s.arg(i))->setChecked(l.position + 1 == i);
    action(u"MenuSetPlace_20"_s)->setChecked(l.printName);
    currentLabel_ = index;
    popup_->popup(globalPos);
}

void SpecialPrintWindow::choosePlace(int item) {
    if (currentLabel_ < 0) return;
    if (item == 20) {
        layout_.setPrintName(currentLabel_, action(u"MenuSetPlace_20"_s)->isChecked());
    } else {
        layout_.setPosition(currentLabel_, int16_t(item - 1));
    }
}

void SpecialPrintWindow::setAllPlaces(int item) {
    for (int i = 1; i <= 4; ++i) action(u"MnuSelWZ_%1"_s.arg(i))->setChecked(i == item);
    layout_.setAllPositions(int16_t(item - 1));
}

void SpecialPrintWindow::toggleAllNames() {
    QAction* a = action(u"MnuSelWZ_20"_s);
    a->setText(allNamesCaption(a->isChecked()));
    layout_.setAllPrintNames(a->isChecked());
}

void SpecialPrintWindow::askPaperWidth() {
    QAction* a = action(u"MenuPaperWidth"_s);
    const auto cm =
        acceptPaperCm(prompts()
                          .inputBox(u"请输入打印纸张的宽度"_s, QString(), paperBoxDefault(a->text()))
                          .value_or(QString()));
    if (!cm) return;
    a->setText(paperWidthCaptionCm(*cm));
    if (services_.store) writePaperWidth(*services_.store, services_.context->unitCode, *cm);
    resizeSheet(QSizeF(*cm * kTwipsPerCm, layout_.sheet().height()));
}

void SpecialPrintWindow::askPaperHeight() {
    QAction* a = action(u"MenuPaperHeight"_s);
    const auto cm =
        acceptPaperCm(prompts()
                          .inputBox(u"请输入打印纸张的高度"_s, QString(), paperBoxDefault(a->text()))
                          .value_or(QString()));
    if (!cm) return;
    a->setText(paperHeightCaptionCm(*cm));
    if (services_.store) writePaperHeight(*services_.store, services_.context->unitCode, *cm);
    resizeSheet(QSizeF(layout_.sheet().width(), *cm * kTwipsPerCm));
}

void SpecialPrintWindow::confirmLayout() {
    SaveLayout(requireDatabase(*services_.context), layout_.rowsToSave());
    prompts().messageBox(layoutSavedMessage(), QString(), MessageIcon::Information);
    action(u"MenuPrint"_s)->setEnabled(true);
}

void SpecialPrintWindow::printLayout() {
    if (!services_.openPrinter) throw Error(errnum::NoPrinter, u"没有安装打印机"_s);
    std::unique_ptr<print::Printer> printer = services_.openPrinter();
    HostContext& host = *services_.context;
    SpecialData data = openSpecialData(requireDatabase(host), host.monthKey(), u"order by 部门号"_s,
                                       u"16工资输出数据"_s, host.payDate);
    SpecialOptions o;
    o.onePerPage = action(u"MenuJUST"_s)->isChecked();
    o.keepPageSize = action(u"MnuYDDY"_s)->isChecked();
    o.sheet = layout_.sheet();
    if (action(u"MnuSelNum"_s)->isChecked()) {
        const auto range = askRange(prompts(), data.rows.recordCount());
        if (!range) return;
        o.first = range->first;
        o.last = range->second;
    }
    if (services_.store) {
        const QPointF mm = readCalibrationMm(*services_.store, host.unitCode, printer->deviceName());
        o.calibration = QPointF(mmToTwips(mm.x()), mmToTwips(mm.y()));
    }
    QString placement;
    if (PrintSpecial(*printer, data, o, &placement) == 0) {
        prompts().messageBox(emptyRangeMessage(o.first, o.last, data.rows.recordCount()), QString(),
                             MessageIcon::Information);
        return;
    }
    if (!placement.isEmpty()) prompts().messageBox(placement, QString(), MessageIcon::Information);
    print::tellWherePrinted(*printer, prompts());
}

void SpecialPrintWindow::askCalibration() {
    if (!services_.store || !services_.openPrinter) return;
    const QString name = services_.openPrinter()->deviceName();
    const QPointF now = readCalibrationMm(*services_.store, services_.context->unitCode, name);
    const auto x = prompts().inputBox(u"打印机\""_s + name + u"\"的横向偏移(毫米,向右为正)"_s, QString(),
                                      plainNumber(now.x()));
    if (!x || !isNumericText(*x)) return;
    const auto y = prompts().inputBox(u"打印机\""_s + name + u"\"的纵向偏移(毫米,向下为正)"_s, QString(),
                                      plainNumber(now.y()));
    if (!y || !isNumericText(*y)) return;
    writeCalibrationMm(*services_.store, services_.context->unitCode, name,
                       QPointF(leadingValue(*x), leadingValue(*y)));
}

void SpecialPrintWindow::askBackground() {
    const auto path = prompts().inputBox(u"背景图片文件(PNG或JPEG,只在设置时显示,不打印;清空为不用)"_s,
                                         QString(), settings_.background);
    if (!path) return;
    const QString chosen = path->trimmed();
    QPixmap picture;
    if (!chosen.isEmpty() && !picture.load(chosen)) {
        prompts().messageBox(u"无法读取图片文件: "_s + chosen, QString(), MessageIcon::Warning);
        return;
    }
    settings_.background = chosen;
    sheet_->setBackground(picture);
    if (services_.store) writeBackground(*services_.store, services_.context->unitCode, chosen);
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
    layout_.drag(index, by.x() * tpp_, by.y() * tpp_, QSizeF(label->size()) * tpp_);
    placeLabels();
    label->setToolTip(positionTip(layout_.label(index).pos));
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
        layout_.selectInRect(QPointF(bandOrigin_) * tpp_, QPointF(at) * tpp_);
        placeLabels();
    }
    return true;
}

void SpecialPrintWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized()) return;
    tree_->resize(tree_->width(), std::max(40, area_->height() - int(490 / tpp_)));
}

void SpecialPrintWindow::closeEvent(QCloseEvent* event) {
    if (services_.store && !isMinimized()) {
        runReported([this] {
            const QRect g = geometry();
            writePlacement(*services_.store, QRect(int(g.x() * tpp_), int(g.y() * tpp_),
                                                   int(g.width() * tpp_), int(g.height() * tpp_)));
        });
    }
    if (services_.registry) services_.registry->windowClosed(WindowId::SpecialPrint);
    QMainWindow::closeEvent(event);
}

SpecialPrintHandle::SpecialPrintHandle(WindowServices services)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          print::registerChineseFontSubstitutes();
          return new SpecialPrintWindow(services_);
      }),
      services_(std::move(services)) {}

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
