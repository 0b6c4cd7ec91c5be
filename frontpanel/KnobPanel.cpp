// The knob table's filling, the knob keys, the labels' hover and resets, and the knob frames.
#include "frontpanel/KnobPanel.h"

#include <iterator>
#include <vector>

#include "frontpanel/StartUpTraces.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {

constexpr int32_t kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int32_t kKeyA = 65, kKeyZ = 90, kKeySpace = 32;
constexpr int16_t kFirstKeyKnob = 1, kLastKeyKnob = 20;

// A quarter of the 48000 Hz sample rate.
constexpr float kFilterHiMax = 48000.0f / 4;

// A knob record's fields as the start-up fills them.
struct KnobValues {
    float Max, Min, Default, Value, CtrlStep, Step, ShiftStep;
    const char* Format;
    bool ShowCaption;
};

// Values that are not the table's own, taken at the knob's step.
enum class Vary : uint8_t {
    None,
    NotchRange, // the audio notch's range, from the notch ranges filled at this step
    Smoothing,  // Default and Value: the analyser's default and present smoothing
    FrameRate,  // Value: the analyser's frame rate
    BaseIf,     // Max and Min: plus and minus the base IF
};

// What follows a knob's filling, in this order.
enum Then : uint8_t { kApply = 1, kCaption = 2, kDisable = 4 };

using TwinStep = std::function<void(const ScrollLabel&)> TwinSetUp::*;

// One step of the filling: a knob filled (then applied, captioned, disabled), a twin control set up from
// a knob, or nothing beyond the step's trace.
struct KnobStep {
    constexpr KnobStep() = default;
    constexpr KnobStep(int16_t k, KnobValues v, uint8_t then = 0, Vary vary = Vary::None)
        : knob(k), values(v), vary(vary), applies((then & kApply) ? k : int16_t{0}),
          caption((then & kCaption) != 0), disable((then & kDisable) != 0) {}
    constexpr KnobStep(TwinStep twin, int16_t k) : knob(k), twin(twin) {}
    // The apply routine of another knob after this one's filling.
    constexpr KnobStep applying(int16_t other) const {
        KnobStep s = *this;
        s.applies = other;
        return s;
    }

    int16_t knob = 0;
    KnobValues values{};
    Vary vary = Vary::None;
    int16_t applies = 0;
    bool caption = false;
    bool disable = false;
    TwinStep twin = nullptr;
};

// The start-up's steps, one for each text of kKnobTableTraces. Knob 15 runs before 6 and again after it,
// and 23 before 20, since their routines read each other.
constexpr KnobStep kKnobSteps[] = {
    {},
    {kFrequencyReadoutKnob, {0, 0, 0, 0, 0.1f, 1, 10, "", false}},
    {},
    {kScopeChn1GainKnob, {99, 0, 1, 1, 0.01f, 0.1f, 1, "#0.0", true}, kCaption},
    {kScopeChn1ShiftKnob, {100, -100, 0, 0, 0.1f, 1, 10, "#0", true}, kCaption},
    {kScopeChn2GainKnob, {99, 0, 1, 1, 0.01f, 0.1f, 1, "#0.0", true}, kCaption},
    {kScopeChn2ShiftKnob, {100, -100, 0, 0, 0.1f, 1, 10, "#0", true}, kCaption},
    {kFilterHiKnob, {kFilterHiMax, 0, 0, 0, 1, 10, 50, "#0", true}},
    {kFilterLoKnob, {1999, 0, 0, 0, 1, 10, 50, "#0", true}},
    {kNBKnob, {10000, 0, 0, 0, 1, 10, 50, "#0.00", false}, kApply},
    {&TwinSetUp::nbSlider, kNBKnob},
    {&TwinSetUp::nbDial, kNBKnob},
    {kOutVolKnob, {8000, -10000, 0, 0, 10, 50, 200, "0.0", false}, kApply},
    {&TwinSetUp::volDial, kOutVolKnob},
    {&TwinSetUp::volSlider, kOutVolKnob},
    // The notch-type switch replaces the audio notch's range with the other row's.
    {kNotchCKnob, {0, 0, 1000, 1000, 1, 10, 50, "#0", false}, kApply | kDisable, Vary::NotchRange},
    {kNotchWKnob, {5000, 0, 100, 100, 1, 10, 50, "#0", false}, kApply | kDisable},
    {kAGCAttackKnob, {100, 5, 5, 5, 1, 1, 10, "#0.0", false}, kApply},
    // Starts below its Min: the first step down gives the Min, the first step up Min + Step.
    {kAGCDecayKnob, {200, 10, 5, 5, 1, 10, 50, "#0.0", false}, kApply},
    // Half the width's 1023, truncated.
    {kScopeXCentreKnob, {1023, 0, 511, 511, 1, 10, 50, "#,###", false}, kApply},
    // Now the span comes from both knobs.
    KnobStep{kScopeXWidthKnob, {1023, 10, 1023, 1023, 1, 10, 50, "#,###", false}}.applying(kScopeXCentreKnob),
    {PicScopeIndex, {0, 0, 0, 0, 0, 0, 0, "", false}},
    {kIFHiKnob, {6000, 0, 6000, 6000, 1, 10, 50, "#0", true}, kApply | kCaption | kDisable},
    {kIFLoKnob, {6000, 0, 0, 0, 1, 10, 50, "#0", true}, kApply | kCaption | kDisable},
    {lblSpectrumSmoothIndex, {24, 1, 0, 0, 1, 1, 4, "#0", true}, kApply | kCaption, Vary::Smoothing},
    {lblFrameRateIndex, {16, 1, 1, 0, 1, 1, 4, "#0", true}, kApply | kCaption, Vary::FrameRate},
    {lblIFShiftIndex, {0, 0, 0, 0, 1, 20, 100, "#0", true}, kApply | kCaption, Vary::BaseIf},
    {lblBFOIndex, {0, 0, 0, 0, 1, 20, 100, "#0", true}, kApply | kCaption, Vary::BaseIf},
    {lblY1BrightIndex, {100, 1, 100, 100, 1, 2, 10, "#0", true}, kApply | kCaption},
    {lblY2BrightIndex, {100, 1, 100, 100, 1, 2, 10, "#0", true}, kApply | kCaption},
};
static_assert(std::size(kKnobSteps) == std::size(kKnobTableTraces));

bool isDisplayKnob(int16_t k) {
    switch (k) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 15:
    case 19:
    case 21:
    case 22:
    case 24:
        return true;
    default:
        return false;
    }
}

// An analyser setting; 0 when there is no analyser or it fails.
float analyserValue(const AnalyserKnobs* analyser, int32_t (AnalyserKnobs::*get)() const) {
    float v = 0;
    runtime::resumeNext([&] {
        if (!analyser) runtime::raise(runtime::err::kObjectNotSet, "SpectrumAnalyser");
        v = static_cast<float>((analyser->*get)());
    });
    return v;
}

// The record's fields from the table, its label and its apply routine. The colours stay as the window's
// colouring gave them, the display knobs' excepted.
void fillRecord(ScrollLabel& k, int16_t index, const KnobValues& v, KnobLabel* label,
                std::function<void()> apply, const AnalyserKnobs* analyser) {
    ScrollLabel filled;
    filled.Index = index;
    filled.Max = v.Max;
    filled.Min = v.Min;
    filled.Default = v.Default;
    filled.Value = v.Value;
    filled.CtrlStep = v.CtrlStep;
    filled.Step = v.Step;
    filled.ShiftStep = v.ShiftStep;
    filled.Format = v.Format;
    filled.ShowCaption = v.ShowCaption;
    filled.Label = label ? label : k.Label;
    filled.Apply = std::move(apply);
    filled.FocusColour = k.FocusColour;
    filled.NormalColour = k.NormalColour;
    k = std::move(filled);
    if (!isDisplayKnob(index)) return;
    runtime::resumeNext(
        [&] { k.NormalColour = analyser ? analyser->ControlColourNormal() : k.NormalColour; });
    runtime::resumeNext([&] { k.FocusColour = analyser ? analyser->ControlColourFocused() : k.FocusColour; });
}

} // namespace

void KnobPanel::setKnobLabel(int16_t k, KnobLabel* label) {
    knob(k);
    labels_[static_cast<size_t>(k)] = label;
}

const AfFilterPresetRow& KnobPanel::afPreset() const {
    if (state_.FilterMode < 0 || state_.FilterMode >= static_cast<int32_t>(tables_.AfFilterPreset.size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "AfFilterPreset");
    return tables_.AfFilterPreset[static_cast<size_t>(state_.FilterMode)];
}

const IfFilterRow& KnobPanel::ifRow() const {
    if (state_.IFFilterMode < 0 ||
        state_.IFFilterMode >= static_cast<int32_t>(tables_.IfFilterTable.size()) || state_.DemodMode < 0 ||
        state_.DemodMode >= static_cast<int32_t>(tables_.IfFilterTable[0].size()))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "IfFilterTable");
    return tables_
        .IfFilterTable[static_cast<size_t>(state_.IFFilterMode)][static_cast<size_t>(state_.DemodMode)];
}

void KnobPanel::FillKnobTable(const TwinSetUp& twins, const std::function<void(const char*)>& trace) {
    using runtime::resumeNext;
    const float baseIf = static_cast<float>(state_.BaseIF);
    for (size_t i = 0; i < std::size(kKnobSteps); ++i) {
        if (trace) trace(kKnobTableTraces[i]);
        const KnobStep& step = kKnobSteps[i];
        if (step.twin) {
            if (const auto& setUp = twins.*step.twin) resumeNext([&] { setUp(knob(step.knob)); });
            continue;
        }
        if (step.knob == 0) continue;
        KnobValues v = step.values;
        switch (step.vary) {
        case Vary::NotchRange:
            tables_.NotchKnobRanges = DefaultNotchKnobRanges();
            v.Max = tables_.NotchKnobRanges[0].Max;
            v.Min = tables_.NotchKnobRanges[0].Min;
            break;
        case Vary::Smoothing:
            v.Default = analyserValue(analyser_, &AnalyserKnobs::DefaultSmoothCount);
            v.Value = analyserValue(analyser_, &AnalyserKnobs::SpectrumSmooth);
            break;
        case Vary::FrameRate:
            v.Value = analyserValue(analyser_, &AnalyserKnobs::FrameRate);
            break;
        case Vary::BaseIf:
            v.Max = baseIf;
            v.Min = -baseIf;
            break;
        case Vary::None:
            break;
        }
        fillRecord(knob(step.knob), step.knob, v, labels_[static_cast<size_t>(step.knob)],
                   routines_.applyOf(step.knob), analyser_);
        if (step.applies != 0) resumeNext([&] { knob(step.applies).Apply(); });
        if (step.caption) resumeNext([&] { writeCaption(knob(step.knob)); });
        if (step.disable) knob(step.knob).Disabled = true;
    }
}

void KnobPanel::Form_KeyDown(int16_t KeyCode, int16_t Shift) {
    if (state_.ActiveKnob == kFrequencyReadoutKnob) return;
    const int16_t k = state_.ActiveKnob;
    ScrollLabel& active = knob(k);
    const float step = keyStep(active, Shift);
    switch (KeyCode) {
    case kKeyUp:
    case kKeyA:
        StepKnob(active, KnobDirection::Up, step);
        break;
    case kKeyDown:
    case kKeyZ:
        StepKnob(active, KnobDirection::Down, step);
        break;
    case kKeyLeft:
    case kKeyRight: {
        shell_.UnhighlightValueLabel();
        int16_t next = 0;
        if (KeyCode == kKeyLeft) {
            next = static_cast<int16_t>(k - 1);
            if (next < kFirstKeyKnob) next = kLastKeyKnob;
        } else {
            next = static_cast<int16_t>(k + 1);
            if (next > kLastKeyKnob) next = kFirstKeyKnob;
        }
        state_.ActiveKnob = next;
        int16_t index = -1;
        shell_.HighlightValueLabel(index);
        break;
    }
    case kKeySpace:
        if (k == kFilterHiKnob) active.Default = static_cast<float>(afPreset().DefaultHi);
        if (k == kFilterLoKnob) active.Default = static_cast<float>(afPreset().DefaultLo);
        active.Value = active.Default;
        if (active.ShowCaption) writeCaption(active);
        if (active.Apply) active.Apply();
        break;
    default:
        break;
    }
}

void KnobPanel::knobLabel_MouseMove(int16_t k) {
    shell_.DarkenControls();
    int16_t index = k;
    shell_.HighlightValueLabel(index);
    if (k == kFilterLoKnob) shell_.focusSink();
}

void KnobPanel::knobLabel_MouseDown(int16_t k, int16_t Button) {
    constexpr int16_t kRight = 2;
    ScrollLabel& target = knob(k);
    if (k == kAGCAttackKnob && Button == 1) state_.ActiveKnob = kAGCAttackKnob;
    if (Button != kRight && k != kScopeXCentreKnob) return;

    bool writesCaption = false;
    switch (k) {
    case 2:
    case 3:
    case 4:
    case 5:
    case lblY1BrightIndex:
    case lblY2BrightIndex:
        target.Value = target.Default;
        writesCaption = true;
        break;
    case kFilterHiKnob:
        target.Value = static_cast<float>(afPreset().DefaultHi);
        writesCaption = true;
        break;
    case kFilterLoKnob:
        target.Value = static_cast<float>(afPreset().DefaultLo);
        writesCaption = true;
        break;
    case kAGCAttackKnob:
    case kAGCDecayKnob:
        if (target.Default <= 0) target.Default = (target.Max - target.Min) / 2;
        target.Value = target.Default;
        break;
    case kIFHiKnob:
    case kIFLoKnob:
        if (state_.DemodMode == DemodMode::DRM || state_.DemodMode > DemodMode::AM1)
            target.Value = target.Default;
        else
            target.Value = static_cast<float>(k == kIFHiKnob ? ifRow().DefaultHi : ifRow().DefaultLo);
        break;
    case kScopeXWidthKnob:
    case kOutVolKnob:
    case kNotchWKnob:
    case lblSpectrumSmoothIndex:
    case lblFrameRateIndex:
    case kNBKnob:
    case kNotchCKnob:
    case kScopeXCentreKnob:
    case lblBFOIndex:
    case lblIFShiftIndex:
        target.Value = target.Default;
        break;
    default:
        return; // the readout and the spectrum picture have no label
    }
    if (writesCaption) writeCaption(target);
    if (target.Apply) target.Apply();
}

void KnobPanel::frame_MouseMove(KnobFrame frame) {
    shell_.FocusFrame(frame);
    std::vector<int16_t> own;
    switch (frame) {
    case KnobFrame::frAFOut:
        own = {kOutVolKnob};
        break;
    case KnobFrame::frAGC:
        own = {kAGCAttackKnob, kAGCDecayKnob};
        break;
    case KnobFrame::frDispMode:
        own = {};
        break;
    case KnobFrame::frIFFilter:
        own = {kIFHiKnob, kIFLoKnob};
        break;
    case KnobFrame::frNB:
        own = {kNBKnob};
        break;
    case KnobFrame::frNotch:
        own = {kNotchCKnob, kNotchWKnob};
        break;
    default:
        return; // the scope's frames leave the active knob marked
    }
    shell_.UnhighlightValueLabel();
    for (const int16_t k : own)
        shell_.UnhighlightValueLabel(k);
}

} // namespace frontpanel
