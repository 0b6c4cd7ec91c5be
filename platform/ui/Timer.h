// The timer control: Interval in ms and Enabled; it runs while enabled with an interval above zero.
#pragma once

#include <QTimer>
#include <cstdint>

#include "platform/ui/Controls.h"

namespace ui {

class Timer final {
public:
    // A member of its form, so it goes with the form; it takes no Qt parent.
    Timer();
    int32_t Interval() const { return interval_; }
    // A new interval restarts the period; 0 stops the timer (Enabled keeps its value). Interval reads
    // back what was set; below kTimerFloorMs the timer runs at kTimerFloorMs.
    void setInterval(int32_t ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // True while ticks are being delivered.
    bool running() const { return timer_.isActive(); }
    QTimer& qtimer() { return timer_; }

    Handler Timer_; // the tick handler; forms wire it as tmrName.Timer_ = [this] { tmrName_Timer(); }

private:
    void apply();
    QTimer timer_;
    int32_t interval_ = 0;
    bool enabled_ = true;
};

} // namespace ui
