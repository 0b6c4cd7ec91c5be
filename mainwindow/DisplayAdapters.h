// The analyser as its neighbours reach it. The analyser depends on neither the front panel nor the
// configuration dialog, so the main window joins the filter set-up, the notch switches, the display
// knobs and the dialog's settings to the analyser here.
#pragma once

#include <cstddef>
#include <functional>
#include <span>

#include "config/ConfigPorts.h"
#include "display/clsSpectrumAnalyser.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/PanelPorts.h"

namespace mainwindow {

// The filter set-up hands the IF filter's taps to the analyser's filter curve.
class AnalyserFilterCurve final : public frontpanel::FilterCurveSink {
public:
    explicit AnalyserFilterCurve(clsSpectrumAnalyser& analyser) : analyser_(analyser) {}
    void LoadFilterCoeffs_T_S(const float* coeffs, int32_t n) override {
        analyser_.LoadFilterCoeffs_T_S(
            std::span<const float>(coeffs, n > 0 ? static_cast<std::size_t>(n) : 0));
    }

private:
    clsSpectrumAnalyser& analyser_;
};

// The display knobs' apply routines set the analyser's members through this.
class AnalyserKnobSettings final : public frontpanel::AnalyserKnobs {
public:
    explicit AnalyserKnobSettings(clsSpectrumAnalyser& analyser) : a_(analyser) {}
    void setChn1Gain(float value) override { a_.setChn1Gain(value); }
    void setChn1Shift(float value) override { a_.setChn1Shift(value); }
    void setChn2Gain(float value) override { a_.setChn2Gain(value); }
    void setChn2Shift(float value) override { a_.setChn2Shift(value); }
    int32_t SpectrumSmooth() const override { return a_.SpectrumSmooth(); }
    void setSpectrumSmooth(int32_t frames) override { a_.setSpectrumSmooth(frames); }
    int32_t DefaultSmoothCount() const override { return a_.DefaultSmoothCount; }
    void SetChannelBrightness(int16_t channel, int16_t brightness) override {
        a_.SetChannelBrightness(channel, brightness);
    }
    int32_t FrameRate() const override { return a_.FrameRate(); }
    void setFrameRate(int32_t value) override { a_.setFrameRate(value); }
    int32_t mode() const override { return a_.mode(); }
    bool IQMode() const override { return a_.IQMode(); }
    int32_t StartBin() const override { return a_.StartBin; }
    void setStartBin(int32_t value) override { a_.StartBin = value; }
    int32_t StopBin() const override { return a_.StopBin; }
    void setStopBin(int32_t value) override { a_.StopBin = value; }
    void setScreenWidth(int32_t value) override { a_.ScreenWidth = value; }
    float HzPerBin() const override { return a_.HzPerBin(); }
    int32_t FOffset() const override { return a_.FOffset; }
    int32_t ControlColourNormal() const override { return a_.ControlColourNormal; }
    int32_t ControlColourFocused() const override { return a_.ControlColourFocused; }

private:
    clsSpectrumAnalyser& a_;
};

// The notch switches show and hide the analyser's notch marker.
class AnalyserNotchOverlay final : public frontpanel::NotchOverlay {
public:
    explicit AnalyserNotchOverlay(clsSpectrumAnalyser& analyser) : analyser_(analyser) {}
    void setShowNotch(bool show) override { analyser_.setShowNotch(show); }

private:
    clsSpectrumAnalyser& analyser_;
};

// The configuration dialog reads and sets the analyser's colours, trace brightness, tooltip and smoothing
// count.
class ConfigAnalyser final : public config::AnalyserSettings {
public:
    // The analyser may be made after the adapter: it is asked for at each call.
    using Accessor = std::function<clsSpectrumAnalyser&()>;
    explicit ConfigAnalyser(Accessor analyser) : a_(std::move(analyser)) {}
    explicit ConfigAnalyser(clsSpectrumAnalyser& analyser)
        : a_([&analyser]() -> clsSpectrumAnalyser& { return analyser; }) {}
    int32_t ScopeBackColour() const override { return a_().ScopeBackColour(); }
    void setScopeBackColour(int32_t c) override { a_().setScopeBackColour(c); }
    int32_t GraticuleColour() const override { return a_().GraticuleColour(); }
    void setGraticuleColour(int32_t c) override { a_().setGraticuleColour(c); }
    int32_t Y1BaseColour() const override { return a_().Y1BaseColour(); }
    void setY1BaseColour(int32_t c) override { a_().setY1BaseColour(c); }
    int32_t Y2BaseColour() const override { return a_().Y2BaseColour(); }
    void setY2BaseColour(int32_t c) override { a_().setY2BaseColour(c); }
    int32_t FilterCurveColour() const override { return a_().FilterCurveColour(); }
    void setFilterCurveColour(int32_t c) override { a_().setFilterCurveColour(c); }
    int32_t NotchFilterColour() const override { return a_().NotchFilterColour(); }
    void setNotchFilterColour(int32_t c) override { a_().setNotchFilterColour(c); }
    int32_t XTextColour() const override { return a_().XTextColour(); }
    void setXTextColour(int32_t c) override { a_().setXTextColour(c); }
    int32_t YTextColour() const override { return a_().YTextColour(); }
    void setYTextColour(int32_t c) override { a_().setYTextColour(c); }
    int32_t ControlColourFocused() const override { return a_().ControlColourFocused; }
    void setControlColourFocused(int32_t c) override { a_().ControlColourFocused = c; }
    int32_t ControlColourNormal() const override { return a_().ControlColourNormal; }
    void setControlColourNormal(int32_t c) override { a_().ControlColourNormal = c; }
    int32_t Y1Colour() const override { return a_().Y1Colour; }
    void setY1Colour(int32_t c) override { a_().Y1Colour = c; }
    int32_t Y2Colour() const override { return a_().Y2Colour; }
    void setY2Colour(int32_t c) override { a_().Y2Colour = c; }
    void SetChannelBrightness(int16_t channel, int16_t level) override {
        a_().SetChannelBrightness(channel, level);
    }
    bool HideFreqToolTip() const override { return a_().HideFreqToolTip(); }
    void setHideFreqToolTip(bool hide) override { a_().setHideFreqToolTip(hide); }
    int32_t DefaultSmoothCount() const override { return a_().DefaultSmoothCount; }
    void setDefaultSmoothCount(int32_t count) override { a_().DefaultSmoothCount = count; }

private:
    Accessor a_;
};

} // namespace mainwindow
