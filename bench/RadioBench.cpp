// The cost of one tuning change apart from the settle waits: the VFO's arithmetic and the oscillator's
// word, and the bookkeeping of a five-byte burst of 123 line changes.
#include <benchmark/benchmark.h>

#include <array>

#include "platform/profile/SettingsStore.h"
#include "radio/clsDDSNullIF.h"
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
