// SPDX-License-Identifier: MIT
#include "gui/Thread.h"

#include "platform/api.h"
#include "platform/backend.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace vx {

namespace {

// Static initialisation runs on the thread that runs main().
const std::thread::id mainThread = std::this_thread::get_id();

struct Request {
    const std::function<void()>* Method = nullptr;
    std::exception_ptr Error;
    bool Done = false;
};

// Requests from every worker, served in the order they came.
struct Handover {
    std::mutex Mutex;
    std::condition_variable Served;
    std::deque<Request*> Pending;
};

Handover& H() {
    // Never destroyed: a worker may still hand over while the process exits.
    static auto& handover = *new Handover;
    return handover;
}

} // namespace

TThread::~TThread() {
    Terminate();
    WaitFor();
}

void TThread::Start() {
    if (!FThread.joinable() && !FFinished) {
        FThread = std::thread([this] { Run(); });
    }
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        FFatalException = std::current_exception();
    }
    FFinished = true;
    backend::WakeMainThread();
}

void TThread::WaitFor() {
    if (!FThread.joinable() || FThread.get_id() == std::this_thread::get_id()) {
        return;
    }
    if (std::this_thread::get_id() == mainThread) {
        while (!FFinished) {
            if (CheckSynchronize() == 0 && !FFinished) {
                backend::WaitForWake();
            }
        }
    }
    FThread.join();
}

uint32_t TThread::GetTickCount() {
    return wapi::GetTickCount();
}

void TThread::Sleep(uint32_t milliseconds) {
    wapi::Sleep(milliseconds);
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (std::this_thread::get_id() == mainThread) {
        method();
        return;
    }
    Handover& h = H();
    Request request;
    request.Method = &method;
    {
        std::unique_lock lock(h.Mutex);
        h.Pending.push_back(&request);
    }
    backend::WakeMainThread();
    {
        std::unique_lock lock(h.Mutex);
        h.Served.wait(lock, [&request] { return request.Done; });
    }
    if (request.Error) {
        std::rethrow_exception(request.Error);
    }
}

int CheckSynchronize() {
    if (std::this_thread::get_id() != mainThread) {
        return 0;
    }
    Handover& h = H();
    std::deque<Request*> batch;
    {
        const std::lock_guard lock(h.Mutex);
        batch.swap(h.Pending);
    }
    for (Request* r : batch) {
        try {
            (*r->Method)();
        } catch (...) {
            r->Error = std::current_exception();
        }
        {
            const std::lock_guard lock(h.Mutex);
            r->Done = true;
        }
        h.Served.notify_all();
    }
    return int(batch.size());
}

} // namespace vx
