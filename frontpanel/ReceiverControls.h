// The receiver's controls on the main window: the mode frame, the filter, IF filter, AGC, noise
// reduction, notch and volume frames, the LO-side and upper-side boxes, the RF input and IF attenuator of
// the Elektor model's panel, the recording format on the recorder panel, and the channel swap and balance
// on the calibration panel. They show what the front panel's core holds and forward the user's changes
// and mouse events to it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "frontpanel/FrontPanelCore.h"
#include "frontpanel/PanelMirrors.h"
#include "frontpanel/TuningControls.h"
#include "platform/dial/Dial.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"

namespace frontpanel {

class ReceiverControls {
public:
    // Where the parts go. The frames stand in a row on the form from (left, top), the mode frame first;
    // the two side boxes at their own place on the form; the rest fill the main window's panels.
    struct Hosts {
        QWidget* form = nullptr;
        int32_t left = 60, top = 1300;
        int32_t sideSwitchesLeft = 0, sideSwitchesTop = 0;
        QWidget* elektorPanel = nullptr;  // picElektor200705
        QWidget* recorderPanel = nullptr; // picRecorder
        QWidget* calibPanel = nullptr;    // picCalib
    };

    explicit ReceiverControls(const Hosts& hosts);
    // Lets go of the core: its controls and knob table no longer reach these widgets.
    ~ReceiverControls();
    ReceiverControls(const ReceiverControls&) = delete;
    ReceiverControls& operator=(const ReceiverControls&) = delete;

    // Mirrors the core's controls and wires the events; registers the knob labels with the knob table,
    // so it runs before the start-up fills the table. The core must outlive the controls.
    void connect(FrontPanelCore& core);

    // Every control, for the window's colouring.
    void forEachControl(const std::function<void(ui::Control&)>& f);

    ui::Frame frDemod;
    ui::ControlArray<ui::OptionButton> optMode;

    ui::Frame frFilter;
    ui::ControlArray<ui::OptionButton> optFilter;
    ui::CheckBox chkMusic;
    ui::CheckBox chkDynFilter;
    ui::ControlArray<ui::Slider> sldBW;
    ui::Label lblFloDesc, lblFHiDesc, lblFLo, lblFHi;
    KnobLabelControl lblFilterHi, lblFilterLo;

    ui::Frame frIFFilter;
    ui::CheckBox chkIFFilter;
    ui::ControlArray<ui::OptionButton> optIFFilter;
    ui::Label lblIFHiDesc, lblIFLoDesc;
    KnobLabelControl lblIFHi, lblIFLo;

    ui::Frame frAGC;
    ui::CheckBox chkAGC;
    ui::ControlArray<ui::OptionButton> optAGC;
    ui::Slider sldAGCAttack, sldAGCDecay;
    KnobLabelControl lblAGCAttack, lblAGCDecay;

    ui::Frame frNB;
    ui::CheckBox chkNB;
    ui::Slider sldNB;
    dial::Dial dialNB;
    KnobLabelControl lblNB;

    ui::Frame frNotch;
    ui::CheckBox chkNotchOn, chkNotchAuto, chkNotchType, chkNotchMirror;
    ui::ControlArray<ui::OptionButton> optNotch;
    ui::Slider sldNotch, sldNotchWidth;
    ui::Label lblNotch, lblNotchWidth, lblNotchCDesc, lblNotchWDesc;
    KnobLabelControl lblNotchC, lblNotchW;

    ui::Frame frAFOut;
    ui::CheckBox chkMute;
    ui::Slider sldOutVolume;
    dial::Dial dialOutVol;
    KnobLabelControl lblOutVol;

    ui::CheckBox chkTuneLo, chkIQSelectUpper;

    ui::Frame frRFInSel, frIFAttenuation;
    ui::ControlArray<ui::OptionButton> optRFInSel, optIFAttenuation;

    ui::Frame frRecordSampling, frRecordBitsPerSample;
    ui::ControlArray<ui::OptionButton> optRecordSampleRate, optRecordSamplePerBit;
    ui::Label lblRecordMBytesPerHr, lblRecordMBytesPerHrDesc;

    ui::CheckBox chkFlipIQ;
    ui::Slider sldBalance;

private:
    std::array<KnobLabelControl*, 10> knobLabels();
    void layOutFilterFrame();
    void layOutIFFilterFrame();
    void layOutAGCFrame();
    void layOutNotchFrame();
    // The parts in the main window's Elektor, recorder and calibration panels.
    void layOutPanels();
    // The widget follows the core's control until the controls go.
    template <class Model, class Widget> void follow(Model& model, Widget& widget) {
        unbind_.push_back(mirror(model, widget));
    }
    void connectFilterFrame(FilterControls& f);
    void connectIFFilterFrame(FilterControls& f);
    void connectAGCFrame(LevelControls& l);
    void connectNBFrame(LevelControls& l);
    void connectNotchFrame(LevelControls& l);
    void connectAFOutFrame(LevelControls& l);
    // The side boxes and the parts in the main window's panels.
    void connectPanels(ReceiverSwitches& s, LevelControls& l);

    FrontPanelCore* core_ = nullptr;
    std::vector<std::function<void()>> unbind_;
};

} // namespace frontpanel
