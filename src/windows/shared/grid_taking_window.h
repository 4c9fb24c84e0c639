#pragma once
// A window that opens on a copy of another window's grid: the electronic slips take the employee wage
// grid of 工资输出表1 as it is shown. The giving window knows the taker through this interface only.
#include "data/wage_grid.h"

class QWidget;

namespace slp::windows {

class GridTakingWindow {
  public:
    virtual ~GridTakingWindow() = default;
    // Opens the window owned by `owner` on a copy of `grid`, printed at `printFontSize`.
    virtual void openWithGrid(const data::WageGrid& grid, float printFontSize, QWidget* owner) = 0;
};

}  // namespace slp::windows
