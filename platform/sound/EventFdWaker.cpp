// The eventfd wake-up of the UI thread.
#include "platform/sound/EventFdWaker.h"

#include <QSocketNotifier>
#include <cstdint>
#include <exception>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/runtime/RuntimeError.h"

namespace sound {

EventFdWaker::EventFdWaker(std::function<void()> onWake) : onWake_(std::move(onWake)) {
    fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd_ < 0) runtime::raise(runtime::err::kOutOfMemory, "EventFdWaker");
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        uint64_t count = 0;
        // Several wakes since the last read collapse into one pass over every pending block.
        [[maybe_unused]] const auto got = ::read(fd_, &count, sizeof count);
        try {
            if (onWake_) onWake_();
        } catch (const std::exception&) {
            // Nothing may cross the event loop; the hub counts failing notifications itself.
        }
    });
}

EventFdWaker::~EventFdWaker() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

void EventFdWaker::wake() noexcept {
    const uint64_t one = 1;
    [[maybe_unused]] const auto put = ::write(fd_, &one, sizeof one);
}

} // namespace sound
