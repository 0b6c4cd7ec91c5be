// The shutdown save of one band plan: a full plan's keys written through one batch and one replace,
// and the band load's lookups through the whole-file reader.
#include <benchmark/benchmark.h>

#include <string>

#include "frame/clsINIFile.h"
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
