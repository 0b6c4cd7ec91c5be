// Apply, statement by statement in its fixed order.
#include "config/ConfigApply.h"

#include <initializer_list>

#include "config/ApplyRun.h"
#include "config/ConfigNumbers.h"
#include "platform/runtime/Text.h"

namespace config {

namespace detail {

namespace {

// A status call of the sound engine: a number other than 0 fails the statement with that error.
template <class Call> void engineStatus(const char* what, Call&& call) {
    if (const int32_t status = call(); status != 0) runtime::raise(status, what);
}

} // namespace

using runtime::resumeNext;

// 1. Before anything changes, under the section of the model in use.
void ApplyRun::saveSettings() {
    resumeNext([&] { vfo().SaveSettings(); }, log_, "Vfo.SaveSettings");
    resumeNext([&] { osc().SaveSettings(); }, log_, "Vfo.OscType.SaveSettings");
    resumeNext([&] { handlerOf(osc()).SaveSettings(); }, log_, "Vfo.OscType.IFHandler.SaveSettings");
}

// 2. A new VFO, and the receiver of the chosen model built on it.
void ApplyRun::changeModel() {
    resumeNext([&] { rx_.ReplaceVfo(); }, log_, "Vfo (new)");
    resumeNext(
        [&] {
            if (!in_.SelectedModel) runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "cboSDRModel");
            state_.SDRModelNo = *in_.SelectedModel;
        },
        log_, "SDRModelNo");
    resumeNext([&] { knobs().setValue(lblBFOIndex, 0.0f); }, log_, "ctlArray(lblBFOIndex).Value");
    resumeNext([&] { knobs().SetBFO(); }, log_, "MouseOverS.SetBFO");
    resumeNext([&] { rx_.InitialiseRX(); }, log_, "modSetupRX.InitialiseRX");
}

// 3. Whatever the model in use.
void ApplyRun::changeRig() {
    resumeNext([&] { hamlib().setRigNo(m_.NewHamLibRigNo); }, log_, "HamlibOsc.RigNo");
    resumeNext([&] { hamlib().setRigDesc(ports_.RigList.RigDescFromNo(hamlib().RigNo())); }, log_,
               "HamlibOsc.RigDesc");
    resumeNext([&] { hamlib().SaveSettings(); }, log_, "HamlibOsc.SaveSettings");
}

// 4. 0 passes: the "Hamlib" model's IF is 0.
bool ApplyRun::ifAndLoSide() {
    const double f = lenientNumber(in_.IFFrequency);
    if (f < 0) {
        message("IF Frequency must be greater than 0.0 MHZ", caption_ + " CLKIN - ERROR");
        return false;
    }
    resumeNext([&] { vfo().setHiSideLo(!in_.LoLO); }, log_, "Vfo.HiSideLo");
    resumeNext([&] { vfo().setIFFrequency(runtime::CLng(f)); }, log_, "Vfo.IFFrequency");
    resumeNext([&] { vfo().setAutoUpdate(in_.AutoDDSRefresh); }, log_, "Vfo.AutoUpdate");
    return true;
}

// 5. The bound is 1 Hz: the software oscillator's clock of 48000 Hz passes.
bool ApplyRun::clockAndMultipliers() {
    const double c = lenientNumber(in_.DDSClkin);
    if (c <= 1) {
        message("CLKIN must be greater than 1.0000 MHZ", caption_ + " CLKIN - ERROR");
        return false;
    }
    resumeNext([&] { osc().Initialise(); }, log_, "Vfo.OscType.Initialise");
    if (!state_.VFOControl) {
        // The dialog shows the crystal with blanks between its digit groups after a model choice.
        if (const auto xtal =
                typed(kXtalFrequencyLabel, [&] { return strictLong(in_.XtalFrequency, separators_, true); }))
            resumeNext([&] { present(rx_.Objects().SoftDdsOsc, "SoftDdsOsc").setBaseFrequency(*xtal); }, log_,
                       "SoftDdsOsc.BaseFrequency");
    }
    resumeNext([&] { osc().setClkIn(c); }, log_, "Vfo.OscType.ClkIn");
    resumeNext([&] { vfo().Refresh(); }, log_, "Vfo.Refresh");
    multiplier("Vfo.OscMultiplier", in_.VFOMultIndex, [&](int32_t v) { vfo().setOscMultiplier(v); });
    multiplier("Vfo.PLLMultiplier", in_.PLLMultiplierIndex, [&](int32_t v) { vfo().setPLLMultiplier(v); });
    resumeNext([&] { vfo().Refresh(); }, log_, "Vfo.Refresh");
    return true;
}

// 6. Device 0 names no device: an empty list, or none chosen, leaves the engine alone.
void ApplyRun::soundDevices() {
    if (in_.PlayDeviceIndex < 0 || in_.CapDeviceIndex < 0) {
        log_.leftOut("SoundCard devices", "a device list has no entry chosen");
        return;
    }
    const int32_t p = in_.PlayDeviceIndex + 1;
    const int32_t q = in_.CapDeviceIndex + 1;
    if (p == m_.InitialPlaybackDevice && q == m_.InitialCaptureDevice) return;
    if (!ports_.Sound) {
        log_.leftOut("SoundCard devices", "there is no sound engine");
        return;
    }
    bool running = false;
    resumeNext([&] { running = engine().InAction(); }, log_, "SoundCard.InAction");
    if (running) {
        runtime::DoEvents();
        for (int32_t pumps = 0; state_.DspBusy && pumps < kDspSettlePumps; ++pumps)
            runtime::DoEvents();
        if (state_.DspBusy) {
            log_.leftOut("SoundCard devices", "a DSP block is still running");
            return;
        }
        resumeNext([&] { engineStatus("SoundCard.StopSound", [&] { return engine().StopSound(); }); }, log_,
                   "SoundCard.StopSound");
    }
    resumeNext([&] { engineStatus("SoundCard.ReleaseDevices", [&] { return engine().ReleaseDevices(); }); },
               log_, "SoundCard.ReleaseDevices");
    resumeNext([&] { engine().setCurrentPlaybackDevice(p); }, log_, "SoundCard.CurrentPlaybackDevice");
    resumeNext([&] { engine().setCurrentCaptureDevice(q); }, log_, "SoundCard.CurrentCaptureDevice");
    resumeNext([&] { engineStatus("SoundCard.PrepareDevices", [&] { return engine().PrepareDevices(); }); },
               log_, "SoundCard.PrepareDevices");
    // The shell's start, so a start that fails leaves the power button at "Off".
    if (running) resumeNext([&] { shell().StartSound(); }, log_, "frmMain.StartSound");
}

// 11 and 12.
void ApplyRun::receiverFlags() {
    if (state_.SPLAvailable) state_.UseSPL = in_.UseSPL;
    state_.ShaftAutoRate = in_.ShaftAutoRate;
    state_.EnableShaftEncoder = in_.EnableEncoder;
    if (ports_.MainWindow)
        resumeNext([&] { ports_.MainWindow->EncoderSwitchChanged(); }, log_, "frmMain.EncoderSwitchChanged");
    state_.ScrollWheelEnableOverScope = in_.ScrollWheelEnableOverScope;
    DrmOptions& drm = state_.DRM;
    drm.RunDreamOnDRM = in_.DreamRunOnDRM;
    drm.MuteAFOnDRM = in_.MuteAFOnDRM;
    drm.CloseSoundcardOnDRM = in_.CloseSoundCardOnDRM;
    drm.PathToDream = in_.PathToDream;
    drm.DreamCloseOnExit = in_.DreamCloseOnExit;
    drm.DreamCloseOnModeChange = in_.DreamCloseOnModeChange;
    drm.DreamProgArgs = in_.DreamProgArgs;
    drm.DreamWindowStyle = in_.DreamWindow.value_or(0);
}

// 13. The knob-label swatches colour the display's knobs as well as the main window's.
void ApplyRun::spectrumDisplay() {
    const SwatchColours& s = in_.Swatches;
    resumeNext([&] { analyser().setHideFreqToolTip(in_.HideFreqToolTip); }, log_, "Analyser.HideFreqToolTip");
    resumeNext([&] { analyser().setScopeBackColour(s[Swatch::ScopeBack]); }, log_,
               "Analyser.ScopeBackColour");
    resumeNext([&] { analyser().setGraticuleColour(s[Swatch::ScopeGraticule]); }, log_,
               "Analyser.GraticuleColour");
    resumeNext([&] { analyser().setY1BaseColour(s[Swatch::ScopeY1]); }, log_, "Analyser.Y1BaseColour");
    resumeNext([&] { analyser().setY2BaseColour(s[Swatch::ScopeY2]); }, log_, "Analyser.Y2BaseColour");
    resumeNext([&] { analyser().setControlColourFocused(s[Swatch::FocusScrollLabel]); }, log_,
               "Analyser.ControlColourFocused");
    resumeNext([&] { analyser().setControlColourNormal(s[Swatch::NormalScrollLabel]); }, log_,
               "Analyser.ControlColourNormal");
    resumeNext([&] { analyser().setNotchFilterColour(s[Swatch::ScopeNotchFilter]); }, log_,
               "Analyser.NotchFilterColour");
    resumeNext([&] { analyser().setFilterCurveColour(s[Swatch::ScopeFilterCurve]); }, log_,
               "Analyser.FilterCurveColour");
    resumeNext([&] { analyser().setXTextColour(s[Swatch::ScopeXText]); }, log_, "Analyser.XTextColour");
    resumeNext([&] { analyser().setYTextColour(s[Swatch::ScopeYText]); }, log_, "Analyser.YTextColour");
    resumeNext([&] { analyser().SetChannelBrightness(0, 100); }, log_, "Analyser.SetChannelBrightness(0)");
    resumeNext([&] { analyser().SetChannelBrightness(1, 100); }, log_, "Analyser.SetChannelBrightness(1)");
    if (const auto count =
            typed(kSmoothingCountLabel, [&] { return strictLong(in_.SmoothingCount, separators_); }))
        resumeNext([&] { analyser().setDefaultSmoothCount(*count); }, log_, "Analyser.DefaultSmoothCount");
    // Only the knob's default: a reset of the knob now gives the new count.
    resumeNext(
        [&] {
            knobs().setDefault(lblSpectrumSmoothIndex, static_cast<float>(analyser().DefaultSmoothCount()));
        },
        log_, "ctlArray(lblSpectrumSmoothIndex).Default");
    for (const int16_t knob : {int16_t{2}, int16_t{3}, int16_t{4}, int16_t{5}, int16_t{15}, int16_t{6},
                               int16_t{21}, int16_t{22}, lblSpectrumSmoothIndex}) {
        const std::string record = "ctlArray(" + std::to_string(knob) + ").";
        resumeNext([&] { knobs().setNormalColour(knob, analyser().ControlColourNormal()); }, log_,
                   record + "NormalColour");
        resumeNext([&] { knobs().setFocusColour(knob, analyser().ControlColourFocused()); }, log_,
                   record + "FocusColour");
    }
}

// 14.
void ApplyRun::frontPanelOptions() {
    const SwatchColours& s = in_.Swatches;
    state_.HiLiteBorder = in_.HiliteBorder;
    state_.KBDSupport = in_.KBDSupport;
    state_.AutoTrackPresets = in_.AutoTrackPresets;
    putSchemeColours(state_.SDRColourSchemes, s);
    state_.FormCaptionOffOnPwrOn = in_.TitleBarOff;
    state_.AutoStartSDR = in_.AutoStartSDR;
    state_.SaveRecordingsPath = in_.SaveRecordingsPath;
}

// 15. The title bar goes or comes back at once, not only at the next power-on.
void ApplyRun::mainWindow() {
    resumeNext([&] { shell().ShowTitleBar(!state_.FormCaptionOffOnPwrOn); }, log_,
               "modMemTricks.ShowTitleBar");
    resumeNext([&] { shell().setBackColor(state_.SDRColourSchemes.Background); }, log_, "frmMain.BackColor");
    resumeNext([&] { shell().ReColour(); }, log_, "frmMain.ReColour");
    resumeNext([&] { shell().DarkenControls(); }, log_, "frmMain.DarkenControls");
    resumeNext([&] { shell().UnFocusFrames(); }, log_, "frmMain.UnFocusFrames");
    std::optional<int16_t> layout;
    resumeNext([&] { layout = shell().SelectedDisplaySize(); }, log_, "frmMain.optDisplaySize");
    if (layout)
        resumeNext([&] { shell().optDisplaySize_Click(*layout); }, log_, "frmMain.optDisplaySize_Click");
}

// 16. What is in force becomes the starting point of the next Apply, and the colours a preview's
// release puts back, so a preview after an Apply does not undo it.
void ApplyRun::bookkeeping() {
    m_.InitialSDRModelNo = m_.NewSDRModelNo = state_.SDRModelNo;
    resumeNext([&] { m_.InitialPlaybackDevice = engine().CurrentPlaybackDevice(); }, log_,
               "SoundCard.CurrentPlaybackDevice");
    resumeNext([&] { m_.InitialCaptureDevice = engine().CurrentCaptureDevice(); }, log_,
               "SoundCard.CurrentCaptureDevice");
    resumeNext([&] { m_.InitialDDSInterfaceType = vfo().DDSInterfaceType(); }, log_, "Vfo.DDSInterfaceType");
    takeSchemeColours(m_.InitialColours, state_.SDRColourSchemes);
    resumeNext(
        [&] {
            InitialColourSet display = m_.InitialColours;
            takeDisplayColours(display, analyser());
            m_.InitialColours = display;
        },
        log_, "InitialColours");
}

// 17.
void ApplyRun::caption() {
    resumeNext(
        [&] {
            const auto& rows = ports_.RxModels.RxModels;
            if (state_.SDRModelNo < 0 || static_cast<std::size_t>(state_.SDRModelNo) >= rows.size())
                runtime::raise(runtime::err::kSubscriptOutOfRange, "RxModels");
            const std::string& name = rows[static_cast<std::size_t>(state_.SDRModelNo)].Name;
            const std::string rigDesc =
                runtime::equalsNoCase(name, "Hamlib") ? hamlib().RigDesc() : std::string();
            shell().setCaption(mainWindowCaption(name, rigDesc));
        },
        log_, "frmMain.Caption");
}

void ApplyRun::reportNotApplied() {
    if (notApplied_.empty()) return;
    std::string text = "These values were not applied:";
    for (const auto& label : notApplied_)
        text += "\r\n" + label;
    message(text, caption_);
}

} // namespace detail

ApplyEnd Apply(const ApplyInputs& inputs, ConfigMembers& members, const ApplyPorts& ports,
               const std::string& dialogCaption, const NumberFormat::Separators& separators) {
    return detail::ApplyRun(inputs, members, ports, dialogCaption, separators).run();
}

std::string mainWindowCaption(const std::string& modelName, const std::string& rigDesc) {
    std::string caption = std::string(runtime::kProductName) + " - " + modelName;
    if (runtime::equalsNoCase(modelName, "Hamlib")) caption += " (" + rigDesc + ")";
    return caption;
}

} // namespace config
