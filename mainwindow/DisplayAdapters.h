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

// The analyser may be made after its adapters: they ask for it at each call.
class AnalyserAccess {
public:
    using Accessor = std::function<clsSpectrumAnalyser&()>;
    explicit AnalyserAccess(Accessor analyser) : a_(std::move(analyser)) {}
    explicit AnalyserAccess(clsSpectrumAnalyser& analyser)
        : a_([&analyser]() -> clsSpectrumAnalyser& { return analyser; }) {}

protected:
    clsSpectrumAnalyser& a() const { return a_(); }

private:
    Accessor a_;
};

// The filter set-up hands the IF filter's taps to the analyser's filter curve.
class AnalyserFilterCurve final : public frontpanel::FilterCurveSink, AnalyserAccess {
public:
    using AnalyserAccess::AnalyserAccess;
    void LoadFilterCoeffs_T_S(const float* coeffs, int32_t n) override {
        a().LoadFilterCoeffs_T_S(std::span<const float>(coeffs, n > 0 ? static_cast<std::size_t>(n) : 0));
    }
};

// The display knobs' apply routines set the analyser's members through this.
class AnalyserKnobSettings final : public frontpanel::AnalyserKnobs, AnalyserAccess {
public:
    using AnalyserAccess::AnalyserAccess;
    void setChn1Gain(float value) override { a().setChn1Gain(value); }
    void setChn1Shift(float value) override { a().setChn1Shift(value); }
    void setChn2Gain(float value) override { a().setChn2Gain(value); }
    void setChn2Shift(float value) override { a().setChn2Shift(value); }
    int32_t SpectrumSmooth() const override { return a().SpectrumSmooth(); }
    void setSpectrumSmooth(int32_t frames) override { a().setSpectrumSmooth(frames); }
    int32_t DefaultSmoothCount() const override { return a().DefaultSmoothCount; }
    void SetChannelBrightness(int16_t channel, int16_t brightness) override {
        a().SetChannelBrightness(channel, brightness);
    }
    int32_t FrameRate() const override { return a().FrameRate(); }
    void setFrameRate(int32_t value) override { a().setFrameRate(value); }
    int32_t mode() const override { return a().mode(); }
    bool IQMode() const override { return a().IQMode(); }
    int32_t StartBin() const override { return a().StartBin; }
    void setStartBin(int32_t value) override { a().StartBin = value; }
    int32_t StopBin() const override { return a().StopBin; }
    void setStopBin(int32_t value) override { a().StopBin = value; }
    void setScreenWidth(int32_t value) override { a().ScreenWidth = value; }
    float HzPerBin() const override { return a().HzPerBin(); }
    int32_t FOffset() const override { return a().FOffset; }
    int32_t ControlColourNormal() const override { return a().ControlColourNormal; }
    int32_t ControlColourFocused() const override { return a().ControlColourFocused; }
};

// The notch switches show and hide the analyser's notch marker.
class AnalyserNotchOverlay final : public frontpanel::NotchOverlay, AnalyserAccess {
public:
    using AnalyserAccess::AnalyserAccess;
    void setShowNotch(bool show) override { a().setShowNotch(show); }
};

// The configuration dialog reads and sets the analyser's colours, trace brightness, tooltip and smoothing
// count.
class ConfigAnalyser final : public config::AnalyserSettings, AnalyserAccess {
public:
    using AnalyserAccess::AnalyserAccess;
    int32_t ScopeBackColour() const override { return a().ScopeBackColour(); }
    void setScopeBackColour(int32_t c) override { a().setScopeBackColour(c); }
    int32_t GraticuleColour() const override { return a().GraticuleColour(); }
    void setGraticuleColour(int32_t c) override { a().setGraticuleColour(c); }
    int32_t Y1BaseColour() const override { return a().Y1BaseColour(); }
    void setY1BaseColour(int32_t c) override { a().setY1BaseColour(c); }
    int32_t Y2BaseColour() const override { return a().Y2BaseColour(); }
    void setY2BaseColour(int32_t c) override { a().setY2BaseColour(c); }
    int32_t FilterCurveColour() const override { return a().FilterCurveColour(); }
    void setFilterCurveColour(int32_t c) override { a().setFilterCurveColour(c); }
    int32_t NotchFilterColour() const override { return a().NotchFilterColour(); }
    void setNotchFilterColour(int32_t c) override { a().setNotchFilterColour(c); }
    int32_t XTextColour() const override { return a().XTextColour(); }
    void setXTextColour(int32_t c) override { a().setXTextColour(c); }
    int32_t YTextColour() const override { return a().YTextColour(); }
    void setYTextColour(int32_t c) override { a().setYTextColour(c); }
    int32_t ControlColourFocused() const override { return a().ControlColourFocused; }
    void setControlColourFocused(int32_t c) override { a().ControlColourFocused = c; }
    int32_t ControlColourNormal() const override { return a().ControlColourNormal; }
    void setControlColourNormal(int32_t c) override { a().ControlColourNormal = c; }
    int32_t Y1Colour() const override { return a().Y1Colour; }
    void setY1Colour(int32_t c) override { a().Y1Colour = c; }
    int32_t Y2Colour() const override { return a().Y2Colour; }
    void setY2Colour(int32_t c) override { a().Y2Colour = c; }
    void SetChannelBrightness(int16_t channel, int16_t level) override {
        a().SetChannelBrightness(channel, level);
    }
    bool HideFreqToolTip() const override { return a().HideFreqToolTip(); }
    void setHideFreqToolTip(bool hide) override { a().setHideFreqToolTip(hide); }
    int32_t DefaultSmoothCount() const override { return a().DefaultSmoothCount; }
    void setDefaultSmoothCount(int32_t count) override { a().DefaultSmoothCount = count; }
};

} // namespace mainwindow
