// SPDX-License-Identifier: MIT
// Drives a capture worker turn by turn on the virtual clock: the test thread serves the
// worker's hand-overs and wakes it from each sleep.
#pragma once

#include "gui/Thread.h"
#include "platform/headless/headless.h"

#include <cstdint>
#include <vector>

namespace vxtest {

struct TurnLog {
    int Handovers = 0;
    std::vector<int64_t> Sleeps;            // milliseconds, in order
    std::vector<size_t> HandoverAt;         // log size just before each hand-over ran
    std::vector<vx::headless::ApiCall> Log; // the whole log, read when the turn ended
    size_t Mark = 0;                        // log size when the turn began

    [[nodiscard]] std::vector<vx::headless::ApiCall> Calls(const std::string& name) const {
        std::vector<vx::headless::ApiCall> out;
        for (size_t i = Mark; i < Log.size(); ++i) {
            if (Log[i].Name == name) {
                out.push_back(Log[i]);
            }
        }
        return out;
    }
};

// One turn: the hand-overs, then each sleep woken by moving the clock on, until the worker asks
// for the main thread again (the next turn's first hand-over, left pending).
inline TurnLog Turn() {
    namespace hl = vx::headless;
    TurnLog t;
    t.Mark = hl::ApiLog().size();
    const auto serve = [&t] {
        // The worker waits for this hand-over, so the log stands still until it is served.
        const size_t at = vx::headless::ApiLog().size();
        const int served = vx::CheckSynchronize();
        for (int i = 0; i < served; ++i) {
            t.HandoverAt.push_back(at);
        }
        t.Handovers += served;
    };
    serve(); // the hand-over the last turn left pending
    for (;;) {
        if (hl::AwaitWorker()) {
            if (!t.Sleeps.empty()) {
                break;
            }
            serve();
            continue;
        }
        const int64_t ms = hl::ApiCalls("Sleep").back().Args[0];
        t.Sleeps.push_back(ms);
        hl::Advance(uint64_t(ms));
    }
    t.Log = hl::ApiLog();
    return t;
}

} // namespace vxtest
