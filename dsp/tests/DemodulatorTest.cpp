// The detectors on synthetic signals, measured by direct correlation and against reference filters.
#include <gtest/gtest.h>

#include <cmath>

#include "dsp/testing/ChainFixture.h"

namespace {

constexpr int kN = 2048;
constexpr double kFs = 48000.0;

std::span<const float> head(const std::vector<float>& v) {
    return {v.data(), size_t(kN)};
}

} // namespace

TEST(Demodulators, AmGivesTheSquaredEnvelopeSoTheSecondHarmonicIsAnEighthOfTheTone) {
    ChainRig rig;
    const double A = 100.0, m = 0.5, tone = 1000.0, phi = 0.7;
    auto I = block(), Q = block(), out = block();
    for (int b = 0; b < 4; ++b) {
        for (int k = 0; k < kN; ++k) {
            const double t = double(b * kN + k) / kFs;
            const double e = A * (1.0 + m * std::cos(2 * M_PI * tone * t));
            I[k] = float(e * std::cos(phi));
            Q[k] = float(e * std::sin(phi));
        }
        rig.chain->DemodAm(I, Q, out);
    }
    // e^2 = A^2 (1 + m^2/2 + 2m cos wt + m^2/2 cos 2wt): 1 kHz at A^2, 2 kHz at A^2/8.
    const double a1 = toneAmplitude(head(out), tone), a2 = toneAmplitude(head(out), 2 * tone);
    EXPECT_NEAR(a1, A * A, 0.03 * A * A);
    EXPECT_NEAR(a2 / a1, 0.125, 0.006);
}

TEST(Demodulators, BcOnACarrierAtAQuarterOfTheRateIsRootThreeOverSixWhateverThePhase) {
    // The audio filter is opened down to DC so the detector's level can be read through it, against
    // a twin filter run on the level the formula gives.
    for (double phase : {0.0, 0.4, 1.1, 2.5}) {
        ChainRig rig;
        clsFFTFilter& af = rig.bank->DemodAfFilter;
        af.FLow = 0;
        af.FHigh = 4500;
        af.MakeFilter();
        clsFFTFilter twin(rig.wrappers);
        designLike(twin, af);
        const double A = 3000.0;
        auto v = block(), ref = block();
        for (int b = 0; b < 3; ++b) {
            for (int k = 0; k < kN; ++k)
                v[k] = float(A * std::cos(2 * M_PI * 12000.0 * (b * kN + k) / kFs + phase));
            rig.chain->DemodBc(v, v, kN);
            std::fill(ref.begin(), ref.begin() + kN, float(A * std::sqrt(3.0) / 6.0));
            twin.Filter_FFT_S_1(ref);
        }
        for (int k = 0; k < kN; ++k)
            ASSERT_NEAR(v[k], ref[k], 1e-3 * A) << phase << " " << k;
        EXPECT_NEAR(ref[kN / 2], A * std::sqrt(3.0) / 6.0, 0.01 * A); // the twin passes DC
    }
}

TEST(Demodulators, FmOutputIsLinearInTheDeviation) {
    const double tone = 1000.0;
    std::vector<double> perHz;
    for (double dev : {100.0, 200.0, 400.0, 700.0}) { // phase swings below pi/4
        ChainRig rig;
        auto I = block(), Q = block(), out = block();
        double phase = M_PI / 4; // off the angle's wrap
        for (int b = 0; b < 4; ++b) {
            for (int k = 0; k < kN; ++k) {
                const double t = double(b * kN + k) / kFs;
                phase += 2 * M_PI * (12000.0 + dev * std::cos(2 * M_PI * tone * t)) / kFs;
                I[k] = float(1000.0 * std::cos(phase));
                Q[k] = float(1000.0 * std::sin(phase));
            }
            rig.chain->DemodFm(I, Q, out);
        }
        perHz.push_back(toneAmplitude(head(out), tone) / dev);
    }
    for (double r : perHz)
        EXPECT_NEAR(r / perHz[0], 1.0, 0.03);
    // One difference in four crosses the angle's wrap and counts with the opposite sign (the phase is
    // not unwrapped), so the audio carries half of the phase step per hertz, scaled by 4096.
    const double step = 4096.0 * 2 * M_PI / kFs;
    EXPECT_NEAR(perHz[0], step / 2, 0.03 * step / 2);
}

TEST(Demodulators, SamIsTwiceTheInPhaseSidebandFilterOutput) {
    ChainRig rig;
    for (clsFFTFilter* f : {&rig.bank->SsbFilterI, &rig.bank->SsbFilterQ}) {
        f->FLow = 300;
        f->FHigh = 3000;
        f->MakeFilter();
    }
    clsFFTFilter twin(rig.wrappers);
    designLike(twin, rig.bank->SsbFilterI);
    auto I = block(), Q = block(), out = block(), ref = block();
    for (uint32_t b = 0; b < 3; ++b) {
        const auto i = randomFloats(kN, 10 + b, 1000.0f), q = randomFloats(kN, 20 + b, 1000.0f);
        std::copy(i.begin(), i.end(), I.begin());
        std::copy(q.begin(), q.end(), Q.begin());
        std::copy(i.begin(), i.end(), ref.begin());
        rig.chain->DemodSam(I, Q, out);
        twin.Filter_FFT_S_1(ref);
        for (int k = 0; k < kN; ++k)
            ASSERT_NEAR(out[k], 2.0f * ref[k], 0.05f) << b << " " << k;
    }
}

TEST(Demodulators, SsbSumAndDifferenceOfTheFilteredPair) {
    ChainRig rig;
    for (clsFFTFilter* f : {&rig.bank->SsbFilterI, &rig.bank->SsbFilterQ}) {
        f->FLow = 300;
        f->FHigh = 3000;
        f->MakeFilter();
    }
    clsFFTFilter ti(rig.wrappers), tq(rig.wrappers);
    designLike(ti, rig.bank->SsbFilterI);
    designLike(tq, rig.bank->SsbFilterQ);
    const auto i = randomFloats(kN, 3, 500.0f), q = randomFloats(kN, 4, 500.0f);
    for (bool sum : {true, false}) {
        auto I = block(), Q = block(), out = block(), ri = block(), rq = block();
        std::copy(i.begin(), i.end(), I.begin());
        std::copy(q.begin(), q.end(), Q.begin());
        std::copy(i.begin(), i.end(), ri.begin());
        std::copy(q.begin(), q.end(), rq.begin());
        rig.chain->DemodSsb(I, Q, out, sum);
        ti.Filter_FFT_S_1(ri);
        tq.Filter_FFT_S_1(rq);
        for (int k = 0; k < kN; ++k)
            ASSERT_NEAR(out[k], sum ? ri[k] + rq[k] : ri[k] - rq[k], 0.02f) << k;
    }
}

TEST(Demodulators, DetectorsRefuseBlocksShorterThanTheirWork) {
    ChainRig rig;
    auto shortBlock = block(100), full = block();
    EXPECT_THROW(rig.chain->DemodAm(shortBlock, full, full), runtime::RuntimeError);
    EXPECT_THROW(rig.chain->DemodBc(full, shortBlock, kN), runtime::RuntimeError);
    EXPECT_THROW(rig.chain->DemodFm(full, full, shortBlock), runtime::RuntimeError);
}
