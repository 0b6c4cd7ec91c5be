// The I/Q chain end to end through the block drivers, on generated I/Q stations; levels by direct
// correlation. A station at a positive frequency of left + j right (I = cos, Q = sin) lies below the LO:
// with IQSelectUpper False (the LO on the high side) the chain receives the positive frequencies, with
// it True the negative ones, the stations above the LO. The 12 kHz IF centre is the carrier, and the
// sidebands lie where the IF filter places them, mirrored below the LO.
#include <gtest/gtest.h>

#include "mainwindow/tests/DriverRig.h"

using namespace rig;

namespace {

using IqSignal = std::function<std::pair<double, double>(double t)>;

IqSignal tone(double hz, double amplitude = 8000.0, double qGain = 1.0) {
    return [=](double t) {
        auto [i, q] = station(hz, t, amplitude);
        return std::pair{i, q * qGain};
    };
}
IqSignal amStation(double hz, double audio) {
    return [=](double t) {
        const double e = 6000.0 * (1.0 + 0.5 * std::cos(2 * M_PI * audio * t));
        return std::pair{e * std::cos(2 * M_PI * hz * t + 0.3), e * std::sin(2 * M_PI * hz * t + 0.3)};
    };
}
IqSignal fmStation(double hz, double deviation, double audio) {
    return [=](double t) {
        const double ph = 2 * M_PI * hz * t + deviation / audio * std::sin(2 * M_PI * audio * t);
        return std::pair{10000.0 * std::cos(ph), 10000.0 * std::sin(ph)};
    };
}

double dB(double a, double b) {
    return 20.0 * std::log10(std::max(a, 1e-9) / std::max(b, 1e-9));
}

// The side the chain receives on is fixed by hand: the LO-side decision has tests of its own.
struct FixedSide : DriverRig {
    FixedSide(int32_t mode, bool upper) : DriverRig(mode) {
        state.VFOControl = true;
        state.IQSelectUpper = upper;
        setMode(mode);
    }
};

} // namespace

TEST(IqChain, EveryModeBringsTheStationsModulationOut) {
    struct Case {
        int32_t mode;
        IqSignal input;
        double audio;
    };
    const Case cases[] = {
        {0, amStation(12000, 1000), 1000},
        {5, amStation(12000, 1000), 1000},
        {6, amStation(12000, 1000), 1000},
        {7, amStation(12000, 800), 800},
        {1, tone(11000), 1000},
        {2, tone(12800), 800},
        {4, fmStation(12000, 2000, 1000), 1000},
        {3, tone(1200), 1200},
    };
    for (const Case& c : cases) {
        FixedSide r(c.mode, false);
        const auto out = r.run(c.input);
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        EXPECT_NEAR(strongest(out), c.audio, 30.0);
        EXPECT_GT(level(out, c.audio), 1000.0);
        EXPECT_FALSE(r.state.DspBusy);
    }
}

TEST(IqChain, IQSelectUpperReceivesTheStationsAboveTheLo) {
    for (int32_t mode : {0, 6}) {
        FixedSide upper(mode, true), lower(mode, false);
        const auto above = upper.run(amStation(-12000, 1000));
        const auto missed = lower.run(amStation(-12000, 1000));
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        EXPECT_GT(level(above, 1000), 1000.0);
        EXPECT_LT(level(missed, 1000), 50.0);
    }
}

TEST(IqChain, SidebandsPassTheirSideAndRejectTheOppositeSidebandAndTheImage) {
    // The wanted tone and the opposite sideband's tone both land on 1 kHz; the image is the wanted
    // tone's mirror across the LO. Each is measured alone, so the AGC does not hide the ratio.
    struct Case {
        int32_t mode;
        bool upper;
        double wanted, opposite;
    };
    for (const Case c : {Case{1, false, 11000, 13000}, Case{2, false, 13000, 11000},
                         Case{1, true, -13000, -11000}, Case{2, true, -11000, -13000}}) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " upper " << c.upper);
        const auto measure = [&](double hz) {
            FixedSide r(c.mode, c.upper);
            r.state.AGCOn = false;
            return level(r.run(tone(hz)), 1000);
        };
        const double pass = measure(c.wanted);
        EXPECT_GT(pass, 1000.0);
        EXPECT_GT(dB(pass, measure(c.opposite)), 40.0);
        EXPECT_GT(dB(pass, measure(-c.wanted)), 40.0);
    }
}

TEST(IqChain, FlipIQSwapsTheSideband) {
    for (bool flip : {false, true}) {
        FixedSide r(1, false);
        r.state.FlipIQ = flip;
        r.state.AGCOn = false;
        const auto out = r.run(tone(flip ? -11000 : 11000));
        EXPECT_GT(level(out, 1000), 1000.0) << flip;
        FixedSide other(1, false);
        other.state.FlipIQ = flip;
        other.state.AGCOn = false;
        EXPECT_LT(level(other.run(tone(flip ? 11000 : -11000)), 1000), 100.0) << flip;
    }
}

TEST(IqChain, AmplitudeBalanceCancelsTheImageOfAnUnevenPair) {
    // A sound card whose Q channel has half the gain of I leaks a station above the LO (a negative
    // frequency) into its image below it; a balance of 2 restores the pair.
    const auto image = [](float balance) {
        FixedSide r(1, false);
        r.state.AGCOn = false;
        r.state.SoundcardCorrectionAmpBalance = balance;
        return level(r.run(tone(-11000, 8000.0, 0.5)), 1000);
    };
    const double leaked = image(1.0f), balanced = image(2.0f);
    EXPECT_GT(leaked, 500.0);
    EXPECT_GT(dB(leaked, balanced), 30.0);
}

TEST(IqChain, AFailingBlockIsSilentAndTheNextOnePlays) {
    DriverRig r(1);
    r.osc.base = 8'000'000; // above the tuning: the LO on the high side, IQSelectUpper False
    r.vfo.setTunedFrequency(71'000'000);
    r.osc.fail = true; // an oscillator without the member: the LO-side decision raises
    const auto failed = r.run(tone(11000), 1);
    ASSERT_EQ(r.engine.left.size(), 1u);
    EXPECT_TRUE(std::all_of(failed.begin(), failed.end(), [](int16_t s) { return s == 0; }));
    EXPECT_FALSE(r.state.DspBusy);
    r.osc.fail = false;
    const auto played = r.run(tone(11000), 6);
    EXPECT_GT(level(played, 1000), 1000.0);
}

TEST(IqChain, LoSideFollowsTheTunedFrequencyAgainstTheOscillatorBase) {
    // Base 7 MHz over a multiplier of 1: below it the LO is on the high side, above it on the low side,
    // and on it the side follows the direction of the last step (down keeps the high side).
    struct Case {
        int32_t from, to; // 0.1 Hz
        bool upper;
    };
    const Case cases[] = {
        {0, 69'999'990, false},          {0, 70'000'010, true},
        {0, 70'000'000, true},           {70'000'100, 70'000'000, false},
        {69'999'900, 70'000'000, true},  {70'000'000, 70'000'005, true}, // same whole hertz, upward
        {70'000'009, 70'000'003, false},                                 // same whole hertz, downward
    };
    for (const Case& c : cases) {
        DriverRig r(1);
        r.osc.base = 7'000'000;
        if (c.from != 0) {
            r.vfo.setTunedFrequency(c.from);
            r.run(tone(11000), 1);
        }
        r.vfo.setTunedFrequency(c.to);
        r.run(tone(11000), 1);
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        EXPECT_EQ(r.state.IQSelectUpper, c.upper);
        EXPECT_EQ(r.vfo.HiSideLo(), !c.upper);
        EXPECT_EQ(r.chain.LastTunedFrequency(), c.to);
    }
}

TEST(IqChain, LoSideStaysWithoutAnOscillatorAZeroMultiplierOrUnderVfoControl) {
    enum What { kNoOscillator, kZeroMultiplier, kVfoControl };
    for (What w : {kNoOscillator, kZeroMultiplier, kVfoControl}) {
        DriverRig r(1);
        r.osc.base = 7'000'000;
        r.state.IQSelectUpper = false;
        r.vfo.setHiSideLo(true);
        if (w == kNoOscillator) r.vfo.setOscType(nullptr);
        if (w == kZeroMultiplier) r.vfo.setOscMultiplier(0);
        if (w == kVfoControl) r.state.VFOControl = true;
        r.vfo.setTunedFrequency(71'000'000);
        const auto out = r.run(tone(11000), 6);
        SCOPED_TRACE(int(w));
        EXPECT_FALSE(r.state.IQSelectUpper);
        EXPECT_TRUE(r.vfo.HiSideLo());
        EXPECT_GT(level(out, 1000), 1000.0); // the blocks still play
    }
}

TEST(IqChain, AnUnchangedTunedFrequencyLeavesTheSideAlone) {
    DriverRig r(1);
    r.osc.base = 7'000'000;
    r.vfo.setTunedFrequency(71'000'000);
    r.run(tone(11000), 1);
    ASSERT_TRUE(r.state.IQSelectUpper);
    r.state.IQSelectUpper = false; // the user's check box
    r.run(tone(11000), 1);
    EXPECT_FALSE(r.state.IQSelectUpper);
}

TEST(IqChain, SynchronousAmReceivesAStationTunedExactlyOrOffAsFarAsTheCarrierFilterPasses) {
    // A 1 kHz tone at 50 % on a carrier the given offset from the IF centre, on the side each LO
    // position receives. SAM recovers the carrier from the station itself, and the IF meets it in
    // phase, so the tone comes out at one level whatever the offset (out of phase it came and went
    // every 23.46 Hz). Tuned exactly or nearly so, it has no more second harmonic than the envelope
    // detector (BC) leaves on the same station. Further off, the limiter's harmonics fold back beside
    // the carrier, four times the offset apart and inside the carrier filter, and add tones of their
    // own; the alignment leaves those as they are, so they are not judged here.
    struct Measured {
        double tone, harmonic; // amplitudes of 1 and 2 kHz in the last four blocks
    };
    const auto receive = [](int32_t mode, bool upper, double offset) {
        FixedSide r(mode, upper);
        r.state.AGCOn = false;
        const double carrier = (upper ? -1.0 : 1.0) * (12000.0 + offset);
        const auto input = amStation(carrier, 1000);
        r.run(input, 4);
        std::vector<int16_t> out;
        for (int n = 0; n < 4; ++n) {
            const auto block = r.run(input, 1);
            out.insert(out.end(), block.begin(), block.end());
        }
        return Measured{level(out, 1000), level(out, 2000)};
    };
    for (bool upper : {false, true}) {
        const Measured bc = receive(DemodMode::BC, upper, 0);
        ASSERT_GT(bc.tone, 1000.0);
        const double bcDistortion = bc.harmonic / bc.tone;
        std::vector<double> tones;
        for (double offset : {0.0, 10.0, 50.0, 200.0}) {
            const Measured sam = receive(DemodMode::SAM, upper, offset);
            SCOPED_TRACE(testing::Message() << "upper " << upper << " offset " << offset << " Hz: tone "
                                            << sam.tone << ", second harmonic " << sam.harmonic << " (BC "
                                            << bc.tone << ", " << bc.harmonic << ")");
            EXPECT_GT(sam.tone, 1000.0);
            if (offset <= 10.0) {
                EXPECT_LE(sam.harmonic / sam.tone, std::max(bcDistortion, 0.01));
            }
            tones.push_back(sam.tone);
        }
        const auto [low, high] = std::minmax_element(tones.begin(), tones.end());
        EXPECT_LT(dB(*high, *low), 1.0) << "upper " << upper;
    }
}
