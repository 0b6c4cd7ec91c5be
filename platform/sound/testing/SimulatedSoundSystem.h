// A simulated sound card for tests: capture from a test's source, playback recorded, both driven by
// a virtual clock the test advances, with drift, injected failures and a stuck status.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sound/LoopingBuffer.h"
#include "platform/sound/NotificationHub.h"
#include "platform/sound/SoundSystem.h"

namespace sound::testing {

class SimulatedSoundSystem final : public SoundSystem {
public:
    // The virtual clock counts ticks of the nominal rate; each device runs at its own rate beside it.
    static constexpr int32_t kTicksPerSecond = 48000;

    enum class FailingBuffer { None, Primary, Playback, Capture };

    SimulatedSoundSystem();
    ~SimulatedSoundSystem() override;

    // Set up by the test before the engine is created.
    std::vector<std::string> playbackNames{"Simulated output"};
    std::vector<std::string> captureNames{"Simulated input"};
    // Sample of a channel at a capture frame (frames counted from the first started capture).
    std::function<int16_t(int64_t frame, int32_t channel)> captureSource;
    double captureDriftPpm = 0.0;
    double playbackDriftPpm = 0.0;
    int32_t ringBlocks = LoopingBuffer::kDefaultRingBlocks;

    // Injected failures.
    bool failCreatePlaybackDevice = false;
    bool failCreateCaptureDevice = false;
    bool failCooperativeLevel = false;
    FailingBuffer failBuffer = FailingBuffer::None;
    // Buffers report running even after they stop.
    bool stuckStatus = false;
    // While set, notifications wait in the rings until deliver() (the UI thread is busy).
    bool uiStalled = false;

    // Moves the virtual clock on, running the started devices; at every block end the pending
    // notifications are delivered unless the UI thread stalls.
    void advance(int64_t ticks);
    int64_t ticks() const noexcept { return now_; }
    // One pass of the UI thread's message loop over the notifications.
    void deliver() { hub_.deliver(); }

    // Every frame played so far, interleaved, and the tick at which the first one was heard.
    std::vector<int16_t> played;
    int64_t firstPlayTick = -1;
    int32_t playedChannels = 0;

    // Ids of the devices created, in order (the device list identifiers).
    std::vector<std::string> createdPlaybackIds;
    std::vector<std::string> createdCaptureIds;

    LoopingBuffer* captureBuffer() const;
    LoopingBuffer* playbackBuffer() const;
    NotificationHub& hub() noexcept { return hub_; }

    std::vector<DeviceEntry> PlaybackDevices() override;
    std::vector<DeviceEntry> CaptureDevices() override;
    std::unique_ptr<PlaybackDevice> CreatePlaybackDevice(const std::string& id) override;
    std::unique_ptr<CaptureDevice> CreateCaptureDevice(const std::string& id) override;
    int32_t CreateEvent(EventSink& sink) override { return hub_.createEvent(sink); }
    void DestroyEvent(int32_t eventId) override { hub_.destroyEvent(eventId); }
    int64_t nowMicroseconds() override { return now_ * 1'000'000 / kTicksPerSecond; }
    void pause(int64_t microseconds) override { advance(microseconds * kTicksPerSecond / 1'000'000); }

    // Used by the simulated streams.
    struct Stream;
    void streamStarted(Stream& stream);

private:
    friend class SimPlaybackDevice;
    friend class SimCaptureDevice;

    NotificationHub hub_;
    int64_t now_ = 0;
    int64_t captureFrame_ = 0; // frames captured since the first start, for the source
    std::vector<Stream*> streams_;
};

} // namespace sound::testing
