#pragma once
// Where the pieces of a wage page go: what the page renderers take besides the layout and the grid.
// All lengths are twips, font sizes points.
#include <cstdint>

namespace slp::print {

struct PageGeometry {
    float originX = 300;  // "X起始位置": left edge of the table or slips
    float originY = 600;  // "Y起始位置": top of the first rule
    float rowHeight = 360;
    float textOffset = 0;  // from the top of a line to the top of its text (TextOffset)
    float scale = 1;       // every length and font size is multiplied by it
    float fontSize = 9;    // base font size
    int firstCol = 0;      // the grid's columns printed
    int lastCol = INT16_MAX;
    float cellInset = 45;  // left inset of wrapped slips' values (30 on the preview's own redraw)
};

// Grid rows from `first` to `last`, both included.
struct RowSpan {
    int first = 0;
    int last = 0;
};

}  // namespace slp::print
