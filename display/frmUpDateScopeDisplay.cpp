// The redraw pacing on the platform timers.
#include "display/frmUpDateScopeDisplay.h"

#include <algorithm>

#include "platform/runtime/Convert.h"

frmUpDateScopeDisplay::frmUpDateScopeDisplay(const Context& context) : c_(context) {
    c_.timing.setScopeDisplay([this] { UpdateScopeDisplay(); });
}

frmUpDateScopeDisplay::~frmUpDateScopeDisplay() {
    c_.timers.KillTimer(this, kTimerId);
    c_.timing.setScopeDisplay({});
}

void frmUpDateScopeDisplay::SetScopeTimer(int32_t elapseMs) {
    modTiming::Timing& timing = c_.timing;
    c_.timers.SetTimer(this, kTimerId, elapseMs, [&timing] { timing.ScopeTimerProc(); });
}

void frmUpDateScopeDisplay::KillScopeTimer() {
    c_.timers.KillTimer(this, kTimerId);
}

int64_t frmUpDateScopeDisplay::framesPerDraw() const {
    // The knob's lower limit keeps it at 1 or more; a value set past it still never divides by zero.
    return std::max<int64_t>(runtime::CLng(c_.ctlArray[lblFrameRateIndex].Value), 1);
}

void frmUpDateScopeDisplay::UpdateScopeDisplay() {
    // Every arm yields one call.
    KillScopeTimer();
    if (c_.shell.Minimised()) return;
    const int64_t n = framesPerDraw();
    ++frameCounter_;
    if (frameCounter_ % n != 0) {
        frameCounter_ &= 0x7FFF;
        return;
    }
    if (!c_.analyser.Freeze) {
        c_.analyser.Display();
        return;
    }
    // The frozen chain goes on whatever the redraw does.
    try {
        c_.analyser.DisplayFrozen();
    } catch (...) {
        SetScopeTimer(kBlockArmMs);
        throw;
    }
    SetScopeTimer(kBlockArmMs);
}
