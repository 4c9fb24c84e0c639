#include "basic/temporary_files.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace slp {

namespace {

// A slot is free, being filled, or holds a file under way. The handler reads only slots that hold one.
enum SlotState : int { Free, Filling, Held };

struct Slot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};

// Enough for every file a print, an export and the settings can have under way at once.
constexpr int kSlots = 64;
Slot underWay[kSlots];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void removeTemporariesAndEnd(int signal) {
    const int saved = errno;
    for (Slot& slot : underWay) {
        if (slot.state.load(std::memory_order_acquire) == Held) ::unlink(slot.path);
    }
    errno = saved;
    // The signal's own action, as if this handler had never been there: the process ends by it.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

void installHandlers() {
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        // A host that handles the signal (or ignores it) keeps its way.
        const bool byDefault = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
        if (!byDefault) continue;
        struct sigaction action {};
        action.sa_handler = removeTemporariesAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : kSignals) sigaddset(&action.sa_mask, other);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace

int trackTemporary(const QByteArray& path) {
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    if (path.isEmpty() || path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = Free;
        if (!underWay[i].state.compare_exchange_strong(expected, Filling, std::memory_order_acq_rel))
            continue;
        std::memcpy(underWay[i].path, path.constData(), size_t(path.size()));
        underWay[i].path[path.size()] = '\0';
        underWay[i].state.store(Held, std::memory_order_release);
        return i;
    }
    return -1;
}

void untrackTemporary(int slot) {
    if (slot < 0 || slot >= kSlots) return;
    underWay[slot].state.store(Free, std::memory_order_release);
}

}  // namespace slp
