// The whole PLL table against a plain, unpruned search written here from the rule, and a checksum of it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "clockgen/PllLut.h"

namespace {

constexpr int kEntries = 29'902;

// Entries set by hand; the search does not give them.
struct HandEntry {
    int index;
    uint32_t value;
};
constexpr HandEntry kByHand[] = {
    {75, 0x500D727B}, {76, 0x3C09167B}, {77, 0x500D767B}, {78, 0x3704CD62},
    {79, 0x500D7A7B}, {80, 0x3709047B}, {81, 0x500D7E7B}, {82, 0x3C091F7B},
    {83, 0x38090D7B}, {84, 0x3C09227B}, {85, 0x500D867B}, {98, 0x78047A17},
};

uint32_t chargePump(int64_t p) {
    constexpr int64_t kFirstOfLevel[] = {45, 480, 640, 800};
    uint32_t level = 0;
    for (int64_t first : kFirstOfLevel)
        level += p >= first ? 1 : 0;
    return level;
}

// Every candidate D, Q in the stated order, kept or replaced by the stated tie rule.
uint32_t referenceEntry(int64_t f) {
    const double vcoMin = f <= 788'000 ? 0.0 : 100'000'000.0;
    const double vcoMax = f >= 99'600'000 ? 500'000'000.0 : 400'000'000.0;
    bool found = false;
    double bestError = 0;
    int64_t bestD = 0, bestQ = 0, bestP = 0;
    for (int64_t d = 2; d <= 127; ++d) {
        for (int64_t q = 2; q <= 129; ++q) {
            const int64_t p = (f * d * q + 5'000'000) / 10'000'000;
            if (p > 2047) continue;
            const double vcoWide = 10'000'000.0 * static_cast<double>(p) / static_cast<double>(q);
            const float vco = static_cast<float>(vcoWide);
            if (vco <= vcoMin || vco >= vcoMax) continue;
            const double outWide = static_cast<double>(vco) / static_cast<double>(d);
            const float out = static_cast<float>(outWide);
            const double error = std::abs(static_cast<double>(out) - static_cast<double>(f));
            const bool better = !found || error < bestError || (error == bestError && f < 15'000'000);
            if (better) {
                found = true;
                bestError = error;
                bestD = d;
                bestQ = q;
                bestP = p;
            }
        }
    }
    if (!found) return 0;
    const uint32_t pump = (f < 15'000'000 || bestError == 0) ? chargePump(bestP) : 4;
    const uint32_t po = static_cast<uint32_t>(bestP & 1);
    const uint32_t pb = static_cast<uint32_t>((bestP - po) / 2 - 4);
    const std::array<uint32_t, 4> bytes{po * 128 + static_cast<uint32_t>(bestQ - 2), pb % 256,
                                        pump * 4 + pb / 256, static_cast<uint32_t>(bestD)};
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
}

// CRC-32 (IEEE 802.3, reflected) over the entries' bytes, least significant first.
uint32_t crc32(const std::vector<uint32_t>& words) {
    uint32_t crc = 0xFFFFFFFF;
    for (uint32_t word : words) {
        for (int byte = 0; byte < 4; ++byte) {
            crc ^= (word >> (8 * byte)) & 0xFF;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

TEST(PllLutReference, WholeTableMatchesAnUnprunedSearch) {
    std::vector<uint32_t> reference(kEntries, 0);
    for (int i = 0; i < kEntries - 1; ++i)
        reference[i] = referenceEntry(448'000 + 4000 * int64_t{i});
    for (const HandEntry& e : kByHand)
        reference[e.index] = e.value;

    clockgen::PllLut lut;
    lut.BuildLUT();
    std::vector<uint32_t> table(kEntries);
    int differing = 0;
    for (int i = 0; i < kEntries; ++i) {
        table[i] = lut.entry(i);
        if (table[i] != reference[i] && ++differing <= 5)
            ADD_FAILURE() << "entry " << i << std::hex << ": 0x" << table[i] << ", reference 0x"
                          << reference[i];
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(crc32(table), crc32(reference));
}

} // namespace
