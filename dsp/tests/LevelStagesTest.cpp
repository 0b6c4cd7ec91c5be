// Level rings, AGC, output level, noise reduction, peak search and the AF notch.
#include <gtest/gtest.h>

#include <cmath>

#include "dsp/testing/ChainFixture.h"

namespace {

constexpr int kN = 2048;

struct FakeEngine : Nerix::OutputAttenuationSink {
    std::vector<int32_t> values;
    void SetOutputAttenuation(int32_t v) override { values.push_back(v); }
};

void fill(std::vector<float>& v, float value) {
    std::fill(v.begin(), v.begin() + kN, value);
}

void sine(std::vector<float>& v, double amplitude, double hz, int blockNo) {
    for (int k = 0; k < kN; ++k)
        v[k] = float(amplitude * std::sin(2 * M_PI * hz * double(blockNo * kN + k) / 48000.0));
}

// A straight line from 1 down to 0 over L entries, as the attack control writes it.
void weights(ReceiverState& st, int32_t L) {
    st.AgcHistoryLength = L;
    for (int i = 0; i < L; ++i)
        st.AgcHistoryWeights[i] = L == 1 ? 0.0f : 1.0f - float(i) / float(L - 1);
}

} // namespace

TEST(LevelStages, MeasureLevelFillsTheSixAndTwoHundredThirtyFourEntryRings) {
    ChainRig rig;
    auto v = block();
    for (int b = 0; b < 240; ++b) {
        fill(v, float(b % 7 + 1));
        rig.chain->MeasureLevel(v);
    }
    // Block b went to LevelRing[b % 6] and BlockPowerRing[b % 234].
    for (int slot = 0; slot < 6; ++slot) {
        const int b = 234 + slot; // the last block written there
        EXPECT_NEAR(rig.state.LevelRing[(b) % 6], float(b % 7 + 1), 1e-4) << slot;
    }
    EXPECT_NEAR(rig.state.BlockPowerRing[5], 2048.0 * std::pow(239 % 7 + 1, 2), 1e-2);
    EXPECT_EQ(rig.state.BlockPowerRing[234], 0.0f);
    EXPECT_EQ(rig.state.LevelRingIndex, 240 % 6);
    EXPECT_EQ(rig.state.BlockPowerRingIndex, 240 % 234);
}

TEST(Agc, HistoryShiftsOnlyOnNonSilentBlocksAndTheGainFollowsTheWeightedPeak) {
    ChainRig rig;
    ReceiverState& st = rig.state;
    weights(st, 4);
    st.AGCOn = true;
    auto& w = rig.chain->WorkBuffer;
    for (float peak : {100.0f, 400.0f, 0.0f, 200.0f}) {
        fill(w, 0.0f);
        w[77] = -peak; // the negative peak counts
        rig.chain->ApplyAgc(w);
    }
    EXPECT_EQ(st.AgcPeakHistory[0], 200.0f);
    EXPECT_EQ(st.AgcPeakHistory[1], 400.0f);
    EXPECT_EQ(st.AgcPeakHistory[2], 100.0f);
    // Weights 1, 2/3, 1/3, 0: the largest weighted peak is 400 x 2/3.
    EXPECT_NEAR(st.AgcGain, 16383.0 / (400.0 * 2.0 / 3.0), 1e-3);
}

TEST(Agc, RampRunsFromThePreviousGainOverTheRampLengthAndOffLeavesTheBlock) {
    ChainRig rig;
    ReceiverState& st = rig.state;
    weights(st, 2);
    st.AgcRampLength = 96;
    auto& w = rig.chain->WorkBuffer;
    st.AGCOn = false;
    fill(w, 1000.0f);
    rig.chain->ApplyAgc(w);
    EXPECT_EQ(w[0], 1000.0f); // off: not scaled, but the gain is computed and kept
    EXPECT_NEAR(st.AgcGain, 16.383, 1e-4);
    st.AGCOn = true;
    fill(w, 500.0f);
    rig.chain->ApplyAgc(w);
    // History 500, 1000 with weights 1, 0: gain 16383 / 500, reached from 16.383 over 96 samples.
    const double g0 = 16.383, g1 = 16383.0 / 500.0;
    for (int k = 0; k < 96; ++k)
        ASSERT_NEAR(w[k], 500.0 * (g0 + (g1 - g0) * k / 95.0), 0.01) << k;
    for (int k = 96; k < kN; ++k)
        ASSERT_NEAR(w[k], 16383.0, 0.01) << k;
}

TEST(Agc, AllZeroWeightedHistoryFailsTheBlockAndKeepsTheGain) {
    ChainRig rig;
    ReceiverState& st = rig.state;
    st.AgcHistoryLength = 8; // weights left at zero
    st.AgcGain = 3.0f;
    auto& w = rig.chain->WorkBuffer;
    fill(w, 10.0f);
    EXPECT_THROW(rig.chain->ApplyAgc(w), runtime::RuntimeError);
    EXPECT_EQ(st.AgcGain, 3.0f);
    EXPECT_EQ(w[100], 10.0f);
}

TEST(Agc, LengthsOutsideTheTablesAreHeldToThem) {
    struct Case {
        int32_t history, ramp, usedHistory, usedRamp;
    };
    for (const Case c : {Case{0, -5, 1, 0}, Case{-3, 5000, 1, 2048}, Case{9999, 0, 2048, 0}}) {
        ChainRig rig;
        ReceiverState& st = rig.state;
        st.AGCOn = true;
        st.AgcHistoryWeights.fill(1.0f);
        st.AgcPeakHistory.fill(0.0f);
        st.AgcPeakHistory[2046] = 8000.0f; // shifted to the last entry: counts only with the whole table
        st.AgcHistoryLength = c.history;
        st.AgcRampLength = c.ramp;
        auto& w = rig.chain->WorkBuffer;
        fill(w, 100.0f);
        rig.chain->ApplyAgc(w);
        const double gain = c.usedHistory == 2048 ? 16383.0 / 8000.0 : 16383.0 / 100.0;
        EXPECT_NEAR(st.AgcGain, gain, 1e-3) << c.history;
        // The ramp starts from the previous gain, 0.
        EXPECT_NEAR(w[0], c.usedRamp > 0 ? 0.0 : 100.0 * gain, 1e-2) << c.ramp;
        EXPECT_NEAR(w[kN - 1], 100.0 * gain, 1e-2);
    }
}

TEST(Agc, SettlesAfterThirtyDecibelStepsAndNeverExceedsTheLimit) {
    ChainRig rig;
    ReceiverState& st = rig.state;
    weights(st, 12);
    st.AgcRampLength = 96;
    st.AGCOn = true;
    std::fill(st.AgcPeakHistory.begin(), st.AgcPeakHistory.begin() + 12, 16383.0f);
    auto& w = rig.chain->WorkBuffer;
    int blockNo = 0;
    for (double amplitude : {100.0, 3162.3, 100.0}) {
        double settled = 0;
        for (int b = 0; b < 30; ++b, ++blockNo) {
            sine(w, amplitude, 1031.25, blockNo);
            rig.chain->ProcessAudioLevel(w, w);
            const double peak = maxAbs({w.data(), size_t(kN)});
            ASSERT_LE(peak, 16384.0) << amplitude << " " << b;
            settled = peak;
        }
        EXPECT_NEAR(settled, 16383.0, 0.01 * 16383.0) << amplitude;
    }
}

TEST(OutputLevel, GainFactorsScaleTheBlockAttenuationsGoToTheEngine) {
    struct Case {
        float setting;
        float scale;
        int32_t engine;
    };
    for (const Case c : {Case{0.0f, 1.0f, 0}, Case{-2500.0f, 1.0f, -2500}, Case{-2500.5f, 1.0f, -2500},
                         Case{2.0f, 2.0f, 0}}) {
        ChainRig rig;
        FakeEngine engine;
        rig.chain->Ports.Engine = &engine;
        rig.state.OutputAttenuation = c.setting;
        auto v = block();
        fill(v, 1000.0f);
        rig.chain->AudioLC(v);
        EXPECT_EQ(v[5], 1000.0f * c.scale) << c.setting;
        ASSERT_EQ(engine.values.size(), 1u);
        EXPECT_EQ(engine.values[0], c.engine) << c.setting;
    }
}

TEST(OutputLevel, APeakAboveTheLimitScalesTheWholeBlockToIt) {
    ChainRig rig;
    auto v = block();
    fill(v, 1000.0f);
    v[300] = -20000.0f;
    rig.chain->AudioLC(v);
    EXPECT_FLOAT_EQ(v[300], -16384.0f);
    EXPECT_FLOAT_EQ(v[0], 1000.0f * 16384.0f / 20000.0f);
}

TEST(NoiseReduction, OffLeavesTheBlockAndLevelZeroOnlyFiltersIt) {
    ChainRig rig;
    auto v = block(), ref = block();
    const auto noise = randomFloats(kN, 5, 1000.0f);
    std::copy(noise.begin(), noise.end(), v.begin());
    rig.chain->ReduceNoise(v);
    EXPECT_TRUE(std::equal(noise.begin(), noise.end(), v.begin()));
    clsFFTFilter twin(rig.wrappers);
    designLike(twin, rig.bank->NrPostFilter);
    rig.state.NBOn = true;
    rig.state.NbLevel = 0.0f;
    std::copy(noise.begin(), noise.end(), ref.begin());
    rig.chain->ReduceNoise(v);
    twin.Filter_FFT_S_1(ref);
    for (int k = 0; k < kN; ++k)
        ASSERT_NEAR(v[k], ref[k], 0.05f) << k;
}

TEST(NoiseReduction, LowersTheNoiseFloorUnderATone) {
    const double tone = 1031.25; // bin 88 of the 4096-point transform
    double toneLevel[2], noiseLevel[2];
    for (int on = 0; on < 2; ++on) {
        ChainRig rig;
        rig.state.NBOn = true;
        rig.state.NbLevel = on ? 0.2f : 0.0f;
        auto v = block();
        for (int b = 0; b < 4; ++b) {
            const auto noise = randomFloats(kN, 100 + b, 300.0f);
            for (int k = 0; k < kN; ++k)
                v[k] = float(3000.0 * std::sin(2 * M_PI * tone * (b * kN + k) / 48000.0)) + noise[k];
            std::fill(v.begin() + kN, v.end(), 0.0f);
            rig.chain->ReduceNoise(v);
        }
        const std::span<const float> out(v.data(), kN);
        toneLevel[on] = toneAmplitude(out, tone);
        double floor = 0;
        for (double hz = 2000.0; hz < 4000.0; hz += 50.0)
            floor += toneAmplitude(out, hz);
        noiseLevel[on] = floor / 40.0;
    }
    EXPECT_GT(toneLevel[1], 0.7 * toneLevel[0]);
    EXPECT_LT(noiseLevel[1], noiseLevel[0] / 2.0) << noiseLevel[0]; // at least 6 dB lower
}

TEST(NoiseReduction, AnEmptyOrInvertedBandIsLeftAlone) {
    for (int32_t high : {95, 50}) { // a band of 0 bins, and a band whose edges are inverted
        ChainRig rig;
        clsFFTFilter& af = rig.bank->DemodAfFilter;
        af.FLow = 100;
        af.FHigh = high;
        af.MakeFilter();
        ASSERT_LE(af.BinFCount, 0);
        rig.state.NBOn = true;
        rig.state.NbLevel = 0.4f;
        auto v = block(), ref = block();
        const auto noise = randomFloats(kN, 8, 100.0f);
        std::copy(noise.begin(), noise.end(), v.begin());
        std::copy(noise.begin(), noise.end(), ref.begin());
        clsFFTFilter twin(rig.wrappers);
        designLike(twin, rig.bank->NrPostFilter);
        rig.chain->ReduceNoise(v);
        twin.Filter_FFT_S_1(ref);
        for (int k = 0; k < kN; ++k)
            ASSERT_NEAR(v[k], ref[k], 0.02f) << k;
    }
}

TEST(PeakSearch, StoresTheStrongestBinRelativeToTheBandStartAndWraps) {
    ChainRig rig;
    ReceiverState& st = rig.state;
    st.DynFilterActive = true; // the notch stays off
    st.FilterLo = 300;
    st.FilterHi = 3000; // bins 25 .. 249
    st.PeakBinRingIndex = 100;
    auto& w = rig.chain->WorkBuffer;
    sine(w, 1000.0, 100 * 11.71875, 0);
    std::vector<float> before(w.begin(), w.begin() + kN);
    rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
    EXPECT_EQ(st.PeakBinRing[100], 75);
    EXPECT_EQ(st.PeakBinRingIndex, 0);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), w.begin())); // not notched
    sine(w, 1000.0, 25 * 11.71875, 0);
    rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
    EXPECT_EQ(st.PeakBinRing[0], 0);
}

TEST(PeakSearch, AnEmptyOrInvertedBandIsNotSearched) {
    for (int32_t hi : {300, 200, 30000}) {
        ChainRig rig;
        ReceiverState& st = rig.state;
        st.DynFilterActive = true;
        st.FilterLo = 300;
        st.FilterHi = hi;
        auto& w = rig.chain->WorkBuffer;
        sine(w, 1000.0, 23000.0, 0);
        rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
        EXPECT_EQ(st.PeakBinRingIndex, hi > 300 ? 1 : 0) << hi;
        if (hi > 300) {
            EXPECT_EQ(st.PeakBinRing[0], int32_t(23000.0 / 11.71875 + 0.5) - 25);
        }
    }
}

TEST(AfNotch, EqualsRunningTheNotchFilterOnACopyBlockForBlock) {
    ChainRig rig;
    clsFFTFilter& notch = rig.bank->NotchFilter;
    notch.MakeFilter();
    notch.Active = true;
    rig.state.NotchType = 0;
    rig.state.FilterLo = 300;
    rig.state.FilterHi = 3000;
    clsFFTFilter twin(rig.wrappers);
    designLike(twin, notch);
    auto& w = rig.chain->WorkBuffer;
    auto ref = block();
    for (uint32_t b = 0; b < 4; ++b) {
        const auto v = randomFloats(4096, 40 + b, 1000.0f); // the upper half is stale scratch
        std::copy(v.begin(), v.end(), w.begin());
        std::copy(v.begin(), v.end(), ref.begin());
        rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
        twin.Filter_FFT_S_1(ref);
        for (int k = 0; k < kN; ++k)
            ASSERT_NEAR(w[k], ref[k], 0.05f) << b << " " << k;
    }
}

TEST(AfNotch, RemovesATone) {
    ChainRig rig;
    clsFFTFilter& notch = rig.bank->NotchFilter;
    notch.MakeFilter(); // 950 .. 1050
    notch.Active = true;
    auto& w = rig.chain->WorkBuffer;
    for (int b = 0; b < 4; ++b) {
        for (int k = 0; k < kN; ++k)
            w[k] = float(1000.0 * std::sin(2 * M_PI * 1000.0 * (b * kN + k) / 48000.0) +
                         1000.0 * std::sin(2 * M_PI * 2000.0 * (b * kN + k) / 48000.0));
        rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
    }
    const std::span<const float> out(w.data(), kN);
    EXPECT_LT(toneAmplitude(out, 1000.0), 10.0);
    EXPECT_NEAR(toneAmplitude(out, 2000.0), 1000.0, 30.0);
}

TEST(AfNotch, GivesZerosUntilTheNotchIsDesigned) {
    ChainRig rig;
    rig.bank->NotchFilter.Active = true;
    auto& w = rig.chain->WorkBuffer;
    sine(w, 1000.0, 1000.0, 0);
    rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
    EXPECT_EQ(maxAbs({w.data(), size_t(kN)}), 0.0);
}

TEST(NoiseReduction, MatchesTheStepsRunThroughPolarForm) {
    // Reference: the spectrum to magnitude and angle, the three magnitude rules over the band, back
    // to Cartesian form, the inverse transform and the post filter, written out with the standard
    // library's conversions.
    ChainRig rig;
    rig.state.NBOn = true;
    rig.state.NbLevel = 0.2f;
    clsFFTReal fft(rig.wrappers);
    fft.FFTInit(4096);
    clsFFTFilter post(rig.wrappers);
    designLike(post, rig.bank->NrPostFilter);
    const int32_t lo = rig.bank->DemodAfFilter.BinFLow, c = rig.bank->DemodAfFilter.BinFCount;
    auto v = block(), ref = block(), re = block(), im = block();
    for (int b = 0; b < 3; ++b) {
        const auto noise = randomFloats(4096, 60 + b, 300.0f); // the upper half is stale scratch
        for (int k = 0; k < 4096; ++k)
            v[k] = noise[k] +
                   (k < kN ? float(2000.0 * std::sin(2 * M_PI * 1031.25 * (b * kN + k) / 48000.0)) : 0.0f);
        std::copy(v.begin(), v.end(), ref.begin());
        rig.chain->ReduceNoise(v);

        fft.FFT_Real_S_2(ref, re, im);
        std::vector<double> mag(4096), ph(4096);
        for (int i = 0; i < 4096; ++i) {
            mag[i] = std::hypot(double(re[i]), double(im[i]));
            ph[i] = std::atan2(double(im[i]), double(re[i]));
        }
        double M = 0;
        for (int i = lo + 25; i < lo + 25 + c; ++i)
            M = std::max(M, mag[i]);
        const double t = 0.2 * M;
        for (int i = lo + 25; i < lo + 25 + c; ++i) {
            if (mag[i] < t) mag[i] *= 0.02;
            if (mag[i] < t) mag[i] *= 0.15;
        }
        for (int i = lo + 1; i <= lo + c + 24; ++i)
            if (t / 4 > mag[i]) mag[i] *= 0.5;
        for (int i = 0; i < 4096; ++i) {
            re[i] = float(mag[i] * std::cos(ph[i]));
            im[i] = float(mag[i] * std::sin(ph[i]));
        }
        fft.IFFT_Real_S_2(re, im, ref);
        post.Filter_FFT_S_1(ref);
        for (int k = 0; k < kN; ++k)
            ASSERT_NEAR(v[k], ref[k], 0.05f) << b << " " << k;
    }
}

TEST(PeakSearch, SeesTheSpectrumBeforeTheNotch) {
    ChainRig rig;
    ReceiverState& st = rig.state;
    rig.bank->NotchFilter.MakeFilter(); // 950 .. 1050
    rig.bank->NotchFilter.Active = true;
    st.FilterLo = 300;
    st.FilterHi = 3000;
    auto& w = rig.chain->WorkBuffer;
    sine(w, 1000.0, 85 * 11.71875, 0); // 996 Hz, inside the notch
    for (int k = 0; k < kN; ++k)
        w[k] += float(100.0 * std::sin(2 * M_PI * 2000.0 * k / 48000.0));
    rig.chain->AfNotchAndPeakSearch(rig.chain->AudioNotchState());
    EXPECT_EQ(st.PeakBinRing[0], 85 - 25);
    EXPECT_DOUBLE_EQ(rig.chain->AudioNotchState().LastPeakBin, 60.0);
}
