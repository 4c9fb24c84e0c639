#include "export/sheet_xml.h"

#include <algorithm>
#include <cstring>

namespace slp::sheet {

namespace {

// Decimal digits of a non-negative number, written at `at`; returns the end.
char* putNumber(char* at, unsigned value) {
    char digits[10];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0) *at++ = digits[--n];
    return at;
}

char* putReference(char* at, int row, int col) {
    char letters[4];
    int n = 0;
    for (unsigned c = unsigned(col) + 1; c > 0; c = (c - 1) / 26) letters[n++] = char('A' + (c - 1) % 26);
    while (n > 0) *at++ = letters[--n];
    return putNumber(at, unsigned(row) + 1);
}

template <std::size_t N>
char* put(char* at, const char (&literal)[N]) {
    std::memcpy(at, literal, N - 1);
    return at + N - 1;
}

// What a character below 0x80 becomes: 0 itself, 1 an entity, 2 a _xHHHH_ escape.
constexpr unsigned char kAsIs = 0, kEntity = 1, kControl = 2;
struct AsciiKinds {
    unsigned char kind[128] = {};
    constexpr AsciiKinds() {
        for (int c = 0; c < 0x20; ++c) kind[c] = kControl;
        kind[int('\t')] = kAsIs;
        kind[int('\n')] = kAsIs;
        kind[int('&')] = kEntity;
        kind[int('<')] = kEntity;
        kind[int('>')] = kEntity;
    }
};
constexpr AsciiKinds kAscii;

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The most bytes one UTF-16 unit becomes ("_x001F_").
constexpr std::size_t kMostBytesPerUnit = 7;
constexpr char kHex[] = "0123456789ABCDEF";

}  // namespace

void ByteBuffer::grow(std::size_t n) {
    const std::size_t capacity = std::max({std::size_t(4096), size_ + n, capacity_ * 2});
    std::unique_ptr<char[]> data(new char[capacity]);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

QStringView cellText(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.first(nul);
}

qsizetype characterCount(QStringView text) {
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (QChar::isHighSurrogate(text[i].unicode()) && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++pairs;
            ++i;
        }
    }
    return text.size() - pairs;
}

void appendCellReference(ByteBuffer& out, int row, int col) {
    out.advance(putReference(out.room(16), row, col));
}

QByteArray cellReference(int row, int col) {
    ByteBuffer b;
    appendCellReference(b, row, col);
    return QByteArray(b.data(), qsizetype(b.size()));
}

void appendEscapedText(ByteBuffer& out, QStringView text) {
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    char* p = out.room(std::size_t(n) * kMostBytesPerUnit);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = s[i];
        if (u < 0x80) {
            switch (kAscii.kind[u]) {
                case kAsIs:
                    *p++ = char(u);
                    break;
                case kEntity:
                    p = u == u'&' ? put(p, "&amp;") : u == u'<' ? put(p, "&lt;") : put(p, "&gt;");
                    break;
                default:
                    p = put(p, "_x00");
                    *p++ = kHex[u >> 4];
                    *p++ = kHex[u & 0xF];
                    *p++ = '_';
                    break;
            }
        } else if (u < 0x800) {
            *p++ = char(0xC0 | (u >> 6));
            *p++ = char(0x80 | (u & 0x3F));
        } else if (!QChar::isSurrogate(u)) {
            *p++ = char(0xE0 | (u >> 12));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            const char32_t c = QChar::surrogateToUcs4(u, s[++i]);
            *p++ = char(0xF0 | (c >> 18));
            *p++ = char(0x80 | ((c >> 12) & 0x3F));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
        } else {
            *p++ = '?';  // as QString::toUtf8 gives a lone surrogate
        }
    }
    out.advance(p);
}

void appendTextCell(ByteBuffer& out, int row, int col, QStringView text) {
    char* p = out.room(80);
    p = putReference(put(p, "<c r=\""), row, col);
    const bool preserve = isBlank(text.front().unicode()) || isBlank(text.back().unicode());
    p = preserve ? put(p, "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">")
                 : put(p, "\" t=\"inlineStr\"><is><t>");
    out.advance(p);
    appendEscapedText(out, text);
    out.append("</t></is></c>");
}

NumberStyle numberStyleOf(QStringView format) {
    if (format == u"0") return NumberStyle::Integer;
    if (format == u"0.0") return NumberStyle::OneDecimal;
    if (format == u"0.00") return NumberStyle::TwoDecimals;
    return NumberStyle::General;
}

bool isNumberCellText(QStringView text) {
    if (text.startsWith(u'-')) text = text.sliced(1);
    bool digit = false;
    bool point = false;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

void appendNumberCell(ByteBuffer& out, int row, int col, QStringView number, NumberStyle style) {
    char* p = out.room(64 + std::size_t(number.size()));
    p = putReference(put(p, "<c r=\""), row, col);
    if (style != NumberStyle::General) {
        p = put(p, "\" s=\"");
        p = putNumber(p, unsigned(style));
    }
    p = put(p, "\"><v>");
    for (const QChar c : number) *p++ = char(c.unicode());  // ASCII digits, point and minus only
    p = put(p, "</v></c>");
    out.advance(p);
}

void appendRowStart(ByteBuffer& out, int row) {
    char* p = put(out.room(24), "<row r=\"");
    p = put(putNumber(p, unsigned(row) + 1), "\">");
    out.advance(p);
}

QByteArray dimensionReference(int firstRow, int firstCol, int lastRow, int lastCol) {
    if (firstRow > lastRow) return QByteArrayLiteral("A1");  // no cell written
    QByteArray ref = cellReference(firstRow, firstCol);
    if (firstRow != lastRow || firstCol != lastCol) ref += ':' + cellReference(lastRow, lastCol);
    return ref;
}

QByteArray sheetHead(const QByteArray& dimension) {
    return QByteArrayLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
               "<dimension ref=\"") +
           dimension +
           QByteArrayLiteral(
               "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
               "<sheetFormatPr defaultRowHeight=\"15\"/>");
}

QByteArray sheetTail() {
    return QByteArrayLiteral(
        "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
        "footer=\"0.3\"/></worksheet>");
}

}  // namespace slp::sheet
