// The block drivers: dropping re-entry, the playback path, muting, the display feed at each source
// point, the recorder, the one-sample Q delay and the statistics rings.
#include <gtest/gtest.h>

#include <numeric>

#include "mainwindow/tests/DriverRig.h"
#include "platform/runtime/Hooks.h"

using namespace rig;

namespace {

std::vector<int16_t> filled(int16_t first, int16_t step = 1) {
    std::vector<int16_t> v(kN);
    for (int k = 0; k < kN; ++k)
        v[k] = int16_t(first + step * (k % 1000));
    return v;
}

} // namespace

TEST(BlockDrivers, ABlockArrivingThroughTheDriversOwnPumpIsDroppedAndCounted) {
    for (bool iq : {false, true}) {
        DriverRig r(1, iq);
        // 40 ms per block (load 0.94): the driver pumps once, and the pump delivers the next block.
        r.counter.setStepPerRead(40'000);
        int pumps = 0;
        std::vector<int16_t> a2(kN), b2(kN);
        runtime::ScopedHooks hooks(runtime::Hooks{.doEvents = [&] {
            ++pumps;
            r.drivers.DataReady(a2, b2, kN);
        }});
        std::vector<int16_t> a(kN), b(kN);
        r.drivers.DataReady(a, b, kN);
        SCOPED_TRACE(iq);
        EXPECT_EQ(pumps, 1);
        EXPECT_EQ(r.drivers.DroppedBlocks(), 1);
        EXPECT_EQ(r.engine.left.size(), 1u); // the dropped block is not output
        EXPECT_GT(iq ? r.drivers.IqLoad() : r.drivers.AudioLoad(), 0.9f);
        // Below 0.9 of the block time there is no pump.
        r.counter.setStepPerRead(38'000);
        r.drivers.DataReady(a, b, kN);
        EXPECT_EQ(pumps, 1);
        EXPECT_EQ(r.engine.left.size(), 2u);
    }
}

TEST(BlockDrivers, PlaybackRunsOnlyTheAudioStagesOnThePlayersBlock) {
    // A played-back 1 kHz tone comes out at 1 kHz whatever the mode (no mixing or detection); a 6 kHz
    // tone above the audio filter is removed; the AF notch takes out the tone it sits on.
    struct Case {
        bool iq;
        int32_t mode;
        bool notch;
        double hz;
        bool heard;
    };
    for (const Case c : {Case{true, 1, false, 1000, true}, Case{false, 4, false, 1000, true},
                         Case{true, 0, false, 6000, false}, Case{true, 2, true, 1000, false}}) {
        DriverRig r(c.mode, c.iq);
        if (c.notch) {
            r.bank->NotchFilter.FLow = 900;
            r.bank->NotchFilter.FHigh = 1100;
            r.bank->NotchFilter.MakeFilter();
            r.bank->NotchFilter.Active = true;
            r.state.NotchType = 0;
        }
        r.state.AGCOn = false;
        r.recorder.mode = 2;
        r.recorder.player = [&](int k) {
            return int16_t(std::lround(8000.0 * std::sin(2 * M_PI * c.hz * k / kFs)));
        };
        const auto out = r.run([](double) { return std::pair{20000.0, -20000.0}; }, 6);
        SCOPED_TRACE(testing::Message() << c.iq << " " << c.mode << " " << c.hz);
        EXPECT_EQ(r.recorder.played, 6);
        if (c.heard)
            EXPECT_GT(level(out, c.hz), 1000.0);
        else
            EXPECT_LT(level(out, c.hz), 100.0);
    }
}

TEST(BlockDrivers, PlaybackKeepsTheBlocksRmsInTheLevelHistory) {
    DriverRig r(1, true);
    r.recorder.mode = 5;
    r.recorder.player = [](int k) {
        return int16_t(std::lround(8000.0 * std::sin(2 * M_PI * 1000.0 * k / kFs)));
    };
    r.run([](double) { return std::pair{0.0, 0.0}; }, 6);
    // The history was shifted and the block's RMS put first; the level stage then wrote its own entry.
    const double expected = 8000.0 / std::sqrt(2.0);
    const auto& ring = r.state.LevelRing;
    EXPECT_TRUE(std::any_of(ring.begin(), ring.begin() + 6,
                            [&](float v) { return std::fabs(v - expected) < 0.05 * expected; }));
    EXPECT_TRUE(std::none_of(ring.begin(), ring.begin() + 6, [&](float v) { return v > 2 * expected; }));
}

TEST(BlockDrivers, MutingOverridesTheChainsAttenuation) {
    struct Case {
        bool muteAf, muteOnDrm;
        int32_t mode;
        bool muted;
    };
    for (const Case c : {Case{false, false, 1, false}, Case{true, false, 1, true}, Case{false, true, 3, true},
                         Case{false, true, 1, false}, Case{true, false, 3, true}}) {
        for (bool iq : {false, true}) {
            DriverRig r(c.mode, iq);
            r.state.OutputAttenuation = 2.0f; // a gain: the chain writes 0 for the engine
            r.state.MuteAf = c.muteAf;
            r.state.DRM.MuteAFOnDRM = c.muteOnDrm;
            r.run([](double t) { return station(11000, t, 4000); }, 1);
            SCOPED_TRACE(testing::Message() << c.muteAf << c.muteOnDrm << " mode " << c.mode << " iq " << iq);
            ASSERT_FALSE(r.engine.attenuations.empty());
            EXPECT_EQ(r.engine.attenuations.back(), c.muted ? -40000 : 0);
        }
    }
}

TEST(BlockDrivers, TheDisplayIsFedAtTheChosenSourcePoint) {
    // Tuned to 7.1 MHz, BFO offset 300 Hz, a display span of 24 kHz (half span 12 kHz), oscillator base
    // 7 MHz with an IF of 455 Hz.
    struct Case {
        bool iq;
        int32_t source;
        bool vfoControl;
        bool iqMode;    // what the display was told
        int32_t offset; // -1: not set
        bool reverse;
    };
    const Case cases[] = {
        {false, 0, false, false, 7'100'000 - 12'000, true},
        {true, 0, false, true, 7'100'000 - 300 - 12'000, true},
        {true, 0, true, true, 7'100'000 - 12'000, true},
        {true, 1, false, true, 7'000'000 - 455 - 12'000, false},
        {true, 1, true, true, 7'100'000 - 12'000, false},
        {true, 2, false, false, 7'100'000 - 300 - 12'000, false},
        {true, 3, false, false, -1, true},
        {false, 3, false, false, -1, true},
    };
    for (const Case& c : cases) {
        DriverRig r(1, c.iq);
        r.osc.base = 7'000'000;
        r.vfo.setIFFrequency(455);
        r.state.HiSideLoActive = true;
        r.state.VFOControl = c.vfoControl;
        r.state.IQSelectUpper = true; // what the LO-side decision gives above the base
        r.state.BfoOffset = 300;
        r.state.ScopeSource = c.source;
        r.vfo.setTunedFrequency(71'000'000);
        r.run([](double t) { return station(11000, t, 4000); }, 1);
        SCOPED_TRACE(testing::Message()
                     << "iq " << c.iq << " source " << c.source << " vfo " << c.vfoControl);
        EXPECT_EQ(r.display.loads, 1);
        EXPECT_EQ(r.display.iq, c.iqMode);
        EXPECT_EQ(r.display.offset, c.offset);
        EXPECT_EQ(r.display.reverse, c.reverse);
        if (c.source == 3) {
            EXPECT_EQ(r.display.ch1,
                      std::vector<float>(r.engine.left.back().begin(), r.engine.left.back().end()));
            if (c.iq) {
                EXPECT_EQ(r.display.ch2, r.display.ch1);
            }
        }
    }
}

TEST(BlockDrivers, AnInactiveDisplayIsNotFed) {
    for (int32_t source : {0, 1, 2, 3}) {
        DriverRig r(1, true);
        r.display.active = false;
        r.state.ScopeSource = source;
        r.run([](double t) { return station(11000, t, 4000); }, 1);
        EXPECT_EQ(r.display.loads, 0) << source;
        EXPECT_EQ(r.engine.left.size(), 1u);
    }
}

TEST(BlockDrivers, FlipIQInAudioModeProcessesChannelTwoAndShowsChannelOneSecond) {
    DriverRig r(1, false);
    r.state.FlipIQ = true;
    r.state.ScopeSource = 0;
    auto ch1 = filled(100), ch2 = filled(-500);
    const auto c1 = ch1, c2 = ch2;
    r.drivers.DataReady(ch1, ch2, kN);
    EXPECT_EQ(r.display.ch1, std::vector<float>(c2.begin(), c2.end()));
    EXPECT_EQ(r.display.ch2, std::vector<float>(c1.begin(), c1.end()));
    EXPECT_EQ(ch1, c1); // the second channel handed in is only read
    EXPECT_NE(ch2, c2); // the processed one was overwritten
}

TEST(BlockDrivers, PhaseBitCorrectionDelaysQByOneSampleAcrossBlocks) {
    DriverRig r(1, true);
    r.state.PhaseBitCorrection = true;
    r.state.ScopeSource = 0;
    std::vector<int16_t> q1 = filled(1), q2 = filled(3000), i(kN);
    const auto first = q1, second = q2;
    r.drivers.DataReady(i, q1, kN);
    EXPECT_EQ(r.display.ch2[0], 0.0f); // the first block after start begins with 0
    for (int k = 1; k < kN; ++k)
        ASSERT_EQ(r.display.ch2[k], float(first[k - 1])) << k;
    std::fill(i.begin(), i.end(), 0);
    r.drivers.DataReady(i, q2, kN);
    EXPECT_EQ(r.display.ch2[0], float(first[kN - 1])); // the last Q sample reappears first
    EXPECT_EQ(r.display.ch2[1], float(second[0]));
    EXPECT_EQ(r.drivers.PrevQSample(), second[kN - 1]);
}

TEST(BlockDrivers, TheRecorderGetsTheProcessedBlockAndItsFailureKeepsTheAudio) {
    for (bool fail : {false, true}) {
        DriverRig r(1, true);
        r.recorder.mode = 1;
        r.recorder.failAdd = fail;
        r.state.VFOControl = true; // keep the side that receives the station below the LO
        const auto out = r.run([](double t) { return station(11000, t, 4000); }, 4);
        ASSERT_EQ(r.engine.left.size(), 4u);
        EXPECT_EQ(r.engine.left.back(), r.engine.right.back());
        EXPECT_GT(level(out, 1000), 1000.0);
        if (!fail) {
            ASSERT_EQ(r.recorder.recorded.size(), 4u);
            EXPECT_EQ(r.recorder.recorded.back(), out);
        }
    }
}

TEST(BlockDrivers, PeakAndBlockTimeRingsWrapAfterFortySevenBlocks) {
    DriverRig r(3, false);
    r.state.PerfStatsOn = true;
    r.counter.setStepPerRead(1234); // each block takes 1234 us
    for (int n = 0; n < 48; ++n) {
        std::vector<int16_t> a(kN, 0), b(kN, 0);
        a[77] = int16_t(100 + n);
        r.drivers.DataReady(a, b, kN);
    }
    EXPECT_EQ(r.drivers.InputPeakRing[0], 147); // block 48 went back to the start
    for (int n = 1; n < 47; ++n)
        EXPECT_EQ(r.drivers.InputPeakRing[size_t(n)], 100 + n) << n;
    EXPECT_EQ(r.drivers.InputPeakRing[47], 0); // never written
    EXPECT_EQ(r.drivers.InputPeakIndex, 1);
    EXPECT_EQ(r.drivers.OutputPeakIndex, 1);
    EXPECT_EQ(r.drivers.BlockTimeIndex, 1);
    EXPECT_EQ(std::count(r.drivers.BlockTimeRing.begin(), r.drivers.BlockTimeRing.begin() + 47, 1234), 47);
    EXPECT_EQ(r.drivers.BlockTimeRing[47], 0);
    EXPECT_GT(r.drivers.OutputPeakRing[0], 0);
}

TEST(BlockDrivers, PlaybackNotificationsPaceTheDisplayAndTheHousekeeping) {
    struct Pacer final : Nerix::BlockPacer {
        int ticks = 0;
        void ArmHousekeeping() override { ++ticks; }
    } pacer;
    DriverRig r(1, true);
    r.drivers.Ports.Pacer = &pacer;
    std::vector<int16_t> slot(kN);
    r.drivers.DataOut(slot, 0, kN * 2);
    r.drivers.DataOut(slot, kN, kN * 2);
    // The redraw request goes to the display itself.
    EXPECT_EQ(r.display.redraws, 2);
    EXPECT_EQ(pacer.ticks, 2);
}
