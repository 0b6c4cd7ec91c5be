// What the configuration dialog reads of objects other windows own: the spectrum analyser's display
// settings and the front panel's knob labels. The main window hands its objects in; either may be absent,
// and a step of the dialog that needs an absent one is skipped with a trace line.
#pragma once

#include <cstdint>

namespace config {

// The spectrum analyser's colours (0x00BBGGRR) and its frequency tooltip switch.
class AnalyserSettings {
public:
    virtual ~AnalyserSettings() = default;
    virtual int32_t ScopeBackColour() const = 0;
    virtual int32_t GraticuleColour() const = 0;
    virtual int32_t Y1BaseColour() const = 0;
    virtual int32_t Y2BaseColour() const = 0;
    virtual int32_t FilterCurveColour() const = 0;
    virtual int32_t NotchFilterColour() const = 0;
    virtual int32_t XTextColour() const = 0;
    virtual int32_t YTextColour() const = 0;
    virtual bool HideFreqToolTip() const = 0;
};

// The knob labels' table, records numbered 1 to 24.
class KnobValues {
public:
    virtual ~KnobValues() = default;
    virtual float Value(int16_t knob) const = 0;
};

// The spectrum smoothing knob, whose value the dialog shows as the default smoothing count.
inline constexpr int16_t lblSpectrumSmoothIndex = 19;

} // namespace config
