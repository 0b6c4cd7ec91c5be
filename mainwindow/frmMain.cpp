// The main window: its controls, the composition of its objects and components, its start-up, and the
// routines of the shell (colours, highlight, layouts) the components call.
#include "mainwindow/frmMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QWindow>
#include <chrono>
#include <optional>
#include <random>
#include <unistd.h>

#include "config/ConfigDialogHost.h"
#include "config/LiveObjects.h"
#include "config/ProgramAbout.h"
#include "display/frmUpDateScopeDisplay.h"
#include "frame/NumberFormat.h"
#include "frame/clsComDlg.h"
#include "frame/modIniFiles.h"
#include "frame/modTiming.h"
#include "frontpanel/BandPlanControls.h"
#include "mainwindow/Display.h"
#include "mainwindow/FrontPanel.h"
#include "mainwindow/PowerSequence.h"
#include "mainwindow/Recorder.h"
#include "platform/process/ProcessPriority.h"
#include "platform/process/ProgramLauncher.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"
#include "platform/ui/modMemTricks.h"
#include "radio/clsVFO.h"

namespace {

using mainwindow::ControlKind;

// The load's design height of the client area, to the "Std" marker line.
constexpr auto kDesignClientHeight = static_cast<int32_t>(mainwindow::design::kClientHeight);
constexpr auto kDesignClientWidth = static_cast<int32_t>(mainwindow::design::kClientWidth);

using ui::place;
constexpr int32_t kChosenColour = 0xFFFF00, kOtherColour = 0xC0C000;
constexpr const char* kStepSelectorTrace = ":Initialise the Tuning Step Selector Drop Down List";

// Without serial ports the event control's port never opens.
class NoSerialPorts final : public comm::SerialPortOpener {
public:
    std::unique_ptr<comm::SerialPort> open(int32_t) override { return nullptr; }
};
comm::SerialPortOpener& noSerialPorts() {
    static NoSerialPorts none;
    return none;
}

// An object the load has not made: the run-time error, never a null dereference.
template <class T> T& must(const std::unique_ptr<T>& object, const char* name) {
    if (!object) runtime::raise(runtime::err::kObjectNotSet, name);
    return *object;
}

// Every statement of the start-up, the settings routines and ReColour runs on its own guard.
template <class F> void guarded(F&& f) {
    runtime::resumeNext(std::forward<F>(f));
}

ControlKind kindOf(ui::Control& c) {
    if (dynamic_cast<ui::Frame*>(&c)) return ControlKind::Frame;
    if (dynamic_cast<ui::Label*>(&c)) return ControlKind::Label;
    if (dynamic_cast<ui::OptionButton*>(&c)) return ControlKind::OptionButton;
    if (dynamic_cast<ui::CheckBox*>(&c)) return ControlKind::CheckBox;
    if (dynamic_cast<ui::TextBox*>(&c)) return ControlKind::TextBox;
    if (dynamic_cast<ui::PictureBox*>(&c)) return ControlKind::PictureBox;
    if (dynamic_cast<ui::ComboBox*>(&c)) return ControlKind::ComboBox;
    if (dynamic_cast<ui::Shape*>(&c)) return ControlKind::Shape;
    return ControlKind::Other;
}

// The shaft encoder's readout: the front panel's digits, when there is a front panel, and Label15.
class EncoderReadoutOf final : public EncoderReadout {
public:
    EncoderReadoutOf(std::unique_ptr<mainwindow::FrontPanelComponent>& panel, ui::Label& label15)
        : panel_(panel), label15_(label15) {}
    void Display7Seg(const std::string& digits) override {
        if (panel_) panel_->Display7Seg(digits);
    }
    void setLabel15Caption(const std::string& caption) override { label15_.setCaption(caption); }

private:
    std::unique_ptr<mainwindow::FrontPanelComponent>& panel_;
    ui::Label& label15_;
};

} // namespace

// The band plan's view of the window: the start-up flag, the decoder's start, the corner and the splash.
class WindowBandShell final : public frontpanel::BandPlanShell {
public:
    explicit WindowBandShell(frmMain& w) : w_(w) {}
    bool FormLoading() const override { return w_.FormLoading; }
    bool DreamStarting() const override { return w_.Context.State.DreamStarting; }
    int32_t WindowLeft() const override { return w_.Left(); }
    int32_t WindowTop() const override { return w_.Top(); }
    void ShowSplash(const std::string& bandName) override { splash_.ShowSplash(bandName); }
    void HideSplash() override { splash_.HideSplash(); }

private:
    frmMain& w_;
    frontpanel::BandSplash splash_;
};

// What the window hands its components.
class frmMain::Host {
public:
    explicit Host(frmMain& w)
        : bandShell(w), host{w.Context,
                             w,
                             &w,
                             w.picElektor200705.widget(),
                             w.picRecorder.widget(),
                             w.picScopeContainer.widget(),
                             w.picCalib.widget(),
                             &w.picCalib,
                             [&w] { return w.SoundCard.get(); },
                             [&w] { return w.WavFile.get(); },
                             w.Encoder.get(),
                             &w.frDispMode,
                             nullptr,
                             [&w] { return w.optPwr.contains(0) && w.optPwr[0].Value(); },
                             [&w] { runtime::resumeNext([&w] { w.Picture1.SetFocus(); }); },
                             [&w](const std::string& caption) { w.lblStatsVal[3].setCaption(caption); },
                             [&w](int32_t ms) { w.tmrTune.setInterval(ms); },
                             [&w] { return (w.windowState() & Qt::WindowMinimized) != 0; },
                             &bandShell,
                             nullptr,
                             [&w](int16_t Index, bool selected) { w.optPwr[Index].setValue(selected); }} {}
    WindowBandShell bandShell;
    mainwindow::ComponentHost host;
};

// The configuration dialog over the window's objects, made once while the window is built: the live
// radio over the VFO's slot, the dialog's context, and the window as the dialog's shell. The window's own
// serial event control is named MSComm1, as the shell's routine is, so the holder answers for the window.
class frmMain::ConfigHolder final : public config::MainWindowShell {
public:
    explicit ConfigHolder(frmMain& w)
        : radio({w.Context.Settings, w.Context.State, w.Context.RxModels, w.Context.SetupRX,
                 w.Context.VfoSlot, w.Context.Radio, [&w] { return &w.MSComm1; }}),
          context{w.Context.State,
                  w.Context.Settings,
                  w.Context.RxModels,
                  w.Context.RigList,
                  w.Context.SetupRX,
                  [this] { return radio.Objects(); },
                  w.Context.Filters ? &w.Context.Filters->HilbertFilter1 : nullptr,
                  w.Display ? w.Display->analyserSettings() : nullptr,
                  w.FrontPanel ? w.FrontPanel->knobValues() : nullptr,
                  w.ComDlg,
                  w.Context.Dialogs,
                  config::ownProgramVersion(),
                  &radio,
                  this},
          host(context, &w), w_(w) {
        // The analyser keeps the VFO itself; every other user asks the slot at each call.
        radio.onReplaced([&w](clsVFO& vfo) {
            if (w.Display) w.Display->VfoReplaced(vfo);
        });
    }

    void ShowTitleBar(bool on) override { w_.ShowTitleBar(on); }
    void setBackColor(int32_t colour) override { w_.setBackColor(colour); }
    void ReColour() override { w_.ReColour(); }
    void DarkenControls() override { w_.DarkenControls(); }
    void UnFocusFrames() override { w_.UnFocusFrames(); }
    std::optional<int16_t> SelectedDisplaySize() const override {
        for (int16_t i = w_.optDisplaySize.LBound(); i <= w_.optDisplaySize.UBound(); ++i)
            if (w_.optDisplaySize[i].Value()) return i;
        return std::nullopt;
    }
    void optDisplaySize_Click(int16_t Index) override { w_.optDisplaySize_Click(Index); }
    void setCaption(const std::string& caption) override { w_.setCaption(caption); }
    void StartSound() override { w_.StartSound(); }
    comm::MSComm* MSComm1() override { return &w_.MSComm1; }

    config::LiveRadio radio;
    config::ConfigContext context;
    config::ConfigDialogHost host;

private:
    frmMain& w_;
};

// The ports of the window's Qt-free halves, over its controls, components and the context.
class frmMain::CorePorts final : public mainwindow::PowerPorts,
                                 public mainwindow::ShutdownPorts,
                                 public mainwindow::DreamPorts,
                                 public mainwindow::HousekeepingPorts,
                                 public mainwindow::PanelTimerPorts {
public:
    explicit CorePorts(frmMain& w) : w_(w), priority_(nice_), random_(std::random_device{}()) {}

    clsVFO& vfo() {
        clsVFO* v = w_.Context.Vfo ? w_.Context.Vfo() : nullptr;
        if (!v) runtime::raise(runtime::err::kObjectNotSet, "Vfo");
        return *v;
    }
    Oscillator& oscillator() {
        Oscillator* o = vfo().OscType();
        if (!o) runtime::raise(runtime::err::kObjectNotSet, "Vfo.OscType");
        return *o;
    }
    mainwindow::FrontPanelComponent& front() {
        if (!w_.FrontPanel) runtime::raise(runtime::err::kObjectNotSet, "frmMain.FrontPanel");
        return *w_.FrontPanel;
    }
    mainwindow::DisplayComponent& display() {
        if (!w_.Display) runtime::raise(runtime::err::kObjectNotSet, "frmMain.Display");
        return *w_.Display;
    }
    Nerix::FilterBank& bank() {
        if (!w_.Context.Filters) runtime::raise(runtime::err::kObjectNotSet, "FilterBank");
        return *w_.Context.Filters;
    }
    modIsProcessRunning::ProcessWatch& watch() {
        if (!w_.Context.ProcessWatch) runtime::raise(runtime::err::kObjectNotSet, "modIsProcessRunning");
        return *w_.Context.ProcessWatch;
    }

    // PowerPorts
    void setTitleBarHidden(bool hidden) override { w_.Layout.TitleBarHidden = hidden; }
    void ApplyLayout() override {
        w_.optDisplaySize_Click(static_cast<int16_t>(runtime::CInt(w_.Context.State.DisplayMode)));
    }
    void ShowTitleBar(bool on) override { w_.ShowTitleBar(on); }
    void ShowClose(bool visible) override { w_.optPwr[2].setVisible(visible); }
    void SetPowerColours(int32_t on, int32_t off) override {
        w_.optPwr[0].setForeColor(on);
        w_.optPwr[1].setForeColor(off);
    }
    void SetBfoRange(int32_t min, int32_t max) override { front().SetBfoRange(min, max); }
    void MakeFilters() override { front().MakeFilters(); }
    void SetPriorityClass(int32_t c) override {
        if (priority_.SetPriorityClass(c) == 0)
            runtime::AddLog("frmMain.SetPriorityClass: class " + std::to_string(c) +
                            " refused by the system");
    }
    void SetFreeze(bool frozen) override { display().SetFreeze(frozen); }
    void KillScopeTimer() override { display().KillScopeTimer(); }
    void SetScopeTimer(int32_t ms) override { display().SetScopeTimer(ms); }
    void StartSound() override { w_.StartSound(); }
    void StopSound() override { must(w_.SoundCard, "frmMain.SoundCard").StopSound(); }
    void StopHousekeeping() override { w_.tmrPerfStats.setEnabled(false); }

    // ShutdownPorts
    void Pump() override { runtime::DoEvents(); }
    bool Drawing() override { return w_.Display && w_.Display->Drawing(); }
    void StopTimers() override {
        for (ui::Timer* t : {&w_.tmrClock, &w_.tmrPerfStats, &w_.tmrTune, &w_.tmrVFOUpdate})
            runtime::resumeNext([&] { t->setEnabled(false); });
        runtime::resumeNext([&] {
            if (w_.FrontPanel) w_.FrontPanel->StopSubBandTracking();
        });
    }
    void StopRecorderTimers() override {
        if (w_.Recorder) w_.Recorder->StopTimers();
    }
    void StopEncoderTimer() override { must(w_.Encoder, "modEncoder").StopEncoderTimer(); }
    void Hide() override { w_.hide(); }
    void UnhookWheel() override {
        if (w_.FrontPanel) w_.FrontPanel->UnhookWheel();
    }
    void ReleaseDevices() override { must(w_.SoundCard, "frmMain.SoundCard").ReleaseDevices(); }
    int32_t BandCount() override { return static_cast<int32_t>(w_.Context.MainBands.size()); }
    bool SaveBandPlan(int32_t i, mainwindow::BandSaveFailure& failure) override {
        MainBandRec& band = w_.Context.MainBands.at(static_cast<size_t>(i));
        failure.File = band.FilePath;
        return w_.Context.BandPlan.SaveBandPlan(band, &failure.Reason);
    }
    void SaveSettings() override { w_.SaveSettings(); }
    void SaveVfoSettings() override { vfo().SaveSettings(); }
    void SaveLineSettings() override {
        LineInterface* line = oscillator().IFHandler();
        if (!line) runtime::raise(runtime::err::kObjectNotSet, "Vfo.OscType.IFHandler");
        line->SaveSettings();
    }
    void SaveOscillatorSettings() override { oscillator().SaveSettings(); }
    void ReleaseRX() override {
        if (w_.Context.ReleaseRX) w_.Context.ReleaseRX();
    }
    void ClosePort(int32_t line) override {
        if (!w_.Context.Radio) return;
        const modSetupRX::RadioObjects r = w_.Context.Radio();
        LineInterface* const lines[] = {r.ParallelLine, r.SerialLine, r.NullLine,
                                        r.Drb30Line,    r.Us232cLine, r.Ft232Line};
        LineInterface* l = lines[static_cast<size_t>(line)];
        if (!l) runtime::raise(runtime::err::kObjectNotSet, "LineInterface");
        l->ClosePort();
    }
    void ReleaseRadioObjects() override {
        if (w_.Context.ReleaseRadioObjects) w_.Context.ReleaseRadioObjects();
    }
    // The receive path is the engine's listener: it goes first, so no block reaches a released object.
    void ReleaseSoundCard() override {
        w_.Path.reset();
        w_.DX8Events.reset();
        w_.SoundCard.reset();
    }
    void ReleaseWavFile() override { w_.releaseRecorder(); }
    void ShowMessage(const std::string& text) override { runtime::MsgBox(text, runtime::mb::kOkOnly); }

    // DreamPorts
    int16_t IsProcessRunning(const std::string& exe) override { return watch().IsProcessRunning(exe); }
    void setTargetProcessId(int32_t pid) override { watch().setTargetProcessId(pid); }
    int32_t CurrentCaptureDevice() override {
        return must(w_.SoundCard, "frmMain.SoundCard").CurrentCaptureDevice();
    }
    int32_t CurrentPlaybackDevice() override {
        return must(w_.SoundCard, "frmMain.SoundCard").CurrentPlaybackDevice();
    }
    int32_t TunedFrequency() override { return vfo().TunedFrequency(); }
    void ProfileSaveItem(const std::string& section, const std::string& key,
                         const std::string& value) override {
        modIniFiles::ProfileSaveItem(section, key, value, w_.Context.ProgramFolder + "/Dream.ini");
    }
    int32_t Launch(const std::string& program, const std::vector<std::string>& args, int32_t show) override {
        return launcher_.Start({program, args, w_.Context.ProgramFolder, show});
    }
    void Sleep(int32_t ms) override {
        if (!timingReady_) {
            timing_.InitTiming();
            timingReady_ = true;
        }
        timing_.DelayMicroseconds(static_cast<float>(ms) * 1000.0f);
    }
    void Trace(const std::string& line) override { runtime::AddLog(line); }
    void MsgBox(const std::string& text) override { runtime::MsgBox(text, runtime::mb::kOkOnly); }

    // HousekeepingPorts
    bool Minimised() override { return w_.isMinimized(); }
    void UpdateSMeter(double level) override {
        if (w_.Display) w_.Display->UpdateSMeter(level);
    }
    void SetSMeterToolTip(const std::string& tip) override { display().SetSMeterToolTip(tip); }
    const mainwindow::BlockStatistics* Statistics() override {
        if (!w_.Path) return nullptr;
        const mainwindow::BlockDrivers& d = w_.Path->Drivers();
        stats_ = {d.InputPeakRing, d.OutputPeakRing, d.BlockTimeRing};
        return &stats_;
    }
    void SetStat(int16_t i, const std::string& caption) override { w_.lblStatsVal[i].setCaption(caption); }
    void SetStatColour(int16_t i, int32_t colour) override { w_.lblStatsVal[i].setForeColor(colour); }
    bool RebuildFilters() override { return w_.FrontPanel ? w_.FrontPanel->MakeFilters() : true; }
    clsFFTFilter& AfFilter() override { return bank().AfFilter; }
    clsFFTFilter& NotchFilter() override { return bank().NotchFilter; }
    void MakeFilter(clsFFTFilter& f) override { f.MakeFilter(); }
    void ShowNotchPeak(const std::string& caption, const std::string& tip) override {
        front().ShowNotchPeak(caption, tip);
    }
    int32_t OscOut() override { return vfo().OscOut(); }
    mainwindow::ModelFlags Model() override {
        const auto& m = w_.Context.SetupRX.CurrentModel;
        return {m.VFOControl, m.LowSideLOOption, m.IQMode};
    }
    void ShowModelControls(bool iq, bool tuneLo, bool sam) override {
        front().ShowModelControls(iq, tuneLo, sam);
    }

    // PanelTimerPorts
    void IncFreq(double step) override { vfo().Inc_Freq(step); }
    void DecFreq(double step) override { vfo().Dec_Freq(step); }
    bool AutoUpdate() override { return vfo().AutoUpdate(); }
    bool OscillatorBusy() override { return oscillator().CMDOutActive(); }
    void RefreshOscillator() override { oscillator().Refresh(); }
    void StepDial(int32_t delta) override { front().StepDial(delta); }
    void Display7Seg(const std::string& digits) override { front().Display7Seg(digits); }
    void SetScopeXCentre() override { front().SetScopeXCentre(); }
    void CopyTuningRate() override { front().CopyTuningRate(); }
    int16_t SelectedRFInput() override { return w_.FrontPanel ? w_.FrontPanel->SelectedRFInput() : 0; }
    void SelectRFInput(int16_t i) override { front().SelectRFInput(i); }
    void SetClock(const std::string& text) override { w_.lblClock.setCaption(text); }
    void EnableRit(bool enabled) override { front().EnableRit(enabled); }
    void SetVfoUpdateInterval(int32_t ms) override { w_.tmrVFOUpdate.setInterval(ms); }
    double Random() override { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }
    std::chrono::system_clock::time_point UtcNow() override { return std::chrono::system_clock::now(); }

private:
    frmMain& w_;
    process::SystemNice nice_;
    process::ProcessPriority priority_;
    process::SpawnLauncher launcher_;
    modTiming::Timing timing_;
    bool timingReady_ = false;
    std::mt19937 random_;
    mainwindow::BlockStatistics stats_;
};

mainwindow::ComponentFactories frmMain::programComponents() {
    mainwindow::ComponentFactories f;
    f.Display = [](mainwindow::ComponentHost& h) { return mainwindow::makeDisplay(h); };
    f.FrontPanel = [](mainwindow::ComponentHost& h) { return mainwindow::makeFrontPanel(h); };
    f.Recorder = [](mainwindow::ComponentHost& h) { return mainwindow::makeRecorder(h); };
    return f;
}

frmMain::frmMain(mainwindow::MainWindowContext& context, const mainwindow::ComponentFactories& components)
    : Context(context), Settings(context.Settings, context.State, context.ProgramFolder),
      Layout(context.State), ComDlg(context.Dialogs, context.Settings),
      MSComm1(context.SerialPorts ? *context.SerialPorts : noSerialPorts(), CommEvents),
      frPower(this, "Power"), frDispMode(this, "Display"), picElektor200705(this), picRecorder(this),
      picScopeContainer(this), picCalib(this), cmdConfig(picCalib.widget(), "Config"),
      cmdCalibrateSMeter(picCalib.widget(), "ZeroS"), chkPerfStatsOn(picCalib.widget(), "On"),
      lblCLKINFreq(this), lblIFFreq(this), lblVer(picCalib.widget()), lblClock(this, "23:45:15"),
      Label15(this), sldPwm(this), Picture1(this) {
    setObjectName("frmMain");
    setClientSize(kDesignClientWidth, kDesignClientHeight);
    setKeyPreview(true);

    // The power group and the layout group.
    namespace design = mainwindow::design;
    place(frPower, design::frPower);
    const char* pwrCaptions[] = {"On", "Off", "&Close"};
    const char* pwrTips[] = {"Start Receiving", "Stop Receiving", "Close the Receiver"};
    optPwr.Click = [this](int16_t i) { optPwr_Click(i); };
    frPower.MouseDown = [this](int16_t b, int16_t sh, float x, float y) { frPower_MouseDown(b, sh, x, y); };
    frPower.MouseMove = [this](int16_t b, int16_t sh, float x, float y) { frPower_MouseMove(b, sh, x, y); };
    frPower.MouseUp = [this](int16_t b, int16_t sh, float x, float y) { frPower_MouseUp(b, sh, x, y); };
    for (int16_t i = 0; i < 3; ++i) {
        ui::OptionButton& b = optPwr.Load(i, frPower.container(), pwrCaptions[i]);
        place(b, design::optPwr(i));
        b.setFontSize(8);
        b.setToolTipText(pwrTips[i]);
        b.setEnabled(false);
    }
    place(frDispMode, design::frDispMode);
    frDispMode.setToolTipText("Set Display Size");
    const char* sizeCaptions[] = {"Comp", "Std", "Ext", "Full"};
    const char* sizeTips[] = {"Just VFO & S Meter", "All the controls",
                              "Spectrum Display & Configuration Buttons", "Everything + Config Button"};
    optDisplaySize.Click = [this](int16_t i) { optDisplaySize_Click(i); };
    for (int16_t i = 0; i < 4; ++i) {
        ui::OptionButton& b = optDisplaySize.Load(i, frDispMode.container(), sizeCaptions[i]);
        place(b, design::optDisplaySize(i));
        b.setFontSize(8);
        b.setToolTipText(sizeTips[i]);
    }

    // The stacked panels at their design places.
    place(picElektor200705, design::picElektor200705);
    place(picRecorder, design::picRecorder);
    place(picScopeContainer, design::picScopeContainer);
    place(picCalib, design::picCalib);

    // picCalib: the configuration and S-meter buttons, the statistics, the version.
    place(cmdConfig, design::cmdConfig);
    cmdConfig.Click = [this] { cmdConfig_Click(); };
    place(cmdCalibrateSMeter, design::cmdCalibrateSMeter);
    cmdCalibrateSMeter.Click = [this] { cmdCalibrateSMeter_Click(); };
    // Buttons keep a light face whatever the scheme, so their captions read on a dark window.
    for (ui::CommandButton* b : {&cmdConfig, &cmdCalibrateSMeter}) {
        b->setBackColor(0xE0E0E0);
        b->setForeColor(0x000000);
    }
    chkPerfStatsOn.setToolTipText("Click  Turn on Radio Stats");
    chkPerfStatsOn.Click = [this] { Context.State.PerfStatsOn = chkPerfStatsOn.Value() == 1; };
    const char* statCaptions[] = {"-", "In1", "In2", "AGC", "LO", "Load", "Time", "", "", "Thread1"};
    const int32_t statWidths[] = {120, 780, 780, 900, 1200, 480, 720, 0, 0, 780};
    int32_t x = 6000;
    for (int16_t i = 0; i < 10; ++i) {
        ui::Label& c = lblStats.Load(i, picCalib.widget(), statCaptions[i]);
        ui::Label& v = lblStatsVal.Load(i, picCalib.widget(), i == 6 ? "-" : "");
        // Captions 1 to 6 name values 0 to 5, "Thread1" value 9; the "-" pair is hidden at start-up.
        c.Move(x, 15, statWidths[i], 195);
        v.Move(x, 210, statWidths[i], 195);
        for (ui::Label* l : {&c, &v})
            l->setFontSize(7);
        x += statWidths[i];
        if (statWidths[i] == 0) {
            c.setVisible(false);
            v.setVisible(false);
        }
    }
    chkPerfStatsOn.Move(5340, 90, 630, 240);
    lblVer.setFontSize(7);
    lblVer.Move(11460, 120, 840, 210);
    lblVer.setAlignment(1);

    // The form's own labels: the clock, the oscillator clock and IF, the encoder count; they share the
    // row under the S-meter with the side switches.
    lblClock.Move(7920, 900, 900, 240);
    lblCLKINFreq.Move(10140, 825, 720, 180);
    lblIFFreq.Move(10860, 825, 720, 180);
    Label15.Move(10140, 1005, 720, 180);
    for (ui::Label* l : {&lblCLKINFreq, &lblIFFreq, &Label15})
        l->setFontSize(7);
    sldPwm.Move(10860, 990, 720, 210);
    sldPwm.Change = [this] { sldPwm.setToolTipText(std::to_string(sldPwm.Value())); };
    Picture1.Move(0, 1185, 15, 15);

    ports_ = std::make_unique<CorePorts>(*this);
    Housekeeping = std::make_unique<mainwindow::Housekeeping>(Context.State, *ports_);
    PanelTimers = std::make_unique<mainwindow::PanelTimers>(Context.State, *ports_);
    Dream = std::make_unique<mainwindow::DreamStart>(Context.State, *ports_);
    tmrPerfStats.Timer_ = [this] {
        tmrPerfStats.setEnabled(false);
        tmrPerfStats_Timer();
    };
    tmrTune.Timer_ = [this] { tmrTune_Timer(); };
    tmrVFOUpdate.Timer_ = [this] { tmrVFOUpdate_Timer(); };
    tmrClock.Timer_ = [this] { tmrClock_Timer(); };
    for (ui::Timer* t : {&tmrTune, &tmrVFOUpdate, &tmrClock, &tmrPerfStats})
        t->setEnabled(false);

    // The serial control's events reach the UI thread through the queue.
    if (CommEvents.notifyFd() >= 0) {
        commNotifier_ = std::make_unique<QSocketNotifier>(CommEvents.notifyFd(), QSocketNotifier::Read);
        QObject::connect(commNotifier_.get(), &QSocketNotifier::activated, [this] { CommEvents.drain(); });
    }

    // The components, the display first: the front panel's knobs reach the analyser through it.
    encoderReadout_ = std::make_unique<EncoderReadoutOf>(FrontPanel, Label15);
    guarded([&] {
        // The configuration dialog may replace the VFO: the encoder asks for the one in use at each tick.
        if (Context.Vfo && Context.Vfo())
            Encoder = std::make_unique<modEncoder::Encoder>(Context.Vfo, Context.Timers, *encoderReadout_,
                                                            Context.State.EnableShaftEncoder);
    });
    host_ = std::make_unique<Host>(*this);
    host_->host.Encoder = Encoder.get();
    guarded([&] {
        if (components.Display) Display = components.Display(host_->host);
    });
    host_->host.Display = Display.get();
    guarded([&] {
        if (components.FrontPanel) FrontPanel = components.FrontPanel(host_->host);
    });
    host_->host.FrontPanel = FrontPanel.get();
    guarded([&] {
        if (components.Recorder) Recorder = components.Recorder(host_->host);
    });
    if (Display && FrontPanel) guarded([&] { Display->ConnectFrontPanel(*FrontPanel); });
    if (FrontPanel) {
        if (mainwindow::KnobLabels* knobs = FrontPanel->knobLabels())
            highlight_ = std::make_unique<mainwindow::KnobHighlight>(
                Context.State, *knobs, [this] { runtime::resumeNext([this] { Picture1.SetFocus(); }); });
        MSComm1.setHandler(FrontPanel->commHandler());
    }
    config_ = std::make_unique<ConfigHolder>(*this);
}

frmMain::~frmMain() {
    // The components and the path go before the engine, the recorder and the encoder they reach; the
    // recorder panel's core outlives the recorder, which may report to it as it closes.
    config_.reset();
    if (Recorder) guarded([&] { Recorder->StopTimers(); });
    releaseRecorder();
    FrontPanel.reset();
    highlight_.reset();
    Display.reset();
    DX8Events.reset();
    SoundCard.reset();
    Encoder.reset();
}

void frmMain::trace(const char* step) const {
    runtime::AddLog(std::string("frmMain:frmMain:Form_Load") + step);
}

void frmMain::forEachControl(const mainwindow::ControlVisitor& visit) {
    visit(frPower);
    optPwr.forEach(visit);
    visit(frDispMode);
    optDisplaySize.forEach(visit);
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &picElektor200705, &picRecorder, &picScopeContainer, &picCalib, &cmdConfig, &cmdCalibrateSMeter,
             &chkPerfStatsOn, &lblCLKINFreq, &lblIFFreq, &lblVer, &lblClock, &Label15, &sldPwm, &Picture1})
        visit(*c);
    lblStats.forEach(visit);
    lblStatsVal.forEach(visit);
    if (Display) Display->forEachControl(visit);
    if (FrontPanel) FrontPanel->forEachControl(visit);
    if (Recorder) Recorder->forEachControl(visit);
}

int32_t frmMain::OuterHeight() const {
    const auto& c = Layout.Chrome;
    return ScaleHeight() + (Layout.TitleBarHidden ? 2 * c.FormBorderWidth : c.FormChromeHeight);
}

int32_t frmMain::OuterWidth() const {
    return ScaleWidth() + 2 * Layout.Chrome.FormBorderWidth;
}

// ---- Start-up ----

void frmMain::Form_Load() {
    trace(":Start");
    guarded([&] { setCaption(runtime::kProductName); });
    if (formLoadBusy_) return;
    formLoadBusy_ = true;
    FormLoading = true;
    loadSteps();
    formLoadBusy_ = false;
    trace(":End");
    FormLoading = false;
    // A close asked for while the load ran is carried out now that it has ended.
    if (closePending_) {
        closePending_ = false;
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    }
}

void frmMain::loadSteps() {
    ReceiverState& state = Context.State;
    const auto vfo = [this]() -> clsVFO& {
        clsVFO* v = Context.Vfo ? Context.Vfo() : nullptr;
        if (!v) runtime::raise(runtime::err::kObjectNotSet, "Vfo");
        return *v;
    };
    const auto oscillator = [&]() -> Oscillator& {
        Oscillator* o = vfo().OscType();
        if (!o) runtime::raise(runtime::err::kObjectNotSet, "Vfo.OscType");
        return *o;
    };
    const mainwindow::StepTrace stepTrace = [this](const char* text) { trace(text); };
    const auto wav = [this]() -> recorder::clsWavFile& { return must(WavFile, "frmMain.WavFile"); };
    mainwindow::FrontPanelComponent* front = FrontPanel.get();
    mainwindow::DisplayComponent* display = Display.get();
    mainwindow::RecorderComponent* recorderPanel = Recorder.get();

    trace(":Resizing");
    guarded([&] { setClientSize(ScaleWidth(), kDesignClientHeight); });
    guarded([&] { lblStatsVal[6].setVisible(false); });
    guarded([&] { lblStats[0].setVisible(false); });
    if (front) guarded([&] { front->BindPlaceholderLabels(); });

    trace(":Restoring SDR Colour Settings from Registry");
    guarded([&] { Settings.RestoreColourScheme(); });

    trace(":Creating SpectrumAnalyser Object");
    if (display) {
        guarded([&] { display->CreateAnalyser(); });
        guarded([&] { display->ShowAnalyserActive(); });
    }

    trace(":Making frmMain Visible");
    guarded([&] { show(); });
    if (display) guarded([&] { display->BlackenPictures(); });
    guarded([&] { setBackColor(state.SDRColourSchemes.Background); });

    trace(":Setting Colour Scheme");
    guarded([&] { ReColour(); });
    guarded([&] { runtime::DoEvents(); });

    trace(":Creating Wavfile Object");
    guarded([&] {
        WavFile =
            std::make_unique<recorder::clsWavFile>(Context.Settings, Context.Files, Context.ProgramFolder);
    });
    guarded([&] { wav().setName("WavFile"); });
    guarded([&] { wav().setSamplingRate(48000); });
    guarded([&] { state.SaveRecordingsPath = Context.ProgramFolder; });
    guarded([&] { wav().LastDirectory = state.SaveRecordingsPath; });
    guarded([&] { wav().TempFileName = wav().LastDirectory + "/~NerixTMP.WAV"; });
    if (recorderPanel) guarded([&] { recorderPanel->AttachRecorder(wav()); });

    guarded([&] {
        Layout.Chrome = Context.Chrome
                            ? *Context.Chrome
                            : mainwindow::measureChrome(Width(), Height(), ScaleWidth(), ScaleHeight());
    });
    guarded([&] {
        const config::ProgramVersion v = config::ownProgramVersion();
        lblVer.setCaption(std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
                          std::to_string(v.Revision));
    });
    guarded([&] { optDisplaySize_Click(mainwindow::layout::kFull); });

    trace(":Positioning Presets");
    if (front) guarded([&] { front->PositionSubBandSelectors(); });
    guarded([&] { lblStatsVal[9].setCaption(std::to_string(static_cast<long long>(gettid()))); });

    if (front)
        front->FillKnobTable(stepTrace);
    else
        mainwindow::FrontPanelComponent::traceKnobTable(stepTrace);
    trace(":Initialising cboBandSelect");
    if (front) guarded([&] { front->FillBandSelector(); });
    trace(":Initialising optSubBand");
    if (front) guarded([&] { front->LayOutSubBandButtons(); });
    trace(":Initialising optPreset");
    if (front) guarded([&] { front->LayOutPresetButtons(); });

    trace(":New NerixDX8");
    guarded([&] {
        if (!Context.Sound) runtime::raise(runtime::err::kObjectNotSet, "SoundSystem");
        SoundCard = std::make_unique<NerixDX8>(*Context.Sound, Context.Nerix);
    });
    trace(":Load frmDX8Events");
    guarded([&] { DX8Events = std::make_unique<frmDX8Events>(must(SoundCard, "frmMain.SoundCard")); });
    guarded([&] { must(DX8Events, "frmDX8Events").Load(); });
    trace(":New clsFFTReal");
    guarded([&] { makeReceivePath(); });
    guarded([&] { connectRecorder(); });
    trace(":Initialising FFTReal");
    guarded([&] { must(Path, "FFTReal").FftReal4096().Points = 4096; });
    guarded([&] {
        clsFFTReal& fft = must(Path, "FFTReal").FftReal4096();
        fft.FFTInit(fft.Points);
    });

    trace(" : Initialising Interface Objects");
    guarded([&] {
        if (!Context.InitialiseRX) runtime::raise(runtime::err::kObjectNotSet, "frmMain.InitialiseRX");
        Context.InitialiseRX(&MSComm1);
    });
    guarded([&] { state.HiSideLoActive = vfo().HiSideLo(); });
    guarded([&] { lblCLKINFreq.setCaption(NumberFormat::Format(oscillator().ClkIn(), "#0 000 000")); });
    guarded(
        [&] { lblIFFreq.setCaption(NumberFormat::Format(vfo().IFFrequency(), "#0 000 000;(#0.000 000)")); });

    if (front)
        front->InitialiseAgcSliders(stepTrace);
    else
        mainwindow::FrontPanelComponent::traceAgcSliders(stepTrace);

    trace(":Initialising SpectrumAnalyser");
    if (display) guarded([&] { display->SetUpAnalyser(vfo().TunedFrequency(), state.NotchActive); });
    if (display) guarded([&] { display->OverlayFrequencyLabels(); });
    if (front) guarded([&] { front->SelectFastAgc(); });
    if (front)
        front->FillDefaultTables(stepTrace);
    else
        mainwindow::FrontPanelComponent::traceDefaultTables(stepTrace);

    trace(":Restoring SDR Settings");
    guarded([&] { RestoreSettings(); });
    if (display) guarded([&] { display->ShowRestoredSwitches(state.ScopeSource); });
    guarded([&] { chkPerfStatsOn.setValue(state.PerfStatsOn ? 1 : 0); });
    if (front) guarded([&] { front->ShowChannelSwap(); });

    trace(":Initialising SoundCard Object");
    guarded([&] { SetSoundFormat(); });
    if (front) guarded([&] { front->ShowMuteLoSideAndNoiseReduction(vfo().HiSideLo()); });

    trace(":Set OutputLevel Attenuator to PublicVars.OutputAttenuation");
    if (front) guarded([&] { front->ApplyOutputLevel(); });
    if (front) guarded([&] { front->ShowNotchAndIfFilter(); });
    if (front) guarded([&] { front->CaptionFilterButtons(); });

    trace(":Select Band in use last time");
    if (front)
        guarded([&] {
            const int32_t count = front->BandCount();
            front->SelectBand(state.CurrentMainBandIndex < count ? state.CurrentMainBandIndex : 0);
        });
    trace(":Set the last tuned frequency for Spectrum Analyser");
    if (display) guarded([&] { display->SetFOffset(vfo().TunedFrequency()); });

    trace(":Call modWheelMouse.init");
    if (front) guarded([&] { front->HookWheel(); });
    if (front) guarded([&] { front->PrimePresetDescription(); });

    trace(":Set up default values in the AGC delayline");
    guarded([&] {
        const int32_t n = state.AgcHistoryLength;
        if (n < 0 || static_cast<size_t>(n) > state.AgcPeakHistory.size())
            runtime::raise(runtime::err::kSubscriptOutOfRange, "AgcDelayLine");
        Context.Nerix.Dll().SetMemory_S(state.AgcPeakHistory.data(), n, 16383.0f);
    });
    if (front)
        front->ApplyAudioPassBand(stepTrace);
    else
        mainwindow::FrontPanelComponent::traceAudioPassBand(stepTrace);

    trace(":Initialise WavFile Object");
    if (recorderPanel) guarded([&] { recorderPanel->ClearFileName(); });
    guarded([&] { wav().init(); });
    if (front) guarded([&] { front->ShowRecordingFormat(wav().BitsPerSample(), wav().Decimator()); });
    if (recorderPanel) guarded([&] { recorderPanel->LayOutPanel(); });

    trace(":Call tmrPerfStats_Timer");
    guarded([&] { tmrPerfStats_Timer(); });
    trace(":Enable Power Butons");
    for (int16_t i = optPwr.LBound(); i <= optPwr.UBound(); ++i)
        guarded([&] { optPwr[i].setEnabled(true); });

    const struct {
        const char* text;
        ui::Timer& timer;
        int32_t ms;
    } timers[] = {{":Enable TmrTune", tmrTune, 250},
                  {":Enable TmrVFOUpdate", tmrVFOUpdate, 1000},
                  {":Enable TmrClock", tmrClock, 500}};
    for (const auto& t : timers) {
        trace(t.text);
        guarded([&] { t.timer.setInterval(t.ms); });
        guarded([&] { t.timer.setEnabled(true); });
    }
    trace(":Enable TmrSubBands");
    if (front) guarded([&] { front->StartSubBandTracking(); });

    trace(kStepSelectorTrace);
    if (front)
        guarded([&] {
            front->InitialiseTuningStepSelector(BackColor(), state.SDRColourSchemes.ScrollLabelFocus,
                                                vfo().TuneStep());
        });
    if (front) guarded([&] { front->ShowChannelSwap(); });
    if (front) guarded([&] { front->ResetUpperSideBox(); });
    if (front)
        guarded([&] {
            if (state.VFOControl) return;
            clsVFO& v = vfo();
            front->CheckUpperSide(oscillator().BaseFrequency(), v.OscMultiplier(), v.PLLMultiplier(),
                                  v.IFFrequency());
        });

    trace(":Call DarkenControls");
    guarded([&] { DarkenControls(); });
    if (display) guarded([&] { display->DrawSMeterScale(); });
    guarded([&] {
        if (state.AutoStartSDR) optPwr[0].setValue(true);
    });
    guarded([&] { ShowTitleBar(!state.FormCaptionOffOnPwrOn); });
    guarded([&] { setCaption(modelCaption()); });
    guarded([&] {
        modEncoder::Encoder& encoder = must(Encoder, "modEncoder");
        encoder.setEncoderHwnd(this);
        encoder.setEncoderElapse(10);
        encoder.setEncoderTimerId(4);
        encoder.StartEncoderTimer();
    });
    guarded([&] { optDisplaySize_Click(static_cast<int16_t>(runtime::CInt(state.DisplayMode))); });
}

void frmMain::makeReceivePath() {
    if (!SoundCard) runtime::raise(runtime::err::kObjectNotSet, "frmMain.SoundCard");
    if (!WavFile) runtime::raise(runtime::err::kObjectNotSet, "frmMain.WavFile");
    if (!Context.Filters) runtime::raise(runtime::err::kObjectNotSet, "FilterBank");
    if (!Context.BlockProfiler) runtime::raise(runtime::err::kObjectNotSet, "Profiler");
    Path = std::make_unique<mainwindow::ReceivePath>(
        Context.State, Context.Nerix, *Context.Filters, Context.Nco, *Context.BlockProfiler,
        mainwindow::ReceivePathNeighbours{*SoundCard, *WavFile, Context.Vfo,
                                          Display ? Display->spectrumSink() : nullptr, this});
}

void frmMain::connectRecorder() {
    recorder::WavFilePorts ports;
    ports.listener = Recorder ? Recorder->listener() : nullptr;
    ports.vfo = Path ? Path->Ports().Tuning : nullptr;
    ports.dialogs = &recorderDialogs_;
    ports.rateChoice = FrontPanel ? FrontPanel->rateChoice() : nullptr;
    must(WavFile, "frmMain.WavFile").setPorts(ports);
}

// The recorder panel's widgets go, then the path that feeds the recorder, then the recorder, whose close
// may still report to the panel's core, then the core.
void frmMain::releaseRecorder() {
    if (Recorder) guarded([&] { Recorder->ReleaseControls(); });
    guarded([&] { Path.reset(); });
    guarded([&] { WavFile.reset(); });
    guarded([&] { Recorder.reset(); });
}

std::string frmMain::modelCaption() const {
    const auto& rows = Context.RxModels.RxModels;
    const int32_t no = Context.State.SDRModelNo;
    if (no < 0 || static_cast<size_t>(no) >= rows.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, "RxModelEntry");
    const std::string& name = rows[static_cast<size_t>(no)].Name;
    std::string caption = std::string(runtime::kProductName) + " - " + name;
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (upper == "HAMLIB") {
        const Oscillator* hamlib = Context.Radio ? Context.Radio().HamlibOsc : nullptr;
        if (!hamlib) runtime::raise(runtime::err::kObjectNotSet, "HamlibOsc");
        caption += " (" + Context.RigList.RigDescFromNo(hamlib->RigNo()) + ")";
    }
    return caption;
}

mainwindow::SettingsObjects frmMain::settingsObjects() {
    mainwindow::SettingsObjects o;
    o.SoundCard = SoundCard.get();
    o.HilbertFilter1 = Context.Filters ? &Context.Filters->HilbertFilter1 : nullptr;
    if (FrontPanel) o.NbKnobValue = [this] { return FrontPanel->NbKnobValue(); };
    return o;
}

void frmMain::RestoreSettings() {
    Settings.RestoreSettings(settingsObjects());
}

void frmMain::SaveSettings() {
    Settings.SaveSettings(settingsObjects());
}

void frmMain::SetSoundFormat() {
    NerixDX8& s = must(SoundCard, "frmMain.SoundCard");
    guarded([&] { s.setFSampling(48000); });
    guarded([&] { s.setNoChannelsIn(2); });
    guarded([&] { s.setNoChannelsOut(1); });
    guarded([&] { s.setNoBlocksInBuffer(2); });
    guarded([&] { s.setSamplesPerEvent(2048); });
    guarded([&] { s.setBitsPerSample(16); });
    guarded([&] { s.setInp2OutpBufferRatio(2); });
}

void frmMain::ShowTitleBar(bool on) {
    titleBarShown_ = on;
    modMemTricks::ShowTitleBar(*this, on);
}

// ---- Close and unload ----

void frmMain::closeEvent(QCloseEvent* event) {
    // The shutdown would release what the load still uses: a close asked for meanwhile waits for its end.
    if (formLoadBusy_) {
        closePending_ = true;
        event->ignore();
        return;
    }
    ui::Form::closeEvent(event);
}

void frmMain::Form_Unload(int16_t& Cancel) {
    if (formLoadBusy_) {
        closePending_ = true;
        Cancel = 1;
        return;
    }
    // The shutdown pumps the message loop: an unload asked for meanwhile is already being carried out.
    if (unloaded_) return;
    unloaded_ = true;
    mainwindow::runShutdown(*ports_);
}

// ---- Power and configuration ----

void frmMain::optPwr_Click(int16_t Index) {
    runtime::AddLog("optPwr_click : Start Arg=" + std::to_string(Index));
    if (Index == 0)
        runtime::resumeNext([&] { mainwindow::powerOn(*ports_, Context.State); });
    else if (Index == 1)
        runtime::resumeNext([&] { mainwindow::powerOff(*ports_, Context.State); });
    else if (Index == 2)
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
    runtime::AddLog("optPwr_click : End");
}

void frmMain::StartSound() {
    if (!SoundCard) runtime::raise(runtime::err::kObjectNotSet, "frmMain.SoundCard");
    int32_t status = SoundCard->Prepared() ? 0 : SoundCard->PrepareDevices();
    if (status == 0) status = SoundCard->StartSound();
    if (status != 0) {
        optPwr[1].setValue(true);
        runtime::raise(status, "frmMain.StartSound");
    }
}

void frmMain::cmdConfig_Click() {
    config_->host.cmdConfig_Click(SoundCard.get());
}

void frmMain::cmdCalibrateSMeter_Click() {
    Housekeeping->CalibrateSMeterRequest = true;
}

void frmMain::RunDREAM() {
    if (unloaded_) return;
    Dream->RunDREAM();
}

void frmMain::tmrPerfStats_Timer() {
    if (unloaded_) return;
    Housekeeping->tmrPerfStats_Timer();
}

void frmMain::tmrTune_Timer() {
    if (unloaded_) return;
    PanelTimers->tmrTune_Timer(Context.SetupRX.ModelSection);
}

void frmMain::tmrVFOUpdate_Timer() {
    if (unloaded_) return;
    PanelTimers->tmrVFOUpdate_Timer();
}

void frmMain::tmrClock_Timer() {
    if (unloaded_) return;
    PanelTimers->tmrClock_Timer();
}

// ---- Dragging by the power frame ----

void frmMain::frPower_MouseDown(int16_t, int16_t, float X, float Y) {
    // Where a window may not place itself (Wayland), the window system moves it.
    if (QGuiApplication::platformName() == "wayland" && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    WindowDragging = true;
    DragGrabX = runtime::CLng(X);
    DragGrabY = runtime::CLng(Y);
}

void frmMain::frPower_MouseMove(int16_t, int16_t, float X, float Y) {
    guarded([&] { FocusFrame(frPower); });
    if (!WindowDragging) return;
    guarded([&] {
        Move(runtime::CLng(Left() - DragGrabX + double(X)), runtime::CLng(Top() - DragGrabY + double(Y)));
    });
    guarded([] { runtime::DoEvents(); });
}

void frmMain::frPower_MouseUp(int16_t, int16_t, float, float) {
    WindowDragging = false;
}

// ---- Layouts ----

void frmMain::optDisplaySize_Click(int16_t Index) {
    Layout.optDisplaySize_Click(Index, Context.SetupRX.ModelSection, *this);
}

void frmMain::Form_Resize() {
    Layout.Form_Resize(*this);
}

void frmMain::Form_MouseMove(int16_t, int16_t, float, float) {
    if (Display) Display->Form_MouseMove();
}

void frmMain::markLayoutButton(int16_t Index) {
    optDisplaySize.forEach([](ui::OptionButton& b) { b.setForeColor(kOtherColour); });
    optDisplaySize[Index].setForeColor(kChosenColour);
    optDisplaySize[Index].setValue(true);
}

void frmMain::placePanels(const mainwindow::LayoutPlan& p) {
    picElektor200705.setVisible(p.ElektorPanel);
    picElektor200705.setEnabled(p.ElektorPanel);
    place(picRecorder, p.picRecorder);
    place(picScopeContainer, p.picScopeContainer);
    place(picCalib, p.picCalib);
}

void frmMain::switchOffAnalyser() {
    if (Display) Display->SwitchOffAnalyser();
}

void frmMain::followStatisticsAndAnalyserBoxes() {
    Context.State.PerfStatsOn = chkPerfStatsOn.Value() == 1;
    if (Display) Display->FollowAnalyserBox();
}

void frmMain::setWindowHeight(int32_t twips) {
    const auto& c = Layout.Chrome;
    setClientSize(ScaleWidth(), twips - (Layout.TitleBarHidden ? 2 * c.FormBorderWidth : c.FormChromeHeight));
}

void frmMain::setWindowWidth(int32_t twips) {
    setClientSize(twips - 2 * Layout.Chrome.FormBorderWidth, ScaleHeight());
}

bool frmMain::windowStateNormal() const {
    return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

// ---- Pacing ----

void frmMain::RequestScopeRedraw() {
    if (Display) Display->RequestScopeRedraw();
}

void frmMain::ArmHousekeeping() {
    tmrPerfStats.setInterval(10);
    tmrPerfStats.setEnabled(true);
}

// ---- Colours and highlight ----

void frmMain::ReColour() {
    const SDRColourScheme& scheme = Context.State.SDRColourSchemes;
    const int32_t back = BackColor();
    forEachControl([&](ui::Control& c) {
        const mainwindow::ControlColours colours = mainwindow::recolour(kindOf(c), back, scheme);
        if (colours.BackColor)
            guarded([&] {
                // A picture's own surface takes the colour and is cleared to it, as a new back colour clears
                // a picture.
                if (auto* picture = dynamic_cast<ui::PictureBox*>(&c)) {
                    picture->setBackColor(*colours.BackColor);
                    picture->surface().Cls();
                } else {
                    c.setBackColor(*colours.BackColor);
                }
            });
        if (colours.ForeColor) guarded([&] { c.setForeColor(*colours.ForeColor); });
    });
    const mainwindow::DerivedColours d = mainwindow::derivedColours(scheme);
    const mainwindow::RecolourPass pass{scheme, d, back};
    if (highlight_) guarded([&] { highlight_->RecolourKnobs(); });
    if (FrontPanel) guarded([&] { FrontPanel->Recolour(pass); });
    guarded([&] { lblClock.setForeColor(d.Clock); });
    guarded([&] { optPwr[0].setForeColor(d.PowerOn); });
    guarded([&] { optPwr[1].setForeColor(d.PowerOff); });
    guarded([&] { optPwr[2].setForeColor(d.PowerClose); });
    if (Display) guarded([&] { Display->Recolour(pass); });
    if (Recorder) guarded([&] { Recorder->Recolour(pass); });
    if (Display) guarded([&] { Display->DrawSMeterScale(); });
}

void frmMain::DarkenControls() {
    if (FrontPanel) FrontPanel->Darken();
    if (highlight_) highlight_->DarkenKnobLabels();
    if (Display) Display->Darken();
    Context.State.ActiveKnob = 0;
}

void frmMain::UnFocusFrames() {
    const int32_t normal = Context.State.SDRColourSchemes.FrameNormal;
    forEachControl([&](ui::Control& c) {
        if (kindOf(c) == ControlKind::Frame) c.setForeColor(normal);
    });
    if (FrontPanel) FrontPanel->UnFocus(normal);
}

void frmMain::FocusFrame(ui::Frame& frame) {
    if (focusFrameBusy_) return;
    focusFrameBusy_ = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{focusFrameBusy_};
    UnFocusFrames();
    frame.setForeColor(Context.State.SDRColourSchemes.FrameFocus);
}

void frmMain::HighlightValueLabel(int16_t& Index) {
    if (highlight_) highlight_->HighlightValueLabel(Index);
}

void frmMain::UnhighlightValueLabel() {
    if (highlight_)
        highlight_->UnhighlightValueLabel();
    else
        Context.State.ActiveKnob = 0;
}

void frmMain::UnhighlightValueLabel(int16_t Index) {
    if (highlight_)
        highlight_->UnhighlightValueLabel(Index);
    else
        Context.State.ActiveKnob = 0;
}
