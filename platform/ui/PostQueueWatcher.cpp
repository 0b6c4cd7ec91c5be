// The queue's eventfd is watched by a socket notifier; without one the queue is polled at the timer floor.
#include "platform/ui/PostQueueWatcher.h"

#include <QSocketNotifier>
#include <QTimer>

#include "platform/ui/PlatformTimers.h"

namespace ui {

PostQueueWatcher::PostQueueWatcher(runtime::PostQueue& queue) {
    if (queue.notifyFd() >= 0) {
        auto notifier = std::make_unique<QSocketNotifier>(queue.notifyFd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                         [&queue] { queue.drain(); });
        watcher_ = std::move(notifier);
    } else {
        auto timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [&queue] { queue.drain(); });
        timer->start(kTimerFloorMs);
        watcher_ = std::move(timer);
    }
}

PostQueueWatcher::~PostQueueWatcher() = default;

} // namespace ui
