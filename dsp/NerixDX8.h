// The full-duplex sound engine: captures blocks, raises them to the main window, and plays the
// processed blocks back from a ring after a fixed delay of capture blocks.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "dsp/Nerix.h"
#include "platform/sound/SoundSystem.h"

// The main window's handlers of the engine's events.
class NerixDX8Listener {
public:
    virtual ~NerixDX8Listener() = default;
    // One captured block, split into channels; the arrays are the event form's.
    virtual void DataReady(std::span<int16_t> Channel1, std::span<int16_t> Channel2, int32_t NoSamples) = 0;
    // The ring slot at Offset (in samples) is about to be played; NoSamples is the block size in bytes.
    virtual void DataOut(std::span<int16_t> Buffer, int32_t Offset, int32_t NoSamples) = 0;
};

class NerixDX8 {
public:
    static constexpr int32_t kErrChannels = 1001;
    static constexpr const char* kMsgNoDevice =
        "Unable to start DirectSound. Check proper sound card installation";
    static constexpr const char* kMsgChannels = "Unknown Number of channels, only Mono or Stereo allowed";

    // The per-block interlacing and silence go through the vector wrappers.
    NerixDX8(sound::SoundSystem& system, Nerix::Wrappers& nerix);
    ~NerixDX8();
    NerixDX8(const NerixDX8&) = delete;
    NerixDX8& operator=(const NerixDX8&) = delete;

    void setListener(NerixDX8Listener* listener) noexcept { listener_ = listener; }

    bool OutBufferReadPtrWrap() const noexcept { return OutBufferReadPtrWrap_; }
    bool OutBufferWritePtrWrap() const noexcept { return OutBufferWritePtrWrap_; }
    int32_t OutDelay() const noexcept { return OutDelay_; }
    bool Prepared() const noexcept { return Prepared_; }
    int32_t BitsPerSample() const noexcept { return BitsPerSample_; }
    void setBitsPerSample(int32_t v) noexcept { BitsPerSample_ = v; }
    int32_t LastErr() const noexcept { return LastErr_; }
    bool InAction() const noexcept { return InAction_; }
    sound::EventSink* EventForm() const noexcept { return EventForm_; }
    void setEventForm(sound::EventSink* form) noexcept { EventForm_ = form; }
    int32_t CurrentPlaybackDevice() const noexcept { return CurrentPlaybackDevice_; }
    void setCurrentPlaybackDevice(int32_t v) noexcept { CurrentPlaybackDevice_ = v; }
    int32_t CurrentCaptureDevice() const noexcept { return CurrentCaptureDevice_; }
    void setCurrentCaptureDevice(int32_t v) noexcept { CurrentCaptureDevice_ = v; }
    int32_t OutputAttenuation() const noexcept { return OutputAttenuation_; }
    // Below -10000 is stored as -10000 (silence).
    void setOutputAttenuation(int32_t v) noexcept {
        OutputAttenuation_ = v < sound::kVolumeMin ? sound::kVolumeMin : v;
    }
    int32_t hWnd() const noexcept { return hWnd_; }
    void sethWnd(int32_t v) noexcept { hWnd_ = v; }
    int32_t Inp2OutpBufferRatio() const noexcept { return Inp2OutpBufferRatio_; }
    void setInp2OutpBufferRatio(int32_t v) noexcept { Inp2OutpBufferRatio_ = v; }
    int32_t NoBlocksInBuffer() const noexcept { return NoBlocksInBuffer_; }
    void setNoBlocksInBuffer(int32_t v) noexcept { NoBlocksInBuffer_ = v; }
    // Counts other than 1 or 2 are refused with the channel-count message, keeping the old value.
    int32_t NoChannelsOut() const noexcept { return NoChannelsOut_; }
    void setNoChannelsOut(int32_t v);
    int32_t NoChannelsIn() const noexcept { return NoChannelsIn_; }
    void setNoChannelsIn(int32_t v);
    // Sizes the block buffers from the channel counts already set; raises Overflow (6) when they
    // would not fit and Invalid procedure call (5) below one frame.
    int32_t SamplesPerEvent() const noexcept { return SamplesPerEvent_; }
    void setSamplesPerEvent(int32_t n);
    int32_t FSampling() const noexcept { return FSampling_; }
    void setFSampling(int32_t v) noexcept { FSampling_ = v; }

    // Ring position, for tests and the trace log.
    int32_t OutBufferWritePtr() const noexcept { return OutBufferWritePtr_; }
    int32_t OutBufferReadPtr() const noexcept { return OutBufferReadPtr_; }
    // Times the writer and the reader of the ring crossed and the ring was reset.
    int64_t RingResets() const noexcept { return ringResets_; }
    // Whole blocks the devices lost while the UI thread stalled, since preparation.
    int64_t LostBlocks() const noexcept;
    std::span<const int16_t> Ring() const noexcept { return ring_; }

    // Status methods: 0, or the number of the error that ended them.
    int32_t PrepareDevices();
    int32_t ReleaseDevices();
    int32_t StopSound();
    int32_t StartSound();
    // Fills DeviceNames with one description per device (element k names device k + 1) and returns
    // the highest index; with no device, -1 and an empty list.
    int32_t GetPlayDeviceNames(std::vector<std::string>& DeviceNames);
    int32_t GetCapDeviceNames(std::vector<std::string>& DeviceNames);

    void Capture(std::span<int16_t> Channel1, std::span<int16_t> Channel2);
    void Output(std::span<const int16_t> Channel1, std::span<const int16_t> Channel2, int32_t NoSamples);
    // True when the notification was a capture block. Platform failures raise runtime::RuntimeError.
    bool EventHandler(int32_t eventid, std::span<int16_t> Channel1, std::span<int16_t> Channel2);

private:
    int32_t CreateDevices();
    void CreateNotifications();
    void destroyObjects() noexcept;
    bool channelsValid();
    void resetRing();
    void waitStopped(sound::SoundBuffer* buffer, int64_t start);
    std::span<int16_t> ringSlice(int32_t offset, int32_t count);

    sound::SoundSystem& system_;
    Nerix::Wrappers& nerix_;
    NerixDX8Listener* listener_ = nullptr;

    bool OutBufferReadPtrWrap_ = false;
    bool OutBufferWritePtrWrap_ = false;
    int32_t OutDelay_ = 0;
    bool Prepared_ = false;
    int32_t BitsPerSample_ = 16;
    int32_t LastErr_ = 0;
    bool InAction_ = false;
    sound::EventSink* EventForm_ = nullptr;
    int32_t CurrentPlaybackDevice_ = 1;
    int32_t CurrentCaptureDevice_ = 1;
    int32_t OutputAttenuation_ = 5000;
    int32_t hWnd_ = 0;
    int32_t Inp2OutpBufferRatio_ = 2;
    int32_t NoBlocksInBuffer_ = 2;
    int32_t NoChannelsOut_ = 2;
    int32_t NoChannelsIn_ = 2;
    int32_t SamplesPerEvent_ = 2048;
    int32_t FSampling_ = 44100;

    int32_t captureBlockBytes_ = 0;
    int32_t playbackBlockBytes_ = 0;
    std::vector<int16_t> scratch_;
    std::vector<int16_t> ring_;
    int32_t ringUpper_ = 0; // U
    int32_t OutBufferWritePtr_ = 0;
    int32_t OutBufferReadPtr_ = 0;
    int32_t queued_ = 0; // slots written and not yet played
    int64_t ringResets_ = 0;
    int64_t lostAtStart_ = 0;

    std::vector<sound::DeviceEntry> playbackList_;
    std::vector<sound::DeviceEntry> captureList_;
    std::unique_ptr<sound::PlaybackDevice> playbackDevice_;
    std::unique_ptr<sound::CaptureDevice> captureDevice_;
    std::unique_ptr<sound::SoundBuffer> primaryBuffer_;
    std::unique_ptr<sound::SoundBuffer> playbackBuffer_;
    std::unique_ptr<sound::SoundBuffer> captureBuffer_;
    sound::BufferDesc captureDesc_{};
    sound::BufferDesc playbackDesc_{};
    sound::BufferDesc primaryDesc_{};
    std::vector<sound::NotifyPosition> captureNotify_{1};
    std::vector<sound::NotifyPosition> playbackNotify_{1};
};
