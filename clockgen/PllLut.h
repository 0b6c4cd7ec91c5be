// The CY27EE16 table of packed PLL words, one per 4 kHz output step, and the lookup into it.
#pragma once

#include <array>
#include <cstdint>

namespace clockgen {

// One packed setting, byte 0 least significant:
//   byte 0: bit 7 PO (the low bit of P), bits 6-0 Q - 2
//   byte 1: PB bits 7-0
//   byte 2: bits 4-2 charge pump, bits 1-0 PB bits 9-8
//   byte 3: the output divider D (0 only in the zero entry)
// with P = 2 * (PB + 4) + PO and output = RefClk * P / Q / D. Bytes 2, 1, 0 are registers 0x40 to 0x42.
using PllLutEntry = uint32_t;

struct PllLutHeader {
    int32_t RefClk = 0;
    int32_t MinOut = 0;
    int32_t MaxOut = 0;
    int32_t Count = 0;
    int32_t Step = 0;
    int32_t Offset = 0;
};

inline constexpr PllLutHeader kPllLutHeader{10'000'000, 448'000, 120'048'000, 29'901, 4000, 48'000};

// Entries 0 to 29,900 hold the steps from MinOut to MaxOut; the last one is zero.
inline constexpr int32_t kPllLutSize = kPllLutHeader.Count + 1;
inline constexpr int32_t kPllLutZeroEntry = kPllLutHeader.Count;

// Where an oscillator frequency falls in the table.
struct PllLutPosition {
    int32_t index = 0;     // from 0; it lies beyond the table (above kPllLutZeroEntry) for the highest inputs
    int32_t remainder = 0; // 0 to 999 Hz of the local oscillator above its 1 kHz step
};

// The table a driver object owns: zeros until BuildLUT.
class PllLut {
public:
    // Sets the header and stores the values computed at build time; a second call stores the same again.
    void BuildLUT() noexcept;

    // f is the oscillator output in tenths of a hertz (four times the local oscillator).
    PllLutPosition PllLutIndex(int32_t f) const;

    const PllLutHeader& header() const noexcept { return header_; }

    // An index outside 0 to kPllLutZeroEntry raises Subscript out of range.
    PllLutEntry entry(int32_t index) const;

private:
    PllLutHeader header_{};
    std::array<PllLutEntry, kPllLutSize> table_{};
};

} // namespace clockgen
