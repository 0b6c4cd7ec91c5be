// The sound engine's hidden event form.
#include "dsp/frmDX8Events.h"

void frmDX8Events::fitArrays() {
    // One element more than a block, as the arrays have always had; grows only when the block does.
    const auto size = static_cast<size_t>(engine_.SamplesPerEvent()) + 1;
    if (Channel1.size() < size) Channel1.resize(size, 0);
    if (Channel2.size() < size) Channel2.resize(size, 0);
}

void frmDX8Events::Load() {
    engine_.setEventForm(this);
    engine_.sethWnd(kWindowHandle);
    fitArrays();
}

void frmDX8Events::DXCallback(int32_t eventid) {
    fitArrays();
    engine_.EventHandler(eventid, Channel1, Channel2);
}
