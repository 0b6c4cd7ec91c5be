// The main window's colours: what ReColour gives each kind of control, the colours it derives from the
// scheme or fixes whatever the scheme, and the knob labels' highlight (ActiveKnob, colour, border).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "frame/ReceiverState.h"

namespace mainwindow {

// The kinds of control ReColour tells apart; every other kind (command buttons, sliders, dials, list
// boxes, lines, timers) is Other.
enum class ControlKind { Frame, Label, OptionButton, CheckBox, TextBox, PictureBox, ComboBox, Shape, Other };

// The colours ReColour gives a control; an empty one stays as it is.
struct ControlColours {
    std::optional<int32_t> BackColor;
    std::optional<int32_t> ForeColor;
    bool operator==(const ControlColours&) const = default;
};
ControlColours recolour(ControlKind kind, int32_t windowBackColour, const SDRColourScheme& scheme);

// The colours ReColour derives from the tuning colour and those it holds whatever the scheme, so that
// the readout, the power buttons and the S-meter read on any background.
struct DerivedColours {
    int32_t TuningDigits = 0;   // lbl7Seg and knob 1's NormalColour: 85 % of Tuning
    int32_t TuningFocus = 0;    // knob 1's FocusColour: Tuning
    int32_t DecimalPoints = 0;  // shpDP fill, border and background: 50 %
    int32_t ScaleLabels = 0;    // lblScale ("Hz", "KHz", "MHz"): 75 %
    int32_t Clock = 0;          // lblClock: 75 %
    int32_t TuningText = 0;     // lblTuningRate, chkTuneLo, lblBFO, lblBFODesc: Tuning
    int32_t TuneDialRate = 0;   // lblTuneDialRate: black
    int32_t RecorderLabels = 0; // lblRecordSize, lblRecordTime: ScrollLabelFocus
    int32_t PowerOn = 0x00FF00;
    int32_t PowerOff = 0x0000FF;
    int32_t PowerClose = 0x00FFFF;
    int32_t SMeterBack = 0; // picSmeter(0) to (2)
};
DerivedColours derivedColours(const SDRColourScheme& scheme);

// The knob table as the colours and the highlight see it; the front panel implements it over ctlArray.
// An index outside the table raises Subscript out of range.
class KnobLabels {
public:
    virtual ~KnobLabels() = default;
    virtual int16_t LBound() const = 0;
    virtual int16_t UBound() const = 0;
    virtual bool Disabled(int16_t knob) const = 0;
    virtual bool HasLabel(int16_t knob) const = 0;
    virtual int32_t NormalColour(int16_t knob) const = 0;
    virtual int32_t FocusColour(int16_t knob) const = 0;
    virtual void setColours(int16_t knob, int32_t normal, int32_t focus) = 0;
    virtual void setLabelColour(int16_t knob, int32_t colour) = 0;
    // True: a fixed single line; false: none.
    virtual void setLabelBorder(int16_t knob, bool single) = 0;
};

class KnobHighlight {
public:
    static constexpr int16_t kReadoutKnob = 1;
    static constexpr int16_t kBfoKnob = 20;

    // focusSink gives the keyboard focus to the window's focus sink, so keys reach its key handler.
    KnobHighlight(ReceiverState& state, KnobLabels& knobs, std::function<void()> focusSink);

    // ReColour's knob steps: every knob takes the knob-label colours and shows its normal one, then the
    // readout knob takes the tuning colours. Each statement on its own guard.
    void RecolourKnobs();
    // Marks knob Index. A negative Index is replaced by ActiveKnob and handed back. The active knob and
    // a disabled knob are left as they are; a nested call returns at once.
    void HighlightValueLabel(int16_t& Index);
    // Unmarks ActiveKnob, or knob Index; ActiveKnob becomes 0.
    void UnhighlightValueLabel();
    void UnhighlightValueLabel(int16_t Index);
    // DarkenControls' knob step: every label in its normal colour without a border, the BFO knob's in
    // the tuning colour. Each statement on its own guard.
    void DarkenKnobLabels();

private:
    ReceiverState& state_;
    KnobLabels& knobs_;
    std::function<void()> focusSink_;
    bool highlightBusy_ = false;
};

} // namespace mainwindow
