// The audio chain per mode per block, with noise reduction and the AF notch on, as a multiple of real
// time (a 2048-sample block lasts 42.67 ms at 48 kHz).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "bench/BenchCounters.h"

namespace {

using bench::kN;

struct Rig : offline::ReceiverRig {
    Rig(int32_t mode, bool extras) {
        state.FilterLo = 300;
        state.FilterHi = 3000;
        state.AGCOn = true;
        state.NBOn = extras;
        SetUp(mode, 300.0f); // the BFO through the oscillator in the sideband modes
        bank->NotchFilter.MakeFilter();
        bank->NotchFilter.Active = extras;
        state.NotchType = NotchType::AF;
        std::mt19937 rng(1);
        std::normal_distribution<double> noise(0.0, 800.0);
        for (int k = 0; k < kN; ++k)
            input[k] = int16_t(std::lround(6000.0 * std::cos(2 * M_PI * 11000.0 * k / 48000.0) + noise(rng)));
    }
    std::vector<int16_t> input = std::vector<int16_t>(kN), a = std::vector<int16_t>(kN),
                         b = std::vector<int16_t>(kN);
};

void BM_AudioChainBlock(benchmark::State& s) {
    Rig rig(static_cast<int32_t>(s.range(0)), s.range(1) != 0);
    const bench::RealTimeMultiple clock;
    for (auto _ : s) {
        std::copy(rig.input.begin(), rig.input.end(), rig.a.begin());
        rig.path->Chain().DoDSP(rig.a.data(), rig.b.data(), kN);
        benchmark::DoNotOptimize(rig.a.data());
    }
    s.counters["xRealTime"] = clock.of(s.iterations());
}
// Mode 0 AM, 1 USB, 2 LSB, 3 DRM, 4 FM, 5 BC, 6 SAM, 7 AM1; then noise reduction and the AF notch on
// (1, the goal's case) or off (0, to show what they cost).
BENCHMARK(BM_AudioChainBlock)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {1, 0}})
    ->ArgNames({"mode", "nrNotch"})
    ->Unit(benchmark::kMicrosecond);

} // namespace
