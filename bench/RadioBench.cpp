// The cost of one tuning change apart from the settle waits: the VFO's arithmetic and the oscillator's
// word, and the bookkeeping of a five-byte burst of 123 line changes.
#include <benchmark/benchmark.h>

#include <array>

#include "platform/profile/SettingsStore.h"
#include "radio/clsAD9851.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsSoftDDS.h"
#include "radio/clsVFO.h"

namespace {

class QuietKnob final : public BfoKnob {
public:
    void setBfoValue(float hertz) override { value = hertz; }
    void SetBFO() override { benchmark::DoNotOptimize(value); }
    float value = 0;
};

} // namespace

static void BM_TuningChangeThroughTheSoftwareOscillator(benchmark::State& state) {
    profile::MemorySettingsStore store;
    QuietKnob knob;
    clsSoftDDS osc(store, &knob);
    clsVFO vfo(store);
    vfo.setOscType(&osc);
    vfo.setOscMultiplier(4);
    vfo.setPLLMultiplier(1);
    osc.setBaseFrequency(28'304'000);
    vfo.setRxMaxFreq(30'000'000);
    int32_t f = 70'760'000;
    for (auto _ : state) {
        vfo.setTunedFrequency(f);
        f = f == 70'760'000 ? 70'770'000 : 70'760'000;
        benchmark::DoNotOptimize(vfo.OscOut());
    }
}
BENCHMARK(BM_TuningChangeThroughTheSoftwareOscillator);

static void BM_FiveByteBurstOnTheNullLine(benchmark::State& state) {
    profile::MemorySettingsStore store;
    clsDDSNullIF line(store);
    line.Initialise();
    const std::array<uint8_t, 5> bytes{0x1F, 0x85, 0xEB, 0x11, 0x00};
    for (auto _ : state)
        benchmark::DoNotOptimize(line.SendSeqLSB(bytes, 5));
}
BENCHMARK(BM_FiveByteBurstOnTheNullLine);

namespace {

// A port that only counts, so the benchmark measures the driver and the interface, not a device.
class CountingPort final : public parport::ParallelPort {
public:
    void Out32(uint16_t, uint16_t value) override { benchmark::DoNotOptimize(last = value); }
    uint16_t last = 0;
};

} // namespace

// One AD9851 tuning change on the parallel interface with no settle time: 123 register writes.
static void BM_Ad9851TuningChangeOnTheParallelLine(benchmark::State& state) {
    profile::MemorySettingsStore store;
    modTiming::Timing timing;
    CountingPort port;
    clsDDSParallelIF line(store, timing, port);
    line.setWaitTime(0);
    line.Initialise();
    clsAD9851 osc(store);
    osc.setClkIn(180'000'000);
    osc.setIFHandler(&line);
    osc.Initialise();
    int32_t f = 70'000'000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(osc.SetFrequency(f));
        f = f == 70'000'000 ? 70'000'010 : 70'000'000;
    }
}
BENCHMARK(BM_Ad9851TuningChangeOnTheParallelLine);
