// CopyWords: exact copies, overlapping ranges, nothing for n <= 0, and the library copy under UseSPL.
#include <gtest/gtest.h>

#include <array>

#include "frame/DebugTools.h"

TEST(CopyWords, CopiesNValuesAndNothingForNonPositiveCounts) {
    const std::array<int16_t, 4> src{1, -2, 32767, -32768};
    for (int32_t n : {0, -1, -2147483647}) {
        std::array<int16_t, 4> dst{9, 9, 9, 9};
        DebugTools::CopyWords(src.data(), dst.data(), n);
        EXPECT_EQ(dst, (std::array<int16_t, 4>{9, 9, 9, 9})) << n;
    }
    std::array<int16_t, 4> dst{9, 9, 9, 9};
    DebugTools::CopyWords(src.data(), dst.data(), 3);
    EXPECT_EQ(dst, (std::array<int16_t, 4>{1, -2, 32767, 9}));

    std::array<int16_t, 5> overlap{1, 2, 3, 4, 5};
    DebugTools::CopyWords(overlap.data(), overlap.data() + 1, 4);
    EXPECT_EQ(overlap, (std::array<int16_t, 5>{1, 1, 2, 3, 4}));
}

namespace {
struct RecordingCopy : DebugTools::WordCopy {
    int calls = 0;
    void Copy(const int16_t* src, int16_t* dst, int32_t n) override {
        ++calls;
        for (int32_t k = 0; k < n; ++k)
            dst[k] = src[k];
    }
};
} // namespace

TEST(CopyWords, GoesThroughTheLibraryCopyOnlyWhileUseSPLIsOn) {
    const std::array<int16_t, 3> src{4, -5, 6};
    for (bool useSpl : {false, true}) {
        RecordingCopy spl;
        std::array<int16_t, 3> dst{};
        DebugTools::CopyWords(src.data(), dst.data(), 3, useSpl, spl);
        EXPECT_EQ(dst, src);
        EXPECT_EQ(spl.calls, useSpl ? 1 : 0);
        DebugTools::CopyWords(src.data(), dst.data(), 0, useSpl, spl);
        DebugTools::CopyWords(src.data(), dst.data(), -3, useSpl, spl);
        EXPECT_EQ(spl.calls, useSpl ? 1 : 0);
    }
}
