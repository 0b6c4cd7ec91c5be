// The simulated sound card: devices run on a virtual clock, in whole steps from block end to block end.
#include "platform/sound/testing/SimulatedSoundSystem.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/RuntimeError.h"

namespace sound::testing {

namespace {
constexpr const char* kSource = "SimulatedSound";
}

struct SimulatedSoundSystem::Stream final : DeviceStream {
    Stream(SimulatedSoundSystem& system, Direction direction) : sys(system), dir(direction) {
        sys.streams_.push_back(this);
    }
    ~Stream() override { std::erase(sys.streams_, this); }

    void open(LoopingBuffer& b, int32_t frames) override {
        buffer = &b;
        framesPerBlock = frames;
        scratch.assign(static_cast<size_t>(frames) * static_cast<size_t>(b.channels()), 0);
    }
    void close() noexcept override {}
    void start() override {
        running = true;
        startTick = sys.now_;
        framesDone = 0;
        sys.streamStarted(*this);
    }
    void stop() noexcept override { running = false; }
    bool stuck() const noexcept override { return sys.stuckStatus; }

    long double rate() const {
        const double ppm = dir == Direction::Capture ? sys.captureDriftPpm : sys.playbackDriftPpm;
        return 1.0L + static_cast<long double>(ppm) / 1e6L;
    }
    int64_t framesAt(int64_t tick) const {
        return static_cast<int64_t>(std::floor(static_cast<long double>(tick - startTick) * rate()));
    }
    int64_t nextBlockEndTick() const {
        const int64_t target = (framesDone / framesPerBlock + 1) * framesPerBlock;
        auto tick = startTick + static_cast<int64_t>(std::ceil(static_cast<long double>(target) / rate()));
        while (framesAt(tick) < target)
            ++tick;
        while (tick - 1 > startTick && framesAt(tick - 1) >= target)
            --tick;
        return tick;
    }
    void run(int64_t tick) {
        int64_t due = framesAt(tick) - framesDone;
        const int32_t ch = buffer->channels();
        while (due > 0) {
            const auto n = static_cast<int32_t>(std::min<int64_t>(due, framesPerBlock));
            if (dir == Direction::Capture) {
                for (int32_t f = 0; f < n; ++f) {
                    for (int32_t c = 0; c < ch; ++c) {
                        scratch[static_cast<size_t>(f * ch + c)] =
                            sys.captureSource ? sys.captureSource(sys.captureFrame_, c) : int16_t{0};
                    }
                    ++sys.captureFrame_;
                }
                buffer->deviceCapture(scratch.data(), n);
            } else {
                buffer->devicePlay(scratch.data(), n);
                sys.played.insert(sys.played.end(), scratch.begin(), scratch.begin() + n * ch);
            }
            framesDone += n;
            due -= n;
        }
    }

    SimulatedSoundSystem& sys;
    Direction dir;
    LoopingBuffer* buffer = nullptr;
    int32_t framesPerBlock = 1;
    std::vector<int16_t> scratch;
    bool running = false;
    int64_t startTick = 0;
    int64_t framesDone = 0;
};

class SimPlaybackDevice final : public PlaybackDevice {
public:
    explicit SimPlaybackDevice(SimulatedSoundSystem& sys) : sys_(sys) {}
    void SetCooperativeLevel(int32_t, int32_t) override {
        if (sys_.failCooperativeLevel) runtime::raise(err::kInvalidParam, kSource);
    }
    std::unique_ptr<SoundBuffer> CreateSoundBuffer(const BufferDesc& desc) override {
        if ((desc.flags & flags::kPrimaryBuffer) != 0) {
            if (sys_.failBuffer == SimulatedSoundSystem::FailingBuffer::Primary)
                runtime::raise(err::kAllocated, kSource);
            return std::make_unique<PrimaryBuffer>();
        }
        if (sys_.failBuffer == SimulatedSoundSystem::FailingBuffer::Playback)
            runtime::raise(err::kAllocated, kSource);
        return std::make_unique<LoopingBuffer>(
            Direction::Playback, desc, sys_.hub_,
            std::make_unique<SimulatedSoundSystem::Stream>(sys_, Direction::Playback), sys_.ringBlocks);
    }

private:
    SimulatedSoundSystem& sys_;
};

class SimCaptureDevice final : public CaptureDevice {
public:
    explicit SimCaptureDevice(SimulatedSoundSystem& sys) : sys_(sys) {}
    std::unique_ptr<SoundBuffer> CreateCaptureBuffer(const BufferDesc& desc) override {
        if (sys_.failBuffer == SimulatedSoundSystem::FailingBuffer::Capture)
            runtime::raise(err::kAllocated, kSource);
        return std::make_unique<LoopingBuffer>(
            Direction::Capture, desc, sys_.hub_,
            std::make_unique<SimulatedSoundSystem::Stream>(sys_, Direction::Capture), sys_.ringBlocks);
    }

private:
    SimulatedSoundSystem& sys_;
};

SimulatedSoundSystem::SimulatedSoundSystem() = default;
SimulatedSoundSystem::~SimulatedSoundSystem() = default;

namespace {
std::vector<DeviceEntry> entries(const std::vector<std::string>& names, const char* prefix) {
    std::vector<DeviceEntry> list;
    for (size_t i = 0; i < names.size(); ++i)
        list.push_back({names[i], prefix + std::to_string(i)});
    return list;
}
bool listed(const std::vector<DeviceEntry>& list, const std::string& id) {
    return std::any_of(list.begin(), list.end(), [&](const DeviceEntry& e) { return e.id == id; });
}
} // namespace

std::vector<DeviceEntry> SimulatedSoundSystem::PlaybackDevices() {
    return entries(playbackNames, "out");
}
std::vector<DeviceEntry> SimulatedSoundSystem::CaptureDevices() {
    return entries(captureNames, "in");
}

std::unique_ptr<PlaybackDevice> SimulatedSoundSystem::CreatePlaybackDevice(const std::string& id) {
    if (failCreatePlaybackDevice) runtime::raise(err::kNoDriver, kSource);
    if (!listed(PlaybackDevices(), id)) runtime::raise(err::kInvalidParam, kSource);
    createdPlaybackIds.push_back(id);
    return std::make_unique<SimPlaybackDevice>(*this);
}

std::unique_ptr<CaptureDevice> SimulatedSoundSystem::CreateCaptureDevice(const std::string& id) {
    if (failCreateCaptureDevice) runtime::raise(err::kNoDriver, kSource);
    if (!listed(CaptureDevices(), id)) runtime::raise(err::kInvalidParam, kSource);
    createdCaptureIds.push_back(id);
    return std::make_unique<SimCaptureDevice>(*this);
}

LoopingBuffer* SimulatedSoundSystem::captureBuffer() const {
    for (auto* s : streams_)
        if (s->dir == Direction::Capture) return s->buffer;
    return nullptr;
}

LoopingBuffer* SimulatedSoundSystem::playbackBuffer() const {
    for (auto* s : streams_)
        if (s->dir == Direction::Playback) return s->buffer;
    return nullptr;
}

void SimulatedSoundSystem::streamStarted(Stream& stream) {
    if (stream.dir == Direction::Playback && firstPlayTick < 0) {
        firstPlayTick = now_;
        playedChannels = stream.buffer->channels();
    }
}

void SimulatedSoundSystem::advance(int64_t ticks) {
    const int64_t target = now_ + std::max<int64_t>(ticks, 0);
    while (now_ < target) {
        int64_t next = target;
        for (auto* s : streams_)
            if (s->running) next = std::min(next, s->nextBlockEndTick());
        now_ = std::max(next, now_ + 1);
        // By index: delivery below may release devices, but running them does not.
        for (size_t i = 0; i < streams_.size(); ++i)
            if (streams_[i]->running) streams_[i]->run(now_);
        if (!uiStalled) hub_.deliver();
    }
}

} // namespace sound::testing
