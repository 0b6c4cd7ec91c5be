// The shaft encoder's decoder and poll.
#include "radio/modEncoder.h"

#include <algorithm>
#include <string>
#include <utility>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace modEncoder {

namespace {

// The count runs on for as long as the knob turns; it wraps rather than overflow.
int32_t wrapping(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

} // namespace

Encoder::Encoder(VfoAccessor vfo, ui::PlatformTimers& timers, EncoderReadout& readout,
                 const bool& enableShaftEncoder)
    : vfo_(std::move(vfo)), timers_(timers), readout_(readout), enabled_(enableShaftEncoder) {}

Encoder::~Encoder() {
    timers_.KillTimer(hwnd_, timerId_);
}

void Encoder::StartEncoderTimer() {
    if (elapse_ == 0) elapse_ = 20;
    if (timerId_ == 0) timerId_ = 4;
    started_ = true;
    armed_ = enabled_;
    if (armed_)
        timers_.SetTimer(hwnd_, timerId_, elapse_, [this] { EncoderTimerProc(); });
    else
        timers_.KillTimer(hwnd_, timerId_);
}

void Encoder::StopEncoderTimer() {
    started_ = false;
    armed_ = false;
    timers_.KillTimer(hwnd_, timerId_);
}

void Encoder::EncoderSwitchChanged() {
    if (started_ && enabled_ != armed_) StartEncoderTimer();
}

void Encoder::PushEncoderSample(uint8_t sample) {
    if (!enabled_ || draining_) return;
    samples_[static_cast<std::size_t>(sampleCount_)] = sample;
    ++sampleCount_;
    if (sampleCount_ > kLastSampleIndex) sampleCount_ = kLastSampleIndex;
}

void Encoder::QueueEncoderBits(const comm::ModemEvent& event) {
    if (onCommBusy_) return;
    const ScopedFlag busy(onCommBusy_);
    if (event.commEvent != comm::kEvCts && event.commEvent != comm::kEvDsr) return;
    if (!enabled_) return;
    PushEncoderSample(static_cast<uint8_t>(event.modemStatus & 0xFF));
}

void Encoder::EncoderTimerProc() {
    if (!enabled_) return;
    // Asked once per tick: a VFO is not replaced while one of its tunings runs, so this one stays valid
    // through the tick's settle waits.
    clsVFO* vfo = vfo_ ? vfo_() : nullptr;
    if (!vfo) return;
    // A line that fails part-way decodes nothing more this tick; the readout is still refreshed.
    runtime::resumeNext([&] { PollEncoder(); });
    const float step = static_cast<float>(vfo->TuneStep() / 10);
    // A step past the 32-bit range is not taken; the VFO drops one that comes while it is still sending.
    if (up_ > 0)
        runtime::resumeNext([&] {
            vfo->setTunedFrequency(runtime::CLng(static_cast<double>(step) + vfo->TunedFrequency()));
        });
    if (down_ > 0)
        runtime::resumeNext([&] {
            vfo->setTunedFrequency(runtime::CLng(vfo->TunedFrequency() - static_cast<double>(step)));
        });
    up_ = 0;
    down_ = 0;
    runtime::resumeNext([&] { readout_.Display7Seg(vfo->FormattedTunedFreq()); });
}

std::string Encoder::interfaceName() const {
    std::string name;
    runtime::resumeNext([&] {
        clsVFO* vfo = vfo_ ? vfo_() : nullptr;
        Oscillator* osc = vfo ? vfo->OscType() : nullptr;
        if (!osc) return;
        LineInterface* line = osc->IFHandler();
        if (line) name = line->Name();
    });
    return name;
}

void Encoder::PollEncoder() {
    const std::string name = interfaceName();
    if (name == kSerialInterfaceName && sampleCount_ > 0) pollSerial();
    if (name == kUs232cInterfaceName) pollUs232c();
}

void Encoder::pollSerial() {
    const ScopedFlag draining(draining_);
    for (int32_t i = 0; i < sampleCount_; ++i) {
        const uint8_t sample = samples_[static_cast<std::size_t>(i)];
        if (sample == lastSample_) continue;
        lastSample_ = sample;
        decodeSerial(sample);
    }
    sampleCount_ = 0;
    if (count_ == lastCount_) {
        up_ = 0;
        down_ = 0;
        return;
    }
    takeCounts();
}

void Encoder::pollUs232c() {
    // Without the adaptor's line object there is nothing to read.
    if (!us232cLine_) return;
    us232cLine_->setFT_Error_Report(true);
    int32_t waiting = 0;
    if (us232cLine_->Get_USB_Device_Queue_Status(waiting) == 0 && waiting > 0) {
        // A poll reads at most the whole sample array; what waits beyond it is read by the next poll.
        const int32_t wanted = std::min<int32_t>(waiting, static_cast<int32_t>(samples_.size()));
        int32_t got = 0;
        if (us232cLine_->Read_USB_Device(samples_, wanted, got) == 0) {
            up_ = 0;
            down_ = 0;
            got = std::clamp<int32_t>(got, 0, wanted);
            for (int32_t i = 0; i < got; ++i) {
                const uint8_t sample = samples_[static_cast<std::size_t>(i)];
                if (sample == lastSample_) continue;
                lastSample_ = sample;
                decodeUs232c(sample);
            }
        }
    }
    takeCounts();
}

void Encoder::takeCounts() {
    const int32_t moved = wrapping(int64_t{count_} - lastCount_);
    if (moved > 0) {
        down_ = 0;
        up_ = moved;
    } else {
        up_ = 0;
        down_ = wrapping(-int64_t{moved});
    }
    lastCount_ = count_;
}

void Encoder::decodeSerial(uint8_t sample) {
    // A line that is on reads as 0.
    const int32_t code = ((sample & 0x10) ? 0 : 1) | ((sample & 0x20) ? 0 : 2);
    if (code == serialCodeBefore_) return;
    const int32_t state = ((serialCode_ * 4) & 12) | code;
    serialCodeBefore_ = serialCode_;
    serialCode_ = code;
    applyState(state);
}

void Encoder::decodeUs232c(uint8_t sample) {
    const int32_t code = ((sample & 0x08) ? 1 : 0) | ((sample & 0x20) ? 2 : 0);
    if (code == us232cCode_) return;
    const int32_t state = ((us232cCode_ * 4) & 12) | code;
    us232cCode_ = code;
    applyState(state);
}

void Encoder::applyState(int32_t state) {
    int32_t delta = 0;
    switch (state) {
    case 1:
    case 7:
    case 8:
    case 12:
        delta = -1;
        break;
    case 2:
    case 4:
    case 11:
    case 13:
        delta = 1;
        break;
    default:
        return;
    }
    count_ = wrapping(int64_t{count_} + delta);
    readout_.setLabel15Caption(std::to_string(count_));
}

} // namespace modEncoder
