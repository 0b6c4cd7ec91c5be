// The front panel's knob table as the window's colours and highlight see it.
#pragma once

#include "frontpanel/ScrollLabel.h"
#include "mainwindow/FormColours.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

class PanelKnobLabels final : public KnobLabels {
public:
    explicit PanelKnobLabels(CtlArray& ctlArray) : ctlArray_(ctlArray) {}

    int16_t LBound() const override { return 0; }
    int16_t UBound() const override { return kKnobCount - 1; }
    bool Disabled(int16_t knob) const override { return at(knob).Disabled; }
    bool HasLabel(int16_t knob) const override { return at(knob).Label != nullptr; }
    int32_t NormalColour(int16_t knob) const override { return at(knob).NormalColour; }
    int32_t FocusColour(int16_t knob) const override { return at(knob).FocusColour; }
    void setColours(int16_t knob, int32_t normal, int32_t focus) override {
        ScrollLabel& k = at(knob);
        k.NormalColour = normal;
        k.FocusColour = focus;
    }
    void setLabelColour(int16_t knob, int32_t colour) override { label(knob).setForeColor(colour); }
    void setLabelBorder(int16_t knob, bool single) override { label(knob).setBorder(single); }

private:
    ScrollLabel& at(int16_t knob) const { return frontpanel::knobAt(ctlArray_, knob); }
    frontpanel::KnobLabel& label(int16_t knob) const {
        frontpanel::KnobLabel* l = at(knob).Label;
        if (!l) runtime::raise(runtime::err::kObjectNotSet, "ScrollLabel.Label");
        return *l;
    }

    CtlArray& ctlArray_;
};

} // namespace mainwindow
