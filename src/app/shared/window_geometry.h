#pragma once
// Where a wage window and its grid go, in twips (1440 per inch) as the system measures its windows,
// and the conversions to the pixels of a screen.
#include <QRect>
#include <optional>

namespace slp::windows {

// Twips of one pixel at `dpi` dots per inch (15 at 96 dpi).
double twipsPerPixel(double dpi);
// Whole pixels of a length in twips, rounded to the nearest; and back.
int pixelsFromTwips(double twips, double dpi);
int twipsFromPixels(double pixels, double dpi);

// A wage window at opening: the top left corner of the screen, the screen's width, its height less 360
// twips. `screen` and the result in pixels.
QRect openingWindowRect(const QRect& screen, double dpi);

// The grid of a resized window: at left 30, top 30, the window's width less 120 and its height less the
// status bar's height less 780 twips, all in twips. nullopt (leave the grid where it is) when the window
// is minimized, not wider than 2000 or not taller than 3000 twips.
std::optional<QRect> gridPlacement(int windowWidth, int windowHeight, int statusBarHeight, bool minimized);

}  // namespace slp::windows
