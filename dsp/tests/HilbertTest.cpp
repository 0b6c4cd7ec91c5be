// The Hilbert transformer: pinned taps and gain, the refused tap counts, the two branches 90 degrees apart.
#include "dsp/testing/DspFixture.h"

#include "dsp/clHilbert.h"

namespace {

class Hilbert : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { libs.state.UseSPL = GetParam(); }
    DspLibraries libs;
};

TEST_P(Hilbert, LoadPinsTapsGainAndDelay) {
    clHilbert h(libs.wrappers);
    ASSERT_EQ(h.Load(128, 2048), 0);
    EXPECT_EQ(h.Delay, 64);
    EXPECT_EQ(h.Nzeros, 128);
    EXPECT_NEAR(h.Gain, 0.637445262834479, 1e-14);
    EXPECT_EQ(h.sGain, 0.63744527f);
    const auto taps = h.Coefficients();
    ASSERT_EQ(taps.size(), 129u);
    EXPECT_EQ(taps[0], 0.0f);
    EXPECT_EQ(taps[64], 0.0f);
    EXPECT_EQ(taps[128], 0.0f);
    for (int i = 1; i <= 63; ++i)
        ASSERT_EQ(taps[64 + i], -taps[64 - i]) << i;
    EXPECT_NEAR(taps[63], 0.99873391, 1e-7);
    EXPECT_NEAR(taps[65], -0.99873391, 1e-7);
    EXPECT_NEAR(taps[1], 0.00126984, 1e-8);
    EXPECT_NEAR(taps[127], -0.00126984, 1e-8);
}

TEST_P(Hilbert, DelayBranchDelaysBySixtyFourAcrossBlocks) {
    clHilbert h(libs.wrappers);
    ASSERT_EQ(h.Load(128, 2048), 0);
    std::vector<float> in(2048), out(2048);
    for (int k = 0; k < 2048; ++k)
        in[k] = float(k + 1);
    h.sDelaySamples(in, out, 2048);
    for (int k = 0; k < 64; ++k)
        ASSERT_EQ(out[k], 0.0f);
    for (int k = 64; k < 2048; ++k)
        ASSERT_EQ(out[k], float(k - 63));
    for (int k = 0; k < 2048; ++k)
        in[k] = float(k + 2049);
    h.sDelaySamples(in, out, 2048);
    for (int k = 0; k < 2048; ++k)
        ASSERT_EQ(out[k], float(k + 1985));
}

// Both branches on one stream: the shifted branch is the delayed tone turned by 90 degrees (to a sine,
// in this library's orientation of the kernel), of amplitude 1 within 0.03 dB.
TEST_P(Hilbert, BranchesAreNinetyDegreesApartOnATone) {
    for (double f : {12000.0, 1000.0, 5000.0}) {
        clHilbert shift(libs.wrappers), delay(libs.wrappers);
        ASSERT_EQ(shift.Load(128, 2048), 0);
        ASSERT_EQ(delay.Load(128, 2048), 0);
        std::vector<float> in(2048), t(2048), d(2048);
        const double w = 2 * M_PI * f / 48000;
        for (int block = 0; block < 2; ++block) {
            for (int k = 0; k < 2048; ++k)
                in[k] = float(std::cos(w * (block * 2048 + k)));
            shift.sTransform(in, t, 2048);
            delay.sDelaySamples(in, d, 2048);
        }
        for (int k = 0; k < 2048; ++k) {
            const double n = 2048 + k - 64;
            ASSERT_NEAR(d[k], std::cos(w * n), 1e-6);
            ASSERT_NEAR(t[k], std::sin(w * n), 0.0035) << f << " " << k; // 0.03 dB of 1.0
        }
    }
}

TEST_P(Hilbert, ConstantInputGivesZeroOnceTheHistoryIsFull) {
    clHilbert h(libs.wrappers);
    ASSERT_EQ(h.Load(128, 2048), 0);
    std::vector<float> in(2048, 0.75f), out(2048);
    h.sTransform(in, out, 2048);
    for (int k = 127; k < 2048; ++k)
        ASSERT_NEAR(out[k], 0.0f, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(UseSPL, Hilbert, ::testing::Bool());

// The gain loop of these counts adds only zero taps, so the gain would be a division by zero.
TEST(HilbertLoad, RefusesTapCountsWithoutGainAndStaysUnusable) {
    DspLibraries libs;
    for (int32_t taps : {1, 2, 3, 7, 11, 127}) {
        clHilbert h(libs.wrappers);
        EXPECT_EQ(h.Load(taps, 2048), runtime::err::kDivisionByZero) << taps;
        std::vector<float> in(2048), out(2048);
        EXPECT_THROW(h.sTransform(in, out, 2048), runtime::RuntimeError);
        EXPECT_THROW(h.sDelaySamples(in, out, 2048), runtime::RuntimeError);
    }
    clHilbert h(libs.wrappers);
    ASSERT_EQ(h.Load(128, 2048), 0);
    EXPECT_EQ(h.Load(127, 2048), runtime::err::kDivisionByZero);
    std::vector<float> in(2048), out(2048);
    EXPECT_THROW(h.sTransform(in, out, 2048), runtime::RuntimeError);
    for (int32_t taps : {4, 5, 8, 129})
        EXPECT_EQ(clHilbert(libs.wrappers).Load(taps, 2048), 0) << taps;
}

// A caller's array too short for the taps raises instead of being written past; the smallest counts
// still write the centre tap.
TEST(HilbertLoad, CoefficientsIntoAShortArrayRaise) {
    const struct {
        int32_t points;
        size_t length;
    } cases[] = {{1, 0}, {2, 0}, {3, 1}, {0, 0}, {128, 127}, {129, 127}};
    for (const auto& c : cases) {
        std::vector<double> taps(c.length);
        double gain = 0.0;
        EXPECT_THROW(clHilbert::CalcCoefficients(c.points, taps, gain), runtime::RuntimeError) << c.points;
    }
    std::vector<double> one(1, 5.0);
    double gain = 1.0;
    clHilbert::CalcCoefficients(1, one, gain);
    EXPECT_EQ(one[0], 0.0);
    EXPECT_EQ(gain, 0.0);
}

TEST(HilbertLoad, BlocksOutsideTheLoadedLimitsRaise) {
    DspLibraries libs;
    clHilbert h(libs.wrappers);
    ASSERT_EQ(h.Load(128, 1024), 0);
    std::vector<float> in(4096), out(4096);
    EXPECT_THROW(h.sTransform(in, out, 2048), runtime::RuntimeError);  // above NumSamples
    EXPECT_THROW(h.sTransform(in, out, 100), runtime::RuntimeError);   // below Nzeros
    EXPECT_THROW(h.sDelaySamples(in, out, 10), runtime::RuntimeError); // below Delay
    EXPECT_THROW(h.sTransform(std::span<const float>(in).first(10), out, 1024), runtime::RuntimeError);
}

} // namespace
