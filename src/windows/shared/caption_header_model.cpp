#include "windows/shared/caption_header_model.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

#include "windows/shared/caption_markers.h"

namespace slp::windows {

CaptionHeaderModel::CaptionHeaderModel(data::WageGridModel& source, QObject* parent)
    : QAbstractTableModel(parent), source_(&source), marker_(captionMarkerPicture()) {
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&source, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
    connect(&source, &QAbstractItemModel::dataChanged, this, &CaptionHeaderModel::sourceDataChanged);
    connect(&source, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation o, int first, int last) { emit headerDataChanged(o, first, last); });
    connect(&source, &data::WageGridModel::layoutPropertiesChanged, this, [this] {
        if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (rowCount() > 0 && columnCount() > 0) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
    });
}

void CaptionHeaderModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                           const QList<int>& roles) {
    if (topLeft.row() == 0) emit headerDataChanged(Qt::Horizontal, topLeft.column(), bottomRight.column());
    const int first = std::max(topLeft.row(), 1) - 1;
    const int last = bottomRight.row() - 1;
    if (last >= first)
        emit dataChanged(index(first, topLeft.column()), index(last, bottomRight.column()), roles);
}

int CaptionHeaderModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !source_) return 0;
    return std::max(0, source_->grid().rows() - 1);
}

int CaptionHeaderModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !source_) return 0;
    return source_->grid().cols();
}

QVariant CaptionHeaderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !source_) return QVariant();
    if (role == Qt::BackgroundRole && index.column() < source_->grid().fixedCols()) {
        return QGuiApplication::palette().brush(QPalette::Button);
    }
    return source_->data(source_->index(gridRow(index.row()), index.column()), role);
}

QVariant CaptionHeaderModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!source_ || orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const data::WageGrid& grid = source_->grid();
    if (grid.rows() == 0) return QVariant();
    switch (role) {
        case Qt::DisplayRole:
            return grid.text(0, section);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                int(data::qtAlignment(grid.captionAlignment(section), grid.textView(0, section)) |
                    Qt::TextWordWrap));
        case Qt::DecorationRole:
            return grid.captionMarker(section) ? QVariant(marker_) : QVariant();
        case Qt::FontRole: {
            QFont font(grid.fontName());
            font.setPointSizeF(grid.fontSize());
            return font;
        }
        case data::WageGridModel::CaptionMarkerRole:
            return grid.captionMarker(section);
        default:
            return source_->headerData(section, orientation, role);
    }
}

Qt::ItemFlags CaptionHeaderModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace slp::windows
