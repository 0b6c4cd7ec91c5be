// The sound engine's hidden event form.
#include "dsp/frmDX8Events.h"

void frmDX8Events::fitArrays() {
    // Indexed 0 to SamplesPerEvent, one element more than a block; grows only when the block does, so
    // the block path never allocates.
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
