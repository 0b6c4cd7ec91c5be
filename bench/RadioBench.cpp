// The cost of one tuning change apart from the settle waits: the VFO's arithmetic and the oscillator's
// word, and the bookkeeping of a five-byte burst of 123 line changes, bare and on an FTDI adaptor.
#include <benchmark/benchmark.h>

#include <array>

#include "platform/ftdi/FtdiDriver.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "radio/clsAD9851.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsFTDIUS232C.h"
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

// An adaptor that takes every write and plays it nowhere, so the bench measures the line class alone.
class SinkAdaptor final : public ftdi::FtdiDriver {
public:
    ftdi::FT_STATUS FT_OpenEx(std::string_view, ftdi::FT_HANDLE& handle) override {
        handle = 1;
        return 0;
    }
    ftdi::FT_STATUS FT_Close(ftdi::FT_HANDLE) override { return 0; }
    ftdi::FT_STATUS FT_SetBitMode(ftdi::FT_HANDLE, uint8_t, uint8_t) override { return 0; }
    ftdi::FT_STATUS FT_SetBaudRate(ftdi::FT_HANDLE, uint32_t) override { return 0; }
    ftdi::FT_STATUS FT_Write(ftdi::FT_HANDLE, const uint8_t* data, uint32_t count,
                             uint32_t& written) override {
        benchmark::DoNotOptimize(data);
        written = count;
        return 0;
    }
    ftdi::FT_STATUS FT_GetQueueStatus(ftdi::FT_HANDLE, uint32_t& waiting) override {
        waiting = 0;
        return 0;
    }
    ftdi::FT_STATUS FT_Read(ftdi::FT_HANDLE, uint8_t*, uint32_t, uint32_t& got) override {
        got = 0;
        return 0;
    }
};

// A port that only counts, so the benchmark measures the driver and the interface, not a device.
class CountingPort final : public parport::ParallelPort {
public:
    void Out32(uint16_t, uint16_t value) override { benchmark::DoNotOptimize(last = value); }
    uint16_t last = 0;
};

} // namespace

// A five-byte burst is 123 pin-byte appends and one USB write; nothing waits.
static void BM_FiveByteBurstOnTheUs232cAdaptor(benchmark::State& state) {
    profile::MemorySettingsStore store;
    runtime::testing::FakePerformanceCounter counter;
    modTiming::Timing timing(counter);
    SinkAdaptor adaptor;
    clsFTDIUS232C line(adaptor, store, timing);
    line.Initialise();
    const std::array<uint8_t, 5> bytes{0x04, 0x11, 0xEB, 0x85, 0x1F};
    for (auto _ : state) {
        line.SendSeqMSB(bytes, 5);
        benchmark::DoNotOptimize(line.UpdateDevice());
    }
}
BENCHMARK(BM_FiveByteBurstOnTheUs232cAdaptor);
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
