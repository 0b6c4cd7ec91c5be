// The sound engine on the simulated sound card: block timing, the playback ring, volume, channels,
// drift, re-entry, injected failures and UI stalls.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "dsp/NerixDX8.h"
#include "dsp/frmDX8Events.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"

namespace {

using sound::testing::SimulatedSoundSystem;

constexpr int32_t kBlock = 2048;

// Channel 1 counts frames modulo 16384 from 1, so a whole block starts at 1 + a multiple of 2048 and
// rises by one per frame; channel 2 is its negative.
int16_t sourceSample(int64_t frame, int32_t channel) {
    const auto v = static_cast<int16_t>(frame % 16384 + 1);
    return channel == 0 ? v : static_cast<int16_t>(-v);
}

bool isWholeSourceBlock(std::span<const int16_t> block) {
    if ((block[0] - 1) % kBlock != 0) return false;
    for (size_t k = 0; k < block.size(); ++k)
        if (block[k] != block[0] + static_cast<int32_t>(k)) return false;
    return true;
}

bool isSilent(std::span<const int16_t> block) {
    return std::all_of(block.begin(), block.end(), [](int16_t v) { return v == 0; });
}

struct Handlers final : NerixDX8Listener {
    SimulatedSoundSystem* sim = nullptr;
    NerixDX8* engine = nullptr;
    bool passThrough = true;
    std::function<void()> inDataReady;
    std::vector<int64_t> readyTicks;
    std::vector<int64_t> outTicks;
    std::vector<int32_t> outOffsets;
    std::vector<int32_t> outBytes;
    std::vector<int16_t> firstBlock1, firstBlock2;
    bool allBlocksWhole = true;
    bool playingDuringHandler = false;
    int32_t depth = 0;
    int32_t maxDepth = 0;

    void DataReady(std::span<int16_t> c1, std::span<int16_t> c2, int32_t n) override {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        readyTicks.push_back(sim->ticks());
        if (firstBlock1.empty()) {
            firstBlock1.assign(c1.begin(), c1.begin() + n);
            firstBlock2.assign(c2.begin(), c2.begin() + n);
        }
        if (!isWholeSourceBlock(c1.first(static_cast<size_t>(n)))) allBlocksWhole = false;
        if (sim->playbackBuffer() && sim->playbackBuffer()->running()) playingDuringHandler = true;
        if (inDataReady) inDataReady();
        if (passThrough) engine->Output(c1, c1, n);
        --depth;
    }
    void DataOut(std::span<int16_t>, int32_t offset, int32_t bytes) override {
        outTicks.push_back(sim->ticks());
        outOffsets.push_back(offset);
        outBytes.push_back(bytes);
    }
};

class SoundEngineTest : public ::testing::Test {
protected:
    // The vector library the engine interlaces and fills with; made before the engine, gone after it.
    ReceiverState vectorState;
    nerixdll::NerixDll nerixLib{NERIX_TEST_NERIX_LIB};
    nspdll::NspDll nspLib{NERIX_TEST_NSP_LIB};
    Nerix::Wrappers vectors{vectorState, nerixLib, nspLib};

    SoundEngineTest() {
        sim.captureSource = sourceSample;
        runtime::Hooks h;
        h.msgBox = [this](const std::string& prompt, int32_t, const std::string&) {
            messages.push_back(prompt);
            return runtime::mb::kOk;
        };
        h.addLog = [this](const std::string& line) { log.push_back(line); };
        h.doEvents = [this] {
            if (pumpDelivers) sim.deliver();
        };
        hooks = std::make_unique<runtime::ScopedHooks>(std::move(h));
    }

    // The engine as the main window creates and configures it.
    void create(int32_t channelsIn = 2, int32_t channelsOut = 1) {
        engine = std::make_unique<NerixDX8>(sim, vectors);
        engine->setFSampling(48000);
        engine->setNoChannelsIn(channelsIn);
        engine->setNoChannelsOut(channelsOut);
        engine->setNoBlocksInBuffer(2);
        engine->setSamplesPerEvent(kBlock);
        engine->setBitsPerSample(16);
        engine->setInp2OutpBufferRatio(2);
        form = std::make_unique<frmDX8Events>(*engine);
        form->Load();
        handlers.sim = &sim;
        handlers.engine = engine.get();
        engine->setListener(&handlers);
    }

    void startRunning() {
        create();
        ASSERT_EQ(engine->StartSound(), 0);
    }

    // Samples heard from a tick on, with no drift and no restart of playback.
    std::span<const int16_t> heardFrom(int64_t tick, size_t count) const {
        const auto first = static_cast<size_t>(tick - sim.firstPlayTick);
        return std::span<const int16_t>(sim.played).subspan(first, count);
    }

    SimulatedSoundSystem sim;
    std::vector<std::string> messages;
    std::vector<std::string> log;
    bool pumpDelivers = false;
    std::unique_ptr<runtime::ScopedHooks> hooks;
    Handlers handlers;
    std::unique_ptr<NerixDX8> engine;
    std::unique_ptr<frmDX8Events> form;
};

TEST_F(SoundEngineTest, ThreeCaptureBlocksPassBeforePlaybackStartsAndTheFirstDataOutEndsItsFirstBlock) {
    startRunning();
    sim.advance(3 * kBlock);
    EXPECT_EQ(handlers.readyTicks, (std::vector<int64_t>{2048, 4096, 6144}));
    EXPECT_FALSE(handlers.playingDuringHandler) << "playback must start after the third block's handlers";
    ASSERT_NE(sim.playbackBuffer(), nullptr);
    EXPECT_TRUE(sim.playbackBuffer()->running());
    EXPECT_EQ(sim.firstPlayTick, 3 * kBlock);
    EXPECT_EQ(engine->OutDelay(), 0);

    sim.advance(kBlock - 1);
    EXPECT_TRUE(handlers.outTicks.empty());
    sim.advance(1);
    ASSERT_EQ(handlers.outTicks.size(), 1u);
    EXPECT_EQ(handlers.outTicks[0], 4 * kBlock);
    EXPECT_EQ(handlers.outOffsets[0], 0);
    EXPECT_EQ(handlers.outBytes[0], 4096);
}

TEST_F(SoundEngineTest, PassThroughBlockZeroIsHeardAtCaptureFrame14336) {
    startRunning();
    sim.advance(14336 + 2 * kBlock);
    // Nothing but the buffer's initial silence before the pinned position.
    EXPECT_TRUE(isSilent(heardFrom(sim.firstPlayTick, static_cast<size_t>(14336 - sim.firstPlayTick))));
    for (int64_t block = 0; block < 2; ++block) {
        const auto heard = heardFrom(14336 + block * kBlock, kBlock);
        for (int32_t k = 0; k < kBlock; ++k)
            ASSERT_EQ(heard[static_cast<size_t>(k)], sourceSample(block * kBlock + k, 0))
                << block << ":" << k;
    }
}

TEST_F(SoundEngineTest, OutputFillsTheRingSlotBySlotAndWrapsAfterEightBlocks) {
    create();
    std::vector<int16_t> a(kBlock + 1);
    for (int32_t k = 1; k <= 10; ++k) {
        std::fill(a.begin(), a.end(), static_cast<int16_t>(k));
        const int32_t at = engine->OutBufferWritePtr();
        EXPECT_EQ(at, ((k - 1) % 8) * 4096) << k;
        engine->Output(a, a, 1234); // the count is ignored
        EXPECT_EQ(engine->Ring()[static_cast<size_t>(at)], k);
        EXPECT_EQ(engine->Ring()[static_cast<size_t>(at + kBlock - 1)], k);
        EXPECT_EQ(engine->Ring()[static_cast<size_t>(at + kBlock)], 0)
            << "only the first half of a slot is written";
        EXPECT_EQ(engine->OutBufferWritePtrWrap(), k == 8) << k;
    }
}

TEST_F(SoundEngineTest, PlaybackReadsSlotsInTurnZeroesThemAndFlagsTheWrap) {
    startRunning();
    bool readWrapAfterEighth = false;
    sim.advance(6 * kBlock);
    while (handlers.outTicks.size() < 12) {
        sim.advance(kBlock);
        if (handlers.outTicks.size() == 8) readWrapAfterEighth = engine->OutBufferReadPtrWrap();
        ASSERT_LT(sim.ticks(), 40 * kBlock);
    }
    for (size_t i = 0; i < handlers.outOffsets.size(); ++i)
        EXPECT_EQ(handlers.outOffsets[i], int32_t(i % 8) * 4096);
    EXPECT_TRUE(readWrapAfterEighth);
    EXPECT_FALSE(engine->OutBufferReadPtrWrap());
    // The slot played last is zero again.
    const auto last = static_cast<size_t>(handlers.outOffsets.back());
    EXPECT_TRUE(isSilent(engine->Ring().subspan(last, kBlock)));
    EXPECT_EQ(engine->RingResets(), 0);
}

TEST_F(SoundEngineTest, AttenuationIsClampedAndSetsThePlaybackLevel) {
    struct Case {
        int32_t set;
        int32_t stored;
        double gain;
    };
    for (const Case c :
         {Case{-40000, -10000, 0.0}, Case{5000, 5000, 1.0}, Case{0, 0, 1.0}, Case{-2000, -2000, 0.1}}) {
        SCOPED_TRACE(c.set);
        sim.played.clear();
        sim.firstPlayTick = -1;
        create();
        engine->setOutputAttenuation(c.set);
        EXPECT_EQ(engine->OutputAttenuation(), c.stored);
        ASSERT_EQ(engine->StartSound(), 0);
        sim.advance(14336 + kBlock - sim.ticks() % kBlock);
        const int64_t at = sim.firstPlayTick + 4 * kBlock; // the first refilled block
        const auto heard = heardFrom(at, kBlock);
        for (int32_t k = 0; k < kBlock; k += 97) {
            const double expected = sourceSample(k, 0) * c.gain;
            ASSERT_NEAR(heard[static_cast<size_t>(k)], expected, 0.5 + std::abs(expected) * 1e-4) << k;
        }
        engine.reset();
    }
}

TEST_F(SoundEngineTest, CaptureSplitsStereoFramesAndCopiesMonoIntoBothChannels) {
    struct Case {
        int32_t channels;
        std::vector<int16_t> channel1, channel2;
    };
    // Stereo frames (1, -1), (2, -2) ...; a mono block is the first channel's samples.
    for (const Case& c : {Case{2, {1, 2, 3}, {-1, -2, -3}}, Case{1, {1, 2, 3}, {1, 2, 3}}}) {
        SCOPED_TRACE(c.channels);
        handlers.firstBlock1.clear();
        create(c.channels, 1);
        ASSERT_EQ(engine->StartSound(), 0);
        sim.advance(kBlock);
        ASSERT_EQ(handlers.firstBlock1.size(), size_t(kBlock));
        // Mono capture reads the stream's single channel; the source's frame counter runs on.
        const int16_t base = static_cast<int16_t>(handlers.firstBlock1[0] - 1);
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(handlers.firstBlock1[k], c.channel1[k] + base);
            EXPECT_EQ(handlers.firstBlock2[k], c.channels == 2 ? c.channel2[k] - base : c.channel2[k] + base);
        }
        engine.reset();
    }
}

TEST_F(SoundEngineTest, StereoOutputInterlacesTheChannels) {
    create(2, 2);
    std::vector<int16_t> left{1, 3, 5}, right{2, 4, 6};
    left.resize(kBlock + 1);
    right.resize(kBlock + 1);
    engine->Output(left, right, kBlock);
    EXPECT_EQ((std::vector<int16_t>(engine->Ring().begin(), engine->Ring().begin() + 6)),
              (std::vector<int16_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(engine->OutBufferWritePtr(), 8192);
}

TEST_F(SoundEngineTest, StartWhileRunningAndStopWhileStoppedDoNothingAndReleaseStopsFirst) {
    startRunning();
    sim.advance(2 * kBlock);
    const int32_t written = engine->OutBufferWritePtr();
    EXPECT_EQ(engine->StartSound(), 0);
    EXPECT_EQ(engine->OutBufferWritePtr(), written) << "a second start must not reset the ring";
    EXPECT_EQ(engine->OutDelay(), 1);

    ASSERT_EQ(engine->StopSound(), 0);
    EXPECT_FALSE(engine->InAction());
    EXPECT_FALSE(sim.captureBuffer()->running());
    const int64_t before = sim.ticks();
    EXPECT_EQ(engine->StopSound(), 0);
    EXPECT_EQ(sim.ticks(), before);
    EXPECT_EQ(engine->OutBufferWritePtr(), written) << "stopping leaves the ring alone";

    ASSERT_EQ(engine->StartSound(), 0);
    sim.advance(5 * kBlock);
    ASSERT_TRUE(engine->InAction());
    EXPECT_EQ(engine->ReleaseDevices(), 0);
    EXPECT_FALSE(engine->InAction());
    EXPECT_FALSE(engine->Prepared());
    EXPECT_EQ(sim.captureBuffer(), nullptr);
    EXPECT_EQ(sim.playbackBuffer(), nullptr);
    const size_t blocks = handlers.readyTicks.size();
    sim.advance(4 * kBlock);
    EXPECT_EQ(handlers.readyTicks.size(), blocks);
    // Released devices can be prepared again.
    EXPECT_EQ(engine->StartSound(), 0);
    EXPECT_TRUE(engine->Prepared());
}

class SoundEngineDriftTest : public SoundEngineTest, public ::testing::WithParamInterface<double> {};

TEST_P(SoundEngineDriftTest, ClockDriftMakesTheRingCrossAndAudioGoesOn) {
    sim.captureDriftPpm = GetParam();
    startRunning();
    // Long enough for either direction to gain the slack of the ring.
    sim.advance(int64_t{120} * 48000);
    EXPECT_GE(engine->RingResets(), 1);
    // Still playing after the last reset: blocks keep coming out, and they are captured blocks.
    const size_t outs = handlers.outTicks.size();
    sim.advance(10 * kBlock);
    EXPECT_GE(handlers.outTicks.size(), outs + 8);
    EXPECT_TRUE(handlers.allBlocksWhole);
    // The source is never zero, so the last block heard holds no silence.
    const auto tail = std::span<const int16_t>(sim.played).last(kBlock);
    EXPECT_TRUE(std::none_of(tail.begin(), tail.end(), [](int16_t v) { return v == 0; }));
}

INSTANTIATE_TEST_SUITE_P(CaptureFasterAndSlower, SoundEngineDriftTest, ::testing::Values(2000.0, -2000.0));

TEST_F(SoundEngineTest, APumpInsideDataReadyLetsTheNextNotificationIntoTheEngine) {
    startRunning();
    pumpDelivers = true;
    handlers.inDataReady = [] { runtime::DoEvents(); };
    sim.uiStalled = true;
    sim.advance(2 * kBlock);
    EXPECT_TRUE(handlers.readyTicks.empty());
    sim.deliver();
    EXPECT_EQ(handlers.readyTicks.size(), 2u);
    EXPECT_EQ(handlers.maxDepth, 2) << "the second block arrives inside the first block's handler";
}

TEST_F(SoundEngineTest, AStalledUiThreadDropsWholeBlocksOnly) {
    sim.ringBlocks = 4;
    startRunning();
    sim.advance(10 * kBlock);
    sim.uiStalled = true;
    sim.advance(12 * kBlock);
    sim.uiStalled = false;
    sim.deliver();
    sim.advance(20 * kBlock);
    EXPECT_GT(sim.captureBuffer()->droppedBlocks(), 0);
    EXPECT_GT(sim.playbackBuffer()->underrunBlocks(), 0);
    const int64_t lost = sim.captureBuffer()->droppedBlocks() + sim.playbackBuffer()->underrunBlocks();
    EXPECT_EQ(engine->LostBlocks(), lost);
    EXPECT_TRUE(handlers.allBlocksWhole);
    for (size_t at = 0; at + kBlock <= sim.played.size(); at += kBlock) {
        const auto block = std::span<const int16_t>(sim.played).subspan(at, kBlock);
        EXPECT_TRUE(isSilent(block) || isWholeSourceBlock(block)) << at;
    }
    engine->StopSound();
    EXPECT_EQ(log, (std::vector<std::string>{"NerixDX8.StopSound: " + std::to_string(lost) +
                                             " sound blocks lost"}));
}

TEST_F(SoundEngineTest, DeviceListsStartAtIndexOneAndMayBeEmpty) {
    sim.playbackNames = {"Out A", "Out B", "Out C"};
    sim.captureNames = {};
    create();
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(engine->GetPlayDeviceNames(names), 2);
    EXPECT_EQ(names, (std::vector<std::string>{"Out A", "Out B", "Out C"}));
    EXPECT_EQ(engine->GetCapDeviceNames(names), -1);
    EXPECT_TRUE(names.empty());

    engine->setCurrentPlaybackDevice(3);
    EXPECT_EQ(engine->PrepareDevices(), runtime::err::kSubscriptOutOfRange);
    EXPECT_EQ(messages, (std::vector<std::string>{NerixDX8::kMsgNoDevice}));
    EXPECT_EQ(sim.createdPlaybackIds, (std::vector<std::string>{"out2"}));
    EXPECT_FALSE(engine->Prepared());
}

TEST_F(SoundEngineTest, PreparationFailuresLeaveTheEngineUnpreparedWithTheirOwnError) {
    using FB = SimulatedSoundSystem::FailingBuffer;
    struct Case {
        const char* name;
        std::function<void(SimulatedSoundSystem&, bool)> inject;
        int32_t error;
        bool message;
    };
    const std::vector<Case> cases{
        {"playback device", [](auto& s, bool on) { s.failCreatePlaybackDevice = on; }, sound::err::kNoDriver,
         true},
        {"capture device", [](auto& s, bool on) { s.failCreateCaptureDevice = on; }, sound::err::kNoDriver,
         true},
        {"cooperative level", [](auto& s, bool on) { s.failCooperativeLevel = on; },
         sound::err::kInvalidParam, false},
        {"primary buffer", [](auto& s, bool on) { s.failBuffer = on ? FB::Primary : FB::None; },
         sound::err::kAllocated, false},
        {"playback buffer", [](auto& s, bool on) { s.failBuffer = on ? FB::Playback : FB::None; },
         sound::err::kAllocated, false},
        {"capture buffer", [](auto& s, bool on) { s.failBuffer = on ? FB::Capture : FB::None; },
         sound::err::kAllocated, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        create();
        c.inject(sim, true);
        EXPECT_EQ(engine->PrepareDevices(), c.error);
        EXPECT_FALSE(engine->Prepared());
        EXPECT_EQ(engine->LastErr(), c.message ? c.error : 0);
        EXPECT_EQ(messages.size(), c.message ? 1u : 0u);
        EXPECT_EQ(engine->StartSound(), c.error);
        EXPECT_FALSE(engine->InAction());
        EXPECT_EQ(sim.captureBuffer(), nullptr);
        EXPECT_EQ(sim.playbackBuffer(), nullptr);
        c.inject(sim, false);
        EXPECT_EQ(engine->StartSound(), 0);
        EXPECT_TRUE(engine->InAction());
        engine.reset();
    }
}

TEST_F(SoundEngineTest, StopGivesUpOnAStuckStatusAfterAboutOneSecond) {
    startRunning();
    sim.advance(4 * kBlock);
    sim.stuckStatus = true;
    const int64_t before = sim.nowMicroseconds();
    EXPECT_EQ(engine->StopSound(), 0);
    const int64_t waited = sim.nowMicroseconds() - before;
    EXPECT_GE(waited, 1'000'000);
    EXPECT_LT(waited, 1'100'000);
    EXPECT_FALSE(engine->InAction());
}

TEST_F(SoundEngineTest, ChannelCountsOtherThanOneOrTwoAreRefused) {
    create();
    for (const int32_t bad : {0, 3, -1}) {
        messages.clear();
        engine->setNoChannelsIn(bad);
        engine->setNoChannelsOut(bad);
        EXPECT_EQ(engine->NoChannelsIn(), 2);
        EXPECT_EQ(engine->NoChannelsOut(), 1);
        EXPECT_EQ(engine->LastErr(), NerixDX8::kErrChannels);
        EXPECT_EQ(messages, (std::vector<std::string>(2, NerixDX8::kMsgChannels)));
    }
}

TEST_F(SoundEngineTest, TheEventFormsArraysFollowTheBlockLength) {
    engine = std::make_unique<NerixDX8>(sim, vectors);
    engine->setFSampling(48000);
    engine->setNoChannelsOut(1);
    engine->setSamplesPerEvent(4096);
    form = std::make_unique<frmDX8Events>(*engine);
    form->Load();
    EXPECT_EQ(form->Channel1.size(), 4097u);
    EXPECT_EQ(form->Channel2.size(), 4097u);
    handlers.sim = &sim;
    handlers.engine = engine.get();
    engine->setListener(&handlers);
    ASSERT_EQ(engine->StartSound(), 0);
    sim.advance(4096);
    ASSERT_EQ(handlers.readyTicks.size(), 1u);
    EXPECT_EQ(handlers.firstBlock1.size(), 4096u);
    EXPECT_EQ(handlers.firstBlock1[4095], sourceSample(4095, 0));
    EXPECT_THROW(engine->setSamplesPerEvent(0), runtime::RuntimeError);
}

} // namespace
