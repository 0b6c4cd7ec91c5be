// The receiver's start-up: the window's load steps in their order, each statement on its own guard, with
// the trace line of each step whatever it does.
#include <unistd.h>

#include "config/ProgramAbout.h"
#include "display/DisplayStartUp.h"
#include "frame/NumberFormat.h"
#include "frontpanel/BandPlanStartUp.h"
#include "frontpanel/ControlsStartUp.h"
#include "mainwindow/ReceiverPorts.h"
#include "mainwindow/WindowLayout.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/clsVFO.h"

namespace mainwindow {

namespace {

using runtime::resumeNext;

constexpr const char* kStepSelectorTrace = ":Initialise the Tuning Step Selector Drop Down List";

} // namespace

void Receiver::Form_Load() {
    trace(":Start");
    resumeNext([&] { views_.Window.setCaption(runtime::kProductName); });
    if (formLoadBusy_) return;
    formLoadBusy_ = true;
    FormLoading = true;
    loadSteps();
    formLoadBusy_ = false;
    trace(":End");
    FormLoading = false;
}

void Receiver::loadSteps() {
    loadWindowAndColours();
    loadRecorder();
    loadBandPlanButtons();
    loadSoundAndPath();
    loadInterface();
    loadAnalyserAndTables();
    loadRestoredState();
    loadBandAndPassBand();
    loadTimersAndSelectors();
    loadLastSteps();
}

// The window at its design height, the colours restored, the analyser made, the window shown and coloured.
void Receiver::loadWindowAndColours() {
    WindowView& w = views_.Window;
    trace(":Resizing");
    resumeNext([&] { w.resizeToDesignHeight(); });
    resumeNext([&] { w.setStatVisible(6, false); });
    resumeNext([&] { w.setStatCaptionVisible(0, false); });
    resumeNext([&] { modWheelMouse::BindLabel(Front.ctlArray, &neighbours_->placeholder); });

    trace(":Restoring SDR Colour Settings from Registry");
    resumeNext([&] { Settings.RestoreColourScheme(); });

    trace(":Creating SpectrumAnalyser Object");
    resumeNext([&] { CreateAnalyser(); });
    resumeNext([&] { display::startup::ShowAnalyserActive(scope()); });

    trace(":Making frmMain Visible");
    resumeNext([&] { w.showWindow(); });
    resumeNext([&] { w.blackenDisplayPictures(); });
    resumeNext([&] { w.setBackColor(Context.State.SDRColourSchemes.Background); });

    trace(":Setting Colour Scheme");
    resumeNext([&] { ReColour(); });
    resumeNext([&] { runtime::DoEvents(); });
}

// The recorder and its panel, the window frame, the version and the full layout.
void Receiver::loadRecorder() {
    WindowView& w = views_.Window;
    ReceiverState& state = Context.State;
    trace(":Creating Wavfile Object");
    resumeNext([&] {
        WavFile =
            std::make_unique<recorder::clsWavFile>(Context.Settings, Context.Files, Context.ProgramFolder);
    });
    resumeNext([&] { wav().setName("WavFile"); });
    resumeNext([&] { wav().setSamplingRate(48000); });
    resumeNext([&] { state.SaveRecordingsPath = Context.ProgramFolder; });
    resumeNext([&] { wav().LastDirectory = state.SaveRecordingsPath; });
    resumeNext([&] { wav().TempFileName = wav().LastDirectory + "/~NerixTMP.WAV"; });
    resumeNext([&] {
        recorder::RecorderPanel::Ports ports;
        ports.power = &neighbours_->powerChoice;
        ports.choices = &neighbours_->recordingChoices;
        ports.presets = views_.PresetFrame;
        ports.recordingsFolder = [&state] { return state.SaveRecordingsPath; };
        RecorderPanel =
            std::make_unique<recorder::RecorderPanel>(wav(), views_.RecorderPanel, std::move(ports));
        w.bindRecorder(*RecorderPanel);
    });

    resumeNext([&] { w.measureChrome(); });
    resumeNext([&] {
        const config::ProgramVersion v = config::ownProgramVersion();
        w.setLabel(WindowLabel::Version, std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
                                             std::to_string(v.Revision));
    });
    resumeNext([&] { w.optDisplaySize_Click(layout::kFull); });
}

// The band plan's selectors, the knob table, the band selector and the sub-band and preset buttons.
void Receiver::loadBandPlanButtons() {
    WindowView& w = views_.Window;
    const frontpanel::startup::Trace stepTrace = [this](const char* text) { trace(text); };
    trace(":Positioning Presets");
    resumeNext([&] { w.layOutBandSelectors(); });
    resumeNext([&] { w.setStat(9, std::to_string(static_cast<long long>(gettid()))); });

    Front.knobs.FillKnobTable(Front.levels.twinSetUp(), stepTrace);
    trace(":Initialising cboBandSelect");
    resumeNext([&] { frontpanel::startup::FillBandSelector(Bands, Context.MainBands); });
    trace(":Initialising optSubBand");
    resumeNext([&] {
        frontpanel::startup::InitialiseSubBandButtons(Bands);
        w.layOutSubBandButtons();
    });
    trace(":Initialising optPreset");
    resumeNext([&] {
        frontpanel::startup::InitialisePresetButtons(Bands);
        w.layOutPresetButtons();
    });
}

// The sound engine, its event form, the receive path over them and the recorder, and the FFT.
void Receiver::loadSoundAndPath() {
    trace(":New NerixDX8");
    resumeNext([&] {
        if (!Context.Sound) runtime::raise(runtime::err::kObjectNotSet, "SoundSystem");
        SoundCard = std::make_unique<NerixDX8>(*Context.Sound, Context.Nerix);
    });
    trace(":Load frmDX8Events");
    resumeNext([&] { DX8Events = std::make_unique<frmDX8Events>(must(SoundCard, "frmMain.SoundCard")); });
    resumeNext([&] { must(DX8Events, "frmDX8Events").Load(); });
    trace(":New clsFFTReal");
    resumeNext([&] { makeReceivePath(); });
    resumeNext([&] { connectRecorder(); });
    trace(":Initialising FFTReal");
    resumeNext([&] { must(Path, "FFTReal").FftReal4096().Points = 4096; });
    resumeNext([&] {
        clsFFTReal& fft = must(Path, "FFTReal").FftReal4096();
        fft.FFTInit(fft.Points);
    });
}

// The receiver set-up of the saved model, the oscillator's clock and the IF, and the AGC sliders.
void Receiver::loadInterface() {
    WindowView& w = views_.Window;
    trace(" : Initialising Interface Objects");
    resumeNext([&] {
        if (!Context.InitialiseRX) runtime::raise(runtime::err::kObjectNotSet, "frmMain.InitialiseRX");
        Context.InitialiseRX(&MSComm1);
    });
    resumeNext([&] { Context.State.HiSideLoActive = vfo().HiSideLo(); });
    resumeNext(
        [&] { w.setLabel(WindowLabel::ClockIn, NumberFormat::Format(oscillator().ClkIn(), "#0 000 000")); });
    resumeNext([&] {
        w.setLabel(WindowLabel::IFFrequency,
                   NumberFormat::Format(vfo().IFFrequency(), "#0 000 000;(#0.000 000)"));
    });
    frontpanel::startup::InitialiseAgcSliders(Front, [this](const char* text) { trace(text); });
}

// The analyser on its pictures, the frequency labels, "Fast" and the default tables.
void Receiver::loadAnalyserAndTables() {
    trace(":Initialising SpectrumAnalyser");
    resumeNext([&] {
        // The VFO may have been made anew since the analyser was; the step reads the tuning and the notch
        // itself.
        const modSetupRX::RadioObjects radio = Context.Radio ? Context.Radio() : modSetupRX::RadioObjects{};
        resumeNext([&] { analyser().setPorts({Context.Filters, radio.Vfo}); });
        display::startup::InitialiseSpectrumAnalyser(scope());
        displaySetUp_ = true;
    });
    resumeNext([&] { views_.Window.overlayFrequencyLabels(); });
    resumeNext([&] { frontpanel::startup::SelectFastAgc(Front); });
    frontpanel::startup::FillDefaultTables(Front, [this](const char* text) { trace(text); });
}

// The saved settings and what shows them, the sound format, and the level and filter controls.
void Receiver::loadRestoredState() {
    ReceiverState& state = Context.State;
    trace(":Restoring SDR Settings");
    resumeNext([&] { RestoreSettings(); });
    resumeNext([&] { display::startup::ShowRestoredScopeState(scope()); });
    resumeNext([&] { views_.Window.setPerfStatsBox(state.PerfStatsOn); });
    resumeNext([&] { frontpanel::startup::ShowChannelSwap(Front); });

    trace(":Initialising SoundCard Object");
    resumeNext([&] { SetSoundFormat(); });
    resumeNext([&] { frontpanel::startup::ShowMuteLoSideAndNoiseReduction(Front, vfo().HiSideLo()); });

    trace(":Set OutputLevel Attenuator to PublicVars.OutputAttenuation");
    resumeNext([&] {
        frontpanel::knobAt(Front.ctlArray, kOutVolKnob).Value = static_cast<float>(state.OutputAttenuation);
        Front.routines.SetOutVol();
    });
    resumeNext([&] { frontpanel::startup::ShowNotchAndIfFilter(Front); });
    resumeNext([&] { frontpanel::startup::CaptionFilterButtons(Front); });
}

// The band used last, the analyser's offset for its frequency, the wheel hook, the popup, the AGC
// history and the audio pass band.
void Receiver::loadBandAndPassBand() {
    ReceiverState& state = Context.State;
    trace(":Select Band in use last time");
    resumeNext([&] {
        const int32_t count = Bands.cboBandSelect.ListCount();
        Bands.cboBandSelect.setListIndex(state.CurrentMainBandIndex < count ? state.CurrentMainBandIndex : 0);
    });
    trace(":Set the last tuned frequency for Spectrum Analyser");
    resumeNext([&] {
        clsSpectrumAnalyser& a = analyser();
        a.FOffset = runtime::CLng(vfo().TunedFrequency() / 10.0 - (a.FEnd - a.FStart) / 2.0);
    });

    trace(":Call modWheelMouse.init");
    resumeNext([&] {
        views_.Window.hookWheel([this](const ui::HookMessage& m) { return Front.wheel.deliver(m); });
    });
    resumeNext([&] {
        views_.PresetDesc.setShown(true);
        views_.PresetDesc.setShown(false);
    });

    trace(":Set up default values in the AGC delayline");
    resumeNext([&] {
        const int32_t n = state.AgcHistoryLength;
        if (n < 0 || static_cast<size_t>(n) > state.AgcPeakHistory.size())
            runtime::raise(runtime::err::kSubscriptOutOfRange, "AgcDelayLine");
        Context.Nerix.Dll().SetMemory_S(state.AgcPeakHistory.data(), n, 16383.0f);
    });
    trace(":Call MouseOverS.lblFilterHi_Wheel");
    resumeNext([&] { Front.routines.lblFilterHi_Wheel(); });
    trace(":Call MouseOverS.lblFilterLo_Wheel");
    resumeNext([&] { Front.routines.lblFilterLo_Wheel(); });
}

// The recorder's init and panel, the housekeeping's first tick, the power buttons, the timers, the step
// selector and the upper-side box.
void Receiver::loadTimersAndSelectors() {
    WindowView& w = views_.Window;
    ReceiverState& state = Context.State;
    trace(":Initialise WavFile Object");
    resumeNext([&] { views_.RecorderPanel.setFileNameText(""); });
    resumeNext([&] { wav().init(); });
    resumeNext(
        [&] { frontpanel::startup::ShowRecordingFormat(Front, wav().BitsPerSample(), wav().Decimator()); });
    resumeNext([&] {
        w.layOutRecorderPanel();
        if (RecorderPanel) RecorderPanel->startUp();
    });

    trace(":Call tmrPerfStats_Timer");
    resumeNext([&] { tmrPerfStats_Timer(); });
    trace(":Enable Power Butons");
    w.enablePowerButtons();

    const struct {
        const char* text;
        WindowTimer timer;
        int32_t ms;
    } timers[] = {{":Enable TmrTune", WindowTimer::Tune, 250},
                  {":Enable TmrVFOUpdate", WindowTimer::VfoUpdate, 1000},
                  {":Enable TmrClock", WindowTimer::Clock, 500}};
    for (const auto& t : timers) {
        trace(t.text);
        resumeNext([&] { w.startTimer(t.timer, t.ms); });
    }
    trace(":Enable TmrSubBands");
    resumeNext([&] { w.startSubBandTracking(); });

    trace(kStepSelectorTrace);
    resumeNext([&] {
        w.fillStepSelector(w.BackColor(), state.SDRColourSchemes.ScrollLabelFocus, vfo().TuneStep());
    });
    resumeNext([&] { frontpanel::startup::ShowChannelSwap(Front); });
    resumeNext([&] { frontpanel::startup::ResetUpperSideBox(Front); });
    resumeNext([&] { frontpanel::startup::CheckUpperSide(Front); });
}

// The controls darkened, the S-meter's scale, the saved power, title bar, caption, encoder poll and layout.
void Receiver::loadLastSteps() {
    WindowView& w = views_.Window;
    ReceiverState& state = Context.State;
    trace(":Call DarkenControls");
    resumeNext([&] { DarkenControls(); });
    resumeNext([&] { display::startup::DrawSMeterScale(SMeter); });
    resumeNext([&] {
        if (state.AutoStartSDR) w.setPowerChoice(0, true);
    });
    resumeNext([&] { w.ShowTitleBar(!state.FormCaptionOffOnPwrOn); });
    resumeNext([&] { w.setCaption(modelCaption()); });
    resumeNext([&] {
        modEncoder::Encoder& encoder = must(Encoder, "modEncoder");
        encoder.setEncoderHwnd(this);
        encoder.setEncoderElapse(10);
        encoder.setEncoderTimerId(4);
        // Armed only while the encoder is switched on: a tick while it is off does nothing, so the idle
        // program need not wake every 10 ms. The configuration's Apply re-arms it when the switch changes.
        encoder.StartEncoderTimer();
    });
    resumeNext([&] { w.optDisplaySize_Click(static_cast<int16_t>(runtime::CInt(state.DisplayMode))); });
}

void Receiver::makeReceivePath() {
    if (!SoundCard) runtime::raise(runtime::err::kObjectNotSet, "frmMain.SoundCard");
    if (!WavFile) runtime::raise(runtime::err::kObjectNotSet, "frmMain.WavFile");
    if (!Context.Filters) runtime::raise(runtime::err::kObjectNotSet, "FilterBank");
    if (!Context.BlockProfiler) runtime::raise(runtime::err::kObjectNotSet, "Profiler");
    recorderBlocks_ = std::make_unique<WavFileRecorder>(*WavFile);
    Path = std::make_unique<Nerix::ReceivePath>(
        Context.State, Context.Nerix, *Context.Filters, Context.Nco, *Context.BlockProfiler,
        Nerix::ReceivePathPorts{&neighbours_->spectrum, recorderBlocks_.get(), nullptr, ports_.get(),
                                &pathTuning_},
        *SoundCard);
}

void Receiver::connectRecorder() {
    recorder::WavFilePorts ports;
    ports.listener = RecorderPanel.get();
    ports.vfo = &pathTuning_;
    ports.dialogs = &views_.FileDialogs;
    ports.rateChoice = &Front.switches;
    wav().setPorts(ports);
}

std::string Receiver::modelCaption() const {
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

void Receiver::SetSoundFormat() {
    NerixDX8& s = must(SoundCard, "frmMain.SoundCard");
    resumeNext([&] { s.setFSampling(48000); });
    resumeNext([&] { s.setNoChannelsIn(2); });
    resumeNext([&] { s.setNoChannelsOut(1); });
    resumeNext([&] { s.setNoBlocksInBuffer(2); });
    resumeNext([&] { s.setSamplesPerEvent(2048); });
    resumeNext([&] { s.setBitsPerSample(16); });
    resumeNext([&] { s.setInp2OutpBufferRatio(2); });
}

} // namespace mainwindow
