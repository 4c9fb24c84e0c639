#pragma once
// A wage window's grid built away from the window: the month's query read, the grid filled and its
// widest cells measured on a thread of its own, over a connection of its own to the host's database, so
// that the window shows and takes input while a large unit's month is read. What was built is handed to
// the window's thread when it is done, or at once when the window needs the grid sooner (wait()).
#include <QObject>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "data/wage_grid.h"

class QThread;

namespace slp::data {
class Database;
}

namespace slp::windows {

struct BuiltGrid {
    std::optional<data::WageGrid> grid;  // nullopt: the month had nothing to show
    std::vector<int> widestCells;        // as widestCells() measures the grid
    std::exception_ptr error;            // what the build raised, raised again on the window's thread
};

class GridFill : public QObject {
    Q_OBJECT
  public:
    // Builds from the database it is given; runs on the fill's thread.
    using Build = std::function<std::optional<data::WageGrid>(data::Database&)>;
    // Takes the result on the window's thread.
    using Shown = std::function<void(BuiltGrid&)>;

    explicit GridFill(QObject* parent = nullptr);
    ~GridFill() override;  // waits for a running build; its result is dropped

    // Whether a database can be read over a connection of its own: a file or a server, not SQLite's
    // private in-memory database.
    static bool canReadApart(const data::Database& database);
    // Starts building over a new connection of `connection`'s text (opened on the thread); the widest
    // cells are measured too unless `measureWidest` is false (a view that does not widen its columns).
    void start(const QString& connection, Build build, Shown shown, bool measureWidest = true);
    bool running() const { return thread_ != nullptr; }
    // Blocks until a running build is over and hands its result over now.
    void wait();
    // Blocks until a running build's thread is over, handing nothing over (the process's exit).
    void waitForThread();

    // What start() runs on its thread, to be run anywhere: the build over a new connection and the
    // measure of the widest cells; faults land in `error`.
    static BuiltGrid buildApart(const QString& connection, const Build& build, bool measureWidest = true);

  private:
    void deliver();

    QThread* thread_ = nullptr;
    BuiltGrid result_;
    Shown shown_;
};

}  // namespace slp::windows
