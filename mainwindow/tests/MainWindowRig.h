// The main window over a context of its own: an in-memory store, the DSP libraries as built, the filter
// bank, a VFO in its slot, the shipped band plans in a temporary program folder, the model table and rig
// list, scripted dialogs, fake timers, files over the real disk with faults to inject, the simulated sound
// system, and a receiver set-up that only records its call.
// Components are the program's unless a test gives its own; the trace log and the message pump are
// recorded.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>

#include "dsp/FilterBank.h"
#include "dsp/NerixNCO.h"
#include "dsp/testing/DspFixture.h"
#include "frame/Profiler.h"
#include "mainwindow/frmMain.h"
#include "platform/files/FileSystem.h"
#include "platform/files/testing/FaultyFileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "radio/RXDefinitions.h"
#include "radio/clsVFO.h"
#include "radio/modRigList.h"
#include "radio/modSetupRX.h"

namespace mainwindowtest {

// The load's trace lines, without the common prefix; other lines are dropped.
inline std::vector<std::string> loadTrace(const std::vector<std::string>& log) {
    static const std::string prefix = "frmMain:frmMain:Form_Load";
    std::vector<std::string> out;
    for (const auto& line : log)
        if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    return out;
}

// A window whose steps the tests watch in one list of effects.
class WatchedMain final : public frmMain {
public:
    WatchedMain(mainwindow::MainWindowContext& c, const mainwindow::ComponentFactories& f,
                std::vector<std::string>& effects)
        : frmMain(c, f), effects_(effects) {}
    void load() { Form_Load(); }
    void optDisplaySize_Click(int16_t Index) override {
        effects_.push_back("Layout " + std::to_string(Index));
        frmMain::optDisplaySize_Click(Index);
    }
    void optPwr_Click(int16_t Index) override {
        effects_.push_back("Power " + std::to_string(Index));
        frmMain::optPwr_Click(Index);
    }

protected:
    void RestoreSettings() override {
        effects_.push_back("RestoreSettings");
        frmMain::RestoreSettings();
    }
    void SaveSettings() override {
        effects_.push_back("SaveSettings");
        frmMain::SaveSettings();
    }
    void SetSoundFormat() override {
        effects_.push_back("SoundFormat");
        frmMain::SetSoundFormat();
    }
    void ShowTitleBar(bool on) override {
        effects_.push_back(on ? "TitleBar on" : "TitleBar off");
        frmMain::ShowTitleBar(on);
    }

private:
    std::vector<std::string>& effects_;
};

struct MainWindowRig {
    MainWindowRig() {
        for (const char* plan : {"Amateur.bpl", "Broadcast.bpl"}) {
            std::filesystem::copy_file(std::string(NERIX_DATA_DIR) + "/" + plan, folder.path() + "/" + plan);
            bands.push_back(
                modBandPlan::newMainBand(folder.path(), plan, static_cast<int32_t>(bands.size())));
        }
        RXDefinitions::Initialise(models, 12000);
        rigs.BuildRigList();
        vfo.setRXMinFreq(0);
        vfo.setRxMaxFreq(30'000'000);
        vfo.setTunedFrequency(70'500'000);
        vfo.setTuneStep(2500);
        dsp.state.BaseIF = 12000;
        // The supervisor's default scheme.
        auto& colours = dsp.state.SDRColourSchemes;
        colours = {0, 0xBFBF00, 0xFFFF00, 0xBFBF00, 255, 0xBFBF00, 255};
        nco.InitNCO(30, 16, Nerix::kNcoBlock);
    }

    // Makes the window; components as given (the program's by default).
    WatchedMain& make(const mainwindow::ComponentFactories& components = frmMain::programComponents()) {
        window = std::make_unique<WatchedMain>(context, components, effects);
        return *window;
    }
    ReceiverState& state() { return dsp.state; }

    std::vector<std::string> log;
    std::vector<std::string> effects;
    std::function<void()> onPump;
    runtime::ScopedHooks hooks{
        {.doEvents =
             [this] {
                 if (onPump) onPump();
                 QCoreApplication::processEvents();
             },
         .addLog = [this](const std::string& l) { log.push_back(l); },
         .msgBox = [](const std::string&, int32_t, const std::string&) { return runtime::mb::kOk; }}};
    profile::testing::TempFolder folder;
    profile::MemorySettingsStore store;
    DspLibraries dsp;
    Nerix::NCO nco{dsp.wrappers};
    std::unique_ptr<Nerix::FilterBank> bank = Nerix::CreateFilterBank(dsp.wrappers, 12000);
    Profiler profiler;
    modTiming::Timing timing;
    // The slot the VFO lives in, as the application holds it; vfo is the one the rig made, until the
    // configuration dialog replaces it.
    std::unique_ptr<clsVFO> vfoSlot = std::make_unique<clsVFO>(store);
    clsVFO& vfo = *vfoSlot;
    MainBandArray bands;
    modBandPlan::BandPlanStore bandPlan{bands, dsp.state};
    std::array<int32_t, 18> steps = {100000, 90000, 50000, 30000, 25000, 10000, 5000, 2500, 1000,
                                     500,    250,   100,   50,    25,    10,    5,    2,    1};
    RXDefinitions::RxModelTable models;
    modRigList::RigListTable rigs;
    modSetupRX::ReceiverSetup setup;
    ui::testing::ScriptedDialogService dialogs;
    ui::testing::FakePlatformTimers timers;
    files::PosixFileSystem files;
    files::testing::FaultyFileSystem faultyFiles{files};
    sound::testing::SimulatedSoundSystem sound;
    int initialiseRXCalls = 0;
    std::function<void()> initialiseRX = [] {};
    mainwindow::MainWindowContext context{store,
                                          dsp.state,
                                          dsp.wrappers,
                                          nco,
                                          vfoSlot,
                                          [this] { return vfoSlot.get(); },
                                          [this] {
                                              modSetupRX::RadioObjects r;
                                              r.Vfo = vfoSlot.get();
                                              return r;
                                          },
                                          bank.get(),
                                          &profiler,
                                          &timing,
                                          bands,
                                          bandPlan,
                                          steps,
                                          models,
                                          rigs,
                                          setup,
                                          dialogs,
                                          timers,
                                          faultyFiles,
                                          &sound,
                                          nullptr,
                                          nullptr,
                                          folder.path(),
                                          [this](comm::MSComm*) {
                                              ++initialiseRXCalls;
                                              initialiseRX();
                                          },
                                          mainwindow::ChromeMetrics{60, 330}};
    std::unique_ptr<WatchedMain> window;
};

} // namespace mainwindowtest
