// The looping buffer shared by the real and the simulated backend.
#include "platform/sound/LoopingBuffer.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "platform/runtime/RuntimeError.h"

namespace sound {

namespace {
constexpr const char* kSource = "SoundBuffer";
}

void validateDesc(const BufferDesc& desc) {
    const WaveFormat& f = desc.format;
    const bool ok = f.formatTag == 1 && (f.channels == 1 || f.channels == 2) && f.bitsPerSample == 16 &&
                    f.blockAlign == f.channels * 2 && f.samplesPerSec > 0 && desc.bufferBytes > 0 &&
                    desc.bufferBytes % f.blockAlign == 0;
    if (!ok) runtime::raise(err::kInvalidParam, kSource);
}

LoopingBuffer::LoopingBuffer(Direction direction, const BufferDesc& desc, NotificationHub& hub,
                             std::unique_ptr<DeviceStream> stream, int32_t ringBlocks)
    : direction_(direction), desc_(desc), hub_(hub), stream_(std::move(stream)),
      ringBlocks_(std::max(ringBlocks, 1)) {
    validateDesc(desc);
    memory_.assign(static_cast<size_t>(desc.bufferBytes / 2), 0);
    hub_.attach(this);
}

LoopingBuffer::~LoopingBuffer() {
    if (started_) stream_->stop();
    disableDevice();
    if (opened_) stream_->close();
    hub_.detach(this);
}

void LoopingBuffer::SetNotificationPositions(std::span<const NotifyPosition> positions) {
    if (started_) runtime::raise(err::kInvalidCall, kSource);
    const auto count = static_cast<int32_t>(positions.size());
    if (count < 1 || desc_.bufferBytes % count != 0) runtime::raise(err::kInvalidParam, kSource);
    const int32_t blockBytes = desc_.bufferBytes / count;
    if (blockBytes % desc_.format.blockAlign != 0) runtime::raise(err::kInvalidParam, kSource);
    for (int32_t i = 0; i < count; ++i) {
        if (positions[static_cast<size_t>(i)].offset != (i + 1) * blockBytes - 1)
            runtime::raise(err::kInvalidParam, kSource);
    }
    if (opened_) {
        stream_->close();
        opened_ = false;
    }
    events_.clear();
    for (const auto& p : positions)
        events_.push_back(p.eventId);
    blockSamples_ = blockBytes / 2;
    // Playback hands the device every block but the one being refilled, so a block written at its
    // notification still plays one buffer cycle later.
    const int32_t capacity = direction_ == Direction::Capture ? ringBlocks_ : std::max(count - 1, 1);
    ring_ = std::make_unique<BlockRing>(capacity, blockSamples_);
    cursor_ = 0;
    stream_->open(*this, framesPerBlock());
    opened_ = true;
}

void LoopingBuffer::Start(int32_t) {
    if (started_) return;
    if (!opened_) runtime::raise(err::kInvalidCall, kSource);
    ring_->clear();
    fill_ = 0;
    fillSlot_ = nullptr;
    playSlot_ = nullptr;
    dropping_ = false;
    consumedSeen_ = consumed_.load(std::memory_order_acquire);
    if (direction_ == Direction::Playback) {
        pushCursor_ = cursor_;
        for (int32_t i = 0; i < ring_->capacity(); ++i)
            pushBlock();
    }
    enabled_.store(true);
    try {
        stream_->start();
    } catch (...) {
        disableDevice();
        throw;
    }
    started_ = true;
}

void LoopingBuffer::disableDevice() noexcept {
    enabled_.store(false);
    while (inDevice_.load())
        std::this_thread::yield();
}

void LoopingBuffer::Stop() {
    if (!started_) return;
    stream_->stop();
    disableDevice();
    started_ = false;
    if (direction_ == Direction::Playback) {
        // Blocks the device finished before the stop still move the position; their notifications lapse.
        const int64_t consumed = consumed_.load(std::memory_order_acquire);
        const auto blocks = static_cast<int64_t>(events_.size());
        cursor_ = static_cast<int32_t>((cursor_ + (consumed - consumedSeen_)) % blocks);
        consumedSeen_ = consumed;
    }
    ring_->clear();
}

int32_t LoopingBuffer::GetStatus() {
    return started_ || stream_->stuck() ? kStatusRunning : 0;
}

int32_t LoopingBuffer::checkedSampleRange(int32_t offset, int32_t bytes, size_t arraySize) const {
    const bool ok = offset >= 0 && bytes >= 0 && offset % 2 == 0 && bytes % 2 == 0 &&
                    static_cast<int64_t>(offset) + bytes <= desc_.bufferBytes &&
                    static_cast<size_t>(bytes / 2) <= arraySize;
    if (!ok) runtime::raise(runtime::err::kSubscriptOutOfRange, kSource);
    return offset / 2;
}

void LoopingBuffer::ReadBuffer(int32_t offset, int32_t bytes, std::span<int16_t> destination) {
    const int32_t first = checkedSampleRange(offset, bytes, destination.size());
    std::copy_n(memory_.begin() + first, bytes / 2, destination.begin());
}

void LoopingBuffer::WriteBuffer(int32_t offset, int32_t bytes, std::span<const int16_t> source) {
    const int32_t first = checkedSampleRange(offset, bytes, source.size());
    std::copy_n(source.begin(), bytes / 2, memory_.begin() + first);
}

void LoopingBuffer::SetVolume(int32_t volume) {
    if (direction_ != Direction::Playback) runtime::raise(err::kInvalidCall, kSource);
    if (volume < kVolumeMin || volume > kVolumeMax) runtime::raise(err::kInvalidParam, kSource);
    // The lowest volume is silence, as the engine's "−10000 is silence" expects.
    const float gain = volume <= kVolumeMin ? 0.0f : static_cast<float>(std::pow(10.0, volume / 2000.0));
    gain_.store(gain, std::memory_order_relaxed);
}

void LoopingBuffer::deviceCapture(const int16_t* frames, int32_t count) noexcept {
    inDevice_.store(true);
    if (!enabled_.load()) {
        inDevice_.store(false);
        return;
    }
    int32_t samples = count * channels();
    while (samples > 0) {
        if (fill_ == 0) {
            fillSlot_ = ring_->beginWrite();
            dropping_ = fillSlot_ == nullptr;
        }
        const int32_t n = std::min(samples, blockSamples_ - fill_);
        if (!dropping_) {
            if (frames)
                std::copy_n(frames, n, fillSlot_ + fill_);
            else
                std::fill_n(fillSlot_ + fill_, n, int16_t{0});
        }
        if (frames) frames += n;
        fill_ += n;
        samples -= n;
        if (fill_ == blockSamples_) {
            fill_ = 0;
            if (dropping_) {
                dropped_.fetch_add(1, std::memory_order_relaxed);
            } else {
                ring_->commitWrite();
                hub_.wake();
            }
        }
    }
    inDevice_.store(false);
}

void LoopingBuffer::devicePlay(int16_t* out, int32_t count) noexcept {
    int32_t samples = count * channels();
    inDevice_.store(true);
    if (!enabled_.load()) {
        inDevice_.store(false);
        std::fill_n(out, std::max(samples, 0), int16_t{0});
        return;
    }
    while (samples > 0) {
        if (fill_ == 0) {
            playSlot_ = ring_->beginRead();
            dropping_ = playSlot_ == nullptr;
        }
        const int32_t n = std::min(samples, blockSamples_ - fill_);
        if (dropping_) {
            std::fill_n(out, n, int16_t{0});
        } else {
            const float gain = gain_.load(std::memory_order_relaxed);
            const int16_t* in = playSlot_ + fill_;
            if (gain == 1.0f) {
                std::copy_n(in, n, out);
            } else {
                for (int32_t k = 0; k < n; ++k)
                    out[k] = static_cast<int16_t>(std::lrint(in[k] * gain));
            }
        }
        out += n;
        fill_ += n;
        samples -= n;
        if (fill_ == blockSamples_) {
            fill_ = 0;
            if (dropping_) {
                underruns_.fetch_add(1, std::memory_order_relaxed);
            } else {
                ring_->endRead();
                consumed_.fetch_add(1, std::memory_order_release);
                hub_.wake();
            }
        }
    }
    inDevice_.store(false);
}

void LoopingBuffer::pushBlock() {
    int16_t* slot = ring_->beginWrite();
    if (slot) {
        std::copy_n(memory_.begin() + static_cast<ptrdiff_t>(pushCursor_) * blockSamples_, blockSamples_,
                    slot);
        ring_->commitWrite();
    }
    pushCursor_ = (pushCursor_ + 1) % static_cast<int32_t>(events_.size());
}

std::optional<int32_t> LoopingBuffer::takeNotification() {
    if (!started_) return std::nullopt;
    const auto blocks = static_cast<int32_t>(events_.size());
    if (direction_ == Direction::Capture) {
        const int16_t* block = ring_->beginRead();
        if (!block) return std::nullopt;
        std::copy_n(block, blockSamples_, memory_.begin() + static_cast<ptrdiff_t>(cursor_) * blockSamples_);
        ring_->endRead();
    } else {
        if (consumedSeen_ == consumed_.load(std::memory_order_acquire)) return std::nullopt;
        ++consumedSeen_;
        pushBlock();
    }
    const int32_t eventId = events_[static_cast<size_t>(cursor_)];
    cursor_ = (cursor_ + 1) % blocks;
    return eventId;
}

void PrimaryBuffer::SetNotificationPositions(std::span<const NotifyPosition>) {
    runtime::raise(err::kInvalidCall, "PrimaryBuffer");
}
void PrimaryBuffer::Start(int32_t) {
    runtime::raise(err::kInvalidCall, "PrimaryBuffer");
}
void PrimaryBuffer::ReadBuffer(int32_t, int32_t, std::span<int16_t>) {
    runtime::raise(err::kInvalidCall, "PrimaryBuffer");
}
void PrimaryBuffer::WriteBuffer(int32_t, int32_t, std::span<const int16_t>) {
    runtime::raise(err::kInvalidCall, "PrimaryBuffer");
}

} // namespace sound
