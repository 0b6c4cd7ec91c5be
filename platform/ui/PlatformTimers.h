// Timers with callbacks owned by a window and an id (SetTimer/KillTimer), so that Qt-free code (the encoder
// poll, the display's redraw pacing) can arm them.
#pragma once

#include <cstdint>
#include <functional>

namespace ui {

class PlatformTimers {
public:
    using Callback = std::function<void()>;
    virtual ~PlatformTimers() = default;

    // Arms a periodic timer; arming an (owner, id) pair that runs already replaces its callback and
    // restarts its period. An interval below 1 ms is taken as 1 ms.
    virtual void SetTimer(const void* owner, int32_t id, int32_t elapseMs, Callback callback) = 0;
    // Stops the timer; false when there was none. Safe from inside the timer's own callback.
    virtual bool KillTimer(const void* owner, int32_t id) = 0;
};

} // namespace ui
