// Timer control over QTimer.
#include "platform/ui/Timer.h"

#include <algorithm>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/PlatformTimers.h"

namespace ui {

Timer::Timer() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { runGuarded(Timer_, "Timer"); });
}

void Timer::setInterval(int32_t ms) {
    if (ms < 0 || ms > 65535)
        runtime::raise(err::kInvalidPropertyValue, "Timer.Interval", "Invalid property value");
    interval_ = ms;
    apply();
}

void Timer::setEnabled(bool on) {
    enabled_ = on;
    apply();
}

void Timer::apply() {
    if (enabled_ && interval_ > 0)
        timer_.start(std::max(interval_, kTimerFloorMs));
    else
        timer_.stop();
}

} // namespace ui
