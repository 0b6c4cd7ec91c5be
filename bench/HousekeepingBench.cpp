// One housekeeping tick with the statistics on and nothing to rebuild, over ports that keep the captions
// as a label would: its time as a share of the block it follows (2048 samples at 48 kHz, 42.67 ms) and
// its heap allocations. Goal: well under 1 % of a block, no allocation. Argument 1 adds the peak
// tracking of the automatic notch and the dynamic AF filter, with the peak where the filters were built.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

#include "bench/AllocationCounter.h"
#include "dsp/Nerix.h"
#include "dsp/clsFFTFilter.h"
#include "mainwindow/Housekeeping.h"

namespace {

constexpr double kBlockSeconds = 2048.0 / 48000.0;

// Ports that copy each caption into a label's text kept between ticks, as the statistics labels do.
class LabelPorts final : public mainwindow::HousekeepingPorts {
public:
    explicit LabelPorts(Nerix::Wrappers& nerix) : af(nerix), notch(nerix) {
        for (clsFFTFilter* f : {&af, &notch}) {
            f->HzPerBin = 48000.0 / 4096.0;
            f->FSampling = 48000;
            f->Points = 2048;
        }
        peak1.fill(5000);
        peak2.fill(3000);
        times.fill(1800);
        stats = {peak1, peak2, times};
        for (std::string& c : captions)
            c.reserve(64);
        notchCaption.reserve(64);
        notchTip.reserve(64);
    }

    bool Minimised() override { return false; }
    void UpdateSMeter(double level) override { benchmark::DoNotOptimize(level); }
    void SetSMeterToolTip(const std::string& tip) override { benchmark::DoNotOptimize(tip.data()); }
    const mainwindow::BlockStatistics* Statistics() override { return &stats; }
    void SetStat(int16_t i, const std::string& caption) override { captions.at(size_t(i)).assign(caption); }
    void SetStatColour(int16_t i, int32_t colour) override { colours.at(size_t(i)) = colour; }
    void Pump() override {}
    bool RebuildFilters() override {
        ++designs;
        return true;
    }
    clsFFTFilter& AfFilter() override { return af; }
    clsFFTFilter& NotchFilter() override { return notch; }
    void MakeFilter(clsFFTFilter&) override { ++designs; }
    void ShowNotchPeak(const std::string& caption, const std::string& tip) override {
        notchCaption.assign(caption);
        notchTip.assign(tip);
    }
    int32_t OscOut() override { return 70550000; }
    mainwindow::ModelFlags Model() override { return {true, false, true}; }
    void ShowModelControls(bool, bool, bool) override {}

    clsFFTFilter af, notch;
    std::array<int16_t, 48> peak1{}, peak2{};
    std::array<int32_t, 48> times{};
    mainwindow::BlockStatistics stats;
    std::array<std::string, 6> captions;
    std::array<int32_t, 6> colours{};
    std::string notchCaption, notchTip;
    int64_t designs = 0;
};

void BM_HousekeepingTick(benchmark::State& st) {
    const bool tracking = st.range(0) != 0;
    ReceiverState state;
    nerixdll::NerixDll nerixLibrary{nerixdll::kLibraryName};
    nspdll::NspDll nspLibrary{nspdll::kLibraryName};
    Nerix::Wrappers nerix(state, nerixLibrary, nspLibrary);
    LabelPorts ports(nerix);
    state.PerfStatsOn = true;
    state.AgcGain = 3.5f;
    state.NoiseFloor = 0.001f;
    state.FilterLo = 300;
    state.FilterHi = 3000;
    state.LevelRing.fill(0.05f);
    state.BlockPowerRing.fill(4.0e6f);
    if (tracking) {
        state.DynFilterActive = true;
        state.NotchMode = 1;
        state.NotchWidth = 200;
        state.PeakBinRing.fill(60);
        ports.af.Active = true;
        ports.notch.Active = true;
    }
    mainwindow::Housekeeping tick(state, ports);
    // The first ticks follow the peak to where it stands and build there; from then on nothing moves.
    for (int warm = 0; warm < 4; ++warm)
        tick.tmrPerfStats_Timer();
    const int64_t designsBefore = ports.designs;
    const int64_t before = bench::allocationCount();
    const auto start = std::chrono::steady_clock::now();
    int64_t ticks = 0;
    for (auto _ : st) {
        tick.tmrPerfStats_Timer();
        ++ticks;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double n = static_cast<double>(std::max<int64_t>(ticks, 1));
    st.counters["allocations_per_tick"] = static_cast<double>(bench::allocationCount() - before) / n;
    st.counters["block_share_percent"] = seconds / n / kBlockSeconds * 100.0;
    if (ports.designs != designsBefore)
        st.SkipWithError("a filter was rebuilt: the tick is not the idle one");
}
BENCHMARK(BM_HousekeepingTick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
