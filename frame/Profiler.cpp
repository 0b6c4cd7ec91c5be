// Stopwatch on the performance counter.
#include "frame/Profiler.h"

#include <utility>

#include "platform/runtime/Hooks.h"

Profiler::Profiler(const runtime::PerformanceCounter& counter) : counter_(counter) {
    ticksPerSec_ = counter_.frequency();
    if (ticksPerSec_ <= 0) {
        ticksPerSec_ = 0;
        runtime::MsgBox("Your hardware doesn't support a high-resolution performance counter!",
                        runtime::mb::kInformation | runtime::mb::kOkOnly);
    }
}

int64_t Profiler::StartTiming() noexcept {
    startTick_ = counter_.now();
    return 0;
}

int64_t Profiler::StopTiming() noexcept {
    stopTick_ = counter_.now();
    const int64_t ticks = stopTick_ - startTick_;
    if (std::in_range<int32_t>(ticks)) durationInTicks_ = static_cast<int32_t>(ticks);
    if (ticksPerSec_ != 0)
        duration_ = static_cast<double>(durationInTicks_) / static_cast<double>(ticksPerSec_) * 1'000'000.0;
    return 0;
}
