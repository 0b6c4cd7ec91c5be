// How a chip's pins hang on a simulated port: which bit of the port's levels carries each chip pin, and
// whether the port drives it inverted. Written from the interfaces' line mappings, independently of the
// production code, so a decoded trace checks the mapping too.
#pragma once

#include <cstdint>
#include <string>

#include "radio/testing/SimFtdiDriver.h"
#include "radio/testing/SimParallelPort.h"
#include "radio/testing/SimSerialLines.h"

namespace pins {

struct Wire {
    uint8_t mask;
    bool inverted;
    bool level(uint8_t levels) const noexcept { return ((levels & mask) != 0) != inverted; }
};

// A three-wire chip: data, clock and update (frame sync, I/O update).
struct ThreeWire {
    std::string device;
    Wire data, clock, update;
};

// An I2C bus.
struct TwoWire {
    std::string device;
    Wire scl, sda;
};

namespace wiring {

// Serial port: update on DTR and data on RTS, both driven inverted; clock on the TXD break.
inline ThreeWire serialThreeWire(int portNo) {
    return {SimSerialLines::deviceName(portNo),
            {SimSerialLines::kRts, true},
            {SimSerialLines::kBreak, false},
            {SimSerialLines::kDtr, true}};
}
// Serial port as an I2C bus: clock on RTS, data on DTR, not inverted.
inline TwoWire serialI2C(int portNo) {
    return {SimSerialLines::deviceName(portNo), {SimSerialLines::kRts, false}, {SimSerialLines::kDtr, false}};
}
// Parallel port data register, with the bit numbers and inversion of the set-up.
inline ThreeWire parallel(int address = 888, int dataBit = 0, int clockBit = 1, int updateBit = 2,
                          bool inverted = false) {
    const auto bit = [](int n) { return static_cast<uint8_t>(1u << (n & 7)); };
    return {SimParallelPort::deviceName(address),
            {bit(dataBit), inverted},
            {bit(clockBit), inverted},
            {bit(updateBit), inverted}};
}
// US232C adaptor: clock pin 0, data pin 2, update pin 4.
inline ThreeWire us232c() {
    return {SimFtdiDriver::deviceName("US232C"), {0x04, false}, {0x01, false}, {0x10, false}};
}
// DRB30 adaptor: update pin 0, data pin 1, clock pin 2.
inline ThreeWire drb30() {
    return {SimFtdiDriver::deviceName("DRB USB ADP"), {0x02, false}, {0x04, false}, {0x01, false}};
}
// FT232R adaptor as an I2C bus: clock pin 1, data pin 0.
inline TwoWire ft232() {
    return {SimFtdiDriver::deviceName("FT232R USB UART"), {0x02, false}, {0x01, false}};
}

} // namespace wiring
} // namespace pins
