// The knob table: one ScrollLabel record per knob of the front panel (entries 1 to 24; entry 0 stands for
// no knob), and the knob step that the wheel hook and the knob keys share.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/HookMessage.h"

namespace frontpanel {

// The label a knob shows its value on: a caption, a text colour and, while it is marked, a border. The
// windows implement it.
class KnobLabel {
public:
    virtual ~KnobLabel() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setForeColor(int32_t bgr) = 0;
    // True: a fixed single line; false: none.
    virtual void setBorder(bool single) = 0;
};

} // namespace frontpanel

struct ScrollLabel {
    int16_t Index = 0;
    bool Disabled = false; // the wheel passes over it, and the highlight will not make it active
    float Max = 0;
    float Min = 0;
    float Default = 0;
    float Value = 0;
    float CtrlStep = 0;
    float Step = 0;
    float ShiftStep = 0;
    bool Updating = false; // the noise-reduction knob moves its twins: their handlers leave it alone
    std::string Text;
    bool ShowCaption = false; // a wheel or key step writes the caption
    std::string Format;       // number picture of the caption
    frontpanel::KnobLabel* Label = nullptr;
    std::function<void()> Apply;
    ui::HookMessage LastWheelMsg{}; // the wheel message that stepped it last
    int32_t FocusColour = 0;
    int32_t NormalColour = 0;
};

// Knob numbers. Those other parts of the window address by name keep their names.
inline constexpr int16_t kFrequencyReadoutKnob = 1;
inline constexpr int16_t kScopeChn1GainKnob = 2;
inline constexpr int16_t kScopeChn1ShiftKnob = 3;
inline constexpr int16_t kScopeChn2GainKnob = 4;
inline constexpr int16_t kScopeChn2ShiftKnob = 5;
inline constexpr int16_t kScopeXWidthKnob = 6;
inline constexpr int16_t kFilterHiKnob = 7;
inline constexpr int16_t kFilterLoKnob = 8;
inline constexpr int16_t kNBKnob = 9;
inline constexpr int16_t kOutVolKnob = 10;
inline constexpr int16_t kNotchCKnob = 11;
inline constexpr int16_t kNotchWKnob = 12;
inline constexpr int16_t kAGCAttackKnob = 13;
inline constexpr int16_t kAGCDecayKnob = 14;
inline constexpr int16_t kScopeXCentreKnob = 15;
inline constexpr int16_t PicScopeIndex = 16;
inline constexpr int16_t kIFHiKnob = 17;
inline constexpr int16_t kIFLoKnob = 18;
inline constexpr int16_t lblSpectrumSmoothIndex = 19;
inline constexpr int16_t lblBFOIndex = 20;
inline constexpr int16_t lblY1BrightIndex = 21;
inline constexpr int16_t lblY2BrightIndex = 22;
inline constexpr int16_t lblIFShiftIndex = 23;
inline constexpr int16_t lblFrameRateIndex = 24;

inline constexpr int16_t kKnobCount = 25;
using CtlArray = std::array<ScrollLabel, kKnobCount>;

namespace frontpanel {

enum class KnobDirection { Up, Down };

// The wheel's step: Ctrl wins over Shift (key flags of the wheel message's wParam).
float wheelStep(const ScrollLabel& knob, int32_t wParam);
// The keys' step: Shift wins over Ctrl (Shift mask 1 Shift, 2 Ctrl); Alt plays no part.
float keyStep(const ScrollLabel& knob, int16_t shift);

// The knob's Value in its Format; the caption a step or a reset writes.
std::string knobCaption(const ScrollLabel& knob);
// Writes the knob's Value, or another number it shows, as its caption: in its Format, when it has one
// and a label.
void writeCaption(ScrollLabel& knob);
void writeCaption(ScrollLabel& knob, double shown);

// Moves Value by one step. Only the limit in the direction of travel is tested, so a Value above Max
// (set by other code) stays above it when stepped down.
void stepValue(ScrollLabel& knob, KnobDirection direction, float step);
// One knob step: the value, then the caption when ShowCaption, then Apply.
void StepKnob(ScrollLabel& knob, KnobDirection direction, float step);

// The entry a knob number names; a number outside 0 to 24 raises Subscript out of range.
ScrollLabel& knobAt(CtlArray& ctlArray, int32_t index);

} // namespace frontpanel
