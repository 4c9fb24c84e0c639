#pragma once
// The settings a window or renderer reads together, as plain structs with load and save. A default-
// constructed struct holds the defaults of the key table; load() fills it from the store and throws
// slp::ConversionError / slp::OverflowError for a stored text that does not convert. save() writes the
// keys the owner writes on closing; it attempts every key, then throws the first slp::Error if any failed.
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

#include "settings/keys.h"
#include "settings/store.h"

namespace slp::settings {

// The report kind of the wage-slip layout; the plain table layout has an empty report kind.
inline constexpr QStringView kWageSlipReportKind = u"工资条";
// The design captions that name the two caption-based sections.
inline constexpr QStringView kPaymentWindowCaption = u"班组签收联";     // section "班组签收联SETTINGS"
inline constexpr QStringView kDesignerWindowCaption = u"特殊打印设置";  // section "特殊打印设置Settings"

// unit code & "GZGL", section "汇总表" & reportKind & "设置": the preview driver's layout choices.
struct PreviewLayoutSettings {
    int16_t columnsPerLine = 24;      // "每行列数"
    int16_t continuationIndent = 0;   // "非首行缩进数"
    bool printSignOff = false;        // "是否打印签收"
    bool printPayDate = false;        // "是否打印发薪日期"
    bool horizontalRules = true;      // "打印横线"
    bool verticalRules = true;        // "打印竖线"
    bool middleRules = true;          // "打印中间横线"
    bool innermostMiddleRule = true;  // "打印最中间横线"

    static PreviewLayoutSettings load(const Store& store, const QString& unitCode, const QString& reportKind);
    // What the driver writes on closing: columns per line, indent and the four rules. The sign-off and
    // pay-date switches are written by their menu when chosen (savePrintSignOff, savePrintPayDate), so a
    // driver closing with an older copy does not undo them.
    void save(Store& store, const QString& unitCode, const QString& reportKind) const;
    static void savePrintSignOff(Store& store, const QString& unitCode, const QString& reportKind, bool on);
    static void savePrintPayDate(Store& store, const QString& unitCode, const QString& reportKind, bool on);

    friend bool operator==(const PreviewLayoutSettings&, const PreviewLayoutSettings&) = default;
};

// "Sl_PAYPRN", section reportKind & "打印设置": print origin and row metrics of the preview driver.
struct PrintOriginSettings {
    float originX = 300;        // "X起始位置"
    float originY = 600;        // "Y起始位置"
    float rowHeight = 360;      // "每行行高"
    int16_t linesPerPage = 40;  // "每页行数"

    static PrintOriginSettings load(const Store& store, const QString& reportKind);
    void save(Store& store, const QString& reportKind) const;

    friend bool operator==(const PrintOriginSettings&, const PrintOriginSettings&) = default;
};

// unit code & "GZGL", section "汇总表设置": pen widths of the table renderers. Nothing in the component
// writes them; a user may set them in the file.
struct TableLineWidths {
    int16_t lineWidth = 1;        // "线的宽度"
    int16_t outerLineWidth = 1;   // "外围线的宽度"
    int16_t middleLineWidth = 1;  // "中间横线的宽度"

    static TableLineWidths load(const Store& store, const QString& unitCode);

    friend bool operator==(const TableLineWidths&, const TableLineWidths&) = default;
};

// Section "打印纸张设置": the special-print sheet in twips. The paper menus write under unit code & "GZ";
// load reads there first and falls back to unit code & "GZGL", so what the menus write is what the
// designer reads next time, and a value kept under "GZGL" still serves when "GZ" has none.
struct PaperSizeSettings {
    float width = 18000;   // "纸张宽度"
    float height = 10000;  // "纸张高度"

    static PaperSizeSettings load(const Store& store, const QString& unitCode);
    static void saveWidth(Store& store, const QString& unitCode, float width);
    static void saveHeight(Store& store, const QString& unitCode, float height);

    friend bool operator==(const PaperSizeSettings&, const PaperSizeSettings&) = default;
};

// unit code & "GZ", section "打印", key "显示零": zero amounts shown in the employee wage table.
struct EmployeeTableSettings {
    bool showZeros = true;

    static EmployeeTableSettings load(const Store& store, const QString& unitCode);
    void save(Store& store, const QString& unitCode) const;  // "-1" or "0"

    friend bool operator==(const EmployeeTableSettings&, const EmployeeTableSettings&) = default;
};

// The department payment window: splitter and list under "Sl_PAYPRN", caption & "SETTINGS"; the printed
// row height under unit code & "GZ", section "打印设置", key " 行高" (with its leading blank).
struct DepartmentPaymentSettings {
    float splitterLeft = 0;    // "IMAGELEFT"
    bool listVisible = false;  // "LISTV.VISIBLE"
    float rowHeight = 360;     // " 行高"

    static DepartmentPaymentSettings load(const Store& store, const QString& unitCode,
                                          const QString& caption = kPaymentWindowCaption.toString());
    void save(Store& store, const QString& unitCode,
              const QString& caption = kPaymentWindowCaption.toString()) const;

    friend bool operator==(const DepartmentPaymentSettings&, const DepartmentPaymentSettings&) = default;
};

// "Sl_PAYPRN", caption & "Settings": the special-print designer's position and size in twips.
struct DesignerWindowSettings {
    float left = 1000;    // "MainLeft"
    float top = 1000;     // "MainTop"
    float width = 6500;   // "MainWidth"
    float height = 4500;  // "MainHeight"

    static DesignerWindowSettings load(const Store& store,
                                       const QString& caption = kDesignerWindowCaption.toString());
    void save(Store& store, const QString& caption = kDesignerWindowCaption.toString()) const;

    friend bool operator==(const DesignerWindowSettings&, const DesignerWindowSettings&) = default;
};

// unit code & "GZ", section "特殊设置", key "特殊设置": one record per sheet (true) or several (false).
struct SpecialPrintSettings {
    bool oneRecordPerSheet = false;

    // `current` is the menu item's state before loading: the value when nothing is stored.
    static SpecialPrintSettings load(const Store& store, const QString& unitCode, bool current = false);
    void save(Store& store, const QString& unitCode) const;

    friend bool operator==(const SpecialPrintSettings&, const SpecialPrintSettings&) = default;
};

// unit code & "GZ", section "工资卡": the payroll-card export.
struct CardExportSettings {
    // The six file-name keys, in this order: "长城卡文件", "龙卡文件", "邮政卡文件", "浦江卡文件",
    // "牡丹卡文件", "白玉兰卡文件".
    static constexpr std::array<const KeyDef*, 6> kFileNameKeys{
        &key::GreatWallCardFile, &key::DragonCardFile, &key::PostalCardFile,
        &key::PujiangCardFile,   &key::PeonyCardFile,  &key::MagnoliaCardFile};

    QString bankUnitCode;  // "单位代码", the code written into bank files
    QString cardName;      // "工资卡名称"
    QString fileFolder;    // "文件位置"
    std::array<QString, 6> fileNames{
        key::GreatWallCardFile.defaultText.toString(), key::DragonCardFile.defaultText.toString(),
        key::PostalCardFile.defaultText.toString(),    key::PujiangCardFile.defaultText.toString(),
        key::PeonyCardFile.defaultText.toString(),     key::MagnoliaCardFile.defaultText.toString()};

    // `defaultFolder` is what "文件位置" gives when nothing is stored (the component's folder).
    static CardExportSettings load(const Store& store, const QString& unitCode, const QString& defaultFolder);
    // The stored file name for a file-name key such as "龙卡文件"; an empty text for any other key.
    QString fileNameFor(QStringView fileKey) const;
    // Writes "单位代码", "工资卡名称" and "文件位置". The file names are read only.
    void save(Store& store, const QString& unitCode) const;

    friend bool operator==(const CardExportSettings&, const CardExportSettings&) = default;
};

}  // namespace slp::settings
