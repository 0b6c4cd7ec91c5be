// Runs the work posted to a runtime::PostQueue on the UI thread, from the event loop, soon after it is
// posted: a backend thread's events, or an event the sound path must not handle while it runs.
#pragma once

#include <memory>

#include "platform/runtime/PostQueue.h"

class QObject;

namespace ui {

class PostQueueWatcher {
public:
    // The queue must outlive the watcher.
    explicit PostQueueWatcher(runtime::PostQueue& queue);
    ~PostQueueWatcher();
    PostQueueWatcher(const PostQueueWatcher&) = delete;
    PostQueueWatcher& operator=(const PostQueueWatcher&) = delete;

private:
    std::unique_ptr<QObject> watcher_;
};

} // namespace ui
