#include "app/shared/grid_widths.h"

namespace slp::windows {

float applyPrintFontSize(data::WageGridModel& model, const data::WageCatalogue& catalogue,
                         const data::ColumnItems& columns, float size, const data::CharUnitMeasure& measure) {
    // The rule works on the grid's shape alone: computed on an empty grid of the same columns, so a
    // fault leaves the shown grid as it was and the views keep their rows and scroll positions.
    data::WageGrid shape(0, model.grid().cols());
    shape.setFontName(model.grid().fontName());
    const float charUnit = data::ApplyPrintFontSize(shape, catalogue, columns, size, measure);
    for (int c = 0; c < shape.cols(); ++c) model.setColWidth(c, shape.colWidth(c));
    model.setFontSize(shape.fontSize());
    return charUnit;
}

}  // namespace slp::windows
