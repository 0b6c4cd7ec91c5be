// The band plan store on a full band (18 sub-bands of 12 presets, every block captured): the shutdown
// save, the first selection's load and one preset press.
#include <benchmark/benchmark.h>

#include <string>

#include "frontpanel/modBandPlan.h"
#include "platform/profile/testing/TempFolder.h"

namespace {

struct FullBand {
    profile::testing::TempFolder dir;
    MainBandArray MainBands;
    ReceiverState State;
    modBandPlan::BandPlanStore store{MainBands, State, [] { return std::string("2026-12-10 13:45:00"); }};

    FullBand() {
        dir.write("Full.bpl", "[MainBand]\r\n");
        MainBands.push_back(modBandPlan::newMainBand(dir.path(), "Full.bpl", 0));
        MainBandRec& band = MainBands.back();
        store.InitBandPlanArrays(band);
        store.LoadBandPlan(band);
        for (int32_t i = 0; i < 18; ++i) {
            SubBandRec& sub = band.SubBand[static_cast<std::size_t>(i)];
            sub.FreqMin = 1000000 * (i + 1);
            sub.FreqMax = sub.FreqMin + 500000;
            sub.Settings.FreqCurrent = sub.FreqMin;
            sub.Settings.AGCAttack = 2.5f;
            sub.Settings.Dirty = true;
            for (int32_t j = 0; j < 12; ++j) {
                PresetSettings& s = sub.Preset[static_cast<std::size_t>(j)].Settings;
                s.FreqCurrent = sub.FreqMin + 1000 * j;
                s.OutputAttenuation = -12.25f;
                s.Loaded = s.Dirty = true;
            }
        }
        store.SaveBandPlan(band);
    }
};

} // namespace

static void BM_SaveFullBand(benchmark::State& state) {
    FullBand full;
    for (auto _ : state)
        benchmark::DoNotOptimize(full.store.SaveBandPlan(full.MainBands[0]));
}
BENCHMARK(BM_SaveFullBand)->Unit(benchmark::kMillisecond);

static void BM_LoadFullBand(benchmark::State& state) {
    FullBand full;
    for (auto _ : state) {
        MainBandRec band = modBandPlan::newMainBand(full.dir.path(), "Full.bpl", 0);
        full.store.InitBandPlanArrays(band);
        benchmark::DoNotOptimize(full.store.LoadBandPlan(band));
    }
}
BENCHMARK(BM_LoadFullBand)->Unit(benchmark::kMillisecond);

static void BM_PresetPress(benchmark::State& state) {
    FullBand full;
    PresetSettings& s = full.MainBands[0].SubBand[9].Preset[6].Settings;
    for (auto _ : state) {
        s.Loaded = false;
        full.store.LoadPresetOnDemand(0, 9, 6);
    }
}
BENCHMARK(BM_PresetPress)->Unit(benchmark::kMillisecond);
