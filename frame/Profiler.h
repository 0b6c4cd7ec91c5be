// Stopwatch on the performance counter; the block drivers time each block with one.
#pragma once

#include <cstdint>

#include "platform/runtime/PerformanceCounter.h"

class Profiler {
public:
    // Shows a message when the platform has no counter; TicksPerSec then stays 0.
    explicit Profiler(const runtime::PerformanceCounter& counter = runtime::systemPerformanceCounter());

    int64_t StartTiming() noexcept;
    // Measures from the last StartTiming. An interval beyond 32 bits of ticks, or no counter, leaves
    // the previous duration in place.
    int64_t StopTiming() noexcept;

    double Duration() const noexcept { return duration_; } // microseconds
    int32_t DurationInTicks() const noexcept { return durationInTicks_; }
    int64_t TicksPerSec() const noexcept { return ticksPerSec_; }
    int64_t StartTick() const noexcept { return startTick_; }
    int64_t StopTick() const noexcept { return stopTick_; }

private:
    const runtime::PerformanceCounter& counter_;
    int64_t ticksPerSec_ = 0;
    int64_t startTick_ = 0;
    int64_t stopTick_ = 0;
    int32_t durationInTicks_ = 0;
    double duration_ = 0;
};
