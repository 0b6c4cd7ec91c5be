// The filter bank as made at start-up: every filter's settings, which are designed, and the Hilbert pair.
#include <gtest/gtest.h>

#include "dsp/testing/ChainFixture.h"

namespace {

struct Row {
    clsFFTFilter Nerix::FilterBank::*filter;
    const char* name;
    int32_t low, high;
    bool qPhase, normalise, reject, designed;
    int32_t window;
};

bool anyNonZero(const clsFFTFilter& f) {
    std::vector<float> taps(size_t(f.Points));
    const_cast<clsFFTFilter&>(f).GetFilterCoeffs_T_S(taps);
    return std::any_of(taps.begin(), taps.end(), [](float t) { return t != 0.0f; });
}

} // namespace

TEST(FilterBank, EveryFilterHasItsCreationSettings) {
    using B = Nerix::FilterBank;
    const Row rows[] = {
        {&B::DemodAfFilter, "", 100, 4500, false, true, false, true, 2},
        {&B::NrPostFilter, "", 100, 4500, false, true, false, true, 2},
        {&B::AfFilter, "", 100, 4500, false, true, false, true, 2},
        {&B::IfFilter, "", 7500, 16500, false, false, false, true, 0},
        {&B::IfFilter2, "", 7500, 16500, false, false, false, true, 0},
        {&B::IqCorrectionFilterI, "", 0, 23980, false, true, false, true, 2},
        {&B::HilbertFilter1, "HilbertFilter1", 0, 23980, true, true, false, true, 2},
        {&B::CarrierFilter, "", 11950, 12050, false, true, false, true, 2},
        {&B::IQAMFilterI, "IQAMFilterI", 0, 6000, false, true, false, true, 2},
        {&B::IQAMFilterQ, "IQAMFilterQ", 0, 6000, false, true, false, true, 2},
        {&B::WideFilterI, "", 0, 23000, false, true, false, true, 2},
        {&B::WideFilterQ, "", 0, 23000, true, true, false, true, 2},
        {&B::SsbFilterI, "", 300, 2300, false, true, false, false, 2},
        {&B::SsbFilterQ, "", 300, 2300, true, true, false, false, 2},
        {&B::NotchFilter, "", 950, 1050, false, true, true, false, 1},
        {&B::NotchFilter2, "", 950, 1050, false, true, true, false, 1},
    };
    DspLibraries libs;
    const auto bank = Nerix::CreateFilterBank(libs.wrappers, 12000);
    for (const Row& r : rows) {
        const clsFFTFilter& f = (*bank).*(r.filter);
        SCOPED_TRACE(testing::Message() << r.low << ".." << r.high << " " << r.name);
        EXPECT_EQ(f.Name, r.name);
        EXPECT_EQ(f.FLow, r.low);
        EXPECT_EQ(f.FHigh, r.high);
        EXPECT_EQ(f.QPhase, r.qPhase);
        EXPECT_EQ(f.NormaliseGain, r.normalise);
        EXPECT_EQ(f.BandReject, r.reject);
        EXPECT_EQ(f.WindowType, r.window);
        EXPECT_EQ(f.Points, 2048);
        EXPECT_EQ(f.SegmentSize, 4096);
        EXPECT_EQ(f.FSampling, 48000);
        EXPECT_DOUBLE_EQ(f.PhaseAngle, 0.0);
        EXPECT_FALSE(f.Active);
        EXPECT_EQ(anyNonZero(f), r.designed);
    }
}

TEST(FilterBank, UndesignedNotchTurnsABlockIntoZerosAndTheHilbertPairIsLoaded) {
    DspLibraries libs;
    const auto bank = Nerix::CreateFilterBank(libs.wrappers, 12000);
    auto v = block();
    const auto x = randomFloats(2048, 1, 1000.0f);
    std::copy(x.begin(), x.end(), v.begin());
    bank->NotchFilter.Filter_FFT_S_1(v);
    EXPECT_EQ(maxAbs({v.data(), 2048}), 0.0);
    std::vector<float> out(2048);
    EXPECT_NO_THROW(bank->FmHilbertShift.sTransform(x, out, 2048));
    EXPECT_NO_THROW(bank->FmHilbertDelay.sDelaySamples(x, out, 2048));
}
