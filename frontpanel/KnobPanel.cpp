// The knob table's filling, the knob keys, the labels' hover and resets, and the knob frames.
#include "frontpanel/KnobPanel.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {

// A quarter of the 48000 Hz sample rate.
constexpr float kFilterHiMax = 48000.0f / 4;
// The demodulation mode without filter rows of its own (DRM).

constexpr int32_t kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;
constexpr int32_t kKeyA = 65, kKeyZ = 90, kKeySpace = 32;
constexpr int16_t kFirstKeyKnob = 1, kLastKeyKnob = 20;

struct KnobRow {
    int16_t k;
    float Max, Min, Default, Value, CtrlStep, Step, ShiftStep;
    const char* Format;
    bool ShowCaption;
};

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
    const auto step = [&](const char* text) {
        if (trace) trace(text);
    };
    const float baseIf = static_cast<float>(state_.BaseIF);

    // The record's fields from the knob table; its label, when it has one, and its apply routine. The
    // colours stay as the window's colouring gave them, the display knobs' excepted.
    const auto fill = [&](const KnobRow& r) {
        ScrollLabel& k = knob(r.k);
        ScrollLabel filled;
        filled.Index = r.k;
        filled.Max = r.Max;
        filled.Min = r.Min;
        filled.Default = r.Default;
        filled.Value = r.Value;
        filled.CtrlStep = r.CtrlStep;
        filled.Step = r.Step;
        filled.ShiftStep = r.ShiftStep;
        filled.Format = r.Format;
        filled.ShowCaption = r.ShowCaption;
        filled.Label = labels_[static_cast<size_t>(r.k)] ? labels_[static_cast<size_t>(r.k)] : k.Label;
        filled.Apply = routines_.applyOf(r.k);
        filled.FocusColour = k.FocusColour;
        filled.NormalColour = k.NormalColour;
        k = std::move(filled);
        if (isDisplayKnob(r.k)) {
            resumeNext(
                [&] { k.NormalColour = analyser_ ? analyser_->ControlColourNormal() : k.NormalColour; });
            resumeNext(
                [&] { k.FocusColour = analyser_ ? analyser_->ControlColourFocused() : k.FocusColour; });
        }
    };
    const auto apply = [&](int16_t k) { resumeNext([&] { knob(k).Apply(); }); };
    const auto caption = [&](int16_t k) { resumeNext([&] { writeCaption(knob(k)); }); };
    const auto analyserValue = [&](int32_t (AnalyserKnobs::*get)() const) {
        float v = 0;
        resumeNext([&] {
            if (!analyser_) runtime::raise(runtime::err::kObjectNotSet, "SpectrumAnalyser");
            v = static_cast<float>((analyser_->*get)());
        });
        return v;
    };

    step(":Initialising MouseOverS");
    step(":Initialising 7Segment Display Tuning");
    fill({1, 0, 0, 0, 0, 0.1f, 1, 10, "", false});
    step(":Initialising dialtuner");
    for (const KnobRow& r : {KnobRow{2, 99, 0, 1, 1, 0.01f, 0.1f, 1, "#0.0", true},
                             KnobRow{3, 100, -100, 0, 0, 0.1f, 1, 10, "#0", true},
                             KnobRow{4, 99, 0, 1, 1, 0.01f, 0.1f, 1, "#0.0", true},
                             KnobRow{5, 100, -100, 0, 0, 0.1f, 1, 10, "#0", true}}) {
        const std::string text = ":Initialising CtlArray(" + std::to_string(r.k) + ")";
        step(text.c_str());
        fill(r);
        caption(r.k);
    }
    step(":Initialising CtlArray(7)");
    fill({7, kFilterHiMax, 0, 0, 0, 1, 10, 50, "#0", true});
    step(":Initialising CtlArray(8)");
    fill({8, 1999, 0, 0, 0, 1, 10, 50, "#0", true});

    step(":Initialising CtlArray(9)");
    fill({9, 10000, 0, 0, 0, 1, 10, 50, "#0.00", false});
    apply(9);
    step(":Initialising sldNB");
    if (twins.nbSlider) resumeNext([&] { twins.nbSlider(knob(9)); });
    step(":Initialising dialNB");
    if (twins.nbDial) resumeNext([&] { twins.nbDial(knob(9)); });

    step(":Initialising ctlArray(10)");
    fill({10, 8000, -10000, 0, 0, 10, 50, 200, "0.0", false});
    apply(10);
    step(":Initialising dialOutVol");
    if (twins.volDial) resumeNext([&] { twins.volDial(knob(10)); });
    step(":Initialising sldOutVolume");
    if (twins.volSlider) resumeNext([&] { twins.volSlider(knob(10)); });

    step(":Initialising ctlArray(11)");
    // The knob takes the audio notch's range; the notch-type switch replaces it from the other row.
    tables_.NotchKnobRanges = DefaultNotchKnobRanges();
    const NotchKnobRange& audioNotch = tables_.NotchKnobRanges[0];
    fill({11, audioNotch.Max, audioNotch.Min, 1000, 1000, 1, 10, 50, "#0", false});
    apply(11);
    knob(11).Disabled = true;
    step(":Initialising ctlArray(12)");
    fill({12, 5000, 0, 100, 100, 1, 10, 50, "#0", false});
    apply(12);
    knob(12).Disabled = true;
    step(":Initialising ctlArray(13)");
    fill({13, 100, 5, 5, 5, 1, 1, 10, "#0.0", false});
    apply(13);
    step(":Initialising ctlArray(14)");
    // Starts below its Min: the first step down gives the Min, the first step up Min + Step.
    fill({14, 200, 10, 5, 5, 1, 10, 50, "#0.0", false});
    apply(14);
    step(":Initialising ctlArray(15)");
    fill({15, 1023, 0, std::trunc(1023.0f / 2), std::trunc(1023.0f / 2), 1, 10, 50, "#,###", false});
    apply(15);
    step(":Initialising CtlArray(6)");
    fill({6, 1023, 10, 1023, 1023, 1, 10, 50, "#,###", false});
    // Now the span comes from both knobs.
    apply(15);
    step(":Initialising ctlArray(PicScopeIndex)");
    fill({PicScopeIndex, 0, 0, 0, 0, 0, 0, 0, "", false});

    step(":Initialising ctlArray(17)");
    fill({17, 6000, 0, 6000, 6000, 1, 10, 50, "#0", true});
    apply(17);
    caption(17);
    knob(17).Disabled = true;
    step(":Initialising ctlArray(18)");
    fill({18, 6000, 0, 0, 0, 1, 10, 50, "#0", true});
    apply(18);
    caption(18);
    knob(18).Disabled = true;

    step(":Initialising Spectrum Analyser Averaging - ctlArray(lblSpectrumSmoothIndex)");
    fill({lblSpectrumSmoothIndex, 24, 1, analyserValue(&AnalyserKnobs::DefaultSmoothCount),
          analyserValue(&AnalyserKnobs::SpectrumSmooth), 1, 1, 4, "#0", true});
    apply(lblSpectrumSmoothIndex);
    caption(lblSpectrumSmoothIndex);
    step(":Initialising Spectrum Analyser FrameRate - ctlArray(lblFrameRateIndex)");
    fill({lblFrameRateIndex, 16, 1, 1, analyserValue(&AnalyserKnobs::FrameRate), 1, 1, 4, "#0", true});
    apply(lblFrameRateIndex);
    caption(lblFrameRateIndex);
    step(":Initialising lblIFShift - ctlArray(lblIFShiftIndex)");
    fill({lblIFShiftIndex, baseIf, -baseIf, 0, 0, 1, 20, 100, "#0", true});
    apply(lblIFShiftIndex);
    caption(lblIFShiftIndex);
    step(":Initialising lblBFO - ctlArray(lblBFOIndex)");
    fill({lblBFOIndex, baseIf, -baseIf, 0, 0, 1, 20, 100, "#0", true});
    apply(lblBFOIndex);
    caption(lblBFOIndex);
    step(":Initialising lblY1Bright - ctlArray(lblY1BrightIndex)");
    fill({lblY1BrightIndex, 100, 1, 100, 100, 1, 2, 10, "#0", true});
    apply(lblY1BrightIndex);
    caption(lblY1BrightIndex);
    step(":Initialising lblY2Bright - ctlArray(lblY2BrightIndex)");
    fill({lblY2BrightIndex, 100, 1, 100, 100, 1, 2, 10, "#0", true});
    apply(lblY2BrightIndex);
    caption(lblY2BrightIndex);
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
