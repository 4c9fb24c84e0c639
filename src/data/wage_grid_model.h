#pragma once
// A WageGrid shown in a view: the model owns the grid, serves its texts, alignments and caption markers,
// and tells the views when the grid changes.
#include <QAbstractTableModel>
#include <utility>

#include "data/wage_grid.h"

namespace slp::data {

// The Qt alignment for a grid alignment code; General puts a text that reads as a number at the right.
Qt::Alignment qtAlignment(int16_t code, QStringView text);

class WageGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int CaptionMarkerRole = Qt::UserRole + 1;  // bool, caption row only
    static constexpr int AlignmentCodeRole = Qt::UserRole + 2;  // the cell's grid alignment code
    static constexpr int ColumnWidthRole = Qt::UserRole + 3;    // headerData, horizontal: width in twips

    explicit WageGridModel(QObject* parent = nullptr);

    const WageGrid& grid() const { return grid_; }

    // Changes the grid in one go (filling, resizing, widths): views reset afterwards.
    template <class Change>
    void update(Change&& change) {
        beginResetModel();
        std::forward<Change>(change)(grid_);
        endResetModel();
        emit layoutPropertiesChanged();
    }
    void setText(int row, int col, QStringView text);
    void setCaptionMarker(int col, bool on);
    void setColWidth(int col, int twips);
    void setFontSize(float points);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // Column widths, fixed rows or columns, row heights or the font changed.
    void layoutPropertiesChanged();

  private:
    WageGrid grid_;
};

}  // namespace slp::data
