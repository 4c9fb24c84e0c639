#include "windows/shared/grid_fill.h"

#include <QThread>

#include "data/database.h"
#include "windows/shared/shown_widths.h"

namespace slp::windows {

GridFill::GridFill(QObject* parent) : QObject(parent) {}

GridFill::~GridFill() {
    if (!thread_) return;
    thread_->wait();
    delete thread_;
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
