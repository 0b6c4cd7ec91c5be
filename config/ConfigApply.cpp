// Apply, statement by statement in its fixed order.
#include "config/ConfigApply.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "config/ConfigNumbers.h"
#include "config/StatementGuard.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"
#include "radio/LineInterface.h"
#include "radio/Oscillator.h"
#include "radio/modSetupRX.h"

namespace config {

namespace {

constexpr const char* kRoutine = "frmConfig.cmdApply_Click";
constexpr const char* kSerialName = "DDSInterface.Serial";

template <class T> T& present(T* object, const char* what) {
    if (!object) runtime::raise(runtime::err::kObjectNotSet, what);
    return *object;
}

Oscillator& oscillatorOf(VfoControl& vfo) {
    return present(vfo.OscType(), "Vfo.OscType");
}

LineInterface& handlerOf(Oscillator& oscillator) {
    return present(oscillator.IFHandler(), "Vfo.OscType.IFHandler");
}

// A status call of the sound engine: a number other than 0 fails the statement with that error.
template <class Call> void engineStatus(const char* what, Call&& call) {
    if (const int32_t status = call(); status != 0) runtime::raise(status, what);
}

// One run of Apply: the guard, the values that did not convert, and the live objects.
class ApplyRun {
public:
    ApplyRun(const ApplyInputs& in, ConfigMembers& m, const ApplyPorts& ports, const std::string& caption,
             const NumberFormat::Separators& separators)
        : in_(in), m_(m), ports_(ports), state_(ports.State), rx_(ports.Receiver), caption_(caption),
          separators_(separators), encoderBefore_(ports.State.EnableShaftEncoder), guard_(kRoutine) {}

    ApplyEnd run() {
        saveSettings();
        if (m_.NewSDRModelNo != m_.InitialSDRModelNo) changeModel();
        if (m_.NewHamLibRigNo != m_.InitialHamLibRigNo) changeRig();
        if (!ifAndLoSide()) return ApplyEnd::IFRefused;
        if (!clockAndMultipliers()) return ApplyEnd::ClockRefused;
        soundDevices();
        state_.PhaseBitCorrection = in_.ADCDelayBitCorrection;
        lineInterface();
        parallelPort();
        if (in_.InterfaceKind == 0) serialPort();
        receiverFlags();
        spectrumDisplay();
        frontPanelOptions();
        mainWindow();
        bookkeeping();
        caption();
        state_.RunPriority = m_.NewRunPriority;
        reportNotApplied();
        return ApplyEnd::Complete;
    }

private:
    VfoControl& vfo() { return rx_.Vfo(); }
    Oscillator& osc() { return oscillatorOf(rx_.Vfo()); }
    LineInterface& line(LineInterface* modSetupRX::RadioObjects::*member, const char* name) {
        return present(rx_.Objects().*member, name);
    }
    LineInterface& serial() { return line(&modSetupRX::RadioObjects::SerialLine, "SerialLine"); }
    LineInterface& parallel() { return line(&modSetupRX::RadioObjects::ParallelLine, "ParallelLine"); }
    Oscillator& hamlib() { return present(rx_.Objects().HamlibOsc, "HamlibOsc"); }
    AnalyserSettings& analyser() { return present(ports_.Analyser, "Analyser"); }
    KnobValues& knobs() { return present(ports_.Knobs, "ctlArray"); }
    MainWindowShell& shell() { return present(ports_.MainWindow, "frmMain"); }
    SoundEngine& engine() { return present(ports_.Sound, "SoundCard"); }

    // A typed value: converted under its own guard, and named at the end when it does not convert.
    template <class Conversion> auto typed(const char* label, Conversion&& conversion) {
        std::optional<decltype(conversion())> value;
        if (!guard_(label, [&] { value = conversion(); })) notApplied_.emplace_back(label);
        return value;
    }

    void message(const std::string& prompt, const std::string& title) {
        guard_("MsgBox", [&] { ports_.Dialogs.MsgBox(prompt, runtime::mb::kOkOnly, title); });
    }

    // 1. Before anything changes, under the section of the model in use.
    void saveSettings() {
        guard_("Vfo.SaveSettings", [&] { vfo().SaveSettings(); });
        guard_("Vfo.OscType.SaveSettings", [&] { osc().SaveSettings(); });
        guard_("Vfo.OscType.IFHandler.SaveSettings", [&] { handlerOf(osc()).SaveSettings(); });
    }

    // 2. A new VFO, and the receiver of the chosen model built on it.
    void changeModel() {
        guard_("Vfo (new)", [&] { rx_.ReplaceVfo(); });
        guard_("SDRModelNo", [&] {
            if (!in_.SelectedModel) runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "cboSDRModel");
            state_.SDRModelNo = *in_.SelectedModel;
        });
        guard_("ctlArray(lblBFOIndex).Value", [&] { knobs().setValue(lblBFOIndex, 0.0f); });
        guard_("MouseOverS.SetBFO", [&] { knobs().SetBFO(); });
        guard_("modSetupRX.InitialiseRX", [&] { rx_.InitialiseRX(); });
    }

    // 3. Whatever the model in use.
    void changeRig() {
        guard_("HamlibOsc.RigNo", [&] { hamlib().setRigNo(m_.NewHamLibRigNo); });
        guard_("HamlibOsc.RigDesc",
               [&] { hamlib().setRigDesc(ports_.RigList.RigDescFromNo(hamlib().RigNo())); });
        guard_("HamlibOsc.SaveSettings", [&] { hamlib().SaveSettings(); });
    }

    // 4. 0 passes: the "Hamlib" model's IF is 0.
    bool ifAndLoSide() {
        const double f = lenientNumber(in_.IFFrequency);
        if (f < 0) {
            message("IF Frequency must be greater than 0.0 MHZ", caption_ + " CLKIN - ERROR");
            return false;
        }
        guard_("Vfo.HiSideLo", [&] { vfo().setHiSideLo(!in_.LoLO); });
        guard_("Vfo.IFFrequency", [&] { vfo().setIFFrequency(runtime::CLng(f)); });
        guard_("Vfo.AutoUpdate", [&] { vfo().setAutoUpdate(in_.AutoDDSRefresh); });
        return true;
    }

    // 5. The bound is 1 Hz: the software oscillator's clock of 48000 Hz passes.
    bool clockAndMultipliers() {
        const double c = lenientNumber(in_.DDSClkin);
        if (c <= 1) {
            message("CLKIN must be greater than 1.0000 MHZ", caption_ + " CLKIN - ERROR");
            return false;
        }
        guard_("Vfo.OscType.Initialise", [&] { osc().Initialise(); });
        if (!state_.VFOControl) {
            // The dialog shows the crystal with blanks between its digit groups after a model choice.
            if (const auto xtal = typed(kXtalFrequencyLabel,
                                        [&] { return strictLong(in_.XtalFrequency, separators_, true); }))
                guard_("SoftDdsOsc.BaseFrequency",
                       [&] { present(rx_.Objects().SoftDdsOsc, "SoftDdsOsc").setBaseFrequency(*xtal); });
        }
        guard_("Vfo.OscType.ClkIn", [&] { osc().setClkIn(c); });
        guard_("Vfo.Refresh", [&] { vfo().Refresh(); });
        multiplier("Vfo.OscMultiplier", in_.VFOMultIndex, [&](int32_t v) { vfo().setOscMultiplier(v); });
        multiplier("Vfo.PLLMultiplier", in_.PLLMultiplierIndex,
                   [&](int32_t v) { vfo().setPLLMultiplier(v); });
        guard_("Vfo.Refresh", [&] { vfo().Refresh(); });
        return true;
    }

    // A typed entry the list does not hold leaves the multiplier: 2 to the power -1 would round to 0.
    template <class Set> void multiplier(const char* what, int32_t position, Set&& set) {
        if (position < 0) {
            guard_.leftOut(what, "no entry of its list is chosen");
            return;
        }
        guard_(what, [&] { set(runtime::CLng(std::pow(2.0, position))); });
    }

    // 6. Device 0 names no device: an empty list, or none chosen, leaves the engine alone.
    void soundDevices() {
        if (in_.PlayDeviceIndex < 0 || in_.CapDeviceIndex < 0) {
            guard_.leftOut("SoundCard devices", "a device list has no entry chosen");
            return;
        }
        const int32_t p = in_.PlayDeviceIndex + 1;
        const int32_t q = in_.CapDeviceIndex + 1;
        if (p == m_.InitialPlaybackDevice && q == m_.InitialCaptureDevice) return;
        if (!ports_.Sound) {
            guard_.leftOut("SoundCard devices", "there is no sound engine");
            return;
        }
        bool running = false;
        guard_("SoundCard.InAction", [&] { running = engine().InAction(); });
        if (running) {
            runtime::DoEvents();
            for (int32_t pumps = 0; state_.DspBusy && pumps < kDspSettlePumps; ++pumps)
                runtime::DoEvents();
            if (state_.DspBusy) {
                guard_.leftOut("SoundCard devices", "a DSP block is still running");
                return;
            }
            guard_("SoundCard.StopSound",
                   [&] { engineStatus("SoundCard.StopSound", [&] { return engine().StopSound(); }); });
        }
        guard_("SoundCard.ReleaseDevices",
               [&] { engineStatus("SoundCard.ReleaseDevices", [&] { return engine().ReleaseDevices(); }); });
        guard_("SoundCard.CurrentPlaybackDevice", [&] { engine().setCurrentPlaybackDevice(p); });
        guard_("SoundCard.CurrentCaptureDevice", [&] { engine().setCurrentCaptureDevice(q); });
        guard_("SoundCard.PrepareDevices",
               [&] { engineStatus("SoundCard.PrepareDevices", [&] { return engine().PrepareDevices(); }); });
        // The shell's start, so a start that fails leaves the power button at "Off".
        if (running) guard_("frmMain.StartSound", [&] { shell().StartSound(); });
    }

    // 8. The kind is compared with the one recorded at the filling or the last Apply, also after a model
    // change whose rebuild has attached the new model's line already.
    void lineInterface() {
        if (in_.InterfaceKind)
            guard_("Vfo.DDSInterfaceType", [&] { vfo().setDDSInterfaceType(*in_.InterfaceKind); });
        std::optional<int32_t> kind;
        guard_("Vfo.DDSInterfaceType", [&] { kind = vfo().DDSInterfaceType(); });
        if (!kind || *kind == m_.InitialDDSInterfaceType) return;
        guard_("Vfo.OscType.IFHandler.ClosePort", [&] { handlerOf(osc()).ClosePort(); });
        using R = modSetupRX::RadioObjects;
        switch (*kind) {
        case 0:
            serialSequence();
            break;
        case 1:
            attach(&R::ParallelLine, "ParallelLine");
            break;
        case 2:
            guard_("Vfo.OscType.IFHandler = Nothing", [&] { osc().setIFHandler(nullptr); });
            break;
        case 3:
            attach(&R::NullLine, "NullLine");
            break;
        case 4:
            attach(&R::Drb30Line, "Drb30Line");
            break;
        case 5:
            attach(&R::Us232cLine, "Us232cLine");
            break;
        case 6:
            attach(&R::Ft232Line, "Ft232Line");
            break;
        default:
            break;
        }
    }

    void attach(LineInterface* modSetupRX::RadioObjects::*member, const char* name) {
        guard_(std::string("Vfo.OscType.IFHandler = ") + name,
               [&] { osc().setIFHandler(&line(member, name)); });
        guard_("Vfo.OscType.Initialise", [&] { osc().Initialise(); });
    }

    // The serial line is attached also when its port did not open.
    void serialSequence() {
        guard_("SerialLine.Name", [&] { serial().setName(kSerialName); });
        guard_("SerialLine.MSCommCtl", [&] { serial().setMSCommCtl(shell().MSComm1()); });
        guard_("SerialLine.Initialise", [&] { serial().Initialise(); });
        std::optional<int32_t> handle;
        guard_("SerialLine.OpenPort", [&] { handle = serial().OpenPort(encoderBefore_); });
        if (handle == 0) {
            // Our errors carry no line number.
            const StatementGuard::SkippedError last = guard_.lastError();
            guard_("MsgBox", [&] {
                const std::string text = "Unable to open Serial Interface COM" +
                                         std::to_string(serial().PortNo()) + "\r\n" + kRoutine + "():0" +
                                         "\r\nError Code=" + std::to_string(last.Number) +
                                         "\r\nError Desc=" + last.Description;
                ports_.Dialogs.MsgBox(text, runtime::mb::kOkOnly, runtime::kProductName);
            });
        }
        guard_("Vfo.OscType.IFHandler = SerialLine", [&] { osc().setIFHandler(&serial()); });
        guard_("Vfo.OscType.Initialise", [&] { osc().Initialise(); });
    }

    // 9. Whatever kind is chosen.
    void parallelPort() {
        if (const auto address =
                typed(kPortAddressLabel, [&] { return strictLong(in_.PortAddress, separators_); }))
            guard_("ParallelLine.PortAddress", [&] { parallel().setPortAddress(*address); });
        if (const auto period = typed(kParallelBitPeriodLabel,
                                      [&] { return strictNumber(in_.ParallelPortBitPeriod, separators_); }))
            guard_("ParallelLine.WaitTime", [&] { parallel().setWaitTime(*period); });
        guard_("ParallelLine.Inverting", [&] { parallel().setInverting(in_.InvertingIF); });
        bit("ParallelLine.IOUPDBitNo", m_.NewIOUPDBitNo, [&](int32_t b) { parallel().setIOUPDBitNo(b); });
        bit("ParallelLine.SCLCKBitNo", m_.NewSCLCKBitNo, [&](int32_t b) { parallel().setSCLCKBitNo(b); });
        bit("ParallelLine.SDATABitNo", m_.NewSDATABitNo, [&](int32_t b) { parallel().setSDATABitNo(b); });
    }

    template <class Set> void bit(const char* what, uint8_t value, Set&& set) {
        if (value > 7) {
            guard_.leftOut(what, "bit " + std::to_string(value) + " is not a bit of the data register");
            return;
        }
        guard_(what, [&] { set(value); });
    }

    // 10. Only with "Ser" chosen.
    void serialPort() {
        std::optional<int32_t> n;
        if (!in_.ComPortEnabled)
            guard_("SerialLine.PortNo", [&] { n = serial().PortNo(); });
        else if (in_.ComPortIndex < 0)
            guard_.leftOut("SerialLine.PortNo", "no COM port is chosen");
        else
            n = in_.ComPortIndex + 1;
        std::optional<int32_t> current;
        if (n) guard_("SerialLine.PortNo", [&] { current = serial().PortNo(); });
        if (n && current && *n != *current) {
            guard_("SerialLine.ClosePort", [&] { serial().ClosePort(); });
            guard_("SerialLine.PortNo", [&] { serial().setPortNo(*n); });
            // Its result is not looked at: OpenPort shows its own message.
            guard_("SerialLine.OpenPort", [&] { serial().OpenPort(encoderBefore_); });
        }
        if (const auto period =
                typed(kSerialBitPeriodLabel, [&] { return strictNumber(in_.BitPeriod, separators_); }))
            guard_("SerialLine.WaitTime", [&] { serial().setWaitTime(*period); });
    }

    // 11 and 12.
    void receiverFlags() {
        if (state_.SPLAvailable) state_.UseSPL = in_.UseSPL;
        state_.ShaftAutoRate = in_.ShaftAutoRate;
        state_.EnableShaftEncoder = in_.EnableEncoder;
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
    void spectrumDisplay() {
        const SwatchColours& s = in_.Swatches;
        guard_("Analyser.HideFreqToolTip", [&] { analyser().setHideFreqToolTip(in_.HideFreqToolTip); });
        guard_("Analyser.ScopeBackColour", [&] { analyser().setScopeBackColour(s[Swatch::ScopeBack]); });
        guard_("Analyser.GraticuleColour", [&] { analyser().setGraticuleColour(s[Swatch::ScopeGraticule]); });
        guard_("Analyser.Y1BaseColour", [&] { analyser().setY1BaseColour(s[Swatch::ScopeY1]); });
        guard_("Analyser.Y2BaseColour", [&] { analyser().setY2BaseColour(s[Swatch::ScopeY2]); });
        guard_("Analyser.ControlColourFocused",
               [&] { analyser().setControlColourFocused(s[Swatch::FocusScrollLabel]); });
        guard_("Analyser.ControlColourNormal",
               [&] { analyser().setControlColourNormal(s[Swatch::NormalScrollLabel]); });
        guard_("Analyser.NotchFilterColour",
               [&] { analyser().setNotchFilterColour(s[Swatch::ScopeNotchFilter]); });
        guard_("Analyser.FilterCurveColour",
               [&] { analyser().setFilterCurveColour(s[Swatch::ScopeFilterCurve]); });
        guard_("Analyser.XTextColour", [&] { analyser().setXTextColour(s[Swatch::ScopeXText]); });
        guard_("Analyser.YTextColour", [&] { analyser().setYTextColour(s[Swatch::ScopeYText]); });
        guard_("Analyser.SetChannelBrightness(0)", [&] { analyser().SetChannelBrightness(0, 100); });
        guard_("Analyser.SetChannelBrightness(1)", [&] { analyser().SetChannelBrightness(1, 100); });
        if (const auto count =
                typed(kSmoothingCountLabel, [&] { return strictLong(in_.SmoothingCount, separators_); }))
            guard_("Analyser.DefaultSmoothCount", [&] { analyser().setDefaultSmoothCount(*count); });
        // Only the knob's default: a reset of the knob now gives the new count.
        guard_("ctlArray(lblSpectrumSmoothIndex).Default", [&] {
            knobs().setDefault(lblSpectrumSmoothIndex, static_cast<float>(analyser().DefaultSmoothCount()));
        });
        for (const int16_t knob : {int16_t{2}, int16_t{3}, int16_t{4}, int16_t{5}, int16_t{15}, int16_t{6},
                                   int16_t{21}, int16_t{22}, lblSpectrumSmoothIndex}) {
            const std::string record = "ctlArray(" + std::to_string(knob) + ").";
            guard_(record + "NormalColour",
                   [&] { knobs().setNormalColour(knob, analyser().ControlColourNormal()); });
            guard_(record + "FocusColour",
                   [&] { knobs().setFocusColour(knob, analyser().ControlColourFocused()); });
        }
    }

    // 14.
    void frontPanelOptions() {
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
    void mainWindow() {
        guard_("modMemTricks.ShowTitleBar", [&] { shell().ShowTitleBar(!state_.FormCaptionOffOnPwrOn); });
        guard_("frmMain.BackColor", [&] { shell().setBackColor(state_.SDRColourSchemes.Background); });
        guard_("frmMain.ReColour", [&] { shell().ReColour(); });
        guard_("frmMain.DarkenControls", [&] { shell().DarkenControls(); });
        guard_("frmMain.UnFocusFrames", [&] { shell().UnFocusFrames(); });
        std::optional<int16_t> layout;
        guard_("frmMain.optDisplaySize", [&] { layout = shell().SelectedDisplaySize(); });
        if (layout) guard_("frmMain.optDisplaySize_Click", [&] { shell().optDisplaySize_Click(*layout); });
    }

    // 16. What is in force becomes the starting point of the next Apply, and the colours a preview's
    // release puts back, so a preview after an Apply does not undo it.
    void bookkeeping() {
        m_.InitialSDRModelNo = m_.NewSDRModelNo = state_.SDRModelNo;
        guard_("SoundCard.CurrentPlaybackDevice",
               [&] { m_.InitialPlaybackDevice = engine().CurrentPlaybackDevice(); });
        guard_("SoundCard.CurrentCaptureDevice",
               [&] { m_.InitialCaptureDevice = engine().CurrentCaptureDevice(); });
        guard_("Vfo.DDSInterfaceType", [&] { m_.InitialDDSInterfaceType = vfo().DDSInterfaceType(); });
        takeSchemeColours(m_.InitialColours, state_.SDRColourSchemes);
        guard_("InitialColours", [&] {
            InitialColourSet display = m_.InitialColours;
            takeDisplayColours(display, analyser());
            m_.InitialColours = display;
        });
    }

    // 17.
    void caption() {
        guard_("frmMain.Caption", [&] {
            const auto& rows = ports_.RxModels.RxModels;
            if (state_.SDRModelNo < 0 || static_cast<std::size_t>(state_.SDRModelNo) >= rows.size())
                runtime::raise(runtime::err::kSubscriptOutOfRange, "RxModels");
            const std::string& name = rows[static_cast<std::size_t>(state_.SDRModelNo)].Name;
            const std::string rigDesc =
                runtime::equalsNoCase(name, "Hamlib") ? hamlib().RigDesc() : std::string();
            shell().setCaption(mainWindowCaption(name, rigDesc));
        });
    }

    void reportNotApplied() {
        if (notApplied_.empty()) return;
        std::string text = "These values were not applied:";
        for (const auto& label : notApplied_)
            text += "\r\n" + label;
        message(text, caption_);
    }

    const ApplyInputs& in_;
    ConfigMembers& m_;
    const ApplyPorts& ports_;
    ReceiverState& state_;
    LiveReceiver& rx_;
    const std::string& caption_;
    const NumberFormat::Separators& separators_;
    // Step 11 sets the switch later; the port opens in the mode in force before this Apply.
    const bool encoderBefore_;
    StatementGuard guard_;
    std::vector<std::string> notApplied_;
};

} // namespace

ApplyEnd Apply(const ApplyInputs& inputs, ConfigMembers& members, const ApplyPorts& ports,
               const std::string& dialogCaption, const NumberFormat::Separators& separators) {
    return ApplyRun(inputs, members, ports, dialogCaption, separators).run();
}

std::string mainWindowCaption(const std::string& modelName, const std::string& rigDesc) {
    std::string caption = std::string(runtime::kProductName) + " - " + modelName;
    if (runtime::equalsNoCase(modelName, "Hamlib")) caption += " (" + rigDesc + ")";
    return caption;
}

} // namespace config
