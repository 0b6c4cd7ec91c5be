// Timers with callbacks owned by a window and an id (SetTimer/KillTimer), so that Qt-free code (the encoder
// poll, the display's redraw pacing) can arm them.
#pragma once

#include <cstdint>
#include <functional>

namespace ui {

// No timer fires more often than every 10 ms: a shorter interval runs at 10 ms. A tick more often
// than that only makes work for a receiver whose blocks arrive every 42.67 ms.
inline constexpr int32_t kTimerFloorMs = 10;

class PlatformTimers {
public:
    using Callback = std::function<void()>;
    virtual ~PlatformTimers() = default;

    // Arms a periodic timer; arming an (owner, id) pair that runs already replaces its callback and
    // restarts its period. An interval below kTimerFloorMs runs at kTimerFloorMs.
    virtual void SetTimer(const void* owner, int32_t id, int32_t elapseMs, Callback callback) = 0;
    // Stops the timer; false when there was none. Safe from inside the timer's own callback.
    virtual bool KillTimer(const void* owner, int32_t id) = 0;
};

} // namespace ui
