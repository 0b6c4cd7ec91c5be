// What the configuration dialog works on: the receiver state, the settings store, the model table and
// rig list, the receiver set-up, the live radio objects, the Hilbert filter, the analyser, knob labels
// and main window, the shared file dialog and the dialog service. The main window composes it.
#pragma once

#include <functional>

#include "config/ConfigPorts.h"
#include "config/ProgramAbout.h"
#include "frame/ReceiverState.h"
#include "frame/clsComDlg.h"
#include "platform/profile/SettingsStore.h"
#include "platform/ui/DialogService.h"
#include "radio/RXDefinitions.h"
#include "radio/modRigList.h"
#include "radio/modSetupRX.h"

class clsFFTFilter;

namespace config {

struct ConfigContext {
    ReceiverState& State;
    profile::SettingsStore& Settings;
    const RXDefinitions::RxModelTable& RxModels;
    const modRigList::RigListTable& RigList;
    // The model section and I/Q flag of the model in use.
    const modSetupRX::ReceiverSetup& SetupRX;
    // The VFO, oscillator and line objects as they stand at each call (a change of model replaces the
    // VFO), so the dialog never holds one across the message loop.
    std::function<modSetupRX::RadioObjects()> Radio;
    // The filter that corrects the I/Q phase (the filter bank's HilbertFilter1).
    clsFFTFilter* HilbertFilter1 = nullptr;
    AnalyserSettings* Analyser = nullptr;
    KnobValues* Knobs = nullptr;
    // The program's one file and colour dialog object.
    clsComDlg& ComDlg;
    // The dialog's own messages and the calibration dialog's.
    ui::DialogService& Dialogs;
    ProgramVersion Version;
    // What Apply puts the dialog's values into force on; without the receiver Apply does nothing.
    LiveReceiver* Receiver = nullptr;
    MainWindowShell* MainWindow = nullptr;
};

} // namespace config
