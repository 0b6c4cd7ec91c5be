// The display's settings: what it restores at creation and saves when it goes, the colours, and the
// per-mode records that the switches, the knobs and the configuration dialog set.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/profile/SettingsStore.h"

namespace display {

// The display modes, the values of the mode property.
inline constexpr int32_t kModeSpectrum = 0;
inline constexpr int32_t kModeTime = 1;
inline constexpr int32_t kModeXY = 2;

// Values each averaging history holds: as many frames of Points \ 2 values as fit.
inline constexpr int32_t kSmoothHistoryLength = 65537;

} // namespace display

// The settings of one display mode.
struct ScopeModeRec {
    float Chn1Gain = 0;
    float Chn1Shift = 0;       // the knob value
    float Chn1ShiftOffset = 0; // the shift in display units
    bool Chn1Enabled = false;
    bool Chn1TriggerOn = false;
    float Chn2Gain = 0;
    float Chn2Shift = 0;
    float Chn2ShiftOffset = 0;
    bool Chn2Enabled = false;
    bool Chn2TriggerOn = false;
    int16_t TriggerChn = 0; // 0 none, 1 channel 1, 2 channel 2
    bool LogMode = false;
    bool FastMode = false; // no averaging
    float LinMax = 0, LinMin = 0, LinRange = 0;
    float LogMax = 0, LogMin = 0, LogRange = 0;
};

namespace display {

class ScopeSettings {
public:
    // Public fields: writing one has no side effect.
    std::string Name = "SpectrumAnalyser"; // also the settings section
    bool AutoGain = false;
    bool ReverseSpectrum = false;
    bool Active = true;
    float SmoothDivider = 4.5f;
    bool SmoothSpectrum = true;
    int32_t DefaultSmoothCount = 8;
    int32_t Y1Colour = 0x00FF00, Y2Colour = 0x00FFFF;
    int32_t ControlColourNormal = 192, ControlColourFocused = 255;

    // Properties.
    int32_t FrameRate() const { return frameRate_; }
    void setFrameRate(int32_t v) { frameRate_ = v; }
    int32_t SpectrumSmooth() const { return spectrumSmooth_; }
    // Also sets SmoothDivider to the sum of i / n for i = 1 to n, in Single precision (0 for n <= 0).
    void setSpectrumSmooth(int32_t n);
    int32_t YTextColour() const { return yTextColour_; }
    void setYTextColour(int32_t v) { yTextColour_ = v; }
    int32_t XTextColour() const { return xTextColour_; }
    void setXTextColour(int32_t v) { xTextColour_ = v; }
    int32_t FilterCurveColour() const { return filterCurveColour_; }
    void setFilterCurveColour(int32_t v) { filterCurveColour_ = v; }
    int32_t NotchFilterColour() const { return notchFilterColour_; }
    void setNotchFilterColour(int32_t v) { notchFilterColour_ = v; }
    int32_t GraticuleColour() const { return graticuleColour_; }
    void setGraticuleColour(int32_t v) { graticuleColour_ = v; }
    int32_t ScopeBackColour() const { return scopeBackColour_; }
    void setScopeBackColour(int32_t v) { scopeBackColour_ = v; }
    bool HideFreqToolTip() const { return hideFreqToolTip_; }
    void setHideFreqToolTip(bool v) { hideFreqToolTip_ = v; }
    int32_t Y2BaseColour() const { return y2BaseColour_; }
    void setY2BaseColour(int32_t v) { y2BaseColour_ = v; }
    int32_t Y1BaseColour() const { return y1BaseColour_; }
    void setY1BaseColour(int32_t v) { y1BaseColour_ = v; }

    // Channel 0 or 1 takes its base colour at level percent into Y1Colour or Y2Colour; any other channel
    // changes nothing.
    void SetChannelBrightness(int16_t Channel, int16_t level);

    // Properties of the current mode's record; a mode outside 0..2 raises Subscript out of range (9).
    bool LogMode() const { return rec().LogMode; }
    void setLogMode(bool v) { rec().LogMode = v; }
    bool FastMode() const { return rec().FastMode; }
    void setFastMode(bool v) { rec().FastMode = v; }
    bool Chn1Trig() const { return rec().Chn1TriggerOn; }
    void setChn1Trig(bool v) { rec().Chn1TriggerOn = v; }
    bool Chn2Trig() const { return rec().Chn2TriggerOn; }
    void setChn2Trig(bool v) { rec().Chn2TriggerOn = v; }
    bool Chn1Enabled() const { return rec().Chn1Enabled; }
    void setChn1Enabled(bool v) { rec().Chn1Enabled = v; }
    bool Chn2Enabled() const { return rec().Chn2Enabled; }
    void setChn2Enabled(bool v) { rec().Chn2Enabled = v; }
    float Chn1Gain() const { return rec().Chn1Gain; }
    // 0 is stored as 0.000001, so that no log frame divides by zero.
    void setChn1Gain(float v) { rec().Chn1Gain = storedGain(v); }
    float Chn2Gain() const { return rec().Chn2Gain; }
    void setChn2Gain(float v) { rec().Chn2Gain = storedGain(v); }
    int16_t TriggerChn() const { return rec().TriggerChn; }
    // Also sets the trigger flags: 1 channel 1's, 2 channel 2's, anything else neither.
    void setTriggerChn(int16_t t);
    float Chn1Shift() const { return rec().Chn1Shift; }
    // Also sets the shift in display units: s / 150 of YScaleRange.
    void setChn1Shift(float s);
    float Chn2Shift() const { return rec().Chn2Shift; }
    void setChn2Shift(float s);
    // The current mode's scale: the log values in log mode, else the linear ones.
    float YScaleMax() const;
    float YScaleRange() const;
    int32_t mode() const { return mode_; }
    bool ShowNotch() const { return showNotch_; }
    void setShowNotch(bool v) { showNotch_ = v; }
    bool ShowFilter() const { return showFilter_; }
    void setShowFilter(bool v) { showFilter_ = v; }

    const ScopeModeRec& ScopeModes(int32_t m) const;

protected:
    // The creation values, then what section Name and its mode sections hold. A setting that does not
    // convert or lies outside what the display can show keeps its default (with a trace line).
    explicit ScopeSettings(profile::SettingsStore& settings);
    ~ScopeSettings() = default;
    ScopeSettings(const ScopeSettings&) = delete;
    ScopeSettings& operator=(const ScopeSettings&) = delete;

    // Stores m; m 2 turns both channels of mode 2 on. The owner refits the pictures.
    void storeMode(int32_t m);
    // Saves in the fixed order and commits. SpectrumWidth is written with them but never read back.
    void saveSettings(int32_t spectrumWidth);

private:
    ScopeModeRec& rec();
    const ScopeModeRec& rec() const;
    static float storedGain(float v) { return v == 0.0f ? 0.000001f : v; }
    void setScaleDefaults();
    void restoreSettings();

    profile::SettingsStore& settings_;
    int32_t frameRate_ = 1;
    int32_t spectrumSmooth_ = 8;
    int32_t yTextColour_ = 0xFF7F00, xTextColour_ = 0xFFFF00;
    int32_t filterCurveColour_ = 0xC0C0C0, notchFilterColour_ = 0xC0FF60;
    int32_t graticuleColour_ = 0x007F00, scopeBackColour_ = 0;
    bool hideFreqToolTip_ = false;
    int32_t y2BaseColour_ = 0x00FFFF, y1BaseColour_ = 0x00FF00;
    std::array<ScopeModeRec, 3> scopeModes_{};
    int32_t mode_ = kModeSpectrum;
    bool showNotch_ = false;
    bool showFilter_ = true;
};

} // namespace display
