// The receiver's context of its own: an in-memory store, the DSP libraries as built, the filter bank, a VFO
// in its slot, the shipped band plans in a temporary program folder, the model table and rig list, scripted
// dialogs, fake timers, files over the real disk with faults to inject, the simulated sound system, and a
// receiver set-up that only records its call; a receiver whose steps are watched; and views without
// widgets. Qt-free. The trace log and the message pump are recorded.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dsp/FilterBank.h"
#include "dsp/NerixNCO.h"
#include "dsp/testing/DspFixture.h"
#include "frame/Profiler.h"
#include "frontpanel/tests/BandPlanRig.h"
#include "frontpanel/tests/PanelRig.h"
#include "mainwindow/Receiver.h"
#include "platform/files/FileSystem.h"
#include "platform/files/testing/FaultyFileSystem.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "platform/ui/testing/RecordingPicture.h"
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

// The start-up's trace texts in their order, as the start-up writes them whatever its steps do.
inline std::vector<std::string> expectedTrace() {
    std::vector<std::string> t = {":Start",
                                  ":Resizing",
                                  ":Restoring SDR Colour Settings from Registry",
                                  ":Creating SpectrumAnalyser Object",
                                  ":Making frmMain Visible",
                                  ":Setting Colour Scheme",
                                  ":Creating Wavfile Object",
                                  ":Positioning Presets",
                                  ":Initialising MouseOverS",
                                  ":Initialising 7Segment Display Tuning",
                                  ":Initialising dialtuner"};
    for (const char* k : {"2", "3", "4", "5", "7", "8", "9"})
        t.push_back(std::string(":Initialising CtlArray(") + k + ")");
    for (const char* s : {":Initialising sldNB", ":Initialising dialNB", ":Initialising ctlArray(10)",
                          ":Initialising dialOutVol", ":Initialising sldOutVolume"})
        t.push_back(s);
    for (const char* k : {"11", "12", "13", "14", "15"})
        t.push_back(std::string(":Initialising ctlArray(") + k + ")");
    for (const char* s : {":Initialising CtlArray(6)",
                          ":Initialising ctlArray(PicScopeIndex)",
                          ":Initialising ctlArray(17)",
                          ":Initialising ctlArray(18)",
                          ":Initialising Spectrum Analyser Averaging - ctlArray(lblSpectrumSmoothIndex)",
                          ":Initialising Spectrum Analyser FrameRate - ctlArray(lblFrameRateIndex)",
                          ":Initialising lblIFShift - ctlArray(lblIFShiftIndex)",
                          ":Initialising lblBFO - ctlArray(lblBFOIndex)",
                          ":Initialising lblY1Bright - ctlArray(lblY1BrightIndex)",
                          ":Initialising lblY2Bright - ctlArray(lblY2BrightIndex)",
                          ":Initialising cboBandSelect",
                          ":Initialising optSubBand",
                          ":Initialising optPreset",
                          ":New NerixDX8",
                          ":Load frmDX8Events",
                          ":New clsFFTReal",
                          ":Initialising FFTReal",
                          " : Initialising Interface Objects",
                          ":Initialising sldAGCAttack",
                          ":Initialising sldAGCDecay",
                          ":Initialising SpectrumAnalyser"})
        t.push_back(s);
    for (int i = 0; i <= 4; ++i)
        t.push_back(":Initialising Variable Filter Default Values (" + std::to_string(i) + ")");
    for (int i = 1; i <= 3; ++i)
        t.push_back(":Initialising Variable AGC Default Values (" + std::to_string(i) + ")");
    for (const char* s : {":Initialising Variable IF Filter Default Values (0)",
                          ":Initialising NotchFilter Default Values",
                          ":Restoring SDR Settings",
                          ":Initialising SoundCard Object",
                          ":Set OutputLevel Attenuator to PublicVars.OutputAttenuation",
                          ":Select Band in use last time",
                          ":Set the last tuned frequency for Spectrum Analyser",
                          ":Call modWheelMouse.init",
                          ":Set up default values in the AGC delayline",
                          ":Call MouseOverS.lblFilterHi_Wheel",
                          ":Call MouseOverS.lblFilterLo_Wheel",
                          ":Initialise WavFile Object",
                          ":Call tmrPerfStats_Timer",
                          ":Enable Power Butons",
                          ":Enable TmrTune",
                          ":Enable TmrVFOUpdate",
                          ":Enable TmrClock",
                          ":Enable TmrSubBands",
                          ":Initialise the Tuning Step Selector Drop Down List",
                          ":Call DarkenControls",
                          ":End"})
        t.push_back(s);
    return t;
}

// A receiver whose steps the tests watch in one list of effects; its analyser can be made to fail.
class WatchedReceiver final : public mainwindow::Receiver {
public:
    WatchedReceiver(mainwindow::MainWindowContext& c, const mainwindow::ReceiverViews& v,
                    std::vector<std::string>& effects, const bool& failAnalyser)
        : mainwindow::Receiver(c, v), effects_(effects), failAnalyser_(failAnalyser) {}
    void RestoreSettings() override {
        effects_.push_back("RestoreSettings");
        mainwindow::Receiver::RestoreSettings();
    }
    void SaveSettings() override {
        effects_.push_back("SaveSettings");
        mainwindow::Receiver::SaveSettings();
    }
    void SetSoundFormat() override {
        effects_.push_back("SoundFormat");
        mainwindow::Receiver::SetSoundFormat();
    }
    void CreateAnalyser() override {
        if (failAnalyser_) runtime::raise(7, "SpectrumAnalyser");
        effects_.push_back("CreateAnalyser");
        mainwindow::Receiver::CreateAnalyser();
    }
    void VfoReplaced(clsVFO& vfo) noexcept override {
        HandedVfo = &vfo;
        HandedVfoInSlot = Context.VfoSlot.get() == &vfo;
        mainwindow::Receiver::VfoReplaced(vfo);
    }
    // The VFO the display was last handed, and whether the slot held it then.
    clsVFO* HandedVfo = nullptr;
    bool HandedVfoInSlot = false;

private:
    std::vector<std::string>& effects_;
    const bool& failAnalyser_;
};

struct ContextRig {
    ContextRig() {
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

    ReceiverState& state() { return dsp.state; }

    std::vector<std::string> log;
    std::vector<std::string> effects;
    bool failAnalyser = false;
    // The trace lines join the effects, so steps can be ordered against them.
    bool traceIntoEffects = false;
    std::function<void()> onPump;
    // The window's event loop, where there is a window.
    std::function<void()> processEvents;
    runtime::ScopedHooks hooks{
        {.doEvents =
             [this] {
                 if (onPump) onPump();
                 if (processEvents) processEvents();
             },
         .addLog =
             [this](const std::string& l) {
                 log.push_back(l);
                 if (traceIntoEffects) effects.push_back(l);
             },
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
};

// The window without widgets: what the receiver asks of it, in the rig's effects where the tests order it.
struct RecordingWindow final : mainwindow::WindowView {
    explicit RecordingWindow(std::vector<std::string>& e) : effects(e) {}
    void showWindow() override { effects.push_back("Show"); }
    void resizeToDesignHeight() override {}
    int32_t BackColor() const override { return back; }
    void setBackColor(int32_t colour) override { back = colour; }
    std::string Caption() const override { return caption; }
    void setCaption(const std::string& c) override { caption = c; }
    void ShowTitleBar(bool on) override { effects.push_back(on ? "TitleBar on" : "TitleBar off"); }
    void setTitleBarHidden(bool) override {}
    void optDisplaySize_Click(int16_t Index) override {
        effects.push_back("Layout " + std::to_string(Index));
    }
    void measureChrome() override {}
    bool Minimised() const override { return false; }
    void hideWindow() override { effects.push_back("Hide"); }
    void requestClose() override { effects.push_back("Close"); }
    void focusSink() override {}
    bool PowerOn() const override { return power == 0; }
    void setPowerChoice(int16_t Index, bool selected) override {
        if (!selected || power == Index) return;
        power = Index;
        effects.push_back("Power " + std::to_string(Index));
        if (receiver) receiver->optPwr_Click(Index);
    }
    void enablePowerButtons() override { effects.push_back("Power buttons"); }
    void showClose(bool) override {}
    void setPowerColours(int32_t, int32_t) override {}
    void setStat(int16_t index, const std::string& caption) override { stats[index] = caption; }
    void setStatColour(int16_t, int32_t) override {}
    void setStatVisible(int16_t, bool) override {}
    void setStatCaptionVisible(int16_t, bool) override {}
    bool PerfStatsBox() const override { return perfStats; }
    void setPerfStatsBox(bool on) override { perfStats = on; }
    void setLabel(mainwindow::WindowLabel label, const std::string& caption) override {
        labels[label] = caption;
    }
    void startTimer(mainwindow::WindowTimer timer, int32_t ms) override { timers[timer] = ms; }
    void setTimerInterval(mainwindow::WindowTimer timer, int32_t ms) override { timers[timer] = ms; }
    void stopTimer(mainwindow::WindowTimer timer) override { timers.erase(timer); }
    void layOutBandSelectors() override {}
    void layOutSubBandButtons() override {}
    void layOutPresetButtons() override {}
    void startSubBandTracking() override { tracking = true; }
    void stopSubBandTracking() override { tracking = false; }
    void fillStepSelector(int32_t, int32_t, double) override {}
    void copyTuningRate() override {}
    void hookWheel(std::function<bool(const ui::HookMessage&)> hook) override { wheel = std::move(hook); }
    void unhookWheel() override { wheel = {}; }
    void blackenDisplayPictures() override {}
    void overlayFrequencyLabels() override {}
    void layOutRecorderPanel() override {}
    void releaseRecorderWidgets() override {}
    void setRecordingFramesColour(int32_t) override {}
    void recolourWidgets(const mainwindow::RecolourPass&) override { effects.push_back("Recolour widgets"); }
    void unfocusFrames(int32_t) override {}
    void focusFrame(frontpanel::KnobFrame) override {}
    void bindDisplay(display::ScopePanelCore&) override {}
    void bindRecorder(recorder::RecorderPanel&) override {}

    std::vector<std::string>& effects;
    mainwindow::Receiver* receiver = nullptr; // the power button's clicks go to it
    int32_t back = 0;
    std::string caption;
    int16_t power = -1;
    bool perfStats = false, tracking = false;
    std::map<int16_t, std::string> stats;
    std::map<mainwindow::WindowLabel, std::string> labels;
    std::map<mainwindow::WindowTimer, int32_t> timers;
    std::function<bool(const ui::HookMessage&)> wheel;
};

// The display panel without widgets: its boxes and sliders hold their values, its pictures record.
struct NullScopePanel final : display::ScopePanelView {
    int16_t Value(display::ScopeBox box) const override {
        const auto it = boxes.find(box);
        return it == boxes.end() ? 0 : it->second;
    }
    void setValue(display::ScopeBox box, int16_t value) override { boxes[box] = value; }
    void selectSource(int16_t index) override { source = index; }
    void setVisible(display::ScopePart, bool) override {}
    void setEnabled(display::ScopePart, bool) override {}
    void setCaption(display::ScopePart, const std::string&) override {}
    int32_t Min(display::ScopeSlider s) const override { return slider(s).min; }
    int32_t Max(display::ScopeSlider s) const override { return slider(s).max; }
    int32_t Value(display::ScopeSlider s) const override { return slider(s).value; }
    void setMin(display::ScopeSlider s, int32_t v) override { sliders[s].min = v; }
    void setMax(display::ScopeSlider s, int32_t v) override { sliders[s].max = v; }
    void setValue(display::ScopeSlider s, int32_t v) override { sliders[s].value = v; }
    void setSteps(display::ScopeSlider, const display::SliderSteps&) override {}
    void setToolTipText(display::ScopeSlider, const std::string&) override {}
    void Refresh(display::ScopeSlider) override {}
    ui::Picture& displayPicture(int16_t index) override { return pictures[index == 0 ? 0 : 1]; }
    std::string Tag(int16_t picture) const override { return tags[picture == 0 ? 0 : 1]; }
    void setTag(int16_t picture, const std::string& text) override { tags[picture == 0 ? 0 : 1] = text; }
    void setFreqLabelCaption(int16_t, const std::string&) override {}
    double FreqLabelWidth(int16_t) const override { return 0; }
    double FreqLabelHeight(int16_t) const override { return 0; }
    void moveFreqLabel(int16_t, double, double, double, double) override {}
    void setFreqLabelVisible(int16_t, bool) override {}

    struct Slider {
        int32_t min = 0, max = 100, value = 0;
    };
    Slider slider(display::ScopeSlider s) const {
        const auto it = sliders.find(s);
        return it == sliders.end() ? Slider{} : it->second;
    }
    std::map<display::ScopeBox, int16_t> boxes;
    std::map<display::ScopeSlider, Slider> sliders;
    int16_t source = -1;
    ui::testing::RecordingPicture pictures[2] = {{512, 200}, {512, 200}};
    std::string tags[2];
};

struct NullMeter final : display::SMeterView {
    ui::Picture& picSmeterScale() override { return scale; }
    int16_t TickUBound() const override { return 14; }
    void placeTick(int16_t, const display::TickPlace&) override {}
    void setTickVisible(int16_t, bool) override {}
    void setToolTipText(int16_t, const std::string&) override {}
    ui::testing::RecordingPicture scale{244, 16};
};

struct NullRecorderPanel final : recorder::RecorderPanelView {
    void focusOffFocusSink() override {}
    void setButtonsEnabled(const recorder::EnablePattern& p) override { enabled = p; }
    void setButtonFace(int16_t, int32_t) override {}
    void focusButton(int16_t) override {}
    std::string fileNameText() const override { return fileName; }
    void setFileNameText(const std::string& text) override { fileName = text; }
    void setRecordTime(const std::string&) override {}
    void setRecordSize(const std::string&) override {}
    void setTrackHeader(const std::string&) override {}
    void clearTracks() override {}
    void addTrack(const std::string&, int32_t) override {}
    void showTrackSelection(int32_t) override {}
    void showTrackPanel(int32_t, double, double, double, double) override {}
    double trackPanelScaleWidth() const override { return 0; }
    void showTrackHeader(double, int32_t) override {}
    double trackHeaderTop() const override { return 0; }
    double trackHeaderHeight() const override { return 0; }
    void showTrackList(double, double, double) override {}
    void hideTrackPanel() override {}
    void armTimer(recorder::RecorderTimer, int32_t) override {}
    void disarmTimer(recorder::RecorderTimer) override {}
    void showRecordFileError(const std::string&) override {}
    void reportRecordFileError(const std::string&) override {}
    recorder::EnablePattern enabled{};
    std::string fileName;
};

struct NoFileDialogs final : recorder::FileDialogService {
    std::optional<std::string> ShowOpen(const recorder::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> ShowSave(const recorder::FileDialogRequest&) override { return std::nullopt; }
};

// The receiver over views without widgets.
struct ReceiverRig : ContextRig {
    WatchedReceiver& make() {
        receiver.reset();
        receiver = std::make_unique<WatchedReceiver>(context, views, effects, failAnalyser);
        window.receiver = receiver.get();
        return *receiver;
    }

    RecordingWindow window{effects};
    paneltest::RecordingView readout;
    paneltest::FakeDial dial;
    NullScopePanel scope;
    NullMeter meter;
    paneltest::FakeBandShell bandShell;
    paneltest::FakePopup presetDesc;
    paneltest::ScriptedPresetDialog presetDialog;
    NullRecorderPanel recorderPanel;
    NoFileDialogs fileDialogs;
    mainwindow::ReceiverViews views{window,     readout,      dial,          scope,   meter,      bandShell,
                                    presetDesc, presetDialog, recorderPanel, nullptr, fileDialogs};
    std::unique_ptr<WatchedReceiver> receiver;
};

} // namespace mainwindowtest
