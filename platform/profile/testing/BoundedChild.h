// Test helper: runs a body in a forked child that the test waits for with a bound, so code that could
// block for ever (a FIFO opened for reading) fails the test instead of hanging it.
#pragma once

#include <chrono>
#include <csignal>
#include <optional>

#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace profile::testing {

// The child's exit code (the body's result), or nullopt when it did not end within the bound; it is then
// killed by its pid.
template <class Body> std::optional<int> runInBoundedChild(Body body, std::chrono::milliseconds bound) {
    const pid_t pid = ::fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) ::_exit(body());
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    pollfd p{pidfd, POLLIN, 0};
    const bool ended = pidfd >= 0 && ::poll(&p, 1, static_cast<int>(bound.count())) == 1;
    if (!ended) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (pidfd >= 0) ::close(pidfd);
    if (!ended || !WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

} // namespace profile::testing
