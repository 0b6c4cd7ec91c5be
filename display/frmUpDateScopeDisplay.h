// The display's redraw pacing: the owner of platform timer 1, which the block drivers arm after every
// played block and the power button's "Off" arms once; each firing counts, and every N-th draws a frame,
// N being the frame-rate knob. A frozen display keeps redrawing itself from a 1 ms chain.
#pragma once

#include <cstdint>

#include "display/DisplayShell.h"
#include "display/clsSpectrumAnalyser.h"
#include "frame/modTiming.h"
#include "frontpanel/ScrollLabel.h"
#include "platform/ui/PlatformTimers.h"

class frmUpDateScopeDisplay {
public:
    static constexpr int32_t kTimerId = 1;
    // The block drivers' arm, and the frozen chain's.
    static constexpr int32_t kBlockArmMs = 1;
    // The power button's "Off".
    static constexpr int32_t kPowerOffArmMs = 50;

    struct Context {
        ui::PlatformTimers& timers;
        modTiming::Timing& timing; // its scope hook runs the pacing and contains its failures
        clsSpectrumAnalyser& analyser;
        const CtlArray& ctlArray; // the frame-rate knob
        display::DisplayShell& shell;
    };

    // Installs UpdateScopeDisplay as the timing module's scope hook.
    explicit frmUpDateScopeDisplay(const Context& context);
    // Kills the timer and takes the hook back.
    ~frmUpDateScopeDisplay();
    frmUpDateScopeDisplay(const frmUpDateScopeDisplay&) = delete;
    frmUpDateScopeDisplay& operator=(const frmUpDateScopeDisplay&) = delete;

    // Arms the one-shot timer; arming an armed one restarts its count-down.
    void SetScopeTimer(int32_t elapseMs);
    void KillScopeTimer();

    // The timer's routine: every arm yields one call. Draws every N-th call while the main window is not
    // minimised; a frozen display re-arms 1 ms after each frame. An error of the frame reaches the caller
    // (the timing module's hook logs it); the next arm paces on.
    void UpdateScopeDisplay();

    // Calls counted since the start; never wraps (64 bits), masked to 15 bits on the calls that do not
    // draw, as the pacing always has.
    int64_t FrameCounter() const noexcept { return frameCounter_; }

private:
    int64_t framesPerDraw() const;

    Context c_;
    int64_t frameCounter_ = 0;
};
