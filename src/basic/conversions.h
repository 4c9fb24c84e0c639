#pragma once
// The small conversion rules every part of the system relies on: numbers typed or stored as text,
// 16-bit counts, formatted amounts, dates and two-state options.
#include <QDate>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace slp {

// The text without the blanks (U+0020) around it, as the clerk's fields are trimmed.
QStringView withoutBlanks(QStringView text);

// Leading numeric value of a text. Blanks, tabs and line feeds anywhere are skipped; an optional sign,
// digits with one decimal point, an optional exponent (E or D), or an &H / &O prefix (hexadecimal, octal).
// Stops at the first other character; a text without a leading number gives 0.
//   "12abc" -> 12, "  1 2" -> 12, "x9" -> 0, "" -> 0, "&H1F" -> 31, "1.2.3" -> 1.2, "1e" -> 1
// Any number of digits is read and correctly rounded. A value beyond the double range gives
// infinity (as strtod does), one too small for it gives 0; never a negative zero. &H and &O digits
// are read as an unsigned whole number ("&HFFFF" -> 65535) and take no sign in front.
double leadingValue(QStringView text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// Conversion to a 16-bit integer, halves to even. Throws OverflowError beyond -32768 ... 32767
// (after rounding), and for NaN or infinity.
int16_t toInt16(double value);
// Same, reading the text's leading numeric value first.
int16_t toInt16(QStringView text);
// Conversion to a 32-bit integer, halves to even, for page numbers, page counts and row indexes.
// Throws OverflowError beyond the 32-bit range (after rounding), and for NaN or infinity.
int32_t toInt32(double value);

// A number's plain decimal text: the shortest text that reads back as the same value, never with an
// exponent or a trailing ".0": 300, 0.63, 113.4, -0.5, 1234567, 1e20 as "100000000000000000000".
// Throws OverflowError for NaN or infinity.
QString plainNumber(double value);
// Same for single precision: 0.1f gives "0.1", not "0.100000001"; 1.5e10f gives "15000000000".
QString plainNumber(float value);

// Formats a number with one of the system's patterns:
//   "0", "0.0", "0.00"      fixed decimals (the integer part as long as it needs)
//   "00000", "0000000", ... at least that many digits, zeros in front; more digits are written whole
//   "#.##"                  up to two decimals, no leading zero before the point ("0.5" -> ".5", 2 -> "2.")
//   ""                      the plain decimal text
// Rounding is half away from zero on the value's shortest decimal text, so 2.675 gives "2.68" and
// 0.125 gives "0.13", as a clerk reading the amount expects. A negative value that rounds to zero loses
// its sign (-0.001 with "0.00" gives "0.00"); large values are written in full, never with an exponent.
// Other patterns of '0', '#' and one '.' follow the same rules ("0.000"); any other pattern gives the
// plain decimal text. Throws OverflowError for NaN or infinity, so no such amount is ever printed.
QString formatNumber(double value, QStringView pattern);
// Same for a single-precision value (coordinates, row heights), rounded on the float's own shortest text:
// 2.675f gives "2.68" where formatNumber(double(2.675f)) would see 2.6749999523162842 and give "2.67".
// A separate name, so that formatNumber(42, ...) stays unambiguous.
QString formatSingle(float value, QStringView pattern);

// Formats a text like the host's Format(): a text that reads as a number (after trimming) is formatted as
// that number; with a date pattern ("yyyymmdd", "YYYYMMDD", "YY-MM", "yyyy-mm-dd") a text that reads as a
// date is formatted as that date (a text that is no date, even a number, is returned unchanged); any other
// text is returned unchanged. Throws OverflowError when the text's number is beyond the double range.
QString formatText(QStringView text, QStringView pattern);

// Reads a date written as text: yyyy-mm-dd, yyyy/mm/dd, yyyy-m-d, yyyymmdd (8 digits). nullopt if none.
std::optional<QDate> parseDate(QStringView text);
// Formats a date with "yyyymmdd" (same as "YYYYMMDD"), "YY-MM" or "yyyy-mm-dd", patterns in any case;
// another pattern gives "yyyy-mm-dd", an invalid date an empty text.
QString formatDate(const QDate& date, QStringView pattern);

// Whether the whole text (blanks around it allowed) reads as a number: sign, digits with one point and a
// complete exponent, or &H / &O digits, with no blank inside.
bool isNumericText(QStringView text);

// Boolean conversion of a text: "True"/"False" in any case, or a number (0 false, any other true).
// nullopt when the text is neither (the caller reports the conversion failure).
std::optional<bool> toBool(QStringView text);
// "True" / "False".
QString boolText(bool value);
// The text of a 16-bit flag: "-1" for true, "0" for false.
QString flagText(bool value);
// "是" / "否" and the test that is on exactly when the text equals "是".
QString yesNoText(bool value);
bool isYes(QStringView text);

}  // namespace slp
