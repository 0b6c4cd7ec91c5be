// The frequency readout and its tuning controls, Qt-free: the nine digits, the step digit that follows
// the pointer until it is locked, the readout's keys (which leave tune requests for the tuning-repeat
// timer), the step selector, the tuning-rate label and lock picture, the scale labels and the
// "VFO Control" menu. The widgets mirror what it tells its view and forward their events to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/ReceiverState.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ScrollLabel.h"
#include "frontpanel/TuningSteps.h"
#include "frontpanel/modBandPlan.h"
#include "platform/ui/DialogService.h"
#include "radio/EncoderReadout.h"

namespace frontpanel {

inline constexpr int16_t kReadoutDigits = 9;

// A place on the window in twips.
struct TwipsRect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// The marker around a digit: 20 twips wider on each side, the top 150 twips lower.
TwipsRect markerAround(const TwipsRect& digit);

// The readout's controls as the core drives them.
class ReadoutView {
public:
    virtual ~ReadoutView() = default;
    virtual void setDigitCaption(int16_t digit, const std::string& caption) = 0;
    virtual void setDigitColour(int16_t digit, int32_t bgr) = 0;
    virtual void setMarker(const TwipsRect& place, int32_t borderColour) = 0;
    virtual void setTuningRateCaption(const std::string& caption) = 0;
    virtual void setTuningRateLook(int32_t textColour, const std::string& toolTip) = 0;
    virtual void setLockPictureVisible(bool visible) = 0;
    // The "LO" value of the statistics panel.
    virtual void setLoCaption(const std::string& caption) = 0;
    virtual void showStepSelector(int32_t left, int32_t top) = 0;
    virtual void hideStepSelector() = 0;
    virtual void focusReadout() = 0;
    // The tuning-repeat timer's interval, in milliseconds.
    virtual void setTuneRepeatInterval(int32_t ms) = 0;

    // Where things are, in twips: a digit within the readout picture, and the controls on the panel.
    virtual TwipsRect digitRect(int16_t digit) const = 0;
    virtual TwipsRect readoutRect() const = 0;      // picFreqDisp
    virtual TwipsRect dialRect() const = 0;         // dialtuner
    virtual TwipsRect tuningRateRect() const = 0;   // lblTuningRate
    virtual TwipsRect stepSelectorRect() const = 0; // cboTuningSteps
};

// What the panel reaches besides its view.
struct TuningPorts {
    ReceiverState& state;
    CtlArray& ctlArray; // knob 1's colours
    TuningVfo& vfo;
    ReadoutView& view;
    ShellHighlight& shell;
    ui::DialogService& dialogs;
    const TuningStepTable& steps;
    std::vector<MainBandRec>* mainBands = nullptr; // the step selector stores its choice there
};

class TuningPanel {
public:
    explicit TuningPanel(TuningPorts ports) : p_(std::move(ports)) {}

    // Shows a readout text, nine digits; nothing at all for the text already shown.
    void Display7Seg(const std::string& text);
    // Makes digit the step digit, with the step 10^(8 - digit) x multiplier.
    void SetTuningStepDigit(int32_t digit, float multiplier);
    // Selects a step of the table and locks the VFO's step; without force, nothing while it is locked.
    void SelectTuningStepIndex(int32_t index, bool force);

    // The digits.
    void lbl7Seg_MouseMove(int16_t index);
    void lbl7Seg_Click(int16_t index);
    void lbl7Seg_DblClick(int16_t index);
    void lbl7Seg_MouseDown(int16_t index, int16_t Button);
    // The readout picture and its surroundings.
    void picFreqDisp_KeyDown(int16_t KeyCode, int16_t Shift);
    void picFreqDisp_KeyUp();
    void picFreqDisp_MouseMove();
    void img7SegArea_MouseMove();
    void frFreqCtl_MouseMove();
    void picFreqDisp_MouseUp(int16_t Button);

    // The step controls.
    void lblTuneDialRate_MouseDown(int16_t Button);
    void lblTuningRate_Click();
    void lblTuningRate_MouseDown(int16_t Button);
    void cboTuningSteps_Click(int32_t listIndex);
    void cboTuningSteps_KeyPress(int16_t KeyAscii);
    void cboTuningSteps_LostFocus();
    void imgTuneStepLock_DblClick();
    void lblScale_Click(int16_t index);
    void mnuVFOControlSub_Click(int16_t index);

    // The "VFO Control" menu's items, in order, and the digit its Tag names.
    static const std::vector<ui::MenuItem>& vfoControlItems();
    const std::string& mnuVFOControlTag() const noexcept { return vfoControlTag_; }

    const std::string& ShownReadout() const noexcept { return ShownReadout_; }
    int32_t MarkedDigit() const noexcept { return MarkedDigit_; }
    int32_t KeyDigit() const noexcept { return KeyDigit_; }
    int32_t TuningStepIndex() const noexcept { return TuningStepIndex_; }
    const TuningStepTable& steps() const noexcept { return p_.steps; }

private:
    const ScrollLabel& readoutKnob() const { return p_.ctlArray[kFrequencyReadoutKnob]; }
    void checkDigit(int32_t digit) const;
    void placeMarker(int32_t digit);
    int32_t tagDigit() const;
    void showSelectorUnderDigit(int32_t digit);

    TuningPorts p_;
    std::string ShownReadout_;
    int32_t MarkedDigit_ = 0;
    int16_t HoverDigit_ = 0;
    int16_t ClickedDigit_ = 0;
    bool ClickLock_ = false;
    bool KeyDigitSet_ = false;
    int32_t KeyDigit_ = 0;
    int32_t TuningStepIndex_ = 0;
    std::string vfoControlTag_;
};

// The shaft encoder's view of the readout: the panel's Display7Seg, and the main window's count label.
class PanelEncoderReadout final : public EncoderReadout {
public:
    PanelEncoderReadout(TuningPanel& panel, std::function<void(const std::string&)> label15)
        : panel_(panel), label15_(std::move(label15)) {}
    void Display7Seg(const std::string& digits) override { panel_.Display7Seg(digits); }
    void setLabel15Caption(const std::string& caption) override {
        if (label15_) label15_(caption);
    }

private:
    TuningPanel& panel_;
    std::function<void(const std::string&)> label15_;
};

} // namespace frontpanel
