#include "app/shared/shown_widths.h"

#include <QFont>
#include <QFontMetrics>
#include <algorithm>

namespace slp::windows {

namespace {
int estimate(QStringView text) {
    int units = 0;
    for (const QChar c : text) units += c.unicode() >= 0x2E80 ? 2 : 1;
    return units;
}
}  // namespace

int widestCell(const data::WageGrid& grid, int col, const std::function<int(QStringView)>& measure) {
    if (col < 0 || col >= grid.cols()) return 0;
    int most = 0;
    for (int r = 1; r < grid.rows(); ++r) most = std::max(most, estimate(grid.textView(r, col)));
    int widest = 0;
    for (int r = 1; r < grid.rows(); ++r) {
        const QStringView text = grid.textView(r, col);
        if (!text.isEmpty() && estimate(text) >= most - 2) widest = std::max(widest, measure(text));
    }
    return widest;
}

std::vector<int> widestCells(const data::WageGrid& grid) {
    QFont font(grid.fontName());
    font.setPointSizeF(grid.fontSize());
    const QFontMetrics metrics(font);
    const auto measure = [&metrics](QStringView text) { return metrics.horizontalAdvance(text.toString()); };
    std::vector<int> widest(size_t(grid.cols()));
    for (int c = 0; c < grid.cols(); ++c) widest[size_t(c)] = widestCell(grid, c, measure);
    return widest;
}

int shownWidth(int rulePixels, int widestPixels, int padding, int hiddenUpTo) {
    if (rulePixels <= hiddenUpTo || widestPixels <= 0) return rulePixels;
    return std::max(rulePixels, widestPixels + padding);
}

}  // namespace slp::windows
