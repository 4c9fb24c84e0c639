#include "windows/card_export/card_export_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>

#include "app/card_export/card_types.h"
#include "data/database.h"
#include "ui/window_registry.h"
#include "windows/shared/employee_find.h"

using namespace Qt::StringLiterals;

namespace slp::card {

namespace {

// Fixed rows and columns of the grid look like buttons, as the caption row of a grid control does.
class FixedCellDelegate : public QStyledItemDelegate {
  public:
    FixedCellDelegate(const data::WageGridModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const data::WageGrid& g = model_.grid();
        if (index.row() < g.fixedRows() || index.column() < g.fixedCols()) {
            option->backgroundBrush = option->palette.button();
        }
    }

  private:
    const data::WageGridModel& model_;
};

// A menu caption shows "&" only when it is doubled.
QString menuText(const QString& caption) {
    QString text = caption;
    return text.replace(u'&', u"&&"_s);
}

QString indexedName(const QString& control, int index) {
    return control + u'_' + QString::number(index);
}

// The file menu: its commands in menu order, a separator before the last.
struct FileMenuEntry {
    FileCommand command;
    QStringView objectName;
    QStringView caption;  // the first item's caption comes from the logic when the menu opens
};
constexpr FileMenuEntry kFileMenu[] = {
    {FileCommand::SaveCardFile, u"saveCardFile", u""},
    {FileCommand::ToSpreadsheet, u"toSpreadsheet", u"转到Excel"},
    {FileCommand::Exit, u"exit", u"退出"},
};

// The sort menu's items by order (captions from sortChoices()).
QString sortActionName(SortOrder order) {
    switch (order) {
        case SortOrder::ByEmployeeNumber:
            return u"sortByEmployeeNumber"_s;
        case SortOrder::ByDepartment:
            return u"sortByDepartment"_s;
        case SortOrder::ByCardNumber:
            return u"sortByCardNumber"_s;
        case SortOrder::ByName:
            return u"sortByName"_s;
    }
    return QString();
}

}  // namespace

CardExportWindow::CardExportWindow(CardExport& logic, windows::WindowServices services)
    : CommandWindow(std::move(services)), logic_(logic), fill_(new windows::GridFill(this)) {
    setObjectName(u"SlgzSJSC"_s);
    setWindowTitle(u"工资卡输出"_s);
    buildMenus();

    pages_ = new QTabWidget(this);
    pages_->setObjectName(u"SSTab1"_s);
    pages_->addTab(buildFieldsPage(), u"基本资料"_s);
    pages_->addTab(buildGridPage(), u"详细资料"_s);
    setCentralWidget(pages_);

    statusBar()->setObjectName(u"SBar1"_s);
    status1_ = new QLabel(this);
    status1_->setObjectName(u"SBar1_1"_s);
    status2_ = new QLabel(this);
    status2_->setObjectName(u"SBar1_2"_s);
    // Panel 1 takes a third of the width, panel 2 the other two thirds.
    statusBar()->addWidget(status1_, 1);
    statusBar()->addWidget(status2_, 2);

    resize(560, 420);
    open();
}

void CardExportWindow::buildMenus() {
    fileMenu_ = menuBar()->addMenu(u"文件"_s);
    fileMenu_->setObjectName(u"fileMenu"_s);
    for (const FileMenuEntry& e : kFileMenu) {
        if (e.command == FileCommand::Exit) fileMenu_->addSeparator()->setObjectName(u"fileSeparator"_s);
        const FileCommand command = e.command;
        addCommand(fileMenu_, e.objectName.toString(), e.caption.toString(),
                   [this, command] { runFileCommand(command); });
    }
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        logic_.prepareFileMenu();
        refresh();
    });

    // The wage tables are chosen by the host; this menu stays disabled.
    QMenu* tables = menuBar()->addMenu(u"选择数据表"_s);
    tables->setObjectName(u"MnuSJB"_s);
    tables->menuAction()->setEnabled(false);
    const QStringList tableNames{u"第一表"_s, u"第二表"_s, u"第三表"_s};
    for (int i = 0; i < tableNames.size(); ++i) {
        tables->addAction(tableNames[i])->setObjectName(indexedName(u"MnuSB"_s, (i + 1) * 10));
    }

    // 查找 by 姓名 (or 工号, were the grid to show it) among the card holders.
    QAction* find = addCommand(menuBar(), u"findEmployeeAction"_s, u"查找"_s, [this] { findEmployee(); });
    find->setShortcut(QKeySequence::Find);

    QMenu* sort = menuBar()->addMenu(u"排序规则"_s);
    sort->setObjectName(u"sortMenu"_s);
    for (const SortChoice& s : sortChoices()) {
        const SortOrder order = s.order;
        QAction* a = addCommand(sort, sortActionName(order), s.caption.toString(), [this, order] {
            logic_.sortBy(order, prompts());
            refresh();
        });
        a->setCheckable(true);
    }
}

void CardExportWindow::findEmployee() {
    // The grid's page comes forward so the clerk sees the row found.
    for (QWidget* w = grid_; w && w != pages_; w = w->parentWidget()) {
        if (const int page = pages_->indexOf(w); page >= 0) pages_->setCurrentIndex(page);
    }
    windows::findEmployeeInView(*grid_, logic_.grid(), 1, logic_.grid().rows() - 1, prompts(), findKey_);
}

QWidget* CardExportWindow::buildFieldsPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    const QStringList labels{u"单位代码："_s, u"进卡日期："_s, u"工资卡名称："_s, u"入卡人数："_s,
                             u"入卡金额："_s};
    // Top to bottom: unit code, credit date, the card type's list, head count, total amount.
    const int fieldOfRow[] = {CardExport::UnitCode, CardExport::CreditDate, -1, CardExport::HeadCount,
                              CardExport::TotalAmount};
    for (int row = 0; row < labels.size(); ++row) {
        auto* label = new QLabel(labels[row], page);
        label->setObjectName(indexedName(u"Label1"_s, row));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(label, row, 0);
        QWidget* control = nullptr;
        if (fieldOfRow[row] < 0) {
            cardType_ = new QComboBox(page);
            cardType_->setObjectName(u"Combo1"_s);
            // The text is chosen from the list only (typing changes nothing), yet a stored name that is
            // no longer in the list is still shown as it is.
            cardType_->setEditable(true);
            cardType_->lineEdit()->setReadOnly(true);
            cardType_->setInsertPolicy(QComboBox::NoInsert);
            connect(cardType_, &QComboBox::activated, this, [this](int i) {
                logic_.chooseCardType(cardType_->itemText(i));
                refresh();
            });
            control = cardType_;
        } else {
            const int f = fieldOfRow[row];
            auto* edit = new QLineEdit(page);
            edit->setObjectName(indexedName(u"Text1"_s, f));
            connect(edit, &QLineEdit::textEdited, this,
                    [this, f](const QString& text) { logic_.setField(f, text); });
            fields_[size_t(f)] = edit;
            control = edit;
        }
        label->setBuddy(control);
        layout->addWidget(control, row, 1);
        if (row == 0) unitCodeLabel_ = label;
    }
    layout->setColumnStretch(1, 1);
    layout->setColumnMinimumWidth(1, 240);
    layout->setRowStretch(labels.size(), 1);
    auto* outer = new QWidget;
    auto* centre = new QVBoxLayout(outer);
    centre->addWidget(page, 0, Qt::AlignHCenter | Qt::AlignTop);
    return outer;
}

QWidget* CardExportWindow::buildGridPage() {
    grid_ = new QTableView;
    grid_->setObjectName(u"MSGrid1"_s);
    grid_->setModel(&logic_.gridModel());
    grid_->setItemDelegate(new FixedCellDelegate(logic_.gridModel(), grid_));
    grid_->horizontalHeader()->hide();  // the caption row is the grid's own row 0
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);
    connect(&logic_.gridModel(), &data::WageGridModel::layoutPropertiesChanged, this,
            &CardExportWindow::applyColumnWidths);
    return grid_;
}

void CardExportWindow::applyColumnWidths() {
    const data::WageGrid& g = logic_.gridModel().grid();
    const double pixelsPerTwip = grid_->logicalDpiX() / 1440.0;
    for (int c = 0; c < g.cols(); ++c) grid_->setColumnWidth(c, int(g.colWidth(c) * pixelsPerTwip + 0.5));
}

QAction* CardExportWindow::fileAction(FileCommand command) const {
    for (const FileMenuEntry& e : kFileMenu) {
        if (e.command == command) return findChild<QAction*>(e.objectName.toString());
    }
    return nullptr;
}

QAction* CardExportWindow::sortAction(SortOrder order) const {
    return findChild<QAction*>(sortActionName(order));
}

void CardExportWindow::open() {
    const HostContext* host = services().context;
    const bool apart =
        services().fillApart && host && host->database && windows::GridFill::canReadApart(*host->database);
    runReported([this, apart] { logic_.open(prompts(), apart); });
    if (logic_.gridToRead()) readGridApart();
    cardType_->clear();
    cardType_->addItems(logic_.cardTypeList());
    pages_->setCurrentIndex(1);  // the window opens on "详细资料"
    refresh();
    applyColumnWidths();
}

void CardExportWindow::readGridApart() {
    auto summary = std::make_shared<CardGridSummary>();
    fill_->start(
        services().context->database->connectionText(),
        [query = logic_.cardQuery(), summary](data::Database& db) {
            CardExport::CardGridRead read = CardExport::readCardGrid(db, query);
            *summary = read.summary;
            return std::optional<data::WageGrid>(std::move(read.grid));
        },
        [this, summary](windows::BuiltGrid& built) {
            runReported([&] {
                if (built.error) std::rethrow_exception(built.error);
                logic_.showCardGrid(std::move(*built.grid), *summary);
            });
            refresh();
            applyColumnWidths();
        },
        false);  // the card grid's columns keep their widths
}

void CardExportWindow::refresh() {
    for (int f = 0; f < CardExport::kFieldCount; ++f) {
        QLineEdit* edit = fields_[size_t(f)];
        if (edit->text() != logic_.field(f)) edit->setText(logic_.field(f));
    }
    unitCodeLabel_->setText(logic_.unitCodeLabel());
    const int inList = cardType_->findText(logic_.cardType(), Qt::MatchExactly);
    if (cardType_->currentIndex() != inList) cardType_->setCurrentIndex(inList);
    if (cardType_->currentText() != logic_.cardType()) cardType_->setEditText(logic_.cardType());
    status1_->setText(logic_.statusText(1));
    status2_->setText(logic_.statusText(2));
    QAction* save = fileAction(FileCommand::SaveCardFile);
    save->setText(menuText(logic_.fileMenuItem().caption));
    save->setEnabled(logic_.fileMenuItem().enabled);
    for (const SortChoice& s : sortChoices())
        sortAction(s.order)->setChecked(logic_.checkedSort() == s.order);
}

void CardExportWindow::runFileCommand(FileCommand command) {
    const bool close = logic_.run(command, prompts());
    refresh();
    if (close) this->close();
}

void CardExportWindow::closeEvent(QCloseEvent* event) {
    fill_->wait();
    if (!closed_) {
        closed_ = true;
        logic_.close(prompts());
        if (services().registry) services().registry->windowClosed(WindowId::CardExport);
    }
    event->accept();
}

}  // namespace slp::card
