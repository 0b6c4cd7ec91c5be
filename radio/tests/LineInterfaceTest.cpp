// The serial and parallel line interfaces on simulated ports: their line mappings, opening and closing,
// the serial event control's events, settings, and the parallel register with its bits and inversion.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/comm/MSComm.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"

namespace {

struct Messages {
    std::vector<std::string> shown;
    runtime::ScopedHooks hooks{
        runtime::Hooks{.msgBox = [this](const std::string& prompt, int32_t, const std::string&) {
            shown.push_back(prompt);
            return runtime::mb::kOk;
        }}};
};

class SerialLine : public ::testing::Test, protected pins::PinBench {
protected:
    runtime::PostQueue ui;
    comm::MSComm control{ports, ui};
    Messages messages;
    clsDDSSerialIF line{store, timing, ports};
};

TEST_F(SerialLine, MapsEachLevelToItsControlLine) {
    pins::SimSerialLines& com = ports.plugIn(1);
    line.Initialise();
    ASSERT_GT(line.OpenPort(false), 0);
    using L = pins::SimSerialLines;
    const struct {
        const char* call;
        std::function<void()> act;
        uint8_t set, cleared;
    } cases[] = {
        {"IOUPD 1", [&] { line.IOUPD(1); }, 0, L::kDtr},
        {"IOUPD 0", [&] { line.IOUPD(0); }, L::kDtr, 0},
        {"IOUPD -1", [&] { line.IOUPD(-1); }, L::kDtr, 0},
        {"SDATA 0x40", [&] { line.SDATA(0x40); }, 0, L::kRts},
        {"SDATA 0", [&] { line.SDATA(0); }, L::kRts, 0},
        {"SCLCK 1", [&] { line.SCLCK(1); }, L::kBreak, 0},
        {"SCLCK 2", [&] { line.SCLCK(2); }, 0, L::kBreak}, // only bit 0 counts
        {"I2CInit", [&] { line.I2CInit(); }, L::kRts | L::kDtr, 0},
    };
    for (const auto& c : cases) {
        c.act();
        EXPECT_EQ(com.levels() & c.set, c.set) << c.call;
        EXPECT_EQ(com.levels() & c.cleared, 0) << c.call;
    }
}

TEST_F(SerialLine, I2CWritesOneTransactionOnRtsAndDtr) {
    ports.plugIn(1);
    line.Initialise();
    ASSERT_GT(line.OpenPort(false), 0);
    const std::array<uint8_t, 3> bytes{0xD2, 0x40, 0x07};
    EXPECT_EQ(line.I2CSendSeq(bytes, 3), 0);
    const auto transactions = pins::decodeI2C(pins::twoWireSamples(trace, pins::wiring::serialI2C(1)));
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].bytes, (std::vector<uint8_t>{0xD2, 0x40, 0x07}));
    EXPECT_EQ(transactions[0].clockPulses, 27u);
    EXPECT_TRUE(transactions[0].stopped);
}

TEST_F(SerialLine, OpensOncePerPortAndClosesInPollMode) {
    ports.plugIn(3);
    line.setPortNo(3);
    line.Initialise();
    EXPECT_EQ(line.GetEncoderBits(), 0); // no port yet
    const int32_t handle = line.OpenPort(false);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(line.OpenPort(false), handle);
    EXPECT_EQ(line.OpenPort(true), handle);
    EXPECT_EQ(ports.opens(), 1);
    // Opening leaves DTR, RTS and break off: the chip sees update and data high, clock low.
    EXPECT_EQ(ports.device(3)->levels(), 0);
    ports.device(3)->setModemStatus(comm::kMsCtsOn | comm::kMsDsrOn);
    EXPECT_EQ(line.GetEncoderBits(), 0x30);
    EXPECT_EQ(line.ClosePort(), 1);
    EXPECT_EQ(line.ClosePort(), 0);
    EXPECT_EQ(line.hComm(), 0);
    // Closed: nothing moves and nothing fails.
    const std::size_t writes = trace.entries().size();
    line.SDATA(1);
    EXPECT_EQ(trace.entries().size(), writes);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SerialLine, APortThatDoesNotOpenGivesItsMessageAndNoHandle) {
    line.setPortNo(12);
    line.Initialise();
    EXPECT_EQ(line.OpenPort(false), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              "clsDDSSerialIF:clsDDSSerialIF:OpenPort : PollMode : Unable to Open COM12\r\n"
              "Please Set valid COM port in Configuration, then Close and Restart");

    line.setMSCommCtl(&control);
    EXPECT_EQ(line.OpenPort(true), 0);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1], "clsDDSSerialIF:clsDDSSerialIF:OpenPort : Unable to Open COM12\r\n"
                                 "Please Set valid COM port in Configuration, then Close and Restart\r\n"
                                 "clsDDSSerialIF:clsDDSSerialIF:OpenPort:0");
}

TEST_F(SerialLine, RestoresItsPortNotBelowOneAndSavesOnlyOnceInitialised) {
    line.setRxName("RXModel.Test");
    line.SaveSettings();
    EXPECT_EQ(store.size(), 0u);
    store.SaveSetting("NerixSDR", "RXModel.Test", "PortNo", "0");
    store.SaveSetting("NerixSDR", "RXModel.Test", "SerialWaitTime", "0.0001");
    line.Initialise();
    EXPECT_EQ(line.PortNo(), 1);
    EXPECT_DOUBLE_EQ(line.WaitTime(), 0.0001);
    line.setPortNo(4);
    line.SaveSettings();
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "PortNo"), "4");
}

TEST_F(SerialLine, Out16FramesWithoutTheSettleWait) {
    ports.plugIn(1);
    line.setWaitTime(0.0001); // 1000 ticks
    line.Initialise();
    ASSERT_GT(line.OpenPort(false), 0);
    trace.clearKeepingState();
    line.Out16(0x2287);
    const auto writes = trace.writesTo("COM1");
    ASSERT_EQ(writes.size(), 51u);
    EXPECT_LT(writes[1].time - writes[0].time, 1000);        // update low, clock low: no wait between
    EXPECT_GE(writes[3].time - writes[2].time, 1000);        // each bit's changes wait
    EXPECT_LT(writes[50].time - writes[49].time, 1000 + 50); // only the last clock's wait before update
    const auto frames = pins::decodeAd9835(pins::threeWireSamples(trace, pins::wiring::serialThreeWire(1)));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].word, 0x2287);
}

TEST_F(SerialLine, EventModeOpensThroughTheControlAndRaisesItsInputChanges) {
    struct Handler : comm::OnCommHandler {
        std::vector<comm::ModemEvent> events;
        comm::MSComm* control = nullptr;
        std::vector<int16_t> commEvents;
        void OnComm(const comm::ModemEvent& e) override {
            events.push_back(e);
            commEvents.push_back(control->CommEvent());
        }
    } handler;
    handler.control = &control;
    control.setHandler(&handler);
    pins::SimSerialLines& com2 = ports.plugIn(2);
    line.setPortNo(2);
    line.setMSCommCtl(&control);
    line.Initialise();
    const int32_t handle = line.OpenPort(true);
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_EQ(control.CommPort(), 2);
    EXPECT_EQ(control.Settings(), "1200,n,8,1");
    EXPECT_EQ(control.InputMode(), 1);
    EXPECT_EQ(handle, control.CommID());

    // The lines go through the control's port.
    line.SCLCK(1);
    EXPECT_EQ(com2.levels() & pins::SimSerialLines::kBreak, pins::SimSerialLines::kBreak);

    // Changes reach the handler only when the UI thread drains, with the status after each change.
    com2.changeModemStatus(comm::kMsCtsOn);
    com2.changeModemStatus(comm::kMsCtsOn | comm::kMsDsrOn);
    com2.changeModemStatus(0);
    EXPECT_TRUE(handler.events.empty());
    EXPECT_EQ(ui.drain(), 4u);
    ASSERT_EQ(handler.events.size(), 4u);
    const std::pair<int16_t, int32_t> expected[] = {{3, 0x10}, {4, 0x30}, {3, 0x20}, {4, 0x00}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(handler.events[i].commEvent, expected[i].first);
        EXPECT_EQ(handler.events[i].modemStatus, expected[i].second);
        EXPECT_EQ(handler.commEvents[i], expected[i].first);
    }

    // Events still queued when the port closes are never raised; the watch has stopped.
    com2.changeModemStatus(comm::kMsCtsOn);
    EXPECT_EQ(line.ClosePort(), 0);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_FALSE(com2.watched());
    ui.drain();
    EXPECT_EQ(handler.events.size(), 4u);

    // Poll mode gives the control's port up before opening its own.
    control.setPortOpen(true);
    EXPECT_GT(line.OpenPort(false), 0);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_TRUE(com2.isOpen());
}

TEST_F(SerialLine, TheControlDropsEventsOfASwappedPortAndOutlivesNoEvent) {
    struct Count : comm::OnCommHandler {
        int n = 0;
        void OnComm(const comm::ModemEvent&) override { ++n; }
    } count;
    pins::SimSerialLines& com1 = ports.plugIn(1);
    ports.plugIn(2);
    {
        comm::MSComm c(ports, ui);
        c.setHandler(&count);
        c.setPortOpen(true);
        com1.changeModemStatus(comm::kMsDsrOn);
        EXPECT_THROW(c.setCommPort(2), runtime::RuntimeError); // not while open
        c.setPortOpen(false);
        c.setCommPort(2);
        c.setPortOpen(true);
        EXPECT_EQ(ui.drain(), 1u);
        EXPECT_EQ(count.n, 0);
        ports.device(2)->changeModemStatus(comm::kMsCtsOn);
    }
    // The control is gone; its queued event is dropped, not raised on a dead object.
    EXPECT_EQ(ui.drain(), 1u);
    EXPECT_EQ(count.n, 0);
    EXPECT_FALSE(ports.device(2)->isOpen());
}

class ParallelLine : public ::testing::Test, protected pins::PinBench {
protected:
    std::vector<uint8_t> writes(int address = 888) const {
        std::vector<uint8_t> out;
        for (const auto& e : trace.writesTo(pins::SimParallelPort::deviceName(address)))
            out.push_back(e.levels);
        return out;
    }

    clsDDSParallelIF line{store, timing, lpt};
};

TEST_F(ParallelLine, InitialiseWritesTheStartStateThroughTheShadow) {
    line.Initialise();
    EXPECT_EQ(writes(), (std::vector<uint8_t>{0x04, 0x04, 0x06}));
}

TEST_F(ParallelLine, LevelsBitsAndInversion) {
    const struct {
        const char* what;
        int32_t data, clock, update;
        bool inverted;
        std::function<void(clsDDSParallelIF&)> act;
        uint8_t expected;
    } cases[] = {
        {"update 1 inverted clears bit 2", 0, 1, 2, true, [](auto& l) { l.IOUPD(1); }, 0x00},
        {"update 0 inverted sets bit 2", 0, 1, 2, true, [](auto& l) { l.IOUPD(0); }, 0x04},
        {"bit number 9 is bit 1", 0, 1, 9, false, [](auto& l) { l.IOUPD(1); }, 0x02},
        {"data 0x80 sets the data bit", 0, 1, 2, false, [](auto& l) { l.SDATA(0x80); }, 0x01},
        {"update 2 sets the update bit", 0, 1, 2, false, [](auto& l) { l.IOUPD(2); }, 0x04},
        {"clock -1 is low", 0, 1, 2, false, [](auto& l) { l.SCLCK(-1); }, 0x00},
        {"two lines on one bit", 5, 5, 2, false, [](auto& l) { l.SCLCK(1), l.SDATA(0); }, 0x00},
        {"bit 7", 7, 1, 2, false, [](auto& l) { l.SDATA(1); }, 0x80},
    };
    for (const auto& c : cases) {
        clsDDSParallelIF l(store, timing, lpt);
        l.setSDATABitNo(c.data);
        l.setSCLCKBitNo(c.clock);
        l.setIOUPDBitNo(c.update);
        l.setInverting(c.inverted);
        c.act(l);
        EXPECT_EQ(lpt.levels(888), c.expected) << c.what;
    }
    line.setIOUPDBitNo(9);
    EXPECT_EQ(line.IOUPDBitNo(), 1);
}

TEST_F(ParallelLine, AnyPortAddressIsWrittenAndAFailingPortRaisesAtEveryChange) {
    line.setPortAddress(0xD800);
    line.SDATA(1);
    EXPECT_EQ(lpt.levels(0xD800), 0x01);
    EXPECT_EQ(line.ClosePort(), 0);
    line.SCLCK(1);
    EXPECT_EQ(lpt.levels(0xD800), 0x03);
    line.setPortAddress(0x10000);
    EXPECT_THROW(line.SDATA(0), runtime::RuntimeError);
    line.setPortAddress(888);
    lpt.failWith(runtime::err::kFileNotFound);
    for (int i = 0; i < 2; ++i) {
        try {
            line.IOUPD(1);
            ADD_FAILURE() << "no error";
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kFileNotFound);
        }
    }
}

TEST_F(ParallelLine, SettingsRoundTripInTheirOrder) {
    line.setRxName("RXModel.Test");
    store.SaveSetting("NerixSDR", "RXModel.Test", "PortAddress", "632");
    store.SaveSetting("NerixSDR", "RXModel.Test", "Inverting", "True");
    store.SaveSetting("NerixSDR", "RXModel.Test", "IOUPDBitNo", "9");
    store.SaveSetting("NerixSDR", "RXModel.Test", "SDATABitNo", "3");
    line.Initialise();
    EXPECT_EQ(line.PortAddress(), 632);
    EXPECT_TRUE(line.Inverting());
    EXPECT_EQ(line.IOUPDBitNo(), 1);
    EXPECT_EQ(line.SDATABitNo(), 3);
    EXPECT_EQ(line.SCLCKBitNo(), 1);
    // Update 1 inverted clears bit 1, data 0 inverted sets bit 3, clock 1 inverted clears bit 1 again.
    EXPECT_EQ(writes(632), (std::vector<uint8_t>{0x00, 0x08, 0x08}));
    line.SaveSettings();
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "IOUPDBitNo"), "1");
    EXPECT_EQ(store.GetSetting("NerixSDR", "RXModel.Test", "ParallelWaitTime"), "5E-06");
}

} // namespace
