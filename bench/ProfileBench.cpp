// The shutdown save of one band plan: a full plan's keys written through one batch and one replace,
// and the band load's lookups through the whole-file reader; and a settings file of one huge section,
// loaded and saved whole, whose time must grow with the number of keys and no faster.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "frame/clsINIFile.h"
#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/profile/testing/TempFolder.h"

namespace {

// 18 sub-bands and their 12 presets, 30 keys each: about 6,700 keys.
void writePlan(profile::ProfileBatch& batch) {
    for (int s = 0; s < 18; ++s) {
        const std::string sub = "SubBand." + std::to_string(s);
        for (int k = 0; k < 30; ++k)
            batch.write(sub, "Key" + std::to_string(k), std::to_string(s * k));
        for (int p = 0; p < 12; ++p) {
            const std::string preset = "Preset." + std::to_string(s) + "." + std::to_string(p);
            for (int k = 0; k < 30; ++k)
                batch.write(preset, "Key" + std::to_string(k), std::to_string(p * k));
        }
    }
}

} // namespace

static void BM_BandPlanSaveAsOneBatch(benchmark::State& state) {
    profile::testing::TempFolder dir;
    const std::string file = dir.file("plan.bpl");
    for (auto _ : state) {
        profile::ProfileBatch batch(file);
        writePlan(batch);
        benchmark::DoNotOptimize(batch.commit());
    }
}
BENCHMARK(BM_BandPlanSaveAsOneBatch)->Unit(benchmark::kMillisecond);

static void BM_BandPlanLoadLookups(benchmark::State& state) {
    profile::testing::TempFolder dir;
    const std::string file = dir.file("plan.bpl");
    {
        profile::ProfileBatch batch(file);
        writePlan(batch);
        batch.commit();
    }
    for (auto _ : state) {
        clsINIFile ini;
        ini.init(file);
        for (int s = 0; s < 18; ++s) {
            for (int k = 0; k < 30; ++k)
                benchmark::DoNotOptimize(
                    ini.LoadItem("SubBand." + std::to_string(s), "Key" + std::to_string(k), ""));
        }
    }
}
BENCHMARK(BM_BandPlanLoadLookups)->Unit(benchmark::kMillisecond);

namespace {

constexpr const char* kApp = "NerixSDR";
constexpr const char* kSection = "Huge";

std::string keyName(int64_t i) {
    return "Key" + std::to_string(i);
}

// The goal for a section of 10^5 keys, beside the figure.
void labelGoal(benchmark::State& state) {
    state.SetLabel(state.range(0) == 100000 ? "goal: under 0.3 s at 10^5 keys, linear growth"
                                            : "goal: linear growth");
    state.SetComplexityN(state.range(0));
}

} // namespace

// A new store reads the file and every key of the section.
static void BM_SettingsLoadOneSection(benchmark::State& state) {
    profile::testing::TempFolder dir;
    {
        profile::FileSettingsStore store(dir.path());
        for (int64_t i = 0; i < state.range(0); ++i)
            store.SaveSetting(kApp, kSection, keyName(i), std::to_string(i * 7));
    }
    for (auto _ : state) {
        profile::FileSettingsStore store(dir.path());
        for (int64_t i = 0; i < state.range(0); ++i)
            benchmark::DoNotOptimize(store.GetSetting(kApp, kSection, keyName(i)));
    }
    labelGoal(state);
}
BENCHMARK(BM_SettingsLoadOneSection)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Every key of the section saved into a store without a file, and the file written.
static void BM_SettingsSaveOneSection(benchmark::State& state) {
    profile::testing::TempFolder dir;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(dir.file(kApp));
        state.ResumeTiming();
        profile::FileSettingsStore store(dir.path());
        for (int64_t i = 0; i < state.range(0); ++i)
            store.SaveSetting(kApp, kSection, keyName(i), std::to_string(i * 7));
        benchmark::DoNotOptimize(store.commit());
    }
    labelGoal(state);
}
BENCHMARK(BM_SettingsSaveOneSection)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
