// CopyWords: exact copies, overlapping ranges, nothing for n <= 0.
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
