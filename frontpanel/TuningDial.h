// The tuning dial's handler: one tuning step per turn event, in the direction of the turn, and the code
// moves of the dial (wheel tuning, the tuning-repeat timer), which keep the dial's last position in step
// so that the next turn is measured from where the dial now stands.
#pragma once

#include <cstdint>

#include "frame/ReceiverState.h"
#include "frontpanel/PanelPorts.h"

namespace frontpanel {

class TuningDial {
public:
    TuningDial(ReceiverState& state, TuningVfo& vfo, DialPosition& dial)
        : state_(state), vfo_(vfo), dial_(dial) {}

    // The dial's Changing event: a user's turn. Only the sign of the move counts.
    void DialTuner_Changing();

    // The dial moves by code, one or more positions; no tuning. The dial raises no event for it.
    void moveByCode(int32_t positions);

    int32_t LastDialValue() const noexcept { return LastDialValue_; }
    double DialStep() const noexcept { return DialStep_; }

private:
    ReceiverState& state_;
    TuningVfo& vfo_;
    DialPosition& dial_;
    bool DialBusy_ = false;
    int32_t LastDialValue_ = 0;
    double DialStep_ = 0;
};

} // namespace frontpanel
