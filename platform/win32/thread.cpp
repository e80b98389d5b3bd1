// SPDX-License-Identifier: MIT
// Waking the main thread for worker threads: a private thread message ends a waiting
// GetMessage, and a flag under a condition variable serves a main thread that waits for a worker.
#include "platform/win32/win.h"

#include <condition_variable>
#include <mutex>

namespace vx::backend {

namespace {

// Static initialisation runs on the thread that runs WinMain, which owns the message queue.
const DWORD mainThread = GetCurrentThreadId();
// Posted with no window: the message loop hands it to no one and returns.
constexpr UINT WM_VX_WAKE = WM_APP + 0x3A0;

std::mutex& WakeMutex() {
    static auto& mutex = *new std::mutex;
    return mutex;
}
std::condition_variable& WakeChanged() {
    static auto& changed = *new std::condition_variable;
    return changed;
}
bool woken = false;

} // namespace

void WakeMainThread() {
    {
        const std::lock_guard lock(WakeMutex());
        woken = true;
    }
    WakeChanged().notify_all();
    PostThreadMessageW(mainThread, WM_VX_WAKE, 0, 0);
}

void WaitForWake() {
    std::unique_lock lock(WakeMutex());
    WakeChanged().wait(lock, [] { return woken; });
    woken = false;
}

} // namespace vx::backend
