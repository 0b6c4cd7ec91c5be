// The mouse wheel's side of the knobs: the hook procedure that steps the active knob once per notch.
#pragma once

#include <cstdint>

#include "frame/ReceiverState.h"
#include "frontpanel/ScrollLabel.h"
#include "platform/ui/HookMessage.h"

namespace modWheelMouse {

// Makes label the Label of every entry, so that entries without a label of their own still have one.
void BindLabel(CtlArray& ctlArray, frontpanel::KnobLabel* label);

class WheelHook {
public:
    WheelHook(CtlArray& ctlArray, const ReceiverState& state) : ctlArray_(ctlArray), state_(state) {}

    // The hook procedure for each key-down, mouse-move and wheel message: true when it passes the
    // message on. Errors of a caption or an apply routine are passed over.
    bool WheelHookProc(const ui::HookMessage& message);

    // What becomes of the message in this system: keys and moves always reach their window; a wheel
    // turn that an active, enabled knob takes stops here, so it never also moves a list, slider or
    // dial that merely lies under the pointer. True: the message goes on to its window.
    bool deliver(const ui::HookMessage& message);

    bool HookBusy() const noexcept { return hookBusy_; }

private:
    ScrollLabel& activeKnob();

    CtlArray& ctlArray_;
    const ReceiverState& state_;
    bool hookBusy_ = false;
};

} // namespace modWheelMouse
