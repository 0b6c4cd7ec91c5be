// The common bit sequences, proven on simulated serial control lines by decoding the pins.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"
#include "radio/tests/BenchLine.h"

namespace {

class LineSequences : public ::testing::Test, protected pins::PinBench {
protected:
    void SetUp() override { line.Initialise(); }

    std::vector<pins::ThreeWireSample> samples() const {
        return pins::threeWireSamples(trace, pins::wiring::serialThreeWire(1));
    }
    std::size_t changes() const { return trace.writesTo("COM1").size(); }

    pins::SimSerialLines port{trace, 1};
    BenchLine line{store, timing, port};
};

TEST_F(LineSequences, SendSeqMSBFramesFortyBitsBetweenUpdateEdges) {
    const std::array<uint8_t, 5> bytes{0x04, 0x07, 0x1B, 0xF5, 0x89};
    EXPECT_EQ(line.SendSeqMSB(bytes, 5), 0);

    EXPECT_EQ(changes(), 123u); // update low, clock low, 40 × (data, clock high, clock low), update high
    const auto frames = pins::framesOnUpdate(samples());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(pins::toBytes(frames[0], true), std::vector<uint8_t>(bytes.begin(), bytes.end()));

    const auto updates = pins::decodeAd9951(samples());
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].pendingBits, 0u);
    EXPECT_EQ(updates[0].written.at(0x04), (std::vector<uint8_t>{0x07, 0x1B, 0xF5, 0x89}));
}

TEST_F(LineSequences, SendSeqLSBLoadsTheAd9850Word) {
    const std::array<uint8_t, 5> bytes{0x1F, 0x85, 0xEB, 0x11, 0x00};
    EXPECT_EQ(line.SendSeqLSB(bytes, 5), 0);

    const auto latches = pins::decodeAd985x(samples());
    ASSERT_EQ(latches.size(), 1u);
    EXPECT_EQ(latches[0].tuningWord, 300'647'711u);
    EXPECT_EQ(latches[0].control, 0x00);
    EXPECT_EQ(latches[0].bitsSincePreviousLatch, 40u);
}

TEST_F(LineSequences, EveryLineChangeIsFollowedByTheSettleTime) {
    line.setWaitTime(5e-6); // 50 ticks
    const std::array<uint8_t, 2> bytes{0xA5, 0x3C};
    line.SendSeqMSB(bytes, 2);
    line.Out16(0x1234);

    const auto writes = trace.writesTo("COM1");
    ASSERT_GT(writes.size(), 2u);
    for (std::size_t i = 0; i + 1 < writes.size(); ++i)
        EXPECT_GE(writes[i + 1].time - writes[i].time, 50) << "after change " << i;
}

TEST_F(LineSequences, Out8ClocksEightBitsInItsOrderWithoutTouchingUpdate) {
    const struct {
        uint8_t value;
        bool msbFirst;
        std::vector<bool> bits;
    } cases[] = {
        {0x01, true, {0, 0, 0, 0, 0, 0, 0, 1}},
        {0x01, false, {1, 0, 0, 0, 0, 0, 0, 0}},
        {0xB4, true, {1, 0, 1, 1, 0, 1, 0, 0}},
        {0xB4, false, {0, 0, 1, 0, 1, 1, 0, 1}},
    };
    for (const auto& c : cases) {
        trace.clearKeepingState();
        c.msbFirst ? line.Out8(c.value) : line.Out8LSB(c.value);
        const auto pinsSeen = samples();
        EXPECT_EQ(pins::clockedBits(pinsSeen), c.bits) << int(c.value) << " msb " << c.msbFirst;
        for (const auto& s : pinsSeen)
            EXPECT_EQ(s.update, pinsSeen.front().update);
    }
}

TEST_F(LineSequences, Out16IsOneFramedSixteenBitWord) {
    line.Out16(0x20DE);
    const auto frames = pins::decodeAd9835(samples());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].clockEdges, 16u);
    EXPECT_EQ(frames[0].word, 0x20DE);
}

TEST_F(LineSequences, ABurstOfNoBytesStillPulsesTheUpdateLine) {
    EXPECT_EQ(line.SendSeqMSB({}, 0), 0);
    const auto s = samples();
    ASSERT_EQ(s.size(), 4u); // the initial state and three changes
    EXPECT_FALSE(s[1].update);
    EXPECT_FALSE(s[2].clock);
    EXPECT_TRUE(s[3].update);
}

TEST_F(LineSequences, NothingIsSentBeforeInitialise) {
    BenchLine fresh(store, timing, port);
    const std::array<uint8_t, 1> bytes{0xFF};
    EXPECT_EQ(fresh.SendSeqMSB(bytes, 1), 0);
    EXPECT_EQ(fresh.SendSeqLSB(bytes, 1), 0);
    EXPECT_EQ(changes(), 0u);
}

TEST_F(LineSequences, ACountBeyondTheBytesRaisesBeforeAnyLineMoves) {
    const std::array<uint8_t, 2> bytes{1, 2};
    try {
        line.SendSeqMSB(bytes, 3);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kSubscriptOutOfRange);
    }
    EXPECT_EQ(changes(), 0u);
    EXPECT_EQ(line.SendSeqMSB(bytes, 2), 0); // and the member is not left busy
}

TEST_F(LineSequences, ASecondBurstOfTheSameMemberDuringALongWaitIsRefused) {
    line.setWaitTime(0.001); // long enough to pump the message loop
    const std::array<uint8_t, 1> bytes{0x5A};
    int32_t nestedMsb = 1;
    int32_t nestedLsb = 1;
    std::size_t changesBefore = 0;
    std::size_t changesAfterMsb = 0;
    bool nested = false;
    runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [&] {
        if (nested) return;
        nested = true;
        changesBefore = changes();
        nestedMsb = line.SendSeqMSB(bytes, 1);
        changesAfterMsb = changes();
        nestedLsb = line.SendSeqLSB(bytes, 1);
    }}};

    EXPECT_EQ(line.SendSeqMSB(bytes, 1), 0);
    EXPECT_EQ(nestedMsb, LineInterface::kSequenceBusy);
    EXPECT_EQ(changesAfterMsb, changesBefore);
    EXPECT_EQ(nestedLsb, 0); // the other member has its own flag
}

TEST_F(LineSequences, ABurstThatFailsPartWayDoesNotBlockTheNext) {
    int seen = 0;
    line.beforeChange = [&] {
        if (++seen == 5) runtime::raise(runtime::err::kDeviceIo, "test");
    };
    const std::array<uint8_t, 5> bytes{0x1F, 0x85, 0xEB, 0x11, 0x00};
    EXPECT_THROW(line.SendSeqLSB(bytes, 5), runtime::RuntimeError);

    line.beforeChange = nullptr;
    trace.clearKeepingState();
    EXPECT_EQ(line.SendSeqLSB(bytes, 5), 0);
    const auto latches = pins::decodeAd985x(samples());
    ASSERT_EQ(latches.size(), 1u);
    EXPECT_EQ(latches[0].tuningWord, 300'647'711u);
}

TEST_F(LineSequences, OnlyWaitsAbove500MicrosecondsPumpTheMessageLoop) {
    const struct {
        double seconds;
        bool pumps;
    } cases[] = {{0.0005, false}, {0.000501, true}};
    const std::array<uint8_t, 1> bytes{0x81};
    for (const auto& c : cases) {
        int pumps = 0;
        runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [&] { ++pumps; }}};
        line.setWaitTime(c.seconds);
        const std::size_t before = changes();
        line.SendSeqMSB(bytes, 1);
        const auto made = static_cast<int>(changes() - before);
        if (c.pumps)
            EXPECT_GE(pumps, made * 5000) << c.seconds; // about one pump per counter reading
        else
            EXPECT_EQ(pumps, 0) << c.seconds;
    }
}

TEST_F(LineSequences, I2CSendSeqIsOneWriteTransaction) {
    const std::array<uint8_t, 3> bytes{0xD2, 0x09, 0x55};
    EXPECT_EQ(line.I2CSendSeq(bytes, 3), 0);

    const auto transactions = pins::decodeI2C(pins::twoWireSamples(trace, pins::wiring::serialI2C(1)));
    ASSERT_EQ(transactions.size(), 1u);
    EXPECT_EQ(transactions[0].bytes, (std::vector<uint8_t>{0xD2, 0x09, 0x55}));
    EXPECT_EQ(transactions[0].clockPulses, 27u);
    EXPECT_TRUE(transactions[0].stopped);
}

TEST_F(LineSequences, AStoredSettleTimeIsWaitedAndABadOneFallsBack) {
    const struct {
        const char* stored;
        double seconds; // after a restore that starts from 2e-6
    } cases[] = {{"0.0001", 0.0001}, {"-1", 5e-6}, {"slow", 2e-6}, {"0", 0}};
    for (const auto& c : cases) {
        store.SaveSetting("NerixSDR", "RXModel.Test", "SerialWaitTime", c.stored);
        line.setRxName("RXModel.Test");
        line.setWaitTime(2e-6);
        line.Initialise();
        EXPECT_DOUBLE_EQ(line.WaitTime(), c.seconds) << c.stored;
    }
    line.setWaitTime(0.0001);
    trace.clearKeepingState();
    line.SDATA(1);
    line.SDATA(0);
    const auto writes = trace.writesTo("COM1");
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_GE(writes[1].time - writes[0].time, 1000); // 100 us at 10 ticks per microsecond
}

} // namespace
