// Platform timers on a simulated clock: advance() fires what falls due, in time order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/ui/PlatformTimers.h"

namespace ui::testing {

class FakePlatformTimers final : public PlatformTimers {
public:
    void SetTimer(const void* owner, int32_t id, int32_t elapseMs, Callback callback) override {
        const int64_t period = std::max<int32_t>(elapseMs, kTimerFloorMs);
        timers_[{owner, id}] = Entry{period, now_ + period, std::move(callback), elapseMs};
    }

    bool KillTimer(const void* owner, int32_t id) override { return timers_.erase({owner, id}) > 0; }

    // Moves the clock on by ms, firing each due timer once per elapsed period.
    void advance(int64_t ms) {
        const int64_t end = now_ + ms;
        for (;;) {
            auto next = timers_.end();
            for (auto it = timers_.begin(); it != timers_.end(); ++it)
                if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
                    next = it;
            if (next == timers_.end()) break;
            now_ = next->second.due;
            next->second.due += next->second.period;
            Callback callback = next->second.callback; // the callback may kill or re-arm its own timer
            if (callback) callback();
        }
        now_ = end;
    }

    bool isArmed(const void* owner, int32_t id) const { return timers_.count({owner, id}) > 0; }
    // The interval the caller asked for, and the one the timer runs at; 0 for a timer not armed.
    int32_t askedMs(const void* owner, int32_t id) const {
        const auto it = timers_.find({owner, id});
        return it == timers_.end() ? 0 : it->second.asked;
    }
    int64_t periodMs(const void* owner, int32_t id) const {
        const auto it = timers_.find({owner, id});
        return it == timers_.end() ? 0 : it->second.period;
    }
    int64_t now() const { return now_; }

private:
    using Key = std::pair<const void*, int32_t>;
    struct Entry {
        int64_t period;
        int64_t due;
        Callback callback;
        int32_t asked;
    };
    std::map<Key, Entry> timers_;
    int64_t now_ = 0;
};

} // namespace ui::testing
