// The display at the receive path's source points, beyond where each point is fed: how the audio and the
// I/Q path tell the display its mode, what the I/Q chain's IF point shows when the display does not take
// I/Q or there is no oscillator, and what the audio chain's detector point shows.
#include <gtest/gtest.h>

#include "mainwindow/tests/DriverRig.h"

using namespace rig;

namespace {

// Tuned to 7.1 MHz over an oscillator base of 7 MHz with a 455 Hz IF, a BFO offset of 300 Hz, the LO
// on the high side for the audio chain and IQSelectUpper as its decision gives above the base.
struct TapRig : DriverRig {
    TapRig(int32_t mode, bool iq) : DriverRig(mode, iq) {
        osc.base = 7'000'000;
        vfo.setIFFrequency(455);
        vfo.setTunedFrequency(71'000'000);
        state.HiSideLoActive = true;
        state.IQSelectUpper = true;
        state.BfoOffset = 300;
    }
};

} // namespace

TEST(TapPoints, TheAudioPathTellsTheDisplayItsModeAtEveryPointAndTheIqPathOnlyWhereItFeedsIt) {
    // Four points per block: the capture, before and after the detector's pair, the audio played.
    struct Case {
        bool active;
        int32_t source; // 9: no point's
    };
    for (const Case c : {Case{false, 1}, Case{true, 9}}) {
        for (bool iq : {false, true}) {
            TapRig r(DemodMode::USB, iq);
            r.display.active = c.active;
            r.display.iq = true;
            r.state.ScopeSource = c.source;
            r.run([](double t) { return station(11000, t, 4000); }, 1);
            SCOPED_TRACE(testing::Message() << "active " << c.active << " iq " << iq);
            EXPECT_EQ(r.display.loads, 0);
            EXPECT_EQ(r.display.modeCalls, iq ? 0 : 4);
            EXPECT_EQ(r.display.iq, iq); // told False by the audio path, left alone by the I/Q path
        }
    }
}

TEST(TapPoints, TheIqChainsIfPointShowsTwoChannelsToADisplayWithoutIqAndKeepsTheOffsetWithoutAnLo) {
    struct Case {
        bool acceptsIq, oscillator;
        bool iqMode;
        int32_t offset; // -1: left as it was
        bool reverse;
    };
    const Case cases[] = {
        {false, true, false, 7'100'000 - 300 - 12'000, true},
        {true, false, true, -1, false},
        {false, false, false, 7'100'000 - 300 - 12'000, true},
    };
    for (const Case& c : cases) {
        TapRig r(DemodMode::USB, true);
        r.display.acceptsIq = c.acceptsIq;
        if (!c.oscillator) r.vfo.setOscType(nullptr);
        r.state.ScopeSource = ScopeSource::PreDemod;
        r.run([](double t) { return station(11000, t, 4000); }, 1);
        SCOPED_TRACE(testing::Message() << "accepts " << c.acceptsIq << " oscillator " << c.oscillator);
        EXPECT_EQ(r.display.loads, 1);
        EXPECT_EQ(r.display.iq, c.iqMode);
        EXPECT_EQ(r.display.offset, c.offset);
        EXPECT_EQ(r.display.reverse, c.reverse);
        EXPECT_EQ(r.engine.left.size(), 1u); // the block still plays
    }
}

TEST(TapPoints, TheAudioChainsDetectorPointShowsThePairAsTuned) {
    // In DRM the pair is the filtered input on both channels.
    TapRig r(DemodMode::DRM, false);
    r.state.ScopeSource = ScopeSource::PostDemod;
    r.run([](double t) { return station(11000, t, 4000); }, 1);
    EXPECT_EQ(r.display.loads, 1);
    EXPECT_FALSE(r.display.iq);
    EXPECT_EQ(r.display.ch1, r.display.ch2);
    EXPECT_GT(*std::max_element(r.display.ch1.begin(), r.display.ch1.end()), 1000.0f);
    EXPECT_EQ(r.display.offset, 7'100'000 - 12'000);
    EXPECT_TRUE(r.display.reverse);
}
