// The analyser as its neighbours reach it. The analyser does not depend on the front panel, so the main
// window joins the filter set-up, the notch switches and the display knobs to the analyser here.
#pragma once

#include <cstddef>
#include <span>

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

} // namespace mainwindow
