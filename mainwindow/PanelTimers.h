// The tuning-repeat, oscillator-refresh and clock ticks, Qt-free over their ports.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "frame/ReceiverState.h"

namespace mainwindow {

class PanelTimerPorts {
public:
    virtual ~PanelTimerPorts() = default;
    // VFO (each raises 91 without one).
    virtual void IncFreq(double step) = 0;
    virtual void DecFreq(double step) = 0;
    virtual int32_t TunedFrequency() = 0;
    virtual bool AutoUpdate() = 0;
    // The current oscillator: busy with a chip write, and its re-send.
    virtual bool OscillatorBusy() = 0;
    virtual void RefreshOscillator() = 0;
    // Front panel
    virtual void StepDial(int32_t delta) = 0;
    virtual void Display7Seg(const std::string& digits) = 0;
    virtual void SetScopeXCentre() = 0;
    virtual void CopyTuningRate() = 0;
    // The selected RF input button, -1 for none; selecting one runs its handler.
    virtual int16_t SelectedRFInput() = 0;
    virtual void SelectRFInput(int16_t index) = 0;
    virtual void SetClock(const std::string& text) = 0;
    virtual void EnableRit(bool enabled) = 0;
    virtual void SetVfoUpdateInterval(int32_t ms) = 0;
    // The seeded random source, uniform in [0, 1), and the UTC time.
    virtual double Random() = 0;
    virtual std::chrono::system_clock::time_point UtcNow() = 0;
};

class PanelTimers {
public:
    PanelTimers(ReceiverState& state, PanelTimerPorts& ports) : state_(state), ports_(ports) {}
    // CurrentModelSection is read at each tick, the set-up may change it.
    void tmrTune_Timer(const std::string& currentModelSection);
    void tmrVFOUpdate_Timer();
    void tmrClock_Timer();

    int32_t ReadoutFrequency = 0;

private:
    ReceiverState& state_;
    PanelTimerPorts& ports_;
};

} // namespace mainwindow
