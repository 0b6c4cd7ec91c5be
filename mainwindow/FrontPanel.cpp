// The front panel component: its adapters to the window, the core and the widgets, and its start-up steps.
#include "mainwindow/FrontPanel.h"

#include <QPoint>
#include <QWidget>
#include <cmath>

#include "clockgen/clsCY27EE16.h"
#include "config/ConfigPorts.h"
#include "display/ScopePanel.h"
#include "dsp/NerixDX8.h"
#include "frontpanel/BandPlanControls.h"
#include "frontpanel/BandPlanPanel.h"
#include "frontpanel/BandPlanStartUp.h"
#include "frontpanel/ControlsStartUp.h"
#include "frontpanel/FrontPanelCore.h"
#include "frontpanel/ReceiverControls.h"
#include "frontpanel/TuningControls.h"
#include "frontpanel/TuningSteps.h"
#include "frontpanel/frmEditUserPreset.h"
#include "frontpanel/frmPresetDesc.h"
#include "frontpanel/modWheelMouse.h"
#include "mainwindow/MainWindowDesign.h"
#include "mainwindow/PanelKnobLabels.h"
#include "mainwindow/PanelKnobValues.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WheelFilter.h"
#include "radio/clsSoftDDS.h"
#include "radio/clsVFO.h"
#include "recorder/RecorderPanelPorts.h"
#include "recorder/clsWavFile.h"

namespace mainwindow {

namespace {

constexpr auto kReadoutLeft = static_cast<int32_t>(mainwindow::design::kReadoutLeft);
constexpr auto kReadoutTop = static_cast<int32_t>(mainwindow::design::kReadoutTop);
constexpr int32_t kFrameRowLeft = mainwindow::design::kFrameRowLeft,
                  kFrameRowTop = mainwindow::design::kFrameRowTop;
constexpr int32_t kSideSwitchesLeft = 8880, kSideSwitchesTop = 900;

// The hidden label every knob record holds until its own is bound.
class PlaceholderLabel final : public frontpanel::KnobLabel {
public:
    explicit PlaceholderLabel(QWidget* form) : label(form) { label.setVisible(false); }
    void setCaption(const std::string& caption) override { label.setCaption(caption); }
    void setForeColor(int32_t bgr) override { label.setForeColor(bgr); }
    void setBorder(bool single) override { label.setBorderStyle(single ? 1 : 0); }
    ui::Label label;
};

[[noreturn]] void absent(const char* what) {
    runtime::raise(runtime::err::kObjectNotSet, what);
}

class Panel;

// The window's hover routines as the knobs call them; a frame of the display is lit when the display
// has it.
class Highlight final : public frontpanel::ShellHighlight {
public:
    Highlight(ComponentHost& host, Panel& panel) : host_(host), panel_(panel) {}
    void HighlightValueLabel(int16_t& Index) override { host_.Shell.HighlightValueLabel(Index); }
    void UnhighlightValueLabel() override { host_.Shell.UnhighlightValueLabel(); }
    void UnhighlightValueLabel(int16_t Index) override { host_.Shell.UnhighlightValueLabel(Index); }
    void DarkenControls() override { host_.Shell.DarkenControls(); }
    void FocusFrame(frontpanel::KnobFrame frame) override;
    void UnFocusFrames() override { host_.Shell.UnFocusFrames(); }
    void focusSink() override {
        if (host_.FocusSink) host_.FocusSink();
    }

private:
    ComponentHost& host_;
    Panel& panel_;
};

// The power state, the sound start and the decoder as the mode's hand-over reaches them.
class Receiver final : public frontpanel::ReceiverShell, public frontpanel::SoundCardStatus {
public:
    explicit Receiver(ComponentHost& host) : host_(host) {}
    bool PowerOn() const override { return host_.PowerOn && host_.PowerOn(); }
    void StartSound() override { host_.Shell.StartSound(); }
    void RunDREAM() override { host_.Shell.RunDREAM(); }
    void CloseProcessWindows() override {
        if (host_.Context.ProcessWatch) host_.Context.ProcessWatch->CloseProcessWindows();
    }
    bool Prepared() const override { return engine().Prepared(); }
    int32_t StopSound() override { return engine().StopSound(); }
    int32_t ReleaseDevices() override { return engine().ReleaseDevices(); }

private:
    NerixDX8& engine() const {
        NerixDX8* e = host_.SoundCard ? host_.SoundCard() : nullptr;
        if (!e) absent("frmMain.SoundCard");
        return *e;
    }
    ComponentHost& host_;
};

// The recorder as the recording format's buttons reach it, once the load has made it.
class RecorderFormat final : public frontpanel::RecorderFormat {
public:
    explicit RecorderFormat(ComponentHost& host) : host_(host) {}
    bool IsClosed() const override { return wav().IsClosed(); }
    void setDecimator(int32_t factor) override { wav().setDecimator(factor); }
    int32_t WavSamplingRate() const override { return wav().WavSamplingRate(); }
    void setBitsPerSample(int32_t bits) override { wav().setBitsPerSample(bits); }

private:
    recorder::clsWavFile& wav() const {
        recorder::clsWavFile* w = host_.WavFile ? host_.WavFile() : nullptr;
        if (!w) absent("frmMain.WavFile");
        return *w;
    }
    ComponentHost& host_;
};

// The recorder's frequency log, once the load has made the recorder; before that no record is asked for.
class RecorderLog final : public frontpanel::FrequencyLog {
public:
    explicit RecorderLog(ComponentHost& host) : host_(host) {}
    void NewLogRecord(int32_t tunedFrequency) override {
        if (recorder::clsWavFile* w = host_.WavFile ? host_.WavFile() : nullptr)
            frontpanel::WavFileLog(*w).NewLogRecord(tunedFrequency);
    }

private:
    ComponentHost& host_;
};

// The window's side of the band plan; a host without one (no window) gives a shell that is never loading.
class NoWindowShell final : public frontpanel::BandPlanShell {
public:
    bool FormLoading() const override { return false; }
    bool DreamStarting() const override { return false; }
    int32_t WindowLeft() const override { return 0; }
    int32_t WindowTop() const override { return 0; }
    void ShowSplash(const std::string&) override {}
    void HideSplash() override {}
};

// The recording format's choices as the recorder panel reaches them: the sample rate selected through
// the switches (its click runs), the captions of every choice, then of the two frames.
class RecordingFormatChoices final : public recorder::RecordingChoices {
public:
    RecordingFormatChoices(frontpanel::ReceiverSwitches& switches, frontpanel::ReceiverControls& controls)
        : switches_(switches), controls_(controls) {}
    void SelectRecordSampleRate(int32_t index) override { switches_.SelectRecordSampleRate(index); }
    void setCaptionColour(int32_t colour) override {
        for (frontpanel::PanelOptionGroup* group :
             {&switches_.optRecordSamplePerBit, &switches_.optRecordSampleRate})
            for (int16_t i = 0; i < group->Count(); ++i)
                (*group)[i].setForeColor(colour);
        controls_.frRecordSampling.setForeColor(colour);
        controls_.frRecordBitsPerSample.setForeColor(colour);
    }

private:
    frontpanel::ReceiverSwitches& switches_;
    frontpanel::ReceiverControls& controls_;
};

class Panel final : public FrontPanelComponent {
public:
    explicit Panel(ComponentHost& host)
        : host_(host), vfo_(host.Context.Vfo), highlight_(host, *this), receiverShell_(host),
          recorderFormat_(host), placeholder_(host.Form),
          tuning(host.Form, kReadoutLeft, kReadoutTop, {host.LoCaption, host.TuneRepeatInterval}),
          core(context()),
          receiver({host.Form, kFrameRowLeft, kFrameRowTop, kSideSwitchesLeft, kSideSwitchesTop,
                    host.picElektor200705, host.picRecorder, host.picCalib}),
          knobLabels_(core.ctlArray), knobValues_(core.ctlArray, core.routines), recorderLog_(host),
          presetDialog_(host.Form, host.Context.Dialogs),
          bandPlan_(core,
                    {host.Context.MainBands, host.Context.BandPlan, host.Context.Dialogs,
                     host.BandPlan ? *host.BandPlan : noWindow_, presetDesc_, presetDialog_, &recorderLog_}),
          bandControls_(host.picScopeContainer, display::ScopePanel::kFreeLeft,
                        display::ScopePanel::kFreeTop),
          recordingChoices_(core.switches, receiver) {
        tuning.connect(core, host.Context.TuningSteps);
        receiver.connect(core);
        bandControls_.connect(bandPlan_);
        handOverBfoKnob(&core.routines);
    }
    ~Panel() override { handOverBfoKnob(nullptr); }

    ui::Frame* ownFrame(frontpanel::KnobFrame frame) {
        using frontpanel::KnobFrame;
        switch (frame) {
        case KnobFrame::frAFOut:
            return &receiver.frAFOut;
        case KnobFrame::frAGC:
            return &receiver.frAGC;
        case KnobFrame::frIFFilter:
            return &receiver.frIFFilter;
        case KnobFrame::frNB:
            return &receiver.frNB;
        case KnobFrame::frNotch:
            return &receiver.frNotch;
        case KnobFrame::frDispMode:
            return host_.frDispMode;
        default:
            return host_.Display ? host_.Display->frame(frame) : nullptr;
        }
    }

    void BindPlaceholderLabels() override { modWheelMouse::BindLabel(core.ctlArray, &placeholder_); }
    void PositionSubBandSelectors() override { bandControls_.LayOutSelectors(bandPlan_); }
    void FillBandSelector() override {
        frontpanel::startup::FillBandSelector(bandPlan_, host_.Context.MainBands);
    }
    void LayOutSubBandButtons() override {
        frontpanel::startup::InitialiseSubBandButtons(bandPlan_);
        bandControls_.LayOutSubBandButtons(bandPlan_, presetsOriginLeft(), presetsOriginTop());
    }
    void LayOutPresetButtons() override {
        frontpanel::startup::InitialisePresetButtons(bandPlan_);
        bandControls_.LayOutPresetButtons(bandPlan_, presetsOriginLeft(), presetsOriginTop());
    }
    int32_t BandCount() const override { return bandPlan_.cboBandSelect.ListCount(); }
    void SelectBand(int32_t index) override { bandPlan_.cboBandSelect.setListIndex(index); }
    void PrimePresetDescription() override {
        presetDesc_.setShown(true);
        presetDesc_.setShown(false);
    }
    void StartSubBandTracking() override { bandControls_.StartTracking(); }
    void StopSubBandTracking() override { bandControls_.tmrSubBands.setEnabled(false); }
    void FillKnobTable(const StepTrace& trace) override {
        core.knobs.FillKnobTable(core.levels.twinSetUp(), trace);
    }
    void InitialiseAgcSliders(const StepTrace& trace) override {
        frontpanel::startup::InitialiseAgcSliders(core, trace);
    }
    void SelectFastAgc() override { frontpanel::startup::SelectFastAgc(core); }
    void FillDefaultTables(const StepTrace& trace) override {
        frontpanel::startup::FillDefaultTables(core, trace);
    }
    void ShowChannelSwap() override { frontpanel::startup::ShowChannelSwap(core); }
    void ShowMuteLoSideAndNoiseReduction(bool hiSideLo) override {
        frontpanel::startup::ShowMuteLoSideAndNoiseReduction(core, hiSideLo);
    }
    void ApplyOutputLevel() override {
        frontpanel::knobAt(core.ctlArray, kOutVolKnob).Value =
            static_cast<float>(core.state.OutputAttenuation);
        core.routines.SetOutVol();
    }
    void ShowNotchAndIfFilter() override { frontpanel::startup::ShowNotchAndIfFilter(core); }
    void CaptionFilterButtons() override { frontpanel::startup::CaptionFilterButtons(core); }
    void HookWheel() override {
        wheelFilter_.Hook([this](const ui::HookMessage& m) { return core.wheel.deliver(m); });
    }
    void UnhookWheel() override {
        if (wheelFilter_.hooked()) wheelFilter_.Unhook();
    }
    void ApplyAudioPassBand(const StepTrace& trace) override {
        trace(":Call MouseOverS.lblFilterHi_Wheel");
        runtime::resumeNext([&] { core.routines.lblFilterHi_Wheel(); });
        trace(":Call MouseOverS.lblFilterLo_Wheel");
        runtime::resumeNext([&] { core.routines.lblFilterLo_Wheel(); });
    }
    void ShowRecordingFormat(int32_t bitsPerSample, int32_t decimator) override {
        frontpanel::startup::ShowRecordingFormat(core, bitsPerSample, decimator);
    }
    void InitialiseTuningStepSelector(int32_t backColour, int32_t foreColour, double tuneStep) override {
        ui::ComboBox& list = tuning.cboTuningSteps;
        runtime::resumeNext([&] { list.Clear(); });
        runtime::resumeNext([&] { list.setVisible(false); });
        runtime::resumeNext([&] { list.setBackColor(backColour); });
        runtime::resumeNext([&] { list.setForeColor(foreColour); });
        const auto& steps = host_.Context.TuningSteps;
        for (const int32_t step : steps)
            runtime::resumeNext([&] { list.AddItem(frontpanel::TuningStepListText(step)); });
        runtime::resumeNext([&] {
            for (size_t i = 0; i < steps.size(); ++i)
                if (static_cast<double>(steps[i]) == tuneStep) {
                    list.setListIndex(static_cast<int32_t>(i));
                    return;
                }
        });
    }
    void ResetUpperSideBox() override { frontpanel::startup::ResetUpperSideBox(core); }
    void CheckUpperSide(double baseHz, double oscMultiplier, double pllMultiplier, int32_t ifHz) override {
        frontpanel::startup::CheckUpperSide(core, baseHz, oscMultiplier, pllMultiplier, ifHz);
    }
    void Display7Seg(const std::string& digits) override { core.tuning.Display7Seg(digits); }

    bool MakeFilters() override { return core.setup ? core.setup->MakeFilters() : true; }
    void SetBfoRange(int32_t min, int32_t max) override {
        ScrollLabel& bfo = frontpanel::knobAt(core.ctlArray, lblBFOIndex);
        bfo.Max = static_cast<float>(max);
        bfo.Min = static_cast<float>(min);
    }
    void ShowNotchPeak(const std::string& caption, const std::string& toolTip) override {
        receiver.lblNotch.setCaption(caption);
        receiver.sldNotch.setToolTipText(toolTip);
    }
    void ShowModelControls(bool iqSelectUpper, bool tuneLo, bool sam) override {
        const auto guarded = [](auto&& f) { runtime::resumeNext(f); };
        guarded([&] { receiver.chkIQSelectUpper.setVisible(iqSelectUpper); });
        guarded([&] { receiver.chkTuneLo.setVisible(tuneLo); });
        if (!tuneLo) guarded([&] { receiver.chkTuneLo.setValue(0); });
        guarded([&] { receiver.optMode[6].setVisible(sam); });
    }
    void StepDial(int32_t delta) override { tuning.dialtuner.setValue(tuning.dialtuner.Value() + delta); }
    void SetScopeXCentre() override { core.routines.SetScopeXCentre(); }
    void CopyTuningRate() override { tuning.lblTuneDialRate.setCaption(tuning.lblTuningRate.Caption()); }
    int16_t SelectedRFInput() const override {
        for (int16_t i = receiver.optRFInSel.LBound(); i <= receiver.optRFInSel.UBound(); ++i)
            if (receiver.optRFInSel.contains(i) && receiver.optRFInSel[i].Value()) return i;
        return -1;
    }
    void SelectRFInput(int16_t index) override { receiver.optRFInSel[index].setValue(true); }
    // The RIT knob answers the wheel only on fixed-LO models.
    void EnableRit(bool enabled) override {
        frontpanel::knobAt(core.ctlArray, lblBFOIndex).Disabled = !enabled;
    }

    KnobLabels* knobLabels() override { return &knobLabels_; }
    config::KnobValues* knobValues() override { return &knobValues_; }
    float NbKnobValue() const override { return core.ctlArray.at(kNBKnob).Value; }
    comm::OnCommHandler* commHandler() override { return &core.switches; }
    recorder::RecordSampleRateChoice* rateChoice() override { return &core.switches; }
    frontpanel::FrontPanelCore* panelCore() override { return &core; }
    frontpanel::ReceiverControls* receiverControls() override { return &receiver; }
    frontpanel::BandPlanControls* bandPlan() override { return &bandControls_; }
    void Darken() override { bandPlan_.HidePopups(); }
    void UnFocus(int32_t frameNormal) override {
        // Through the panel, so that its hover finds the colours as they are shown.
        bandPlan_.frPresets.setForeColor(frameNormal);
        bandPlan_.lblSubBand.setForeColor(frameNormal);
    }
    recorder::RecordingChoices* recordingChoices() override { return &recordingChoices_; }
    const frontpanel::PresetFrame* presetFrame() const override { return &bandControls_; }

    void Recolour(const RecolourPass& pass) override {
        const DerivedColours& d = pass.Derived;
        const auto guarded = [](auto&& f) { runtime::resumeNext(f); };
        guarded([&] { tuning.picTuneDial.setBackColor(tuning.dialtuner.ColorDial()); });
        // The picture shows its drawing, not its back colour, until it is cleared.
        guarded([&] { tuning.picTuneDial.Cls(); });
        for (auto& digit : tuning.lbl7Seg)
            guarded([&] { digit->setForeColor(d.TuningDigits); });
        for (auto& point : tuning.shpDP) {
            guarded([&] { point->setFillColor(d.DecimalPoints); });
            guarded([&] { point->setBorderColor(d.DecimalPoints); });
            guarded([&] { point->setBackColor(d.DecimalPoints); });
        }
        for (auto& scale : tuning.lblScale)
            guarded([&] { scale->setForeColor(d.ScaleLabels); });
        guarded([&] { tuning.lblTuningRate.setForeColor(d.TuningText); });
        guarded([&] { tuning.lblTuneDialRate.setForeColor(d.TuneDialRate); });
        guarded([&] { receiver.chkTuneLo.setForeColor(d.TuningText); });
        // The pass by kind painted the band plan's widgets; the panel is told, so that both agree.
        const SDRColourScheme& scheme = pass.Scheme;
        guarded([&] { bandPlan_.frPresets.setForeColor(scheme.FrameNormal); });
        guarded([&] { bandPlan_.lblSubBand.setForeColor(scheme.Label); });
        for (int16_t i = 0; i < frontpanel::kSubBandButtons; ++i)
            guarded([&] { bandPlan_.optSubBand[i].setForeColor(scheme.Label); });
        for (int16_t j = 0; j < frontpanel::kPresetButtons; ++j)
            guarded([&] { bandPlan_.optPreset[j].setForeColor(scheme.Label); });
    }
    void forEachControl(const ControlVisitor& visit) override {
        visit(tuning.frFreqCtl);
        visit(tuning.picFreqDisp);
        for (auto& digit : tuning.lbl7Seg)
            visit(*digit);
        for (auto& point : tuning.shpDP)
            visit(*point);
        visit(tuning.shpTuneStep);
        for (auto& scale : tuning.lblScale)
            visit(*scale);
        visit(tuning.lblTuningRate);
        visit(tuning.cboTuningSteps);
        visit(tuning.picTuneDial);
        visit(tuning.dialtuner);
        visit(tuning.lblTuneDialRate);
        receiver.forEachControl(visit);
        bandControls_.forEachControl(visit);
    }

private:
    frontpanel::FrontPanelContext context() {
        frontpanel::FrontPanelContext c{host_.Context.State,
                                        host_.Context.Nerix,
                                        tables_,
                                        vfo_,
                                        tuning,
                                        highlight_,
                                        tuning,
                                        host_.Context.Dialogs,
                                        host_.Context.TuningSteps,
                                        &host_.Context.MainBands};
        c.analyser = host_.Display ? host_.Display->analyserKnobs() : nullptr;
        c.filters = host_.Context.Filters;
        c.encoder = host_.Encoder;
        c.receiverShell = &receiverShell_;
        c.soundCard = &receiverShell_;
        c.notchDisplay = host_.Display ? host_.Display->notchOverlay() : nullptr;
        c.filterCurve = host_.Display ? host_.Display->filterCurve() : nullptr;
        c.switches.modelSection = [this] { return host_.Context.SetupRX.ModelSection; };
        c.switches.ft232 = [this] { return host_.Context.Radio().Ft232Line; };
        c.switches.recorder = &recorderFormat_;
        return c;
    }

    // The crystal-controlled oscillators tune by the BFO knob: without it every retune is refused and
    // the signal path never moves. Those the application has released are no longer reached.
    void handOverBfoKnob(BfoKnob* knob) {
        if (!host_.Context.Radio) return;
        const modSetupRX::RadioObjects radio = host_.Context.Radio();
        if (auto* soft = dynamic_cast<clsSoftDDS*>(radio.SoftDdsOsc)) soft->setBfoKnob(knob);
        if (auto* clock = dynamic_cast<clsCY27EE16*>(radio.Cy27ee16Osc)) clock->setBfoKnob(knob);
    }

    // The popups' places are reckoned from the corner of what holds the preset frame: the display's
    // panel, as the layout at the load placed it.
    QPoint presetsOrigin() const {
        QWidget* c = host_.picScopeContainer;
        return c && host_.Form ? c->mapTo(host_.Form, QPoint(0, 0)) : QPoint(0, 0);
    }
    int32_t presetsOriginLeft() const { return ui::twips(presetsOrigin().x()); }
    int32_t presetsOriginTop() const { return ui::twips(presetsOrigin().y()); }

    ComponentHost& host_;
    frontpanel::FilterTables tables_ = frontpanel::DefaultFilterTables();
    frontpanel::CurrentVfo vfo_;
    Highlight highlight_;
    Receiver receiverShell_;
    RecorderFormat recorderFormat_;
    PlaceholderLabel placeholder_;
    ui::WheelFilter wheelFilter_;

public:
    frontpanel::TuningControls tuning;
    frontpanel::FrontPanelCore core;
    frontpanel::ReceiverControls receiver;

private:
    PanelKnobLabels knobLabels_;
    PanelKnobValues knobValues_;
    RecorderLog recorderLog_;
    NoWindowShell noWindow_;
    frmPresetDesc presetDesc_;
    frontpanel::ModalPresetDialog presetDialog_;
    frontpanel::BandPlanPanel bandPlan_;
    // Goes before the panel it mirrors.
    frontpanel::BandPlanControls bandControls_;
    RecordingFormatChoices recordingChoices_;
};

void Highlight::FocusFrame(frontpanel::KnobFrame frame) {
    if (ui::Frame* f = panel_.ownFrame(frame)) host_.Shell.FocusFrame(*f);
}

} // namespace

std::unique_ptr<FrontPanelComponent> makeFrontPanel(ComponentHost& host) {
    return std::make_unique<Panel>(host);
}

} // namespace mainwindow
