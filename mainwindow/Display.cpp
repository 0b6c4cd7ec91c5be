// The display component: the analyser, the display panel, the pacing and the S-meter, and its adapters.
#include "mainwindow/Display.h"

#include <span>

#include "config/ConfigPorts.h"
#include "display/DisplayStartUp.h"
#include "display/SMeterControls.h"
#include "display/ScopePanel.h"
#include "display/clsSpectrumAnalyser.h"
#include "display/frmUpDateScopeDisplay.h"
#include "dsp/ChainPorts.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/PanelPorts.h"
#include "mainwindow/DisplayAdapters.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"
#include "radio/clsVFO.h"

namespace mainwindow {

namespace {

constexpr int32_t kBlockSamples = 2048;

class Component;

// The analyser as each neighbour reaches it; the analyser is made at the load, after them.
struct Analyser {
    std::unique_ptr<clsSpectrumAnalyser> object;
    clsSpectrumAnalyser& get() const {
        if (!object) runtime::raise(runtime::err::kObjectNotSet, "SpectrumAnalyser");
        return *object;
    }
};

// The receive path's display port: with no analyser nothing is fed.
class Sink final : public Nerix::SpectrumSink {
public:
    explicit Sink(Analyser& a) : a_(a) {}
    bool Active() const override { return a_.object && a_.object->Active; }
    void SetIQMode(bool iq) override {
        if (a_.object) a_.object->setIQMode(iq);
    }
    bool IQMode() const override { return a_.object && a_.object->IQMode(); }
    void LoadSamples_S(const float* c1, const float* c2) override {
        a_.get().LoadSamples_S(std::span<const float>(c1, kBlockSamples),
                               std::span<const float>(c2, kBlockSamples));
    }
    void LoadSamples_INT16(const int16_t* c1, const int16_t* c2) override {
        a_.get().LoadSamples_INT16(std::span<const int16_t>(c1, kBlockSamples),
                                   std::span<const int16_t>(c2, kBlockSamples));
    }
    double FStart() const override { return a_.get().FStart; }
    double FEnd() const override { return a_.get().FEnd; }
    void SetFOffset(int32_t hz) override { a_.get().FOffset = hz; }
    void SetReverseSpectrum(bool reverse) override { a_.get().ReverseSpectrum = reverse; }

private:
    Analyser& a_;
};

class Knobs final : public frontpanel::AnalyserKnobs {
public:
    explicit Knobs(Analyser& a) : a_(a) {}
    void setChn1Gain(float v) override { a_.get().setChn1Gain(v); }
    void setChn1Shift(float v) override { a_.get().setChn1Shift(v); }
    void setChn2Gain(float v) override { a_.get().setChn2Gain(v); }
    void setChn2Shift(float v) override { a_.get().setChn2Shift(v); }
    int32_t SpectrumSmooth() const override { return a_.get().SpectrumSmooth(); }
    void setSpectrumSmooth(int32_t frames) override { a_.get().setSpectrumSmooth(frames); }
    int32_t DefaultSmoothCount() const override { return a_.get().DefaultSmoothCount; }
    void SetChannelBrightness(int16_t channel, int16_t brightness) override {
        a_.get().SetChannelBrightness(channel, brightness);
    }
    int32_t FrameRate() const override { return a_.get().FrameRate(); }
    void setFrameRate(int32_t value) override { a_.get().setFrameRate(value); }
    int32_t mode() const override { return a_.get().mode(); }
    bool IQMode() const override { return a_.get().IQMode(); }
    int32_t StartBin() const override { return a_.get().StartBin; }
    void setStartBin(int32_t value) override { a_.get().StartBin = value; }
    int32_t StopBin() const override { return a_.get().StopBin; }
    void setStopBin(int32_t value) override { a_.get().StopBin = value; }
    void setScreenWidth(int32_t value) override { a_.get().ScreenWidth = value; }
    float HzPerBin() const override { return a_.get().HzPerBin(); }
    int32_t FOffset() const override { return a_.get().FOffset; }
    int32_t ControlColourNormal() const override { return a_.get().ControlColourNormal; }
    int32_t ControlColourFocused() const override { return a_.get().ControlColourFocused; }

private:
    Analyser& a_;
};

class Notch final : public frontpanel::NotchOverlay {
public:
    explicit Notch(Analyser& a) : a_(a) {}
    void setShowNotch(bool show) override { AnalyserNotchOverlay(a_.get()).setShowNotch(show); }

private:
    Analyser& a_;
};

class Curve final : public frontpanel::FilterCurveSink {
public:
    explicit Curve(Analyser& a) : a_(a) {}
    void LoadFilterCoeffs_T_S(const float* coeffs, int32_t n) override {
        AnalyserFilterCurve(a_.get()).LoadFilterCoeffs_T_S(coeffs, n);
    }

private:
    Analyser& a_;
};

// What the display reads of the window.
class Shell final : public display::DisplayShell {
public:
    explicit Shell(ComponentHost& host) : host_(host) {}
    bool Minimised() const override { return host_.Minimised && host_.Minimised(); }

private:
    ComponentHost& host_;
};

class Component final : public DisplayComponent {
public:
    explicit Component(ComponentHost& host)
        : host_(host), sink_(analyser_), knobs_(analyser_), notch_(analyser_), curve_(analyser_),
          settings_([this]() -> clsSpectrumAnalyser& { return analyser_.get(); }), shell_(host),
          panel(host.picScopeContainer, 0, 0), meter(host.Form, kSMeterLeft, kSMeterTop),
          smeter(host.Context.State, meter, shell_) {
        // The statistics switch the user works is the window's own, beside the statistics.
        panel.chkPerfStatsOn.setVisible(false);
    }
    ~Component() override {
        // The pacing and the panel's handlers reach the analyser; the analyser saves its settings as it
        // goes, and its pictures outlive it.
        pacing.reset();
        core.reset();
        analyser_.object.reset();
    }

    void ConnectFrontPanel(FrontPanelComponent& front) override { front_ = &front; }

    void CreateAnalyser() override {
        analyser_.object = std::make_unique<clsSpectrumAnalyser>(host_.Context.Settings, host_.Context.State,
                                                                 host_.Context.Nerix, ports());
        // The panel's handlers and the pacing work on the front panel's knobs; the panel's knob labels join
        // the knob table here, before the start-up fills it.
        frontpanel::FrontPanelCore* knobs = front_ ? front_->panelCore() : nullptr;
        if (!knobs) return;
        clsSpectrumAnalyser& a = *analyser_.object;
        core = std::make_unique<display::ScopePanelCore>(display::ScopePanelContext{
            host_.Context.State, a, knobs->ctlArray, knobs->routines, knobs->shell, knobs->vfo, panel});
        panel.connect(*core, *knobs);
        if (frontpanel::ReceiverControls* receiver = front_->receiverControls(); receiver && host_.CalibPanel)
            display::connectWindowHover(*core, *receiver, *host_.CalibPanel);
        if (host_.Context.Timing)
            pacing = std::make_unique<frmUpDateScopeDisplay>(frmUpDateScopeDisplay::Context{
                host_.Context.Timers, *host_.Context.Timing, a, knobs->ctlArray, shell_});
    }
    bool HasAnalyser() const override { return analyser_.object != nullptr; }
    bool AnalyserActive() const override { return analyser_.get().Active; }
    void ShowAnalyserActive() override { display::startup::ShowAnalyserActive(panelCore()); }
    int32_t ScopeBackColour() const override { return analyser_.get().ScopeBackColour(); }
    void BlackenPictures() override {
        for (int16_t i = 0; i <= 1; ++i)
            runtime::resumeNext([&] { panel.picScope[i].setBackColor(0); });
    }
    void SetUpAnalyser(int32_t, bool) override {
        // The VFO may have been made anew since the analyser was; the step reads the tuning and the notch
        // itself.
        runtime::resumeNext([&] { analyser_.get().setPorts(ports()); });
        display::startup::InitialiseSpectrumAnalyser(panelCore());
        setUp_ = true;
    }
    void OverlayFrequencyLabels() override {
        ui::Label& under = panel.lblSpectrumFreq[0];
        const ui::Label& over = panel.lblSpectrumFreq[1];
        runtime::resumeNext([&] { under.setFontName(over.FontName()); });
        runtime::resumeNext([&] { under.Move(over.Left(), over.Top(), over.Width(), over.Height()); });
    }
    void ShowRestoredSwitches(int32_t) override { display::startup::ShowRestoredScopeState(panelCore()); }
    void SetFOffset(int32_t tunedFrequency) override {
        clsSpectrumAnalyser& a = analyser_.get();
        a.FOffset = runtime::CLng(tunedFrequency / 10.0 - (a.FEnd - a.FStart) / 2.0);
    }
    void DrawSMeterScale() override { display::startup::DrawSMeterScale(smeter); }
    void VfoReplaced(clsVFO& vfo) noexcept override {
        if (analyser_.object) analyser_.object->setPorts({host_.Context.Filters, &vfo});
    }
    void SwitchOffAnalyser() override { analyser_.get().Active = false; }
    void FollowAnalyserBox() override { panelCore().chkSpectrumAnalyser_Click(); }
    void RequestScopeRedraw() override { redraw().SetScopeTimer(frmUpDateScopeDisplay::kBlockArmMs); }
    void SetScopeTimer(int32_t elapseMs) override { redraw().SetScopeTimer(elapseMs); }
    void KillScopeTimer() override { redraw().KillScopeTimer(); }
    bool Drawing() const override { return analyser_.object && analyser_.object->InDisplay; }
    void UpdateSMeter(double level) override { smeter.UpdateSMeter(level); }
    void SetSMeterToolTip(const std::string& tip) override { meter.setToolTipText(2, tip); }
    void SetFreeze(bool frozen) override { analyser_.get().Freeze = frozen; }
    void Form_MouseMove() override { panelCore().Form_MouseMove(); }

    Nerix::SpectrumSink* spectrumSink() override { return &sink_; }
    frontpanel::AnalyserKnobs* analyserKnobs() override { return &knobs_; }
    frontpanel::NotchOverlay* notchOverlay() override { return &notch_; }
    frontpanel::FilterCurveSink* filterCurve() override { return &curve_; }
    config::AnalyserSettings* analyserSettings() override { return &settings_; }
    ui::Frame* frame(frontpanel::KnobFrame which) override {
        using frontpanel::KnobFrame;
        switch (which) {
        case KnobFrame::frScopeChn1Ctl:
            return &panel.frScopeChn1Ctl;
        case KnobFrame::frScopeChn2Ctl:
            return &panel.frScopeChn2Ctl;
        case KnobFrame::frScopeMode:
            return &panel.frScopeMode;
        case KnobFrame::frScopeSweep:
            return &panel.frScopeSweep;
        case KnobFrame::frScopeYMode:
            return &panel.frScopeYMode;
        default:
            return nullptr;
        }
    }

    void Recolour(const RecolourPass&) override {
        runtime::resumeNext([&] { panel.picScope[0].setBackColor(analyser_.get().ScopeBackColour()); });
        runtime::resumeNext([&] { panel.picScope[1].setBackColor(panel.picScope[0].BackColor()); });
        // The window's pass cleared the pictures; the next frame draws them again, also while Off. Before
        // the analyser is set up there is no frame to draw.
        runtime::resumeNext([&] {
            if (pacing && setUp_) pacing->SetScopeTimer(frmUpDateScopeDisplay::kBlockArmMs);
        });
        // The meter stays black on any scheme; the window redraws its scale next.
        meter.picSmeter.forEach([](ui::PictureBox& p) {
            runtime::resumeNext([&] { p.setBackColor(0); });
            runtime::resumeNext([&] { p.Cls(); });
        });
    }
    void Darken() override {
        panel.lblSpectrumFreq.forEach(
            [](ui::Label& l) { runtime::resumeNext([&] { l.setVisible(false); }); });
    }
    void forEachControl(const ControlVisitor& visit) override {
        panel.forEachControl(visit);
        meter.forEachControl(visit);
    }

    DisplayParts parts() { return {&panel, &meter, analyser_.object.get(), core.get(), pacing.get()}; }

private:
    // The S-meter's place between the readout and the layout buttons, so the shortest layout shows it
    // with the readout.
    static constexpr double kSMeterLeft = 7920, kSMeterTop = 60;

    display::AnalyserPorts ports() const {
        const auto radio = host_.Context.Radio ? host_.Context.Radio() : modSetupRX::RadioObjects{};
        return {host_.Context.Filters, radio.Vfo};
    }
    display::ScopePanelCore& panelCore() const {
        if (!core) runtime::raise(runtime::err::kObjectNotSet, "ScopePanel");
        return *core;
    }
    frmUpDateScopeDisplay& redraw() const {
        if (!pacing) runtime::raise(runtime::err::kObjectNotSet, "frmUpDateScopeDisplay");
        return *pacing;
    }

    ComponentHost& host_;
    Analyser analyser_;
    Sink sink_;
    Knobs knobs_;
    Notch notch_;
    Curve curve_;
    ConfigAnalyser settings_;
    Shell shell_;
    FrontPanelComponent* front_ = nullptr;

public:
    display::ScopePanel panel;
    display::SMeterControls meter;
    display::SMeter smeter;
    std::unique_ptr<display::ScopePanelCore> core;
    std::unique_ptr<frmUpDateScopeDisplay> pacing;
    // The load's analyser set-up has run: its pictures can be drawn.
    bool setUp_ = false;
};

} // namespace

std::unique_ptr<DisplayComponent> makeDisplay(ComponentHost& host) {
    return std::make_unique<Component>(host);
}

DisplayParts partsOf(DisplayComponent& display) {
    auto* c = dynamic_cast<Component*>(&display);
    return c ? c->parts() : DisplayParts{};
}

} // namespace mainwindow
