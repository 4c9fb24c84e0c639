#pragma once
// The grid a wage window fills and hands to the print engine and the spreadsheet export: text cells
// with row 0 the caption row, data rows, the totals row last; fixed rows and columns, column widths in
// twips, alignment codes per column, a marker per caption cell and the grid's font.
//
// Cell texts live in one UTF-16 buffer; a cell is an offset and a length into it (8 bytes), so a cell
// of eight Chinese characters costs 24 bytes plus the buffer's growth reserve, not a QString a cell.
// A text that fits its cell's old place is written there; a longer one is appended and the old place
// counted as garbage, which is squeezed out once it is half of the buffer.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/pod_buffer.h"

namespace slp::data {

// Alignment codes of a grid column, in the host grid's numbering. The print engine puts codes 0 to 3 at
// the left, 4 in the middle and codes above 4 at the right.
namespace align {
inline constexpr int16_t LeftTop = 0;
inline constexpr int16_t LeftCenter = 1;
inline constexpr int16_t LeftBottom = 2;
inline constexpr int16_t CenterTop = 3;
inline constexpr int16_t CenterCenter = 4;
inline constexpr int16_t CenterBottom = 5;
inline constexpr int16_t RightTop = 6;
inline constexpr int16_t RightCenter = 7;
inline constexpr int16_t RightBottom = 8;
inline constexpr int16_t General = 9;  // texts at the left, numbers at the right (on screen)
}  // namespace align

class WageGrid {
  public:
    static constexpr int kDefaultColWidth = 960;  // twips, a new column's width
    static constexpr int kAutoRowHeight = -1;     // a row whose height follows the font

    WageGrid() = default;
    WageGrid(int rows, int cols);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // New shape; cells inside both shapes keep their texts, new cells are empty, new columns get the
    // default width and the General alignment. Negative counts raise slp::Error (subscript out of range).
    void resize(int rows, int cols);
    void setRows(int rows) { resize(rows, cols_); }
    void setCols(int cols) { resize(rows_, cols); }
    // Empties every cell and removes every caption marker; shape, widths, alignments and font stay.
    void clear();

    // Cell texts. A cell outside the grid raises slp::Error (subscript out of range).
    QString text(int row, int col) const;
    // The text in place, valid until the grid next changes. A plain decimal number (amounts, counts) is
    // kept as a number and its text is written out for the view into one of eight buffers of the calling
    // thread: such a view is valid until eight more numbers' views are taken on that thread.
    QStringView textView(int row, int col) const;
    void setText(int row, int col, QStringView text);

    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int n) { fixedRows_ = n; }
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int n) { fixedCols_ = n; }

    // Column width in twips; the print engine leaves out columns of 199 twips or less.
    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    // Alignment code of the column's data cells and of its caption cells (fixed rows).
    int16_t colAlignment(int col) const;
    void setColAlignment(int col, int16_t code);
    int16_t captionAlignment(int col) const;
    void setCaptionAlignment(int col, int16_t code);
    // The small marker picture the user toggles in a caption cell; nothing in printing reads it.
    bool captionMarker(int col) const;
    void setCaptionMarker(int col, bool on);
    void toggleCaptionMarker(int col) { setCaptionMarker(col, !captionMarker(col)); }

    // The number format of a column of amounts ("0", "0.0", "0.00", or empty for the value's plain text):
    // its data cells that hold a number go to a spreadsheet as numbers in that format, so they add up.
    // nullopt, the default, for a column of texts (工号, names, departments), which stay texts as shown.
    const std::optional<QString>& amountFormat(int col) const;
    void setAmountFormat(int col, std::optional<QString> format);

    // Row height in twips, or kAutoRowHeight.
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);

    float fontSize() const { return fontSize_; }
    void setFontSize(float points) { fontSize_ = points; }
    const QString& fontName() const { return fontName_; }
    void setFontName(const QString& name) { fontName_ = name; }

    // Bytes the grid holds for its cells and columns (capacities, not lengths).
    size_t storageBytes() const;
    // storageBytes() over the number of cells (0 for an empty grid).
    double bytesPerCell() const;
    // Drops the garbage and the growth reserve of the text buffer.
    void squeeze();

  private:
    // A text cell holds its place in the character pool. A number cell (kNumber set in `length`) holds
    // its value instead, so amounts take no pool at all: the low 32 bits of its digits in `offset`, and in
    // `length` the sign, the count of decimals and the digits' high bits (see wage_grid.cpp).
    struct Cell {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    static constexpr uint32_t kNumber = 0x8000'0000u;
    static size_t pooled(const Cell& cell) { return cell.length & kNumber ? 0 : cell.length; }
    size_t cellIndex(int row, int col) const;
    void checkCol(int col) const;
    void compact(size_t reserve);

    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    std::vector<Cell> cells_;
    PodBuffer<char16_t> chars_;
    size_t garbage_ = 0;  // characters of the buffer no cell points to
    std::vector<int32_t> colWidths_;
    std::vector<int16_t> colAlignments_;
    std::vector<int16_t> captionAlignments_;
    std::vector<bool> captionMarkers_;
    std::vector<std::optional<QString>> amountFormats_;
    QHash<int, int> rowHeights_;  // only the rows given a height
    float fontSize_ = 9;
    QString fontName_ = QStringLiteral("宋体");
};

// Whether the grid has item columns (those after the sequence number, column 0) and every one of them is
// `hiddenWidth` twips or narrower, the widest a report leaves out: a print would show no wage item.
bool hidesEveryItemColumn(const WageGrid& grid, int hiddenWidth);

}  // namespace slp::data
