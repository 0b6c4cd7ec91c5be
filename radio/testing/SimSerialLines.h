// A simulated serial port's control lines: every DTR, RTS or break change goes to the trace.
#pragma once

#include <string>

#include "platform/comm/SerialControlLines.h"
#include "radio/testing/PinTrace.h"

namespace pins {

class SimSerialLines final : public comm::SerialControlLines {
public:
    // Bits of the trace entry's levels.
    static constexpr uint8_t kDtr = 0x01;
    static constexpr uint8_t kRts = 0x02;
    static constexpr uint8_t kBreak = 0x04;

    SimSerialLines(PinTrace& trace, int portNo);

    static std::string deviceName(int portNo) { return "COM" + std::to_string(portNo); }
    const std::string& device() const noexcept { return device_; }

    bool escape(comm::LineCode code) override;
    int32_t modemStatus() override { return open_ ? modemStatus_ : 0; }

    // A closed port moves nothing and reports no status.
    void setOpen(bool open) noexcept { open_ = open; }
    void setModemStatus(int32_t status) noexcept { modemStatus_ = status; }
    uint8_t levels() const noexcept { return levels_; }

private:
    PinTrace& trace_;
    std::string device_;
    uint8_t levels_ = 0;
    int32_t modemStatus_ = 0;
    bool open_ = true;
};

} // namespace pins
