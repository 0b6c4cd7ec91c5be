// The tuning dial's handler.
#include "frontpanel/TuningDial.h"

#include <algorithm>

#include "frame/ScopedFlag.h"

namespace frontpanel {

void TuningDial::DialTuner_Changing() {
    if (DialBusy_) return;
    const ScopedFlag busy(DialBusy_);
    if (state_.SkipDialChange) {
        state_.SkipDialChange = false;
        return;
    }
    DialStep_ = state_.TuneStepLocked ? vfo_.TuneStep() : 1000.0;
    const int64_t delta = static_cast<int64_t>(dial_.Value()) - LastDialValue_;
    LastDialValue_ = dial_.Value();
    if (delta < 0)
        vfo_.Dec_Freq(DialStep_);
    else if (delta > 0)
        vfo_.Inc_Freq(DialStep_);
}

void TuningDial::moveByCode(int32_t positions) {
    const int64_t wanted = static_cast<int64_t>(dial_.Value()) + positions;
    dial_.setValue(static_cast<int32_t>(std::clamp<int64_t>(wanted, INT32_MIN, INT32_MAX)));
    LastDialValue_ = dial_.Value();
}

} // namespace frontpanel
