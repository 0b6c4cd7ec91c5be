// The display's settings: restore and save, and the smoothing count's divider.
#include "display/ScopeSettings.h"

#include "display/AnalyserArithmetic.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/SettingsSection.h"

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
    restoreSettings();
    AutoGain = false; // the main window's check box decides, not the stored value
}

void ScopeSettings::restoreSettings() {
    const SettingsSection s(settings_, Name, kOwner);
    Active = s.readBool("Active", Active);
    storeMode(withinRange(s.readInt32("Mode", mode()), kModeSpectrum, kModeXY, 0, "Mode"));
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
    setY1BaseColour(s.readInt32("Y1BaseColour", Y1BaseColour()));
    setY2BaseColour(s.readInt32("Y2BaseColour", Y2BaseColour()));
    ControlColourNormal = s.readInt32("ControlColourNormal", ControlColourNormal);
    ControlColourFocused = s.readInt32("ControlColourFocused", ControlColourFocused);
    setNotchFilterColour(s.readInt32("NotchFilterColour", NotchFilterColour()));
    setFilterCurveColour(s.readInt32("FilterCurveColour", FilterCurveColour()));
    setScopeBackColour(s.readInt32("ScopeBackColour", ScopeBackColour()));
    setGraticuleColour(s.readInt32("GraticuleColour", GraticuleColour()));
    setXTextColour(s.readInt32("XTextColour", XTextColour()));
    setYTextColour(s.readInt32("YTextColour", YTextColour()));

    // The records take their values straight, without the properties' side effects, but a gain of 0
    // becomes what the property makes of it.
    for (std::size_t i = 0; i < kModes; ++i) {
        const SettingsSection m(settings_, Name + ".Mode." + std::to_string(i), kOwner);
        ScopeModeRec& r = record(i);
        // Samples reach the spectrum in 16-bit units, so a tone's power runs up to about 10^15: at gain 1
        // and shift 0 the log scale shows powers of 10^2.5 to 10^7.5 only, and anything stronger than a
        // tone at about -75 dBFS leaves the picture. Half the gain and the shift knob at -85 show powers
        // of about 10^5.3 to 10^15.3: noise at -60 dBFS near the bottom, a full-scale tone near the top.
        const bool spectrum = i == static_cast<std::size_t>(kModeSpectrum);
        const float shift = spectrum ? kSpectrumShift : 0.0f;
        const float gain = spectrum ? kSpectrumGain : 1.0f;
        r.LogMode = m.readBool("LogMode", true);
        r.FastMode = m.readBool("FastMode", false);
        r.Chn1Shift = m.readSingle("Chn1.Shift", shift);
        r.Chn2Shift = m.readSingle("Chn2.Shift", shift);
        r.Chn1Gain = storedGain(m.readSingle("Chn1.Gain", gain));
        r.Chn2Gain = storedGain(m.readSingle("Chn2.Gain", gain));
        r.Chn1Enabled = m.readBool("Chn1.Enabled", true);
        r.Chn2Enabled = m.readBool("Chn2.Enabled", true);
        r.Chn1TriggerOn = m.readBool("Chn1.TriggerOn", true);
        r.Chn2TriggerOn = m.readBool("Chn2.TriggerOn", false);
    }
}

void ScopeSettings::saveSettings(int32_t spectrumWidth) {
    for (std::size_t i = 0; i < kModes; ++i) {
        SettingsSection m(settings_, Name + ".Mode." + std::to_string(i), kOwner);
        const ScopeModeRec& r = record(i);
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
    s.writeInt("Mode", mode());
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
    s.writeInt("Y1BaseColour", Y1BaseColour());
    s.writeInt("Y2BaseColour", Y2BaseColour());
    s.writeInt("ControlColourNormal", ControlColourNormal);
    s.writeInt("ControlColourFocused", ControlColourFocused);
    s.writeInt("NotchFilterColour", NotchFilterColour());
    s.writeInt("FilterCurveColour", FilterCurveColour());
    s.writeInt("ScopeBackColour", ScopeBackColour());
    s.writeInt("GraticuleColour", GraticuleColour());
    s.writeInt("XTextColour", XTextColour());
    s.writeInt("YTextColour", YTextColour());
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

} // namespace display
