#pragma once
// The print engine's shared state: what the preview driver prepares for the page renderers, and the
// things around them that they read (settings, unit code, pay date, today's date) passed in, never
// taken from globals.
#include <QString>
#include <cstdint>

namespace slp {
class Clock;
}
namespace slp::data {
class WageGrid;
}
namespace slp::settings {
class Store;
}

namespace slp::print {

class PrintTarget;
class WarningSink;

struct PrintEnvironment {
    const settings::Store* store = nullptr;  // settings read on every page; none: every default
    QString unitCode;                        // names the application unit code & "GZGL"
    QString payDate;                         // the host's pay date, year-month-day (e.g. 2000-04-25)
    const Clock* clock = nullptr;            // today's date in the footers (required)
    WarningSink* warnings = nullptr;         // overflow and font warnings; none: not shown
};

struct PrintLayout {
    const data::WageGrid* printGrid = nullptr;  // the caller's grid
    int16_t headerRowCount = 1;                 // caption rows of the grid (every caller passes 1)
    QString printTitle;                         // page title; empty (after trimming): no title
    QString headerLeftText;                     // left above the table ("单位名称:" and the unit name)
    QString footerText;                         // centred in the footer line
    QString headerRightText;                    // right above a table ("发薪日期:" and the pay date)
    int16_t slipMode = 0;                       // -1 wage slips, 0 a table
    bool slipLayout = false;                    // slipMode is non-zero (MeasureLayout)
    bool fitsOneLine = false;                   // columnsPerLine >= the visible grid columns (MeasureLayout)
    PrintTarget* printTarget = nullptr;         // the preview picture, or the printer while printing
    int16_t linesPerPage = 40;                  // "每页行数"
    int16_t columnsPerLine = 24;                // "每行列数": slots per printed line of a wrapped slip
    int16_t continuationIndent = 0;   // "非首行缩进数": empty slots before each continuation line
    bool drawHorizontalLines = true;  // "打印横线"
    bool drawVerticalLines = true;    // "打印竖线"
    bool drawMiddleLines = true;      // "打印中间横线"
    bool drawCenterLine = true;       // "打印最中间横线"
    int32_t rowsPerPage = 0;          // slips per page (CountSlipPages)
    float printWidth = 0;             // printable width - 800 (CountSlipPages)
    float slotWidth = 0;              // printWidth / columnsPerLine (CountSlipPages)
    int32_t pageCount = 0;            // pages of the current print
    float printFontSize = 9;          // base font size in points
    // The totals row's texts on one line, each in the one size at which all of them fit their cells,
    // rather than alternating between the upper and the lower half (the department summary).
    bool totalsOnOneLine = false;

    PrintEnvironment environment;
};

}  // namespace slp::print
