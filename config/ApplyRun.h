// One run of Apply: its steps in their fixed order, its trace, the values that did not convert and the
// live objects. Its steps are in ConfigApply.cpp, those of the line interface and the ports in
// ConfigApplyLines.cpp.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigApply.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"
#include "radio/Oscillator.h"
#include "radio/modSetupRX.h"

namespace config::detail {

inline constexpr const char* kRoutine = "frmConfig.cmdApply_Click";

template <class T> T& present(T* object, const char* what) {
    if (!object) runtime::raise(runtime::err::kObjectNotSet, what);
    return *object;
}

inline Oscillator& oscillatorOf(VfoControl& vfo) {
    return present(vfo.OscType(), "Vfo.OscType");
}

inline LineInterface& handlerOf(Oscillator& oscillator) {
    return present(oscillator.IFHandler(), "Vfo.OscType.IFHandler");
}

class ApplyRun {
public:
    ApplyRun(const ApplyInputs& in, ConfigMembers& m, const ApplyPorts& ports, const std::string& caption,
             const NumberFormat::Separators& separators)
        : in_(in), m_(m), ports_(ports), state_(ports.State), rx_(ports.Receiver), caption_(caption),
          separators_(separators), encoderBefore_(ports.State.EnableShaftEncoder), log_(kRoutine) {}

    ApplyEnd run() {
        saveSettings();
        if (m_.NewSDRModelNo != m_.InitialSDRModelNo) changeModel();
        if (m_.NewHamLibRigNo != m_.InitialHamLibRigNo) changeRig();
        if (!ifAndLoSide()) return ApplyEnd::IFRefused;
        if (!clockAndMultipliers()) return ApplyEnd::ClockRefused;
        soundDevices();
        state_.PhaseBitCorrection = in_.ADCDelayBitCorrection;
        lineInterface();
        parallelPort();
        if (in_.InterfaceKind == 0) serialPort();
        receiverFlags();
        spectrumDisplay();
        frontPanelOptions();
        mainWindow();
        bookkeeping();
        caption();
        state_.RunPriority = m_.NewRunPriority;
        reportNotApplied();
        return ApplyEnd::Complete;
    }

private:
    VfoControl& vfo() { return rx_.Vfo(); }
    Oscillator& osc() { return oscillatorOf(rx_.Vfo()); }
    LineInterface& line(LineInterface* modSetupRX::RadioObjects::*member, const char* name) {
        return present(rx_.Objects().*member, name);
    }
    LineInterface& serial() { return line(&modSetupRX::RadioObjects::SerialLine, "SerialLine"); }
    LineInterface& parallel() { return line(&modSetupRX::RadioObjects::ParallelLine, "ParallelLine"); }
    Oscillator& hamlib() { return present(rx_.Objects().HamlibOsc, "HamlibOsc"); }
    AnalyserSettings& analyser() { return present(ports_.Analyser, "Analyser"); }
    KnobValues& knobs() { return present(ports_.Knobs, "ctlArray"); }
    MainWindowShell& shell() { return present(ports_.MainWindow, "frmMain"); }
    SoundEngine& engine() { return present(ports_.Sound, "SoundCard"); }

    // A typed value: converted as a statement of its own, and named at the end when it does not convert.
    template <class Conversion> auto typed(const char* label, Conversion&& conversion) {
        std::optional<decltype(conversion())> value;
        if (!runtime::resumeNext([&] { value = conversion(); }, log_, label)) notApplied_.emplace_back(label);
        return value;
    }

    void message(const std::string& prompt, const std::string& title) {
        runtime::resumeNext([&] { ports_.Dialogs.MsgBox(prompt, runtime::mb::kOkOnly, title); }, log_,
                            "MsgBox");
    }

    // A typed entry the list does not hold leaves the multiplier: 2 to the power -1 would round to 0.
    template <class Set> void multiplier(const char* what, int32_t position, Set&& set) {
        if (position < 0) {
            log_.leftOut(what, "no entry of its list is chosen");
            return;
        }
        runtime::resumeNext([&] { set(runtime::CLng(std::pow(2.0, position))); }, log_, what);
    }

    template <class Set> void bit(const char* what, uint8_t value, Set&& set) {
        if (value > 7) {
            log_.leftOut(what, "bit " + std::to_string(value) + " is not a bit of the data register");
            return;
        }
        runtime::resumeNext([&] { set(value); }, log_, what);
    }

    // The steps in their order, and the statements some of them share.
    void saveSettings();
    void changeModel();
    void changeRig();
    bool ifAndLoSide();
    bool clockAndMultipliers();
    void soundDevices();
    void lineInterface();
    void attach(LineInterface* modSetupRX::RadioObjects::*member, const char* name);
    void serialSequence();
    void parallelPort();
    void serialPort();
    void receiverFlags();
    void spectrumDisplay();
    void frontPanelOptions();
    void mainWindow();
    void bookkeeping();
    void caption();
    void reportNotApplied();

    const ApplyInputs& in_;
    ConfigMembers& m_;
    const ApplyPorts& ports_;
    ReceiverState& state_;
    LiveReceiver& rx_;
    const std::string& caption_;
    const NumberFormat::Separators& separators_;
    // The encoder switch is stored later in the Apply; the port opens in the mode in force before it.
    const bool encoderBefore_;
    runtime::SkipLog log_;
    std::vector<std::string> notApplied_;
};

} // namespace config::detail
