// The per-mode records: their scale defaults and the properties with side effects.
#include "display/ScopeModeSettings.h"

#include "display/AnalyserArithmetic.h"
#include "dsp/Nerix.h"

using display::detail::fail;

namespace display {

ScopeModeSettings::ScopeModeSettings() {
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

ScopeModeRec& ScopeModeSettings::rec() {
    if (mode_ < kModeSpectrum || mode_ > kModeXY) fail(runtime::err::kSubscriptOutOfRange, "mode");
    return scopeModes_[static_cast<std::size_t>(mode_)];
}

const ScopeModeRec& ScopeModeSettings::rec() const {
    return const_cast<ScopeModeSettings*>(this)->rec();
}

const ScopeModeRec& ScopeModeSettings::ScopeModes(int32_t m) const {
    if (m < 0 || m >= static_cast<int32_t>(scopeModes_.size()))
        fail(runtime::err::kSubscriptOutOfRange, "ScopeModes");
    return scopeModes_[static_cast<std::size_t>(m)];
}

void ScopeModeSettings::setTriggerChn(int16_t t) {
    ScopeModeRec& r = rec();
    r.TriggerChn = t;
    r.Chn1TriggerOn = t == 1;
    r.Chn2TriggerOn = t == 2;
}

void ScopeModeSettings::setChn1Shift(float s) {
    ScopeModeRec& r = rec();
    r.Chn1Shift = s;
    r.Chn1ShiftOffset = s / 150.0f * YScaleRange();
}

void ScopeModeSettings::setChn2Shift(float s) {
    ScopeModeRec& r = rec();
    r.Chn2Shift = s;
    r.Chn2ShiftOffset = s / 150.0f * YScaleRange();
}

float ScopeModeSettings::YScaleMax() const {
    const ScopeModeRec& r = rec();
    return r.LogMode ? r.LogMax : r.LinMax;
}

float ScopeModeSettings::YScaleRange() const {
    const ScopeModeRec& r = rec();
    return r.LogMode ? r.LogRange : r.LinRange;
}

void ScopeModeSettings::storeMode(int32_t m) {
    mode_ = m;
    if (m == kModeXY) {
        scopeModes_[kModeXY].Chn1Enabled = true;
        scopeModes_[kModeXY].Chn2Enabled = true;
    }
}

} // namespace display
