// The looping buffer every backend shares: its contract on positions, ranges and volume, and whole
// blocks whatever chunks the device thread hands over.
#include <gtest/gtest.h>

#include <numeric>

#include "platform/runtime/RuntimeError.h"
#include "platform/sound/LoopingBuffer.h"

namespace {

using namespace sound;

struct FakeStream final : DeviceStream {
    int32_t framesPerBlock = 0;
    bool running = false;
    void open(LoopingBuffer&, int32_t frames) override { framesPerBlock = frames; }
    void close() noexcept override {}
    void start() override { running = true; }
    void stop() noexcept override { running = false; }
};

struct Sink final : EventSink {
    std::vector<int32_t> events;
    void DXCallback(int32_t eventid) override { events.push_back(eventid); }
};

BufferDesc desc(int16_t channels, int32_t bytes) {
    BufferDesc d;
    d.bufferBytes = bytes;
    d.format.channels = channels;
    d.format.samplesPerSec = 48000;
    d.format.bitsPerSample = 16;
    d.format.blockAlign = static_cast<int16_t>(channels * 2);
    d.format.avgBytesPerSec = 48000 * channels * 2;
    return d;
}

int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const runtime::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

class LoopingBufferTest : public ::testing::Test {
protected:
    LoopingBuffer& make(Direction dir, int16_t channels, int32_t bytes, int32_t ringBlocks = 4) {
        auto s = std::make_unique<FakeStream>();
        stream = s.get();
        buffer = std::make_unique<LoopingBuffer>(dir, desc(channels, bytes), hub, std::move(s), ringBlocks);
        return *buffer;
    }
    std::vector<NotifyPosition> blockEnds(int32_t blocks, int32_t blockBytes) {
        std::vector<NotifyPosition> p;
        for (int32_t i = 0; i < blocks; ++i)
            p.push_back({(i + 1) * blockBytes - 1, hub.createEvent(sink)});
        return p;
    }

    NotificationHub hub;
    Sink sink;
    FakeStream* stream = nullptr;
    std::unique_ptr<LoopingBuffer> buffer;
};

TEST_F(LoopingBufferTest, DescriptionsOutsideSixteenBitMonoOrStereoAreRefused) {
    struct Case {
        const char* name;
        BufferDesc d;
    };
    auto eightBit = desc(1, 64);
    eightBit.format.bitsPerSample = 8;
    auto badAlign = desc(2, 64);
    badAlign.format.blockAlign = 2;
    for (const Case& c :
         {Case{"three channels", desc(3, 60)}, Case{"eight bits", eightBit}, Case{"block align", badAlign},
          Case{"part frame", desc(2, 66)}, Case{"empty", desc(1, 0)}}) {
        EXPECT_EQ(errorOf([&] { validateDesc(c.d); }), err::kInvalidParam) << c.name;
    }
    EXPECT_EQ(errorOf([&] { validateDesc(desc(2, 64)); }), 0);
}

TEST_F(LoopingBufferTest, NotificationsMustEndEqualBlocksThatFillTheBuffer) {
    auto& b = make(Direction::Capture, 1, 64);
    const std::vector<std::vector<NotifyPosition>> bad{
        {},                                   // none
        {{15, 1}, {31, 2}, {47, 3}},          // leaves the end uncovered
        {{16, 1}, {33, 2}, {50, 3}},          // uneven
        {{31, 1}, {15, 2}, {47, 3}, {63, 4}}, // out of order
        {{21, 1}, {42, 2}, {63, 3}},          // blocks of part frames? 22 bytes do not divide 64
    };
    for (const auto& positions : bad)
        EXPECT_EQ(errorOf([&] { b.SetNotificationPositions(positions); }), err::kInvalidParam);
    EXPECT_EQ(errorOf([&] { b.SetNotificationPositions(blockEnds(4, 16)); }), 0);
    EXPECT_EQ(stream->framesPerBlock, 8);
}

TEST_F(LoopingBufferTest, CopiesOutsideTheBufferOrTheCallersArrayRaiseSubscriptOutOfRange) {
    auto& b = make(Direction::Playback, 1, 64);
    std::vector<int16_t> array(8);
    struct Case {
        int32_t offset, bytes;
        size_t arraySize;
    };
    for (const Case c : {Case{-2, 4, 8}, Case{62, 4, 8}, Case{0, 18, 8}, Case{1, 4, 8}, Case{0, 3, 8}}) {
        array.resize(c.arraySize);
        EXPECT_EQ(errorOf([&] { b.ReadBuffer(c.offset, c.bytes, array); }),
                  runtime::err::kSubscriptOutOfRange)
            << c.offset << "+" << c.bytes;
        EXPECT_EQ(errorOf([&] { b.WriteBuffer(c.offset, c.bytes, array); }),
                  runtime::err::kSubscriptOutOfRange);
    }
    std::iota(array.begin(), array.end(), int16_t{1});
    b.WriteBuffer(48, 16, array);
    std::vector<int16_t> back(8);
    b.ReadBuffer(48, 16, back);
    EXPECT_EQ(back, array);
}

TEST_F(LoopingBufferTest, VolumeRunsFromSilenceToFullOnPlaybackBuffersOnly) {
    auto& play = make(Direction::Playback, 1, 64);
    EXPECT_EQ(errorOf([&] { play.SetVolume(-10001); }), err::kInvalidParam);
    EXPECT_EQ(errorOf([&] { play.SetVolume(1); }), err::kInvalidParam);
    play.SetNotificationPositions(blockEnds(2, 32));
    // Both blocks hold the level, since each stop moves the position on by the block played.
    play.WriteBuffer(0, 64, std::vector<int16_t>(32, 20000));
    struct Case {
        int32_t volume;
        int16_t heard;
    };
    for (const Case c : {Case{0, 20000}, Case{-2000, 2000}, Case{-10000, 0}}) {
        play.SetVolume(c.volume);
        play.Stop();
        play.Start(kLooping);
        std::vector<int16_t> out(16, -1);
        play.devicePlay(out.data(), 16);
        EXPECT_EQ(out[0], c.heard) << c.volume;
        EXPECT_EQ(out[15], c.heard) << c.volume;
    }
    auto& capture = make(Direction::Capture, 1, 64);
    EXPECT_EQ(errorOf([&] { capture.SetVolume(0); }), err::kInvalidCall);
}

TEST_F(LoopingBufferTest, CaptureBlocksArriveWholeWhateverChunksTheDeviceDelivers) {
    auto& b = make(Direction::Capture, 2, 64); // two blocks of 8 stereo frames
    b.SetNotificationPositions(blockEnds(2, 32));
    b.Start(kLooping);
    std::vector<int16_t> frames(2 * 24);
    std::iota(frames.begin(), frames.end(), int16_t{0});
    for (size_t at = 0; at < 24;) { // chunks of 5 frames
        const auto n = std::min<size_t>(5, 24 - at);
        b.deviceCapture(frames.data() + 2 * at, static_cast<int32_t>(n));
        at += n;
    }
    hub.deliver();
    ASSERT_EQ(sink.events.size(), 3u);
    std::vector<int16_t> block(16);
    // The third block went round to the buffer's first half.
    b.ReadBuffer(0, 32, block);
    EXPECT_EQ(block, std::vector<int16_t>(frames.begin() + 32, frames.begin() + 48));
    b.ReadBuffer(32, 32, block);
    EXPECT_EQ(block, std::vector<int16_t>(frames.begin() + 16, frames.begin() + 32));
}

} // namespace
