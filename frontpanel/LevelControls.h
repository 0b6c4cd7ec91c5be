// The AGC, noise-reduction, notch, mute, volume and balance controls: switches and mode buttons, and the
// sliders and dials that move with the knobs of the same quantity. Changes the notch filter needs are
// marked for the housekeeping timer's rebuild.
#pragma once

#include <cstdint>

#include "dsp/FilterBank.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/KnobPanel.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/PanelControls.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ScrollLabel.h"

namespace frontpanel {

class LevelControls {
public:
    // filters and display may be absent until they are composed: a handler that needs one then raises 91.
    LevelControls(ReceiverState& state, Nerix::Wrappers& nerix, CtlArray& ctlArray, FilterTables& tables,
                  MouseOverS::KnobRoutines& routines, Nerix::FilterBank* filters, NotchOverlay* display);
    LevelControls(const LevelControls&) = delete;
    LevelControls& operator=(const LevelControls&) = delete;

    // AGC: the switch, the preset rows (refused while the AGC is off) and the two sliders.
    void chkAGC_Click();
    void optAGC_Click(int16_t Index);
    void sldAGCAttack_Change();
    void sldAGCDecay_Change();

    // Noise reduction: the switch, the slider and the dial that follow knob 9.
    void chkNB_Click();
    void sldNB_Change();
    void sldNB_MouseDown(int16_t Button);
    void dialNB_Change();

    // Notch: on and off, manual or automatic, AF or IF, mirror (each refused while the notch is off),
    // the centre slider and the width slider.
    void chkNotchOn_Click();
    void chkNotchAuto_Click();
    void optNotch_Click(int16_t Index);
    void chkNotchType_Click();
    void chkNotchMirror_Click();
    void sldNotch_Change();
    void sldNotchWidth_Change();
    void sldNotchWidth_MouseDown(int16_t Button);

    // Mute, volume (slider and dial that follow knob 10) and the I/Q amplitude balance.
    void chkMute_Click();
    void sldOutVolume_Change();
    void sldOutVolume_MouseDown(int16_t Button);
    void sldOutVolume_MouseMove();
    void dialOutVol_Change();
    void sldBalance_Change();

    // The set-up of knob 9's and knob 10's twins, which the knob table's filling runs at its place.
    TwinSetUp twinSetUp();

    PanelCheckBox chkAGC{"On", "AGC On/off"};
    PanelOptionGroup optAGC{{"Off", "AGC OFF"},
                            {"Fast", "Fast (CW)"},
                            {"Normal", "Normal (AM)"},
                            {"Slow", "Slow (SSB)"},
                            {"u", ""}};
    PanelSlider sldAGCAttack{5, 50};
    PanelSlider sldAGCDecay{10, 200};

    PanelCheckBox chkNB{"On", "Experimental Noise Reducer"};
    PanelSlider sldNB{1, 10000};
    PanelDial dialNB;

    PanelCheckBox chkNotchOn{"IF", "Notch On/Off"};
    PanelCheckBox chkNotchAuto{"Auto", "Auto Notch Mode"};
    PanelOptionGroup optNotch{{"Man", "Manual Notch"}, {"Auto", "Auto Notch"}};
    PanelCheckBox chkNotchType{"IF", "AF or IF Notch"};
    PanelCheckBox chkNotchMirror{"Mirror", "Notch Mirror"};
    PanelSlider sldNotch{100, 3000};
    PanelSlider sldNotchWidth{10, 1000};
    PanelControl lblNotch;
    PanelControl lblNotchWidth;
    // The notch knobs' labels (knobs 11 and 12) and their descriptions: shown in the manual mode only.
    PanelControl lblNotchC;
    PanelControl lblNotchCDesc{"Fc"};
    PanelControl lblNotchW;
    PanelControl lblNotchWDesc{"BW"};

    PanelCheckBox chkMute{"Mute", "Mute AF Output"};
    PanelSlider sldOutVolume{-4000, 4000};
    PanelDial dialOutVol;
    PanelSlider sldBalance{-20000, 20000, 10000};

private:
    ScrollLabel& knob(int16_t k) { return knobAt(ctlArray_, k); }
    Nerix::FilterBank& filters();
    NotchOverlay& display();
    // What a notch mode switches, once the notch controls have taken it.
    void applyNotchMode(int32_t mode);

    ReceiverState& state_;
    Nerix::Wrappers& nerix_;
    CtlArray& ctlArray_;
    FilterTables& tables_;
    MouseOverS::KnobRoutines& routines_;
    Nerix::FilterBank* filters_;
    NotchOverlay* display_;
    bool optAGCBusy_ = false;
    bool AttackBusy_ = false;
    bool DecayBusy_ = false;
    bool sldNBBusy_ = false;
    bool dialNBBusy_ = false;
    bool NotchAutoBusy_ = false;
    bool optNotchBusy_ = false;
    bool NotchTypeBusy_ = false;
    bool NotchWidthBusy_ = false;
    bool OutVolumeBusy_ = false;
    bool dialOutVolBusy_ = false;
};

} // namespace frontpanel
