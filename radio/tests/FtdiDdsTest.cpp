// The DDS drivers wired by hand to the US232C and DRB30 adaptors: what the chip on the adaptor's pins
// latches, decoded from the simulated adaptor, and how many USB writes each driver step costs.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "radio/clsAD9835.h"
#include "radio/clsAD9850.h"
#include "radio/clsAD9851.h"
#include "radio/clsAD9951.h"
#include "radio/clsFTDIDRB30.h"
#include "radio/clsFTDIUS232C.h"
#include "radio/clsVFO.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"

namespace {

struct Adaptor {
    const char* name;
    std::string description;
    pins::ThreeWire wiring;
    bool resetPulses; // ResetDevice plays 100, 900 and 100 pin bytes
};
const Adaptor kAdaptors[] = {
    {"US232C", "US232C", pins::wiring::us232c(), false},
    {"DRB30", "DRB USB ADP", pins::wiring::drb30(), true},
};

// Pin bytes of the line sequences, counted from the wire format: a framed burst of n bytes is update
// low, clock low, three changes per bit and update high; Out8 is clock low and three changes per bit;
// Out16 is a framed burst of two bytes.
constexpr uint32_t burst(uint32_t bytes) {
    return 2 + 24 * bytes + 1;
}
constexpr uint32_t kOut8 = 1 + 24;
constexpr uint32_t kOut16 = burst(2);

class DdsOverFtdi : public ::testing::Test, protected pins::PinBench {
protected:
    DdsOverFtdi() {
        for (const Adaptor& a : kAdaptors)
            driver.plugIn(a.description, pins::SimFtdiDriver::kPacedByBaudRate);
    }

    // The adaptor's line object, initialised; the trace starts from here.
    FtdiThreeWireLine& line(const Adaptor& a) {
        FtdiThreeWireLine& l = a.resetPulses ? static_cast<FtdiThreeWireLine&>(drb30) : us232c;
        l.Initialise();
        trace.clearKeepingState();
        return l;
    }
    std::vector<pins::ThreeWireSample> samples(const Adaptor& a) const {
        return pins::threeWireSamples(trace, a.wiring);
    }
    std::vector<uint32_t> writes(const Adaptor& a) { return driver.adaptor(a.description)->writeSizes; }
    // The writes made since a count of them was taken.
    std::vector<uint32_t> writesSince(const Adaptor& a, std::size_t before) {
        const auto all = writes(a);
        return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
    }

    static void wire(OscillatorBase& osc, LineInterface& line, double clock) {
        osc.setClkIn(clock);
        osc.setBaseFrequency(0);
        osc.setIFHandler(&line);
    }

    clsFTDIUS232C us232c{driver, store, timing};
    clsFTDIDRB30 drb30{driver, store, timing};
};

// The twins send their word with SendSeqLSB and flush it; Refresh clocks it again with Out8LSB and
// flushes at its end. The start sequence's update pulse waits in the pin buffer for the first word.
TEST_F(DdsOverFtdi, Ad985xWordsReachTheChipInOneWriteEach) {
    const struct {
        bool ad9851;
        double clock;
        int32_t f; // 0.1 Hz
        uint32_t word;
        uint8_t control;
    } examples[] = {
        {false, 100'000'000, 70'000'000, 300'647'711u, 0x00},
        {true, 180'000'000, 70'000'000, 167'026'506u, 0x01},
        {false, 100'000'000, 500'000'000, 2u, 0x00}, // 2^31 does not fit: word 2
    };
    constexpr uint32_t kStart = 5;               // SDATA, SCLCK and the update pulse
    constexpr uint32_t kRefresh = 5 * kOut8 + 3; // five Out8LSB, update 1, 0, 1
    for (const Adaptor& a : kAdaptors) {
        for (const auto& e : examples) {
            SCOPED_TRACE(std::string(a.name) + " f " + std::to_string(e.f));
            FtdiThreeWireLine& l = line(a);
            const std::size_t before = writes(a).size();
            clsAD9850 ad9850(store);
            clsAD9851 ad9851(store);
            OscillatorBase& osc = e.ad9851 ? static_cast<OscillatorBase&>(ad9851) : ad9850;
            wire(osc, l, e.clock);
            osc.Initialise();
            EXPECT_EQ(writesSince(a, before), std::vector<uint32_t>{});
            EXPECT_EQ(l.PinCount(), static_cast<int32_t>(kStart));

            osc.SetFrequency(e.f);
            osc.Refresh();
            osc.SetFrequency(e.f);
            EXPECT_EQ(writesSince(a, before), (std::vector<uint32_t>{kStart + burst(5), kRefresh, burst(5)}));
            EXPECT_EQ(l.PinCount(), 0);

            const auto latches = pins::decodeAd985x(samples(a));
            ASSERT_EQ(latches.size(), 4u);
            EXPECT_EQ(latches[0].bitsSincePreviousLatch, 0u); // the start sequence's pulse
            for (std::size_t i = 1; i < latches.size(); ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(latches[i].bitsSincePreviousLatch, 40u);
                EXPECT_EQ(latches[i].tuningWord, e.word);
                EXPECT_EQ(latches[i].control, e.control);
            }

            // Initialising again sends the word of 0 Hz, with the pulse, in one write.
            trace.clearKeepingState();
            osc.Initialise();
            EXPECT_EQ(writes(a).back(), kStart + burst(5));
            const auto again = pins::decodeAd985x(samples(a));
            ASSERT_EQ(again.size(), 2u);
            EXPECT_EQ(again[1].bitsSincePreviousLatch, 40u);
            EXPECT_EQ(again[1].tuningWord, 0u);
            EXPECT_EQ(again[1].control, e.control);
        }
    }
}

std::map<uint8_t, std::vector<uint8_t>> reg(uint8_t address, std::vector<uint8_t> bytes) {
    return {{address, std::move(bytes)}};
}
const auto kCfr1 = reg(0x00, {0x00, 0x00, 0x02, 0x02});
const auto kCfr2 = reg(0x01, {0x00, 0x00, 0x47});
const auto kFtw10MHz = reg(0x04, {0x07, 0x1B, 0xF5, 0x89}); // 10 MHz on 360.096 MHz: word 119 272 841

// The registers the chip put into force at each I/O update, from whole instruction cycles.
std::vector<std::map<uint8_t, std::vector<uint8_t>>>
registerUpdates(const std::vector<pins::ThreeWireSample>& samples) {
    std::vector<std::map<uint8_t, std::vector<uint8_t>>> out;
    for (const auto& u : pins::decodeAd9951(samples)) {
        EXPECT_EQ(u.pendingBits, 0u);
        out.push_back(u.written);
    }
    return out;
}

TEST_F(DdsOverFtdi, Ad9951OnTheDrb30ResetsTheChipSetsItUpAndTunesInOneWrite) {
    const Adaptor& a = kAdaptors[1];
    FtdiThreeWireLine& l = line(a);
    clsAD9951 osc(store);
    wire(osc, l, 360'096'000);
    osc.Initialise();
    // The reset drops the three start line changes; both control registers follow in a write each.
    EXPECT_EQ(writes(a), (std::vector<uint32_t>{100, 900, 100, burst(5), burst(4)}));
    auto updates = registerUpdates(samples(a));
    EXPECT_EQ(updates, (std::vector{kCfr1, kCfr2}));
    // The reset pin rose once, for the 900 bytes of the pulse, and no chip line moved meanwhile.
    const auto entries = trace.writesTo(pins::SimFtdiDriver::deviceName(a.description));
    ASSERT_GE(entries.size(), 1100u);
    for (std::size_t i = 0; i < 1100; ++i)
        ASSERT_EQ(entries[i].levels, i >= 100 && i < 1000 ? 0x08 : 0x00) << i;

    trace.clearKeepingState();
    EXPECT_EQ(osc.SetFrequency(100'000'000), 100'000'000);
    EXPECT_EQ(writes(a).back(), 123u);
    EXPECT_EQ(writes(a).size(), 6u);
    EXPECT_EQ(registerUpdates(samples(a)), (std::vector{kFtw10MHz}));

    // A refresh is the reset, both registers and the last requested frequency again.
    trace.clearKeepingState();
    const std::size_t before = writes(a).size();
    osc.Refresh();
    EXPECT_EQ(writesSince(a, before), (std::vector<uint32_t>{100, 900, 100, burst(5), burst(4), burst(5)}));
    EXPECT_EQ(registerUpdates(samples(a)), (std::vector{kCfr1, kCfr2, kFtw10MHz}));
    EXPECT_EQ(l.PinCount(), 0);
}

TEST_F(DdsOverFtdi, Ad9951OnTheUs232cHasNoResetPulseAndTunesInOneWrite) {
    const Adaptor& a = kAdaptors[0];
    FtdiThreeWireLine& l = line(a);
    clsAD9951 osc(store);
    wire(osc, l, 360'096'000);
    osc.Initialise();
    // The start line changes go out with the first register; their update edge puts nothing in force.
    EXPECT_EQ(writes(a), (std::vector<uint32_t>{3 + burst(5), burst(4)}));
    EXPECT_EQ(registerUpdates(samples(a)),
              (std::vector<std::map<uint8_t, std::vector<uint8_t>>>{{}, kCfr1, kCfr2}));
    trace.clearKeepingState();
    osc.SetFrequency(100'000'000);
    EXPECT_EQ(writes(a).back(), 123u);
    EXPECT_EQ(registerUpdates(samples(a)), (std::vector{kFtw10MHz}));
}

// An adaptor that fails the write of a tuning loses that word only: the driver goes on as if sent, and
// the next tuning opens the adaptor again and reaches the chip whole.
TEST_F(DdsOverFtdi, ATuningLostToAFailedWriteIsFollowedByAWholeOne) {
    using Call = pins::SimFtdiDriver::Call;
    for (const Adaptor& a : kAdaptors) {
        SCOPED_TRACE(a.name);
        FtdiThreeWireLine& l = line(a);
        clsAD9951 osc(store);
        wire(osc, l, 360'096'000);
        osc.Initialise();
        osc.SetFrequency(50'000'000);
        const std::size_t before = writes(a).size();
        driver.failNext(Call::Write, ftdi::status::kIoError);
        EXPECT_EQ(osc.SetFrequency(70'000'000), 70'000'000);
        EXPECT_FALSE(driver.adaptor(a.description)->open);
        EXPECT_EQ(l.PinCount(), 0);

        trace.clearKeepingState();
        const auto calls = driver.calls().size();
        EXPECT_EQ(osc.SetFrequency(100'000'000), 100'000'000);
        const auto after = driver.calls();
        EXPECT_EQ(std::vector<Call>(after.begin() + static_cast<std::ptrdiff_t>(calls), after.end()),
                  (std::vector<Call>{Call::Open, Call::SetBitMode, Call::SetBaudRate, Call::Write}));
        EXPECT_EQ(writesSince(a, before), std::vector<uint32_t>{burst(5)});
        EXPECT_EQ(registerUpdates(samples(a)), (std::vector{kFtw10MHz}));
    }
}

// The start frames wait in the pin buffer until the first tuning; every tuning change is then one
// write of six frames, and FREQ0 decodes to the word of the frequency.
TEST_F(DdsOverFtdi, Ad9835StartFramesAndFreq0ReachTheChipWithEachUpdate) {
    constexpr uint32_t kStart = 3 + 4 + 2 * (2 * kOut8 + 2) + 2 * kOut8 + 1;
    constexpr uint32_t kTuning = 6 * kOut16;
    for (const Adaptor& a : kAdaptors) {
        SCOPED_TRACE(a.name);
        FtdiThreeWireLine& l = line(a);
        const std::size_t before = writes(a).size();
        clsAD9835 osc(store);
        wire(osc, l, 50'000'000);
        clsVFO vfo(store);
        vfo.setRxMaxFreq(30'000'000);
        vfo.setOscType(&osc);
        osc.setParent(&vfo);
        osc.Initialise();
        EXPECT_EQ(writesSince(a, before), std::vector<uint32_t>{});
        EXPECT_EQ(l.PinCount(), static_cast<int32_t>(kStart));

        EXPECT_EQ(osc.SetFrequency(104'550'000), 104'550'000);
        EXPECT_EQ(writesSince(a, before), std::vector<uint32_t>{kStart + kTuning});
        const auto frames = pins::decodeAd9835(samples(a));
        ASSERT_EQ(frames.size(), 9u);
        const struct {
            std::size_t edges;
            uint16_t word;
        } expected[] = {{17, 0x7C00}, {16, 0xC000}, {16, 0x8000}, {16, 0x8000}, {16, 0xC000},
                        {16, 0x3335}, {16, 0x2287}, {16, 0x3193}, {16, 0x20DE}};
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].clockEdges, expected[i].edges) << i;
            EXPECT_EQ(frames[i].word, expected[i].word) << i;
        }
        EXPECT_EQ(pins::ad9835Freq0(frames), 898'077'662u);
        EXPECT_TRUE(samples(a).back().update); // frame sync ends high

        // The VFO's tuning and the refresh each cost one write of the six frames.
        trace.clearKeepingState();
        vfo.setTunedFrequency(70'000'000);
        ASSERT_EQ(vfo.OscOut(), 70'000'000);
        const uint32_t word7MHz = 601'295'421u; // 7 MHz on 50 MHz: 0.14 x 2^32
        EXPECT_EQ(writes(a).back(), kTuning);
        EXPECT_EQ(pins::ad9835Freq0(pins::decodeAd9835(samples(a))), word7MHz);
        trace.clearKeepingState();
        osc.Refresh();
        EXPECT_EQ(writesSince(a, before), (std::vector<uint32_t>{kStart + kTuning, kTuning, kTuning}));
        EXPECT_EQ(pins::ad9835Freq0(pins::decodeAd9835(samples(a))), word7MHz);
        EXPECT_EQ(l.PinCount(), 0);
    }
}

} // namespace
