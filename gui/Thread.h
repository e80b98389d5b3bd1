// SPDX-License-Identifier: MIT
// Worker threads, and the hand-over of procedures to the main thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

namespace vx {

// A worker thread. It is created suspended: Start runs Execute on a new thread, once.
//
// Destroying a thread requests termination and waits for Execute to return. A derived class
// whose Execute uses members of its own must do the same in its own destructor (Terminate, then
// WaitFor), because those members are gone before this destructor runs.
class TThread {
public:
    TThread() = default;
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    // Asks Execute to stop; Execute looks at Terminated when it chooses to.
    void Terminate() { FTerminated = true; }
    [[nodiscard]] bool Terminated() const { return FTerminated; }
    [[nodiscard]] bool Finished() const { return FFinished; }
    // Waits until Execute has returned. On the main thread it keeps serving the procedures that
    // workers hand over (Synchronize), so a worker blocked in one never deadlocks it; while it
    // waits it handles no messages.
    void WaitFor();
    // What escaped Execute, if anything: it ends the thread and is kept here.
    [[nodiscard]] std::exception_ptr FatalException() const { return FFatalException; }

    // The system's 32-bit millisecond count, and a sleep of the calling thread.
    static uint32_t GetTickCount();
    static void Sleep(uint32_t milliseconds);

protected:
    virtual void Execute() = 0;

    // Runs the procedure on the main thread and returns when it has run; the calling thread
    // waits meanwhile. On the main thread itself it simply runs it. An exception that escapes
    // the procedure is raised again here.
    static void Synchronize(const std::function<void()>& method);
    template <class T> void Synchronize(void (T::*method)()) {
        Synchronize([this, method] { (static_cast<T*>(this)->*method)(); });
    }

private:
    std::thread FThread;
    std::atomic<bool> FTerminated = false;
    std::atomic<bool> FFinished = false;
    std::exception_ptr FFatalException;
    void Run();
};

// Runs the procedures that workers have handed over, on the main thread (elsewhere it does
// nothing). Returns how many ran. The application calls it whenever it handles messages.
int CheckSynchronize();

} // namespace vx
