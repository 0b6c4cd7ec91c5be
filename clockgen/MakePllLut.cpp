// Build-time generator of the CY27EE16 PLL table: searches every step's settings and writes them as C++.
//
// Run by CMake with the output path as its one argument. The 32-bit float roundings below are part of
// the table's definition, so this file is compiled without fast-math or contraction.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "clockgen/PllLut.h"

#ifdef __FAST_MATH__
#error "The PLL table generator must be compiled without fast-math"
#endif

namespace {

using clockgen::kPllLutSize;
using clockgen::kPllLutZeroEntry;
constexpr int64_t kRefClk = clockgen::kPllLutHeader.RefClk;
constexpr int64_t kMinOut = clockgen::kPllLutHeader.MinOut;
constexpr int64_t kStep = clockgen::kPllLutHeader.Step;
// From here on ties keep the earlier candidate, and an inexact entry gets the highest charge pump.
constexpr int64_t kTieSwitch = 15'000'000;
constexpr int64_t kMaxP = 2047;

struct Setting {
    int64_t d = 0;
    int64_t q = 0;
    int64_t p = 0;
    double error = std::numeric_limits<double>::infinity();
};

// Entries set by hand instead of by the search; all of them are exact.
struct FixedEntry {
    int32_t index;
    int64_t d, q, p;
};
constexpr std::array<FixedEntry, 12> kFixed{{
    {75, 80, 125, 748},
    {76, 60, 125, 564},
    {77, 80, 125, 756},
    {78, 55, 100, 418},
    {79, 80, 125, 764},
    {80, 55, 125, 528},
    {81, 80, 125, 772},
    {82, 60, 125, 582},
    {83, 56, 125, 546},
    {84, 60, 125, 588},
    {85, 80, 125, 788},
    {98, 120, 25, 252},
}};

int64_t pumpFor(int64_t p) {
    if (p <= 44) return 0;
    if (p <= 479) return 1;
    if (p <= 639) return 2;
    if (p <= 799) return 3;
    return 4;
}

clockgen::PllLutEntry pack(int64_t d, int64_t q, int64_t p, int64_t pump) {
    const int64_t po = p % 2;
    const int64_t pb = (p - po) / 2 - 4;
    const int64_t b0 = 128 * po + q - 2;
    const int64_t b1 = pb % 256;
    const int64_t b2 = 4 * pump + pb / 256;
    return static_cast<clockgen::PllLutEntry>(b0 | (b1 << 8) | (b2 << 16) | (d << 24));
}

Setting search(int64_t f) {
    // A VCO of 0 is refused even where there is no lower limit.
    const double lower = f <= 788'000 ? 0.0 : 100e6;
    const double upper = f >= 99'600'000 ? 500e6 : 400e6;
    const bool laterWinsTies = f < kTieSwitch;
    Setting best;
    for (int64_t d = 2; d <= 127; ++d) {
        // The VCO stays within 2.5 MHz of f * d (P is rounded, Q >= 2), so dividers far outside the
        // limits cannot win; skipping them only saves time.
        if (f * d + 5'000'000 <= lower || f * d - 5'000'000 >= upper) continue;
        for (int64_t q = 2; q <= 129; ++q) {
            const int64_t p = (f * d * q + kRefClk / 2) / kRefClk;
            if (p > kMaxP) break; // P only grows with Q
            const float vco = static_cast<float>(static_cast<double>(kRefClk * p) / static_cast<double>(q));
            if (!(vco > lower && vco < upper)) continue;
            const float out = static_cast<float>(static_cast<double>(vco) / static_cast<double>(d));
            const double error = std::fabs(static_cast<double>(out) - static_cast<double>(f));
            if (error < best.error || (laterWinsTies && error == best.error)) best = {d, q, p, error};
        }
    }
    return best;
}

// Zero when no candidate meets the limits, which the table cannot hold.
clockgen::PllLutEntry searchedEntry(int64_t f) {
    const Setting s = search(f);
    if (s.p == 0) return 0;
    const int64_t pump = f < kTieSwitch || s.error == 0.0 ? pumpFor(s.p) : 4;
    return pack(s.d, s.q, s.p, pump);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakePllLut <output.cpp>\n");
        return 2;
    }
    std::array<clockgen::PllLutEntry, kPllLutSize> table{};
    for (int32_t i = 0; i < kPllLutZeroEntry; ++i) {
        table[i] = searchedEntry(kMinOut + kStep * i);
        if (table[i] == 0) {
            std::fprintf(stderr, "MakePllLut: no setting for entry %d\n", static_cast<int>(i));
            return 1;
        }
    }
    for (const FixedEntry& e : kFixed)
        table[e.index] = pack(e.d, e.q, e.p, pumpFor(e.p));

    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Generated at build time by MakePllLut; edit that program, not this file.\n"
                      "#include \"clockgen/PllLutData.h\"\n\n"
                      "namespace clockgen::detail {\n\n"
                      "const std::array<PllLutEntry, kPllLutSize> kPllLutData{{\n");
    for (int32_t i = 0; i < kPllLutSize; ++i)
        std::fprintf(out, "%s0x%08X,%s", i % 8 == 0 ? "    " : " ", static_cast<unsigned>(table[i]),
                     i % 8 == 7 || i == kPllLutSize - 1 ? "\n" : "");
    std::fprintf(out, "}};\n\n} // namespace clockgen::detail\n");
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
