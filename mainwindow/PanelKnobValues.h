// The front panel's knob table as the configuration dialog reads and sets it: values, defaults and colours
// of the records, and the BFO knob's apply routine.
#pragma once

#include "config/ConfigPorts.h"
#include "frontpanel/ScrollLabel.h"
#include "radio/BfoKnob.h"

namespace mainwindow {

class PanelKnobValues final : public config::KnobValues {
public:
    // bfo: the front panel's knob routines.
    PanelKnobValues(CtlArray& ctlArray, BfoKnob& bfo) : ctlArray_(ctlArray), bfo_(bfo) {}

    float Value(int16_t knob) const override { return at(knob).Value; }
    void setValue(int16_t knob, float value) override { at(knob).Value = value; }
    void setDefault(int16_t knob, float value) override { at(knob).Default = value; }
    void setNormalColour(int16_t knob, int32_t colour) override { at(knob).NormalColour = colour; }
    void setFocusColour(int16_t knob, int32_t colour) override { at(knob).FocusColour = colour; }
    void SetBFO() override { bfo_.SetBFO(); }

private:
    // An index outside the table raises Subscript out of range.
    ScrollLabel& at(int16_t knob) const { return frontpanel::knobAt(ctlArray_, knob); }

    CtlArray& ctlArray_;
    BfoKnob& bfo_;
};

} // namespace mainwindow
