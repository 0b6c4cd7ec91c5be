// The shaft encoder driven by a knob on the simulated serial port's CTS and DSR and on the simulated
// US232C adaptor's input pins, ticked by the test on a fake timer clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/comm/MSComm.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/PostQueue.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "radio/clsAD9835.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsFTDIUS232C.h"
#include "radio/clsVFO.h"
#include "radio/modEncoder.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/SimFtdiDriver.h"
#include "radio/testing/SimSerialLines.h"

using runtime::testing::FakePerformanceCounter;

namespace {

enum class Path { Serial, Us232c };

// The knob's two switches as a 2-bit code (A bit 0, B bit 1); turning up runs 0, 2, 3, 1, 0, ...
constexpr int kUpCycle[4] = {0, 2, 3, 1};

std::vector<int> turn(int& phase, int transitions) {
    std::vector<int> codes;
    const int direction = transitions >= 0 ? 1 : 3;
    for (int i = 0; i < std::abs(transitions); ++i) {
        phase = (phase + direction) % 4;
        codes.push_back(kUpCycle[phase]);
    }
    return codes;
}

// Every transition bounces: the switch makes, breaks and makes again.
std::vector<int> withBounce(const std::vector<int>& codes, int before) {
    std::vector<int> out;
    for (const int c : codes) {
        out.insert(out.end(), {c, before, c});
        before = c;
    }
    return out;
}

struct Readout final : EncoderReadout {
    std::vector<std::string> shown;
    std::vector<std::string> captions;
    void Display7Seg(const std::string& digits) override { shown.push_back(digits); }
    void setLabel15Caption(const std::string& caption) override { captions.push_back(caption); }
};

// The front panel's serial event handler, of which the encoder gives the encoder half.
struct FrontPanel final : comm::OnCommHandler {
    modEncoder::Encoder* encoder = nullptr;
    void OnComm(const comm::ModemEvent& event) override { encoder->QueueEncoderBits(event); }
};

// The receiver with both encoder paths wired up; a test picks one.
struct KnobBench : pins::PinBench {
    KnobBench() {
        vfo.setRXMinFreq(0);
        vfo.setRxMaxFreq(30'000'000);
        vfo.setIFFrequency(0);
        vfo.setTuneStep(1000);
        panel.encoder = &encoder;
        encoder.setUs232cLine(&us232c);
    }

    // The serial interface in event mode on COM1, the knob at rest on code 0 (both lines on).
    void useSerial(double waitSeconds = 1e-6) {
        com1 = &ports.plugIn(1);
        com1->setModemStatus(comm::kMsCtsOn | comm::kMsDsrOn);
        serial.setName(modEncoder::kSerialInterfaceName);
        serial.setPortNo(1);
        serial.setMSCommCtl(&control);
        serial.Initialise();
        serial.setWaitTime(waitSeconds);
        ASSERT_GT(serial.OpenPort(true), 0);
        control.setHandler(&panel);
        wire(serial);
    }

    void useUs232c() {
        driver.plugIn("US232C");
        us232c.setName(modEncoder::kUs232cInterfaceName);
        us232c.Initialise();
        wire(us232c);
    }

    void wire(LineInterface& line) {
        osc.setClkIn(50'000'000);
        osc.setBaseFrequency(0);
        osc.setParent(&vfo);
        osc.setIFHandler(&line);
        osc.Initialise();
        vfo.setOscType(&osc);
        vfo.setTunedFrequency(71'000'200);
    }

    // The knob shows codes: on the serial port each line change is an event, which the UI thread drains;
    // the adaptor samples its pins several times per code while its other pins do what they like.
    // Either way the other bits toggle, so only the encoder's two bits may count.
    void show(Path path, const std::vector<int>& codes) {
        for (const int c : codes) {
            if (path == Path::Serial) {
                // The other status lines (ring, carrier) come and go meanwhile, without events of their own.
                const int32_t lines = comm::kMsCtsOn | comm::kMsDsrOn;
                const auto others = static_cast<int32_t>(rng() & 0xCFu);
                com1->setModemStatus((com1->modemStatus() & lines) | others);
                com1->changeModemStatus(((c & 1) ? 0 : comm::kMsCtsOn) | ((c & 2) ? 0 : comm::kMsDsrOn) |
                                        others);
                continue;
            }
            for (int i = 0; i < 3; ++i) {
                const auto others = static_cast<uint8_t>(rng() & ~0x28u);
                queue().push_back(static_cast<uint8_t>(others | ((c & 1) ? 0x08 : 0) | ((c & 2) ? 0x20 : 0)));
            }
        }
        ui.drain();
    }

    std::deque<uint8_t>& queue() { return driver.adaptor("US232C")->receiveQueue; }

    // The word the AD9835 gets for a frequency in 0.1 Hz at its 50 MHz clock.
    static int32_t wordFor(int64_t tenths) {
        return static_cast<int32_t>((tenths * 4294967296LL + 250'000'000) / 500'000'000);
    }

    std::mt19937 rng{15};
    pins::SimSerialLines* com1 = nullptr;
    runtime::PostQueue ui;
    comm::MSComm control{ports, ui};
    clsDDSSerialIF serial{store, timing, ports};
    clsFTDIUS232C us232c{driver, store, timing};
    clsAD9835 osc{store};
    clsVFO vfo{store};
    ui::testing::FakePlatformTimers timers;
    Readout readout;
    bool enabled = true;
    modEncoder::Encoder encoder{vfo, timers, readout, enabled};
    FrontPanel panel;
};

class Knob : public ::testing::Test, protected KnobBench {};

TEST_F(Knob, TheCodeTablesOfBothPathsDecodeAsTheKnobTurns) {
    const struct Case {
        const char* name;
        Path path;
        std::vector<int> preamble; // brings the decoder to the state the case starts from
        std::vector<int> codes;
        int32_t counted;
    } cases[] = {
        {"serial from 3 after 2: states 13, 4, 2, 11", Path::Serial, {2, 3}, {1, 0, 2, 3}, 4},
        {"serial from 3 after 1: states 14, 8, 1, 7", Path::Serial, {1, 3}, {2, 0, 1, 3}, -3},
        {"serial from 2 after 3: a step back is not decoded", Path::Serial, {1, 3, 2}, {3}, 0},
        {"US232C from 0: states 1, 7, 14, 8", Path::Us232c, {}, {1, 3, 2, 0}, -3},
        {"US232C from 0: states 2, 11, 13, 4", Path::Us232c, {}, {2, 3, 1, 0}, 4},
        {"US232C with each code held", Path::Us232c, {}, {2, 2, 3, 3, 3, 1, 0, 0}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KnobBench bench;
        c.path == Path::Serial ? bench.useSerial() : bench.useUs232c();
        bench.show(c.path, c.preamble);
        bench.encoder.EncoderTimerProc();
        const int32_t before = bench.encoder.EncoderCount();
        const int32_t tuned = bench.vfo.TunedFrequency();
        bench.show(c.path, c.codes);
        bench.encoder.EncoderTimerProc();
        EXPECT_EQ(bench.encoder.EncoderCount() - before, c.counted);
        // One tick moves by one tenth of the step at most, whatever the count.
        EXPECT_EQ(bench.vfo.TunedFrequency() - tuned, c.counted > 0 ? 100 : c.counted < 0 ? -100 : 0);
        EXPECT_EQ(bench.readout.shown.back(), bench.vfo.FormattedTunedFreq());
        if (c.counted != 0) {
            EXPECT_EQ(bench.readout.captions.back(), std::to_string(bench.encoder.EncoderCount()));
        }
        EXPECT_EQ(bench.ui.pending(), 0u);
        if (c.path == Path::Us232c) {
            EXPECT_TRUE(bench.queue().empty());
        }
    }
}

TEST_F(Knob, ATickStepsOnceByATenthOfTheStepRoundedHalfToEven) {
    const struct Case {
        double tuneStep;
        int32_t start;
        int transitions;
        int32_t expected;
    } cases[] = {
        {1000, 71'000'200, 12, 71'000'300}, {1000, 71'000'200, -5, 71'000'100},
        {25, 71'000'200, 1, 71'000'202},    {25, 71'000'205, 1, 71'000'208},
        {25, 71'000'200, -1, 71'000'198},
    };
    useUs232c();
    int phase = 0;
    for (const auto& c : cases) {
        vfo.setTuneStep(c.tuneStep);
        vfo.setTunedFrequency(c.start);
        show(Path::Us232c, turn(phase, c.transitions));
        encoder.EncoderTimerProc();
        EXPECT_EQ(vfo.TunedFrequency(), c.expected) << c.tuneStep << " " << c.transitions;
        // The oscillator was sent the new frequency at once.
        EXPECT_EQ(osc.CurrentTuningWord(), wordFor(c.expected));
        const std::string digits = std::to_string(c.expected);
        EXPECT_EQ(readout.shown.back(), std::string(9 - digits.size(), '0').append(digits));
    }
}

TEST_F(Knob, ReversingAndBouncingTuneTheWayTheKnobTurns) {
    for (const Path path : {Path::Serial, Path::Us232c}) {
        SCOPED_TRACE(path == Path::Serial ? "serial" : "US232C");
        KnobBench bench;
        path == Path::Serial ? bench.useSerial() : bench.useUs232c();
        int phase = 0;
        const int32_t start = bench.vfo.TunedFrequency();
        for (const int transitions : {6, -6, -3, 9}) {
            const int from = kUpCycle[phase];
            const int32_t count = bench.encoder.EncoderCount();
            const int32_t tuned = bench.vfo.TunedFrequency();
            bench.show(path, withBounce(turn(phase, transitions), from));
            bench.encoder.EncoderTimerProc();
            EXPECT_EQ(bench.vfo.TunedFrequency() - tuned, transitions > 0 ? 100 : -100) << transitions;
            EXPECT_EQ(bench.encoder.EncoderCount() > count, transitions > 0);
        }
        EXPECT_EQ(bench.vfo.TunedFrequency(), start);
    }
}

TEST_F(Knob, SwitchedOffTheEncoderQueuesNothingAndTheTickDoesNothing) {
    useSerial();
    enabled = false;
    int phase = 0;
    show(Path::Serial, turn(phase, 8));
    EXPECT_EQ(encoder.EncoderSampleCount(), 0);
    const int32_t tuned = vfo.TunedFrequency();
    encoder.EncoderTimerProc();
    EXPECT_EQ(vfo.TunedFrequency(), tuned);
    EXPECT_TRUE(readout.shown.empty());
    EXPECT_TRUE(readout.captions.empty());

    // Switched on again, only what turns from then on counts.
    enabled = true;
    show(Path::Serial, turn(phase, 4));
    encoder.EncoderTimerProc();
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 100);
}

TEST_F(Knob, AFloodOfSerialChangesIsCappedAndNothingOverruns) {
    useSerial();
    // Synchronise the decoder with the knob first, so every further transition up counts.
    int phase = 0;
    show(Path::Serial, turn(phase, 4));
    encoder.EncoderTimerProc();
    const int32_t count = encoder.EncoderCount();
    const int32_t tuned = vfo.TunedFrequency();

    show(Path::Serial, turn(phase, 70'000));
    EXPECT_EQ(encoder.EncoderSampleCount(), modEncoder::kLastSampleIndex);
    encoder.EncoderTimerProc();
    EXPECT_EQ(encoder.EncoderCount() - count, 65'536);
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 100);
    EXPECT_EQ(encoder.EncoderSampleCount(), 0);
    encoder.EncoderTimerProc(); // the rest was lost: nothing more to step
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 100);
}

TEST_F(Knob, AFloodOfAdaptorSamplesIsReadOverSeveralPollsAndNothingIsLost) {
    useUs232c();
    int phase = 0;
    show(Path::Us232c, turn(phase, 40'000)); // 120 000 pin samples
    const int32_t tuned = vfo.TunedFrequency();
    encoder.EncoderTimerProc();
    EXPECT_EQ(queue().size(), 120'000u - 65'537u);
    encoder.EncoderTimerProc();
    EXPECT_TRUE(queue().empty());
    EXPECT_EQ(encoder.EncoderCount(), 40'000);
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 200);
}

TEST_F(Knob, ATickWithoutAnEncoderInterfaceStillRefreshesTheReadout) {
    clsDDSNullIF null(store);
    null.setName("DDSInterface.Null");
    const struct Case {
        const char* name;
        bool withOscillator;
        LineInterface* line;
    } cases[] = {{"no oscillator", false, nullptr},
                 {"no line interface", true, nullptr},
                 {"neither serial nor US232C", true, &null}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        osc.setIFHandler(c.line);
        vfo.setOscType(c.withOscillator ? &osc : nullptr);
        encoder.PushEncoderSample(0x00); // code 3 would count from rest
        readout.shown.clear();
        encoder.EncoderTimerProc();
        EXPECT_EQ(encoder.EncoderCount(), 0);
        EXPECT_EQ(readout.shown, std::vector<std::string>{vfo.FormattedTunedFreq()});
    }
    // The US232C name without its line object reads nothing either.
    osc.setIFHandler(&us232c);
    vfo.setOscType(&osc);
    us232c.setName(modEncoder::kUs232cInterfaceName);
    encoder.setUs232cLine(nullptr);
    encoder.EncoderTimerProc();
    EXPECT_EQ(encoder.EncoderCount(), 0);
}

TEST_F(Knob, AFailingAdaptorDecodesNothingAndTheNextPollReadsOn) {
    useUs232c();
    int phase = 0;
    const int32_t tuned = vfo.TunedFrequency();
    for (const auto call : {pins::SimFtdiDriver::Call::GetQueueStatus, pins::SimFtdiDriver::Call::Read}) {
        show(Path::Us232c, turn(phase, 2));
        driver.failNext(call, ftdi::status::kIoError);
        readout.shown.clear();
        encoder.EncoderTimerProc();
        EXPECT_EQ(encoder.EncoderCount(), 0);
        EXPECT_EQ(vfo.TunedFrequency(), tuned);
        EXPECT_EQ(readout.shown.size(), 1u);
        EXPECT_TRUE(us232c.FT_Error_Report());
    }
    encoder.EncoderTimerProc();
    EXPECT_EQ(encoder.EncoderCount(), 4);
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 100);
}

TEST_F(Knob, ATickWhileTheVfoIsSendingIsDroppedAndTheNextTickTunes) {
    // Slow settle waits pump the message loop while the oscillator is being sent its word.
    FakePerformanceCounter slow(10'000'000, 1000);
    modTiming::Timing slowTiming(slow);
    clsDDSSerialIF line(store, slowTiming, ports);
    useSerial();
    serial.ClosePort();
    line.setName(modEncoder::kSerialInterfaceName);
    line.setPortNo(1);
    line.setMSCommCtl(&control);
    line.Initialise();
    line.setWaitTime(0.001);
    ASSERT_GT(line.OpenPort(true), 0);
    osc.setIFHandler(&line);
    int phase = 0;
    show(Path::Serial, turn(phase, 4));
    encoder.EncoderTimerProc();
    const int32_t tuned = vfo.TunedFrequency();

    bool pumped = false;
    int32_t nestedCount = 0;
    runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [&] {
        if (pumped) return;
        pumped = true;
        show(Path::Serial, turn(phase, 4));
        encoder.EncoderTimerProc();
        nestedCount = encoder.EncoderCount();
    }}};
    show(Path::Serial, turn(phase, 4));
    encoder.EncoderTimerProc();
    ASSERT_TRUE(pumped);
    EXPECT_GT(nestedCount, 0);
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 100); // the nested tick's step was dropped

    show(Path::Serial, turn(phase, 4));
    encoder.EncoderTimerProc();
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 200);
    EXPECT_EQ(osc.CurrentTuningWord(), wordFor(tuned + 200));
    EXPECT_EQ(readout.shown.back(), vfo.FormattedTunedFreq());
}

TEST_F(Knob, ThePollRunsOnTheWindowsTimerEveryElapsePeriod) {
    useUs232c();
    int phase = 0;
    int owner = 0;
    // Left at 0, the period is 20 ms and the id 4.
    encoder.setEncoderHwnd(&owner);
    encoder.StartEncoderTimer();
    EXPECT_TRUE(timers.isArmed(&owner, 4));
    timers.advance(19);
    EXPECT_TRUE(readout.shown.empty());
    timers.advance(1);
    EXPECT_EQ(readout.shown.size(), 1u);
    encoder.StopEncoderTimer();
    EXPECT_FALSE(timers.isArmed(&owner, 4));

    // As the main window starts it: every 10 ms.
    encoder.setEncoderElapse(10);
    encoder.StartEncoderTimer();
    const int32_t tuned = vfo.TunedFrequency();
    show(Path::Us232c, turn(phase, 3));
    timers.advance(10);
    show(Path::Us232c, turn(phase, 3));
    timers.advance(20);
    EXPECT_EQ(readout.shown.size(), 4u);
    EXPECT_EQ(vfo.TunedFrequency(), tuned + 200);
}

// The poll wakes the program only while the encoder is switched on; a change of the switch re-arms or
// stops it, and a poll that was stopped stays stopped.
TEST_F(Knob, ThePollIsArmedOnlyWhileTheEncoderIsSwitchedOn) {
    struct Case {
        bool onAtStart;
        std::vector<bool> switches; // each followed by EncoderSwitchChanged
        bool stopFirst;             // StopEncoderTimer before the switches
        bool armedAtEnd;
    };
    const Case cases[] = {
        {true, {}, false, true},
        {false, {}, false, false},
        {false, {true}, false, true},
        {true, {false}, false, false},
        {true, {false, true}, false, true},
        {false, {true, true}, false, true},
        {true, {false, true}, true, false},
    };
    for (const Case& c : cases) {
        int owner = 0;
        enabled = c.onAtStart;
        encoder.setEncoderHwnd(&owner);
        encoder.setEncoderElapse(10);
        encoder.StartEncoderTimer();
        EXPECT_EQ(timers.isArmed(&owner, 4), c.onAtStart);
        if (c.stopFirst) encoder.StopEncoderTimer();
        for (const bool on : c.switches) {
            enabled = on;
            encoder.EncoderSwitchChanged();
        }
        EXPECT_EQ(timers.isArmed(&owner, 4), c.armedAtEnd) << c.onAtStart << " " << c.switches.size();
        EXPECT_EQ(encoder.EncoderPollArmed(), c.armedAtEnd);
        if (c.armedAtEnd) {
            EXPECT_EQ(timers.periodMs(&owner, 4), 10);
        }
        encoder.StopEncoderTimer();
    }
}

} // namespace
