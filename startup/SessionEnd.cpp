// A self-pipe carries the session's end from the signal handler to the event loop.
#include "startup/SessionEnd.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/runtime/RuntimeError.h"

namespace startup {

namespace {

std::atomic<int> writeFd{-1};
std::atomic<bool> received{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the handler may only touch lock-free atomics");

extern "C" void onSessionEnd(int signal) {
    if (received.exchange(true)) {
        // The shutdown is already under way (or stuck): the signal's own action ends the process once this
        // handler returns.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeFd.load(), &byte, 1);
    errno = savedErrno;
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> close) : close_(std::move(close)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        runtime::raise(runtime::err::kDeviceIo, "startup::SessionEnd", "no pipe for the session's end");
    received = false;
    writeFd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
    struct sigaction action = {};
    action.sa_handler = onSessionEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &saved_[i]);
}

SessionEnd::~SessionEnd() {
    for (size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &saved_[i], nullptr);
    notifier_.reset();
    writeFd = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void SessionEnd::drain() {
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    // No error may leave an event handler.
    runtime::resumeNext([this] {
        if (close_) close_();
    });
}

} // namespace startup
