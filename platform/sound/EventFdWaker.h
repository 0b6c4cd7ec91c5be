// Wakes the UI thread from the audio threads: an eventfd that a QSocketNotifier watches, so every
// block end costs one write and no queued call.
#pragma once

#include <functional>
#include <memory>

#include "platform/sound/NotificationHub.h"

class QSocketNotifier;

namespace sound {

class EventFdWaker final : public Waker {
public:
    // onWake runs on the thread that creates the waker (the UI thread), from its event loop.
    explicit EventFdWaker(std::function<void()> onWake);
    ~EventFdWaker() override;
    EventFdWaker(const EventFdWaker&) = delete;
    EventFdWaker& operator=(const EventFdWaker&) = delete;

    void wake() noexcept override;

private:
    int fd_ = -1;
    std::function<void()> onWake_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace sound
