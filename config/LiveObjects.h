// The live objects behind the dialog's ports: the VFO in use and the receiver's objects as the application
// holds them, with the one routine that replaces the VFO, and the sound engine.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "config/ConfigPorts.h"
#include "dsp/NerixDX8.h"
#include "frame/ReceiverState.h"
#include "platform/profile/SettingsStore.h"
#include "radio/RXDefinitions.h"
#include "radio/clsVFO.h"
#include "radio/modSetupRX.h"

namespace config {

// The VFO in the slot at each call; an empty slot raises Object variable not set (91).
class ClsVfoControl final : public VfoControl {
public:
    explicit ClsVfoControl(std::unique_ptr<clsVFO>& slot) : slot_(slot) {}
    void SaveSettings() override { vfo().SaveSettings(); }
    Oscillator* OscType() const override { return vfo().OscType(); }
    void setHiSideLo(bool high) override { vfo().setHiSideLo(high); }
    void setIFFrequency(int32_t hertz) override { vfo().setIFFrequency(hertz); }
    void setAutoUpdate(bool on) override { vfo().setAutoUpdate(on); }
    void setOscMultiplier(int32_t value) override { vfo().setOscMultiplier(value); }
    void setPLLMultiplier(int32_t value) override { vfo().setPLLMultiplier(value); }
    int32_t DDSInterfaceType() const override { return vfo().DDSInterfaceType(); }
    void setDDSInterfaceType(int32_t kind) override { vfo().setDDSInterfaceType(kind); }
    void Refresh() override { vfo().Refresh(); }

private:
    clsVFO& vfo() const;
    std::unique_ptr<clsVFO>& slot_;
};

// What the receiver is made of, as the application holds it.
struct LiveRadioParts {
    profile::SettingsStore& Settings;
    ReceiverState& State;
    RXDefinitions::RxModelTable& RxModels;
    modSetupRX::ReceiverSetup& SetupRX;
    // The one place the VFO in use lives.
    std::unique_ptr<clsVFO>& Vfo;
    // The oscillator and line objects at the call (their Vfo is taken from the slot).
    std::function<modSetupRX::RadioObjects()> Objects;
    // The main window's serial event control; none while there is no main window.
    std::function<comm::MSComm*()> MSComm1;
};

class LiveRadio final : public LiveReceiver {
public:
    explicit LiveRadio(LiveRadioParts parts) : parts_(std::move(parts)), vfo_(parts_.Vfo) {}

    // A user that keeps the VFO itself rather than a way to reach it is handed the new VFO here, before
    // the old one is released. A re-pointing only stores the object; it must not fail.
    void onReplaced(std::function<void(clsVFO&)> repoint) { repointers_.push_back(std::move(repoint)); }

    VfoControl& Vfo() override;
    modSetupRX::RadioObjects Objects() override;
    // The old VFO lets go of its oscillator; the new one takes the slot; no oscillator keeps the old one
    // as its parent and every registered user has the new one; then the old one is released, which saves
    // its settings under its own section. A VFO whose tuning is running (reached from a settle wait's
    // message pumping) is not replaced: Invalid procedure call (5).
    void ReplaceVfo() override;
    // The set-up with a negative model: the model in use, on the VFO in the slot.
    void InitialiseRX() override;

private:
    LiveRadioParts parts_;
    ClsVfoControl vfo_;
    std::vector<std::function<void(clsVFO&)>> repointers_;
};

// The program's sound engine.
class NerixDX8Engine final : public SoundEngine {
public:
    explicit NerixDX8Engine(NerixDX8& engine) : engine_(engine) {}
    bool InAction() const override { return engine_.InAction(); }
    int32_t CurrentPlaybackDevice() const override { return engine_.CurrentPlaybackDevice(); }
    void setCurrentPlaybackDevice(int32_t device) override { engine_.setCurrentPlaybackDevice(device); }
    int32_t CurrentCaptureDevice() const override { return engine_.CurrentCaptureDevice(); }
    void setCurrentCaptureDevice(int32_t device) override { engine_.setCurrentCaptureDevice(device); }
    int32_t StopSound() override { return engine_.StopSound(); }
    int32_t ReleaseDevices() override { return engine_.ReleaseDevices(); }
    int32_t PrepareDevices() override { return engine_.PrepareDevices(); }

private:
    NerixDX8& engine_;
};

} // namespace config
