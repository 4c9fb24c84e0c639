#pragma once
// The menus of the print preview as data: each item's caption, visibility and check mark. The preview
// driver keeps them; the window shows them, one QAction an item, named by actionName().
#include <QString>
#include <array>

namespace slp::print {

struct PreviewMenuItem {
    QString caption;
    bool visible = true;
    bool checked = false;
};

// The items of 设置: values asked for in an input box.
enum class PageSetting { OriginX, OriginY, RowHeight, LinesPerPage };
// The items of 打印设置: the four rules (check items), two counts of wrapped slips asked for as a change,
// and the two extra columns (check items, written to the settings at once).
enum class PrintOption {
    HorizontalRules,
    VerticalRules,
    MiddleRules,
    InnermostMiddleRule,
    ColumnsPerLine,
    ContinuationIndent,
    PrintSignOff,
    PrintPayDate,
};

class PreviewMenus {
  public:
    // The items in menu order.
    static constexpr std::array<PageSetting, 4> kPageSettings{
        PageSetting::OriginX, PageSetting::OriginY, PageSetting::RowHeight, PageSetting::LinesPerPage};
    static constexpr std::array<PrintOption, 8> kPrintOptions{
        PrintOption::HorizontalRules,     PrintOption::VerticalRules,  PrintOption::MiddleRules,
        PrintOption::InnermostMiddleRule, PrintOption::ColumnsPerLine, PrintOption::ContinuationIndent,
        PrintOption::PrintSignOff,        PrintOption::PrintPayDate};
    // Whether an option is a check item (the rules, sign-off and pay date).
    static bool isCheckItem(PrintOption option);

    // The objectName of each item's action, as the window and its tests find them: "SELPAGE",
    // "PRINTOUT", "SETPrint_1" (设置), "SETPrint_2" (打印设置), "MenuSet_3", "MenuPrintSet_21",
    // "EXITRANCE".
    static QString actionName(PageSetting setting);
    static QString actionName(PrintOption option);
    static QString settingsMenuName();
    static QString printSettingsMenuName();

    PreviewMenus();

    PreviewMenuItem pageChoice;     // "共" & pageCount & "页,现第" & currentPage & "页"
    PreviewMenuItem print;          // "打印"
    PreviewMenuItem settingsMenu;   // "设置", the submenu of the page settings
    PreviewMenuItem printSettings;  // "打印设置", the submenu of the print options
    PreviewMenuItem exit;           // "退出"

    PreviewMenuItem& item(PageSetting setting) { return settings_[size_t(setting)]; }
    const PreviewMenuItem& item(PageSetting setting) const { return settings_[size_t(setting)]; }
    PreviewMenuItem& item(PrintOption option) { return options_[size_t(option)]; }
    const PreviewMenuItem& item(PrintOption option) const { return options_[size_t(option)]; }

  private:
    std::array<PreviewMenuItem, kPageSettings.size()> settings_;
    std::array<PreviewMenuItem, kPrintOptions.size()> options_;
};

}  // namespace slp::print
