// Child processes for tests: started under a chosen name, read line by line, waited for with a bound, and
// killed by their pid when the test leaves.
#pragma once

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace process::testing {

// Whether a program of that name can be run from PATH.
inline bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    const std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        if (::access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Files a child's standard streams go to instead of the defaults (the test's input and error, and a pipe
// for the output that readLine reads); empty keeps the default.
struct Redirects {
    std::string input{};
    std::string output{};
    std::string error{};
};

class ChildProcess {
public:
    // argv[0] is what the child is told its name is; program is the file that runs.
    ChildProcess(const std::string& program, const std::vector<std::string>& argv, const Redirects& to = {}) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2");
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            // Dies with the test, so a failed test leaves nothing running.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) ::_exit(127);
            ::dup2(fds[1], STDOUT_FILENO);
            const auto redirect = [](const std::string& path, int fd, int flags) {
                if (path.empty()) return;
                const int file = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
                if (file < 0) ::_exit(126);
                ::dup2(file, fd);
            };
            redirect(to.input, STDIN_FILENO, O_RDONLY);
            redirect(to.output, STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
            redirect(to.error, STDERR_FILENO, O_WRONLY | O_CREAT | O_APPEND);
            std::vector<char*> args;
            for (const std::string& a : argv)
                args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            ::execvp(program.c_str(), args.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
        pidfd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    }

    ~ChildProcess() {
        if (!reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        if (pidfd_ >= 0) ::close(pidfd_);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    void signal(int sig) const { ::kill(pid_, sig); }

    // The wait status once the child has ended and been reaped; nullopt when it is still running at timeout.
    std::optional<int> waitFor(std::chrono::milliseconds timeout) {
        if (reaped_) return status_;
        pollfd p{pidfd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(timeout.count())) != 1) return std::nullopt;
        if (::waitpid(pid_, &status_, 0) != pid_) return std::nullopt;
        reaped_ = true;
        return status_;
    }

    // One line of the child's standard output, without its newline; nullopt at timeout or end of output.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const size_t nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{out_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) != 1) return std::nullopt;
            char chunk[256];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int pidfd_ = -1;
    int status_ = 0;
    bool reaped_ = false;
    std::string buffer_;
};

// A copy of a program under a file name of the test's choosing, in a folder of its own.
class ProgramCopy {
public:
    ProgramCopy(const std::string& program, const std::string& fileName) {
        namespace fs = std::filesystem;
        folder_ = fs::temp_directory_path() /
                  ("nerix-process-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(folder_);
        path_ = folder_ / fileName;
        fs::copy_file(program, path_);
    }
    ~ProgramCopy() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    std::string path() const { return path_.string(); }

private:
    static inline int counter_ = 0;
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

} // namespace process::testing
