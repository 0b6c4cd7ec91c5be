// The looping capture or playback buffer every backend shares: block memory and notifications on the
// UI thread, whole-block rings towards the device's audio thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/sound/BlockRing.h"
#include "platform/sound/NotificationHub.h"
#include "platform/sound/SoundSystem.h"

namespace sound {

class LoopingBuffer;

enum class Direction { Capture, Playback };

// A backend's device stream for one buffer. Its audio thread (or the simulator's clock) calls the
// buffer's deviceCapture or devicePlay between start and stop.
class DeviceStream {
public:
    virtual ~DeviceStream() = default;
    // Opens the device for blocks of the given frames; raises runtime::RuntimeError when it cannot.
    virtual void open(LoopingBuffer& buffer, int32_t framesPerBlock) = 0;
    virtual void close() noexcept = 0;
    virtual void start() = 0;
    // Returns once the audio thread no longer touches the buffer.
    virtual void stop() noexcept = 0;
    // A device whose status still reads running after it stopped (the simulator's stuck status).
    virtual bool stuck() const noexcept { return false; }
};

class LoopingBuffer final : public SoundBuffer {
public:
    // Capture rings hold this many blocks by default: deeper than the engine's buffers, so the UI
    // thread may stall for about two thirds of a second at 2048 frames and 48 kHz without a loss.
    static constexpr int32_t kDefaultRingBlocks = 16;

    LoopingBuffer(Direction direction, const BufferDesc& desc, NotificationHub& hub,
                  std::unique_ptr<DeviceStream> stream, int32_t ringBlocks = kDefaultRingBlocks);
    ~LoopingBuffer() override;
    LoopingBuffer(const LoopingBuffer&) = delete;
    LoopingBuffer& operator=(const LoopingBuffer&) = delete;

    void SetNotificationPositions(std::span<const NotifyPosition> positions) override;
    void Start(int32_t flagsValue) override;
    void Stop() override;
    int32_t GetStatus() override;
    void ReadBuffer(int32_t offset, int32_t bytes, std::span<int16_t> destination) override;
    void WriteBuffer(int32_t offset, int32_t bytes, std::span<const int16_t> source) override;
    void SetVolume(int32_t volume) override;
    int64_t lostBlocks() const noexcept override { return droppedBlocks() + underrunBlocks(); }

    // Audio side: whole interleaved frames.
    void deviceCapture(const int16_t* frames, int32_t count) noexcept;
    void devicePlay(int16_t* out, int32_t count) noexcept;

    // UI side: moves one block between ring and buffer and returns the event of the block that ended.
    std::optional<int32_t> takeNotification();

    Direction direction() const noexcept { return direction_; }
    int32_t channels() const noexcept { return desc_.format.channels; }
    int32_t sampleRate() const noexcept { return desc_.format.samplesPerSec; }
    int32_t framesPerBlock() const noexcept { return blockSamples_ / channels(); }
    bool running() const noexcept { return started_; }
    // Whole blocks lost because the UI thread did not keep up: captured blocks with no room in the
    // ring, and playback blocks played as silence because the ring ran dry.
    int64_t droppedBlocks() const noexcept { return dropped_.load(std::memory_order_relaxed); }
    int64_t underrunBlocks() const noexcept { return underruns_.load(std::memory_order_relaxed); }

private:
    void pushBlock();
    void disableDevice() noexcept;
    int32_t checkedSampleRange(int32_t offset, int32_t bytes, size_t arraySize) const;

    Direction direction_;
    BufferDesc desc_;
    NotificationHub& hub_;
    std::unique_ptr<DeviceStream> stream_;
    int32_t ringBlocks_;
    std::vector<int16_t> memory_;
    std::vector<int32_t> events_; // one per block
    int32_t blockSamples_ = 0;
    std::unique_ptr<BlockRing> ring_;
    bool opened_ = false;
    bool started_ = false;
    int32_t cursor_ = 0;     // next block to end
    int32_t pushCursor_ = 0; // playback: next block handed to the device
    int64_t consumedSeen_ = 0;

    // Audio-thread state.
    int16_t* fillSlot_ = nullptr;
    const int16_t* playSlot_ = nullptr;
    int32_t fill_ = 0;
    bool dropping_ = false;
    // A stream's stop may return while its thread still finishes a callback; the buffer does not
    // touch its rings again until that callback has left.
    std::atomic<bool> enabled_{false};
    std::atomic<bool> inDevice_{false};
    std::atomic<int64_t> consumed_{0};
    std::atomic<float> gain_{1.0f};
    std::atomic<int64_t> dropped_{0};
    std::atomic<int64_t> underruns_{0};
};

// The primary buffer only carries the device's format; it holds no samples.
class PrimaryBuffer final : public SoundBuffer {
public:
    void SetNotificationPositions(std::span<const NotifyPosition>) override;
    void Start(int32_t) override;
    void Stop() override {}
    int32_t GetStatus() override { return 0; }
    void ReadBuffer(int32_t, int32_t, std::span<int16_t>) override;
    void WriteBuffer(int32_t, int32_t, std::span<const int16_t>) override;
    void SetVolume(int32_t) override {}
};

// Checks a description against what the looping buffers support: 16-bit PCM, one or two channels,
// a consistent block align and a size of whole frames. Raises kInvalidParam otherwise.
void validateDesc(const BufferDesc& desc);

} // namespace sound
