#pragma once
// Strips for continuous paper: a range of grid rows printed straight to the printer, one row a page
// 720 twips high and 21800 twips wide, the column captions over the row's values. The employee wage
// table prints a range of employees this way.
#include <QString>
#include <cstdint>

#include "print/reports/report.h"

namespace slp::data {
class WageGrid;
}
namespace slp::print {
class Printer;
class PrintTarget;
}  // namespace slp::print

namespace slp::strips {

// Height and width of a strip page in twips.
inline constexpr float kStripPageHeight = 720;
inline constexpr float kStripPageWidth = 21800;
// Columns this narrow or narrower are left out of a strip (the renderers' limit is 199).
inline constexpr int kStripHiddenWidth = 180;
// Gap between a text and the right edge of its cell.
inline constexpr float kStripRightInset = 60;

// Rows firstRow .. lastRow (both included) of `grid` as a report, every row a page. Each visible column
// gets its caption (row 0) right-aligned on the upper line and the row's value right-aligned on the lower
// line, with equal gaps above, between and below; with drawCellRules a rule runs along the top of every
// cell. On the last row's page a caption more than 100 twips wider than its column is split into
// centred lines. Rows outside the grid print as empty values; a grid without a column wider than 180
// twips has no pages.
class StripReport : public print::Report {
  public:
    StripReport(const data::WageGrid& grid, int firstRow, int lastRow, bool drawCellRules, float originX,
                float originY, float fontSize);
    int pageCount() const override;
    void draw(int page, print::PrintTarget& target) override;

  private:
    const data::WageGrid& grid_;
    int firstRow_;
    int lastRow_;
    bool drawCellRules_;
    float originX_;
    float originY_;
    float fontSize_;
};

// Prints the strips of rows firstRow .. lastRow as one print job that ends after the last row, on the
// printer's page set to the strip size first. A first row after the last prints nothing and begins no
// job. When drawing fails the job is dropped (nothing of it is sent) and the error goes on. Returns the
// number of strips printed.
// Printed to files, `fileName` names them (see print::DeliveryOptions).
int PrintGridStrips(print::Printer& printer, const data::WageGrid& grid, int firstRow, int lastRow,
                    bool drawCellRules, float originX, float originY, float fontSize,
                    const QString& fileName = {});

}  // namespace slp::strips
