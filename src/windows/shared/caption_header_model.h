#pragma once
// The wage grid as a view shows it: the caption row (row 0) becomes the column header, which stays in
// place while the rows scroll, and the data rows follow from row 0 of this model. Texts, alignments and
// the grid's font come from the grid; caption markers show as the header's picture; cells of the fixed
// columns get the shade of fixed cells.
#include <QAbstractTableModel>
#include <QPixmap>
#include <QPointer>

#include "data/wage_grid_model.h"

namespace slp::windows {

class CaptionHeaderModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    CaptionHeaderModel(data::WageGridModel& source, QObject* parent = nullptr);

    data::WageGridModel& source() const { return *source_; }
    // The grid row a row of this model shows.
    static int gridRow(int row) { return row + 1; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles);

    QPointer<data::WageGridModel> source_;
    QPixmap marker_;
};

}  // namespace slp::windows
