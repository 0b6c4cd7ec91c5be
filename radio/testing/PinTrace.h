// The pin recorder's trace: every level change of every simulated port, on the virtual clock of the
// performance counter that also paces the settle waits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/PerformanceCounter.h"

namespace pins {

// One write to one port: the levels of all its lines after the write. A port's first entry is its
// state when the simulator was made, marked initial.
struct TraceEntry {
    int64_t time;
    std::string device;
    uint8_t levels;
    bool initial;
};

class PinTrace {
public:
    explicit PinTrace(const runtime::PerformanceCounter& clock) : clock_(clock) {}

    void record(std::string_view device, uint8_t levels, bool initial = false);
    // For devices that pace their own pins (a USB adaptor plays its bytes at the baud rate).
    void recordAt(int64_t time, std::string_view device, uint8_t levels);

    const std::vector<TraceEntry>& entries() const noexcept { return entries_; }
    // The writes to one device, the initial state left out.
    std::vector<TraceEntry> writesTo(std::string_view device) const;
    // Forgets the writes but keeps each device's latest state as its new initial entry.
    void clearKeepingState();
    int64_t now() const { return clock_.now(); }
    int64_t frequency() const { return clock_.frequency(); }

private:
    const runtime::PerformanceCounter& clock_;
    std::vector<TraceEntry> entries_;
};

} // namespace pins
