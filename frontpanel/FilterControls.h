// The filter controls of the front panel: the audio-filter presets, Music and the dynamic filter, the IF
// filter switch and its modes, and the two bandwidth sliders with their labels. They change the receiver
// state and mark the filter bank for the housekeeping timer's rebuild; they never design a filter.
#pragma once

#include <cstdint>

#include "dsp/FilterBank.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/PanelControls.h"
#include "frontpanel/ScrollLabel.h"

namespace frontpanel {

class FilterControls {
public:
    // filters may be absent until the bank is made: the handlers that switch a filter then raise 91.
    FilterControls(ReceiverState& state, CtlArray& ctlArray, FilterTables& tables,
                   MouseOverS::KnobRoutines& routines, Nerix::FilterBank* filters);
    FilterControls(const FilterControls&) = delete;
    FilterControls& operator=(const FilterControls&) = delete;

    // Index 0 to 4 a preset; -1 the edges in force again; -2 the edges kept in the sliders' Tag texts;
    // above 4 the selected preset's row without selecting anything.
    void optFilter_Click(int32_t Index);
    void chkMusic_Click();
    void chkDynFilter_Click();
    void chkIFFilter_Click();
    // 0 Off, 1 Man, 2 Track; refused while the IF filter is off.
    void optIFFilter_Click(int32_t Index);

    // The bandwidth sliders: 0 the low edge, 1 the high edge; inverted, the edge is Max + Min - position.
    PanelSlider& sldBW(int16_t Index);
    void sldBW_Change(int16_t Index);
    void sldBW_MouseDown(int16_t Index, int16_t Button);
    // X and Y in twips over a slider of that width and height.
    void sldBW_MouseMove(int16_t Index, float X, float Y, float Width, float Height);
    void sldBW_LostFocus(int16_t Index);
    void UpdateBandwidthDisplay();

    PanelOptionGroup optFilter{{"5.0 KHz", "Strong AM Broadcast"},
                               {"400 Hz", "CW"},
                               {"2.4 KHz", "DX SSB"},
                               {"3.2 KHz", "Strong SSB"},
                               {"4.0 KHz", "AM Talk Radio"}};
    PanelCheckBox chkMusic{"&Music", "Set LO frequ. cutoff to 50Hz, Bass Boost"};
    PanelCheckBox chkDynFilter{"Dyn", "AF Filter centered on the Strongest Peak Frequency"};
    PanelCheckBox chkIFFilter{"On", "IF Filter On/Off"};
    PanelOptionGroup optIFFilter{
        {"Off", "OFF"}, {"Man", "Manually Set IF Filter"}, {"Track", "Tracks Main Filters"}};
    PanelSlider sldBW0{0, 1999};
    PanelSlider sldBW1{0, 5000};
    PanelControl lblFloDesc{"FLo"};
    PanelControl lblFHiDesc{"FHi"};
    PanelControl lblFLo;
    PanelControl lblFHi;
    // The IF filter knobs' labels (knobs 17 and 18) and their descriptions: shown in Man only.
    PanelControl lblIFHi;
    PanelControl lblIFHiDesc{"Hi"};
    PanelControl lblIFLo;
    PanelControl lblIFLoDesc{"Lo"};

private:
    AfFilterPresetRow& preset();
    Nerix::FilterBank& filters();
    ScrollLabel& knob(int16_t k) { return knobAt(ctlArray_, k); }
    void setKnob(int16_t k, double value, double defaultValue);
    PanelControl& valueLabel(int16_t Index) { return Index == 0 ? lblFLo : lblFHi; }
    PanelControl& descLabel(int16_t Index) { return Index == 0 ? lblFloDesc : lblFHiDesc; }
    // The edge a Tag text holds: the number it begins with, rounded.
    static int32_t tagEdge(const std::string& tag);

    ReceiverState& state_;
    CtlArray& ctlArray_;
    FilterTables& tables_;
    MouseOverS::KnobRoutines& routines_;
    Nerix::FilterBank* filters_;
    bool IFFilterBusy_ = false;
    bool optIFFilterBusy_ = false;
    bool sldBWBusy_ = false;
    bool BandwidthDisplayBusy_ = false;
};

} // namespace frontpanel
