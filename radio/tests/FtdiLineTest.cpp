// The FTDI adaptor line interfaces and their driver wrapper, on the simulated adaptor: one USB write
// per UpdateDevice, failures at every driver call, and the pins decoded from the wire formats.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

#include "platform/ftdi/LibFtdiDriver.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/clsD2XX.h"
#include "radio/clsFT232IF.h"
#include "radio/clsFTDIDRB30.h"
#include "radio/clsFTDIUS232C.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"

using Call = pins::SimFtdiDriver::Call;

namespace {

constexpr const char* kUs232c = "US232C";
constexpr const char* kDrb30 = "DRB USB ADP";
constexpr const char* kFt232 = "FT232R USB UART";

class FtdiLines : public ::testing::Test, protected pins::PinBench {
protected:
    FtdiLines() {
        for (const char* d : {kUs232c, kDrb30, kFt232})
            driver.plugIn(d, pins::SimFtdiDriver::kPacedByBaudRate);
    }

    std::vector<uint8_t> pinBytes(const std::string& description) const {
        std::vector<uint8_t> out;
        for (const auto& e : trace.writesTo(pins::SimFtdiDriver::deviceName(description)))
            out.push_back(e.levels);
        return out;
    }
    std::vector<uint32_t> writeSizes(const std::string& description) {
        return driver.adaptor(description)->writeSizes;
    }
    bool isOpen(const std::string& description) { return driver.adaptor(description)->open; }

    clsFTDIUS232C us232c{driver, store, timing};
    clsFTDIDRB30 drb30{driver, store, timing};
    clsFT232IF ft232{driver, store, timing};
};

struct ThreeWireAdaptor {
    const char* name;
    std::string description;
    pins::ThreeWire wiring;
};
const ThreeWireAdaptor kThreeWire[] = {
    {"US232C", kUs232c, pins::wiring::us232c()},
    {"DRB30", kDrb30, pins::wiring::drb30()},
};

class FtdiThreeWire : public FtdiLines {
protected:
    LineInterface& line(const ThreeWireAdaptor& a) {
        return a.description == kUs232c ? static_cast<LineInterface&>(us232c) : drb30;
    }
    FtdiLine& ftdi(const ThreeWireAdaptor& a) {
        return a.description == kUs232c ? static_cast<FtdiLine&>(us232c) : drb30;
    }
    std::vector<pins::ThreeWireSample> samples(const ThreeWireAdaptor& a) const {
        return pins::threeWireSamples(trace, a.wiring);
    }
};

TEST_F(FtdiThreeWire, AFiveByteBurstIsOneWriteOf123PinBytesFramedByTheUpdatePin) {
    const std::array<uint8_t, 5> bytes{0x04, 0x07, 0x1B, 0xF5, 0x89};
    for (const auto& a : kThreeWire) {
        SCOPED_TRACE(a.name);
        line(a).Initialise();
        EXPECT_EQ(line(a).SendSeqMSB(bytes, 5), 0);
        EXPECT_EQ(ftdi(a).PinCount(), 123);
        EXPECT_TRUE(writeSizes(a.description).empty()); // nothing reaches the adaptor before the update
        EXPECT_EQ(line(a).UpdateDevice(), 0);

        EXPECT_EQ(writeSizes(a.description), std::vector<uint32_t>{123});
        const auto written = pinBytes(a.description);
        ASSERT_EQ(written.size(), 123u);
        EXPECT_FALSE(a.wiring.update.level(written.front()));
        EXPECT_TRUE(a.wiring.update.level(written.back()));
        const auto frames = pins::framesOnUpdate(samples(a));
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(pins::toBytes(frames[0], true), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        EXPECT_EQ(ftdi(a).PinCount(), 0);
    }
}

// The common sequences as the DDS chips on these adaptors take them.
TEST_F(FtdiThreeWire, TheCommonSequencesReachTheChipsAsTheirWireFormatsSay) {
    for (const auto& a : kThreeWire) {
        SCOPED_TRACE(a.name);
        LineInterface& l = line(a);
        l.Initialise();

        // AD9850: 40 bits, tuning word bit 0 first, latched on the update edge.
        const std::array<uint8_t, 5> ad9850{0x1F, 0x85, 0xEB, 0x11, 0x00};
        l.SendSeqLSB(ad9850, 5);
        l.UpdateDevice();
        const auto latches = pins::decodeAd985x(samples(a));
        ASSERT_EQ(latches.size(), 1u);
        EXPECT_EQ(latches[0].tuningWord, 300'647'711u);
        EXPECT_EQ(latches[0].bitsSincePreviousLatch, 40u);
        trace.clearKeepingState();

        // AD9951: the instruction byte for the tuning word register, then its four bytes.
        const std::array<uint8_t, 5> ad9951{0x04, 0x11, 0xEB, 0x85, 0x1F};
        l.SendSeqMSB(ad9951, 5);
        l.UpdateDevice();
        const auto updates = pins::decodeAd9951(samples(a));
        ASSERT_EQ(updates.size(), 1u);
        EXPECT_EQ(updates[0].pendingBits, 0u);
        EXPECT_EQ(updates[0].written.at(0x04), (std::vector<uint8_t>{0x11, 0xEB, 0x85, 0x1F}));
        trace.clearKeepingState();

        // AD9835: six framed words load FREQ0 with 0x358793DE through the defer register.
        for (const uint16_t w : {0x8000, 0xC000, 0x3335, 0x2287, 0x3193, 0x20DE})
            l.Out16(w);
        l.UpdateDevice();
        const auto frames = pins::decodeAd9835(samples(a));
        EXPECT_EQ(frames.size(), 6u);
        EXPECT_EQ(pins::ad9835Freq0(frames), 898'077'662u);
        trace.clearKeepingState();

        // Out8 and Out8LSB clock eight bits each and leave the update pin alone.
        l.Out8(0x01);
        l.Out8LSB(0x01);
        l.UpdateDevice();
        const auto s = samples(a);
        EXPECT_EQ(pins::clockedBits(s), (std::vector<bool>{0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_TRUE(pins::framesOnUpdate(s).empty());
    }
}

TEST_F(FtdiThreeWire, LevelsCountAsTheParallelPortCountsThem) {
    const struct {
        int32_t level;
        bool data, clock, update; // what SDATA, SCLCK and IOUPD with that level put on the pins
    } cases[] = {{0, false, false, false},
                 {1, true, true, true},
                 {2, true, true, true},
                 {0x40, true, true, true},
                 {-1, true, false, false}};
    for (const auto& a : kThreeWire) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(a.name) + " level " + std::to_string(c.level));
            line(a).SDATA(c.level);
            line(a).SCLCK(c.level);
            line(a).IOUPD(c.level);
            line(a).UpdateDevice();
            const auto s = samples(a).back();
            EXPECT_EQ(s.data, c.data);
            EXPECT_EQ(s.clock, c.clock);
            EXPECT_EQ(s.update, c.update);
        }
    }
}

TEST_F(FtdiLines, AnEmptyUpdateOpensTheAdaptorSetsItUpAndWritesNothing) {
    const struct {
        LineInterface* line;
        const char* description;
        uint8_t mask;
        uint32_t baud;
    } cases[] = {
        {&us232c, kUs232c, 0x15, 38400}, {&drb30, kDrb30, 0xFF, 38400}, {&ft232, kFt232, 0xFF, 400000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        const auto before = driver.calls().size();
        EXPECT_EQ(c.line->UpdateDevice(), 0);
        const auto calls = driver.calls();
        EXPECT_EQ(std::vector<Call>(calls.begin() + static_cast<std::ptrdiff_t>(before), calls.end()),
                  (std::vector<Call>{Call::Open, Call::SetBitMode, Call::SetBaudRate, Call::Write}));
        const auto* adaptor = driver.adaptor(c.description);
        EXPECT_TRUE(adaptor->open);
        EXPECT_EQ(adaptor->outputMask, c.mask);
        EXPECT_EQ(adaptor->mode, ftdi::kModeAsyncBitBang);
        EXPECT_EQ(adaptor->baudRate, c.baud);
        EXPECT_EQ(adaptor->writeSizes, std::vector<uint32_t>{0});
        // Open from now on: the next update only writes.
        c.line->UpdateDevice();
        EXPECT_EQ(driver.calls().back(), Call::Write);
        EXPECT_EQ(driver.calls().size(), before + 5);
    }
}

TEST_F(FtdiLines, AFailingDriverCallLosesTheBurstClosesTheAdaptorAndTheNextUpdateReopens) {
    const struct {
        Call call;
        ftdi::FT_STATUS status;
    } cases[] = {{Call::Open, ftdi::status::kDeviceNotOpened},
                 {Call::SetBitMode, ftdi::status::kIoError},
                 {Call::SetBaudRate, ftdi::status::kInvalidBaudRate},
                 {Call::Write, ftdi::status::kIoError}};
    const std::array<uint8_t, 1> byte{0xA5};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.call));
        clsFTDIUS232C us232c{driver, store, timing}; // a new object: its adaptor is not open yet
        us232c.Initialise();
        driver.failNext(c.call, c.status);
        us232c.SendSeqMSB(byte, 1);
        EXPECT_EQ(us232c.UpdateDevice(), c.status);
        EXPECT_EQ(us232c.PinCount(), 0);
        EXPECT_FALSE(isOpen(kUs232c));

        const auto opens = [&] {
            const auto calls = driver.calls();
            return std::count(calls.begin(), calls.end(), Call::Open);
        };
        const auto opensBefore = opens();
        const auto sizesBefore = writeSizes(kUs232c).size();
        us232c.IOUPD(1);
        EXPECT_EQ(us232c.UpdateDevice(), 0);
        EXPECT_EQ(opens(), opensBefore + 1);
        EXPECT_TRUE(isOpen(kUs232c));
        // The new buffer starts from index 0: only the one line change goes out.
        ASSERT_EQ(writeSizes(kUs232c).size(), sizesBefore + 1);
        EXPECT_EQ(writeSizes(kUs232c).back(), 1u);
    }
}

TEST_F(FtdiLines, AnAbsentAdaptorReportsDeviceNotFoundEveryTimeAndWritesNothing) {
    pins::PinTrace otherTrace{counter};
    pins::SimFtdiDriver empty{otherTrace};
    clsFTDIDRB30 line{empty, store, timing};
    line.Initialise();
    const std::array<uint8_t, 2> bytes{1, 2};
    line.SendSeqMSB(bytes, 2);
    EXPECT_EQ(line.UpdateDevice(), ftdi::status::kDeviceNotFound);
    EXPECT_EQ(line.PinCount(), 0);
    line.SDATA(1);
    EXPECT_EQ(line.PinCount(), 1);
    EXPECT_EQ(line.ResetDevice(), 0);
    EXPECT_EQ(line.UpdateDevice(), ftdi::status::kDeviceNotFound);
    EXPECT_TRUE(otherTrace.entries().empty());
}

TEST_F(FtdiLines, TheDrb30ResetPlaysItsPulseTrainInThreeWritesAndKeepsTheLines) {
    drb30.Initialise();
    drb30.IOUPD(1);
    drb30.UpdateDevice();
    drb30.SDATA(1); // buffered, then dropped by the reset
    trace.clearKeepingState();

    EXPECT_EQ(drb30.ResetDevice(), 0);
    EXPECT_EQ(writeSizes(kDrb30), (std::vector<uint32_t>{1, 100, 900, 100}));
    std::vector<uint8_t> expected(100, 0x00);
    expected.insert(expected.end(), 900, 0x08);
    expected.insert(expected.end(), 100, 0x00);
    EXPECT_EQ(pinBytes(kDrb30), expected);

    // The shadow was not touched: the next change puts back update and data, whose byte the reset dropped.
    drb30.SCLCK(1);
    drb30.UpdateDevice();
    const auto s = pins::threeWireSamples(trace, pins::wiring::drb30()).back();
    EXPECT_TRUE(s.update);
    EXPECT_TRUE(s.clock);
    EXPECT_TRUE(s.data);
}

TEST_F(FtdiLines, PortStateBitsRideOnEveryI2CPinByte) {
    ft232.Initialise();
    ft232.setPortState(0x1C);
    ft232.I2CInit();
    EXPECT_EQ(ft232.PinCount(), 2);
    ft232.UpdateDevice();
    EXPECT_EQ(pinBytes(kFt232), (std::vector<uint8_t>{0x1E, 0x1F}));
    EXPECT_EQ(ft232.PortState(), 0x1F);
}

TEST_F(FtdiLines, AnI2CWriteOfNBytesIsOneWriteOf8Plus27NPinBytes) {
    ft232.Initialise();
    ft232.setPortState(0xA0);
    for (const int n : {0, 1, 3, 6}) {
        SCOPED_TRACE(n);
        trace.clearKeepingState();
        std::vector<uint8_t> bytes(static_cast<std::size_t>(n));
        std::iota(bytes.begin(), bytes.end(), uint8_t{0xD2});
        EXPECT_EQ(ft232.I2CSendSeq(bytes, n), 0);
        ft232.UpdateDevice();
        EXPECT_EQ(writeSizes(kFt232).back(), static_cast<uint32_t>(8 + 27 * n));

        const auto transactions = pins::decodeI2C(pins::twoWireSamples(trace, pins::wiring::ft232()));
        ASSERT_EQ(transactions.size(), 1u);
        EXPECT_EQ(transactions[0].bytes, bytes);
        EXPECT_EQ(transactions[0].clockPulses, static_cast<std::size_t>(9 * n));
        EXPECT_TRUE(transactions[0].stopped);
        for (const uint8_t b : pinBytes(kFt232))
            ASSERT_EQ(b & 0xFC, 0xA0);
    }
}

// A burst longer than the pin buffer goes out whole and in order, in as many writes as it needs.
TEST_F(FtdiLines, ABurstBeyondThePinBufferIsSentInOrderInSeveralWrites) {
    us232c.Initialise();
    const int n = 2731; // 2 + 24 × 2731 + 1 = 65547 pin bytes for a buffer of 65537
    std::vector<uint8_t> bytes(n);
    for (int i = 0; i < n; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i * 37 + 11);
    us232c.SendSeqMSB(bytes, n);
    EXPECT_EQ(us232c.UpdateDevice(), 0);
    EXPECT_EQ(writeSizes(kUs232c), (std::vector<uint32_t>{65537, 10}));
    const auto frames = pins::framesOnUpdate(pins::threeWireSamples(trace, pins::wiring::us232c()));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(pins::toBytes(frames[0], true), bytes);

    ft232.Initialise();
    std::vector<uint8_t> i2c(40); // 8 + 27 × 40 = 1088 pin bytes for a buffer of 1025
    std::iota(i2c.begin(), i2c.end(), uint8_t{1});
    ft232.I2CSendSeq(i2c, 40);
    EXPECT_EQ(ft232.UpdateDevice(), 0);
    EXPECT_EQ(writeSizes(kFt232), (std::vector<uint32_t>{1025, 63}));
    const auto transactions = pins::decodeI2C(pins::twoWireSamples(trace, pins::wiring::ft232()));
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].bytes, i2c);
}

TEST_F(FtdiLines, TheEncoderReadsTheUs232cQueueOnlyOnceTheAdaptorIsOpen) {
    int32_t count = -1;
    EXPECT_EQ(us232c.Get_USB_Device_Queue_Status(count), ftdi::status::kInvalidHandle);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(us232c.FT_Error_Report());
    us232c.UpdateDevice();
    EXPECT_TRUE(us232c.FT_Error_Report()); // the open switches it on

    auto& queue = driver.adaptor(kUs232c)->receiveQueue;
    for (int i = 0; i < 70000; ++i)
        queue.push_back(static_cast<uint8_t>(i & 0x28));
    EXPECT_EQ(us232c.Get_USB_Device_Queue_Status(count), 0);
    EXPECT_EQ(count, 70000);

    // The encoder's sample buffer holds 65537 bytes: one poll takes that much, the next the rest.
    std::vector<uint8_t> samples(65537);
    int32_t got = 0;
    EXPECT_EQ(us232c.Read_USB_Device(samples, count, got), 0);
    EXPECT_EQ(got, 65537);
    EXPECT_EQ(samples[65536], static_cast<uint8_t>(65536 & 0x28));
    us232c.Get_USB_Device_Queue_Status(count);
    EXPECT_EQ(count, 70000 - 65537);
    EXPECT_EQ(us232c.Read_USB_Device(samples, count, got), 0);
    EXPECT_EQ(got, 70000 - 65537);
    EXPECT_EQ(samples[0], static_cast<uint8_t>(65537 & 0x28));
}

TEST_F(FtdiLines, OnlyTheFt232ClosesItsAdaptorOnClosePort) {
    for (LineInterface* l : std::initializer_list<LineInterface*>{&us232c, &drb30, &ft232})
        l->UpdateDevice();
    EXPECT_EQ(us232c.ClosePort(), 0);
    EXPECT_EQ(drb30.ClosePort(), 0);
    EXPECT_EQ(ft232.ClosePort(), 0);
    EXPECT_TRUE(isOpen(kUs232c));
    EXPECT_TRUE(isOpen(kDrb30));
    EXPECT_FALSE(isOpen(kFt232));
    EXPECT_EQ(ft232.UpdateDevice(), 0);
    EXPECT_TRUE(isOpen(kFt232));
}

TEST_F(FtdiLines, ReleasingAnAdaptorObjectClosesItsAdaptorAndSavesItsSettings) {
    {
        clsFTDIDRB30 line{driver, store, timing};
        clsFT232IF i2c{driver, store, timing};
        for (LineInterface* l : std::initializer_list<LineInterface*>{&line, &i2c}) {
            l->setRxName("RXModel.Test");
            l->Initialise();
            l->UpdateDevice();
        }
        line.setWaitTime(2e-5);
        i2c.setWaitTime(3e-5);
        EXPECT_TRUE(isOpen(kDrb30));
        EXPECT_TRUE(isOpen(kFt232));
    }
    EXPECT_FALSE(isOpen(kDrb30));
    EXPECT_FALSE(isOpen(kFt232));
    const auto seconds = [&](std::string_view key) {
        return runtime::parseDouble(store.GetSetting(runtime::kProductName, "RXModel.Test", key, ""))
            .value_or(-1);
    };
    EXPECT_DOUBLE_EQ(seconds("ParallelWaitTime"), 2e-5);
    EXPECT_DOUBLE_EQ(seconds("SerialWaitTime"), 3e-5);
}

TEST_F(FtdiLines, TheThreeWireAdaptorsKeepTheParallelKeysButAlwaysUseTheirOwnPins) {
    const auto save = [&](std::string_view key, std::string_view value) {
        store.SaveSetting(runtime::kProductName, "RXModel.Test", key, value);
    };
    const auto read = [&](std::string_view key) {
        return store.GetSetting(runtime::kProductName, "RXModel.Test", key, "");
    };
    save("PortAddress", "632");
    save("ParallelWaitTime", "0.0001");
    save("Inverting", "True");
    save("IOUPDBitNo", "6");
    save("SDATABitNo", "7");
    save("SCLCKBitNo", "13");
    us232c.setRxName("RXModel.Test");
    us232c.Initialise();
    EXPECT_DOUBLE_EQ(us232c.WaitTime(), 0.0001);

    // Lines still move pins 0, 2 and 4, not inverted.
    us232c.IOUPD(1);
    us232c.SDATA(1);
    us232c.UpdateDevice();
    EXPECT_EQ(pinBytes(kUs232c), (std::vector<uint8_t>{0x10, 0x14}));

    us232c.SaveSettings();
    EXPECT_EQ(read("PortAddress"), "632");
    EXPECT_DOUBLE_EQ(runtime::parseDouble(read("ParallelWaitTime")).value_or(-1), 0.0001);
    EXPECT_EQ(read("Inverting"), "False");
    EXPECT_EQ(read("IOUPDBitNo"), "4");
    EXPECT_EQ(read("SDATABitNo"), "2");
    EXPECT_EQ(read("SCLCKBitNo"), "0");
}

// The member table of the line interfaces, for the three adaptors: 0 where the class offers the
// member, member-not-supported where it does not.
TEST_F(FtdiLines, EachAdaptorOffersOnlyTheMembersItsHardwareNeeds) {
    constexpr int32_t kNo = runtime::err::kUnsupportedMember;
    const std::array<uint8_t, 1> byte{0};
    std::array<uint8_t, 1> buffer{};
    int32_t n = 0;
    const struct {
        const char* member;
        std::function<void(LineInterface&)> call;
        int32_t ft232, us232c, drb30;
    } cases[] = {
        {"Name", [](LineInterface& l) { l.setName(l.Name()); }, 0, 0, 0},
        {"RxName", [](LineInterface& l) { l.setRxName(l.RxName()); }, 0, 0, 0},
        {"WaitTime", [](LineInterface& l) { l.setWaitTime(l.WaitTime()); }, 0, 0, 0},
        {"Initialise", [](LineInterface& l) { l.Initialise(); }, 0, 0, 0},
        {"RestoreSettings", [](LineInterface& l) { l.RestoreSettings(); }, 0, 0, 0},
        {"SaveSettings", [](LineInterface& l) { l.SaveSettings(); }, 0, 0, 0},
        {"ClosePort", [](LineInterface& l) { l.ClosePort(); }, 0, 0, 0},
        {"ResetDevice", [](LineInterface& l) { l.ResetDevice(); }, 0, 0, 0},
        {"UpdateDevice", [](LineInterface& l) { l.UpdateDevice(); }, 0, 0, 0},
        {"SDATA", [](LineInterface& l) { l.SDATA(1); }, kNo, 0, 0},
        {"SCLCK", [](LineInterface& l) { l.SCLCK(1); }, kNo, 0, 0},
        {"IOUPD", [](LineInterface& l) { l.IOUPD(1); }, kNo, 0, 0},
        {"Out8", [](LineInterface& l) { l.Out8(1); }, kNo, 0, 0},
        {"Out16", [](LineInterface& l) { l.Out16(1); }, kNo, 0, 0},
        {"SendSeqMSB", [&](LineInterface& l) { l.SendSeqMSB(byte, 1); }, kNo, 0, 0},
        {"Out8LSB", [](LineInterface& l) { l.Out8LSB(1); }, kNo, 0, 0},
        {"SendSeqLSB", [&](LineInterface& l) { l.SendSeqLSB(byte, 1); }, kNo, 0, 0},
        {"I2CInit", [](LineInterface& l) { l.I2CInit(); }, 0, kNo, kNo},
        {"I2CSendSeq", [&](LineInterface& l) { l.I2CSendSeq(byte, 1); }, 0, kNo, kNo},
        {"OpenPort", [](LineInterface& l) { l.OpenPort(false); }, kNo, kNo, kNo},
        {"PortNo", [](LineInterface& l) { l.setPortNo(1); }, kNo, kNo, kNo},
        {"GetEncoderBits", [](LineInterface& l) { l.GetEncoderBits(); }, kNo, kNo, kNo},
        {"PortAddress", [](LineInterface& l) { l.setPortAddress(888); }, kNo, kNo, kNo},
        {"Inverting", [](LineInterface& l) { l.setInverting(false); }, kNo, kNo, kNo},
        {"IOUPDBitNo", [](LineInterface& l) { l.setIOUPDBitNo(2); }, kNo, kNo, kNo},
        {"SDATABitNo", [](LineInterface& l) { l.setSDATABitNo(0); }, kNo, kNo, kNo},
        {"SCLCKBitNo", [](LineInterface& l) { l.setSCLCKBitNo(1); }, kNo, kNo, kNo},
        {"PortState", [](LineInterface& l) { l.setPortState(l.PortState()); }, 0, kNo, kNo},
        {"FT_Error_Report", [](LineInterface& l) { l.setFT_Error_Report(l.FT_Error_Report()); }, kNo, 0, kNo},
        {"Get_USB_Device_Queue_Status", [&](LineInterface& l) { l.Get_USB_Device_Queue_Status(n); }, kNo, 0,
         kNo},
        {"Read_USB_Device", [&](LineInterface& l) { l.Read_USB_Device(buffer, 1, n); }, kNo, 0, kNo},
    };
    const auto result = [](const std::function<void(LineInterface&)>& call, LineInterface& l) {
        try {
            call(l);
            return 0;
        } catch (const runtime::RuntimeError& e) {
            return e.Number();
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        clsFT232IF ft{driver, store, timing};
        clsFTDIUS232C us{driver, store, timing};
        clsFTDIDRB30 drb{driver, store, timing};
        EXPECT_EQ(result(c.call, ft), c.ft232);
        EXPECT_EQ(result(c.call, us), c.us232c);
        EXPECT_EQ(result(c.call, drb), c.drb30);
    }
    // ResetDevice does nothing on the two adaptors without a reset pin.
    const auto writes = writeSizes(kUs232c).size() + writeSizes(kFt232).size();
    EXPECT_EQ(ft232.ResetDevice(), 0);
    EXPECT_EQ(us232c.ResetDevice(), 0);
    EXPECT_EQ(ft232.PinCount(), 0);
    EXPECT_EQ(us232c.PinCount(), 0);
    EXPECT_EQ(writeSizes(kUs232c).size() + writeSizes(kFt232).size(), writes);
}

class D2XXWrapper : public FtdiLines {};

TEST_F(D2XXWrapper, KeepsTheHandleAndTheLastStatusAsTheDriverLeavesThem) {
    clsD2XX usb{driver};
    EXPECT_EQ(usb.FT_Current_Baud(), 9600);
    // Never opened: the driver's invalid-handle status, handle still 0.
    EXPECT_EQ(usb.Close_USB_Device(), ftdi::status::kInvalidHandle);
    EXPECT_EQ(usb.FT_Handle(), 0);
    EXPECT_EQ(usb.FT_IO_Status(), ftdi::status::kInvalidHandle);

    EXPECT_EQ(usb.Open_USB_Device_By_Device_Description(kDrb30), 0);
    EXPECT_NE(usb.FT_Handle(), 0);
    // A failed open clears the handle first.
    clsD2XX other{driver};
    EXPECT_EQ(other.Open_USB_Device_By_Device_Description("no such adaptor"), ftdi::status::kDeviceNotFound);
    EXPECT_EQ(other.FT_Handle(), 0);

    driver.failNext(Call::SetBaudRate, ftdi::status::kInvalidBaudRate);
    EXPECT_EQ(usb.Set_USB_Device_BaudRate(38400), ftdi::status::kInvalidBaudRate);
    EXPECT_EQ(usb.FT_Current_Baud(), 38400);
    EXPECT_EQ(usb.FT_IO_Status(), ftdi::status::kInvalidBaudRate);

    driver.failNext(Call::Close, ftdi::status::kIoError);
    EXPECT_EQ(usb.Close_USB_Device(), ftdi::status::kIoError);
    EXPECT_EQ(usb.FT_Handle(), 0);
}

TEST_F(D2XXWrapper, ReleasingTheWrapperClosesItsAdaptor) {
    {
        clsD2XX usb{driver};
        usb.Open_USB_Device_By_Device_Description(kUs232c);
        EXPECT_TRUE(isOpen(kUs232c));
    }
    EXPECT_FALSE(isOpen(kUs232c));
    EXPECT_EQ(driver.calls().back(), Call::Close);
}

TEST_F(D2XXWrapper, AWriteCountBeyondTheArrayIsRefusedBeforeTheDriver) {
    clsD2XX usb{driver};
    usb.Open_USB_Device_By_Device_Description(kDrb30);
    const std::array<uint8_t, 4> bytes{};
    EXPECT_THROW(usb.Write_USB_Device_Buffer(bytes, 5), runtime::RuntimeError);
    EXPECT_TRUE(writeSizes(kDrb30).empty());
    EXPECT_EQ(usb.Write_USB_Device_Buffer(bytes, 4), 0);
}

// This machine has no USB adaptor. The description is one no real adaptor carries, so the test can
// never take over a developer's own cable.
TEST(D2XXOverLibFtdi, AnAbsentAdaptorIsNotFoundAndTheClosedHandleRefusesEveryCall) {
    ftdi::LibFtdiDriver driver;
    clsD2XX usb{driver};
    EXPECT_EQ(usb.Open_USB_Device_By_Device_Description("NerixSDR absent test adaptor"),
              ftdi::status::kDeviceNotFound);
    EXPECT_EQ(usb.FT_Handle(), 0);
    const std::array<uint8_t, 3> bytes{1, 2, 3};
    std::array<uint8_t, 3> buffer{};
    int32_t n = -1;
    EXPECT_EQ(usb.Set_USB_Device_BitMode(0xFF, ftdi::kModeAsyncBitBang), ftdi::status::kInvalidHandle);
    EXPECT_EQ(usb.Set_USB_Device_BaudRate(38400), ftdi::status::kInvalidHandle);
    EXPECT_EQ(usb.Write_USB_Device_Buffer(bytes, 3), ftdi::status::kInvalidHandle);
    EXPECT_EQ(usb.Get_USB_Device_Queue_Status(n), ftdi::status::kInvalidHandle);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(usb.Read_USB_Device(buffer, 3, n), ftdi::status::kInvalidHandle);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(usb.Close_USB_Device(), ftdi::status::kInvalidHandle);
    EXPECT_EQ(usb.FT_IO_Status(), ftdi::status::kInvalidHandle);
}

} // namespace
