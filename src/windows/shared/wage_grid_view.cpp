#include "windows/shared/wage_grid_view.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>

#include "app/shared/shown_widths.h"
#include "app/shared/window_geometry.h"
#include "windows/shared/caption_header_model.h"

namespace slp::windows {

namespace {

void setUpHeaders(QTableView& view) {
    view.verticalHeader()->hide();
    view.horizontalHeader()->setMinimumSectionSize(0);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view.horizontalHeader()->setTextElideMode(Qt::ElideNone);
    view.horizontalHeader()->setHighlightSections(false);
    // A narrow column clips its text, as the grid control does, rather than eliding digits.
    view.setTextElideMode(Qt::ElideNone);
    view.horizontalHeader()->setSectionsClickable(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

}  // namespace

WageGridView::WageGridView(data::WageGridModel& model, QWidget* parent)
    : QTableView(parent),
      model_(model),
      shown_(new CaptionHeaderModel(model, this)),
      frozen_(new QTableView(this)) {
    setModel(shown_);
    setUpHeaders(*this);
    frozen_->setModel(shown_);
    frozen_->setSelectionModel(selectionModel());
    setUpHeaders(*frozen_);
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));
    viewport()->stackUnder(frozen_);

    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col < model_.grid().fixedCols()) {
            frozen_->setColumnWidth(col, size);
            placeFrozen();
        }
    });
    const auto clicked = [this](const QModelIndex& index) {
        if (index.isValid()) emit columnClicked(index.column());
    };
    connect(this, &QAbstractItemView::clicked, this, clicked);
    connect(frozen_, &QAbstractItemView::clicked, this, clicked);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int col) { emit columnClicked(col); });
    connect(frozen_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int col) { emit columnClicked(col); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    frozen_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { emit popupRequested(viewport()->mapToGlobal(p)); });
    connect(frozen_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { emit popupRequested(frozen_->viewport()->mapToGlobal(p)); });

    connect(&model_, &data::WageGridModel::layoutPropertiesChanged, this, &WageGridView::applyLayout);
    connect(&model_, &QAbstractItemModel::modelReset, this, &WageGridView::applyLayout);
    applyLayout();
}

double WageGridView::dpi() const {
    return logicalDpiX();
}

QModelIndex WageGridView::indexOfCell(int gridRow, int col) const {
    return gridRow < 1 ? QModelIndex() : shown_->index(gridRow - 1, col);
}

QString WageGridView::shownText(int gridRow, int col) const {
    if (gridRow == 0) return shown_->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
    return shown_->data(indexOfCell(gridRow, col), Qt::DisplayRole).toString();
}

int WageGridView::frozenRowHeight(int gridRow) const {
    return frozen_->rowHeight(gridRow - 1);
}

int WageGridView::frozenWidth() const {
    int width = 0;
    for (int c = 0; c < model_.grid().fixedCols() && c < model_.grid().cols(); ++c) width += columnWidth(c);
    return width;
}

void WageGridView::applyLayout() {
    const data::WageGrid& grid = model_.grid();
    QFont font(grid.fontName());
    font.setPointSizeF(grid.fontSize());
    setFont(font);
    frozen_->setFont(font);
    const QFontMetrics metrics(font);
    const int rowHeight = metrics.height() + 6;
    const int captionHeight = grid.rows() > 0 && grid.rowHeight(0) != data::WageGrid::kAutoRowHeight
                                  ? pixelsFromTwips(grid.rowHeight(0), logicalDpiY())
                                  : pixelsFromTwips(kCaptionHeight, logicalDpiY());
    // On screen a column is at least as wide as its widest cell; the grid keeps the rule's widths.
    // The widest cells are measured once for each change of the texts or the font, not at every layout.
    if (!model_.widestCells()) model_.keepWidestCells(widestCells(grid));
    const std::vector<int>& widest = *model_.widestCells();
    QList<int> widths;
    const int hidden = pixelsFromTwips(199, dpi());
    for (int c = 0; c < grid.cols(); ++c) {
        widths << shownWidth(pixelsFromTwips(grid.colWidth(c), dpi()), widest[size_t(c)], kCellPadding,
                             hidden);
    }
    for (QTableView* view : {static_cast<QTableView*>(this), frozen_}) {
        // The smallest row height follows the font as well, or a view keeps the rows of a larger font.
        view->verticalHeader()->setMinimumSectionSize(std::min(rowHeight, 8));
        view->verticalHeader()->setDefaultSectionSize(rowHeight);
        view->horizontalHeader()->setFixedHeight(std::max(captionHeight, rowHeight));
        for (int c = 0; c < grid.cols(); ++c) view->setColumnWidth(c, widths[c]);
    }
    for (int c = 0; c < grid.cols(); ++c) frozen_->setColumnHidden(c, c >= grid.fixedCols());
    frozen_->setVisible(grid.fixedCols() > 0 && grid.cols() > 0);
    placeFrozen();
}

void WageGridView::placeFrozen() {
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), frozenWidth(),
                         viewport()->height() + horizontalHeader()->height());
}

void WageGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeFrozen();
}

QModelIndex WageGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the cell the cursor moved to out from under the frozen columns.
    if (cursorAction == MoveLeft && current.column() >= model_.grid().fixedCols() &&
        visualRect(current).topLeft().x() < frozenWidth()) {
        const int newValue =
            horizontalScrollBar()->value() + visualRect(current).topLeft().x() - frozenWidth();
        horizontalScrollBar()->setValue(newValue);
    }
    return current;
}

void WageGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() >= model_.grid().fixedCols()) QTableView::scrollTo(index, hint);
}

}  // namespace slp::windows
