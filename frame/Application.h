// The application object: every long-lived object and the receiver state, created by the start-up before
// the main window and released after it. Components get references to what they use; there are no
// other process-wide objects.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "dsp/Nerix.h"
#include "dsp/NerixNCO.h"
#include "frame/Profiler.h"
#include "frame/ReceiverState.h"
#include "frame/frmLog.h"
#include "frame/modIsProcessRunning.h"
#include "frame/modTiming.h"
#include "frontpanel/modBandPlan.h"
#include "mainwindow/frmMain.h"
#include "platform/nerix/NerixDll.h"
#include "platform/nsp/NspDll.h"
#include "platform/process/InstanceLock.h"
#include "platform/process/ProcessSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/DialogService.h"

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
    std::unique_ptr<frmLog> Log; // made by the start-up's trace switch

    std::unique_ptr<process::ProcessTable> Processes;
    std::unique_ptr<process::WindowSystem> Windows;
    std::unique_ptr<modIsProcessRunning::ProcessWatch> ProcessWatch; // over Processes and Windows

    nerixdll::NerixDll NerixLibrary;
    nspdll::NspDll NspLibrary;
    Nerix::Wrappers Nerix{State, NerixLibrary, NspLibrary};
    Nerix::NCO Nco{Nerix};

    std::unique_ptr<Profiler> BlockProfiler; // made by the start-up sequence
    MainBandArray MainBands;
    modBandPlan::BandPlanStore BandPlan{MainBands, State}; // reads and writes MainBands' files
    // Tenths of a hertz, largest first; all zero until the start-up fills it.
    std::array<int32_t, kTuningStepCount> TuningSteps{};

    // Declared last so it goes first: the main window's shutdown still sees everything above.
    std::unique_ptr<frmMain> MainWindow;

    // The block drivers' stopwatch; a start-up that could not make it leaves a clear error, not a null.
    Profiler& blockProfiler() {
        if (!BlockProfiler) runtime::raise(runtime::err::kObjectNotSet, "Application.BlockProfiler");
        return *BlockProfiler;
    }
};
