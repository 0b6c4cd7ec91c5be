// The display component: the analyser, its pictures and its switch, and its adapters.
#include "mainwindow/Display.h"

#include <span>

#include "config/ConfigPorts.h"
#include "display/clsSpectrumAnalyser.h"
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

class Component final : public DisplayComponent {
public:
    explicit Component(ComponentHost& host)
        : host_(host), sink_(analyser_), knobs_(analyser_), notch_(analyser_), curve_(analyser_),
          settings_([this]() -> clsSpectrumAnalyser& { return analyser_.get(); }),
          picScope0(host.picScopeContainer), picScope1(host.picScopeContainer),
          chkSpectrumAnalyser(host.picScopeContainer) {
        for (ui::PictureBox* p : {&picScope0, &picScope1})
            p->Move(1380, 60, 9600, 2760);
        picScope1.setVisible(false);
        chkSpectrumAnalyser.Move(60, 60, 270, 240);
        chkSpectrumAnalyser.setToolTipText("Click to turn on Spectrum Display");
        chkSpectrumAnalyser.Click = [this] { analyser_.get().Active = chkSpectrumAnalyser.Value() == 1; };
    }
    ~Component() override {
        // The analyser saves its settings as it goes; its pictures outlive it.
        analyser_.object.reset();
    }

    void CreateAnalyser() override {
        analyser_.object = std::make_unique<clsSpectrumAnalyser>(host_.Context.Settings, host_.Context.State,
                                                                 host_.Context.Nerix, ports());
    }
    bool HasAnalyser() const override { return analyser_.object != nullptr; }
    bool AnalyserActive() const override { return analyser_.get().Active; }
    void ShowAnalyserActive() override { chkSpectrumAnalyser.setValue(analyser_.get().Active ? 1 : 0); }
    int32_t ScopeBackColour() const override { return analyser_.get().ScopeBackColour(); }
    void BlackenPictures() override {
        runtime::resumeNext([&] { picScope0.setBackColor(0); });
        runtime::resumeNext([&] { picScope1.setBackColor(0); });
    }
    void SetUpAnalyser(int32_t tunedFrequency, bool notchActive) override {
        const auto g = [](auto&& f) { runtime::resumeNext(f); };
        clsSpectrumAnalyser& a = analyser_.get();
        g([&] { a.setPorts(ports()); });
        g([&] { a.FSampling = 48000; });
        g([&] { a.Order = 11; });
        g([&] { a.picDisplay0(picScope0); });
        g([&] { a.picDisplay1(picScope1); });
        g([&] { a.StartBin = 0; });
        g([&] { a.StopBin = 1024; });
        g([&] { a.FStart = 0; });
        g([&] { a.FEnd = 2 * host_.Context.State.BaseIF; });
        g([&] { SetFOffset(tunedFrequency); });
        g([&] { a.init(); });
        g([&] { a.setShowNotch(notchActive); });
    }
    void SetFOffset(int32_t tunedFrequency) override {
        clsSpectrumAnalyser& a = analyser_.get();
        a.FOffset = runtime::CLng(tunedFrequency / 10.0 - (a.FEnd - a.FStart) / 2.0);
    }
    void VfoReplaced(clsVFO& vfo) noexcept override {
        if (analyser_.object) analyser_.object->setPorts({host_.Context.Filters, &vfo});
    }
    void SwitchOffAnalyser() override { analyser_.get().Active = false; }
    void FollowAnalyserBox() override { analyser_.get().Active = chkSpectrumAnalyser.Value() == 1; }
    void ShowRestoredSwitches(int32_t) override { ShowAnalyserActive(); }

    Nerix::SpectrumSink* spectrumSink() override { return &sink_; }
    frontpanel::AnalyserKnobs* analyserKnobs() override { return &knobs_; }
    frontpanel::NotchOverlay* notchOverlay() override { return &notch_; }
    frontpanel::FilterCurveSink* filterCurve() override { return &curve_; }
    config::AnalyserSettings* analyserSettings() override { return &settings_; }

    void Recolour(const RecolourPass&) override {
        runtime::resumeNext([&] { picScope0.setBackColor(analyser_.get().ScopeBackColour()); });
        runtime::resumeNext([&] { picScope1.setBackColor(picScope0.BackColor()); });
    }
    void forEachControl(const ControlVisitor& visit) override {
        visit(picScope0);
        visit(picScope1);
        visit(chkSpectrumAnalyser);
    }

private:
    display::AnalyserPorts ports() const {
        const auto radio = host_.Context.Radio ? host_.Context.Radio() : modSetupRX::RadioObjects{};
        return {host_.Context.Filters, radio.Vfo};
    }

    ComponentHost& host_;
    Analyser analyser_;
    Sink sink_;
    Knobs knobs_;
    Notch notch_;
    Curve curve_;
    ConfigAnalyser settings_;

public:
    ui::PictureBox picScope0;
    ui::PictureBox picScope1;
    ui::CheckBox chkSpectrumAnalyser;
};

} // namespace

std::unique_ptr<DisplayComponent> makeDisplay(ComponentHost& host) {
    return std::make_unique<Component>(host);
}

} // namespace mainwindow
