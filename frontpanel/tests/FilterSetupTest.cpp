// The filter set-up and the mode's effect on the bank, against the front panel's tables.
#include <gtest/gtest.h>

#include "dsp/testing/ChainFixture.h"
#include "frontpanel/FilterSetup.h"
#include "platform/runtime/Hooks.h"

namespace {

struct SetupRig : DspLibraries {
    SetupRig() : bank(Nerix::CreateFilterBank(wrappers, 12000)), tables(frontpanel::DefaultFilterTables()) {
        state.MixerCentre = 12500;
        state.FilterHi = 3000;
        state.FilterLo = 300;
    }
    std::unique_ptr<Nerix::FilterBank> bank;
    frontpanel::FilterTables tables;
    frontpanel::FilterSetup setup{state, *bank, tables};
};

} // namespace

TEST(FilterTables, StartUpContents) {
    const auto t = frontpanel::DefaultFilterTables();
    const int32_t af[5][2] = {{5000, 50}, {600, 200}, {2300, 300}, {3000, 300}, {4000, 240}};
    for (int r = 0; r < 5; ++r) {
        const auto& p = t.AfFilterPreset[r];
        EXPECT_EQ(p.DefaultHi, af[r][0]);
        EXPECT_EQ(p.Hi, af[r][0]);
        EXPECT_EQ(p.SavedHi, af[r][0]);
        EXPECT_EQ(p.DefaultLo, af[r][1]);
        EXPECT_EQ(p.Lo, af[r][1]);
        EXPECT_EQ(p.SavedLo, af[r][1]);
        EXPECT_FALSE(p.Music);
    }
    EXPECT_EQ(t.AfFilterPreset[5].DefaultHi, 0);
    const int32_t rows[8][2] = {{4500, 4500},   {6000, 0},    {0, 6000},    {5500, 5500},
                                {10000, 10000}, {5500, 5500}, {4500, 4500}, {4500, 4500}};
    for (int mode = 0; mode < 3; ++mode)
        for (int d = 0; d < 9; ++d) {
            const auto& r = t.IfFilterTable[mode][d];
            const bool filled = mode > 0 && d < 8;
            EXPECT_EQ(r.Hi, filled ? rows[d][0] : 0) << mode << d;
            EXPECT_EQ(r.Lo, filled ? rows[d][1] : 0) << mode << d;
            EXPECT_EQ(r.DefaultHi, r.Hi);
            EXPECT_EQ(r.DefaultLo, r.Lo);
        }
}

TEST(MakeFilters, IfFilterEdgesFollowModeIfFilterModeAndSideband) {
    // C 12500, AF 300..3000, table rows as at start-up. -1 marks edges left as they were (9000/9100).
    struct Case {
        int32_t demod, ifMode;
        bool upper;
        int32_t high, low;
    };
    const Case cases[] = {
        {0, 0, false, 15500, 9500},  {0, 1, false, 17000, 8000},  {0, 2, true, 15500, 9500},
        {5, 1, false, 18000, 7000},  {6, 2, false, 15500, 9500},  {7, 1, false, 17000, 8000},
        {1, 0, true, -1, -1},        {1, 1, true, 18500, 12500},  {1, 1, false, 12500, 6500},
        {1, 2, true, 15500, 12800},  {1, 2, false, 12200, 9500},  {2, 0, false, -1, -1},
        {2, 1, true, 6500, 12500},   {2, 1, false, 12500, 18500}, {2, 2, true, 12200, 9500},
        {2, 2, false, 15500, 12800}, {3, 1, false, 15500, 9500},  {4, 0, false, 22500, 2500},
        {4, 1, true, 22500, 2500},   {4, 2, false, 22500, 2500},
    };
    for (const Case& c : cases) {
        for (bool iq : {false, true}) {
            SetupRig rig;
            rig.state.DemodMode = c.demod;
            rig.state.IFFilterMode = c.ifMode;
            rig.state.IQMode = iq;
            (iq ? rig.state.IQSelectUpper : rig.state.HiSideLoActive) = c.upper;
            rig.bank->IfFilter.FHigh = 9100;
            rig.bank->IfFilter.FLow = 9000;
            rig.setup.MakeFilters();
            SCOPED_TRACE(testing::Message() << c.demod << " " << c.ifMode << " " << c.upper << " " << iq);
            EXPECT_EQ(rig.bank->IfFilter.FHigh, c.high < 0 ? 9100 : c.high);
            EXPECT_EQ(rig.bank->IfFilter.FLow, c.low < 0 ? 9000 : c.low);
        }
    }
}

TEST(MakeFilters, QuadraturePhasesAndTheEdgesOfTheOtherFilters) {
    struct Case {
        int32_t demod;
        int32_t amHigh, amLow; // -1: left as they were (6000/0 from start-up)
        bool amQ;
    };
    for (const Case c : {Case{0, 15500, 9500, true}, Case{6, 14000, 10000, true}, Case{7, 3000, 0, false},
                         Case{1, -1, -1, true}, Case{4, -1, -1, true}}) {
        SetupRig rig;
        rig.state.DemodMode = c.demod;
        rig.setup.MakeFilters();
        const Nerix::FilterBank& b = *rig.bank;
        SCOPED_TRACE(c.demod);
        EXPECT_FALSE(b.IqCorrectionFilterI.QPhase);
        EXPECT_EQ(b.IqCorrectionFilterI.FHigh, 23999);
        EXPECT_EQ(b.IqCorrectionFilterI.FLow, 0);
        EXPECT_TRUE(b.HilbertFilter1.QPhase);
        EXPECT_EQ(b.HilbertFilter1.FHigh, 23999);
        EXPECT_FALSE(b.IQAMFilterI.QPhase);
        EXPECT_EQ(b.IQAMFilterI.FHigh, c.amHigh < 0 ? 6000 : c.amHigh);
        EXPECT_EQ(b.IQAMFilterI.FLow, c.amLow < 0 ? 0 : c.amLow);
        EXPECT_EQ(b.IQAMFilterQ.QPhase, c.amQ);
        EXPECT_EQ(b.IQAMFilterQ.FHigh, b.IQAMFilterI.FHigh);
        EXPECT_EQ(b.IQAMFilterQ.FLow, b.IQAMFilterI.FLow);
        for (const clsFFTFilter* f : {&b.DemodAfFilter, &b.NrPostFilter, &b.SsbFilterI, &b.SsbFilterQ}) {
            EXPECT_EQ(f->FHigh, 3000);
            EXPECT_EQ(f->FLow, 300);
        }
        EXPECT_FALSE(b.SsbFilterI.QPhase);
        EXPECT_TRUE(b.SsbFilterQ.QPhase);
        EXPECT_EQ(b.AfFilter.FHigh, 4500); // not the set-up's
        EXPECT_EQ(b.NotchFilter.FLow, 950);
    }
}

TEST(MakeFilters, DesignsTheSidebandPairSoItNoLongerOutputsZeros) {
    SetupRig rig;
    rig.state.DemodMode = 1;
    rig.setup.MakeFilters();
    clsFFTFilter twin(rig.wrappers);
    designLike(twin, rig.bank->SsbFilterQ);
    std::vector<float> a(2048), b(2048);
    rig.bank->SsbFilterQ.GetFilterCoeffs_T_S(a);
    twin.GetFilterCoeffs_T_S(b);
    EXPECT_EQ(a, b);
    EXPECT_GT(maxAbs(a), 0.0);
}

TEST(MakeFilters, WaitsPumpingWhileTheChainIsBusyAndRefusesANestedCall) {
    SetupRig rig;
    rig.state.DemodMode = 1;
    rig.state.DspBusy = true;
    int pumps = 0;
    runtime::ScopedHooks hooks({.doEvents = [&] {
        ++pumps;
        rig.setup.MakeFilters(); // nested: returns at once
        if (pumps == 3) rig.state.DspBusy = false;
    }});
    rig.setup.MakeFilters();
    EXPECT_GE(pumps, 3);
    std::vector<float> taps(2048);
    rig.bank->SsbFilterQ.GetFilterCoeffs_T_S(taps);
    EXPECT_GT(maxAbs(taps), 0.0); // the rebuild went on to the end once the chain was idle
}

// A block that stays busy through the pumps is suspended below the rebuild on this one thread: the rebuild
// stops instead of spinning and leaves the housekeeping tick a rebuild to do.
TEST(MakeFilters, StopsWithFiltersDirtyWhenABlockIsHeldBelowIt) {
    SetupRig rig;
    rig.state.DemodMode = 1;
    rig.state.DspBusy = true;
    int pumps = 0;
    runtime::ScopedHooks hooks({.doEvents = [&] { ++pumps; }});
    EXPECT_FALSE(rig.setup.MakeFilters());
    EXPECT_EQ(pumps, frontpanel::FilterSetup::kHeldBelowPumps);
    EXPECT_TRUE(rig.state.FiltersDirty);
    rig.state.DspBusy = false;
    rig.state.FiltersDirty = false;
    EXPECT_TRUE(rig.setup.MakeFilters());
    EXPECT_FALSE(rig.state.FiltersDirty);
}

TEST(MakeFilters, AFailingDesignEndsTheRebuildThereAndTheNextCallRunsAgain) {
    SetupRig rig;
    rig.state.DemodMode = 6;
    rig.bank->HilbertFilter1.HzPerBin = 0.0; // its design fails
    rig.setup.MakeFilters();
    EXPECT_EQ(rig.bank->IqCorrectionFilterI.FHigh, 23999); // before the failure
    EXPECT_EQ(rig.bank->IQAMFilterI.FHigh, 6000);          // after it: untouched
    rig.bank->HilbertFilter1.HzPerBin = 11.71875;
    rig.setup.MakeFilters();
    EXPECT_EQ(rig.bank->IQAMFilterI.FHigh, 14000);
}

TEST(MakeFilters, AnEdgePastThe32BitRangeEndsTheRebuildAndTheNextCallRunsAgain) {
    SetupRig rig;
    rig.state.DemodMode = 0;
    rig.state.IFFilterMode = 2;
    rig.state.FilterHi = INT32_MAX; // the centre plus this is no 32-bit edge
    const int32_t before = rig.bank->IqCorrectionFilterI.FHigh;
    rig.setup.MakeFilters();
    EXPECT_EQ(rig.bank->IqCorrectionFilterI.FHigh, before); // the rebuild ended before it
    rig.state.FilterHi = 3000;
    rig.setup.MakeFilters();
    EXPECT_EQ(rig.bank->IfFilter.FHigh, 15500);
    EXPECT_EQ(rig.bank->IfFilter.FLow, 9500);
    EXPECT_EQ(rig.bank->IqCorrectionFilterI.FHigh, 23999);
}

TEST(MakeFilters, HandsTheIfFilterCoefficientsToTheDisplay) {
    struct Curve : frontpanel::FilterCurveSink {
        std::vector<float> got;
        void LoadFilterCoeffs_T_S(const float* c, int32_t n) override { got.assign(c, c + n); }
    } curve;
    SetupRig rig;
    frontpanel::FilterSetup setup(rig.state, *rig.bank, rig.tables, &curve);
    setup.MakeFilters();
    std::vector<float> taps(2048);
    rig.bank->IfFilter.GetFilterCoeffs_T_S(taps);
    EXPECT_EQ(curve.got, taps);
}

TEST(ModeSelection, SwitchesTheFiltersEachModeRuns) {
    // DemodAfFilter, IqCorrectionFilterI, HilbertFilter1, SsbFilterI, SsbFilterQ
    const bool table[8][5] = {
        {1, 1, 1, 0, 0}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {0, 0, 0, 0, 0},
        {1, 1, 1, 0, 0}, {1, 1, 1, 0, 0}, {1, 1, 1, 0, 0}, {1, 1, 1, 0, 0},
    };
    SetupRig rig;
    const Nerix::FilterBank& b = *rig.bank;
    for (int mode : {3, 0, 1, 2, 4, 5, 6, 7, 3}) {
        rig.state.FiltersDirty = false;
        rig.setup.SelectMode(mode);
        EXPECT_EQ(rig.state.DemodMode, mode);
        EXPECT_TRUE(rig.state.FiltersDirty);
        const bool got[5] = {b.DemodAfFilter.Active, b.IqCorrectionFilterI.Active, b.HilbertFilter1.Active,
                             b.SsbFilterI.Active, b.SsbFilterQ.Active};
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(got[k], table[mode][k]) << mode << " " << k;
        EXPECT_TRUE(b.HilbertFilter1.QPhase);
        EXPECT_TRUE(b.HilbertFilter1.NormaliseGain);
        EXPECT_FALSE(b.IfFilter.Active); // follows the IF filter switch only
    }
    EXPECT_THROW(rig.setup.SelectMode(8), runtime::RuntimeError);
}
