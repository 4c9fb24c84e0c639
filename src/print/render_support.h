#pragma once
// What the page renderers share: column visibility, safe cell access, the switches and pen widths they
// read from the settings on every page, table widths and the footer's date.
#include <QSet>
#include <QString>

#include "print/print_layout.h"

namespace slp::data {
class WageGrid;
}

namespace slp::print {

class PrintTarget;

namespace render {

// Columns of 199 twips or less are left out of every printed page.
inline constexpr int kHiddenWidth = 199;
bool columnVisible(const data::WageGrid& grid, int col);
// A cell's text; an empty text outside the grid.
QString cellText(const data::WageGrid& grid, int row, int col);
// The last column a renderer may touch: lastCol, but never beyond the grid.
int lastColumn(const data::WageGrid& grid, int lastCol);

// The two extra columns ("是否打印发薪日期", "是否打印签收"), read under unit code & "GZGL" from
// "汇总表工资条设置" by the slip renderers and from "汇总表设置" by the table renderers.
struct ExtraColumns {
    bool payDate = false;
    bool signOff = false;
};
ExtraColumns readSlipExtraColumns(const PrintEnvironment& env);
ExtraColumns readTableExtraColumns(const PrintEnvironment& env);

// Pen widths of the table renderers ("线的宽度", "外围线的宽度", "中间横线的宽度").
struct Pens {
    int line = 1;
    int frame = 1;
    int middle = 1;
};
Pens readTablePens(const PrintEnvironment& env);

// Width of a table: the visible columns of the whole grid times scale, plus 1000 x scale for each
// extra column; dateRight is where the date column ends and the signature column starts.
struct TableWidth {
    float width = 0;
    float dateRight = 0;
};
TableWidth tableWidth(const data::WageGrid& grid, float scale, ExtraColumns extras);

// Today's date as "yyyy-mm-dd" from the environment's clock.
QString todayText(const PrintEnvironment& env);

// Left edge of a value by the column's alignment code: codes 0 to 3 at left + inset, 4 centred in the
// width, above 4 right-aligned.
float alignedX(PrintTarget& target, int alignment, const QString& text, float left, float width, float inset);

// Prints `text` at y in the cell from `left`, `width` wide, placed by alignedX. A text wider than the
// room it has there (the width less the inset) is printed in a font
// shrunk until it fits, so it never crosses the cell's rules or runs into its neighbour; the font size
// in force afterwards is the one before. `room` overrides the room (0: as said).
void printInCell(PrintTarget& target, int alignment, const QString& text, float left, float width,
                 float inset, float y, float room = 0);

// The overflow check that ends a preview page.
void checkOverflow(PrintLayout& layout, float bottom);

// Font faces for one page: a face the target refuses is reported once per page, not once per cell.
class PageFonts {
  public:
    explicit PageFonts(PrintLayout& layout) : layout_(layout) {}
    void set(const QString& face);

  private:
    PrintLayout& layout_;
    QSet<QString> refused_;
};

// The layout's target; throws std::invalid_argument when the driver set none.
PrintTarget& targetOf(const PrintLayout& layout);

}  // namespace render
}  // namespace slp::print
