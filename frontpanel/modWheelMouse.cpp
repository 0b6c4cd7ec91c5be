// The wheel hook procedure.
#include "frontpanel/modWheelMouse.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"

namespace modWheelMouse {

using ui::HookMessage;

void BindLabel(CtlArray& ctlArray, frontpanel::KnobLabel* label) {
    for (ScrollLabel& knob : ctlArray)
        knob.Label = label;
}

ScrollLabel& WheelHook::activeKnob() {
    return frontpanel::knobAt(ctlArray_, state_.ActiveKnob);
}

bool WheelHook::WheelHookProc(const HookMessage& message) {
    // Re-entered from a pump inside an apply routine: passed on, not counted.
    if (hookBusy_) return true;
    const ScopedFlag busy(hookBusy_);
    ScrollLabel& knob = activeKnob();
    if (knob.Disabled) return true;
    if (message.message != HookMessage::kKeyDown && message.message != HookMessage::kMouseMove &&
        message.message != HookMessage::kMouseWheel)
        return true;
    if (state_.ActiveKnob <= 0) return false;
    if (message.message == HookMessage::kMouseMove) return true;
    if (message.message == HookMessage::kKeyDown) return false;

    // Every notch steps once. A get-message hook sees each wheel message twice, when the loop peeks at it
    // and when it takes it, which a count of every second message evened out; the wheel filter hands on
    // each notch once, so a count here would make two notches one step.
    knob.LastWheelMsg = message;
    const float step = frontpanel::wheelStep(knob, message.wParam);
    // One message is one step, whatever its distance; the distance sits in the high word.
    if (message.wParam == 0) return true;
    frontpanel::stepValue(
        knob, message.wParam > 0 ? frontpanel::KnobDirection::Up : frontpanel::KnobDirection::Down, step);
    if (knob.ShowCaption) runtime::resumeNext([&] { frontpanel::writeCaption(knob); });
    if (knob.Apply) runtime::resumeNext([&] { knob.Apply(); });
    return true;
}

bool WheelHook::deliver(const HookMessage& message) {
    if (message.message != HookMessage::kMouseWheel) {
        WheelHookProc(message);
        return true;
    }
    const bool knobTakesIt = state_.ActiveKnob > 0 && !activeKnob().Disabled;
    WheelHookProc(message);
    return !knobTakesIt;
}

} // namespace modWheelMouse
