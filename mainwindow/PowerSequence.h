// The power button's On and Off and the window's shutdown, over the ports the window implements; Qt-free,
// so the orders are tested on recording fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/ReceiverState.h"

namespace mainwindow {

// Caption colours of "On" and "Off" in each state, 0x00BBGGRR.
inline constexpr int32_t kOnColourWhenOn = 0x00C000, kOffColourWhenOn = 0x0000FF;
inline constexpr int32_t kOnColourWhenOff = 0x00FF00, kOffColourWhenOff = 0x0000C0;
// The redraw pacing's first tick after Off.
inline constexpr int32_t kIdleRedrawMs = 50;

// What On and Off drive, in the terms of their steps.
class PowerPorts {
public:
    virtual ~PowerPorts() = default;
    // Window
    virtual void setTitleBarHidden(bool hidden) = 0;
    virtual void ApplyLayout() = 0; // the current layout applied again
    virtual void ShowTitleBar(bool on) = 0;
    virtual void ShowClose(bool visible) = 0;
    virtual void SetPowerColours(int32_t onColour, int32_t offColour) = 0;
    // Knob table: the BFO knob's range in hertz.
    virtual void SetBfoRange(int32_t min, int32_t max) = 0;
    virtual void MakeFilters() = 0;
    // The process's priority class; a refusal is the port's to trace.
    virtual void SetPriorityClass(int32_t priorityClass) = 0;
    // Display
    virtual void SetFreeze(bool frozen) = 0;
    virtual void KillScopeTimer() = 0;
    virtual void SetScopeTimer(int32_t elapseMs) = 0;
    // Engine; StartSound raises when sound did not start.
    virtual void StartSound() = 0;
    virtual void StopSound() = 0;
    virtual void StopHousekeeping() = 0;
};

// On's nine steps and Off's eight; a step that raises ends the sequence with that error.
void powerOn(PowerPorts& ports, const ReceiverState& state);
void powerOff(PowerPorts& ports, const ReceiverState& state);

// A file the shutdown could not save: a band plan, or the settings file.
struct FileSaveFailure {
    std::string File;
    std::string Reason;
};
using BandSaveFailure = FileSaveFailure;

// What the shutdown drives, one member per action of its steps.
class ShutdownPorts {
public:
    virtual ~ShutdownPorts() = default;
    virtual void KillScopeTimer() = 0;
    virtual void Pump() = 0;
    virtual bool Drawing() = 0;
    // Every timer of the window (the clock's and the housekeeping's first), the recorder's disk timers,
    // the shaft-encoder poll and the engine's listener.
    virtual void StopTimers() = 0;
    virtual void StopRecorderTimers() = 0;
    virtual void StopEncoderTimer() = 0;
    virtual void Hide() = 0;
    virtual void UnhookWheel() = 0;
    virtual void StopSound() = 0;
    virtual void ReleaseDevices() = 0;
    virtual int32_t BandCount() = 0;
    // False, with the file and the reason, when the band's file was not saved.
    virtual bool SaveBandPlan(int32_t index, BandSaveFailure& failure) = 0;
    virtual void SaveSettings() = 0;
    virtual void SaveVfoSettings() = 0;
    virtual void SaveLineSettings() = 0;
    virtual void SaveOscillatorSettings() = 0;
    // Writes what the saves above put in the settings store now (its commit), not only when the store is
    // released after the shutdown, so a failure can still be told: the file and why, nullopt when
    // written. The default tells nothing.
    virtual std::optional<FileSaveFailure> SettingsSaveFailure() { return std::nullopt; }
    virtual void ReleaseRX() = 0;
    // The six line interfaces in the shutdown's order: Parallel, Serial, Null, Drb30, Us232c, Ft232.
    virtual void ClosePort(int32_t line) = 0;
    // The releases, in their order: the radio objects, then the window's engine and recorder.
    virtual void ReleaseRadioObjects() = 0;
    virtual void ReleaseSoundCard() = 0;
    virtual void ReleaseWavFile() = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

// The display wait's bound, in message-loop passes.
inline constexpr int64_t kDisplayWaitPasses = int64_t{1} << 24;

// The message naming each band plan the shutdown could not save; empty when all were saved.
std::string bandSaveMessage(const std::vector<BandSaveFailure>& failures);
// The one message of the shutdown's saves: the band plans', then the settings file's failure.
std::string shutdownSaveMessage(const std::vector<BandSaveFailure>& bands,
                                const std::optional<FileSaveFailure>& settings);

// The thirteen steps in order, each on its own guard, so that settings and band plans are saved whatever
// fails before them.
void runShutdown(ShutdownPorts& ports);

} // namespace mainwindow
