// Microsecond settle delays on the performance counter, and the scope timer callback.
#include "frame/modTiming.h"

#include <cmath>
#include <exception>

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"

namespace modTiming {

Timing::Timing(const runtime::PerformanceCounter& counter) : counter_(counter) {
    InitTiming();
}

void Timing::InitTiming() {
    ticksPerMicrosecond_ = runtime::CLng(static_cast<double>(counter_.frequency()) / 1'000'000.0);
}

void Timing::DelayMicroseconds(float us) const {
    const double target = runtime::roundHalfEven(static_cast<double>(us) * ticksPerMicrosecond_);
    // 2^62 counts are decades at any counter rate: anything beyond is a caller's mistake, not a wait.
    if (!std::isfinite(target) || target > 4.6e18)
        runtime::raise(runtime::err::kInvalidCall, "modTiming.DelayMicroseconds");
    if (target <= 0) return;

    // The counts are this wait's own: a wait nested in the message pumping of a longer one must not
    // end the outer wait early, which would shorten a hardware settle time.
    const auto wanted = static_cast<int64_t>(target);
    const bool pump = us > 500.0f;
    const int64_t start = counter_.now();
    int64_t latest = counter_.now();
    while (latest - start < wanted) {
        latest = counter_.now();
        if (pump) runtime::DoEvents();
    }
}

void Timing::ScopeTimerProc() noexcept {
    try {
        if (updateScopeDisplay_) updateScopeDisplay_();
    } catch (const runtime::RuntimeError& e) {
        runtime::resumeNext([&] {
            runtime::AddLog("modTiming.ScopeTimerProc Code=" + std::to_string(e.Number()) +
                            " Description=" + e.Description() + " Source=" + e.Source());
        });
    } catch (const std::exception& e) {
        runtime::resumeNext(
            [&] { runtime::AddLog(std::string("modTiming.ScopeTimerProc Description=") + e.what()); });
    }
}

} // namespace modTiming
