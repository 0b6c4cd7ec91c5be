// What the start-up hands the main window: references to the long-lived objects it made (the store, the
// receiver state, the VFO's slot and an accessor to it, the radio objects, band records and store, filter
// bank, timing module, timers, dialogs, process watch, program folder) and the receiver set-up of the saved
// model, which the main window's load runs. The main window never sees the start-up's application object.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "dsp/NerixNCO.h"
#include "frame/Profiler.h"
#include "frame/ReceiverState.h"
#include "frame/modIsProcessRunning.h"
#include "frame/modTiming.h"
#include "frontpanel/modBandPlan.h"
#include "mainwindow/WindowLayout.h"
#include "platform/comm/SerialPort.h"
#include "platform/files/FileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/sound/SoundSystem.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PlatformTimers.h"
#include "radio/RXDefinitions.h"
#include "radio/modRigList.h"
#include "radio/modSetupRX.h"

class clsVFO;
class clsHamlib;
namespace comm {
class MSComm;
}

namespace mainwindow {

struct MainWindowContext {
    profile::SettingsStore& Settings;
    ReceiverState& State;
    Nerix::Wrappers& Nerix;
    Nerix::NCO& Nco;
    // The one place the VFO lives (the application's); the configuration dialog's change of model puts a
    // new object in it.
    std::unique_ptr<clsVFO>& VfoSlot;
    // The VFO in the slot at each call: the window and its components keep this, never the object. Null
    // when the start-up could not make one.
    std::function<clsVFO*()> Vfo;
    // The VFO, oscillator and line objects as they stand at each call.
    std::function<modSetupRX::RadioObjects()> Radio;
    // Any of these may be absent; the steps that need one are skipped.
    Nerix::FilterBank* Filters = nullptr;
    Profiler* BlockProfiler = nullptr;
    // The timing module, whose scope timer callback runs the display's redraw pacing.
    modTiming::Timing* Timing = nullptr;
    MainBandArray& MainBands;
    modBandPlan::BandPlanStore& BandPlan;
    const std::array<int32_t, 18>& TuningSteps;
    // The configuration dialog's Apply rebuilds the receiver through the table and the set-up.
    RXDefinitions::RxModelTable& RxModels;
    const modRigList::RigListTable& RigList;
    modSetupRX::ReceiverSetup& SetupRX;
    ui::DialogService& Dialogs;
    ui::PlatformTimers& Timers;
    files::FileSystem& Files;
    sound::SoundSystem* Sound = nullptr;
    comm::SerialPortOpener* SerialPorts = nullptr; // the serial event control's ports
    modIsProcessRunning::ProcessWatch* ProcessWatch = nullptr;
    std::string ProgramFolder;
    // The receiver set-up of the saved model, with the window's serial event control: reads "SDRModelNo"
    // and "EnableShaftEncoder" of "frmMain" and builds the radio. Errors reach the caller.
    std::function<void(comm::MSComm* msComm1)> InitialiseRX;
    // The window frame's size, when known better than the window system reports it (tests, and window
    // managers that report it late); otherwise the load measures it.
    std::optional<ChromeMetrics> Chrome;
    // The shutdown's end of the radio, in its order: the receiver set-up's references dropped, then the
    // start-up's radio objects released (the current oscillator's line link, the six line objects, the
    // VFO's oscillator link, four oscillators, the VFO). Either may be absent (tests keep their own), so
    // each starts empty and an initialiser may leave it out.
    std::function<void()> ReleaseRX{};
    std::function<void()> ReleaseRadioObjects{};
};

} // namespace mainwindow
