#include "app/shared/grid_fill.h"

#include <QThread>
#include <cstdlib>
#include <mutex>
#include <set>

#include "app/shared/shown_widths.h"
#include "data/database.h"

namespace slp::windows {

namespace {

// The fills alive in the process. A host may return from main while a window it opened is still reading
// its month (no event loop ever ran): the process's exit then waits for those threads before the
// statics they measure fonts with are torn down.
std::mutex& fillsMutex() {
    static std::mutex mutex;
    return mutex;
}
std::set<GridFill*>& liveFills() {
    static std::set<GridFill*> fills;
    return fills;
}
void waitForFillsAtExit() {
    const std::lock_guard lock(fillsMutex());
    for (GridFill* fill : liveFills()) fill->waitForThread();
}

}  // namespace

GridFill::GridFill(QObject* parent) : QObject(parent) {
    const std::lock_guard lock(fillsMutex());
    liveFills().insert(this);
}

GridFill::~GridFill() {
    {
        const std::lock_guard lock(fillsMutex());
        liveFills().erase(this);
    }
    if (!thread_) return;
    thread_->wait();
    delete thread_;
}

void GridFill::waitForThread() {
    if (thread_) thread_->wait();
}

bool GridFill::canReadApart(const data::Database& database) {
    return !database.connectionText().trimmed().endsWith(u":memory:");
}

BuiltGrid GridFill::buildApart(const QString& connection, const Build& build, bool measureWidest) {
    BuiltGrid built;
    try {
        data::Database database(connection);
        built.grid = build(database);
        if (built.grid && measureWidest) built.widestCells = widestCells(*built.grid);
    } catch (...) {
        built.error = std::current_exception();
    }
    return built;
}

void GridFill::start(const QString& connection, Build build, Shown shown, bool measureWidest) {
    // Registered once the process has shown a window (its fonts' statics exist by then), so it runs
    // before they are destroyed at exit.
    static const bool waitsAtExit = std::atexit(waitForFillsAtExit) == 0;
    Q_UNUSED(waitsAtExit);
    wait();
    shown_ = std::move(shown);
    thread_ = QThread::create([this, connection, build = std::move(build), measureWidest] {
        result_ = buildApart(connection, build, measureWidest);
    });
    connect(thread_, &QThread::finished, this, &GridFill::deliver, Qt::QueuedConnection);
    thread_->start();
}

void GridFill::wait() {
    if (!thread_) return;
    thread_->wait();
    deliver();
}

void GridFill::deliver() {
    if (!thread_) return;  // handed over by wait() already
    delete thread_;
    thread_ = nullptr;
    BuiltGrid result = std::move(result_);
    result_ = BuiltGrid();
    Shown shown = std::move(shown_);
    shown_ = nullptr;
    if (shown) shown(result);
}

}  // namespace slp::windows
