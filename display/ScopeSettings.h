// The display's settings: what it restores at creation and saves when it goes, in section Name and one
// section per mode, with the colours and the per-mode records among them.
#pragma once

#include <cstdint>
#include <string>

#include "display/ScopeColours.h"
#include "display/ScopeModeSettings.h"
#include "platform/profile/SettingsStore.h"

namespace display {

// Values each averaging history holds: as many frames of Points \ 2 values as fit.
inline constexpr int32_t kSmoothHistoryLength = 65537;

class ScopeSettings : public ScopeColours, public ScopeModeSettings {
public:
    // Public fields: writing one has no side effect.
    std::string Name = "SpectrumAnalyser"; // also the settings section
    bool AutoGain = false;
    bool ReverseSpectrum = false;
    bool Active = true;
    float SmoothDivider = 4.5f;
    bool SmoothSpectrum = true;
    int32_t DefaultSmoothCount = 8;

    // The spectrum's channel gains and shift knobs where none are stored (the other modes take 1 and 0).
    static constexpr float kSpectrumGain = 0.5f;
    static constexpr float kSpectrumShift = -85.0f;

    // Properties.
    int32_t FrameRate() const { return frameRate_; }
    void setFrameRate(int32_t v) { frameRate_ = v; }
    int32_t SpectrumSmooth() const { return spectrumSmooth_; }
    // Also sets SmoothDivider to the sum of i / n for i = 1 to n, in Single precision (0 for n <= 0).
    void setSpectrumSmooth(int32_t n);
    bool HideFreqToolTip() const { return hideFreqToolTip_; }
    void setHideFreqToolTip(bool v) { hideFreqToolTip_ = v; }
    bool ShowNotch() const { return showNotch_; }
    void setShowNotch(bool v) { showNotch_ = v; }
    bool ShowFilter() const { return showFilter_; }
    void setShowFilter(bool v) { showFilter_ = v; }

protected:
    // The creation values, then what section Name and its mode sections hold. A setting that does not
    // convert or lies outside what the display can show keeps its default (with a trace line).
    explicit ScopeSettings(profile::SettingsStore& settings);
    ~ScopeSettings() = default;
    ScopeSettings(const ScopeSettings&) = delete;
    ScopeSettings& operator=(const ScopeSettings&) = delete;

    // Saves in the fixed order and commits. SpectrumWidth is written with them but never read back.
    void saveSettings(int32_t spectrumWidth);

private:
    void restoreSettings();

    profile::SettingsStore& settings_;
    int32_t frameRate_ = 1;
    int32_t spectrumSmooth_ = 8;
    bool hideFreqToolTip_ = false;
    bool showNotch_ = false;
    bool showFilter_ = true;
};

} // namespace display
