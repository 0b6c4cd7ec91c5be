// The PLL table: its header, known entries, what the whole table achieves, and the frequency lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "clockgen/PllLut.h"
#include "platform/runtime/RuntimeError.h"

namespace {

using clockgen::PllLut;

// The fields of a packed word, unpacked from the chip's register layout.
struct Decoded {
    int64_t d, q, p, pb, pump, zeroBits;
};

Decoded decode(uint32_t word) {
    const uint32_t b0 = word & 0xFF, b1 = (word >> 8) & 0xFF, b2 = (word >> 16) & 0xFF, b3 = word >> 24;
    const int64_t pb = b1 | ((b2 & 0x03) << 8);
    const int64_t po = b0 >> 7;
    return {b3 & 0x7F, (b0 & 0x7F) + 2,  2 * (pb + 4) + po,
            pb,        (b2 >> 2) & 0x07, (b2 >> 5) | ((b3 >> 7) << 3)};
}

int64_t target(int32_t index) {
    return 448'000 + 4000 * int64_t{index};
}

// The output's error, exactly: |RefClk * P - f * Q * D| / (Q * D).
struct ExactError {
    int64_t numerator, denominator;
    long double hertz() const { return static_cast<long double>(numerator) / denominator; }
    bool atMost(int64_t hz) const { return numerator <= hz * denominator; }
};

ExactError exactError(int32_t index, const Decoded& e) {
    const int64_t diff = 10'000'000 * e.p - target(index) * e.q * e.d;
    return {diff < 0 ? -diff : diff, e.q * e.d};
}

PllLut built() {
    PllLut lut;
    lut.BuildLUT();
    return lut;
}

TEST(PllLut, HoldsZerosUntilBuiltAndTheFixedHeaderAfter) {
    PllLut lut;
    EXPECT_EQ(lut.header().MinOut, 0);
    for (int32_t i : {0, 12'388, 29'901})
        EXPECT_EQ(lut.entry(i), 0u) << i;

    for (int pass = 0; pass < 2; ++pass) {
        lut.BuildLUT();
        const clockgen::PllLutHeader& h = lut.header();
        EXPECT_EQ(h.RefClk, 10'000'000);
        EXPECT_EQ(h.MinOut, 448'000);
        EXPECT_EQ(h.MaxOut, 120'048'000);
        EXPECT_EQ(h.Count, 29'901);
        EXPECT_EQ(h.Step, 4000);
        EXPECT_EQ(h.Offset, 48'000);
        EXPECT_EQ(lut.entry(0), 0x7D0D5A7Bu);
    }
}

TEST(PllLut, IndexesOutsideTheTableRaiseSubscriptOutOfRange) {
    const PllLut lut = built();
    for (int32_t i : {-1, 29'902, INT32_MAX}) {
        try {
            (void)lut.entry(i);
            ADD_FAILURE() << i;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kSubscriptOutOfRange) << i;
        }
    }
}

TEST(PllLut, KnownEntries) {
    struct Case {
        int32_t first, last;
        uint32_t value;
    };
    const Case cases[] = {
        {0, 0, 0x7D0D5A7B},           // D 125, Q 125, P 700, pump 3: exactly 448 kHz
        {1, 1, 0x7D0D4F76},           // D 125, Q 120, P 678
        {8, 8, 0x7F0D797B},           // D 127, Q 125, P 762
        {1000, 1000, 0x4B133E30},     // D 75, Q 50, P 1668, pump 4
        {3637, 3637, 0x0F13A1D1},     // last entry where later ties win: 14,995,983.9 Hz
        {3638, 3638, 0x07000680},     // 15 MHz: D 7, Q 2, P 21, pump 0
        {5001, 5001, 0x06116639},     // inexact above 15 MHz: pump 4 although P < 800
        {12'385, 12'387, 0x03100B00}, // around 50 MHz, inexact: pump 4
        {12'388, 12'388, 0x03000B00}, // exactly 50 MHz: pump 0
        {12'389, 12'391, 0x03100B00},
        {24'808, 24'808, 0x05126B17}, // VCO 498.4 MHz, in the band above 400 MHz
        {29'881, 29'887, 0x02101400}, // exactly 120 MHz for the wrong targets: pump 4
        {29'888, 29'888, 0x02041400}, // exactly 120 MHz for 120 MHz: pump 1
        {29'889, 29'895, 0x02101400},
        {29'896, 29'900, 0x0213F8D3}, // 120,058,823.5 Hz
        {29'901, 29'901, 0x00000000}, // the zero entry
        // The entries set by hand.
        {75, 75, 0x500D727B},
        {76, 76, 0x3C09167B},
        {77, 77, 0x500D767B},
        {78, 78, 0x3704CD62},
        {79, 79, 0x500D7A7B},
        {80, 80, 0x3709047B},
        {81, 81, 0x500D7E7B},
        {82, 82, 0x3C091F7B},
        {83, 83, 0x38090D7B},
        {84, 84, 0x3C09227B},
        {85, 85, 0x500D867B},
        {98, 98, 0x78047A17},
    };
    const PllLut lut = built();
    for (const Case& c : cases)
        for (int32_t i = c.first; i <= c.last; ++i)
            EXPECT_EQ(lut.entry(i), c.value) << "entry " << i << std::hex << " got 0x" << lut.entry(i);
}

TEST(PllLut, WholeTableAccuracy) {
    const PllLut lut = built();
    int exact = 0, within10 = 0, within100 = 0, within1k = 0;
    std::vector<long double> errors;
    long double worstBelow15MHz = 0, worstFrom90MHz = 0;
    for (int32_t i = 0; i < clockgen::kPllLutZeroEntry; ++i) {
        const ExactError e = exactError(i, decode(lut.entry(i)));
        exact += e.numerator == 0;
        within10 += e.atMost(10);
        within100 += e.atMost(100);
        within1k += e.atMost(1000);
        errors.push_back(e.hertz());
        if (target(i) < 15'000'000) worstBelow15MHz = std::max(worstBelow15MHz, e.hertz());
        if (target(i) >= 90'000'000) worstFrom90MHz = std::max(worstFrom90MHz, e.hertz());
    }
    EXPECT_EQ(exact, 6643);
    EXPECT_EQ(within10, 7468);
    EXPECT_EQ(within100, 15'350);
    EXPECT_EQ(within1k, 28'372);
    std::nth_element(errors.begin(), errors.begin() + errors.size() / 2, errors.end());
    EXPECT_NEAR(static_cast<double>(errors[errors.size() / 2]), 94.3, 0.05);
    EXPECT_NEAR(static_cast<double>(worstBelow15MHz), 887.6, 0.05);
    EXPECT_NEAR(static_cast<double>(worstFrom90MHz), 28'000, 500);
}

TEST(PllLut, EveryEntryFitsTheChipAndItsVcoBands) {
    const PllLut lut = built();
    int aboveVcoBand = 0;
    for (int32_t i = 0; i < clockgen::kPllLutZeroEntry; ++i) {
        const Decoded e = decode(lut.entry(i));
        SCOPED_TRACE(i);
        EXPECT_EQ(e.zeroBits, 0);
        EXPECT_TRUE(e.d >= 2 && e.d <= 127) << e.d;
        EXPECT_TRUE(e.pb >= 6 && e.pb <= 1019) << e.pb;
        EXPECT_TRUE(e.p >= 21 && e.p <= 2047) << e.p;
        EXPECT_LE(e.pump, 4);
        const long double vco = 1e7L * e.p / e.q;
        if (target(i) <= 788'000) {
            EXPECT_TRUE(vco >= 41.8e6L && vco <= 93e6L) << static_cast<double>(vco);
        } else {
            EXPECT_GT(vco, 100e6L);
        }
        if (vco > 400e6L) {
            ++aboveVcoBand;
            EXPECT_TRUE(target(i) >= 99'652'000 && target(i) <= 99'920'000);
            EXPECT_EQ(e.d, 5);
            EXPECT_LE(vco, 499.6e6L);
        }
    }
    EXPECT_EQ(aboveVcoBand, 12);
}

TEST(PllLut, LookupGivesTheStepAndTheHertzAboveIt) {
    struct Case {
        int32_t f, index, remainder;
    };
    const Case cases[] = {
        {4'480'000, 0, 0},
        {4'480'010, 0, 0},
        {39'999'940, 887, 998},
        {39'999'980, 888, 0}, // 999,999.5 Hz rounds to the even 1,000,000
        {40'000'020, 888, 0}, // 1,000,000.5 Hz rounds to the even 1,000,000
        {284'481'000, 7000, 25},
        {500'000'000, 12'388, 0},
        {1'200'480'000, 29'900, 0},
        {1'200'520'000, 29'901, 0},
        {1'200'559'979, 29'901, 999}, // the last frequency the table covers
        {1'200'559'980, 29'902, 0},   // 120,055,998 Hz: beyond the table
        {INT32_MAX, 53'575, 91},
        {3'520'000, 24, 0}, // below the first step the index is mirrored
        {0, 112, 0},
    };
    const PllLut lut = built();
    for (const Case& c : cases) {
        const clockgen::PllLutPosition pos = lut.PllLutIndex(c.f);
        EXPECT_EQ(pos.index, c.index) << c.f;
        EXPECT_EQ(pos.remainder, c.remainder) << c.f;
    }
    // Callers never pass a negative frequency; the lookup still stays defined and in its ranges.
    const clockgen::PllLutPosition lowest = lut.PllLutIndex(INT32_MIN);
    EXPECT_GE(lowest.index, 0);
    EXPECT_TRUE(lowest.remainder >= 0 && lowest.remainder <= 999) << lowest.remainder;

    // The mirror below 448 kHz: for h from 0 to 111,999 Hz the index is 112 - h / 1000.
    for (int32_t h : {0, 999, 1000, 87'654, 111'000, 111'999}) {
        const clockgen::PllLutPosition pos = lut.PllLutIndex(40 * h);
        EXPECT_EQ(pos.index, 112 - h / 1000) << h;
        EXPECT_EQ(pos.remainder, h % 1000) << h;
    }
}

} // namespace
