// A simulated serial port's control lines: every DTR, RTS or break change goes to the trace. The
// simulated ports (SimSerialPorts) hand these devices out by number, as a real backend opens ttys.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/comm/SerialPort.h"
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
    bool isOpen() const noexcept { return open_; }
    // Sets the inputs without an event (the state before a watch).
    void setModemStatus(int32_t status) noexcept { modemStatus_ = status; }
    // The knob turns: the inputs change, and a watch that runs hears one event per changed line, CTS
    // first, each with the status after it.
    void changeModemStatus(int32_t status);
    // What a backend does on opening: DTR, RTS and break off.
    void clearOutputs();
    uint8_t levels() const noexcept { return levels_; }

    void setWatch(comm::ModemEventSink sink) { watch_ = std::move(sink); }
    bool watched() const noexcept { return static_cast<bool>(watch_); }

private:
    PinTrace& trace_;
    std::string device_;
    uint8_t levels_ = 0;
    int32_t modemStatus_ = 0;
    bool open_ = true;
    comm::ModemEventSink watch_;
};

// Simulated ports by number: a test plugs devices in; opening one gives it to a single owner at a time.
class SimSerialPorts final : public comm::SerialPortOpener {
public:
    explicit SimSerialPorts(PinTrace& trace) : trace_(trace) {}

    // The device stays until the simulator ends, whoever opens and closes it.
    SimSerialLines& plugIn(int portNo);
    SimSerialLines* device(int portNo);

    std::unique_ptr<comm::SerialPort> open(int32_t portNo) override;
    // As the system reports them: ENOENT for a port with no device, EBUSY for one already open.
    int openError() const override { return openError_; }
    int opens() const noexcept { return opens_; }

private:
    PinTrace& trace_;
    std::map<int, std::unique_ptr<SimSerialLines>> devices_;
    int32_t nextHandle_ = 100;
    int opens_ = 0;
    int openError_ = 0;
};

} // namespace pins
