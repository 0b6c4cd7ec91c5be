// Platform timers as QTimers, one per (owner, id).
#include "platform/ui/QtPlatformTimers.h"

#include <QTimer>
#include <algorithm>

#include "platform/ui/Control.h"

namespace ui {

struct QtPlatformTimers::Entry {
    QTimer timer;
    Callback callback;
};

QtPlatformTimers::QtPlatformTimers() = default;
QtPlatformTimers::~QtPlatformTimers() = default;

void QtPlatformTimers::SetTimer(const void* owner, int32_t id, int32_t elapseMs, Callback callback) {
    auto& slot = timers_[{owner, id}];
    if (!slot) {
        slot = std::make_shared<Entry>();
        slot->timer.setTimerType(Qt::PreciseTimer);
        // The entry is held for the tick, so a callback that kills its own timer does not free it early.
        std::weak_ptr<Entry> weak = slot;
        QObject::connect(&slot->timer, &QTimer::timeout, &slot->timer, [weak] {
            if (const auto entry = weak.lock()) {
                const Callback cb = entry->callback;
                runGuarded(cb, "TimerProc");
            }
        });
    }
    slot->callback = std::move(callback);
    slot->timer.start(std::max(elapseMs, kTimerFloorMs));
}

bool QtPlatformTimers::KillTimer(const void* owner, int32_t id) {
    // The entry stays for the next arm of the same timer (the display's pacing kills and re-arms its
    // timer at every tick), so neither costs a new QTimer; deleting one inside its own timeout would not
    // be safe either.
    const auto it = timers_.find({owner, id});
    if (it == timers_.end() || !it->second->timer.isActive()) return false;
    it->second->timer.stop();
    return true;
}

int32_t QtPlatformTimers::intervalMs(const void* owner, int32_t id) const {
    const auto it = timers_.find({owner, id});
    return it == timers_.end() || !it->second->timer.isActive() ? 0 : it->second->timer.interval();
}

} // namespace ui
