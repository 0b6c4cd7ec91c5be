// The audio chain of the receive path in every mode on a single-channel IF at 12 kHz, with the filters
// as the filter set-up designs them for the mode; levels measured by direct correlation.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "mainwindow/tests/DriverRig.h"

namespace {

constexpr int kN = 2048;
constexpr double kFs = 48000.0;
using Signal = std::function<double(double t)>;

// The path with nothing connected: the chain is called directly, block by block.
struct AudioRig : rig::StartupParts {
    explicit AudioRig(int32_t mode, bool hiSide = false) {
        state.FilterLo = 300;
        state.FilterHi = 3000;
        state.HiSideLoActive = hiSide;
        state.AGCOn = true;
        MouseOverS::SetAGCAttack(state, wrappers, 50);
        MouseOverS::SetAGCDecay(state, 20);
        std::fill(state.AgcPeakHistory.begin(), state.AgcPeakHistory.begin() + state.AgcHistoryLength,
                  16383.0f);
        setMode(mode);
    }
    void designNotch(int32_t low, int32_t high, int32_t type) {
        bank->NotchFilter.FLow = low;
        bank->NotchFilter.FHigh = high;
        bank->NotchFilter.MakeFilter();
        bank->NotchFilter.Active = true;
        state.NotchType = type;
    }
    // Runs blocks of the signal through DoDSP and returns the last output block.
    std::vector<int16_t> run(const Signal& s, int blocks = 8) {
        std::vector<int16_t> a(kN), b(kN);
        for (int n = 0; n < blocks; ++n) {
            for (int k = 0; k < kN; ++k)
                a[k] = int16_t(std::lround(s(double(n * kN + k) / kFs)));
            chain.DoDSP(a.data(), b.data(), kN);
        }
        return a;
    }
    Nerix::ReceivePath path{state, wrappers, *bank, nco, profiler, Nerix::ReceivePathPorts{}};
    Nerix::ReceiveChain& chain = path.Chain();
};

double level(const std::vector<int16_t>& v, double hz) {
    return toneAmplitude(std::span<const int16_t>(v), hz);
}

Signal tone(double hz, double amplitude = 8000.0) {
    return [=](double t) { return amplitude * std::cos(2 * M_PI * hz * t); };
}
Signal plus(Signal a, Signal b) {
    return [=](double t) { return a(t) + b(t); };
}
Signal amCarrier(double depth, double audio) {
    return [=](double t) {
        return 8000.0 * (1.0 + depth * std::cos(2 * M_PI * audio * t)) *
               std::cos(2 * M_PI * 12000.0 * t + 0.3);
    };
}
Signal fmCarrier(double deviation, double audio) {
    return [=](double t) {
        return 12000.0 *
               std::cos(2 * M_PI * 12000.0 * t + deviation / audio * std::sin(2 * M_PI * audio * t));
    };
}

} // namespace

TEST(AudioChain, EveryModeBringsTheModulatingToneOutAtItsFrequency) {
    struct Case {
        int32_t mode;
        Signal input;
        double audio;
    };
    const Case cases[] = {
        {0, amCarrier(0.5, 1000), 1000},  {5, amCarrier(0.5, 1000), 1000}, {6, amCarrier(0.5, 1000), 1000},
        {7, amCarrier(0.5, 800), 800},    {1, tone(11000), 1000},          {2, tone(12800), 800},
        {4, fmCarrier(2000, 1000), 1000}, {3, tone(1200), 1200},
    };
    for (const Case& c : cases) {
        AudioRig rig(c.mode);
        const auto out = rig.run(c.input);
        EXPECT_NEAR(strongest(out), c.audio, 30.0) << "mode " << c.mode;
        EXPECT_GT(level(out, c.audio), 1000.0) << "mode " << c.mode;
        EXPECT_FALSE(rig.state.DspBusy);
    }
}

TEST(AudioChain, SidebandsPassTheirOwnSideAndRejectTheOther) {
    // The wanted tone lands on 1000 Hz, the mirror tone would land on 1500 Hz. With the LO on the low
    // side the upper sideband lies below the IF centre, as the IF filter's edges place it.
    struct Case {
        int32_t mode;
        bool hiSide;
        double wanted, mirror;
    };
    for (const Case c : {Case{1, false, 11000, 13500}, Case{1, true, 13000, 10500},
                         Case{2, false, 13000, 10500}, Case{2, true, 11000, 13500}}) {
        AudioRig rig(c.mode, c.hiSide);
        const auto out = rig.run(plus(tone(c.wanted), tone(c.mirror)));
        const double pass = level(out, 1000), reject = level(out, 1500);
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.hiSide);
        EXPECT_GT(pass, 2000.0);
        EXPECT_LT(20 * std::log10(reject / pass), -30.0);
    }
}

TEST(AudioChain, SidebandThroughTheOscillatorWhenTheBfoMovesTheCentre) {
    AudioRig rig(1);
    MouseOverS::SetBFO(rig.state, 500.0f); // low-side LO: centre 11500
    ASSERT_EQ(rig.state.MixerCentre, 11500);
    rig.setup.MakeFilters();
    const auto out = rig.run(plus(tone(10500), tone(13000)));
    EXPECT_LT(20 * std::log10(level(out, 1500) / level(out, 1000)), -30.0);
    EXPECT_GT(level(out, 1000), 2000.0);
}

TEST(AudioChain, IfAndAfNotchesRemoveATone) {
    struct Case {
        int32_t low, high, type;
    };
    for (const Case c : {Case{10950, 11050, 1}, Case{950, 1050, 0}}) {
        AudioRig rig(1);
        rig.designNotch(c.low, c.high, c.type);
        const auto out = rig.run(plus(tone(11000), tone(10300)));
        SCOPED_TRACE(c.type);
        EXPECT_GT(level(out, 1700), 2000.0);
        EXPECT_LT(20 * std::log10(level(out, 1000) / level(out, 1700)), -30.0);
    }
}

TEST(AudioChain, NoiseReductionLowersTheNoiseFloorUnderATone) {
    double snr[2];
    for (int on = 0; on < 2; ++on) {
        AudioRig rig(1);
        rig.state.NBOn = on == 1;
        MouseOverS::SetNB(rig.state, 5000.0f, 10000.0f, 0.0f); // 0.2
        std::mt19937 rng(9);
        std::normal_distribution<double> noise(0.0, 1500.0);
        const auto out =
            rig.run([&](double t) { return 6000.0 * std::cos(2 * M_PI * 11000.0 * t) + noise(rng); });
        double floor = 0;
        for (double hz = 1800; hz < 2800; hz += 50)
            floor += level(out, hz) / 20.0;
        snr[on] = 20 * std::log10(level(out, 1000) / floor);
    }
    EXPECT_GT(snr[1] - snr[0], 6.0) << snr[0];
}

TEST(AudioChain, FeedsTheDisplayAtTheChosenPointAndSendsTheEngineItsAttenuation) {
    struct Scope : Nerix::SpectrumSink {
        bool Active() const override { return true; }
        void SetIQMode(bool iq) override { iqMode = iq; }
        bool IQMode() const override { return iqMode; }
        void LoadSamples_S(const float* a, const float* b) override {
            ch1.assign(a, a + kN);
            ch2.assign(b, b + kN);
        }
        void LoadSamples_INT16(const int16_t*, const int16_t*) override { ADD_FAILURE(); }
        double FStart() const override { return 0; }
        double FEnd() const override { return 24000; }
        void SetFOffset(int32_t hz) override { offset = hz; }
        void SetReverseSpectrum(bool r) override { reverse = r; }
        void RequestRedraw() override {}
        bool iqMode = true, reverse = false;
        int32_t offset = 0;
        std::vector<float> ch1, ch2;
    } scope;
    struct Tuning : TuningPort {
        int32_t TunedFrequency() const override { return 71000005; }
        std::optional<double> OscillatorBase() const override { return std::nullopt; }
        int32_t IFFrequency() const override { return 0; }
        void SetHiSideLo(bool) override {}
    } tuning;
    struct Engine : Nerix::OutputAttenuationSink {
        int32_t last = 1;
        void SetOutputAttenuation(int32_t v) override { last = v; }
    } engine;
    AudioRig rig(1, true);
    rig.chain.Ports = {&scope, nullptr, &tuning, &engine};
    rig.state.ScopeSource = 1;
    rig.state.OutputAttenuation = -2500.0f;
    const auto in = tone(11000);
    rig.run(in, 1);
    EXPECT_FALSE(scope.iqMode);
    EXPECT_TRUE(scope.reverse);
    EXPECT_EQ(scope.offset, 7088000);              // 7100000.5 - 12000, the half to even
    EXPECT_NEAR(scope.ch1[10], in(10 / kFs), 0.5); // before the IF filter (off here, so both alike)
    EXPECT_EQ(engine.last, -2500);
}

TEST(AudioChain, AFailingDisplayNeverSilencesTheAudio) {
    struct BrokenScope : Nerix::SpectrumSink {
        bool Active() const override { return true; }
        void SetIQMode(bool) override { runtime::raise(runtime::err::kObjectNotSet, "scope"); }
        bool IQMode() const override { return false; }
        void LoadSamples_S(const float*, const float*) override {
            runtime::raise(runtime::err::kObjectNotSet, "scope");
        }
        void LoadSamples_INT16(const int16_t*, const int16_t*) override {
            runtime::raise(runtime::err::kObjectNotSet, "scope");
        }
        double FStart() const override { return 0; }
        double FEnd() const override { return 0; }
        void SetFOffset(int32_t) override {}
        void SetReverseSpectrum(bool) override {}
        void RequestRedraw() override {}
    } broken;
    AudioRig plain(1), withScope(1);
    withScope.chain.Ports.Spectrum = &broken;
    withScope.state.ScopeSource = 2;
    const auto a = plain.run(tone(11000), 3), b = withScope.run(tone(11000), 3);
    EXPECT_EQ(a, b);
    EXPECT_GT(level(b, 1000), 2000.0);
    EXPECT_FALSE(withScope.state.DspBusy);
}
