// Notification events and their delivery to event sinks on the UI thread, shared by every backend.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/sound/SoundSystem.h"

namespace sound {

class LoopingBuffer;

// Wakes the UI thread from an audio thread; must not block or allocate.
class Waker {
public:
    virtual ~Waker() = default;
    virtual void wake() noexcept = 0;
};

class NotificationHub {
public:
    explicit NotificationHub(Waker* waker = nullptr) : waker_(waker) {}
    NotificationHub(const NotificationHub&) = delete;
    NotificationHub& operator=(const NotificationHub&) = delete;

    int32_t createEvent(EventSink& sink);
    void destroyEvent(int32_t eventId);

    void attach(LoopingBuffer* buffer);
    void detach(LoopingBuffer* buffer) noexcept;
    const std::vector<LoopingBuffer*>& buffers() const noexcept { return buffers_; }

    // UI thread: hands every pending block end to its sink, one per buffer in turn, so capture and
    // playback stay interleaved. Re-entrant: a sink that pumps the message loop may deliver the next.
    void deliver();

    void wake() noexcept {
        if (waker_) waker_->wake();
    }

    // Notifications whose sink raised; the error cannot cross the message loop.
    int64_t callbackErrors() const noexcept { return callbackErrors_; }

private:
    void dispatch(int32_t eventId);

    Waker* waker_;
    std::vector<std::pair<int32_t, EventSink*>> events_;
    std::vector<LoopingBuffer*> buffers_;
    int32_t nextEvent_ = 1;
    int64_t callbackErrors_ = 0;
};

} // namespace sound
