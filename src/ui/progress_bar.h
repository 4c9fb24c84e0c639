#pragma once
// A progress bar for a window's long work (printing many pages, writing a workbook): a dialog modal to
// the window with 取消, shown only while the work runs and only once it has gone on for a second. The
// callback it hands out is what the delivery and the workbook export take: told (done, total) it moves
// the bar (a few hundred steps at most, the bar is not what takes the time) and answers whether to go
// on. Told done = total, the work is over: the bar goes at once, before the window says the result, and
// does not come back. It goes too with the last copy of the callback (work stopped by an error).
#include <QString>
#include <functional>

class QWidget;

namespace slp::ui {

using ProgressCallback = std::function<bool(int done, int total)>;

ProgressCallback progressBar(QWidget* parent, const QString& label, const QString& title,
                             int showAfterMs = 1000);

// Steps between two moves of a bar over `total` steps: at most about 200 moves.
int progressStep(int total);

}  // namespace slp::ui
