#pragma once
// The grid control of the wage windows: a QTableView over a WageGrid (never item widgets), with the
// caption row as a header that stays in place, the fixed columns frozen at the left while the others
// scroll, column widths and the caption row's height in twips converted to the screen's pixels, and the
// grid's font.
#include <QTableView>

#include "data/wage_grid_model.h"

namespace slp::windows {

class CaptionHeaderModel;

class WageGridView : public QTableView {
    Q_OBJECT
  public:
    // Height of the caption row in twips.
    static constexpr int kCaptionHeight = 500;
    // Pixels beside a cell's text when a column is widened to its widest cell.
    static constexpr int kCellPadding = 8;

    explicit WageGridView(data::WageGridModel& model, QWidget* parent = nullptr);

    data::WageGridModel& gridModel() const { return model_; }
    // The view's model index of a grid cell (rows from 1), invalid for the caption row.
    QModelIndex indexOfCell(int gridRow, int col) const;
    // The text a clerk sees in a grid cell, caption row included (as drawn, from the view's models).
    QString shownText(int gridRow, int col) const;
    // Width in pixels of a column as shown: the rule's width, or its widest cell's where that is more.
    int shownColumnWidth(int col) const { return columnWidth(col); }
    // Height in pixels of a row (from 1) in the scrolling and in the frozen columns.
    int shownRowHeight(int gridRow) const { return rowHeight(gridRow - 1); }
    int frozenRowHeight(int gridRow) const;

    // What a click in a cell or a caption does, for the window and for tests: the column's caption marker
    // is the window's business, so the view only reports it.
    void clickColumn(int col) { emit columnClicked(col); }

  signals:
    // A left click in a cell or a caption of column `col`.
    void columnClicked(int col);
    // A right click over the grid, at a position on the screen.
    void popupRequested(const QPoint& globalPos);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  private:
    void applyLayout();
    void placeFrozen();
    int frozenWidth() const;
    double dpi() const;

    data::WageGridModel& model_;
    CaptionHeaderModel* shown_;
    QTableView* frozen_;
};

}  // namespace slp::windows
