// The per-block costs of the frame: one stopwatch reading pair and one 2048-sample word copy.
#include <benchmark/benchmark.h>

#include <array>

#include "frame/DebugTools.h"
#include "frame/Profiler.h"

static void BM_ProfilerStartStop(benchmark::State& state) {
    Profiler profiler;
    for (auto _ : state) {
        profiler.StartTiming();
        profiler.StopTiming();
        benchmark::DoNotOptimize(profiler.Duration());
    }
}
BENCHMARK(BM_ProfilerStartStop);

static void BM_CopyWords2048(benchmark::State& state) {
    std::array<int16_t, 2048> src{}, dst{};
    for (auto _ : state) {
        DebugTools::CopyWords(src.data(), dst.data(), 2048);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyWords2048);
