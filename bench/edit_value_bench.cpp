// SPDX-License-Identifier: MIT
// Cost of one focus rewrite of the validated edit, per call.
#include "controls/edit/EditValue.h"

#include <benchmark/benchmark.h>

using namespace vx::edit;

namespace {

void ExitIntegerWithComma(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExitText(u"1234567", TEditDataType::Integer, u"", true));
    }
}
BENCHMARK(ExitIntegerWithComma);

void EnterIntegerWithComma(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnterText(u"1,234,567", TEditDataType::Integer, u""));
    }
}
BENCHMARK(EnterIntegerWithComma);

void ExitRealWithComma(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExitText(u"1234567.891", TEditDataType::Real, u"", true));
    }
}
BENCHMARK(ExitRealWithComma);

void EnterRealWithComma(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnterText(u"1,234,567.89", TEditDataType::Real, u""));
    }
}
BENCHMARK(EnterRealWithComma);

void ExitRealWithFormat(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExitText(u"1234567.891", TEditDataType::Real, u"%.2Lf", false));
    }
}
BENCHMARK(ExitRealWithFormat);

void EnterRealWithFormat(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnterText(u"1234567.89", TEditDataType::Real, u"%.2Lf"));
    }
}
BENCHMARK(EnterRealWithFormat);

void ExitString(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExitText(u"user@example.org", TEditDataType::String, u"", true));
    }
}
BENCHMARK(ExitString);

void EnterString(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnterText(u"user@example.org", TEditDataType::String, u""));
    }
}
BENCHMARK(EnterString);

} // namespace

BENCHMARK_MAIN();
