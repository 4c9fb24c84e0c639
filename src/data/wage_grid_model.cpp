#include "data/wage_grid_model.h"

#include <QFont>

#include "basic/conversions.h"

namespace slp::data {

Qt::Alignment qtAlignment(int16_t code, QStringView text) {
    switch (code) {
        case align::LeftTop:
            return Qt::AlignLeft | Qt::AlignTop;
        case align::LeftCenter:
            return Qt::AlignLeft | Qt::AlignVCenter;
        case align::LeftBottom:
            return Qt::AlignLeft | Qt::AlignBottom;
        case align::CenterTop:
            return Qt::AlignHCenter | Qt::AlignTop;
        case align::CenterCenter:
            return Qt::AlignCenter;
        case align::CenterBottom:
            return Qt::AlignHCenter | Qt::AlignBottom;
        case align::RightTop:
            return Qt::AlignRight | Qt::AlignTop;
        case align::RightCenter:
            return Qt::AlignRight | Qt::AlignVCenter;
        case align::RightBottom:
            return Qt::AlignRight | Qt::AlignBottom;
        default:
            return (isNumericText(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

WageGridModel::WageGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void WageGridModel::replaceGrid(WageGrid&& grid, std::vector<int> widestCells) {
    const bool measured = int(widestCells.size()) == grid.cols();
    beginResetModel();
    grid_ = std::move(grid);
    changed();
    if (measured) keepWidestCells(std::move(widestCells));
    endResetModel();
    emit layoutPropertiesChanged();
}

const std::vector<int>* WageGridModel::widestCells() const {
    return widestRevision_ == revision_ ? &widest_ : nullptr;
}

void WageGridModel::keepWidestCells(std::vector<int> widest) const {
    widest_ = std::move(widest);
    widestRevision_ = revision_;
}

void WageGridModel::setText(int row, int col, QStringView text) {
    grid_.setText(row, col, text);
    changed();
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::TextAlignmentRole});
}

void WageGridModel::setCaptionMarker(int col, bool on) {
    grid_.setCaptionMarker(col, on);
    if (grid_.rows() > 0) {
        const QModelIndex i = index(0, col);
        emit dataChanged(i, i, {CaptionMarkerRole, Qt::DecorationRole});
    }
}

void WageGridModel::setColWidth(int col, int twips) {
    grid_.setColWidth(col, twips);
    emit headerDataChanged(Qt::Horizontal, col, col);
    emit layoutPropertiesChanged();
}

void WageGridModel::setFontSize(float points) {
    grid_.setFontSize(points);
    changed();
    emit layoutPropertiesChanged();
}

int WageGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.rows();
}

int WageGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.cols();
}

QVariant WageGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= grid_.rows() || index.column() >= grid_.cols()) return QVariant();
    const int r = index.row();
    const int c = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return grid_.text(r, c);
        case Qt::TextAlignmentRole: {
            const int16_t code = r < grid_.fixedRows() ? grid_.captionAlignment(c) : grid_.colAlignment(c);
            return QVariant::fromValue(int(qtAlignment(code, grid_.textView(r, c))));
        }
        case AlignmentCodeRole:
            return int(r < grid_.fixedRows() ? grid_.captionAlignment(c) : grid_.colAlignment(c));
        case CaptionMarkerRole:
            return r == 0 ? QVariant(grid_.captionMarker(c)) : QVariant();
        case Qt::FontRole: {
            QFont font(grid_.fontName());
            font.setPointSizeF(grid_.fontSize());
            return font;
        }
        default:
            return QVariant();
    }
}

QVariant WageGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == ColumnWidthRole && section >= 0 && section < grid_.cols()) {
        return grid_.colWidth(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags WageGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace slp::data
