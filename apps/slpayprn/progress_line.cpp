#include "progress_line.h"

#include <unistd.h>

#include <QElapsedTimer>
#include <cstdio>
#include <memory>

#include "commands.h"

using namespace Qt::StringLiterals;

namespace slp::app {

ProgressLine::ProgressLine(bool terminal, Write write, Clock clock)
    : terminal_(terminal), write_(std::move(write)), clock_(std::move(clock)) {
    if (terminal_) start_ = clock_();
}

ProgressLine ProgressLine::onStderr() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return ProgressLine(
        isatty(STDERR_FILENO) == 1, [](const QByteArray& bytes) { writeOut(stderr, bytes); },
        [timer] { return int64_t(timer->elapsed()); });
}

ProgressLine::~ProgressLine() {
    if (write_) clear();
}

void ProgressLine::show(const QString& text) {
    if (!terminal_) return;
    const int64_t now = clock_();
    if (now - start_ < kQuietMs) return;
    if (shown_ && now - drawn_ < kRedrawMs) return;
    write_("\r" + text.toUtf8() + "\x1b[K");
    std::fflush(stderr);
    shown_ = true;
    drawn_ = now;
}

void ProgressLine::clear() {
    if (!shown_) return;
    write_(QByteArray("\r\x1b[K"));
    shown_ = false;
}

QString rowsReadProgress(int rows) {
    return u"已读取 %1 行"_s.arg(rows);
}

QString pagesWrittenProgress(int pages) {
    return u"已写入 %1 页"_s.arg(pages);
}

}  // namespace slp::app
