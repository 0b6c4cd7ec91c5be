// The real serial backend: port n is a tty device (by default /dev/ttyS<n-1>), opened for sole use
// without waiting for a carrier; the control lines are modem-control ioctls and the watch polls the
// driver's edge counters on a thread of its own.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/comm/SerialPort.h"
#include "platform/profile/SettingsStore.h"

namespace comm {

// Where a port number leads, first match wins: the environment variable "NERIX_COM<n>", the setting
// "COM<n>" in section "SerialPorts", then /dev/ttyS<n-1>. Empty for a number below 1.
using EnvLookup = std::function<std::optional<std::string>(std::string_view name)>;
std::string serialDevicePath(int32_t portNo, const profile::SettingsStore* store, const EnvLookup& env);

// True when path is, or resolves to, the system console (/dev/console, /dev/tty), a virtual console
// (/dev/tty0 to /dev/ttyN) or a device the kernel lists as an active console. activeConsoleList is the
// file that lists them.
bool isConsoleDevice(const std::string& path, const std::string& activeConsoleList);

class LinuxSerialPorts final : public SerialPortOpener {
public:
    struct Options {
        const profile::SettingsStore* store = nullptr;
        EnvLookup env;                                                   // the process environment when empty
        std::string activeConsoleList = "/sys/class/tty/console/active"; // the kernel's console list
        std::chrono::microseconds watchInterval{2000};
    };
    LinuxSerialPorts() : LinuxSerialPorts(Options{}) {}
    explicit LinuxSerialPorts(Options options);

    std::unique_ptr<SerialPort> open(int32_t portNo) override;
    // The same for a device path; null for the console, a missing device, one in use or no serial port.
    std::unique_ptr<SerialPort> openPath(const std::string& path);
    // What the failing call reported; ENODEV for a number that names no device, EPERM for the console.
    int openError() const override { return openError_; }

private:
    Options options_;
    int32_t nextHandle_ = 1;
    int openError_ = 0;
};

} // namespace comm
