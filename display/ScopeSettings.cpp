// The display's settings: creation values, restore and save, and the properties with side effects.
#include "display/ScopeSettings.h"

#include "display/AnalyserArithmetic.h"
#include "dsp/Nerix.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/SettingsSection.h"

using display::detail::fail;
using display::detail::kOwner;

namespace display {

namespace {

// A restored number outside what the display can show keeps its default, so one bad value cannot
// break the display for every later run.
int32_t withinRange(int32_t value, int32_t lo, int32_t hi, int32_t fallback, const char* key) {
    if (value >= lo && value <= hi) return value;
    runtime::AddLog(std::string(kOwner) + ".RestoreSettings : \"" + key +
                    "\"=" + runtime::CStr(int64_t{value}) + " is out of range, " +
                    runtime::CStr(int64_t{fallback}) + " used");
    return fallback;
}

} // namespace

ScopeSettings::ScopeSettings(profile::SettingsStore& settings) : settings_(settings) {
    setScaleDefaults();
    restoreSettings();
    AutoGain = false; // the main window's check box decides, not the stored value
}

void ScopeSettings::setScaleDefaults() {
    ScopeModeRec& spectrum = scopeModes_[kModeSpectrum];
    spectrum.LinMax = 24000000.0f;
    spectrum.LinMin = -24000000.0f;
    spectrum.LinRange = spectrum.LinMax - spectrum.LinMin;
    spectrum.LogMax = 5.0f;
    spectrum.LogMin = -0.000001f;
    spectrum.LogRange = spectrum.LogMax - spectrum.LogMin; // 5.000001 in Single
    for (const int32_t m : {kModeTime, kModeXY}) {
        ScopeModeRec& r = scopeModes_[static_cast<std::size_t>(m)];
        r.LinMax = 32768.0f;
        r.LinMin = -32768.0f;
        r.LinRange = r.LinMax - r.LinMin;
        r.LogMax = static_cast<float>(Nerix::Log10(32768.0));
        r.LogMin = static_cast<float>(-0.01 * r.LogMax);
        r.LogRange = r.LogMax - r.LogMin;
    }
}

void ScopeSettings::restoreSettings() {
    const SettingsSection s(settings_, Name, kOwner);
    Active = s.readBool("Active", Active);
    storeMode(withinRange(s.readInt32("Mode", mode_), kModeSpectrum, kModeXY, 0, "Mode"));
    SmoothSpectrum = s.readBool("SmoothSpectrum", SmoothSpectrum);
    setShowNotch(s.readBool("ShowNotch", showNotch_));
    setShowFilter(s.readBool("ShowFilter", showFilter_));
    AutoGain = s.readBool("AutoGain", AutoGain);
    ReverseSpectrum = s.readBool("ReverseSpectrum", ReverseSpectrum);
    setHideFreqToolTip(s.readBool("HideFreqToolTip", hideFreqToolTip_));
    setSpectrumSmooth(withinRange(s.readInt32("SpectrumSmooth", spectrumSmooth_), 1, 24, spectrumSmooth_,
                                  "SpectrumSmooth"));
    setFrameRate(withinRange(s.readInt32("FrameRate", frameRate_), 1, 16, frameRate_, "FrameRate"));
    DefaultSmoothCount = withinRange(s.readInt32("DefaultSmoothCount", DefaultSmoothCount), 1, 24,
                                     DefaultSmoothCount, "DefaultSmoothCount");
    setY1BaseColour(s.readInt32("Y1BaseColour", y1BaseColour_));
    setY2BaseColour(s.readInt32("Y2BaseColour", y2BaseColour_));
    ControlColourNormal = s.readInt32("ControlColourNormal", ControlColourNormal);
    ControlColourFocused = s.readInt32("ControlColourFocused", ControlColourFocused);
    setNotchFilterColour(s.readInt32("NotchFilterColour", notchFilterColour_));
    setFilterCurveColour(s.readInt32("FilterCurveColour", filterCurveColour_));
    setScopeBackColour(s.readInt32("ScopeBackColour", scopeBackColour_));
    setGraticuleColour(s.readInt32("GraticuleColour", graticuleColour_));
    setXTextColour(s.readInt32("XTextColour", xTextColour_));
    setYTextColour(s.readInt32("YTextColour", yTextColour_));

    // The records take their values straight, without the properties' side effects, but a gain of 0
    // becomes what the property makes of it.
    for (std::size_t i = 0; i < scopeModes_.size(); ++i) {
        const SettingsSection m(settings_, Name + ".Mode." + std::to_string(i), kOwner);
        ScopeModeRec& r = scopeModes_[i];
        r.LogMode = m.readBool("LogMode", true);
        r.FastMode = m.readBool("FastMode", false);
        r.Chn1Shift = m.readSingle("Chn1.Shift", 0.0f);
        r.Chn2Shift = m.readSingle("Chn2.Shift", 0.0f);
        r.Chn1Gain = storedGain(m.readSingle("Chn1.Gain", 1.0f));
        r.Chn2Gain = storedGain(m.readSingle("Chn2.Gain", 1.0f));
        r.Chn1Enabled = m.readBool("Chn1.Enabled", true);
        r.Chn2Enabled = m.readBool("Chn2.Enabled", true);
        r.Chn1TriggerOn = m.readBool("Chn1.TriggerOn", true);
        r.Chn2TriggerOn = m.readBool("Chn2.TriggerOn", false);
    }
}

void ScopeSettings::saveSettings(int32_t spectrumWidth) {
    for (std::size_t i = 0; i < scopeModes_.size(); ++i) {
        SettingsSection m(settings_, Name + ".Mode." + std::to_string(i), kOwner);
        const ScopeModeRec& r = scopeModes_[i];
        m.writeBool("LogMode", r.LogMode);
        m.writeBool("FastMode", r.FastMode);
        m.writeSingle("Chn1.Shift", r.Chn1Shift);
        m.writeSingle("Chn2.Shift", r.Chn2Shift);
        m.writeSingle("Chn1.Gain", r.Chn1Gain);
        m.writeSingle("Chn2.Gain", r.Chn2Gain);
        m.writeBool("Chn1.Enabled", r.Chn1Enabled);
        m.writeBool("Chn2.Enabled", r.Chn2Enabled);
        m.writeBool("Chn1.TriggerOn", r.Chn1TriggerOn);
        m.writeBool("Chn2.TriggerOn", r.Chn2TriggerOn);
    }
    SettingsSection s(settings_, Name, kOwner);
    s.writeInt("Mode", mode_);
    s.writeBool("ShowNotch", showNotch_);
    s.writeBool("ShowFilter", showFilter_);
    s.writeBool("ReverseSpectrum", ReverseSpectrum);
    s.writeBool("Active", Active);
    s.writeBool("SmoothSpectrum", SmoothSpectrum);
    s.writeBool("AutoGain", AutoGain);
    s.writeInt("SpectrumWidth", spectrumWidth);
    runtime::resumeNext([&] { s.writeInt("TriggerChn", TriggerChn()); }); // a mode with no record has none
    s.writeBool("HideFreqTooltip", hideFreqToolTip_);
    s.writeInt("SpectrumSmooth", spectrumSmooth_);
    s.writeInt("FrameRate", frameRate_);
    s.writeInt("DefaultSmoothCount", DefaultSmoothCount);
    s.writeInt("Y1BaseColour", y1BaseColour_);
    s.writeInt("Y2BaseColour", y2BaseColour_);
    s.writeInt("ControlColourNormal", ControlColourNormal);
    s.writeInt("ControlColourFocused", ControlColourFocused);
    s.writeInt("NotchFilterColour", notchFilterColour_);
    s.writeInt("FilterCurveColour", filterCurveColour_);
    s.writeInt("ScopeBackColour", scopeBackColour_);
    s.writeInt("GraticuleColour", graticuleColour_);
    s.writeInt("XTextColour", xTextColour_);
    s.writeInt("YTextColour", yTextColour_);
    s.commit();
}

// ---- properties

void ScopeSettings::setSpectrumSmooth(int32_t n) {
    spectrumSmooth_ = n;
    if (n <= 0) {
        SmoothDivider = 0.0f;
        return;
    }
    // Beyond what any history can hold only the sum's value matters, not a billion-step loop.
    if (n > kSmoothHistoryLength) {
        SmoothDivider = static_cast<float>((static_cast<double>(n) + 1.0) / 2.0);
        return;
    }
    float sum = 0.0f;
    for (int32_t i = 1; i <= n; ++i)
        sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(i) / n);
    SmoothDivider = sum;
}

void ScopeSettings::SetChannelBrightness(int16_t Channel, int16_t level) {
    const int32_t base = Channel == 0 ? y1BaseColour_ : Channel == 1 ? y2BaseColour_ : 0;
    // byte x level / 100 rounded, halves to even; only the low 8 bits count.
    const auto scale = [level](int32_t byte) {
        return runtime::CLng(static_cast<double>(int64_t{byte} * level) / 100.0) & 0xFF;
    };
    const int32_t blue = scale(base / 65536);
    const int32_t green = scale((base / 256) & 255);
    const int32_t red = scale(base & 255);
    const int32_t colour = (red + 256 * green + 65536 * blue) & 0xFFFFFF;
    if (Channel == 0)
        Y1Colour = colour;
    else if (Channel == 1)
        Y2Colour = colour;
}

ScopeModeRec& ScopeSettings::rec() {
    if (mode_ < kModeSpectrum || mode_ > kModeXY) fail(runtime::err::kSubscriptOutOfRange, "mode");
    return scopeModes_[static_cast<std::size_t>(mode_)];
}

const ScopeModeRec& ScopeSettings::rec() const {
    return const_cast<ScopeSettings*>(this)->rec();
}

const ScopeModeRec& ScopeSettings::ScopeModes(int32_t m) const {
    if (m < 0 || m >= static_cast<int32_t>(scopeModes_.size()))
        fail(runtime::err::kSubscriptOutOfRange, "ScopeModes");
    return scopeModes_[static_cast<std::size_t>(m)];
}

void ScopeSettings::setTriggerChn(int16_t t) {
    ScopeModeRec& r = rec();
    r.TriggerChn = t;
    r.Chn1TriggerOn = t == 1;
    r.Chn2TriggerOn = t == 2;
}

void ScopeSettings::setChn1Shift(float s) {
    ScopeModeRec& r = rec();
    r.Chn1Shift = s;
    r.Chn1ShiftOffset = s / 150.0f * YScaleRange();
}

void ScopeSettings::setChn2Shift(float s) {
    ScopeModeRec& r = rec();
    r.Chn2Shift = s;
    r.Chn2ShiftOffset = s / 150.0f * YScaleRange();
}

float ScopeSettings::YScaleMax() const {
    const ScopeModeRec& r = rec();
    return r.LogMode ? r.LogMax : r.LinMax;
}

float ScopeSettings::YScaleRange() const {
    const ScopeModeRec& r = rec();
    return r.LogMode ? r.LogRange : r.LinRange;
}

void ScopeSettings::storeMode(int32_t m) {
    mode_ = m;
    if (m == kModeXY) {
        scopeModes_[kModeXY].Chn1Enabled = true;
        scopeModes_[kModeXY].Chn2Enabled = true;
    }
}

} // namespace display
