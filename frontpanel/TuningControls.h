// The frequency readout's controls: the frame with the nine seven-segment digits in their picture, the
// step marker, the decimal points, the scale labels, the tuning rate with its lock picture and step
// selector, and the tuning dial. They show what the front panel's core tells them (they are its readout
// view and its dial position) and forward the user's events to it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "frontpanel/FrontPanelCore.h"
#include "frontpanel/SevenSegmentDigit.h"
#include "frontpanel/TuningPanel.h"
#include "platform/dial/Dial.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"

namespace frontpanel {

class TuningControls final : public ReadoutView, public DialPosition {
public:
    // What the readout shows on the main window and sets there: the statistics panel's "LO" value and
    // the tuning-repeat timer's interval. Either may be empty.
    struct WindowHooks {
        std::function<void(const std::string&)> loCaption;
        std::function<void(int32_t ms)> tuneRepeatInterval;
    };

    // Builds the controls in container, the frame's top left corner at (left, top) in twips.
    TuningControls(QWidget* container, int32_t left, int32_t top, WindowHooks hooks = {});
    TuningControls(const TuningControls&) = delete;
    TuningControls& operator=(const TuningControls&) = delete;

    // Wires the controls' events to the core made over this view and dial. The selector lists steps.
    void connect(FrontPanelCore& core, const TuningStepTable& steps);

    // ReadoutView
    void setDigitCaption(int16_t digit, const std::string& caption) override;
    void setDigitColour(int16_t digit, int32_t bgr) override;
    void setMarker(const TwipsRect& place, int32_t borderColour) override;
    void setTuningRateCaption(const std::string& caption) override;
    void setTuningRateLook(int32_t textColour, const std::string& toolTip) override;
    void setLockPictureVisible(bool visible) override;
    void setLoCaption(const std::string& caption) override;
    void showStepSelector(int32_t left, int32_t top) override;
    void hideStepSelector() override;
    void focusReadout() override;
    void setTuneRepeatInterval(int32_t ms) override;
    TwipsRect digitRect(int16_t digit) const override;
    TwipsRect readoutRect() const override;
    TwipsRect dialRect() const override;
    TwipsRect tuningRateRect() const override;
    TwipsRect stepSelectorRect() const override;

    // DialPosition
    int32_t Value() const override { return dialtuner.Value(); }
    void setValue(int32_t value) override { dialtuner.setValue(value); }

    ui::Frame frFreqCtl;
    ui::PictureBox picFreqDisp;
    std::array<std::unique_ptr<SevenSegmentDigit>, kReadoutDigits> lbl7Seg;
    std::array<std::unique_ptr<ui::Shape>, 3> shpDP;
    ui::Shape shpTuneStep;
    std::array<std::unique_ptr<ui::Label>, 3> lblScale;
    ui::Label lblTuningRate;
    LockPicture imgTuneStepLock;
    ui::ComboBox cboTuningSteps;
    ui::PictureBox picTuneDial;
    dial::Dial dialtuner;
    ui::Label lblTuneDialRate;

private:
    WindowHooks hooks_;
};

// A knob's label: a label control that is the knob's KnobLabel, and whose hover and clicks reach the
// knob table.
class KnobLabelControl final : public KnobLabel {
public:
    KnobLabelControl(QWidget* container, int16_t knob, const std::string& caption = {});
    // Registers the label with the table, before the start-up fills it, and wires its mouse events.
    void connect(FrontPanelCore& core);

    void setCaption(const std::string& caption) override { label.setCaption(caption); }
    void setForeColor(int32_t bgr) override { label.setForeColor(bgr); }
    void setBorder(bool single) override { label.setBorderStyle(single ? 1 : 0); }
    int16_t knob() const { return knob_; }

    ui::Label label;

private:
    int16_t knob_;
};

} // namespace frontpanel
