// The oscillator: pinned first samples, continuity, negative increments, both oscillators.
#include "dsp/testing/DspFixture.h"

#include "dsp/NerixNCO.h"

namespace {

using Nerix::kNcoBlock;

struct OwnOscillator {
    ReceiverState state;
    nerixdll::NerixDll nerix{NERIX_TEST_NERIX_WITHOUT_OSCILLATOR_LIB};
    nspdll::NspDll nsp{NERIX_TEST_NSP_LIB};
    Nerix::Wrappers wrappers{state, nerix, nsp};
    Nerix::NCO nco{wrappers};
    std::vector<float> s = std::vector<float>(kNcoBlock), c = std::vector<float>(kNcoBlock);
    OwnOscillator() { nco.InitNCO(30, 16, 2048); }
    void block(int32_t increment, float amplitude = 1.0f) {
        state.NcoIncrement = increment;
        nco.MakeNCO(increment, s.data(), c.data(), amplitude);
    }
};

TEST(NCO, FallsBackToItsOwnOscillatorWhenTheLibraryLacksInitDDS) {
    OwnOscillator o;
    EXPECT_FALSE(o.state.NcoAvailable);
    DspLibraries libs;
    Nerix::NCO withLibrary(libs.wrappers);
    withLibrary.InitNCO(30, 16, 2048);
    EXPECT_TRUE(libs.state.NcoAvailable);
}

TEST(NCO, OwnOscillatorStartsOneStepPastZeroAndRunsOnAcrossBlocks) {
    OwnOscillator o;
    o.block(1 << 28);
    const float sin4[] = {1, 0, -1, 0}, cos4[] = {0, -1, 0, 1};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(o.s[k], sin4[k], 1e-11);
        EXPECT_NEAR(o.c[k], cos4[k], 1e-11);
    }
    for (int block = 0; block < 2; ++block) {
        for (int k = 0; k < kNcoBlock; ++k) {
            ASSERT_NEAR(o.s[k], sin4[k % 4], 1e-7) << block << " " << k;
            ASSERT_NEAR(o.c[k], cos4[k % 4], 1e-7) << block << " " << k;
        }
        o.block(1 << 28);
    }
}

// Against sin and cos of the accumulated phase, over several blocks and increments.
TEST(NCO, BothOscillatorsFollowThePhaseRuleIncludingNegativeIncrements) {
    for (bool library : {false, true}) {
        for (int32_t increment : {268435456, 22369621, -22369621, 0, 1, 536870911}) {
            // A fresh phase for each increment.
            OwnOscillator fresh;
            DspLibraries freshLibs;
            Nerix::NCO freshLib(freshLibs.wrappers);
            freshLib.InitNCO(30, 16, 2048);
            std::vector<float> s(kNcoBlock), c(kNcoBlock);
            uint32_t phase = 0;
            for (int block = 0; block < 3; ++block) {
                if (library) {
                    freshLibs.state.NcoIncrement = increment;
                    freshLib.MakeNCO(increment, s.data(), c.data(), 1.0f);
                } else {
                    fresh.block(increment);
                    s = fresh.s;
                    c = fresh.c;
                }
                for (int k = 0; k < kNcoBlock; ++k) {
                    phase = (phase + static_cast<uint32_t>(increment)) & ((1u << 30) - 1);
                    const double angle = 2 * M_PI * (phase >> 14) / 65536.0;
                    ASSERT_NEAR(s[k], std::sin(angle), 2e-6) << library << " " << increment << " " << k;
                    ASSERT_NEAR(c[k], std::cos(angle), 2e-6) << library << " " << increment << " " << k;
                }
            }
        }
    }
}

TEST(NCO, NegativeIncrementMirrorsTheSine) {
    OwnOscillator up, down;
    up.block(22369621);
    down.block(-22369621);
    for (int k = 0; k < kNcoBlock; ++k) {
        ASSERT_NEAR(down.s[k], -up.s[k], 2e-4);
        ASSERT_NEAR(down.c[k], up.c[k], 2e-4);
    }
}

TEST(NCO, PhaseWrapsAtThirtyBits) {
    OwnOscillator o;
    o.block((1 << 30) - 1); // 2048 steps of one short of a turn leave the phase at 2^30 - 2048
    EXPECT_NEAR(o.s[0], std::sin(2 * M_PI * 65535 / 65536.0), 1e-6);
    o.block(1); // sample 2046 reaches 2^30 - 1, sample 2047 wraps to 0
    EXPECT_NEAR(o.s[2046], std::sin(2 * M_PI * 65535 / 65536.0), 1e-6);
    EXPECT_EQ(o.s[2047], 0.0f);
    EXPECT_EQ(o.c[2047], 1.0f);
}

TEST(NCO, AmplitudeScalesOnlyTheOwnOscillator) {
    OwnOscillator o;
    o.block(1 << 28, 0.5f);
    EXPECT_NEAR(o.s[0], 0.5f, 1e-7);
    EXPECT_NEAR(o.c[3], 0.5f, 1e-7);

    DspLibraries libs;
    Nerix::NCO withLibrary(libs.wrappers);
    withLibrary.InitNCO(30, 16, 2048);
    std::vector<float> s(kNcoBlock), c(kNcoBlock);
    withLibrary.MakeNCO(1 << 28, s.data(), c.data(), 0.5f);
    EXPECT_NEAR(s[0], 1.0f, 1e-7);
}

} // namespace
