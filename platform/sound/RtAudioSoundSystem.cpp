// Everything RtAudio-specific: choosing the audio API, listing devices, and the per-direction streams
// whose audio threads feed the looping buffers.
#include "platform/sound/RtAudioSoundSystem.h"

#include <algorithm>
#include <chrono>
#include <rtaudio/RtAudio.h>
#include <thread>

#include "platform/runtime/RuntimeError.h"
#include "platform/sound/EventFdWaker.h"
#include "platform/sound/LoopingBuffer.h"
#include "platform/sound/NotificationHub.h"

namespace sound {
namespace {

constexpr const char* kSource = "RtAudio";
constexpr unsigned int kServerBlocks = 2;

class RtStream final : public DeviceStream {
public:
    RtStream(RtAudio::Api api, unsigned int device, Direction direction)
        : api_(api), device_(device), direction_(direction) {}
    ~RtStream() override { close(); }

    void open(LoopingBuffer& buffer, int32_t framesPerBlock) override {
        close();
        buffer_ = &buffer;
        try {
            rt_ = std::make_unique<RtAudio>(api_);
            rt_->showWarnings(false);
            RtAudio::StreamParameters params;
            params.deviceId = device_;
            params.nChannels = static_cast<unsigned int>(buffer.channels());
            RtAudio::StreamOptions options;
            options.streamName = "NerixSDR";
            // The server's own queue must stay short: whatever it buffers ahead is taken from the
            // engine's ring at once, and the engine reads that as the reader overtaking the writer.
            options.numberOfBuffers = kServerBlocks;
            unsigned int frames = static_cast<unsigned int>(framesPerBlock);
            const bool capture = direction_ == Direction::Capture;
            rt_->openStream(capture ? nullptr : &params, capture ? &params : nullptr, RTAUDIO_SINT16,
                            static_cast<unsigned int>(buffer.sampleRate()), &frames, &RtStream::callback,
                            this, &options, &RtStream::ignoreError);
        } catch (const RtAudioError& e) {
            rt_.reset();
            runtime::raise(err::kNoDriver, kSource, e.getMessage());
        }
        if (!rt_->isStreamOpen()) {
            rt_.reset();
            runtime::raise(err::kNoDriver, kSource);
        }
    }

    void close() noexcept override {
        if (!rt_) return;
        stop();
        try {
            if (rt_->isStreamOpen()) rt_->closeStream();
        } catch (const RtAudioError&) {
        }
        rt_.reset();
    }

    void start() override {
        if (!rt_) runtime::raise(err::kInvalidCall, kSource);
        try {
            rt_->startStream();
        } catch (const RtAudioError& e) {
            runtime::raise(err::kGeneric, kSource, e.getMessage());
        }
        if (!rt_->isStreamRunning()) runtime::raise(err::kGeneric, kSource);
    }

    void stop() noexcept override {
        try {
            // Abort rather than stop: stopping drains the output queue, which holds up the UI thread.
            if (rt_ && rt_->isStreamRunning()) rt_->abortStream();
        } catch (const RtAudioError&) {
        }
    }

private:
    static int callback(void* out, void* in, unsigned int frames, double, RtAudioStreamStatus, void* user) {
        auto* self = static_cast<RtStream*>(user);
        if (self->direction_ == Direction::Capture)
            self->buffer_->deviceCapture(static_cast<const int16_t*>(in), static_cast<int32_t>(frames));
        else
            self->buffer_->devicePlay(static_cast<int16_t*>(out), static_cast<int32_t>(frames));
        return 0;
    }

    // With an error callback RtAudio reports instead of throwing, which matters on its audio thread:
    // a sound server that goes away must not end the program. The UI thread checks the stream's
    // state after each call instead, and a device that stops delivering shows as lost blocks.
    static void ignoreError(RtAudioError::Type, const std::string&) {}

    RtAudio::Api api_;
    unsigned int device_;
    Direction direction_;
    LoopingBuffer* buffer_ = nullptr;
    std::unique_ptr<RtAudio> rt_;
};

class RtPlaybackDevice final : public PlaybackDevice {
public:
    RtPlaybackDevice(RtAudio::Api api, unsigned int device, NotificationHub& hub)
        : api_(api), device_(device), hub_(hub) {}
    // The sound server mixes every client, so there is no level to claim.
    void SetCooperativeLevel(int32_t, int32_t) override {}
    std::unique_ptr<SoundBuffer> CreateSoundBuffer(const BufferDesc& desc) override {
        if ((desc.flags & flags::kPrimaryBuffer) != 0) return std::make_unique<PrimaryBuffer>();
        return std::make_unique<LoopingBuffer>(
            Direction::Playback, desc, hub_, std::make_unique<RtStream>(api_, device_, Direction::Playback));
    }

private:
    RtAudio::Api api_;
    unsigned int device_;
    NotificationHub& hub_;
};

class RtCaptureDevice final : public CaptureDevice {
public:
    RtCaptureDevice(RtAudio::Api api, unsigned int device, NotificationHub& hub)
        : api_(api), device_(device), hub_(hub) {}
    std::unique_ptr<SoundBuffer> CreateCaptureBuffer(const BufferDesc& desc) override {
        return std::make_unique<LoopingBuffer>(Direction::Capture, desc, hub_,
                                               std::make_unique<RtStream>(api_, device_, Direction::Capture));
    }

private:
    RtAudio::Api api_;
    unsigned int device_;
    NotificationHub& hub_;
};

class RtAudioSoundSystem final : public SoundSystem {
public:
    RtAudioSoundSystem() : waker_([this] { hub_.deliver(); }), hub_(&waker_) { enumerate(); }

    std::vector<DeviceEntry> PlaybackDevices() override { return playback_; }
    std::vector<DeviceEntry> CaptureDevices() override { return capture_; }

    std::unique_ptr<PlaybackDevice> CreatePlaybackDevice(const std::string& id) override {
        return std::make_unique<RtPlaybackDevice>(api_, deviceIndex(playback_, id), hub_);
    }
    std::unique_ptr<CaptureDevice> CreateCaptureDevice(const std::string& id) override {
        return std::make_unique<RtCaptureDevice>(api_, deviceIndex(capture_, id), hub_);
    }
    int32_t CreateEvent(EventSink& sink) override { return hub_.createEvent(sink); }
    void DestroyEvent(int32_t eventId) override { hub_.destroyEvent(eventId); }
    int64_t nowMicroseconds() override {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void pause(int64_t microseconds) override {
        std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
    }

private:
    // PulseAudio first (PipeWire desktops serve it too), then ALSA, then JACK: the first API with a
    // device serves both directions.
    void enumerate() {
        std::vector<RtAudio::Api> compiled;
        RtAudio::getCompiledApi(compiled);
        for (const auto api : {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA, RtAudio::UNIX_JACK}) {
            if (std::find(compiled.begin(), compiled.end(), api) == compiled.end()) continue;
            std::vector<DeviceEntry> playback;
            std::vector<DeviceEntry> capture;
            try {
                RtAudio rt(api);
                rt.showWarnings(false);
                const unsigned int count = rt.getDeviceCount();
                if (count == 0) continue;
                const unsigned int defaultOut = rt.getDefaultOutputDevice();
                const unsigned int defaultIn = rt.getDefaultInputDevice();
                bool outPlaced = false;
                bool inPlaced = false;
                for (unsigned int i = 0; i < count; ++i) {
                    const RtAudio::DeviceInfo info = rt.getDeviceInfo(i);
                    if (!info.probed) continue;
                    const DeviceEntry entry{info.name, std::to_string(i)};
                    // The default device goes first: index 1 is what the settings' defaults select.
                    if (info.outputChannels > 0) {
                        const bool isDefault = !outPlaced && (info.isDefaultOutput || i == defaultOut);
                        outPlaced = outPlaced || isDefault;
                        playback.insert(isDefault ? playback.begin() : playback.end(), entry);
                    }
                    if (info.inputChannels > 0) {
                        const bool isDefault = !inPlaced && (info.isDefaultInput || i == defaultIn);
                        inPlaced = inPlaced || isDefault;
                        capture.insert(isDefault ? capture.begin() : capture.end(), entry);
                    }
                }
            } catch (const RtAudioError&) {
                continue;
            }
            if (playback.empty() && capture.empty()) continue;
            api_ = api;
            playback_ = std::move(playback);
            capture_ = std::move(capture);
            return;
        }
    }

    static unsigned int deviceIndex(const std::vector<DeviceEntry>& list, const std::string& id) {
        const bool listed =
            std::any_of(list.begin(), list.end(), [&](const DeviceEntry& e) { return e.id == id; });
        if (!listed) runtime::raise(err::kNoDriver, kSource);
        return static_cast<unsigned int>(std::stoul(id));
    }

    EventFdWaker waker_;
    NotificationHub hub_;
    RtAudio::Api api_ = RtAudio::UNSPECIFIED;
    std::vector<DeviceEntry> playback_;
    std::vector<DeviceEntry> capture_;
};

} // namespace

std::unique_ptr<SoundSystem> createRtAudioSoundSystem() {
    return std::make_unique<RtAudioSoundSystem>();
}

} // namespace sound
