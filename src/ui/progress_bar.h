#pragma once
// A progress bar for a window's long work (printing many pages, writing a workbook): a dialog modal to
// the window with 取消, shown only once the work has gone on for half a second. The callback it hands
// out is what the delivery and the workbook export take: told (done, total) it moves the bar (a few
// hundred steps at most, the bar is not what takes the time) and answers whether to go on. The dialog
// lives as long as the callback and its copies.
#include <QString>
#include <functional>

class QWidget;

namespace slp::ui {

using ProgressCallback = std::function<bool(int done, int total)>;

ProgressCallback progressBar(QWidget* parent, const QString& label, const QString& title);

// Steps between two moves of a bar over `total` steps: at most about 200 moves.
int progressStep(int total);

}  // namespace slp::ui
