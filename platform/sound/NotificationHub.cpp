// Notification events and their delivery on the UI thread.
#include "platform/sound/NotificationHub.h"

#include <algorithm>
#include <exception>

#include "platform/sound/LoopingBuffer.h"

namespace sound {

int32_t NotificationHub::createEvent(EventSink& sink) {
    const int32_t id = nextEvent_++;
    events_.emplace_back(id, &sink);
    return id;
}

void NotificationHub::destroyEvent(int32_t eventId) {
    std::erase_if(events_, [eventId](const auto& e) { return e.first == eventId; });
}

void NotificationHub::attach(LoopingBuffer* buffer) {
    buffers_.push_back(buffer);
}

void NotificationHub::detach(LoopingBuffer* buffer) noexcept {
    std::erase(buffers_, buffer);
}

void NotificationHub::deliver() {
    for (;;) {
        bool any = false;
        // By index: a sink may release buffers while it runs.
        for (size_t i = 0; i < buffers_.size(); ++i) {
            const auto eventId = buffers_[i]->takeNotification();
            if (!eventId) continue;
            any = true;
            dispatch(*eventId);
        }
        if (!any) return;
    }
}

void NotificationHub::dispatch(int32_t eventId) {
    const auto it =
        std::find_if(events_.begin(), events_.end(), [eventId](const auto& e) { return e.first == eventId; });
    if (it == events_.end()) return;
    try {
        EventSink* sink = it->second;
        sink->DXCallback(eventId);
    } catch (const std::exception&) {
        ++callbackErrors_;
    }
}

} // namespace sound
