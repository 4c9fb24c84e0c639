#include "app/department_payment/splitter.h"

namespace slp::windows::payment {

Arrangement arrangeControls(float x, float windowWidth, float innerHeight, float statusHeight) {
    if (x < 30) x = 30;
    if (x > windowWidth - 1500) x = windowWidth - 1500;
    Arrangement a;
    a.splitterLeft = x;
    a.listWidth = x - 30;
    a.gridLeft = x + 30;
    a.gridTop = 60;
    a.gridWidth = windowWidth - (a.listWidth + 220);
    a.gridHeight = innerHeight - 120 - statusHeight;
    a.listLeft = 30;
    a.listTop = a.gridTop;
    a.listHeight = a.gridHeight;
    a.splitterHeight = a.gridHeight + 120;
    return a;
}

float dragBarLeft(float splitterLeft, float pointerX, float windowWidth) {
    const float p = splitterLeft + pointerX;
    if (p < 500) return 500;
    if (p > windowWidth - 500) return windowWidth - 500;
    return p;
}

float restoredSplitterLeft(float savedLeft, float windowWidth) {
    return savedLeft >= 200 ? savedLeft : windowWidth / 4;
}

}  // namespace slp::windows::payment
