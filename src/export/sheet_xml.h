#pragma once
// The XML of a worksheet's cells, made with plain appends into a byte buffer: a sheet of a hundred
// thousand rows holds millions of cells, so no formatted write per cell. Every cell is an inline text
// cell; texts are escaped as the spreadsheet library the workbook was written with before did it, so
// that the cells read back the same.
#include <QByteArray>
#include <QStringView>
#include <cstddef>
#include <cstring>
#include <memory>

namespace slp::sheet {

// The largest sheet and the longest text a cell holds (in characters, a pair of surrogates being one).
inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;
inline constexpr qsizetype kCellCharacters = 32767;

// A growing run of bytes written through a pointer: room() makes space, advance() keeps what was put.
class ByteBuffer {
  public:
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { size_ = 0; }

    // Space for `n` more bytes at end(); what is written there counts once advance()d.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return data_.get() + size_;
    }
    void advance(char* end) { size_ = std::size_t(end - data_.get()); }
    void append(const char* bytes, std::size_t n) {
        char* at = room(n);
        std::memcpy(at, bytes, n);
        size_ += n;
    }
    template <std::size_t N>
    void append(const char (&literal)[N]) {
        append(literal, N - 1);
    }

  private:
    void grow(std::size_t n);
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// A text as a cell keeps it: up to its first NUL (the library took C strings), and its length in
// characters checked against kCellCharacters by the caller.
QStringView cellText(QStringView text);
qsizetype characterCount(QStringView text);

// "A1", "AC32", "XFD1048576" for a 0-based row and column.
void appendCellReference(ByteBuffer& out, int row, int col);
QByteArray cellReference(int row, int col);

// The text of a cell in element content: & < > escaped, the control characters XML 1.0 forbids as
// Excel's _xHHHH_ (tab and line feed stay), UTF-8; a lone surrogate becomes "?".
void appendEscapedText(ByteBuffer& out, QStringView text);

// `<c r="B2" t="inlineStr"><is><t>…</t></is></c>`; xml:space="preserve" on the <t> when the text begins
// or ends with a space, tab or line feed. `text` is not empty.
void appendTextCell(ByteBuffer& out, int row, int col, QStringView text);

// The cell styles of the workbook's style sheet (cellXfs), by number format.
enum class NumberStyle : int { General = 0, Integer = 1, TwoDecimals = 2, OneDecimal = 3 };
// The style of an amount format: "0", "0.0", "0.00"; anything else shows the plain number (General).
NumberStyle numberStyleOf(QStringView format);

// Whether a cell text is a number a <v> element holds as it is: an optional minus, digits with at most
// one point, at least one digit ("1740.00", "-0.5", ".5"). Nothing else (no blanks, no exponent, no
// grouping) so that a text the clerk typed is never read as a number by accident.
bool isNumberCellText(QStringView text);

// `<c r="B2" s="2"><v>1740.00</v></c>` (no s for General); `number` as isNumberCellText takes it.
void appendNumberCell(ByteBuffer& out, int row, int col, QStringView number, NumberStyle style);

// `<row r="N">` for a 0-based row.
void appendRowStart(ByteBuffer& out, int row);

// The sheet's used range for the <dimension> element: "A1" for one cell (or none), "A2:C10" otherwise.
QByteArray dimensionReference(int firstRow, int firstCol, int lastRow, int lastCol);

// The sheet part before its <sheetData> (the dimension known), and after it.
QByteArray sheetHead(const QByteArray& dimension);
QByteArray sheetTail();

}  // namespace slp::sheet
