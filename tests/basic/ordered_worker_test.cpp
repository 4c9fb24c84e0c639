// Work done on the worker's thread in the order given; a task's failure reaches the caller and stops the
// tasks after it; nothing queued outlives the worker.
#include "basic/ordered_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

TEST(OrderedWorker, TasksRunInOrderOnAnotherThreadAndWaitSeesThemAll) {
    std::vector<int> done;  // touched by the worker only until wait() returns
    std::thread::id ranOn;
    {
        slp::OrderedWorker worker(2);
        for (int i = 0; i < 200; ++i) {
            worker.post([&done, &ranOn, i] {
                if (i == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the queue fills
                ranOn = std::this_thread::get_id();
                done.push_back(i);
            });
        }
        worker.wait();
        ASSERT_EQ(done.size(), 200u);
        for (int i = 0; i < 200; ++i) EXPECT_EQ(done[size_t(i)], i);
        EXPECT_NE(ranOn, std::this_thread::get_id());
    }
}

TEST(OrderedWorker, AFailureComesOutOnceAndDropsTheTasksAfterIt) {
    slp::OrderedWorker worker(8);
    std::atomic<int> ran = 0;
    worker.post([&] { ++ran; });
    worker.post([] { throw std::runtime_error("disk full"); });
    // Whatever follows the failure does not run, whether queued before or after it was seen.
    int reported = 0;
    for (int i = 0; i < 5; ++i) {
        try {
            worker.post([&] { ran += 100; });
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "disk full");
            ++reported;
        }
    }
    try {
        worker.wait();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "disk full");
        ++reported;
    }
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(ran.load(), 1);
    // The failure was reported; later work runs again.
    worker.post([&] { ran += 10; });
    worker.wait();
    EXPECT_EQ(ran.load(), 11);
}

TEST(OrderedWorker, TasksPostedAfterTheFailureWasSaidAreDroppedUntilWait) {
    slp::OrderedWorker worker(8);
    std::atomic<int> ran = 0;
    worker.post([] { throw std::runtime_error("disk full"); });
    // Posting until the failure comes out: the thread has seen it, whatever the machine's load.
    bool said = false;
    for (int i = 0; i < 1000000 && !said; ++i) {
        try {
            worker.post([&] { ++ran; });
        } catch (const std::runtime_error&) {
            said = true;
        }
    }
    ASSERT_TRUE(said);
    for (int i = 0; i < 5; ++i) worker.post([&] { ran += 100; });
    worker.wait();
    EXPECT_EQ(ran.load(), 0);
    worker.post([&] { ran += 10; });
    worker.wait();
    EXPECT_EQ(ran.load(), 10);
}

TEST(OrderedWorker, EndingDropsWhatHasNotBegun) {
    std::atomic<int> ran = 0;
    {
        slp::OrderedWorker worker(100);
        worker.post([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ++ran;
        });
        for (int i = 0; i < 50; ++i) worker.post([&] { ++ran; });
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ran.load(), 1);
}

}  // namespace
