#include "data/wage_grid.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::data {

namespace {

constexpr size_t kMaxChars = std::numeric_limits<uint32_t>::max();
// Garbage below this many characters is never worth a compaction.
constexpr size_t kGarbageFloor = 64 * 1024;

[[noreturn]] void outOfRange() {
    throw slp::SubscriptError();
}

}  // namespace

WageGrid::WageGrid(int rows, int cols) {
    resize(rows, cols);
}

void WageGrid::resize(int rows, int cols) {
    if (rows < 0 || cols < 0) outOfRange();
    if (rows == rows_ && cols == cols_) return;
    std::vector<Cell> cells(size_t(rows) * size_t(cols));
    const int keepRows = std::min(rows, rows_);
    const int keepCols = std::min(cols, cols_);
    size_t kept = 0;
    for (int r = 0; r < keepRows; ++r) {
        for (int c = 0; c < keepCols; ++c) {
            const Cell& old = cells_[size_t(r) * size_t(cols_) + size_t(c)];
            cells[size_t(r) * size_t(cols) + size_t(c)] = old;
            kept += old.length;
        }
    }
    cells_ = std::move(cells);
    garbage_ = chars_.size() - kept;
    rows_ = rows;
    cols_ = cols;
    colWidths_.resize(size_t(cols), kDefaultColWidth);
    colAlignments_.resize(size_t(cols), align::General);
    captionAlignments_.resize(size_t(cols), align::General);
    captionMarkers_.resize(size_t(cols), false);
    for (auto it = rowHeights_.begin(); it != rowHeights_.end();) {
        it = it.key() >= rows ? rowHeights_.erase(it) : std::next(it);
    }
    if (garbage_ > kGarbageFloor && garbage_ > chars_.size() / 2) compact(0);
}

void WageGrid::clear() {
    std::fill(cells_.begin(), cells_.end(), Cell{});
    chars_.clear();
    garbage_ = 0;
    std::fill(captionMarkers_.begin(), captionMarkers_.end(), false);
}

size_t WageGrid::cellIndex(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) outOfRange();
    return size_t(row) * size_t(cols_) + size_t(col);
}

void WageGrid::checkCol(int col) const {
    if (col < 0 || col >= cols_) outOfRange();
}

QString WageGrid::text(int row, int col) const {
    return textView(row, col).toString();
}

QStringView WageGrid::textView(int row, int col) const {
    const Cell& cell = cells_[cellIndex(row, col)];
    if (cell.length == 0) return QStringView();
    return QStringView(chars_.data() + cell.offset, qsizetype(cell.length));
}

void WageGrid::setText(int row, int col, QStringView text) {
    const size_t index = cellIndex(row, col);
    // A text taken from this very grid would move when the buffer grows: copy it first.
    const char16_t* begin = chars_.data();
    if (!text.isEmpty() && text.utf16() >= begin && text.utf16() < begin + chars_.size()) {
        const QString copy = text.toString();
        setText(row, col, copy);
        return;
    }
    const size_t n = size_t(text.size());
    Cell& cell = cells_[index];
    if (n <= cell.length) {
        if (n > 0) std::memcpy(chars_.data() + cell.offset, text.utf16(), n * sizeof(char16_t));
        garbage_ += cell.length - n;
        cell.length = uint32_t(n);
        return;
    }
    if (n > kMaxChars) throw slp::Error(errnum::Overflow, u"单元格文字太长"_s);
    if (chars_.size() + n > kMaxChars) {
        compact(n);
        if (chars_.size() + n > kMaxChars) throw slp::Error(errnum::Overflow, u"表格文字太多"_s);
    }
    garbage_ += cells_[index].length;
    const size_t offset = chars_.size();
    chars_.append(text.utf16(), n);
    cells_[index] = Cell{uint32_t(offset), uint32_t(n)};
    if (garbage_ > kGarbageFloor && garbage_ > chars_.size() / 2) compact(0);
}

void WageGrid::compact(size_t reserve) {
    PodBuffer<char16_t> chars;
    chars.reserve(chars_.size() - garbage_ + reserve);
    for (Cell& cell : cells_) {
        const size_t offset = chars.size();
        chars.append(chars_.data() + cell.offset, cell.length);
        cell.offset = cell.length ? uint32_t(offset) : 0;
    }
    chars_ = std::move(chars);
    garbage_ = 0;
}

void WageGrid::squeeze() {
    compact(0);
    chars_.shrink_to_fit();
    cells_.shrink_to_fit();
}

int WageGrid::colWidth(int col) const {
    checkCol(col);
    return colWidths_[size_t(col)];
}

void WageGrid::setColWidth(int col, int twips) {
    checkCol(col);
    colWidths_[size_t(col)] = twips;
}

int16_t WageGrid::colAlignment(int col) const {
    checkCol(col);
    return colAlignments_[size_t(col)];
}

void WageGrid::setColAlignment(int col, int16_t code) {
    checkCol(col);
    colAlignments_[size_t(col)] = code;
}

int16_t WageGrid::captionAlignment(int col) const {
    checkCol(col);
    return captionAlignments_[size_t(col)];
}

void WageGrid::setCaptionAlignment(int col, int16_t code) {
    checkCol(col);
    captionAlignments_[size_t(col)] = code;
}

bool WageGrid::captionMarker(int col) const {
    checkCol(col);
    return captionMarkers_[size_t(col)];
}

void WageGrid::setCaptionMarker(int col, bool on) {
    checkCol(col);
    captionMarkers_[size_t(col)] = on;
}

int WageGrid::rowHeight(int row) const {
    if (row < 0 || row >= rows_) outOfRange();
    return rowHeights_.value(row, kAutoRowHeight);
}

void WageGrid::setRowHeight(int row, int twips) {
    if (row < 0 || row >= rows_) outOfRange();
    if (twips == kAutoRowHeight) {
        rowHeights_.remove(row);
    } else {
        rowHeights_.insert(row, twips);
    }
}

size_t WageGrid::storageBytes() const {
    return sizeof(*this) + cells_.capacity() * sizeof(Cell) + chars_.capacity() * sizeof(char16_t) +
           colWidths_.capacity() * sizeof(int32_t) + colAlignments_.capacity() * sizeof(int16_t) +
           captionAlignments_.capacity() * sizeof(int16_t) + captionMarkers_.capacity() / 8 +
           size_t(rowHeights_.capacity()) * (2 * sizeof(int) + sizeof(void*));
}

double WageGrid::bytesPerCell() const {
    const size_t n = size_t(rows_) * size_t(cols_);
    return n == 0 ? 0.0 : double(storageBytes()) / double(n);
}

bool hidesEveryItemColumn(const WageGrid& grid, int hiddenWidth) {
    for (int c = 1; c < grid.cols(); ++c) {
        if (grid.colWidth(c) > hiddenWidth) return false;
    }
    return grid.cols() > 1;
}

}  // namespace slp::data
