// The knob apply routines that set what the receive chain reads.
#include <gtest/gtest.h>

#include <cmath>

#include "dsp/testing/DspFixture.h"
#include "frontpanel/KnobApply.h"

TEST(KnobApply, BfoSetsTheOffsetTheMixerCentreAndTheOscillatorIncrement) {
    struct Case {
        float value;
        bool hiSide, iq, upper;
        int32_t offset, centre;
    };
    const Case cases[] = {
        {1000.0f, true, false, false, 1000, 13000},   {0.0f, true, false, false, 0, 12000},
        {1000.0f, false, false, false, -1000, 11000}, {1000.0f, false, true, false, -1000, 13000},
        {1000.0f, false, true, true, -1000, 11000},   {2.5f, true, false, false, 2, 12002},
        {-3.5f, true, false, false, -4, 11996},
    };
    for (const Case& c : cases) {
        ReceiverState st;
        st.HiSideLoActive = c.hiSide;
        st.IQMode = c.iq;
        st.IQSelectUpper = c.upper;
        EXPECT_EQ(MouseOverS::SetBFO(st, c.value), c.offset) << c.value;
        EXPECT_EQ(st.BfoOffset, c.offset);
        EXPECT_EQ(st.MixerCentre, c.centre) << c.value << c.hiSide << c.iq << c.upper;
        EXPECT_EQ(st.NcoIncrement, int32_t(std::floor(std::ldexp(1.0, 30) / 48000.0 * c.centre + 0.5)));
        EXPECT_TRUE(st.FiltersDirty);
    }
    ReceiverState st;
    MouseOverS::SetBFO(st, 0.0f);
    EXPECT_EQ(st.NcoIncrement, 268435456);
}

TEST(KnobApply, IfShiftMovesTheCentreAndLeavesTheIncrement) {
    ReceiverState st;
    st.NcoIncrement = 77;
    MouseOverS::SetIFShift(st, 500.0f);
    EXPECT_EQ(st.MixerCentre, 12500);
    EXPECT_EQ(st.NcoIncrement, 77);
    EXPECT_TRUE(st.FiltersDirty);
}

TEST(KnobApply, VolumeSetsGainAttenuationOrNothing) {
    struct Case {
        float value;
        float attenuation;
        const char* caption; // nullptr: unchanged
    };
    const Case cases[] = {
        {-30.0f, 123.0f, nullptr}, {-100.0f, -100.0f, "-0.0"}, {-1000.0f, -1000.0f, "-20.0"},
        {0.0f, 0.0f, "0.0"},       {-1.0f, 0.0f, "0.0"},       {8000.0f, 9.0f, "+19.1"},
    };
    for (const Case& c : cases) {
        ReceiverState st;
        st.OutputAttenuation = 123.0f;
        const auto caption = MouseOverS::ApplyOutVol(st, c.value);
        EXPECT_EQ(st.OutputAttenuation, c.attenuation) << c.value;
        if (c.caption)
            EXPECT_EQ(caption.value_or("none"), c.caption) << c.value;
        else
            EXPECT_FALSE(caption.has_value()) << c.value;
    }
}

TEST(KnobApply, NoiseReductionLevelIsAFractionOfTheKnobRange) {
    ReceiverState st;
    EXPECT_FLOAT_EQ(MouseOverS::SetNB(st, 10000.0f, 10000.0f, 0.0f), 40.0f);
    EXPECT_FLOAT_EQ(st.NbLevel, 0.4f);
    EXPECT_THROW(MouseOverS::SetNB(st, 1.0f, 5.0f, 5.0f), runtime::RuntimeError);
}

TEST(KnobApply, AgcDecayRoundsToEvenMillisecondsAndHoldsTheRampToTheBlock) {
    struct Case {
        float value;
        int32_t ms, samples;
    };
    for (const Case c : {Case{25, 2, 96}, Case{35, 4, 192}, Case{200, 20, 960}, Case{1000000, 100000, 2048},
                         Case{-50, -5, 0}}) {
        ReceiverState st;
        EXPECT_EQ(MouseOverS::SetAGCDecay(st, c.value), c.ms) << c.value;
        EXPECT_EQ(st.AgcDecayMs, c.ms);
        EXPECT_EQ(st.AgcRampLength, c.samples) << c.value;
    }
}

TEST(KnobApply, AgcAttackWritesALineFromOneToZeroOverTheHistory) {
    struct Case {
        float value;
        int32_t length;
    };
    for (const Case c : {Case{5, 12}, Case{100, 234}, Case{0, 1}, Case{100000, 2048}}) {
        DspLibraries libs;
        ReceiverState& st = libs.state;
        st.AgcHistoryWeights.fill(-7.0f);
        EXPECT_FLOAT_EQ(MouseOverS::SetAGCAttack(st, libs.wrappers, c.value), c.value / 10.0f);
        ASSERT_EQ(st.AgcHistoryLength, c.length) << c.value;
        const int32_t L = c.length;
        for (int32_t i = 0; i < L; ++i)
            ASSERT_NEAR(st.AgcHistoryWeights[i], L == 1 ? 0.0 : 1.0 - double(i) / (L - 1), 1e-6) << i;
        if (L < 2048) {
            EXPECT_EQ(st.AgcHistoryWeights[L], -7.0f);
        }
    }
}

TEST(KnobApply, FilterKnobsSetTheEdgesAndTheTableRowOfTheModes) {
    ReceiverState st;
    auto tables = frontpanel::DefaultFilterTables();
    MouseOverS::lblFilterHi_Wheel(st, 2999.5f);
    MouseOverS::lblFilterLo_Wheel(st, 300.5f);
    EXPECT_EQ(st.FilterHi, 3000);
    EXPECT_EQ(st.FilterLo, 300);
    st.IFFilterMode = 1;
    st.DemodMode = 2;
    MouseOverS::SetIFHi(st, tables, 4100.0f);
    MouseOverS::SetIFLo(st, tables, 250.0f);
    EXPECT_EQ(tables.IfFilterTable[1][2].Hi, 4100);
    EXPECT_EQ(tables.IfFilterTable[1][2].Lo, 250);
    EXPECT_EQ(tables.IfFilterTable[2][2].Hi, 0); // the Track row is another row
    EXPECT_EQ(st.IFFilterHi, 4100);
    EXPECT_EQ(st.IFFilterLo, 250);
    st.IFFilterMode = 3;
    EXPECT_THROW(MouseOverS::SetIFHi(st, tables, 1.0f), runtime::RuntimeError);
}
