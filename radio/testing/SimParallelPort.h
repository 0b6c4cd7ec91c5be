// A simulated parallel port: every data-register write goes to the trace, per address.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/parport/ParallelPort.h"
#include "radio/testing/PinTrace.h"

namespace pins {

class SimParallelPort final : public parport::ParallelPort {
public:
    explicit SimParallelPort(PinTrace& trace) : trace_(trace) {}

    static std::string deviceName(int address) { return "LPT@" + std::to_string(address); }

    void Out32(uint16_t address, uint16_t value) override;

    // Every later write raises this error, as a port that cannot be reached does; 0 heals it.
    void failWith(int32_t errorNumber) noexcept { failure_ = errorNumber; }
    uint8_t levels(int address) const;

private:
    PinTrace& trace_;
    std::map<int, uint8_t> registers_;
    int32_t failure_ = 0;
};

} // namespace pins
