#include "basic/ordered_worker.h"

#include <algorithm>
#include <system_error>

namespace slp {

OrderedWorker::OrderedWorker(size_t maxWaiting)
    : maxWaiting_(maxWaiting > 0 ? maxWaiting : 1), wakeAt_(std::max<size_t>(maxWaiting_ / 2, 1)) {}

OrderedWorker::~OrderedWorker() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        tasks_.clear();
        posted_.notify_one();
    }
    if (thread_.joinable()) thread_.join();
}

void OrderedWorker::rethrow(std::unique_lock<std::mutex>& lock) {
    if (!error_) return;
    const std::exception_ptr error = error_;
    error_ = nullptr;
    lock.unlock();
    std::rethrow_exception(error);
}

void OrderedWorker::post(std::function<void()> task) {
    std::unique_lock lock(mutex_);
    rethrow(lock);
    if (failed_) return;
    if (!thread_.joinable() && !inline_) {
        try {
            thread_ = std::thread(&OrderedWorker::run, this);
        } catch (const std::system_error&) {
            inline_ = true;
        }
    }
    if (inline_) {
        lock.unlock();
        task();
        return;
    }
    done_.wait(lock, [this] { return tasks_.size() < maxWaiting_ || error_; });
    rethrow(lock);
    if (failed_) return;
    tasks_.push_back(std::move(task));
    // The thread is woken for a few tasks at a time, not for every one: waking it costs more than a
    // small task.
    if (tasks_.size() >= wakeAt_) posted_.notify_one();
}

void OrderedWorker::wait() {
    std::unique_lock lock(mutex_);
    flushing_ = true;
    posted_.notify_one();
    done_.wait(lock, [this] { return (tasks_.empty() && !busy_) || error_; });
    flushing_ = false;
    failed_ = false;
    rethrow(lock);
}

void OrderedWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        posted_.wait(
            lock, [this] { return ending_ || (!tasks_.empty() && (flushing_ || tasks_.size() >= wakeAt_)); });
        // Once woken, the thread empties the queue before it sleeps again.
        while (!ending_ && !tasks_.empty()) {
            std::function<void()> task = std::move(tasks_.front());
            tasks_.pop_front();
            busy_ = true;
            lock.unlock();
            std::exception_ptr error;
            try {
                task();
            } catch (...) {
                error = std::current_exception();
            }
            task = nullptr;
            lock.lock();
            busy_ = false;
            if (error) {
                error_ = error;
                failed_ = true;
                tasks_.clear();
            }
            done_.notify_all();
        }
        if (ending_) return;
    }
}

}  // namespace slp
