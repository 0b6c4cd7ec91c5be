// The front panel's BFO knob as the software oscillator sees it: its value field and its apply routine.
// The front panel implements it; the radio depends on nothing later than itself.
#pragma once

class BfoKnob {
public:
    virtual ~BfoKnob() = default;
    // The knob's value, in hertz.
    virtual void setBfoValue(float hertz) = 0;
    // The knob's apply routine: retunes the signal path's oscillator to the base IF and the offset.
    virtual void SetBFO() = 0;
};
