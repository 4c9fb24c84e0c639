// The C interface called from several threads at once: objects of their own, one shared object, a
// release while another thread is inside a call, and the windows' thread once an application exists.
#include <gtest/gtest.h>

#include <QApplication>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "slpayprn.h"

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 300;

// The four puts a host makes, in its order; the number of calls that did not answer SLP_OK.
int putAll(slp_object* obj) {
    const struct {
        int32_t id;
        const char* text;
    } puts[] = {{6, "0101"}, {7, "朔岚机械厂"}, {8, "2000-04"}, {10, "25"}};
    int failures = 0;
    for (const auto& p : puts) {
        const slp_value v{SLP_TEXT, p.text, nullptr};
        if (slp_invoke(obj, p.id, &v) != SLP_OK) ++failures;
    }
    return failures;
}

TEST(CInterfaceThreads, ObjectsOfTheirOwnOrOneSharedObjectAnswerEveryCall) {
    for (const bool shared : {false, true}) {
        slp_object* one = nullptr;
        ASSERT_EQ(slp_create_object("Sl_PAYPRN.打印工资", &one), SLP_OK);
        std::atomic<int> failures{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&] {
                slp_object* obj = one;
                if (!shared && slp_create_object("Sl_PAYPRN.打印工资", &obj) != SLP_OK) {
                    ++failures;
                    return;
                }
                for (int round = 0; round < kRounds; ++round) {
                    failures += putAll(obj);
                    int32_t id = 0;
                    if (slp_get_dispid(obj, "GetRQ", &id) != SLP_OK || id != 8) ++failures;
                }
                if (!shared) slp_release(obj);
            });
        }
        for (std::thread& t : threads) t.join();
        EXPECT_EQ(failures.load(), 0) << (shared ? "one object" : "an object a thread");
        slp_release(one);
    }
}

TEST(CInterfaceThreads, AReleaseDuringACallWaitsForIt) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        slp_object* obj = nullptr;
        ASSERT_EQ(slp_create_object("Sl_PAYPRN.打印工资", &obj), SLP_OK);
        std::atomic<bool> started{false};
        std::atomic<int> unexpected{0};
        std::thread caller([&] {
            for (int round = 0; round < kRounds; ++round) {
                const slp_value v{SLP_TEXT, "0101", nullptr};
                const int32_t status = slp_invoke(obj, 6, &v);
                started = true;
                // Before the release: done; after it: the pointer is refused, never followed.
                if (status != SLP_OK && status != SLP_E_HANDLE) ++unexpected;
                if (status == SLP_E_HANDLE && std::string(slp_last_error()).empty()) ++unexpected;
            }
        });
        while (!started) std::this_thread::yield();
        slp_release(obj);
        caller.join();
        EXPECT_EQ(unexpected.load(), 0);
    }
}

TEST(CInterfaceThreads, OnlyTheApplicationsThreadOpensWindowsOrSetsWhatTheyRead) {
    static int argc = 1;
    static char name[] = "c_threads";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    slp_object* obj = nullptr;
    ASSERT_EQ(slp_create_object("Sl_PAYPRN.打印工资", &obj), SLP_OK);
    std::vector<int32_t> statuses;
    std::string message;
    std::thread other([&] {
        const slp_value text{SLP_TEXT, "0102", nullptr};
        statuses.push_back(slp_invoke(obj, 6, &text));    // GetDWDM
        statuses.push_back(slp_invoke(obj, 2, nullptr));  // PFirst
        message = slp_last_error();
        statuses.push_back(slp_run_message_loop());
        int32_t id = 0;
        statuses.push_back(slp_get_dispid(obj, "PFirst", &id));  // no window, no setting: any thread
    });
    other.join();
    EXPECT_EQ(statuses, (std::vector<int32_t>{SLP_RPC_E_WRONG_THREAD, SLP_RPC_E_WRONG_THREAD,
                                              SLP_RPC_E_WRONG_THREAD, SLP_OK}));
    EXPECT_NE(message.find("PFirst"), std::string::npos) << message;
    EXPECT_EQ(putAll(obj), 0);  // the application's own thread
    slp_release(obj);
}

}  // namespace
