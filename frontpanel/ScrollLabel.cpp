// The knob step and the knob captions.
#include "frontpanel/ScrollLabel.h"

#include "frame/NumberFormat.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

float wheelStep(const ScrollLabel& knob, int32_t wParam) {
    if (wParam & ui::HookMessage::kCtrlFlag) return knob.CtrlStep;
    if (wParam & ui::HookMessage::kShiftFlag) return knob.ShiftStep;
    return knob.Step;
}

float keyStep(const ScrollLabel& knob, int16_t shift) {
    if (shift & 1) return knob.ShiftStep;
    if (shift & 2) return knob.CtrlStep;
    return knob.Step;
}

std::string knobCaption(const ScrollLabel& knob) {
    return NumberFormat::Format(knob.Value, knob.Format);
}

void writeCaption(ScrollLabel& knob) {
    writeCaption(knob, knob.Value);
}

void writeCaption(ScrollLabel& knob, double shown) {
    if (knob.Format.empty() || !knob.Label) return;
    knob.Label->setCaption(NumberFormat::Format(shown, knob.Format));
}

void stepValue(ScrollLabel& knob, KnobDirection direction, float step) {
    if (direction == KnobDirection::Up) {
        knob.Value += step;
        if (knob.Value >= knob.Max) knob.Value = knob.Max;
    } else {
        knob.Value -= step;
        if (knob.Value <= knob.Min) knob.Value = knob.Min;
    }
}

void StepKnob(ScrollLabel& knob, KnobDirection direction, float step) {
    stepValue(knob, direction, step);
    if (knob.ShowCaption) writeCaption(knob);
    if (knob.Apply) knob.Apply();
}

ScrollLabel& knobAt(CtlArray& ctlArray, int32_t index) {
    if (index < 0 || index >= kKnobCount) runtime::raise(runtime::err::kSubscriptOutOfRange, "ctlArray");
    return ctlArray[static_cast<size_t>(index)];
}

} // namespace frontpanel
