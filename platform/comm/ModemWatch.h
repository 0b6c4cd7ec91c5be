// Turning looks at a port's inputs into change events: edge counts so that two changes between looks
// are not lost, the status bits the line interfaces read, and the watcher thread of the real backend.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/comm/SerialPort.h"

namespace comm {

// One look at the inputs: the driver's running edge counts and the levels as kMsCtsOn / kMsDsrOn.
struct ModemLook {
    uint32_t ctsEdges;
    uint32_t dsrEdges;
    int32_t status;
};

// The kernel's modem-line bits (TIOCM_*) as the status bits.
int32_t modemStatusFromLines(int lines) noexcept;

// One event per counted edge, CTS before DSR (their true order is unknown). Each edge flips its line
// from the level before; the last edge of a line carries that line's sampled level.
std::vector<ModemEvent> modemEventsBetween(const ModemLook& before, const ModemLook& after);

// Looks at the inputs every interval on a thread of its own and hands each change to the sink. Stopping
// wakes it at once, so it never waits out an interval, and it never blocks in the driver.
class ModemWatcher {
public:
    // look returns nothing when the port could not be read; that look is skipped.
    using Look = std::function<std::optional<ModemLook>()>;
    ModemWatcher(Look look, ModemEventSink sink, std::chrono::microseconds interval);
    ~ModemWatcher() { stop(); }
    ModemWatcher(const ModemWatcher&) = delete;
    ModemWatcher& operator=(const ModemWatcher&) = delete;

    // Returns once the thread has ended; the sink is not called afterwards.
    void stop();

private:
    void run();

    Look look_;
    ModemEventSink sink_;
    std::chrono::microseconds interval_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace comm
