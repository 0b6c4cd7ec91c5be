// The knob labels' side of the window: the knob table as the start-up fills it, the window's key handler
// for the active knob, the labels' hover and reset clicks, and the hover of the frames that hold knobs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ScrollLabel.h"

namespace frontpanel {

// Set-up steps of the knobs' twin controls, run at their place in the table's filling; an empty one is
// a control not there yet.
struct TwinSetUp {
    std::function<void(const ScrollLabel& nb)> nbSlider;   // sldNB
    std::function<void(const ScrollLabel& nb)> nbDial;     // dialNB
    std::function<void(const ScrollLabel& vol)> volDial;   // dialOutVol
    std::function<void(const ScrollLabel& vol)> volSlider; // sldOutVolume
};

class KnobPanel {
public:
    KnobPanel(ReceiverState& state, CtlArray& ctlArray, MouseOverS::KnobRoutines& routines,
              ShellHighlight& shell, FilterTables& tables, AnalyserKnobs* analyser)
        : state_(state), ctlArray_(ctlArray), routines_(routines), shell_(shell), tables_(tables),
          analyser_(analyser) {}

    // The label a knob shows its value on, before the table is filled.
    void setKnobLabel(int16_t knob, KnobLabel* label);

    // The start-up's filling of entries 1 to 24, in its fixed order and with its apply calls: knob 15
    // before 6 and 23 before 20, since their routines read each other. Each statement is guarded: one
    // that fails is skipped. trace gets each step's text as the start-up logs it (kKnobTableTraces).
    void FillKnobTable(const TwinSetUp& twins = {}, const std::function<void(const char*)>& trace = {});

    // The window's key handler (key preview) for the active knob; nothing while the readout is active.
    void Form_KeyDown(int16_t KeyCode, int16_t Shift);

    // A knob label's mouse handlers (knobs 2 to 15 and 17 to 24). Button 1 left, 2 right.
    void knobLabel_MouseMove(int16_t knob);
    void knobLabel_MouseDown(int16_t knob, int16_t Button);

    // The pointer over a frame that holds knobs.
    void frame_MouseMove(KnobFrame frame);

private:
    ScrollLabel& knob(int16_t index) { return knobAt(ctlArray_, index); }
    const AfFilterPresetRow& afPreset() const;
    const IfFilterRow& ifRow() const;

    ReceiverState& state_;
    CtlArray& ctlArray_;
    MouseOverS::KnobRoutines& routines_;
    ShellHighlight& shell_;
    FilterTables& tables_;
    AnalyserKnobs* analyser_;
    std::array<KnobLabel*, kKnobCount> labels_{};
};

} // namespace frontpanel
