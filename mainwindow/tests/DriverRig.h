// The receive path over the real chain and filter bank, as the start-up makes them, with a fake display,
// recorder and engine, a stub oscillator behind a real VFO, and a stopwatch on a fake counter.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "dsp/ReceivePath.h"
#include "dsp/testing/ChainFixture.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/KnobApply.h"
#include "frontpanel/PanelPorts.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "radio/clsVFO.h"
#include "recorder/PlayerMode.h"

namespace rig {

constexpr int kN = 2048;
constexpr double kFs = 48000.0;

struct StubOscillator final : Oscillator {
    int32_t base = 0;
    bool fail = false;
    int32_t BaseFrequency() const override {
        if (fail) runtime::raise(runtime::err::kUnsupportedMember, "StubOscillator.BaseFrequency");
        return base;
    }
    void setFreqScaling(double) override {}
    std::string_view className() const override { return "StubOscillator"; }
};

struct FakeDisplay final : Nerix::SpectrumSink {
    bool active = true, acceptsIq = true, iq = false;
    double fStart = 0, fEnd = 24000;
    int32_t offset = -1;
    bool reverse = false;
    int loads = 0, modeCalls = 0;
    std::vector<float> ch1, ch2; // the last load, as floats
    bool Active() const override { return active; }
    void SetIQMode(bool v) override {
        ++modeCalls;
        iq = v && acceptsIq;
    }
    bool IQMode() const override { return iq; }
    void LoadSamples_S(const float* a, const float* b) override {
        ++loads;
        ch1.assign(a, a + kN);
        ch2.assign(b, b + kN);
    }
    void LoadSamples_INT16(const int16_t* a, const int16_t* b) override {
        ++loads;
        ch1.assign(a, a + kN);
        ch2.assign(b, b + kN);
    }
    double FStart() const override { return fStart; }
    double FEnd() const override { return fEnd; }
    void SetFOffset(int32_t hz) override { offset = hz; }
    void SetReverseSpectrum(bool r) override { reverse = r; }
    void RequestRedraw() override { ++redraws; }
    int redraws = 0;
};

struct FakeRecorder final : Nerix::BlockRecorder {
    int32_t mode = 0;
    std::function<int16_t(int k)> player = [](int) { return int16_t{0}; };
    int played = 0;
    std::vector<std::vector<int16_t>> recorded;
    bool failAdd = false;
    bool PlayingBlocks() const override { return IsPlaying(); }
    bool Recording() const override { return mode == recorder::PlayerMode::Recording; }
    void GetNextSamples(int16_t* block, int32_t n) override {
        for (int k = 0; k < n; ++k)
            block[k] = player(played * kN + k);
        ++played;
    }
    void AddSamples(const int16_t* block, int32_t n) override {
        if (failAdd) runtime::raise(runtime::err::kDeviceIo, "clsWavFile.AddSamples");
        recorded.emplace_back(block, block + n);
    }
    bool IsPlaying() const override {
        return mode == recorder::PlayerMode::Playing || mode == recorder::PlayerMode::PlayingBack;
    }
};

struct FakeEngine final : Nerix::BlockOutput {
    std::vector<int32_t> attenuations;
    std::vector<std::vector<int16_t>> left, right;
    void SetOutputAttenuation(int32_t v) override { attenuations.push_back(v); }
    void Output(const int16_t* l, const int16_t* r, int32_t n) override {
        left.emplace_back(l, l + n);
        right.emplace_back(r, r + n);
    }
};

// What the start-up makes that the receive path runs on (the receiver state over the built libraries,
// the filter bank, the oscillator, the block stopwatch), and the front panel's filter set-up.
struct StartupParts : DspLibraries {
    StartupParts() : bank(Nerix::CreateFilterBank(wrappers, 12000)) { nco.InitNCO(30, 16, 2048); }
    // The receiver as the program's load leaves it: USB-width filter edges, AGC on with the
    // peak history preset, so levels settle as they do in the program.
    void presetReceiver(bool iq) {
        state.IQMode = iq;
        state.FilterLo = 300;
        state.FilterHi = 3000;
        state.AGCOn = true;
        MouseOverS::SetAGCAttack(state, wrappers, 50);
        MouseOverS::SetAGCDecay(state, 20);
        std::fill(state.AgcPeakHistory.begin(), state.AgcPeakHistory.begin() + state.AgcHistoryLength,
                  16383.0f);
    }
    // The mode's button, then the filters it designs, with the BFO at 0.
    void setMode(int32_t mode) {
        MouseOverS::SetBFO(state, 0.0f);
        setup.SelectMode(mode);
        setup.MakeFilters();
    }
    std::unique_ptr<Nerix::FilterBank> bank;
    Nerix::NCO nco{wrappers};
    runtime::testing::FakePerformanceCounter counter{1'000'000};
    Profiler profiler{counter};
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    frontpanel::FilterSetup setup{state, *bank, tables};
};

struct DriverRig : StartupParts {
    explicit DriverRig(int32_t mode, bool iq = true) {
        presetReceiver(iq);
        vfo.setRXMinFreq(0);
        vfo.setRxMaxFreq(200'000'000);
        vfo.setOscType(&osc);
        setMode(mode);
    }
    // Runs blocks of an I/Q pair (or one channel in b = 0) through DataReady; the last played block.
    std::vector<int16_t> run(const std::function<std::pair<double, double>(double t)>& iqAt, int blocks = 8) {
        std::vector<int16_t> a(kN), b(kN);
        for (int n = 0; n < blocks; ++n) {
            for (int k = 0; k < kN; ++k) {
                const auto [i, q] = iqAt(double(sample + k) / kFs);
                a[k] = int16_t(std::lround(i));
                b[k] = int16_t(std::lround(q));
            }
            sample += kN;
            drivers.DataReady(a, b, kN);
        }
        return engine.left.empty() ? std::vector<int16_t>{} : engine.left.back();
    }
    int64_t sample = 0;
    profile::MemorySettingsStore store;
    clsVFO vfo{store};
    StubOscillator osc;
    FakeDisplay display;
    FakeRecorder recorder;
    FakeEngine engine;
    // The VFO in use, asked at each call as the program's slot is; a test may hand it another slot.
    std::function<clsVFO*()> currentVfo = [this] { return &vfo; };
    frontpanel::CurrentVfo tuning{[this] { return currentVfo(); },
                                  frontpanel::CurrentVfo::Absent::ReadsNothing};
    Nerix::ReceivePath path{
        state, wrappers, *bank,
        nco,   profiler, Nerix::ReceivePathPorts{&display, &recorder, &engine, nullptr, &tuning}};
    Nerix::ReceiveChain& chain = path.Chain();
    Nerix::BlockDrivers& drivers = path.Drivers();
};

// A station at hz of left + j right (I = cos, Q = sin): positive frequencies lie below the LO, negative
// ones above it (docs/ARCHITECTURE.md, "The I/Q orientation").
inline std::pair<double, double> station(double hz, double t, double amplitude) {
    return {amplitude * std::cos(2 * M_PI * hz * t), amplitude * std::sin(2 * M_PI * hz * t)};
}

inline double level(const std::vector<int16_t>& v, double hz) {
    return toneAmplitude(std::span<const int16_t>(v), hz);
}

} // namespace rig
