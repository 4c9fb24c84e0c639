#pragma once
// The small marker a clerk toggles in a caption cell of a wage grid ("选择所有项目", "清除选择", a click
// in a column). Nothing in printing or export reads it.
#include <QPixmap>

namespace slp::data {
class WageGridModel;
}

namespace slp::windows {

// Toggles the marker of the caption cell of column `col`; a column outside the grid is ignored.
void toggleCaptionMarker(data::WageGridModel& model, int col);
// "选择所有项目": a marker in every caption cell (0, 0) to (0, columns - 1).
void markAllCaptions(data::WageGridModel& model);
// "清除选择": removes the marker from every caption cell, last column first.
void clearAllCaptions(data::WageGridModel& model);

// The marker picture: a small tick, `size` pixels square (needs a QGuiApplication).
QPixmap captionMarkerPicture(int size = 12);

}  // namespace slp::windows
