// The pin recorder's trace.
#include "radio/testing/PinTrace.h"

#include <map>

namespace pins {

void PinTrace::record(std::string_view device, uint8_t levels, bool initial) {
    entries_.push_back(TraceEntry{clock_.now(), std::string(device), levels, initial});
}

void PinTrace::recordAt(int64_t time, std::string_view device, uint8_t levels) {
    entries_.push_back(TraceEntry{time, std::string(device), levels, false});
}

std::vector<TraceEntry> PinTrace::writesTo(std::string_view device) const {
    std::vector<TraceEntry> out;
    for (const TraceEntry& e : entries_)
        if (!e.initial && e.device == device) out.push_back(e);
    return out;
}

void PinTrace::clearKeepingState() {
    std::map<std::string, TraceEntry> latest;
    for (const TraceEntry& e : entries_)
        latest[e.device] = e;
    entries_.clear();
    for (auto& [device, e] : latest) {
        e.initial = true;
        entries_.push_back(e);
    }
}

} // namespace pins
