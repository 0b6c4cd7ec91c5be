// Platform timers as QTimers, one per (owner, id).
#include "QtPlatformTimers.h"

#include <QTimer>
#include <algorithm>

#include "platform/ui/Controls.h"

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
    const auto it = timers_.find({owner, id});
    if (it == timers_.end()) return false;
    it->second->timer.stop();
    // Deleting a QTimer inside its own timeout is not safe: hand the last reference to the event loop.
    auto entry = std::move(it->second);
    timers_.erase(it);
    QTimer::singleShot(0, [entry] {});
    return true;
}

} // namespace ui
