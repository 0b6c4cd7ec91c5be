// The shaft encoder: quadrature samples from the serial port's CTS and DSR or from the US232C adaptor's
// input pins become a running count, and a 10 ms poll turns a change of the count into one tuning step.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "platform/comm/SerialPort.h"
#include "platform/ui/PlatformTimers.h"
#include "radio/EncoderReadout.h"
#include "radio/LineInterface.h"
#include "radio/clsVFO.h"

namespace modEncoder {

// The interface names by which the poll knows where the samples come from.
inline constexpr const char* kSerialInterfaceName = "DDSInterface.Serial";
inline constexpr const char* kUs232cInterfaceName = "DDSInterface.DDSFTDIUS232C";
// The last index of the sample array; a serial sample pushed beyond it is lost.
inline constexpr int32_t kLastSampleIndex = 65536;

class Encoder {
public:
    // Gives the VFO in use at each call, or none; the configuration dialog may replace the VFO.
    using VfoAccessor = std::function<clsVFO*()>;

    // enableShaftEncoder is the main window's switch, read at every push and tick. The timers must
    // outlive the encoder; the rest is not owned either.
    Encoder(VfoAccessor vfo, ui::PlatformTimers& timers, EncoderReadout& readout,
            const bool& enableShaftEncoder);
    // On a VFO that is never replaced.
    Encoder(clsVFO& vfo, ui::PlatformTimers& timers, EncoderReadout& readout, const bool& enableShaftEncoder)
        : Encoder([&vfo] { return &vfo; }, timers, readout, enableShaftEncoder) {}
    // Stops the poll, so no tick reaches a released encoder.
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // The US232C line object whose receive queue holds the pin samples; not owned.
    void setUs232cLine(LineInterface* line) noexcept { us232cLine_ = line; }

    const void* EncoderHwnd() const noexcept { return hwnd_; }
    void setEncoderHwnd(const void* owner) noexcept { hwnd_ = owner; }
    int32_t EncoderTimerId() const noexcept { return timerId_; }
    void setEncoderTimerId(int32_t id) noexcept { timerId_ = id; }
    int32_t EncoderElapse() const noexcept { return elapse_; }
    void setEncoderElapse(int32_t ms) noexcept { elapse_ = ms; }

    // Arms the poll while the encoder is switched on, and only then: a tick while it is off does
    // nothing, and an idle program should not wake every 10 ms for it.
    void StartEncoderTimer();
    void StopEncoderTimer();
    // The switch has been set again (the configuration's Apply): arms the poll if it is now on, stops it
    // if it is now off. Does nothing before the poll was first started.
    void EncoderSwitchChanged();
    bool EncoderPollArmed() const noexcept { return armed_; }
    // One modem-status byte of the serial port, from the front panel's serial event handler.
    void PushEncoderSample(uint8_t sample);
    // The encoder half of the front panel's serial event handler: a CTS or DSR change queues the low
    // byte of the status sampled at that change, while the encoder is switched on.
    void QueueEncoderBits(const comm::ModemEvent& event);
    // One tick of the poll. Never raises: it runs inside a timer callback. Without a VFO it decodes and
    // steps nothing.
    void EncoderTimerProc();
    void PollEncoder();

    int32_t EncoderCount() const noexcept { return count_; }
    int32_t EncoderLastCount() const noexcept { return lastCount_; }
    int32_t EncoderUp() const noexcept { return up_; }
    int32_t EncoderDown() const noexcept { return down_; }
    int32_t EncoderSampleCount() const noexcept { return sampleCount_; }
    bool EncoderDraining() const noexcept { return draining_; }
    uint8_t EncoderLastSample() const noexcept { return lastSample_; }

private:
    // The name of the oscillator's line interface; empty when there is none or it cannot be asked.
    std::string interfaceName() const;
    void pollSerial();
    void pollUs232c();
    void decodeSerial(uint8_t sample);
    void decodeUs232c(uint8_t sample);
    void applyState(int32_t state);
    void takeCounts();

    VfoAccessor vfo_;
    ui::PlatformTimers& timers_;
    EncoderReadout& readout_;
    const bool& enabled_;
    LineInterface* us232cLine_ = nullptr;

    int32_t count_ = 0;
    int32_t lastCount_ = 0;
    int32_t up_ = 0;
    int32_t down_ = 0;
    std::array<uint8_t, kLastSampleIndex + 1> samples_{};
    int32_t sampleCount_ = 0;
    bool draining_ = false;
    uint8_t lastSample_ = 0;
    int32_t us232cCode_ = 0;
    int32_t serialCode_ = 0;
    int32_t serialCodeBefore_ = 0;
    int32_t timerId_ = 0;
    int32_t elapse_ = 0;
    const void* hwnd_ = nullptr;
    bool onCommBusy_ = false;
    bool started_ = false; // StartEncoderTimer was called and StopEncoderTimer not since
    bool armed_ = false;   // the poll's timer is set
};

} // namespace modEncoder
