#pragma once
// Every setting the component reads or writes: application, section, key, default and the form of
// its value, and typed reads and writes of one setting.
//
//   const Setting s = resolve(key::ColumnsPerLine, unitCode, reportKind);
//   int16_t columns = readInt16(store, s);      // throws ConversionError on "abc"
//   writeInt16(store, s, 30);                   // stored as "30"
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <span>

#include "settings/store.h"

namespace slp::settings {

// Which of the three application names a setting lives under.
enum class AppKind {
    UnitGZGL,   // unit code & "GZGL"
    UnitGZ,     // unit code & "GZ"
    Component,  // "Sl_PAYPRN"
};

// The variable part of a section name.
enum class SectionPart {
    Fixed,          // the section is `before` alone
    ReportKind,     // `before` & reportKind & `after`
    WindowCaption,  // `before` & windowCaption & `after`
};

// How a value is written and read back.
enum class ValueKind {
    Integer16,  // plain decimal text, read into a 16-bit integer (halves to even)
    Single,     // plain decimal text, read into single precision
    Text,       // the text itself
    TrueFalse,  // "True" / "False", read by boolean conversion (numbers accepted)
    YesNo,      // "是" / "否", on exactly when the text is "是"
    Flag16,     // "-1" / "0", read by boolean conversion
};

struct KeyDef {
    AppKind app;
    SectionPart part;
    QStringView before;  // the section, or its text before the variable part
    QStringView after;   // the section's text after the variable part
    QStringView key;
    QStringView defaultText;  // what a read supplies for a missing key
    ValueKind kind;
    // The reading window supplies the default (the component's folder for "文件位置"); defaultText is
    // then only a fallback.
    bool callerDefault = false;
};

// The makers keep the table below one row per line.
constexpr KeyDef fixedKey(AppKind app, QStringView section, QStringView key, QStringView def, ValueKind kind,
                          bool callerDefault = false) {
    return {app, SectionPart::Fixed, section, u"", key, def, kind, callerDefault};
}
// unit code & "GZGL", "汇总表" & reportKind & "设置"
constexpr KeyDef summaryKey(QStringView key, QStringView def, ValueKind kind) {
    return {AppKind::UnitGZGL, SectionPart::ReportKind, u"汇总表", u"设置", key, def, kind};
}
// "Sl_PAYPRN", reportKind & "打印设置"
constexpr KeyDef originKey(QStringView key, QStringView def, ValueKind kind) {
    return {AppKind::Component, SectionPart::ReportKind, u"", u"打印设置", key, def, kind};
}
// "Sl_PAYPRN", windowCaption & `after`
constexpr KeyDef captionKey(QStringView after, QStringView key, QStringView def, ValueKind kind) {
    return {AppKind::Component, SectionPart::WindowCaption, u"", after, key, def, kind};
}

namespace key {
using enum AppKind;
using enum ValueKind;

// unit code & "GZGL", "汇总表" & reportKind & "设置": the preview driver's layout.
inline constexpr KeyDef ColumnsPerLine = summaryKey(u"每行列数", u"24", Integer16);
inline constexpr KeyDef ContinuationIndent = summaryKey(u"非首行缩进数", u"0", Integer16);
inline constexpr KeyDef PrintSignOff = summaryKey(u"是否打印签收", u"False", TrueFalse);
inline constexpr KeyDef PrintPayDate = summaryKey(u"是否打印发薪日期", u"False", TrueFalse);
inline constexpr KeyDef HorizontalRules = summaryKey(u"打印横线", u"是", YesNo);
inline constexpr KeyDef VerticalRules = summaryKey(u"打印竖线", u"是", YesNo);
inline constexpr KeyDef MiddleRules = summaryKey(u"打印中间横线", u"是", YesNo);
inline constexpr KeyDef InnermostMiddleRule = summaryKey(u"打印最中间横线", u"是", YesNo);

// unit code & "GZGL", "汇总表设置": pen widths of the table renderers (nothing in the component writes them).
inline constexpr KeyDef LineWidth = fixedKey(UnitGZGL, u"汇总表设置", u"线的宽度", u"1", Integer16);
inline constexpr KeyDef OuterLineWidth = fixedKey(UnitGZGL, u"汇总表设置", u"外围线的宽度", u"1", Integer16);
inline constexpr KeyDef MiddleLineWidth =
    fixedKey(UnitGZGL, u"汇总表设置", u"中间横线的宽度", u"1", Integer16);

// "打印纸张设置": the special-print sheet, under both unit names (see PaperSizeSettings).
inline constexpr KeyDef PaperWidthGZGL = fixedKey(UnitGZGL, u"打印纸张设置", u"纸张宽度", u"18000", Single);
inline constexpr KeyDef PaperHeightGZGL = fixedKey(UnitGZGL, u"打印纸张设置", u"纸张高度", u"10000", Single);
inline constexpr KeyDef PaperWidth = fixedKey(UnitGZ, u"打印纸张设置", u"纸张宽度", u"18000", Single);
inline constexpr KeyDef PaperHeight = fixedKey(UnitGZ, u"打印纸张设置", u"纸张高度", u"10000", Single);

// unit code & "GZ": display choices, the payment table's row height, special printing.
inline constexpr KeyDef ShowZeros = fixedKey(UnitGZ, u"打印", u"显示零", u"1", Flag16);
inline constexpr KeyDef PaymentRowHeight = fixedKey(UnitGZ, u"打印设置", u" 行高", u"360", Single);
inline constexpr KeyDef OneRecordPerSheet = fixedKey(UnitGZ, u"特殊设置", u"特殊设置", u"False", TrueFalse);

// unit code & "GZ", "工资卡": the payroll-card export.
inline constexpr KeyDef CardUnitCode = fixedKey(UnitGZ, u"工资卡", u"单位代码", u"", Text);
inline constexpr KeyDef CardName = fixedKey(UnitGZ, u"工资卡", u"工资卡名称", u"", Text);
inline constexpr KeyDef CardFileFolder = fixedKey(UnitGZ, u"工资卡", u"文件位置", u"", Text, true);
inline constexpr KeyDef GreatWallCardFile = fixedKey(UnitGZ, u"工资卡", u"长城卡文件", u"", Text);
inline constexpr KeyDef DragonCardFile = fixedKey(UnitGZ, u"工资卡", u"龙卡文件", u"DFMX.TXT", Text);
inline constexpr KeyDef PostalCardFile = fixedKey(UnitGZ, u"工资卡", u"邮政卡文件", u"SEND.TXT", Text);
inline constexpr KeyDef PujiangCardFile = fixedKey(UnitGZ, u"工资卡", u"浦江卡文件", u"SLFGTF", Text);
inline constexpr KeyDef PeonyCardFile = fixedKey(UnitGZ, u"工资卡", u"牡丹卡文件", u"SLFGTFC", Text);
inline constexpr KeyDef MagnoliaCardFile = fixedKey(UnitGZ, u"工资卡", u"白玉兰卡文件", u"DFG2.DAT", Text);

// "Sl_PAYPRN", reportKind & "打印设置": the preview driver's origins and row metrics.
inline constexpr KeyDef OriginX = originKey(u"X起始位置", u"300", Single);
inline constexpr KeyDef OriginY = originKey(u"Y起始位置", u"600", Single);
inline constexpr KeyDef RowHeight = originKey(u"每行行高", u"360", Single);
inline constexpr KeyDef LinesPerPage = originKey(u"每页行数", u"40", Integer16);

// "Sl_PAYPRN", windowCaption & "SETTINGS": the department payment window.
inline constexpr KeyDef SplitterLeft = captionKey(u"SETTINGS", u"IMAGELEFT", u"0", Single);
inline constexpr KeyDef ListVisible = captionKey(u"SETTINGS", u"LISTV.VISIBLE", u"False", TrueFalse);

// "Sl_PAYPRN", windowCaption & "Settings": the special-print designer's placement.
inline constexpr KeyDef MainLeft = captionKey(u"Settings", u"MainLeft", u"1000", Single);
inline constexpr KeyDef MainTop = captionKey(u"Settings", u"MainTop", u"1000", Single);
inline constexpr KeyDef MainWidth = captionKey(u"Settings", u"MainWidth", u"6500", Single);
inline constexpr KeyDef MainHeight = captionKey(u"Settings", u"MainHeight", u"4500", Single);
}  // namespace key

// Every row of the table, in the order above.
std::span<const KeyDef> keyTable();

// One setting with its names built: what a read or write needs.
struct Setting {
    QString app;
    QString section;
    QString key;
    QString defaultText;
    ValueKind kind = ValueKind::Text;

    // The same setting with another default, for the keys whose default the reading window supplies.
    Setting withDefault(QString text) const;
};

// Builds the names: `variable` is the report kind or the window caption where the section has one
// (ignored for fixed sections).
Setting resolve(const KeyDef& def, const QString& unitCode, const QString& variable = QString());
QString appName(AppKind app, const QString& unitCode);
QString sectionName(const KeyDef& def, const QString& variable);

// Reads. A stored text that does not convert throws slp::ConversionError (error 13), a number beyond the
// 16-bit or single range slp::OverflowError (error 6); the description names the setting and the text.
QString readText(const Store& store, const Setting& s);
int16_t readInt16(const Store& store, const Setting& s);
float readSingle(const Store& store, const Setting& s);
bool readTrueFalse(const Store& store, const Setting& s);
bool readYesNo(const Store& store, const Setting& s);
bool readFlag(const Store& store, const Setting& s);

// Writes in the textual forms. Throw slp::Error when the store cannot be written.
void writeText(Store& store, const Setting& s, const QString& value);
void writeInt16(Store& store, const Setting& s, int16_t value);
void writeSingle(Store& store, const Setting& s, float value);
void writeTrueFalse(Store& store, const Setting& s, bool value);
void writeYesNo(Store& store, const Setting& s, bool value);
void writeFlag(Store& store, const Setting& s, bool value);

// The conversions behind the reads, for texts obtained elsewhere. `what` names the setting in errors.
// A number is decimal text: blanks around it, an optional sign, digits with at most one point, an
// optional exponent (E or e); nothing else ("abc", "", "12abc", "1,5" and "&H10" fail).
std::optional<double> parseStoredNumber(QStringView text);
int16_t storedInt16(const QString& text, const QString& what);
float storedSingle(const QString& text, const QString& what);
bool storedBool(const QString& text, const QString& what);

}  // namespace slp::settings
