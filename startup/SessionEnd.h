// The end of the desktop session: SIGTERM, SIGHUP and SIGINT close the main window as the user does, so
// the shutdown runs and saves; a second signal while it runs ends the process at once.
#pragma once

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace startup {

class SessionEnd {
public:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    // close runs on the UI thread, from the event loop, at the first signal; the handler itself only
    // writes to a pipe. One object at a time: the handlers are the process's.
    explicit SessionEnd(std::function<void()> close);
    // Puts back the dispositions found at construction.
    ~SessionEnd();
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

private:
    void drain();

    std::function<void()> close_;
    int pipe_[2] = {-1, -1};
    struct sigaction saved_[std::size(kSignals)] = {};
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace startup
