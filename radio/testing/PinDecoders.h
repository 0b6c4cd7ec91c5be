// Decoders that rebuild from a trace what a chip on the wired pins would have latched: AD9850/AD9851
// 40-bit words, AD9951 register writes, AD9835 16-bit frames and the I2C write transactions.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "radio/testing/PinTrace.h"
#include "radio/testing/Wirings.h"

namespace pins {

// The chip's pins after each write to its port; the first sample is the port's initial state.
struct ThreeWireSample {
    int64_t time;
    bool data, clock, update;
};
std::vector<ThreeWireSample> threeWireSamples(const PinTrace& trace, const ThreeWire& wiring);

struct TwoWireSample {
    int64_t time;
    bool scl, sda;
};
std::vector<TwoWireSample> twoWireSamples(const PinTrace& trace, const TwoWire& wiring);

// Bits taken on rising clock edges, split at every rising update edge: one frame per update edge, with
// the bits clocked since the previous one.
std::vector<std::vector<bool>> framesOnUpdate(const std::vector<ThreeWireSample>& samples);
// Bits taken on rising clock edges, in order, ignoring the update line.
std::vector<bool> clockedBits(const std::vector<ThreeWireSample>& samples);
// The bits as bytes, eight at a time, first bit the most (or least) significant.
std::vector<uint8_t> toBytes(const std::vector<bool>& bits, bool msbFirst);

// AD9850 / AD9851 in serial load mode: a 40-bit shift register fed least significant bit first on the
// word clock's rising edge, taken into the frequency register on the update line's rising edge.
struct Ad985xLatch {
    uint32_t tuningWord;
    uint8_t control;
    std::size_t bitsSincePreviousLatch; // 40 for a whole word
};
std::vector<Ad985xLatch> decodeAd985x(const std::vector<ThreeWireSample>& samples);

// AD9951: an instruction byte (bit 7 read, low five bits the address) then the register's bytes, most
// significant bit first on the rising serial clock; the I/O update's rising edge puts the written
// registers into force.
struct Ad9951Update {
    std::map<uint8_t, std::vector<uint8_t>> written; // registers written since the previous update
    std::size_t pendingBits;                         // bits of an unfinished cycle; 0 when framed
};
std::vector<Ad9951Update> decodeAd9951(const std::vector<ThreeWireSample>& samples);
// The register's width in bytes on the chip; 0 for an address it does not have.
std::size_t ad9951RegisterBytes(uint8_t address);

// AD9835: a frame opens when frame sync falls and closes when it rises; the chip takes the data line on
// each falling clock edge and keeps the first sixteen bits.
struct Ad9835Frame {
    std::size_t clockEdges;
    uint16_t word; // the first sixteen bits, most significant first (fewer bits: left aligned)
};
std::vector<Ad9835Frame> decodeAd9835(const std::vector<ThreeWireSample>& samples);
// FREQ0 as the chip's defer-register writes leave it, from whole frames.
std::optional<uint32_t> ad9835Freq0(const std::vector<Ad9835Frame>& frames);

// I2C: start and stop conditions, bytes of eight bits sampled while the clock is high, and the
// acknowledge clock after each byte.
struct I2CTransaction {
    std::vector<uint8_t> bytes;
    std::size_t clockPulses; // complete clock pulses between start and stop
    bool stopped;            // closed by a stop condition
};
std::vector<I2CTransaction> decodeI2C(const std::vector<TwoWireSample>& samples);

} // namespace pins
