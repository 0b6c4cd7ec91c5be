// Microsecond settle delays on the performance counter, and the scope timer callback.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/runtime/PerformanceCounter.h"

namespace modTiming {

class Timing {
public:
    explicit Timing(const runtime::PerformanceCounter& counter = runtime::systemPerformanceCounter());

    // Measures the counter's rate; calling it again sets the same value again.
    void InitTiming();
    int32_t TicksPerMicrosecond() const noexcept { return ticksPerMicrosecond_; }

    // Returns once at least us microseconds' worth of counts have passed; waits over 500 us pump the
    // message loop on every pass. NaN, infinite or absurdly long waits raise Invalid procedure call.
    void DelayMicroseconds(float us) const;

    // The display installs its pacing routine here: it creates the hidden pacing window when needed
    // and redraws.
    void setScopeDisplay(std::function<void()> updateScopeDisplay) {
        updateScopeDisplay_ = std::move(updateScopeDisplay);
    }
    // Timer callback armed by the block drivers and the power button; a failure of the redraw is
    // logged and goes no further.
    void ScopeTimerProc() noexcept;

private:
    const runtime::PerformanceCounter& counter_;
    int32_t ticksPerMicrosecond_ = 0;
    std::function<void()> updateScopeDisplay_;
};

} // namespace modTiming
