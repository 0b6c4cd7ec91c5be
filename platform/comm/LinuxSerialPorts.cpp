// The Linux serial backend.
#include "platform/comm/LinuxSerialPorts.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/comm/ModemWatch.h"

namespace comm {

std::string serialDevicePath(int32_t portNo, const profile::SettingsStore* store, const EnvLookup& env) {
    if (portNo < 1) return {};
    const std::string name = "COM" + std::to_string(portNo);
    if (env)
        if (const auto value = env("NERIX_" + name); value && !value->empty()) return *value;
    if (store) {
        std::string value = store->GetSetting("NerixSDR", "SerialPorts", name);
        if (!value.empty()) return value;
    }
    return "/dev/ttyS" + std::to_string(portNo - 1);
}

namespace {

std::string resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

namespace {

// A virtual console, /dev/tty0 (the one in front) to /dev/ttyN: a screen and keyboard, never a port.
bool isVirtualConsole(std::string_view path) {
    constexpr std::string_view prefix = "/dev/tty";
    if (!path.starts_with(prefix) || path.size() == prefix.size()) return false;
    return path.substr(prefix.size()).find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

bool isConsoleDevice(const std::string& path, const std::string& activeConsoleList) {
    const std::string real = resolved(path);
    if (real == "/dev/console" || real == "/dev/tty" || isVirtualConsole(real)) return true;
    std::ifstream list(activeConsoleList);
    std::string name;
    const std::string base = baseName(real);
    while (list >> name)
        if (name == base) return true;
    return false;
}

namespace {

class LinuxSerialPort final : public SerialPort {
public:
    LinuxSerialPort(int fd, int32_t handle, std::chrono::microseconds interval)
        : fd_(fd), handle_(handle), interval_(interval) {}
    ~LinuxSerialPort() override { close(); }

    bool escape(LineCode code) override {
        if (fd_ < 0) return false;
        int bits = 0;
        switch (code) {
        case LineCode::SetDtr:
            bits = TIOCM_DTR;
            return ::ioctl(fd_, TIOCMBIS, &bits) == 0;
        case LineCode::ClrDtr:
            bits = TIOCM_DTR;
            return ::ioctl(fd_, TIOCMBIC, &bits) == 0;
        case LineCode::SetRts:
            bits = TIOCM_RTS;
            return ::ioctl(fd_, TIOCMBIS, &bits) == 0;
        case LineCode::ClrRts:
            bits = TIOCM_RTS;
            return ::ioctl(fd_, TIOCMBIC, &bits) == 0;
        case LineCode::SetBreak:
            return ::ioctl(fd_, TIOCSBRK) == 0;
        case LineCode::ClrBreak:
            return ::ioctl(fd_, TIOCCBRK) == 0;
        }
        return false;
    }

    int32_t modemStatus() override {
        int lines = 0;
        if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &lines) != 0) return 0;
        return modemStatusFromLines(lines);
    }

    int32_t handle() const override { return handle_; }

    bool configure(int32_t baud) override {
        termios tio{};
        if (fd_ < 0 || ::tcgetattr(fd_, &tio) != 0) return false;
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD | CS8;
        tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | PARENB | CSTOPB);
        const speed_t speed = baud == 1200 ? B1200 : baud == 2400 ? B2400 : baud == 4800 ? B4800 : B9600;
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
    }

    void startWatch(ModemEventSink sink) override {
        stopWatch();
        const int fd = fd_;
        // Drivers without edge counters still get their level changes counted, one edge per look.
        auto tally = std::make_shared<ModemLook>(ModemLook{0, 0, -1});
        watcher_ = std::make_unique<ModemWatcher>(
            [fd, tally]() -> std::optional<ModemLook> {
                int lines = 0;
                if (::ioctl(fd, TIOCMGET, &lines) != 0) return std::nullopt;
                const int32_t status = modemStatusFromLines(lines);
                serial_icounter_struct counts{};
                if (::ioctl(fd, TIOCGICOUNT, &counts) == 0)
                    return ModemLook{static_cast<uint32_t>(counts.cts), static_cast<uint32_t>(counts.dsr),
                                     status};
                if (tally->status >= 0) {
                    if ((tally->status ^ status) & kMsCtsOn) ++tally->ctsEdges;
                    if ((tally->status ^ status) & kMsDsrOn) ++tally->dsrEdges;
                }
                tally->status = status;
                return ModemLook{tally->ctsEdges, tally->dsrEdges, status};
            },
            std::move(sink), interval_);
    }

    void stopWatch() override { watcher_.reset(); }

    bool close() override {
        stopWatch();
        if (fd_ < 0) return false;
        ::ioctl(fd_, TIOCNXCL);
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
    int32_t handle_;
    std::chrono::microseconds interval_;
    std::unique_ptr<ModemWatcher> watcher_;
};

} // namespace

LinuxSerialPorts::LinuxSerialPorts(Options options) : options_(std::move(options)) {
    if (!options_.env)
        options_.env = [](std::string_view name) -> std::optional<std::string> {
            const char* value = std::getenv(std::string(name).c_str());
            if (!value) return std::nullopt;
            return std::string(value);
        };
}

std::unique_ptr<SerialPort> LinuxSerialPorts::open(int32_t portNo) {
    const std::string path = serialDevicePath(portNo, options_.store, options_.env);
    if (path.empty()) {
        openError_ = ENODEV;
        return nullptr;
    }
    return openPath(path);
}

std::unique_ptr<SerialPort> LinuxSerialPorts::openPath(const std::string& path) {
    // A test machine's first serial port is often its console: never touch it.
    if (isConsoleDevice(path, options_.activeConsoleList)) {
        openError_ = EPERM;
        return nullptr;
    }
    // Not blocking, so an open never waits for a carrier; not our controlling terminal.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        openError_ = errno;
        return nullptr;
    }
    const auto refuse = [this, fd] {
        openError_ = errno;
        ::close(fd);
        return nullptr;
    };
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return refuse();
    tio.c_cflag |= CLOCAL;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return refuse();
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return refuse();
    // The port is not shared.
    if (::ioctl(fd, TIOCEXCL) != 0) return refuse();
    int bits = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &bits);
    ::ioctl(fd, TIOCCBRK);
    openError_ = 0;
    return std::make_unique<LinuxSerialPort>(fd, nextHandle_++, options_.watchInterval);
}

} // namespace comm
