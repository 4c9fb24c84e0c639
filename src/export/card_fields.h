#pragma once
// The pieces every bank layout is built from: trimmed and fitted texts, zero-padded numbers, fen amounts,
// and a file builder that encodes each field to GBK, fills fixed byte widths and names the field when it
// cannot be written.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include "export/gbk_encoder.h"

namespace slp::bank {

// Error numbers of the card writers beside those of basic/error.h.
namespace carderr {
inline constexpr int InvalidArgument = 5;  // a field that cannot be written in its layout
inline constexpr int PathFileAccess = 75;  // a target that is a folder or a device
}  // namespace carderr

// Where a text comes from, for error texts: a header field ("入卡金额") or a column of a grid row.
struct FieldRef {
    QString label;  // "姓名", "卡号", "金额", "单位代码", "单位名称", "进卡日期", "入卡人数", "入卡金额"
    int row = 0;    // grid row counted from 1; 0 for a header field
    QStringView employee;  // the row's name, viewed where the rows keep it: a reference lives no longer

    static FieldRef header(const QString& label) { return {label, 0, {}}; }
    static FieldRef cell(const QString& label, int row, QStringView employee) {
        return {label, row, employee};
    }
    // "入卡金额" or "第3行（王 五）的金额"
    QString describe() const;
};

// The text between Chinese quotation marks, as error and warning texts show it: “text”.
QString quoted(QStringView text);

// Characters as the layouts count them: one per Unicode character.
qsizetype characterCount(QStringView text);
// The first n characters (all when shorter).
QString leftChars(QStringView text, qsizetype n);
// Surrounding blanks (U+0020) removed, as the clerk's fields are trimmed.
QString trimBlanks(QStringView text);
// Followed by blanks up to `width` characters (unchanged when not shorter).
QString padRight(QStringView text, qsizetype width);
// Preceded by blanks up to `width` characters (unchanged when not shorter).
QString padLeft(QStringView text, qsizetype width);
// Digits with zeros in front up to `width`; more digits are kept whole.
QString zeroPad(const QString& digits, qsizetype width);
// A header total or count in its field of `width` digits, zeros in front. Throws slp::Error naming
// `where` and the text `typed` when the digits do not fit: the header is never written wider.
QString headerDigits(const QString& digits, qsizetype width, QStringView typed, const FieldRef& where);

// The fen digits of an amount text that must be a number: "1234.56" -> "123456", "0.05" -> "5".
// A fraction of a fen rounds half away from zero. Throws ConversionError for a text that is not a number,
// and slp::Error for a negative amount or one beyond any range, naming `where`.
QString fenOfAmount(QStringView text, const FieldRef& where);
// The same for a text read by its leading numeric value: one without a leading number counts as 0.
QString fenOfLeadingValue(QStringView text, const FieldRef& where);
// A count field formatted with a zero pattern ("00000"). Throws ConversionError for a text that is not
// a number and slp::Error for a negative one, naming `where`.
QString formatCount(QStringView text, QStringView zeroPattern, const FieldRef& where);
// A date text written "yyyymmdd"; a text that is no date comes back unchanged.
QString formatCreditDate(QStringView text);

// Throws slp::Error naming `where` when `spare`, the blanks left after the text in its field, is
// negative: a line is never written out of alignment. `room` says how wide the field is ("12字节").
void requireRoom(qsizetype spare, QStringView text, const FieldRef& where, const QString& room);

// Printable ASCII: one character a UTF-16 unit, no line break, and every one of them has its code in
// GBK, so such a field is written without an error.
bool isPrintableAscii(QStringView text);
// Digits with at most one decimal point and at least one digit: a number for every reading, never
// negative and never out of range.
bool isPlainDecimal(QStringView text);

// Builds a whole card file in memory. Every line ends with CR LF.
class CardFileBuilder {
  public:
    CardFileBuilder() = default;
    // Appends a text in GBK. Throws slp::Error naming `where` and the character when GBK lacks it, or
    // when the text holds a line break (which would split the line for the bank).
    void put(QStringView text, const FieldRef& where);
    // Appends a text in GBK followed by blanks up to `fieldBytes` bytes, so that the fields after it
    // stand where the bank reads them whatever the text holds (two bytes a Chinese character, one an
    // ASCII letter or blank). Throws slp::Error naming `where` and `room` ("12字节") when the text takes
    // more than the field; nothing of it stays appended then.
    void putInField(QStringView text, qsizetype fieldBytes, const FieldRef& where, const QString& room);
    // Appends a text made only of ASCII characters the writer composed itself (digits, letters).
    void putAscii(QStringView text);
    void putBlanks(qsizetype count);
    // ASCII digits with zeros in front up to `width` (at most 13); more digits are written whole.
    void putZeroPadded(QStringView digits, qsizetype width);
    void putZeroPadded(int number, qsizetype width);
    void endLine();
    const QByteArray& bytes() const { return bytes_; }

  private:
    GbkEncoder encoder_;
    QByteArray bytes_;
};

}  // namespace slp::bank
