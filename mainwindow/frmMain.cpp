// The main window: its widgets, the receiver made over their views, the bindings, and the window's side
// of the start-up, the close, the dragging and the layouts.
#include "mainwindow/frmMain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include "config/ConfigDialogHost.h"
#include "config/LiveObjects.h"
#include "config/ProgramAbout.h"
#include "frontpanel/TuningSteps.h"
#include "mainwindow/MainWindowDesign.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/ui/Twips.h"
#include "platform/ui/modMemTricks.h"

namespace {

namespace design = mainwindow::design;
using runtime::resumeNext;
using ui::place;

// The load's design size of the client area, to the "Std" marker line.
constexpr auto kDesignClientHeight = static_cast<int32_t>(design::kClientHeight);
constexpr auto kDesignClientWidth = static_cast<int32_t>(design::kClientWidth);
// The S-meter between the readout and the layout buttons, so the shortest layout shows it with the readout;
// the side switches under it (design::kSideSwitchesLeft, kSideSwitchesTop).
constexpr double kSMeterLeft = 7920, kSMeterTop = 60;
// How often a close that must wait is tried again: short against a person's patience, long against a
// busy loop inside a modal wait.
constexpr int kCloseRetryMs = 20;
constexpr const char* kCloseWaits = "frmMain.Form_Unload : the close waits for the running handler";

} // namespace

// The band plan's view of the window: the start-up flag, the decoder's start, the corner and the splash.
class frmMain::BandShell final : public frontpanel::BandPlanShell {
public:
    explicit BandShell(frmMain& w) : w_(w) {}
    bool FormLoading() const override { return w_.receiver_ && w_.receiver_->FormLoading; }
    bool DreamStarting() const override { return w_.Context.State.DreamStarting; }
    int32_t WindowLeft() const override { return w_.Left(); }
    int32_t WindowTop() const override { return w_.Top(); }
    void ShowSplash(const std::string& bandName) override { splash_.ShowSplash(bandName); }
    void HideSplash() override { splash_.HideSplash(); }

private:
    frmMain& w_;
    frontpanel::BandSplash splash_;
};

// The preset frame's place in its container, read at each load of the track list.
class frmMain::PresetPlace final : public recorder::PresetFrame {
public:
    explicit PresetPlace(const frontpanel::PresetFrame& frame) : frame_(frame) {}
    int32_t BackColor() const override { return frame_.FrameBackColor(); }
    double Left() const override { return frame_.FrameLeft(); }
    double Top() const override { return frame_.FrameTop(); }
    double Width() const override { return frame_.FrameWidth(); }
    double Height() const override { return frame_.FrameHeight(); }

private:
    const frontpanel::PresetFrame& frame_;
};

// The configuration dialog over the window's objects, made once while the window is built: the live
// radio over the VFO's slot, the dialog's context, and the window as the dialog's shell.
class frmMain::ConfigHolder final : public config::MainWindowShell {
public:
    explicit ConfigHolder(frmMain& w)
        : radio({w.Context.Settings, w.Context.State, w.Context.RxModels, w.Context.SetupRX,
                 w.Context.VfoSlot, w.Context.Radio, [&w] { return &w.receiver_->MSComm1; }}),
          context{w.Context.State,
                  w.Context.Settings,
                  w.Context.RxModels,
                  w.Context.RigList,
                  w.Context.SetupRX,
                  [this] { return radio.Objects(); },
                  w.Context.Filters ? &w.Context.Filters->HilbertFilter1 : nullptr,
                  &w.receiver_->analyserSettings(),
                  &w.receiver_->knobValues(),
                  w.ComDlg,
                  w.Context.Dialogs,
                  config::ownProgramVersion(),
                  &radio,
                  this},
          host(context, &w), w_(w) {
        // The analyser keeps the VFO itself; every other user asks the slot at each call.
        radio.onReplaced([&w](clsVFO& vfo) { w.receiver_->VfoReplaced(vfo); });
    }

    void ShowTitleBar(bool on) override { w_.ShowTitleBar(on); }
    void setBackColor(int32_t colour) override { w_.setBackColor(colour); }
    void ReColour() override { w_.receiver_->ReColour(); }
    void DarkenControls() override { w_.receiver_->DarkenControls(); }
    void UnFocusFrames() override { w_.receiver_->UnFocusFrames(); }
    std::optional<int16_t> SelectedDisplaySize() const override {
        for (int16_t i = w_.optDisplaySize.LBound(); i <= w_.optDisplaySize.UBound(); ++i)
            if (w_.optDisplaySize[i].Value()) return i;
        return std::nullopt;
    }
    void optDisplaySize_Click(int16_t Index) override { w_.optDisplaySize_Click(Index); }
    void setCaption(const std::string& caption) override { w_.setCaption(caption); }
    void StartSound() override { w_.receiver_->StartSound(); }
    comm::MSComm* MSComm1() override { return &w_.receiver_->MSComm1; }
    void EncoderSwitchChanged() override { w_.receiver_->EncoderSwitchChanged(); }

    config::LiveRadio radio;
    config::ConfigContext context;
    config::ConfigDialogHost host;

private:
    frmMain& w_;
};

frmMain::frmMain(mainwindow::MainWindowContext& context, const ReceiverFactory& makeReceiver)
    : Context(context), Layout(context.State), ComDlg(context.Dialogs, context.Settings),
      frPower(this, "Power"), frDispMode(this, "Display"), picElektor200705(this), picRecorder(this),
      picScopeContainer(this), picCalib(this), cmdConfig(picCalib.widget(), "Config"),
      cmdCalibrateSMeter(picCalib.widget(), "ZeroS"), chkPerfStatsOn(picCalib.widget(), "On"),
      lblCLKINFreq(this), lblIFFreq(this), lblVer(picCalib.widget()), lblClock(this, "23:45:15"),
      Label15(this), sldPwm(this), Picture1(this),
      Tuning(this, static_cast<int32_t>(design::kReadoutLeft), static_cast<int32_t>(design::kReadoutTop),
             {[this](const std::string& caption) { lblStatsVal[3].setCaption(caption); },
              [this](int32_t ms) { tmrTune.setInterval(ms); }}),
      Controls({this, design::kFrameRowLeft, design::kFrameRowTop, design::kSideSwitchesLeft,
                design::kSideSwitchesTop, picElektor200705.widget(), picRecorder.widget(),
                picCalib.widget()}),
      ScopePanel(picScopeContainer.widget(), 0, 0), Meter(this, kSMeterLeft, kSMeterTop),
      BandControls(picScopeContainer.widget(), display::ScopePanel::kFreeLeft, display::ScopePanel::kFreeTop),
      // The track list lies over the preset frame, in the frame's container.
      RecorderControls(std::make_unique<recorder::RecorderControls>(
          recorder::RecorderControls::Hosts{picRecorder.widget(), BandControls.Container(), this})),
      presetDialog_(this, context.Dialogs), bandShell_(std::make_unique<BandShell>(*this)),
      presetPlace_(std::make_unique<PresetPlace>(BandControls)) {
    setObjectName("frmMain");
    setClientSize(kDesignClientWidth, kDesignClientHeight);
    setKeyPreview(true);
    buildPowerAndLayoutButtons();
    buildCalibrationPanel();
    // The statistics switch the user works is the window's own, beside the statistics.
    ScopePanel.chkPerfStatsOn.setVisible(false);

    const mainwindow::ReceiverViews views{
        *this,           Tuning,      Tuning,        ScopePanel,        Meter,
        *bandShell_,     presetDesc_, presetDialog_, *RecorderControls, presetPlace_.get(),
        recorderDialogs_};
    receiver_ =
        makeReceiver ? makeReceiver(Context, views) : std::make_unique<mainwindow::Receiver>(Context, views);
    bindReceiver();
    config_ = std::make_unique<ConfigHolder>(*this);
    closeRetry_ = std::make_unique<QTimer>();
    closeRetry_->setSingleShot(true);
    closeRetry_->setInterval(kCloseRetryMs);
    QObject::connect(closeRetry_.get(), &QTimer::timeout, [this] {
        if (!closePending_) return;
        if (closeMustWait()) {
            closeRetry_->start();
            return;
        }
        closePending_ = false;
        close();
    });
}

frmMain::~frmMain() {
    closeRetry_.reset();
    config_.reset();
    // What the shutdown did not release goes while the widgets that show it are still here.
    receiver_->release();
}

void frmMain::buildPowerAndLayoutButtons() {
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
}

// picCalib: the configuration and S-meter buttons, the statistics, the version; and the form's own labels
// (the clock, the oscillator clock and IF, the encoder count), which share the row under the S-meter with
// the side switches.
void frmMain::buildCalibrationPanel() {
    place(cmdConfig, design::cmdConfig);
    cmdConfig.Click = [this] { cmdConfig_Click(); };
    place(cmdCalibrateSMeter, design::cmdCalibrateSMeter);
    cmdCalibrateSMeter.Click = [this] { receiver_->cmdCalibrateSMeter_Click(); };
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
    // Right of the statistics' last column, "Thread1", which ends at 11760.
    lblVer.Move(11775, 120, 525, 210);
    lblVer.setAlignment(1);
    lblClock.Move(7920, 900, 900, 240);
    // Nine digits in their groups, above sldPwm rather than over its top.
    lblCLKINFreq.Move(10080, 810, 780, 180);
    lblIFFreq.Move(10860, 810, 720, 180);
    Label15.Move(10140, 1005, 720, 180);
    for (ui::Label* l : {&lblCLKINFreq, &lblIFFreq, &Label15})
        l->setFontSize(7);
    sldPwm.Move(10860, 990, 720, 210);
    sldPwm.Change = [this] { sldPwm.setToolTipText(std::to_string(sldPwm.Value())); };
    Picture1.Move(0, 1185, 15, 15);
}

// Each widget to its core, and the timers and the serial events to the receiver.
void frmMain::bindReceiver() {
    mainwindow::Receiver& r = *receiver_;
    Tuning.connect(r.Front, Context.TuningSteps);
    Controls.connect(r.Front);
    BandControls.connect(r.Bands);
    tmrPerfStats.Timer_ = [this] {
        tmrPerfStats.setEnabled(false);
        receiver_->tmrPerfStats_Timer();
    };
    tmrTune.Timer_ = [&r] { r.tmrTune_Timer(); };
    tmrVFOUpdate.Timer_ = [&r] { r.tmrVFOUpdate_Timer(); };
    tmrClock.Timer_ = [&r] { r.tmrClock_Timer(); };
    for (ui::Timer* t : {&tmrTune, &tmrVFOUpdate, &tmrClock, &tmrPerfStats})
        t->setEnabled(false);
    // The serial control's events reach the UI thread through the queue.
    if (r.CommEvents.notifyFd() >= 0) {
        commNotifier_ = std::make_unique<QSocketNotifier>(r.CommEvents.notifyFd(), QSocketNotifier::Read);
        QObject::connect(commNotifier_.get(), &QSocketNotifier::activated, [&r] { r.CommEvents.drain(); });
    }
}

void frmMain::bindDisplay(display::ScopePanelCore& panel) {
    ScopePanel.connect(panel, receiver_->Front);
    display::connectWindowHover(panel, Controls, picCalib);
}

void frmMain::bindRecorder(recorder::RecorderPanel& panel) {
    if (RecorderControls) RecorderControls->connect(panel);
}

void frmMain::forEachControl(const std::function<void(ui::Control&)>& visit) {
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
    ScopePanel.forEachControl(visit);
    Meter.forEachControl(visit);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&Tuning.frFreqCtl, &Tuning.picFreqDisp})
        visit(*c);
    for (auto& digit : Tuning.lbl7Seg)
        visit(*digit);
    for (auto& point : Tuning.shpDP)
        visit(*point);
    visit(Tuning.shpTuneStep);
    for (auto& scale : Tuning.lblScale)
        visit(*scale);
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{&Tuning.lblTuningRate, &Tuning.cboTuningSteps,
                                             &Tuning.picTuneDial, &Tuning.dialtuner, &Tuning.lblTuneDialRate})
        visit(*c);
    Controls.forEachControl(visit);
    BandControls.forEachControl(visit);
    if (RecorderControls) RecorderControls->forEachControl(visit);
}

// ---- Start-up and close ----

void frmMain::Form_Load() {
    receiver_->Form_Load();
    // A close asked for while the load ran is carried out now that it has ended.
    if (closePending_ && !receiver_->FormLoadBusy()) {
        closePending_ = false;
        requestClose();
    }
}

bool frmMain::closeMustWait() const {
    return receiver_->FormLoadBusy() || runtime::nestedLoops() > 0;
}

void frmMain::deferClose() {
    // The shutdown's own pumps may see a close: the unload under way already carries it out.
    if (receiver_->Unloaded()) return;
    if (!closePending_) runtime::AddLog(kCloseWaits);
    closePending_ = true;
    if (!closeRetry_->isActive()) closeRetry_->start();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (closeMustWait()) {
        deferClose();
        event->ignore();
        return;
    }
    ui::Form::closeEvent(event);
}

void frmMain::Form_Unload(int16_t& Cancel) {
    if (closeMustWait()) {
        deferClose();
        Cancel = 1;
        return;
    }
    receiver_->Form_Unload();
}

void frmMain::requestClose() {
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
}

void frmMain::optPwr_Click(int16_t Index) {
    receiver_->optPwr_Click(Index);
}

void frmMain::cmdConfig_Click() {
    config_->host.cmdConfig_Click(receiver_->SoundCard.get());
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
    resumeNext([&] { focusFrame(frPower); });
    if (!WindowDragging) return;
    resumeNext([&] {
        Move(runtime::CLng(Left() - DragGrabX + double(X)), runtime::CLng(Top() - DragGrabY + double(Y)));
    });
    resumeNext([] { runtime::DoEvents(); });
}

void frmMain::frPower_MouseUp(int16_t, int16_t, float, float) {
    WindowDragging = false;
}

void frmMain::Form_MouseMove(int16_t, int16_t, float, float) {
    receiver_->Form_MouseMove();
}
