// The application object: every long-lived object and the receiver state, created by the start-up before
// the main window and released after it. Components get references to what they use; there are no
// other process-wide objects.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "clockgen/clsCY27EE16.h"
#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "dsp/NerixNCO.h"
#include "frame/Profiler.h"
#include "frame/ReceiverState.h"
#include "frame/modIsProcessRunning.h"
#include "frame/modTiming.h"
#include "frontpanel/modBandPlan.h"
#include "mainwindow/MainWindowContext.h"
#include "mainwindow/frmMain.h"
#include "platform/comm/SerialPort.h"
#include "platform/files/FileSystem.h"
#include "platform/ftdi/FtdiDriver.h"
#include "platform/nerix/NerixDll.h"
#include "platform/nsp/NspDll.h"
#include "platform/parport/ParallelPort.h"
#include "platform/process/InstanceLock.h"
#include "platform/process/ProcessSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/sound/SoundSystem.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PlatformTimers.h"
#include "radio/RXDefinitions.h"
#include "radio/RigBridge.h"
#include "radio/clsAD9835.h"
#include "radio/clsAD9850.h"
#include "radio/clsAD9851.h"
#include "radio/clsAD9951.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsFT232IF.h"
#include "radio/clsFTDIDRB30.h"
#include "radio/clsFTDIUS232C.h"
#include "radio/clsHamlib.h"
#include "radio/clsSoftDDS.h"
#include "radio/clsVFO.h"
#include "radio/modRigList.h"
#include "radio/modSetupRX.h"
#include "startup/frmLog.h"

inline constexpr int32_t kTuningStepCount = 18;

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The per-user settings store: a profile::FileSettingsStore made by the start-up (tests put a
    // MemorySettingsStore here). Declared first so it goes last: its destructor commits what the
    // shutdown saved.
    std::unique_ptr<profile::SettingsStore> Settings;
    // Held for the life of the process once this instance has it.
    std::unique_ptr<process::InstanceLock> Instance;
    ReceiverState State;
    modTiming::Timing Timing;

    std::unique_ptr<ui::DialogService> Dialogs;
    // The UI thread's callback timers, the sound devices and the recorder's files (the Linux and Qt
    // backends in the program, simulators in tests). The sound system may be absent: the main window then
    // runs without sound.
    std::unique_ptr<ui::PlatformTimers> Timers;
    std::unique_ptr<sound::SoundSystem> Sound;
    std::unique_ptr<files::FileSystem> Files;
    std::unique_ptr<frmLog> Log; // made by the start-up's trace switch

    std::unique_ptr<process::ProcessTable> Processes;
    std::unique_ptr<process::WindowSystem> Windows;
    std::unique_ptr<modIsProcessRunning::ProcessWatch> ProcessWatch; // over Processes and Windows

    nerixdll::NerixDll NerixLibrary;
    nspdll::NspDll NspLibrary;
    Nerix::Wrappers Nerix{State, NerixLibrary, NspLibrary};
    Nerix::NCO Nco{Nerix};

    std::unique_ptr<Nerix::FilterBank> Filters; // made by the start-up sequence
    std::unique_ptr<Profiler> BlockProfiler;    // made by the start-up sequence
    MainBandArray MainBands;
    modBandPlan::BandPlanStore BandPlan{MainBands, State}; // reads and writes MainBands' files
    // Tenths of a hertz, largest first; all zero until the start-up fills it.
    std::array<int32_t, kTuningStepCount> TuningSteps{};

    // The devices the line objects and the Hamlib oscillator reach (the Linux backends in the program,
    // simulators in tests); declared before the objects, which hold references to them.
    std::unique_ptr<comm::SerialPortOpener> SerialPorts;
    std::unique_ptr<parport::ParallelPort> ParallelPort;
    std::unique_ptr<ftdi::FtdiDriver> FtdiDriver;
    std::unique_ptr<RigBridge> Rigs;

    // Built by the start-up sequence; the receiver set-up builds the model table itself when it is not.
    RXDefinitions::RxModelTable RxModels;
    modRigList::RigListTable RigList;
    modSetupRX::ReceiverSetup SetupRX;

    // The fourteen oscillator and line objects, made in their fixed order by the start-up sequence and
    // wired by the receiver set-up. Declared so that they are released in the shutdown's order, which
    // decides what their saves leave in keys they share: the six line objects (Parallel, Serial, Null,
    // Drb30, Us232c, Ft232), the oscillators SoftDds, Ad9835, Ad9951 and Ad9850, the VFO, then the rest.
    std::unique_ptr<clsHamlib> HamlibOsc;
    std::unique_ptr<clsCY27EE16> Cy27ee16Osc;
    std::unique_ptr<clsAD9851> Ad9851Osc;
    // The one slot the VFO lives in: the main window's context hands it on, and the configuration dialog
    // puts a new VFO in it on a change of receiver model.
    std::unique_ptr<clsVFO> Vfo;
    std::unique_ptr<clsAD9850> Ad9850Osc;
    std::unique_ptr<clsAD9951> Ad9951Osc;
    std::unique_ptr<clsAD9835> Ad9835Osc;
    std::unique_ptr<clsSoftDDS> SoftDdsOsc;
    std::unique_ptr<clsFT232IF> Ft232Line;
    std::unique_ptr<clsFTDIUS232C> Us232cLine;
    std::unique_ptr<clsFTDIDRB30> Drb30Line;
    std::unique_ptr<clsDDSNullIF> NullLine;
    std::unique_ptr<clsDDSSerialIF> SerialLine;
    std::unique_ptr<clsDDSParallelIF> ParallelLine;

    // What the main window is handed; made with it, and outliving it.
    std::unique_ptr<mainwindow::MainWindowContext> MainContext;
    // Declared last so it goes first: the main window's shutdown still sees everything above.
    std::unique_ptr<frmMain> MainWindow;

    // The main window's context over what the application holds: the VFO and the radio objects are read
    // at each call, since the configuration dialog replaces the VFO. The settings store must be there;
    // missing dialogs, timers or files are the platform's own. programFolder
    // is where band plans and recordings live.
    std::unique_ptr<mainwindow::MainWindowContext> mainWindowContext(const std::string& programFolder);

    // The block drivers' stopwatch; a start-up that could not make it leaves a clear error, not a null.
    Profiler& blockProfiler() {
        if (!BlockProfiler) runtime::raise(runtime::err::kObjectNotSet, "Application.BlockProfiler");
        return *BlockProfiler;
    }

    // What the receiver set-up works on, with the main window's serial event control; an object
    // start-up could not make is absent, and the set-up raises Object variable not set (91) when a model
    // needs it.
    modSetupRX::Globals receiverGlobals(comm::MSComm* msComm1 = nullptr) {
        if (!Settings) runtime::raise(runtime::err::kObjectNotSet, "Application.Settings");
        return {*Settings, State, RxModels, radioObjects(), msComm1};
    }
    modSetupRX::RadioObjects radioObjects() const {
        return {Vfo.get(),        SerialLine.get(),  ParallelLine.get(), NullLine.get(),  Drb30Line.get(),
                Us232cLine.get(), Ft232Line.get(),   Ad9835Osc.get(),    Ad9850Osc.get(), Ad9851Osc.get(),
                Ad9951Osc.get(),  Cy27ee16Osc.get(), SoftDdsOsc.get(),   HamlibOsc.get()};
    }
};
