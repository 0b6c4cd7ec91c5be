// The seam through which the frame watches another program: the process list, a process's identity,
// ending it, and the top-level windows of the window system.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace process {

using Pid = int32_t;

// A pid alone may name another program once the first has ended; with its start time it names one run.
struct ProcessIdentity {
    Pid pid = 0;
    uint64_t startTime = 0; // clock ticks after boot
    bool operator==(const ProcessIdentity&) const = default;
};

// The two names a process is known by; either may be empty when it cannot be read.
struct ProcessNames {
    Pid pid = 0;
    std::string exeName;     // file name of the running executable
    std::string commandName; // file name of the first word of the command line
};

class ProcessTable {
public:
    virtual ~ProcessTable() = default;

    // Every process that can be seen; nullopt when the process list itself cannot be read.
    virtual std::optional<std::vector<ProcessNames>> list() const = 0;
    // The identity of a live process; nullopt when there is none under that pid.
    virtual std::optional<ProcessIdentity> identify(Pid pid) const = 0;
    // Sends SIGTERM, but only while the pid still names that very run; true when it was sent.
    virtual bool terminate(const ProcessIdentity& target) = 0;
};

using WindowId = uint32_t;

struct TopLevelWindow {
    WindowId id = 0;
    Pid pid = 0;        // owning process on this machine; 0 when unknown or on another machine
    bool owned = false; // transient for another window (a dialog or pop-up)
    bool shown = false; // mapped and viewable
};

// One conversation with the window server, closed when the object goes.
class WindowSession {
public:
    virtual ~WindowSession() = default;

    // The top-level client windows, hidden ones included, in the server's stacking order.
    virtual std::vector<TopLevelWindow> topLevelWindows() = 0;
    // Asks the window's client to close it; never waits for the client to answer.
    virtual void requestClose(WindowId window) = 0;
    // Asks the window manager to show the window as an icon; where none runs, no icon can show, and the
    // window is unmapped instead.
    virtual void iconify(WindowId window) = 0;
    // Withdraws the window: unmapped, and the window manager told to stop managing it.
    virtual void withdraw(WindowId window) = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // nullptr when there is no window server to talk to.
    virtual std::unique_ptr<WindowSession> open() = 0;
};

} // namespace process
