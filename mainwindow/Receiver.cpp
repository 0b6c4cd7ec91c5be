// The receiver's composition, its handlers, its colours and its shutdown.
#include "mainwindow/Receiver.h"

#include "clockgen/clsCY27EE16.h"
#include "display/DisplayStartUp.h"
#include "frontpanel/ScrollLabel.h"
#include "mainwindow/ReceiverPorts.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/clsSoftDDS.h"
#include "radio/clsVFO.h"

namespace mainwindow {

namespace {

// Without serial ports the event control's port never opens.
class NoSerialPorts final : public comm::SerialPortOpener {
public:
    std::unique_ptr<comm::SerialPort> open(int32_t) override { return nullptr; }
};
comm::SerialPortOpener& noSerialPorts() {
    static NoSerialPorts none;
    return none;
}

frontpanel::FrontPanelContext frontPanelContext(MainWindowContext& c, frontpanel::FilterTables& tables,
                                                frontpanel::TuningVfo& vfo, const ReceiverViews& views,
                                                frontpanel::ShellHighlight& highlight,
                                                frontpanel::AnalyserKnobs& analyser) {
    frontpanel::FrontPanelContext f{c.State,   c.Nerix,       tables,    vfo,           views.Dial,
                                    highlight, views.Readout, c.Dialogs, c.TuningSteps, &c.MainBands};
    f.analyser = &analyser;
    f.filters = c.Filters;
    f.switches.modelSection = [&c] { return c.SetupRX.ModelSection; };
    f.switches.ft232 = [&c] { return c.Radio().Ft232Line; };
    return f;
}

// The configuration dialog may replace the VFO: the encoder asks for the one in use at each tick.
std::unique_ptr<modEncoder::Encoder> makeEncoder(MainWindowContext& c, EncoderReadout& readout) {
    std::unique_ptr<modEncoder::Encoder> encoder;
    runtime::resumeNext([&] {
        if (c.Vfo && c.Vfo())
            encoder =
                std::make_unique<modEncoder::Encoder>(c.Vfo, c.Timers, readout, c.State.EnableShaftEncoder);
    });
    return encoder;
}

} // namespace

Receiver::Receiver(MainWindowContext& context, const ReceiverViews& views)
    : Context(context), views_(views), tables_(frontpanel::DefaultFilterTables()), vfo_(context.Vfo),
      pathTuning_(context.Vfo, frontpanel::CurrentVfo::Absent::ReadsNothing),
      neighbours_(std::make_unique<Neighbours>(*this)),
      analyserKnobs_([this]() -> clsSpectrumAnalyser& { return analyser(); }),
      notchOverlay_([this]() -> clsSpectrumAnalyser& { return analyser(); }),
      filterCurve_([this]() -> clsSpectrumAnalyser& { return analyser(); }),
      analyserSettings_([this]() -> clsSpectrumAnalyser& { return analyser(); }),
      ports_(std::make_unique<Ports>(*this)), Encoder(makeEncoder(context, neighbours_->encoderReadout)),
      Settings(context.Settings, context.State, context.ProgramFolder),
      MSComm1(context.SerialPorts ? *context.SerialPorts : noSerialPorts(), CommEvents), Front([&] {
          frontpanel::FrontPanelContext f =
              frontPanelContext(context, tables_, vfo_, views, neighbours_->highlight, analyserKnobs_);
          f.receiverShell = &neighbours_->shell;
          f.soundCard = &neighbours_->shell;
          f.notchDisplay = &notchOverlay_;
          f.filterCurve = &filterCurve_;
          f.switches.recorder = &neighbours_->recorderFormat;
          f.encoder = Encoder.get();
          return f;
      }()),
      Bands(Front, {context.MainBands, context.BandPlan, context.Dialogs, views.BandShell, views.PresetDesc,
                    views.PresetDialog, &neighbours_->recorderLog}),
      knobLabels_(Front.ctlArray), knobValues_(Front.ctlArray, Front.routines),
      Highlight(context.State, knobLabels_,
                [this] { runtime::resumeNext([this] { views_.Window.focusSink(); }); }),
      SMeter(context.State, views.Meter, neighbours_->display), Housekeeping(context.State, *ports_),
      PanelTimers(context.State, *ports_), Dream(context.State, *ports_) {
    MSComm1.setHandler(&Front.switches);
    handOverBfoKnob(&Front.routines);
}

Receiver::~Receiver() {
    release();
    handOverBfoKnob(nullptr);
}

// The path and the panels go before the engine, the recorder and the encoder they reach; the recorder
// panel's core outlives the recorder, which may report to it as it closes. The pacing and the panel's
// handlers reach the analyser, which saves its settings as it goes.
void Receiver::release() {
    if (released_) return;
    released_ = true;
    if (RecorderPanel) runtime::resumeNext([&] { RecorderPanel->stopTimers(); });
    releaseRecorder();
    Pacing.reset();
    Scope.reset();
    Analyser.reset();
    DX8Events.reset();
    SoundCard.reset();
}

void Receiver::trace(const char* step) const {
    runtime::AddLog(std::string("frmMain:frmMain:Form_Load") + step);
}

clsVFO& Receiver::vfo() const {
    clsVFO* v = Context.Vfo ? Context.Vfo() : nullptr;
    if (!v) runtime::raise(runtime::err::kObjectNotSet, "Vfo");
    return *v;
}

Oscillator& Receiver::oscillator() const {
    Oscillator* o = vfo().OscType();
    if (!o) runtime::raise(runtime::err::kObjectNotSet, "Vfo.OscType");
    return *o;
}

clsSpectrumAnalyser& Receiver::analyser() const {
    return must(Analyser, "SpectrumAnalyser");
}

display::ScopePanelCore& Receiver::scope() const {
    return must(Scope, "ScopePanel");
}

frmUpDateScopeDisplay& Receiver::pacing() const {
    return must(Pacing, "frmUpDateScopeDisplay");
}

recorder::clsWavFile& Receiver::wav() const {
    return must(WavFile, "frmMain.WavFile");
}

// The crystal-controlled oscillators tune by the BFO knob: without it every retune is refused and the
// signal path never moves. Those the application has released are no longer reached.
void Receiver::handOverBfoKnob(BfoKnob* knob) {
    if (!Context.Radio) return;
    const modSetupRX::RadioObjects radio = Context.Radio();
    if (auto* soft = dynamic_cast<clsSoftDDS*>(radio.SoftDdsOsc)) soft->setBfoKnob(knob);
    if (auto* clock = dynamic_cast<clsCY27EE16*>(radio.Cy27ee16Osc)) clock->setBfoKnob(knob);
}

void Receiver::CreateAnalyser() {
    const modSetupRX::RadioObjects radio = Context.Radio ? Context.Radio() : modSetupRX::RadioObjects{};
    Analyser = std::make_unique<clsSpectrumAnalyser>(Context.Settings, Context.State, Context.Nerix,
                                                     display::AnalyserPorts{Context.Filters, radio.Vfo});
    // The panel's handlers and the pacing work on the front panel's knobs; the panel's knob labels join
    // the knob table as the window binds its widgets, before the start-up fills the table.
    Scope = std::make_unique<display::ScopePanelCore>(display::ScopePanelContext{
        Context.State, *Analyser, Front.ctlArray, Front.routines, Front.shell, Front.vfo, views_.Scope});
    views_.Window.bindDisplay(*Scope);
    if (Context.Timing)
        Pacing = std::make_unique<frmUpDateScopeDisplay>(frmUpDateScopeDisplay::Context{
            Context.Timers, *Context.Timing, *Analyser, Front.ctlArray, neighbours_->display});
}

void Receiver::VfoReplaced(clsVFO& vfo) noexcept {
    if (Analyser) Analyser->setPorts({Context.Filters, &vfo});
}

// ---- Power, sound and the decoder ----

void Receiver::optPwr_Click(int16_t Index) {
    runtime::AddLog("optPwr_click : Start Arg=" + std::to_string(Index));
    if (Index == 0)
        runtime::resumeNext([&] { powerOn(*ports_, Context.State); });
    else if (Index == 1)
        runtime::resumeNext([&] { powerOff(*ports_, Context.State); });
    else if (Index == 2)
        views_.Window.requestClose();
    runtime::AddLog("optPwr_click : End");
}

void Receiver::EncoderSwitchChanged() {
    if (Encoder) Encoder->EncoderSwitchChanged();
}

void Receiver::StartSound() {
    NerixDX8& engine = must(SoundCard, "frmMain.SoundCard");
    int32_t status = engine.Prepared() ? 0 : engine.PrepareDevices();
    if (status == 0) status = engine.StartSound();
    if (status != 0) {
        views_.Window.setPowerChoice(1, true);
        runtime::raise(status, "frmMain.StartSound");
    }
}

void Receiver::RunDREAM() {
    if (unloaded_) return;
    Dream.RunDREAM();
}

void Receiver::tmrPerfStats_Timer() {
    if (unloaded_) return;
    Housekeeping.tmrPerfStats_Timer();
}

void Receiver::tmrTune_Timer() {
    if (unloaded_) return;
    PanelTimers.tmrTune_Timer(Context.SetupRX.ModelSection);
}

void Receiver::tmrVFOUpdate_Timer() {
    if (unloaded_) return;
    PanelTimers.tmrVFOUpdate_Timer();
}

void Receiver::tmrClock_Timer() {
    if (unloaded_) return;
    PanelTimers.tmrClock_Timer();
}

// ---- Colours and highlight ----

void Receiver::ReColour() {
    const SDRColourScheme& scheme = Context.State.SDRColourSchemes;
    const DerivedColours derived = derivedColours(scheme);
    runtime::resumeNext([&] {
        views_.Window.recolourWidgets(
            {scheme, derived, views_.Window.BackColor(),
             Analyser ? std::optional<int32_t>(Analyser->ScopeBackColour()) : std::nullopt});
    });
    runtime::resumeNext([&] { Highlight.RecolourKnobs(); });
    // The pass by kind painted the band plan's widgets; the panel is told, so that both agree.
    runtime::resumeNext([&] { Bands.frPresets.setForeColor(scheme.FrameNormal); });
    runtime::resumeNext([&] { Bands.lblSubBand.setForeColor(scheme.Label); });
    for (int16_t i = 0; i < frontpanel::kSubBandButtons; ++i)
        runtime::resumeNext([&] { Bands.optSubBand[i].setForeColor(scheme.Label); });
    for (int16_t j = 0; j < frontpanel::kPresetButtons; ++j)
        runtime::resumeNext([&] { Bands.optPreset[j].setForeColor(scheme.Label); });
    // The pass cleared the display pictures; the next frame draws them again, also while Off. Before the
    // analyser is set up there is no frame to draw.
    runtime::resumeNext([&] {
        if (Pacing && displaySetUp_) Pacing->SetScopeTimer(frmUpDateScopeDisplay::kBlockArmMs);
    });
    runtime::resumeNext([&] { display::startup::DrawSMeterScale(SMeter); });
}

void Receiver::DarkenControls() {
    Bands.HidePopups();
    Highlight.DarkenKnobLabels();
    for (int16_t i = 0; i <= 1; ++i)
        runtime::resumeNext([&] { views_.Scope.setFreqLabelVisible(i, false); });
    Context.State.ActiveKnob = 0;
}

void Receiver::UnFocusFrames() {
    const int32_t normal = Context.State.SDRColourSchemes.FrameNormal;
    views_.Window.unfocusFrames(normal);
    // Through the panel, so that its hover finds the colours as they are shown.
    Bands.frPresets.setForeColor(normal);
    Bands.lblSubBand.setForeColor(normal);
}

void Receiver::Form_MouseMove() {
    if (Scope) Scope->Form_MouseMove();
}

void Receiver::switchOffAnalyser() {
    analyser().Active = false;
}

void Receiver::followStatisticsAndAnalyserBoxes() {
    Context.State.PerfStatsOn = views_.Window.PerfStatsBox();
    if (Analyser) scope().chkSpectrumAnalyser_Click();
}

// ---- Settings ----

SettingsObjects Receiver::settingsObjects() {
    SettingsObjects o;
    o.SoundCard = SoundCard.get();
    o.HilbertFilter1 = Context.Filters ? &Context.Filters->HilbertFilter1 : nullptr;
    o.NbKnobValue = [this] { return Front.ctlArray.at(kNBKnob).Value; };
    return o;
}

void Receiver::RestoreSettings() {
    Settings.RestoreSettings(settingsObjects());
}

void Receiver::SaveSettings() {
    Settings.SaveSettings(settingsObjects());
}

// ---- Shutdown ----

void Receiver::Form_Unload() {
    // The shutdown pumps the message loop: an unload asked for meanwhile is already being carried out.
    if (unloaded_) return;
    unloaded_ = true;
    runShutdown(*ports_);
}

// The receive path is the engine's listener: it goes first, so no block reaches a released object.
void Receiver::releaseSoundCard() {
    Path.reset();
    recorderBlocks_.reset();
    DX8Events.reset();
    SoundCard.reset();
}

// The recorder panel's widgets go, then the path that feeds the recorder, then the recorder, whose close
// may still report to the panel's core, then the core.
void Receiver::releaseRecorder() {
    runtime::resumeNext([&] { views_.Window.releaseRecorderWidgets(); });
    runtime::resumeNext([&] { Path.reset(); });
    runtime::resumeNext([&] { recorderBlocks_.reset(); });
    runtime::resumeNext([&] { WavFile.reset(); });
    runtime::resumeNext([&] { RecorderPanel.reset(); });
}

} // namespace mainwindow
