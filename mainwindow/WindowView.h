// The main window's widgets as the receiver reaches them: the form's own controls (power and layout
// buttons, statistics, labels, timers) and the widget steps of the start-up, the colours, the highlight and
// the shutdown that no core control mirrors. The window implements it; tests record it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "frontpanel/PanelPorts.h"
#include "mainwindow/FormColours.h"
#include "platform/ui/HookMessage.h"

namespace display {
class ScopePanelCore;
}
namespace recorder {
class RecorderPanel;
}
namespace frontpanel {
class FrontPanelCore;
class BandPlanPanel;
} // namespace frontpanel

namespace mainwindow {

// The colours ReColour has worked out, for the widgets' own steps.
struct RecolourPass {
    const SDRColourScheme& Scheme;
    const DerivedColours& Derived;
    int32_t WindowBack = 0;
    // The display pictures' background, once the analyser is made.
    std::optional<int32_t> ScopeBack;
};

// The window's four timers; each tick goes to the receiver's handler of the same name.
enum class WindowTimer { Tune, VfoUpdate, Clock, PerfStats };

// The form's labels the receiver writes.
enum class WindowLabel {
    Clock,        // lblClock
    ClockIn,      // lblCLKINFreq
    IFFrequency,  // lblIFFreq
    Version,      // lblVer
    EncoderCount, // Label15
};

class WindowView {
public:
    virtual ~WindowView() = default;

    // The form.
    virtual void showWindow() = 0;
    // The client area back to its design height (its width kept).
    virtual void resizeToDesignHeight() = 0;
    virtual int32_t BackColor() const = 0;
    virtual void setBackColor(int32_t colour) = 0;
    virtual std::string Caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void ShowTitleBar(bool on) = 0;
    // Whether the layouts count the title bar.
    virtual void setTitleBarHidden(bool hidden) = 0;
    // Applies layout 0 to 3; another index raises Invalid property array index and changes nothing.
    virtual void optDisplaySize_Click(int16_t Index) = 0;
    // The window frame's size, measured (or as the context gives it) for the layouts.
    virtual void measureChrome() = 0;
    virtual bool Minimised() const = 0;
    virtual void hideWindow() = 0;
    // The window closes once the handler running now has returned.
    virtual void requestClose() = 0;
    // The keyboard focus to the focus sink, so the window's key handler sees the keys.
    virtual void focusSink() = 0;

    // The power buttons: "On" selected; a choice selected or cleared (selecting one not selected runs
    // its click); all three enabled; "&Close" shown; the captions of "On" and "Off".
    virtual bool PowerOn() const = 0;
    virtual void setPowerChoice(int16_t Index, bool selected) = 0;
    virtual void enablePowerButtons() = 0;
    virtual void showClose(bool visible) = 0;
    virtual void setPowerColours(int32_t onColour, int32_t offColour) = 0;

    // The statistics values lblStatsVal(index) and their captions' switch.
    virtual void setStat(int16_t index, const std::string& caption) = 0;
    virtual void setStatColour(int16_t index, int32_t colour) = 0;
    virtual void setStatVisible(int16_t index, bool visible) = 0;
    virtual void setStatCaptionVisible(int16_t index, bool visible) = 0;
    virtual bool PerfStatsBox() const = 0;
    virtual void setPerfStatsBox(bool on) = 0;
    virtual void setLabel(WindowLabel label, const std::string& caption) = 0;

    // The timers: armed with an interval (a running one restarts), or stopped.
    virtual void startTimer(WindowTimer timer, int32_t ms) = 0;
    virtual void setTimerInterval(WindowTimer timer, int32_t ms) = 0;
    virtual void stopTimer(WindowTimer timer) = 0;

    // The band plan's widgets: the selectors on the band selector's row, the sub-band and preset buttons
    // placed from the preset frame's corner, and the tracking timer.
    virtual void layOutBandSelectors() = 0;
    virtual void layOutSubBandButtons() = 0;
    virtual void layOutPresetButtons() = 0;
    virtual void startSubBandTracking() = 0;
    virtual void stopSubBandTracking() = 0;
    // The tuning step selector listed and coloured, with the step in use selected.
    virtual void fillStepSelector(int32_t backColour, int32_t foreColour, double tuneStep) = 0;
    // The dial's rate label takes the readout's.
    virtual void copyTuningRate() = 0;
    // The mouse-wheel hook; unhooked, no knob answers the wheel.
    virtual void hookWheel(std::function<bool(const ui::HookMessage&)> hook) = 0;
    virtual void unhookWheel() = 0;
    // Both display pictures black.
    virtual void blackenDisplayPictures() = 0;
    // The spectrum's two frequency labels laid on each other.
    virtual void overlayFrequencyLabels() = 0;
    // The recorder's buttons and file name box centred in its panel, the box read-only.
    virtual void layOutRecorderPanel() = 0;
    // The recorder panel's widgets go; its core no longer reaches them.
    virtual void releaseRecorderWidgets() = 0;
    // The recording format's frames captioned in this colour.
    virtual void setRecordingFramesColour(int32_t colour) = 0;

    // The colours of every widget, by kind and then the panels' own steps.
    virtual void recolourWidgets(const RecolourPass& pass) = 0;
    // Every frame caption in the normal frame colour; one frame lit.
    virtual void unfocusFrames(int32_t frameNormal) = 0;
    virtual void focusFrame(frontpanel::KnobFrame frame) = 0;

    // The panels the load makes: their widgets follow them from now on.
    virtual void bindDisplay(display::ScopePanelCore& panel) = 0;
    virtual void bindRecorder(recorder::RecorderPanel& panel) = 0;
};

} // namespace mainwindow
