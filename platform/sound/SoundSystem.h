// The sound device seam: device lists, looping capture and playback buffers of whole blocks, and
// notifications at block ends delivered to an event sink on the UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace sound {

// Error numbers the platform reports through runtime::RuntimeError; callers keep them in LastErr.
namespace err {
inline constexpr int32_t kGeneric = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t kInvalidParam = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t kNoDriver = static_cast<int32_t>(0x88780078u);
inline constexpr int32_t kAllocated = static_cast<int32_t>(0x8878000Au);
inline constexpr int32_t kInvalidCall = static_cast<int32_t>(0x88780032u);
} // namespace err

// Buffer description flags, with the values the engine builds its descriptions from.
namespace flags {
inline constexpr int32_t kPrimaryBuffer = 0x1;
inline constexpr int32_t kCtrlVolume = 0x80;
inline constexpr int32_t kCtrlPositionNotify = 0x100;
inline constexpr int32_t kGlobalFocus = 0x8000;
inline constexpr int32_t kGetCurrentPosition2 = 0x10000;
} // namespace flags

inline constexpr int32_t kLooping = 1;       // start and play flag
inline constexpr int32_t kStatusRunning = 1; // buffer status while it runs
inline constexpr int32_t kPriorityLevel = 2; // cooperative level
inline constexpr int32_t kVolumeMin = -10000;
inline constexpr int32_t kVolumeMax = 0;

struct DeviceEntry {
    std::string description;
    std::string id; // backend's own identifier
};

struct WaveFormat {
    int16_t formatTag = 1; // PCM
    int16_t channels = 0;
    int32_t samplesPerSec = 0;
    int32_t avgBytesPerSec = 0;
    int16_t blockAlign = 0;
    int16_t bitsPerSample = 0;
};

struct BufferDesc {
    int32_t flags = 0;
    int32_t bufferBytes = 0;
    WaveFormat format{};
};

struct NotifyPosition {
    int32_t offset = 0; // byte offset within the buffer
    int32_t eventId = 0;
};

// Receives the notifications of the events bound to it, on the UI thread.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void DXCallback(int32_t eventid) = 0;
};

// A capture or playback buffer. Every call raises runtime::RuntimeError on failure.
class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;
    // Positions must sit at the last byte of equal blocks that fill the buffer: one per block end.
    virtual void SetNotificationPositions(std::span<const NotifyPosition> positions) = 0;
    // Capture: start recording; playback: play. kLooping is the only flag honoured.
    virtual void Start(int32_t flagsValue) = 0;
    virtual void Stop() = 0;
    virtual int32_t GetStatus() = 0;
    // Copies whole samples between the buffer and the caller's array; out of range raises 9.
    virtual void ReadBuffer(int32_t offset, int32_t bytes, std::span<int16_t> destination) = 0;
    virtual void WriteBuffer(int32_t offset, int32_t bytes, std::span<const int16_t> source) = 0;
    // 1/100 dB, kVolumeMin (silence) to kVolumeMax (full volume).
    virtual void SetVolume(int32_t volume) = 0;
    // Whole blocks lost so far because the UI thread did not keep up (for the trace log).
    virtual int64_t lostBlocks() const noexcept { return 0; }
};

class PlaybackDevice {
public:
    virtual ~PlaybackDevice() = default;
    virtual void SetCooperativeLevel(int32_t hWnd, int32_t level) = 0;
    virtual std::unique_ptr<SoundBuffer> CreateSoundBuffer(const BufferDesc& desc) = 0;
};

class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;
    virtual std::unique_ptr<SoundBuffer> CreateCaptureBuffer(const BufferDesc& desc) = 0;
};

// The platform root: device lists, device objects, notification events and the clock that bounded
// waits run on.
class SoundSystem {
public:
    virtual ~SoundSystem() = default;
    // The system's default device comes first, so index 1 of the engine's 1-based lists is it.
    virtual std::vector<DeviceEntry> PlaybackDevices() = 0;
    virtual std::vector<DeviceEntry> CaptureDevices() = 0;
    virtual std::unique_ptr<PlaybackDevice> CreatePlaybackDevice(const std::string& id) = 0;
    virtual std::unique_ptr<CaptureDevice> CreateCaptureDevice(const std::string& id) = 0;
    virtual int32_t CreateEvent(EventSink& sink) = 0;
    virtual void DestroyEvent(int32_t eventId) = 0;
    virtual int64_t nowMicroseconds() = 0;
    virtual void pause(int64_t microseconds) = 0;
};

} // namespace sound
