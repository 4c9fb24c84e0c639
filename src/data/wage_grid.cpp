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

// A number cell's `length`: the number flag, the sign, three bits of decimals and the top 27 of the 59
// bits of its digits; `offset` holds the lower 32.
constexpr uint32_t kNegative = 0x4000'0000u;
constexpr int kDecimalsShift = 27;
constexpr uint32_t kHighDigitsMask = (1u << kDecimalsShift) - 1;
constexpr int kMostDigits = 17;  // 10^17 < 2^59
constexpr int kMostDecimals = 7;

// Reads a plain decimal text that writes back exactly as it is ("-12.50", "0", "0.05"): an optional minus,
// then 0 or digits without a leading zero, then optionally a point and one to seven decimals, at most
// seventeen digits in all. Anything else (leading zeros of 工号, blanks, "1.", "+1", exponents) stays text.
bool readPlainDecimal(QStringView text, bool& negative, int& decimals, uint64_t& digits) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    negative = n > 0 && text[0] == u'-';
    if (negative) ++i;
    const qsizetype intStart = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == u'0')) return false;
    decimals = 0;
    if (i < n) {
        if (text[i] != u'.') return false;
        const qsizetype fracStart = ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i;
        decimals = int(i - fracStart);
        if (i != n || decimals == 0 || decimals > kMostDecimals) return false;
    }
    if (intDigits + decimals > kMostDigits) return false;
    digits = 0;
    for (qsizetype k = intStart; k < n; ++k) {
        if (text[k] != u'.') digits = digits * 10 + uint64_t(text[k].unicode() - u'0');
    }
    return true;
}

// Writes a number cell's text into `out` (room for 24 characters) and returns its length.
qsizetype writePlainDecimal(uint32_t offset, uint32_t length, char16_t* out) {
    uint64_t digits = (uint64_t(length & kHighDigitsMask) << 32) | offset;
    const int decimals = int((length >> kDecimalsShift) & 7u);
    char16_t reversed[24];
    int count = 0;
    do {
        reversed[count++] = char16_t(u'0' + digits % 10);
        digits /= 10;
    } while (digits > 0);
    while (count <= decimals) reversed[count++] = u'0';  // "0.05": a zero before the point
    qsizetype at = 0;
    if (length & kNegative) out[at++] = u'-';
    for (int k = count - 1; k >= 0; --k) {
        out[at++] = reversed[k];
        if (k == decimals && decimals > 0) out[at++] = u'.';
    }
    return at;
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
            kept += pooled(old);
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
    amountFormats_.resize(size_t(cols));
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
    const Cell& cell = cells_[cellIndex(row, col)];
    if (cell.length & kNumber) {
        char16_t buffer[24];
        return QString(reinterpret_cast<const QChar*>(buffer),
                       writePlainDecimal(cell.offset, cell.length, buffer));
    }
    return textView(row, col).toString();
}

QStringView WageGrid::textView(int row, int col) const {
    const Cell& cell = cells_[cellIndex(row, col)];
    if (cell.length == 0) return QStringView();
    if (cell.length & kNumber) {
        thread_local char16_t buffers[8][24];
        thread_local unsigned next = 0;
        char16_t* out = buffers[next++ % 8];
        return QStringView(out, writePlainDecimal(cell.offset, cell.length, out));
    }
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
    bool negative = false;
    int decimals = 0;
    uint64_t digits = 0;
    if (readPlainDecimal(text, negative, decimals, digits)) {
        garbage_ += pooled(cell);
        cell.offset = uint32_t(digits);
        cell.length = kNumber | (negative ? kNegative : 0u) | (uint32_t(decimals) << kDecimalsShift) |
                      uint32_t(digits >> 32);
        return;
    }
    if (cell.length & kNumber) cell = Cell{};
    if (n <= cell.length) {
        if (n > 0) std::memcpy(chars_.data() + cell.offset, text.utf16(), n * sizeof(char16_t));
        garbage_ += cell.length - n;
        cell.length = uint32_t(n);
        return;
    }
    if (n >= kNumber) throw slp::Error(errnum::Overflow, u"单元格文字太长"_s);
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
        if (cell.length & kNumber) continue;
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

const std::optional<QString>& WageGrid::amountFormat(int col) const {
    checkCol(col);
    return amountFormats_[size_t(col)];
}

void WageGrid::setAmountFormat(int col, std::optional<QString> format) {
    checkCol(col);
    amountFormats_[size_t(col)] = std::move(format);
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
           amountFormats_.capacity() * sizeof(std::optional<QString>) +
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
