#include "temp_file_guard.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace quarn {

namespace {

// The temporary files alive in this process, where a signal handler can reach them: it may
// only read lock-free atomics and fixed buffers.
constexpr int kTerminatingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSlotCount = 8;
enum SlotState : int { kFree, kFilling, kLive };
static_assert(std::atomic<int>::is_always_lock_free);

struct TempSlot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

TempSlot g_slots[kSlotCount];
std::atomic<int> g_liveSlots{0};
struct sigaction g_previous[std::size(kTerminatingSignals)];
bool g_handled[std::size(kTerminatingSignals)];

extern "C" void RemoveTemporariesAndPassOn(int signal) {
    const int savedErrno = errno;
    for (TempSlot& slot : g_slots)
        if (slot.state.load() == kLive)
            ::unlink(slot.path);
    // The signal goes on to what it would have done without us: usually ending the process.
    for (std::size_t i = 0; i < std::size(kTerminatingSignals); ++i)
        if (kTerminatingSignals[i] == signal && g_handled[i])
            ::sigaction(signal, &g_previous[i], nullptr);
    ::raise(signal);
    errno = savedErrno;
}

void HandleTerminatingSignals() {
    struct sigaction ours {};
    ours.sa_handler = RemoveTemporariesAndPassOn;
    ours.sa_flags = SA_RESTART;
    sigemptyset(&ours.sa_mask);
    for (int signal : kTerminatingSignals)
        sigaddset(&ours.sa_mask, signal);
    for (std::size_t i = 0; i < std::size(kTerminatingSignals); ++i) {
        ::sigaction(kTerminatingSignals[i], nullptr, &g_previous[i]);
        // An ignored signal (a background job's SIGINT) must stay ignored.
        g_handled[i] = g_previous[i].sa_handler != SIG_IGN;
        if (g_handled[i])
            ::sigaction(kTerminatingSignals[i], &ours, nullptr);
    }
}

void RestoreTerminatingSignals() {
    for (std::size_t i = 0; i < std::size(kTerminatingSignals); ++i)
        if (g_handled[i])
            ::sigaction(kTerminatingSignals[i], &g_previous[i], nullptr);
}

}  // namespace

int GuardTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlotCount; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling))
            continue;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        if (g_liveSlots.fetch_add(1) == 0)
            HandleTerminatingSignals();
        g_slots[i].state.store(kLive);
        return i;
    }
    return -1;
}

void ReleaseTemporary(int slot) {
    if (slot < 0)
        return;
    g_slots[slot].state.store(kFree);
    if (g_liveSlots.fetch_sub(1) == 1)
        RestoreTerminatingSignals();
}

}  // namespace quarn
