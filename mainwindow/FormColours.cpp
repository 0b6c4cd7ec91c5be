// The main window's colours and the knob labels' highlight.
#include "mainwindow/FormColours.h"

#include "frame/PublicFuncs.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

using PublicFuncs::ScaleColour;

ControlColours recolour(ControlKind kind, int32_t windowBackColour, const SDRColourScheme& scheme) {
    switch (kind) {
    case ControlKind::Frame:
        return {windowBackColour, scheme.FrameNormal};
    case ControlKind::Label:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        return {windowBackColour, scheme.Label};
    case ControlKind::TextBox:
    case ControlKind::PictureBox:
    case ControlKind::ComboBox:
    case ControlKind::Shape:
        return {windowBackColour, std::nullopt};
    case ControlKind::Other:
        break;
    }
    return {};
}

DerivedColours derivedColours(const SDRColourScheme& scheme) {
    DerivedColours d;
    d.TuningDigits = ScaleColour(scheme.Tuning, 85);
    d.TuningFocus = scheme.Tuning;
    d.DecimalPoints = ScaleColour(scheme.Tuning, 50);
    d.ScaleLabels = ScaleColour(scheme.Tuning, 75);
    d.Clock = ScaleColour(scheme.Tuning, 75);
    d.TuningText = scheme.Tuning;
    d.RecorderLabels = scheme.ScrollLabelFocus;
    return d;
}

KnobHighlight::KnobHighlight(ReceiverState& state, KnobLabels& knobs, std::function<void()> focusSink)
    : state_(state), knobs_(knobs), focusSink_(std::move(focusSink)) {}

void KnobHighlight::RecolourKnobs() {
    const SDRColourScheme& scheme = state_.SDRColourSchemes;
    int16_t lower = 0;
    int16_t upper = -1;
    runtime::resumeNext([&] { lower = knobs_.LBound(); });
    runtime::resumeNext([&] { upper = knobs_.UBound(); });
    for (int32_t i = lower; i <= upper; ++i) {
        const auto knob = static_cast<int16_t>(i);
        runtime::resumeNext(
            [&] { knobs_.setColours(knob, scheme.ScrollLabelNormal, scheme.ScrollLabelFocus); });
        runtime::resumeNext([&] {
            if (knobs_.HasLabel(knob)) knobs_.setLabelColour(knob, knobs_.NormalColour(knob));
        });
    }
    runtime::resumeNext(
        [&] { knobs_.setColours(kReadoutKnob, ScaleColour(scheme.Tuning, 85), scheme.Tuning); });
}

void KnobHighlight::HighlightValueLabel(int16_t& Index) {
    if (highlightBusy_) return;
    const ScopedFlag busy(highlightBusy_);
    if (Index == state_.ActiveKnob) return;
    if (Index < 0) Index = state_.ActiveKnob;
    if (knobs_.Disabled(Index)) return;
    state_.ActiveKnob = Index;
    if (focusSink_) focusSink_();
    if (knobs_.HasLabel(Index)) {
        knobs_.setLabelColour(Index, knobs_.FocusColour(Index));
        if (state_.HiLiteBorder) knobs_.setLabelBorder(Index, true);
    }
}

void KnobHighlight::UnhighlightValueLabel() {
    UnhighlightValueLabel(state_.ActiveKnob);
}

void KnobHighlight::UnhighlightValueLabel(int16_t Index) {
    if (knobs_.HasLabel(Index)) {
        knobs_.setLabelColour(Index, Index == kBfoKnob ? state_.SDRColourSchemes.Tuning
                                                       : knobs_.NormalColour(Index));
        knobs_.setLabelBorder(Index, false);
    }
    state_.ActiveKnob = 0;
}

void KnobHighlight::DarkenKnobLabels() {
    int16_t lower = 0;
    int16_t upper = -1;
    runtime::resumeNext([&] { lower = knobs_.LBound(); });
    runtime::resumeNext([&] { upper = knobs_.UBound(); });
    for (int32_t i = lower; i <= upper; ++i) {
        const auto knob = static_cast<int16_t>(i);
        runtime::resumeNext([&] {
            if (!knobs_.HasLabel(knob)) return;
            knobs_.setLabelColour(knob, knobs_.NormalColour(knob));
        });
        runtime::resumeNext([&] {
            if (knobs_.HasLabel(knob)) knobs_.setLabelBorder(knob, false);
        });
    }
    runtime::resumeNext([&] { knobs_.setLabelColour(kBfoKnob, state_.SDRColourSchemes.Tuning); });
}

} // namespace mainwindow
