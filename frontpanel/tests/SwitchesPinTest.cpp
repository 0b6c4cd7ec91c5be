// The receiver switches on simulated hardware: the Elektor model's RF input and IF attenuator decoded
// from the FT232 adaptor's pins as the oscillator's writes carry them, the calibration input, the LO side
// sent to the clock generator, and the shaft encoder turned on the serial port's CTS and DSR lines.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "clockgen/clsCY27EE16.h"
#include "frontpanel/tests/PanelRig.h"
#include "platform/comm/MSComm.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/PostQueue.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "radio/clsAD9835.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsFT232IF.h"
#include "radio/modEncoder.h"
#include "radio/modSetupRX.h"
#include "radio/testing/PinDecoders.h"
#include "radio/testing/SimFtdiDriver.h"
#include "radio/testing/SimSerialLines.h"
#include "radio/testing/Wirings.h"

namespace {

using runtime::testing::FakePerformanceCounter;

constexpr int32_t kElektorModel = 19;
constexpr int32_t kClockGenOnSerial = 17;
constexpr const char* kAdaptor = "FTDI:FT232R USB UART";
constexpr uint8_t kClockGenerator = 0xD2, kInputRegister = 0x09;

// The front panel over a receiver the set-up builds on simulated ports: the clock generator on the FT232
// adaptor or on the serial port. The clock generator's knob is the panel's BFO knob.
struct ClockGenBench : paneltest::PanelRig {
    explicit ClockGenBench(int32_t model) {
        ftdi.plugIn("FT232R USB UART");
        ports.plugIn(1);
        context.switches.ft232 = [this] { return &ft232; };
        context.switches.modelSection = [this] { return setup.ModelSection; };
        rebuild();
        cy = std::make_unique<clsCY27EE16>(store, &core->routines);
        core->knobs.FillKnobTable(core->levels.twinSetUp());
        RXDefinitions::RxModelTable models;
        state().SDRModelNo = model;
        int32_t m = -1;
        modSetupRX::RadioObjects objects;
        objects.Vfo = &vfoObject;
        objects.SerialLine = &serial;
        objects.Ft232Line = &ft232;
        objects.Cy27ee16Osc = cy.get();
        setup.InitialiseRX(m, {store, state(), models, objects, nullptr});
        vfoObject.setTunedFrequency(71'000'000);
        trace.clearKeepingState();
    }

    // The register values the clock generator was sent since the trace was last cleared, in order.
    std::vector<uint8_t> inputRegisterWrites() const {
        std::vector<uint8_t> values;
        for (const auto& t : pins::decodeI2C(pins::twoWireSamples(trace, pins::wiring::ft232())))
            if (t.bytes.size() >= 3 && t.bytes[0] == kClockGenerator && t.bytes[1] == kInputRegister)
                values.push_back(t.bytes[2]);
        return values;
    }

    FakePerformanceCounter counter{10'000'000, 1};
    modTiming::Timing timing{counter};
    pins::PinTrace trace{counter};
    pins::SimSerialPorts ports{trace};
    pins::SimFtdiDriver ftdi{trace};
    runtime::ScopedHooks hooks{{.doEvents = [] {}, .addLog = {}, .msgBox = {}}};
    clsDDSSerialIF serial{store, timing, ports};
    clsFT232IF ft232{ftdi, store, timing};
    std::unique_ptr<clsCY27EE16> cy;
    modSetupRX::ReceiverSetup setup;
};

} // namespace

TEST(ElektorSwitches, ThePinByteCarriesTheInputAndTheAttenuationWithTheOscillatorsWrites) {
    ClockGenBench b(kElektorModel);
    ASSERT_EQ(b.setup.ModelSection, "RXModel.Elektor 2007-05 IQ SDR");
    frontpanel::ReceiverSwitches& s = b.core->switches;
    struct Click {
        bool rfInput;
        int16_t index;
    };
    int rf = 0, attenuation = 0;
    for (const Click c : {Click{true, 2}, Click{false, 1}, Click{true, 5}, Click{false, 2}, Click{true, 6},
                          Click{false, 0}, Click{true, 1}, Click{false, 2}, Click{true, 0}}) {
        SCOPED_TRACE(testing::Message() << (c.rfInput ? "RF input " : "attenuation ") << c.index);
        b.trace.clearKeepingState();
        if (c.rfInput) {
            s.optRFInSel.setValue(c.index, true);
            rf = c.index;
        } else {
            s.optIFAttenuation.setValue(c.index, true);
            attenuation = c.index;
        }
        const auto writes = b.trace.writesTo(kAdaptor);
        ASSERT_FALSE(writes.empty()) << "the refresh sent nothing";
        std::set<uint8_t> upperBits;
        for (const auto& w : writes)
            upperBits.insert(static_cast<uint8_t>(w.levels & 0xFC));
        EXPECT_EQ(upperBits, std::set<uint8_t>{static_cast<uint8_t>(rf * 4 | attenuation * 32)});
        EXPECT_EQ(b.ft232.PortState() & 0x80, 0);
    }
}

TEST(ElektorSwitches, CalibrationTunesTheSignalAndAnyOtherInputTunesBack) {
    ClockGenBench b(kElektorModel);
    frontpanel::ReceiverSwitches& s = b.core->switches;
    s.optRFInSel.setValue(7, true);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 50'000'000);
    EXPECT_TRUE(b.cy->CalibMode());
    EXPECT_EQ(b.inputRegisterWrites().back(), 0x24);
    EXPECT_EQ(b.ft232.PortState() & 0x1C, 7 * 4);

    b.trace.clearKeepingState();
    s.optRFInSel.setValue(2, true);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'000'000);
    EXPECT_FALSE(b.cy->CalibMode());
    EXPECT_EQ(b.inputRegisterWrites().back(), 0x20);

    // The calibration chosen twice in a row keeps the frequency from before the first.
    s.optRFInSel_Click(7);
    s.optRFInSel_Click(7);
    EXPECT_EQ(s.CalibrationReturnFrequency(), 71'000'000);
    s.optRFInSel.setValue(1, true);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'000'000);
}

TEST(ElektorSwitches, AnotherModelsSwitchesMoveNothing) {
    ClockGenBench b(kClockGenOnSerial);
    frontpanel::ReceiverSwitches& s = b.core->switches;
    s.optRFInSel.setValue(7, true);
    s.optIFAttenuation.setValue(2, true);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'000'000);
    EXPECT_EQ(b.ft232.PortState(), 0);
    EXPECT_TRUE(b.trace.writesTo(kAdaptor).empty());
    EXPECT_TRUE(b.trace.writesTo("COM1").empty());
    EXPECT_FALSE(b.cy->CalibMode());
}

TEST(ElektorSwitches, TheLoSideSendsTheOscillatorForTheNewSideAndFlipsTheBfo) {
    ClockGenBench b(kElektorModel);
    frontpanel::ReceiverSwitches& s = b.core->switches;
    ASSERT_TRUE(b.vfoObject.HiSideLo());
    b.state().HiSideLoActive = true;
    b.vfoObject.setTunedFrequency(71'003'000);
    const int32_t highSide = b.vfoObject.OscOut();
    const int32_t bfo = b.state().BfoOffset;
    ASSERT_NE(bfo, 0) << "the clock generator hands the knob the hertz below its step";

    s.chkTuneLo.setValue(1);
    EXPECT_FALSE(b.vfoObject.HiSideLo());
    // The oscillator runs at four times the LO, which moved from above the signal to below it.
    EXPECT_EQ(highSide - b.vfoObject.OscOut(), 4 * 2 * 120'000);
    EXPECT_FALSE(b.inputRegisterWrites().empty()) << "the oscillator was not sent again";
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'003'000);
    EXPECT_EQ(b.state().BfoOffset, -bfo);
}

TEST(SerialEncoder, CtsAndDsrChangesStepTheEncoderWhileItIsEnabled) {
    struct Bench : paneltest::PanelRig {
        Bench() {
            com1 = &ports.plugIn(1);
            com1->setModemStatus(comm::kMsCtsOn | comm::kMsDsrOn);
            serial.setName(modEncoder::kSerialInterfaceName);
            serial.setPortNo(1);
            serial.setMSCommCtl(&control);
            serial.Initialise();
            serial.setWaitTime(1e-6);
            osc.setClkIn(50'000'000);
            osc.setBaseFrequency(0);
            osc.setParent(&vfoObject);
            osc.setIFHandler(&serial);
            osc.Initialise();
            vfoObject.setOscType(&osc);
            vfoObject.setIFFrequency(0);
            vfoObject.setTuneStep(1000);
            vfoObject.setTunedFrequency(71'000'200);
            context.encoder = &encoder;
            rebuild();
            // The main window opens the port through its control and hands the events to the panel.
            EXPECT_GT(serial.OpenPort(true), 0);
            control.setHandler(&core->switches);
        }
        // Turns the knob by transitions of its two switches (CTS and DSR, on when the switch is open).
        void turn(int transitions) {
            constexpr int kUpCycle[4] = {0, 2, 3, 1};
            for (int i = 0; i < std::abs(transitions); ++i) {
                phase = (phase + (transitions > 0 ? 1 : 3)) % 4;
                const int code = kUpCycle[phase];
                com1->changeModemStatus(((code & 1) ? 0 : comm::kMsCtsOn) |
                                        ((code & 2) ? 0 : comm::kMsDsrOn));
            }
            ui.drain();
            encoder.EncoderTimerProc();
        }
        FakePerformanceCounter counter{10'000'000, 1};
        modTiming::Timing timing{counter};
        pins::PinTrace trace{counter};
        pins::SimSerialPorts ports{trace};
        pins::SimSerialLines* com1 = nullptr;
        runtime::PostQueue ui;
        comm::MSComm control{ports, ui};
        clsDDSSerialIF serial{store, timing, ports};
        clsAD9835 osc{store};
        ui::testing::FakePlatformTimers timers;
        // The panel's readout, reached through the core in use.
        struct Readout final : EncoderReadout {
            Bench& bench;
            explicit Readout(Bench& b) : bench(b) {}
            void Display7Seg(const std::string& digits) override { bench.core->tuning.Display7Seg(digits); }
            void setLabel15Caption(const std::string&) override {}
        } readout{*this};
        modEncoder::Encoder encoder{vfoObject, timers, readout, state().EnableShaftEncoder};
        int phase = 0;
    } b;

    b.turn(8);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'000'200) << "the encoder is switched off";
    b.state().EnableShaftEncoder = true;
    b.turn(8);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'000'300);
    b.turn(-8);
    EXPECT_EQ(b.vfoObject.TunedFrequency(), 71'000'200);
    EXPECT_EQ(b.core->routines.LastEncoderBits() & 0x30, b.com1->modemStatus() & 0x30);
}
