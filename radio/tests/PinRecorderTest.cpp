// The pin recorder itself: wirings with remapped and inverted bits, the simulated adaptor, and the
// framing facts the chip decoders must report.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "radio/testing/PinDecoders.h"
#include "radio/tests/BenchLine.h"

using runtime::testing::FakePerformanceCounter;

namespace {

// Clocks an AD9850 word into a parallel port by hand, from the chip's serial format: 40 bits, tuning
// word bit 0 first, data set while the clock is low, then the update strobe.
void clockWordByHand(pins::SimParallelPort& port, const pins::ThreeWire& w, uint32_t word, uint8_t control) {
    uint8_t reg = port.levels(888);
    const auto drive = [&](const pins::Wire& wire, bool level) {
        const bool physical = level != wire.inverted;
        reg = physical ? static_cast<uint8_t>(reg | wire.mask) : static_cast<uint8_t>(reg & ~wire.mask);
        port.Out32(888, reg);
    };
    drive(w.update, false);
    drive(w.clock, false);
    const uint64_t bits = uint64_t{word} | uint64_t{control} << 32;
    for (int i = 0; i < 40; ++i) {
        drive(w.data, (bits >> i) & 1);
        drive(w.clock, true);
        drive(w.clock, false);
    }
    drive(w.update, true);
}

TEST(PinRecorder, AParallelWiringDecodesWhateverBitsAndInversionItNames) {
    const struct {
        int data, clock, update;
        bool inverted;
    } cases[] = {{0, 1, 2, false}, {0, 1, 2, true}, {7, 3, 5, false}, {6, 4, 1, true}};
    for (const auto& c : cases) {
        FakePerformanceCounter counter(10'000'000, 1);
        pins::PinTrace trace(counter);
        pins::SimParallelPort port(trace);
        const auto wiring = pins::wiring::parallel(888, c.data, c.clock, c.update, c.inverted);
        // The chip's lines start low whatever the inversion.
        port.Out32(888, c.inverted ? 0xFF : 0x00);
        clockWordByHand(port, wiring, 300'647'711u, 0x01);

        const auto latches = pins::decodeAd985x(pins::threeWireSamples(trace, wiring));
        ASSERT_EQ(latches.size(), 1u);
        EXPECT_EQ(latches[0].tuningWord, 300'647'711u);
        EXPECT_EQ(latches[0].control, 0x01);
        EXPECT_EQ(latches[0].bitsSincePreviousLatch, 40u);
    }
}

TEST(PinRecorder, AnUpdatePulseWithoutBitsIsALatchOfNoBits) {
    FakePerformanceCounter counter(10'000'000, 1);
    pins::PinTrace trace(counter);
    pins::SimParallelPort port(trace);
    // Data, clock and update low, then the update line 1, 0: the AD985x start sequence.
    for (const uint8_t reg : {0x00, 0x00, 0x00, 0x04, 0x00})
        port.Out32(888, reg);
    const auto latches = pins::decodeAd985x(pins::threeWireSamples(trace, pins::wiring::parallel()));
    ASSERT_EQ(latches.size(), 1u);
    EXPECT_EQ(latches[0].bitsSincePreviousLatch, 0u);
}

TEST(PinRecorder, AFailingParallelPortRaisesToTheWriter) {
    FakePerformanceCounter counter;
    pins::PinTrace trace(counter);
    pins::SimParallelPort port(trace);
    port.failWith(runtime::err::kFileNotFound);
    EXPECT_THROW(port.Out32(888, 1), runtime::RuntimeError);
    EXPECT_TRUE(trace.writesTo(pins::SimParallelPort::deviceName(888)).empty());
}

TEST(PinRecorder, TheAd9835StartSequenceOpensWithASeventeenEdgeFrame) {
    FakePerformanceCounter counter(10'000'000, 1);
    modTiming::Timing timing(counter);
    profile::MemorySettingsStore store;
    pins::PinTrace trace(counter);
    pins::SimSerialLines port(trace, 2);
    BenchLine line(store, timing, port);
    line.Initialise();

    line.SDATA(0), line.SCLCK(0), line.IOUPD(0);
    line.IOUPD(1), line.SDATA(0), line.SCLCK(1), line.IOUPD(0);
    line.Out8(0xF8), line.Out8(0x00), line.IOUPD(1), line.IOUPD(0);
    line.Out8(0xC0), line.Out8(0x00), line.IOUPD(1), line.IOUPD(0);
    line.Out8(0x80), line.Out8(0x00), line.IOUPD(1);

    const auto frames = pins::decodeAd9835(pins::threeWireSamples(trace, pins::wiring::serialThreeWire(2)));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].clockEdges, 0u);
    EXPECT_EQ(frames[1].clockEdges, 17u); // the clock's fall at the start of the first Out8 counts
    EXPECT_EQ(frames[1].word, 0x7C00);    // so the chip takes the word one bit late
    EXPECT_EQ(frames[2].clockEdges, 16u);
    EXPECT_EQ(frames[2].word, 0xC000);
    EXPECT_EQ(frames[3].clockEdges, 16u);
    EXPECT_EQ(frames[3].word, 0x8000);
}

TEST(PinRecorder, Ad9835FramesLoadFreq0ThroughTheDeferRegister) {
    FakePerformanceCounter counter(10'000'000, 1);
    modTiming::Timing timing(counter);
    profile::MemorySettingsStore store;
    pins::PinTrace trace(counter);
    pins::SimSerialLines port(trace, 1);
    BenchLine line(store, timing, port);
    line.Initialise();
    for (const uint16_t w : {0x8000, 0xC000, 0x3335, 0x2287, 0x3193, 0x20DE})
        line.Out16(w);

    const auto frames = pins::decodeAd9835(pins::threeWireSamples(trace, pins::wiring::serialThreeWire(1)));
    EXPECT_EQ(frames.size(), 6u);
    EXPECT_EQ(pins::ad9835Freq0(frames), 898'077'662u);
}

class SimAdaptor : public ::testing::Test {
protected:
    FakePerformanceCounter counter{10'000'000, 0};
    pins::PinTrace trace{counter};
    pins::SimFtdiDriver driver{trace};
};

TEST_F(SimAdaptor, OpensByDescriptionOnly) {
    driver.plugIn("US232C");
    ftdi::FT_HANDLE handle = 99;
    EXPECT_EQ(driver.FT_OpenEx("DRB USB ADP", handle), ftdi::status::kDeviceNotFound);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(driver.FT_OpenEx("US232C", handle), ftdi::status::kOk);
    EXPECT_NE(handle, 0);
    EXPECT_EQ(driver.FT_Close(handle), ftdi::status::kOk);
    uint32_t written = 0;
    const uint8_t byte = 1;
    EXPECT_EQ(driver.FT_Write(handle, &byte, 1, written), ftdi::status::kInvalidHandle);
}

TEST_F(SimAdaptor, PlaysWrittenBytesOnItsOutputPinsAtItsOwnPace) {
    driver.plugIn("US232C", 26);
    ftdi::FT_HANDLE handle = 0;
    ASSERT_EQ(driver.FT_OpenEx("US232C", handle), ftdi::status::kOk);
    driver.failNext(pins::SimFtdiDriver::Call::SetBitMode, ftdi::status::kIoError);
    EXPECT_EQ(driver.FT_SetBitMode(handle, 0x15, ftdi::kModeAsyncBitBang), ftdi::status::kIoError);
    EXPECT_EQ(driver.FT_SetBitMode(handle, 0x15, ftdi::kModeAsyncBitBang), ftdi::status::kOk);

    const std::array<uint8_t, 3> bytes{0xFF, 0x04, 0x10};
    uint32_t written = 0;
    EXPECT_EQ(driver.FT_Write(handle, bytes.data(), 3, written), ftdi::status::kOk);
    EXPECT_EQ(written, 3u);
    const auto writes = trace.writesTo(pins::SimFtdiDriver::deviceName("US232C"));
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].levels, 0x15); // input pins do not follow the byte
    EXPECT_EQ(writes[1].levels, 0x04);
    EXPECT_EQ(writes[2].time - writes[1].time, 26);
    EXPECT_EQ(driver.adaptor("US232C")->writeSizes, std::vector<uint32_t>{3});
}

TEST_F(SimAdaptor, PacedByItsBaudRateItPlaysSixteenBytesPerBaud) {
    driver.plugIn("DRB USB ADP", pins::SimFtdiDriver::kPacedByBaudRate);
    ftdi::FT_HANDLE handle = 0;
    driver.FT_OpenEx("DRB USB ADP", handle);
    driver.FT_SetBitMode(handle, 0xFF, ftdi::kModeAsyncBitBang);
    driver.FT_SetBaudRate(handle, 38400);
    const std::vector<uint8_t> bytes(123, 0x55);
    uint32_t written = 0;
    driver.FT_Write(handle, bytes.data(), 123, written);
    const auto writes = trace.writesTo(pins::SimFtdiDriver::deviceName("DRB USB ADP"));
    ASSERT_EQ(writes.size(), 123u);
    // 614400 bytes a second on a 10 MHz counter: 122 byte times after the first byte.
    EXPECT_EQ(writes.back().time - writes.front().time, 122 * 10'000'000 / 614'400);
}

TEST_F(SimAdaptor, InputPinsShowTheTestSourceBesideTheOutputPins) {
    driver.plugIn("US232C", 10);
    driver.adaptor("US232C")->inputPins = [](int64_t t) {
        return static_cast<uint8_t>(t >= 30 ? 0xFF : 0x08);
    };
    ftdi::FT_HANDLE handle = 0;
    driver.FT_OpenEx("US232C", handle);
    driver.FT_SetBitMode(handle, 0x15, ftdi::kModeAsyncBitBang);
    const std::array<uint8_t, 3> bytes{0x00, 0x01, 0x15};
    uint32_t written = 0;
    driver.FT_Write(handle, bytes.data(), 3, written);
    const auto writes = trace.writesTo(pins::SimFtdiDriver::deviceName("US232C"));
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].levels, 0x08); // at time 10
    EXPECT_EQ(writes[1].levels, 0x09); // at time 20
    EXPECT_EQ(writes[2].levels, 0xFF); // at time 30: every input pin high, and the outputs
}

TEST_F(SimAdaptor, AnswersReadsFromItsReceiveQueue) {
    driver.plugIn("US232C");
    ftdi::FT_HANDLE handle = 0;
    driver.FT_OpenEx("US232C", handle);
    driver.adaptor("US232C")->receiveQueue = {0x28, 0x08, 0x20};
    uint32_t waiting = 0;
    EXPECT_EQ(driver.FT_GetQueueStatus(handle, waiting), ftdi::status::kOk);
    EXPECT_EQ(waiting, 3u);
    std::array<uint8_t, 2> buffer{};
    uint32_t got = 0;
    EXPECT_EQ(driver.FT_Read(handle, buffer.data(), 2, got), ftdi::status::kOk);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(buffer, (std::array<uint8_t, 2>{0x28, 0x08}));
    driver.FT_GetQueueStatus(handle, waiting);
    EXPECT_EQ(waiting, 1u);
}

} // namespace
