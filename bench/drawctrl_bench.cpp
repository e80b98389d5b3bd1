// SPDX-License-Identifier: MIT
// One capture of the worker on the in-memory machine: a BitBlt from a 1920 x 1080 desktop into
// the worker's bitmap, at the smallest useful range and at a full screen. The CPU share is the
// capture time over the worker's interval.
#include "gui/Bitmap.h"
#include "platform/api.h"
#include "platform/headless/headless.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace hl = vx::headless;

namespace {

constexpr double IntervalMs = 100; // the magnifier's own refresh interval

void BM_Capture(benchmark::State& state) {
    const int w = int(state.range(0));
    const int h = int(state.range(1));
    hl::Reset();
    hl::Image desktop(1920, 1080);
    for (size_t i = 0; i < desktop.Pixels.size(); ++i) {
        desktop.Pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    }
    hl::SetDesktop({0, 0}, desktop);
    const wapi::HDC source = wapi::GetDC(wapi::GetDesktopWindow());
    vx::TBitmap bitmap;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // What one capture does: the size check (no reallocation after the first) and the copy.
        if (bitmap.Width() != w || bitmap.Height() != h) {
            bitmap.SetWidth(w);
            bitmap.SetHeight(h);
        }
        wapi::BitBlt(bitmap.Canvas().Handle(), 0, 0, w, h, source, 0, 0, wapi::SRCCOPY);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        hl::ClearApiLog(); // the log would otherwise grow with every copy
        state.ResumeTiming();
    }
    const double perCaptureMs = seconds * 1000 / double(state.iterations());
    state.counters["capture_ms"] = perCaptureMs;
    state.counters["cpu_share_at_100ms"] = perCaptureMs / IntervalMs;
    state.SetItemsProcessed(int64_t(state.iterations()) * w * h);
}

BENCHMARK(BM_Capture)->Args({96, 46})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
