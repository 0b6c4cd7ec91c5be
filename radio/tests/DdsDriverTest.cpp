// The DDS drivers proven on the pins: each worked example is decoded from the simulated port with the
// chip's own wire format, over the line interface the receiver models pair it with.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "radio/clsAD9835.h"
#include "radio/clsAD9850.h"
#include "radio/clsAD9851.h"
#include "radio/clsAD9951.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsVFO.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"

using runtime::testing::FakePerformanceCounter;

namespace {

struct ParallelPins {
    int data, clock, update;
    bool inverted;
};
constexpr ParallelPins kDefaultPins{0, 1, 2, false};
constexpr ParallelPins kRemappedInverted{7, 3, 5, true};
constexpr ParallelPins kDrb30Pins{3, 2, 1, false}; // the NTI DRB 30 row: update 1, clock 2, data 3

class Bench : public ::testing::Test, protected pins::PinBench {
protected:
    // The parallel interface set up and initialised; the trace then starts from its state.
    clsDDSParallelIF& parallel(const ParallelPins& pins, double waitSeconds = 5e-6) {
        par.setSDATABitNo(pins.data);
        par.setSCLCKBitNo(pins.clock);
        par.setIOUPDBitNo(pins.update);
        par.setInverting(pins.inverted);
        par.setWaitTime(waitSeconds);
        par.Initialise();
        trace.clearKeepingState();
        return par;
    }
    std::vector<pins::ThreeWireSample> parallelSamples(const ParallelPins& p) const {
        return pins::threeWireSamples(trace,
                                      pins::wiring::parallel(888, p.data, p.clock, p.update, p.inverted));
    }

    // The serial interface initialised and opened in poll mode on COM1.
    clsDDSSerialIF& serial() {
        ports.plugIn(1);
        ser.Initialise();
        EXPECT_GT(ser.OpenPort(false), 0);
        trace.clearKeepingState();
        return ser;
    }
    std::vector<pins::ThreeWireSample> serialSamples() const {
        return pins::threeWireSamples(trace, pins::wiring::serialThreeWire(1));
    }

    template <class Osc> void wire(Osc& osc, LineInterface& line, double clock) {
        osc.setClkIn(clock);
        osc.setBaseFrequency(0);
        osc.setIFHandler(&line);
    }

    clsDDSParallelIF par{store, timing, lpt};
    clsDDSSerialIF ser{store, timing, ports};
};

TEST_F(Bench, Ad985xWordsDecodeFromTheParallelPinsWhateverTheWiring) {
    const struct {
        bool ad9851;
        double clock;
        int32_t f;
        uint32_t word;
        uint8_t control;
    } examples[] = {
        {false, 100'000'000, 70'000'000, 300'647'711u, 0x00},
        {true, 180'000'000, 70'000'000, 167'026'506u, 0x01},
        {false, 100'000'000, 500'000'000, 2u, 0x00}, // 2^31 does not fit: word 2
        {false, 100'000'000, 600'000'000, 2u, 0x00}, // clamped to MaxFreq, then the same
    };
    for (const ParallelPins& pins : {kDefaultPins, kRemappedInverted}) {
        for (const auto& e : examples) {
            trace.clearKeepingState();
            clsAD9850 ad9850(store);
            clsAD9851 ad9851(store);
            OscillatorBase& osc = e.ad9851 ? static_cast<OscillatorBase&>(ad9851) : ad9850;
            clsDDSParallelIF line(store, timing, lpt);
            line.setSDATABitNo(pins.data);
            line.setSCLCKBitNo(pins.clock);
            line.setIOUPDBitNo(pins.update);
            line.setInverting(pins.inverted);
            line.Initialise();
            trace.clearKeepingState();
            osc.setClkIn(e.clock);
            osc.setIFHandler(&line);
            osc.Initialise();
            osc.SetFrequency(e.f);
            osc.Refresh();

            const auto latches = pins::decodeAd985x(parallelSamples(pins));
            const std::string where = std::to_string(e.f) + (pins.inverted ? " inverted" : "");
            ASSERT_EQ(latches.size(), 3u) << where;
            EXPECT_EQ(latches[0].bitsSincePreviousLatch, 0u) << where; // Initialise pulses with no bits
            for (std::size_t i = 1; i < 3; ++i) {                      // the word, then Refresh's copy
                EXPECT_EQ(latches[i].bitsSincePreviousLatch, 40u) << where;
                EXPECT_EQ(latches[i].tuningWord, e.word) << where;
                EXPECT_EQ(latches[i].control, e.control) << where;
            }
        }
    }
}

TEST_F(Bench, Ad985xReinitialisationSendsTheWordOfZeroHertz) {
    clsDDSParallelIF& line = parallel(kDefaultPins);
    clsAD9850 osc(store);
    wire(osc, line, 100'000'000);
    osc.Initialise();
    osc.SetFrequency(70'000'000);
    osc.Initialise();
    const auto latches = pins::decodeAd985x(parallelSamples(kDefaultPins));
    ASSERT_EQ(latches.size(), 4u);
    EXPECT_EQ(latches[2].bitsSincePreviousLatch, 0u);
    EXPECT_EQ(latches[3].bitsSincePreviousLatch, 40u);
    EXPECT_EQ(latches[3].tuningWord, 0u);
}

std::map<uint8_t, std::vector<uint8_t>> reg(uint8_t address, std::vector<uint8_t> bytes) {
    return {{address, std::move(bytes)}};
}

TEST_F(Bench, Ad9951RegistersDecodeFromSerialAndParallelPins) {
    const std::vector<std::map<uint8_t, std::vector<uint8_t>>> expected{
        reg(0x00, {0x00, 0x00, 0x02, 0x02}), reg(0x01, {0x00, 0x00, 0x47}),
        reg(0x04, {0x07, 0x1B, 0xF5, 0x89}), // 10 MHz on 360.096 MHz: word 119 272 841
    };
    const auto check = [&](const std::vector<pins::ThreeWireSample>& samples, const std::string& where) {
        const auto updates = pins::decodeAd9951(samples);
        ASSERT_EQ(updates.size(), expected.size()) << where;
        for (std::size_t i = 0; i < updates.size(); ++i) {
            EXPECT_EQ(updates[i].pendingBits, 0u) << where << i;
            EXPECT_EQ(updates[i].written, expected[i]) << where << i;
        }
    };
    {
        clsAD9951 osc(store);
        wire(osc, serial(), 360'096'000);
        osc.Initialise();
        osc.SetFrequency(100'000'000);
        check(serialSamples(), "serial");
    }
    for (const ParallelPins& p : {kDefaultPins, kDrb30Pins, kRemappedInverted}) {
        clsAD9951 osc(store);
        wire(osc, parallel(p), 360'096'000);
        osc.Initialise();
        osc.SetFrequency(100'000'000);
        check(parallelSamples(p), "parallel" + std::to_string(p.data));
    }
}

TEST_F(Bench, Ad9951RefreshResetsTheChipAndSendsTheUnclampedRequestAgain) {
    clsAD9951 osc(store);
    wire(osc, serial(), 360'096'000);
    osc.setBaseFrequency(10'000'000); // MinFreq 0 after the floor, MaxFreq 1 900 480 000
    osc.Initialise();
    trace.clearKeepingState();
    osc.Refresh(); // the last request is still 0
    osc.SetFrequency(100'000'000);
    osc.Refresh();
    const auto updates = pins::decodeAd9951(serialSamples());
    ASSERT_EQ(updates.size(), 7u);
    EXPECT_EQ(updates[2].written, reg(0x04, {0, 0, 0, 0}));
    EXPECT_EQ(updates[3].written, reg(0x04, {0x07, 0x1B, 0xF5, 0x89}));
    EXPECT_EQ(updates[4].written, reg(0x00, {0x00, 0x00, 0x02, 0x02}));
    EXPECT_EQ(updates[6].written, reg(0x04, {0x07, 0x1B, 0xF5, 0x89}));
}

TEST_F(Bench, Ad9951SetsTheVcoRangeBitForFastClocksOnly) {
    clsAD9951 osc(store);
    const struct {
        double clock;
        uint8_t lowByte;
    } cases[] = {{360'096'000, 0x47},
                 {300'000'000, 0x47},
                 {200'000'001, 0x47},
                 {200'000'000, 0x43},
                 {50'000'000, 0x43}};
    for (const auto& c : cases) {
        osc.setClkIn(c.clock);
        EXPECT_EQ(osc.controlRegister2LowByte(), c.lowByte) << c.clock;
    }
}

TEST_F(Bench, Ad9835StartsWithThreeControlWordsAndLoadsFreq0) {
    clsAD9835 osc(store);
    wire(osc, serial(), 50'000'000);
    osc.Initialise();
    const auto start = pins::decodeAd9835(serialSamples());
    ASSERT_EQ(start.size(), 4u);
    EXPECT_EQ(start[0].clockEdges, 0u);
    EXPECT_EQ(start[1].clockEdges, 17u); // one edge too many: the chip takes 0xF800 one bit late
    EXPECT_EQ(start[1].word, 0x7C00);
    EXPECT_EQ(start[2].word, 0xC000);
    EXPECT_EQ(start[3].word, 0x8000);
    EXPECT_TRUE(serialSamples().back().update); // frame sync ends high

    trace.clearKeepingState();
    EXPECT_EQ(osc.SetFrequency(104'550'000), 104'550'000);
    const auto frames = pins::decodeAd9835(serialSamples());
    ASSERT_EQ(frames.size(), 6u);
    const uint16_t words[] = {0x8000, 0xC000, 0x3335, 0x2287, 0x3193, 0x20DE};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(frames[i].clockEdges, 16u);
        EXPECT_EQ(frames[i].word, words[i]);
    }
    EXPECT_EQ(pins::ad9835Freq0(frames), 898'077'662u);
}

TEST_F(Bench, Ad9835SendsNothingForAWordThatDoesNotFit) {
    clsAD9835 osc(store);
    wire(osc, serial(), 5'000'000); // MaxFreq 25 000 000
    osc.Initialise();
    osc.SetFrequency(10'000'000);
    const int32_t word = osc.CurrentTuningWord();
    trace.clearKeepingState();
    EXPECT_EQ(osc.SetFrequency(25'000'000), std::nullopt); // exactly 2^31
    EXPECT_TRUE(trace.writesTo("COM1").empty());
    EXPECT_EQ(osc.CurrentTuningWord(), word);
}

TEST_F(Bench, Ad9835RefreshSendsTheVfosOscillatorFrequency) {
    clsAD9835 osc(store);
    wire(osc, serial(), 50'000'000);
    clsVFO vfo(store);
    vfo.setRxMaxFreq(30'000'000);
    vfo.setOscType(&osc);
    osc.setParent(&vfo);
    osc.Initialise();
    vfo.setTunedFrequency(104'550'000);
    trace.clearKeepingState();
    osc.Refresh();
    EXPECT_FALSE(osc.CMDOutActive());
    EXPECT_EQ(pins::ad9835Freq0(pins::decodeAd9835(serialSamples())), 898'077'662u);
}

// A line interface that logs the members the driver calls.
class CallLog final : public LineInterfaceBase {
public:
    explicit CallLog(profile::SettingsStore& store) : LineInterfaceBase("CallLog", 0, store, nullptr) {}
    int32_t Initialise() override {
        markInitialised();
        return 0;
    }
    void SDATA(int32_t) override { calls.push_back("SDATA"); }
    void SCLCK(int32_t) override { calls.push_back("SCLCK"); }
    void IOUPD(int32_t) override { calls.push_back("IOUPD"); }
    void Out8(uint8_t) override { calls.push_back("Out8"); }
    void Out8LSB(uint8_t) override { calls.push_back("Out8LSB"); }
    void Out16(uint16_t) override { calls.push_back("Out16"); }
    int32_t SendSeqMSB(std::span<const uint8_t>, int32_t) override {
        if (failSequences) runtime::raise(runtime::err::kUnsupportedMember, "CallLog.SendSeqMSB");
        return log("SendSeqMSB");
    }
    int32_t SendSeqLSB(std::span<const uint8_t>, int32_t) override { return log("SendSeqLSB"); }
    int32_t ResetDevice() override { return log("ResetDevice"); }
    int32_t UpdateDevice() override { return log("UpdateDevice"); }
    int32_t log(const char* member) {
        calls.push_back(member);
        return 0;
    }
    std::vector<std::string> calls;
    bool failSequences = false;
};

TEST_F(Bench, DriverEdgesOfTheirOwn) {
    // AD9850: Refresh while CMDOutActive is set moves no line; without an IFHandler it does nothing.
    {
        CallLog line(store);
        clsAD9850 osc(store);
        osc.setIFHandler(&line);
        osc.Initialise();
        line.calls.clear();
        osc.setCMDOutActive(true);
        osc.Refresh();
        EXPECT_TRUE(line.calls.empty());
        osc.setCMDOutActive(false);
        osc.setIFHandler(nullptr);
        osc.Refresh();
        EXPECT_THROW(osc.SetFrequency(1), runtime::RuntimeError);
        EXPECT_THROW(osc.RestoreSettings(), runtime::RuntimeError); // not offered
    }
    // AD9951: creation limits, the limits around a base of 0, CalibMode stored only, and a failing
    // interface ignored from the word on.
    {
        CallLog line(store);
        clsAD9951 osc(store);
        EXPECT_EQ(osc.MaxFreq(), 180'048'000);
        EXPECT_EQ(osc.MinFreq(), 0);
        osc.setBaseFrequency(0);
        // Half the clock would be word 2^31, which does not fit: the limit is the frequency just below.
        EXPECT_EQ(osc.MaxFreq(), 1'800'479'999);
        EXPECT_EQ(osc.MinFreq(), 0);
        osc.setIFHandler(&line);
        osc.Initialise();
        line.calls.clear();
        osc.setCalibMode(true);
        EXPECT_TRUE(line.calls.empty());
        line.failSequences = true;
        EXPECT_EQ(osc.SetFrequency(100'000'000), 100'000'000);
        EXPECT_EQ(line.calls, (std::vector<std::string>{"UpdateDevice"}));
        EXPECT_EQ(osc.SetFrequency(100'000'000), 100'000'000); // the busy flag was cleared
    }
    // AD9835: without an IFHandler the word is still computed, nothing is sent and nothing returned.
    {
        CallLog line(store);
        clsAD9835 osc(store);
        osc.setClkIn(50'000'000);
        osc.setIFHandler(&line);
        osc.Initialise();
        osc.setIFHandler(nullptr);
        EXPECT_EQ(osc.SetFrequency(104'550'000), std::nullopt);
        EXPECT_EQ(osc.CurrentTuningWord(), 898'077'662);
    }
}

TEST_F(Bench, EveryDriverFlushesABufferingInterfaceAfterEachWord) {
    using Calls = std::vector<std::string>;
    {
        CallLog line(store);
        clsAD9850 osc(store);
        osc.setIFHandler(&line);
        osc.Initialise();
        line.calls.clear();
        osc.SetFrequency(70'000'000);
        EXPECT_EQ(line.calls, (Calls{"SendSeqLSB", "UpdateDevice"}));
        line.calls.clear();
        osc.Refresh();
        ASSERT_FALSE(line.calls.empty());
        EXPECT_EQ(line.calls.back(), "UpdateDevice");
        EXPECT_EQ(std::count(line.calls.begin(), line.calls.end(), "UpdateDevice"), 1);
    }
    {
        CallLog line(store);
        clsAD9951 osc(store);
        osc.setIFHandler(&line);
        osc.Initialise();
        EXPECT_EQ(line.calls, (Calls{"SDATA", "SCLCK", "IOUPD", "ResetDevice", "SendSeqMSB", "UpdateDevice",
                                     "SendSeqMSB", "UpdateDevice"}));
    }
}

// Runs act once, from inside the first settle wait long enough to pump the message loop.
struct PumpOnce {
    std::function<void()> act;
    bool done = false;
    runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [this] {
        if (done || !act) return;
        done = true;
        act();
    }}};
};

TEST_F(Bench, ARefreshPumpedFromASettleWaitNeverClocksIntoAWordBeingSent) {
    FakePerformanceCounter slow(10'000'000, 1000);
    modTiming::Timing slowTiming(slow);
    clsDDSParallelIF line(store, slowTiming, lpt);
    line.setWaitTime(0.001); // long enough to pump
    line.Initialise();
    clsAD9850 osc(store);
    wire(osc, line, 100'000'000);
    osc.Initialise();
    osc.SetFrequency(70'000'000);
    trace.clearKeepingState();

    PumpOnce pump;
    pump.act = [&] { osc.Refresh(); };
    osc.SetFrequency(80'000'000);
    ASSERT_TRUE(pump.done);
    auto latches = pins::decodeAd985x(parallelSamples(kDefaultPins));
    ASSERT_EQ(latches.size(), 1u);
    EXPECT_EQ(latches[0].bitsSincePreviousLatch, 40u);
    EXPECT_EQ(latches[0].tuningWord, osc.CurrentTuningWord());

    // And the other way round: a tuning request pumped from a refresh is dropped, not interleaved.
    trace.clearKeepingState();
    PumpOnce pump2;
    std::optional<int32_t> nested;
    pump2.act = [&] { nested = osc.SetFrequency(90'000'000); };
    osc.Refresh();
    ASSERT_TRUE(pump2.done);
    EXPECT_EQ(nested, 90'000'000);
    latches = pins::decodeAd985x(parallelSamples(kDefaultPins));
    ASSERT_EQ(latches.size(), 1u);
    EXPECT_EQ(latches[0].bitsSincePreviousLatch, 40u);
    EXPECT_FALSE(osc.CMDOutActive());
}

TEST_F(Bench, TheAd9951AndAd9835RefuseOutsideCallsWhileTheySend) {
    FakePerformanceCounter slow(10'000'000, 1000);
    modTiming::Timing slowTiming(slow);
    ports.plugIn(1);
    clsDDSSerialIF line(store, slowTiming, ports);
    line.setWaitTime(0.001);
    line.Initialise();
    ASSERT_GT(line.OpenPort(false), 0);
    {
        clsAD9951 osc(store);
        wire(osc, line, 360'096'000);
        osc.Initialise();
        trace.clearKeepingState();
        PumpOnce pump;
        pump.act = [&] {
            osc.Refresh();
            osc.Initialise();
        };
        osc.SetFrequency(100'000'000);
        ASSERT_TRUE(pump.done);
        const auto updates = pins::decodeAd9951(serialSamples());
        ASSERT_EQ(updates.size(), 1u);
        EXPECT_EQ(updates[0].pendingBits, 0u);
        EXPECT_EQ(updates[0].written, reg(0x04, {0x07, 0x1B, 0xF5, 0x89}));
    }
    {
        clsAD9835 osc(store);
        wire(osc, line, 50'000'000);
        clsVFO vfo(store);
        osc.setParent(&vfo);
        osc.Initialise();
        trace.clearKeepingState();
        PumpOnce pump;
        pump.act = [&] { osc.Refresh(); };
        osc.SetFrequency(104'550'000);
        ASSERT_TRUE(pump.done);
        const auto frames = pins::decodeAd9835(serialSamples());
        ASSERT_EQ(frames.size(), 6u);
        EXPECT_EQ(pins::ad9835Freq0(frames), 898'077'662u);
    }
}

} // namespace
