// The process list and process identities read from /proc, and SIGTERM that cannot hit a reused pid.
#include "platform/process/ProcProcessTable.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/runtime/UniqueFd.h"

namespace process {

namespace {

// Called through syscall(): this C library's own header declares them without C linkage.
int pidfdOpen(Pid pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}
bool pidfdSendSignal(int pidfd, int sig) {
    return ::syscall(SYS_pidfd_send_signal, pidfd, sig, nullptr, 0) == 0;
}

using runtime::UniqueFd;

std::optional<std::string> readFile(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) return text;
        text.append(buffer, static_cast<size_t>(n));
    }
}

std::string readLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

std::string_view fileName(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<Pid> parsePid(std::string_view text) {
    Pid pid = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (ec != std::errc{} || end != text.data() + text.size() || pid <= 0) return std::nullopt;
    return pid;
}

} // namespace

namespace procfs {

std::optional<uint64_t> parseStartTime(std::string_view statLine) {
    // The command name in parentheses may itself hold blanks and parentheses, so count from the last ')'.
    const size_t close = statLine.rfind(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view rest = statLine.substr(close + 1);
    constexpr int kFieldsAfterName = 20; // state is field 3, the start time field 22
    for (int field = 1;; ++field) {
        const size_t begin = rest.find_first_not_of(' ');
        if (begin == std::string_view::npos) return std::nullopt;
        rest = rest.substr(begin);
        const size_t end = std::min(rest.find(' '), rest.size());
        if (field == kFieldsAfterName) {
            uint64_t value = 0;
            const std::string_view token = rest.substr(0, end);
            const auto [last, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
            if (ec != std::errc{} || last != token.data() + token.size()) return std::nullopt;
            return value;
        }
        rest = rest.substr(end);
    }
}

std::string exeFileName(std::string_view linkTarget) {
    constexpr std::string_view kDeleted = " (deleted)";
    if (linkTarget.ends_with(kDeleted)) linkTarget.remove_suffix(kDeleted.size());
    return std::string(fileName(linkTarget));
}

std::string commandFileName(std::string_view cmdline) {
    // argv[0] whole: a path with blanks in it is still one word.
    return std::string(fileName(cmdline.substr(0, cmdline.find('\0'))));
}

} // namespace procfs

ProcProcessTable::ProcProcessTable(std::string procRoot) : root_(std::move(procRoot)) {}

std::optional<std::vector<ProcessNames>> ProcProcessTable::list() const {
    DIR* dir = ::opendir(root_.c_str());
    if (dir == nullptr) return std::nullopt;
    std::vector<ProcessNames> processes;
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<Pid> pid = parsePid(entry->d_name);
        if (!pid) continue;
        const std::string folder = root_ + '/' + entry->d_name;
        // The exe link is readable only for our own processes; the command line is readable for all.
        processes.push_back({*pid, procfs::exeFileName(readLink(folder + "/exe")),
                             procfs::commandFileName(readFile(folder + "/cmdline").value_or(std::string{}))});
    }
    ::closedir(dir);
    return processes;
}

std::optional<ProcessIdentity> ProcProcessTable::identify(Pid pid) const {
    if (pid <= 0) return std::nullopt;
    const std::optional<std::string> stat = readFile(root_ + '/' + std::to_string(pid) + "/stat");
    if (!stat) return std::nullopt;
    const std::optional<uint64_t> startTime = procfs::parseStartTime(*stat);
    if (!startTime) return std::nullopt;
    return ProcessIdentity{pid, *startTime};
}

bool ProcProcessTable::terminate(const ProcessIdentity& target) {
    if (target.pid <= 0) return false;
    // A pid file descriptor pins the process, so the identity checked below is the one signalled.
    UniqueFd pidfd(pidfdOpen(target.pid));
    if (pidfd.get() < 0) return false;
    if (identify(target.pid) != target) return false;
    return pidfdSendSignal(pidfd.get(), SIGTERM);
}

} // namespace process
