// The analyser as its neighbours reach it. The display may not depend on the front panel, so the main
// window joins the filter set-up to the analyser here.
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

// The notch switches show and hide the analyser's notch marker.
class AnalyserNotchOverlay final : public frontpanel::NotchOverlay {
public:
    explicit AnalyserNotchOverlay(clsSpectrumAnalyser& analyser) : analyser_(analyser) {}
    void setShowNotch(bool show) override { analyser_.setShowNotch(show); }

private:
    clsSpectrumAnalyser& analyser_;
};

} // namespace mainwindow
