#include "mail/worker_pool.h"

namespace slp::mail {

WorkerPool::WorkerPool(int threads) {
    threads_.reserve(size_t(std::max(1, threads)));
    for (int i = 0; i < std::max(1, threads); ++i) threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    std::deque<std::function<void()>> dropped;
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        dropped.swap(jobs_);
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    // The dropped jobs' futures now report a broken promise to whoever still holds them.
}

int WorkerPool::defaultThreadCount() {
    return std::max(1, int(std::thread::hardware_concurrency()));
}

void WorkerPool::enqueue(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void WorkerPool::work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
            if (ending_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

}  // namespace slp::mail
