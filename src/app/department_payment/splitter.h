#pragma once
// Where the controls of 工资输出表2 go around the splitter between the department list and the grid,
// in twips: the arithmetic of ArrangeControls and of dragging the splitter's bar.
namespace slp::windows::payment {

struct Arrangement {
    float splitterLeft = 0;  // x after the clamps (Image1.Left)
    float listLeft = 30, listTop = 60, listWidth = 0, listHeight = 0;
    float gridLeft = 0, gridTop = 60, gridWidth = 0, gridHeight = 0;
    float splitterHeight = 0;  // Image1 and Picture1
};

// ArrangeControls(x): x at least 30 and at most the window width less 1500 (the upper clamp last), the
// list from 30 to x - 30 wide, the grid from x + 30 to the window's width less the list's and 220, both
// 60 from the top and down to 120 above the status bar; the splitter as high as the grid and 120.
Arrangement arrangeControls(float x, float windowWidth, float innerHeight, float statusHeight);

// The bar's left while the splitter is dragged: the splitter's left plus the pointer's x, kept 500 twips
// inside either edge of the window.
float dragBarLeft(float splitterLeft, float pointerX, float windowWidth);

// Where "显示部门" puts the splitter: where it was when the list was hidden if that was at least 200
// twips, else a quarter of the window's width.
float restoredSplitterLeft(float savedLeft, float windowWidth);

}  // namespace slp::windows::payment
