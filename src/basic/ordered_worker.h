#pragma once
// Work handed to a thread of its own and done there one task after another, in the order given, while
// the caller goes on: a print job's pages are compressed and written while the next ones are drawn.
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace slp {

class OrderedWorker {
  public:
    // At most `maxWaiting` tasks wait; post() then waits for room, so memory stays bounded.
    explicit OrderedWorker(size_t maxWaiting);
    // Drops the tasks not yet begun and waits for the one under way.
    ~OrderedWorker();
    OrderedWorker(const OrderedWorker&) = delete;
    OrderedWorker& operator=(const OrderedWorker&) = delete;

    // Queues a task. When no thread can be started, the task runs at once on the caller's thread.
    // A task that threw stops the ones after it: its exception comes out of the next post() or wait(),
    // and tasks posted after that until wait() are dropped, however soon the failure was seen.
    void post(std::function<void()> task);
    // Returns when every task given has run; rethrows the exception of one that threw. Tasks posted
    // afterwards run again.
    void wait();

  private:
    void run();
    void rethrow(std::unique_lock<std::mutex>& lock);

    const size_t maxWaiting_;
    const size_t wakeAt_;  // tasks waiting when the thread is woken
    std::mutex mutex_;
    std::condition_variable posted_;  // the thread waits for a task or the end
    std::condition_variable done_;    // the caller waits for room or for the queue to empty
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    bool flushing_ = false;  // the caller waits for everything to be done
    bool ending_ = false;
    bool inline_ = false;
    bool failed_ = false;  // a task threw since the last wait(): what is posted now is dropped
    std::exception_ptr error_;
    std::thread thread_;
};

}  // namespace slp
