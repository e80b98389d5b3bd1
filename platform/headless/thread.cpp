// SPDX-License-Identifier: MIT
// Worker threads on the in-memory machine: sleeping on the virtual clock and waking the main
// thread.
#include "platform/headless/state.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace vx::headless::detail {

namespace {
// Static initialisation runs on the thread that runs main().
const std::thread::id mainThread = std::this_thread::get_id();
} // namespace

Sync& S() {
    // Never destroyed, like the machine.
    static auto& sync = *new Sync;
    return sync;
}

bool OnMainThread() {
    return std::this_thread::get_id() == mainThread;
}

void SetClock(uint64_t ms) {
    const Guard lock(S().Mutex);
    M().Clock = ms;
    S().Changed.notify_all();
}

bool TakeWake() {
    const Guard lock(S().Mutex);
    return std::exchange(S().WakeRequested, false);
}

uint64_t NextSleeperWake() {
    const Guard lock(S().Mutex);
    const auto ahead = S().Sleepers.upper_bound(M().Clock);
    return ahead == S().Sleepers.end() ? UINT64_MAX : *ahead;
}

void SleepWorker(uint32_t ms) {
    Sync& s = S();
    std::unique_lock lock(s.Mutex);
    const uint64_t wake = M().Clock + ms;
    const auto me = s.Sleepers.insert(wake);
    s.Changed.notify_all();
    s.Changed.wait(lock, [wake] { return M().Clock >= wake; });
    s.Sleepers.erase(me);
    s.Changed.notify_all();
}

} // namespace vx::headless::detail

namespace vx::backend {

using namespace vx::headless::detail;

void WakeMainThread() {
    const Guard lock(S().Mutex);
    S().WakeRequested = true;
    S().Changed.notify_all();
}

void WaitForWake() {
    Sync& s = S();
    std::unique_lock lock(s.Mutex);
    for (;;) {
        if (std::exchange(s.WakeRequested, false)) {
            return;
        }
        // The main thread idles while a worker sleeps: time runs on to the worker's wake-up.
        const uint64_t next = NextSleeperWake();
        if (next != UINT64_MAX) {
            lock.unlock();
            headless::Advance(next - M().Clock);
            return;
        }
        s.Changed.wait(lock);
    }
}

} // namespace vx::backend

namespace vx::headless {

using namespace vx::headless::detail;

bool AwaitWorker() {
    Sync& s = S();
    std::unique_lock lock(s.Mutex);
    for (;;) {
        if (std::exchange(s.WakeRequested, false)) {
            return true;
        }
        if (NextSleeperWake() != UINT64_MAX) {
            return false;
        }
        s.Changed.wait(lock);
    }
}

} // namespace vx::headless
