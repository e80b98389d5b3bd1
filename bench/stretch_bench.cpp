// SPDX-License-Identifier: MIT
// Cost of one magnified copy on the in-memory stretch: nanoseconds per destination pixel,
// and the ratio to a plain memcpy of the destination measured in the same run.
#include "platform/headless/stretch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>

using vx::headless::Image;

namespace {

Image Noise(int w, int h) {
    Image img(w, h);
    std::mt19937 rng(1);
    for (uint32_t& p : img.Pixels) {
        p = rng() & 0xFFFFFF;
    }
    return img;
}

double MemcpyNanoseconds(size_t bytes) {
    std::vector<uint32_t> from(bytes / 4, 0x123456), to(bytes / 4);
    const int rounds = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(end - start).count() / rounds;
}

void Stretch(benchmark::State& state) {
    const int sw = int(state.range(0)), sh = int(state.range(1));
    const int dw = int(state.range(2)), dh = int(state.range(3));
    const Image source = Noise(sw, sh);
    Image dest(dw, dh);
    const double memcpyNs = MemcpyNanoseconds(dest.Pixels.size() * 4);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        vx::headless::StretchAveraging(source, dest, {0, 0, dw, dh, 0, 0, sw, sh});
        benchmark::DoNotOptimize(dest.Pixels.data());
    }
    const auto end = std::chrono::steady_clock::now();
    const double perCopy =
        std::chrono::duration<double, std::nano>(end - start).count() / double(state.iterations());
    state.counters["ns_per_dest_px"] = perCopy / (double(dw) * dh);
    state.counters["x_memcpy"] = perCopy / memcpyNs;
}

BENCHMARK(Stretch)
    ->Args({96, 96, 400, 200})
    ->Args({960, 540, 1920, 1080})
    ->Args({1920, 1080, 400, 200})
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
