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

#include "windows/card_export/card_types.h"

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

}  // namespace

CardExportWindow::CardExportWindow(CardExportForm& form, QWidget* parent) : QMainWindow(parent), form_(form) {
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
}

void CardExportWindow::buildMenus() {
    fileMenu_ = menuBar()->addMenu(u"文件"_s);
    fileMenu_->setObjectName(u"MnuFileS"_s);
    QAction* save = fileMenu_->addAction(QString());
    save->setObjectName(indexedName(u"MnuFile"_s, CardExportForm::kSaveFile));
    QAction* sheet = fileMenu_->addAction(u"转到Excel"_s);
    sheet->setObjectName(indexedName(u"MnuFile"_s, CardExportForm::kToSpreadsheet));
    fileMenu_->addSeparator()->setObjectName(indexedName(u"MnuFile"_s, 80));
    QAction* exit = fileMenu_->addAction(u"退出"_s);
    exit->setObjectName(indexedName(u"MnuFile"_s, CardExportForm::kExit));
    connect(fileMenu_, &QMenu::aboutToShow, this, [this] {
        form_.openFileMenu();
        refresh();
    });
    for (QAction* a : {save, sheet, exit}) {
        const int index = a->objectName().section(u'_', 1).toInt();
        connect(a, &QAction::triggered, this, [this, index] { fileCommand(index); });
    }

    // The wage tables are chosen by the host; this menu stays disabled.
    QMenu* tables = menuBar()->addMenu(u"选择数据表"_s);
    tables->setObjectName(u"MnuSJB"_s);
    tables->menuAction()->setEnabled(false);
    const QStringList tableNames{u"第一表"_s, u"第二表"_s, u"第三表"_s};
    for (int i = 0; i < tableNames.size(); ++i) {
        tables->addAction(tableNames[i])->setObjectName(indexedName(u"MnuSB"_s, (i + 1) * 10));
    }

    QMenu* sort = menuBar()->addMenu(u"排序规则"_s);
    sort->setObjectName(u"MnuPXS"_s);
    for (const SortChoice& s : sortChoices()) {
        QAction* a = sort->addAction(s.caption.toString());
        a->setObjectName(indexedName(u"MnuPx"_s, s.index));
        a->setCheckable(true);
        const int index = s.index;
        connect(a, &QAction::triggered, this, [this, index] {
            form_.sortCommand(index);
            refresh();
        });
    }
}

QWidget* CardExportWindow::buildFieldsPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    const QStringList labels{u"单位代码："_s, u"进卡日期："_s, u"工资卡名称："_s, u"入卡人数："_s,
                             u"入卡金额："_s};
    // Top to bottom: Text1(0), Text1(1), Combo1, Text1(2), Text1(3).
    const int fieldOfRow[] = {CardExportForm::UnitCode, CardExportForm::CreditDate, -1,
                              CardExportForm::HeadCount, CardExportForm::TotalAmount};
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
                form_.clickCardType(cardType_->itemText(i));
                refresh();
            });
            control = cardType_;
        } else {
            const int f = fieldOfRow[row];
            auto* edit = new QLineEdit(page);
            edit->setObjectName(indexedName(u"Text1"_s, f));
            connect(edit, &QLineEdit::textEdited, this,
                    [this, f](const QString& text) { form_.setField(f, text); });
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
    grid_->setModel(&form_.gridModel());
    grid_->setItemDelegate(new FixedCellDelegate(form_.gridModel(), grid_));
    grid_->horizontalHeader()->hide();  // the caption row is the grid's own row 0
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);
    connect(&form_.gridModel(), &data::WageGridModel::layoutPropertiesChanged, this,
            &CardExportWindow::applyColumnWidths);
    return grid_;
}

void CardExportWindow::applyColumnWidths() {
    const data::WageGrid& g = form_.gridModel().grid();
    const double pixelsPerTwip = grid_->logicalDpiX() / 1440.0;
    for (int c = 0; c < g.cols(); ++c) grid_->setColumnWidth(c, int(g.colWidth(c) * pixelsPerTwip + 0.5));
}

QAction* CardExportWindow::fileAction(int index) const {
    return findChild<QAction*>(indexedName(u"MnuFile"_s, index));
}

QAction* CardExportWindow::sortAction(int index) const {
    return findChild<QAction*>(indexedName(u"MnuPx"_s, index));
}

void CardExportWindow::load() {
    form_.load();
    cardType_->clear();
    cardType_->addItems(form_.cardTypeList());
    pages_->setCurrentIndex(1);  // the window opens on "详细资料"
    refresh();
    applyColumnWidths();
}

void CardExportWindow::refresh() {
    for (int f = 0; f < CardExportForm::kFieldCount; ++f) {
        QLineEdit* edit = fields_[size_t(f)];
        if (edit->text() != form_.field(f)) edit->setText(form_.field(f));
    }
    unitCodeLabel_->setText(form_.unitCodeLabel());
    const int inList = cardType_->findText(form_.cardType(), Qt::MatchExactly);
    if (cardType_->currentIndex() != inList) cardType_->setCurrentIndex(inList);
    if (cardType_->currentText() != form_.cardType()) cardType_->setEditText(form_.cardType());
    status1_->setText(form_.statusText(1));
    status2_->setText(form_.statusText(2));
    QAction* save = fileAction(CardExportForm::kSaveFile);
    save->setText(menuText(form_.fileMenuItem().caption));
    save->setEnabled(form_.fileMenuItem().enabled);
    for (const SortChoice& s : sortChoices()) sortAction(s.index)->setChecked(form_.checkedSort() == s.index);
}

void CardExportWindow::fileCommand(int index) {
    const bool close = form_.fileCommand(index);
    refresh();
    if (close) this->close();
}

void CardExportWindow::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        form_.unload();
    }
    event->accept();
    emit closed();
}

}  // namespace slp::card
