#pragma once
// A few threads that run jobs in the order they were queued and hand back each result through a
// std::future. Ending the pool drops the jobs not yet started and waits for those under way.
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace slp::mail {

class WorkerPool {
  public:
    explicit WorkerPool(int threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Queues `job`; its result (or the exception it threw) comes through the future.
    template <class Job>
    auto run(Job job) -> std::future<decltype(job())> {
        auto task = std::make_shared<std::packaged_task<decltype(job())()>>(std::move(job));
        auto result = task->get_future();
        enqueue([task] { (*task)(); });
        return result;
    }
    int threadCount() const { return int(threads_.size()); }

    // The threads to prepare with beside the calling thread: one a processor, at least one.
    static int defaultThreadCount();

  private:
    void enqueue(std::function<void()> job);
    void work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace slp::mail
