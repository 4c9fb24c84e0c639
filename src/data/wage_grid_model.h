#pragma once
// A WageGrid shown in a view: the model owns the grid, serves its texts, alignments and caption markers,
// and tells the views when the grid changes.
#include <QAbstractTableModel>
#include <utility>
#include <vector>

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
        changed();
        endResetModel();
        emit layoutPropertiesChanged();
    }
    // Shows a grid built elsewhere, with the widest cell of each column in the pixels of the grid's font
    // when they were measured already (widestCells() then answers them without measuring again).
    void replaceGrid(WageGrid&& grid, std::vector<int> widestCells = {});

    // The widest cells measured for the grid as it is now, or nullptr when the grid changed since
    // (texts, shape or font). The views keep what they measure here so that it is measured once.
    const std::vector<int>* widestCells() const;
    void keepWidestCells(std::vector<int> widest) const;
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
    void changed() { ++revision_; }

    WageGrid grid_;
    uint64_t revision_ = 0;  // counts the changes of texts, shape and font
    mutable std::vector<int> widest_;
    mutable uint64_t widestRevision_ = ~uint64_t(0);
};

}  // namespace slp::data
