// The full-duplex sound engine over the sound device seam.
#include "dsp/NerixDX8.h"

#include <algorithm>

#include "frame/DebugTools.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace {

constexpr const char* kSource = "NerixDX8";
// StopSound gives each buffer this long to report that it stopped.
constexpr int64_t kStopWaitMicroseconds = 1'000'000;
constexpr int64_t kStopPollMicroseconds = 1'000;

int32_t blockAlign(int32_t bits, int32_t channels) {
    return runtime::CLng(runtime::roundHalfEven(static_cast<double>(bits) * channels / 8.0));
}

int32_t checkedProduct(int64_t a, int64_t b) {
    return runtime::checkedNarrow<int32_t>(a * b);
}

const std::string& deviceId(const std::vector<sound::DeviceEntry>& list, int32_t index) {
    if (index < 1 || static_cast<size_t>(index) > list.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, kSource);
    return list[static_cast<size_t>(index - 1)].id;
}

int32_t fillNames(const std::vector<sound::DeviceEntry>& list, std::vector<std::string>& names) {
    names.clear();
    for (const auto& entry : list)
        names.push_back(entry.description);
    return static_cast<int32_t>(list.size()) - 1;
}

} // namespace

NerixDX8::NerixDX8(sound::SoundSystem& system, Nerix::Wrappers& nerix) : system_(system), nerix_(nerix) {
    setSamplesPerEvent(2048);
    captureList_ = system_.CaptureDevices();
    playbackList_ = system_.PlaybackDevices();
}

NerixDX8::~NerixDX8() {
    if (Prepared_) ReleaseDevices();
}

bool NerixDX8::channelsValid() {
    const auto valid = [](int32_t n) { return n == 1 || n == 2; };
    if (valid(NoChannelsIn_) && valid(NoChannelsOut_)) return true;
    runtime::MsgBox(kMsgChannels, runtime::mb::kOkOnly);
    LastErr_ = kErrChannels;
    return false;
}

void NerixDX8::setNoChannelsOut(int32_t v) {
    const int32_t old = NoChannelsOut_;
    NoChannelsOut_ = v;
    if (!channelsValid()) NoChannelsOut_ = old;
}

void NerixDX8::setNoChannelsIn(int32_t v) {
    const int32_t old = NoChannelsIn_;
    NoChannelsIn_ = v;
    if (!channelsValid()) NoChannelsIn_ = old;
}

void NerixDX8::setSamplesPerEvent(int32_t n) {
    if (n < 1) runtime::raise(runtime::err::kInvalidCall, kSource);
    const int32_t captureBytes = checkedProduct(int64_t{NoChannelsIn_} * n, 2);
    const int32_t playbackBytes = checkedProduct(int64_t{NoChannelsOut_} * n, 2);
    const int32_t upper = checkedProduct(int64_t{16} * NoChannelsOut_, n);
    SamplesPerEvent_ = n;
    captureBlockBytes_ = captureBytes;
    playbackBlockBytes_ = playbackBytes;
    scratch_.assign(static_cast<size_t>(captureBytes / 2) + 1, 0);
    ring_.assign(static_cast<size_t>(upper) + 1, 0);
    ringUpper_ = upper;
}

int32_t NerixDX8::GetPlayDeviceNames(std::vector<std::string>& DeviceNames) {
    return fillNames(playbackList_, DeviceNames);
}

int32_t NerixDX8::GetCapDeviceNames(std::vector<std::string>& DeviceNames) {
    return fillNames(captureList_, DeviceNames);
}

int32_t NerixDX8::PrepareDevices() {
    if (Prepared_) return 0;
    if (!channelsValid()) return kErrChannels;
    try {
        const int32_t number = CreateDevices();
        if (number != 0) {
            destroyObjects();
            return number;
        }
        CreateNotifications();
        Prepared_ = true;
        return 0;
    } catch (const runtime::RuntimeError& e) {
        destroyObjects();
        return e.Number();
    }
}

int32_t NerixDX8::CreateDevices() {
    LastErr_ = 0;
    int32_t number = 0;
    try {
        playbackDevice_ = system_.CreatePlaybackDevice(deviceId(playbackList_, CurrentPlaybackDevice_));
        runtime::DoEvents();
        captureDevice_ = system_.CreateCaptureDevice(deviceId(captureList_, CurrentCaptureDevice_));
        runtime::DoEvents();
    } catch (const runtime::RuntimeError& e) {
        number = e.Number();
    }
    if (number != 0) {
        runtime::MsgBox(kMsgNoDevice, runtime::mb::kOkOnly);
        LastErr_ = number;
        return number;
    }

    const int32_t alignIn = blockAlign(BitsPerSample_, NoChannelsIn_);
    const int32_t alignOut = blockAlign(BitsPerSample_, NoChannelsOut_);
    captureDesc_ = {};
    captureDesc_.flags = 0x102;
    captureDesc_.format.channels = static_cast<int16_t>(NoChannelsIn_);
    captureDesc_.format.samplesPerSec = FSampling_;
    captureDesc_.format.bitsPerSample = runtime::checkedNarrow<int16_t>(BitsPerSample_);
    captureDesc_.format.blockAlign = runtime::checkedNarrow<int16_t>(alignIn);
    captureDesc_.format.avgBytesPerSec = checkedProduct(alignIn, FSampling_);
    playbackDesc_ = {};
    playbackDesc_.flags = sound::flags::kCtrlVolume | sound::flags::kCtrlPositionNotify |
                          sound::flags::kGlobalFocus | sound::flags::kGetCurrentPosition2;
    playbackDesc_.format.channels = static_cast<int16_t>(NoChannelsOut_);
    playbackDesc_.format.samplesPerSec = FSampling_;
    playbackDesc_.format.bitsPerSample = runtime::checkedNarrow<int16_t>(BitsPerSample_);
    playbackDesc_.format.blockAlign = runtime::checkedNarrow<int16_t>(alignOut);
    playbackDesc_.format.avgBytesPerSec = checkedProduct(alignOut, FSampling_);
    captureBlockBytes_ = checkedProduct(alignIn, SamplesPerEvent_);
    playbackBlockBytes_ = checkedProduct(alignOut, SamplesPerEvent_);
    captureDesc_.bufferBytes = checkedProduct(captureBlockBytes_, NoBlocksInBuffer_);
    playbackDesc_.bufferBytes =
        checkedProduct(int64_t{playbackBlockBytes_} * NoBlocksInBuffer_, Inp2OutpBufferRatio_);
    primaryDesc_ = {};
    primaryDesc_.flags = sound::flags::kPrimaryBuffer;
    primaryDesc_.format = playbackDesc_.format;

    playbackDevice_->SetCooperativeLevel(hWnd_, sound::kPriorityLevel);
    runtime::DoEvents();
    primaryBuffer_ = playbackDevice_->CreateSoundBuffer(primaryDesc_);
    runtime::DoEvents();
    playbackBuffer_ = playbackDevice_->CreateSoundBuffer(playbackDesc_);
    runtime::DoEvents();
    captureBuffer_ = captureDevice_->CreateCaptureBuffer(captureDesc_);
    runtime::DoEvents();
    return 0;
}

void NerixDX8::CreateNotifications() {
    if (!EventForm_ || !captureBuffer_ || !playbackBuffer_)
        runtime::raise(runtime::err::kObjectNotSet, kSource);
    const auto build = [this](std::vector<sound::NotifyPosition>& list, const sound::BufferDesc& desc,
                              int32_t blockBytes, sound::SoundBuffer& buffer) {
        runtime::checkedDivide(desc.bufferBytes, blockBytes);
        const int32_t count =
            runtime::CLng(runtime::roundHalfEven(static_cast<double>(desc.bufferBytes) / blockBytes));
        list.assign(static_cast<size_t>(std::max(count, 1)), {});
        for (int32_t i = 0; i < count; ++i) {
            auto& entry = list[static_cast<size_t>(i)];
            entry.eventId = system_.CreateEvent(*EventForm_);
            entry.offset = checkedProduct(int64_t{i} + 1, blockBytes) - 1;
        }
        buffer.SetNotificationPositions(std::span(list.data(), static_cast<size_t>(std::max(count, 0))));
    };
    build(captureNotify_, captureDesc_, captureBlockBytes_, *captureBuffer_);
    build(playbackNotify_, playbackDesc_, playbackBlockBytes_, *playbackBuffer_);
}

void NerixDX8::destroyObjects() noexcept {
    for (auto* list : {&captureNotify_, &playbackNotify_}) {
        for (auto& entry : *list) {
            runtime::DoEvents();
            if (entry.eventId != 0) runtime::resumeNext([&] { system_.DestroyEvent(entry.eventId); });
        }
        list->assign(1, {});
    }
    captureDevice_.reset();
    playbackBuffer_.reset();
    captureBuffer_.reset();
    primaryBuffer_.reset();
    playbackDevice_.reset();
}

int32_t NerixDX8::ReleaseDevices() {
    if (!Prepared_) return 0;
    if (InAction_) StopSound();
    destroyObjects();
    Prepared_ = false;
    return 0;
}

int32_t NerixDX8::StartSound() {
    if (InAction_) return 0;
    if (!Prepared_) {
        const int32_t number = PrepareDevices();
        if (number != 0) return number;
    }
    OutBufferWritePtr_ = 0;
    OutBufferWritePtrWrap_ = false;
    OutBufferReadPtr_ = 0;
    OutBufferReadPtrWrap_ = false;
    queued_ = 0;
    lostAtStart_ = LostBlocks();
    InAction_ = true;
    OutDelay_ = Inp2OutpBufferRatio_ * NoBlocksInBuffer_ - 1;
    try {
        captureBuffer_->Start(sound::kLooping);
    } catch (const runtime::RuntimeError& e) {
        // Capture never ran, so the engine is not in action; the next start may try again.
        InAction_ = false;
        return e.Number();
    }
    return 0;
}

void NerixDX8::waitStopped(sound::SoundBuffer* buffer, int64_t start) {
    if (!buffer) return;
    for (;;) {
        runtime::DoEvents();
        int32_t status = 0;
        if (!runtime::resumeNext([&] { status = buffer->GetStatus(); })) return;
        if (status != sound::kStatusRunning) return;
        if (system_.nowMicroseconds() - start >= kStopWaitMicroseconds) return;
        system_.pause(kStopPollMicroseconds);
    }
}

int32_t NerixDX8::StopSound() {
    if (!Prepared_ || !InAction_) return 0;
    runtime::resumeNext([&] { captureBuffer_->Stop(); });
    runtime::resumeNext([&] { playbackBuffer_->Stop(); });
    // One deadline for both buffers: a device that never reports stopped must not hang the UI thread.
    const int64_t start = system_.nowMicroseconds();
    waitStopped(captureBuffer_.get(), start);
    waitStopped(playbackBuffer_.get(), start);
    InAction_ = false;
    if (const int64_t lost = LostBlocks() - lostAtStart_; lost > 0)
        runtime::AddLog("NerixDX8.StopSound: " + runtime::CStr(lost) + " sound blocks lost");
    return 0;
}

int64_t NerixDX8::LostBlocks() const noexcept {
    return (captureBuffer_ ? captureBuffer_->lostBlocks() : 0) +
           (playbackBuffer_ ? playbackBuffer_->lostBlocks() : 0);
}

std::span<int16_t> NerixDX8::ringSlice(int32_t offset, int32_t count) {
    if (offset < 0 || count < 0 || static_cast<size_t>(offset) + static_cast<size_t>(count) > ring_.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, kSource);
    return std::span(ring_).subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
}

void NerixDX8::resetRing() {
    ++ringResets_;
    OutBufferWritePtr_ = 0;
    OutBufferReadPtr_ = 0;
    OutBufferWritePtrWrap_ = false;
    queued_ = 0;
    OutDelay_ = Inp2OutpBufferRatio_ * NoBlocksInBuffer_ - 1;
    if (playbackBuffer_) runtime::resumeNext([&] { playbackBuffer_->Stop(); });
}

void NerixDX8::Capture(std::span<int16_t> Channel1, std::span<int16_t> Channel2) {
    const int32_t n = SamplesPerEvent_;
    if (NoChannelsIn_ != 1 && NoChannelsIn_ != 2) {
        runtime::MsgBox(kMsgChannels, runtime::mb::kOkOnly);
        LastErr_ = kErrChannels;
        return;
    }
    const auto need = static_cast<size_t>(n);
    if (Channel1.size() < need || Channel2.size() < need ||
        scratch_.size() < need * static_cast<size_t>(NoChannelsIn_))
        runtime::raise(runtime::err::kSubscriptOutOfRange, kSource);
    if (NoChannelsIn_ == 1) {
        DebugTools::CopyWords(scratch_.data(), Channel1.data(), n);
        DebugTools::CopyWords(scratch_.data(), Channel2.data(), n);
    } else {
        nerix_.Dll().DeInterlace_16_2(scratch_.data(), Channel1.data(), Channel2.data(), n);
    }
}

void NerixDX8::Output(std::span<const int16_t> Channel1, std::span<const int16_t> Channel2, int32_t) {
    const int32_t n = SamplesPerEvent_;
    if (NoChannelsOut_ != 1 && NoChannelsOut_ != 2) {
        runtime::MsgBox(kMsgChannels, runtime::mb::kOkOnly);
        LastErr_ = kErrChannels;
        return;
    }
    const auto need = static_cast<size_t>(n);
    if (Channel1.size() < need || (NoChannelsOut_ == 2 && Channel2.size() < need))
        runtime::raise(runtime::err::kSubscriptOutOfRange, kSource);
    // Every slot holds an unplayed block: the writer would overtake the reader.
    const int32_t slots = runtime::checkedDivide(ringUpper_, playbackBlockBytes_);
    if (InAction_ && queued_ >= slots) resetRing();
    const auto slot = ringSlice(OutBufferWritePtr_, checkedProduct(n, NoChannelsOut_));
    if (NoChannelsOut_ == 1)
        DebugTools::CopyWords(Channel1.data(), slot.data(), n);
    else
        nerix_.Dll().Interlace_16_2(Channel1.data(), Channel2.data(), slot.data(), n);
    OutBufferWritePtrWrap_ = false;
    OutBufferWritePtr_ += playbackBlockBytes_;
    if (OutBufferWritePtr_ >= ringUpper_) {
        OutBufferWritePtr_ = 0;
        OutBufferWritePtrWrap_ = true;
    }
    ++queued_;
}

bool NerixDX8::EventHandler(int32_t eventid, std::span<int16_t> Channel1, std::span<int16_t> Channel2) {
    for (const auto& entry : captureNotify_) {
        if (entry.eventId != eventid) continue;
        if (!captureBuffer_) runtime::raise(runtime::err::kObjectNotSet, kSource);
        captureBuffer_->ReadBuffer(entry.offset - captureBlockBytes_ + 1, captureBlockBytes_, scratch_);
        Capture(Channel1, Channel2);
        if (listener_) listener_->DataReady(Channel1, Channel2, SamplesPerEvent_);
        if (OutDelay_ > 0) {
            --OutDelay_;
            if (OutDelay_ < 1) {
                if (!playbackBuffer_) runtime::raise(runtime::err::kObjectNotSet, kSource);
                playbackBuffer_->Start(sound::kLooping);
            }
        }
        return true;
    }
    for (const auto& entry : playbackNotify_) {
        if (entry.eventId != eventid) continue;
        if (!playbackBuffer_) runtime::raise(runtime::err::kObjectNotSet, kSource);
        // Nothing unplayed is left: the reader would overtake the writer.
        if (queued_ == 0) {
            resetRing();
            return false;
        }
        const int32_t offset = entry.offset - playbackBlockBytes_ + 1; // the handler may release the lists
        playbackBuffer_->SetVolume(OutputAttenuation_ < 0 ? OutputAttenuation_ : 0);
        if (listener_) listener_->DataOut(ring_, OutBufferReadPtr_, playbackBlockBytes_);
        if (!playbackBuffer_) runtime::raise(runtime::err::kObjectNotSet, kSource);
        const auto slot = ringSlice(OutBufferReadPtr_, playbackBlockBytes_ / 2);
        playbackBuffer_->WriteBuffer(offset, playbackBlockBytes_, slot);
        nerix_.ZeroIntegers(slot.data(), static_cast<int32_t>(slot.size()));
        OutBufferReadPtr_ += playbackBlockBytes_;
        OutBufferReadPtrWrap_ = false;
        if (OutBufferReadPtr_ >= ringUpper_) {
            OutBufferReadPtr_ = 0;
            OutBufferReadPtrWrap_ = true;
        }
        --queued_;
        return false;
    }
    return false;
}
