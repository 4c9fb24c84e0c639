#pragma once
// A progress line for work that takes a while: shown on a terminal only, once the work has gone on for a
// second, redrawn in place ("\r", the line cleared after the text) at most five times a second, and
// erased when the work is done, so that what follows on the same stream starts on a clean line.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace slp::app {

class ProgressLine {
  public:
    using Write = std::function<void(const QByteArray&)>;
    using Clock = std::function<int64_t()>;  // milliseconds, from any start

    static constexpr int64_t kQuietMs = 1000;  // nothing is shown before the work has gone on this long
    static constexpr int64_t kRedrawMs = 200;  // the shortest time between two drawings

    // A line that writes through `write` when `terminal`, timed by `clock`.
    ProgressLine(bool terminal, Write write, Clock clock);
    // The line on stderr, shown when stderr is a terminal.
    static ProgressLine onStderr();
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ProgressLine(ProgressLine&&) = default;

    // The state of the work, e.g. "已读取 16384 行".
    void show(const QString& text);
    // Erases the line when it is shown.
    void clear();

  private:
    bool terminal_;
    Write write_;
    Clock clock_;
    int64_t start_ = 0;
    int64_t drawn_ = 0;
    bool shown_ = false;
};

// The texts of the line.
QString rowsReadProgress(int rows);
QString pagesWrittenProgress(int pages);

}  // namespace slp::app
