// A simulated parallel port.
#include "radio/testing/SimParallelPort.h"

#include "platform/runtime/RuntimeError.h"

namespace pins {

void SimParallelPort::Out32(uint16_t address, uint16_t value) {
    if (failure_ != 0) runtime::raise(failure_, "Out32");
    const auto byte = static_cast<uint8_t>(value & 0xFF);
    const auto [it, first] = registers_.try_emplace(address, 0);
    // A register's power-on state opens its part of the trace.
    if (first) trace_.record(deviceName(address), 0, true);
    it->second = byte;
    trace_.record(deviceName(address), byte);
}

uint8_t SimParallelPort::levels(int address) const {
    const auto it = registers_.find(address);
    return it == registers_.end() ? 0 : it->second;
}

} // namespace pins
