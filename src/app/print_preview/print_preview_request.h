#pragma once
// What a wage window hands the print preview: its grid, the caption-row count, the header and footer
// texts, and the two layout choices the window sets before calling (slip mode and print font size).
#include <QString>
#include <cstdint>

namespace slp::data {
class WageGrid;
}

namespace slp::print {

struct PrintPreviewRequest {
    // The caller's grid. It is copied when the request is handed to the preview window, so the caller
    // may change or destroy its grid afterwards; it need only live through the call.
    const data::WageGrid* grid = nullptr;
    int16_t captionRows = 1;  // caption rows of the grid (every caller passes 1)
    QString title;            // page title and window caption; empty: no title
    QString caption;          // the window's caption when there is no title (wage slips print none)
    QString leftText;         // "单位名称:" and the unit name
    QString footerText;       // centred in the footer line (every caller passes an empty text)
    QString rightText;        // "发薪日期:" and the pay date, or empty
    int16_t slipMode = 0;     // -1 wage slips, 0 a table
    float printFontSize = 9;  // base font size of every page, in points
    // The totals row on one line in one size (PrintLayout::totalsOnOneLine): the department summary.
    bool totalsOnOneLine = false;
};

// The slip mode of wage slips and of a table.
inline constexpr int16_t kSlipModeSlips = -1;
inline constexpr int16_t kSlipModeTable = 0;

}  // namespace slp::print
