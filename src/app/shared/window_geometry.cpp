#include "app/shared/window_geometry.h"

#include <cmath>

namespace slp::windows {

namespace {
constexpr double kTwipsPerInch = 1440;
double usableDpi(double dpi) {
    return dpi > 0 ? dpi : 96;
}
}  // namespace

double twipsPerPixel(double dpi) {
    return kTwipsPerInch / usableDpi(dpi);
}

int pixelsFromTwips(double twips, double dpi) {
    return int(std::lround(twips / twipsPerPixel(dpi)));
}

int twipsFromPixels(double pixels, double dpi) {
    return int(std::lround(pixels * twipsPerPixel(dpi)));
}

QRect openingWindowRect(const QRect& screen, double dpi) {
    return QRect(screen.left(), screen.top(), screen.width(), screen.height() - pixelsFromTwips(360, dpi));
}

std::optional<QRect> gridPlacement(int windowWidth, int windowHeight, int statusBarHeight, bool minimized) {
    if (minimized || windowWidth <= 2000 || windowHeight <= 3000) return std::nullopt;
    return QRect(30, 30, windowWidth - 120, windowHeight - statusBarHeight - 780);
}

}  // namespace slp::windows
