// The main window's routines that the components on it call: colours, hover and knob highlight, the
// layouts, the caption, and the power button's sound start, the DRM decoder's start and the housekeeping
// tick. Declared here, below the components, so that each reaches the shell without knowing the window;
// the main window implements it.
#pragma once

#include <cstdint>
#include <string>

namespace ui {
class Frame;
}

class ShellRoutines {
public:
    virtual ~ShellRoutines() = default;

    // The colour scheme on every control of the window.
    virtual void ReColour() = 0;
    // Ends every hover effect: pop-ups and selectors hidden, knob labels back to normal, ActiveKnob 0.
    virtual void DarkenControls() = 0;
    // Every frame caption in the normal frame colour; FocusFrame then lights one.
    virtual void UnFocusFrames() = 0;
    virtual void FocusFrame(ui::Frame& frame) = 0;
    // Marks knob Index (a negative one stands for the active knob and is handed back); the active and
    // disabled knobs are left alone.
    virtual void HighlightValueLabel(int16_t& Index) = 0;
    virtual void UnhighlightValueLabel() = 0;
    virtual void UnhighlightValueLabel(int16_t Index) = 0;
    // Applies layout 0 to 3; another index raises Invalid property array index and changes nothing.
    virtual void optDisplaySize_Click(int16_t Index) = 0;
    virtual std::string Caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Prepares the sound devices and starts sound; a failure leaves the power Off and raises.
    virtual void StartSound() = 0;
    // Starts the DRM decoder when its options say so.
    virtual void RunDREAM() = 0;
    // The block housekeeping.
    virtual void tmrPerfStats_Timer() = 0;
};
