// Colour scaling and padding: the pinned examples and the argument errors.
#include <gtest/gtest.h>

#include "frame/PublicFuncs.h"
#include "platform/runtime/RuntimeError.h"

using namespace PublicFuncs;

TEST(ScaleColour, ScalesEachChannelRoundingHalfToEven) {
    const struct {
        int32_t colour;
        int16_t percent;
        int32_t expected;
    } cases[] = {
        {0xFFFF00, 75, 0xBFBF00},  {0x000006, 75, 0x000004},  {0x00000A, 75, 0x000008},
        {0x0A0600, 75, 0x080400},  {0x123456, 100, 0x123456}, {0x123456, 0, 0},
        {0xFFFFFF, 50, 0x808080},  // 127.5 rounds to 128
        {0x808080, 200, 0x000000}, // 256 keeps its low 8 bits
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleColour(c.colour, c.percent), c.expected)
            << std::hex << c.colour << " at " << std::dec << c.percent;
}

TEST(PadLeft, PadsTheTrimmedTextToTheWidth) {
    const struct {
        const char* text;
        double width;
        const char* pad;
        const char* expected;
    } cases[] = {{"5 kHz", 7, " ", "  5 kHz"}, {"  5 kHz ", 7, " ", "  5 kHz"},
                 {"100 Hz", 6, " ", "100 Hz"}, {"x", 3, "0abc", "00x"},
                 {"é", 3, "·", "··é"},         {"ab", 2.4, " ", "ab"},
                 {"ab", 2.5, " ", "ab"},       {"ab", 3.5, " ", "  ab"}};
    for (const auto& c : cases)
        EXPECT_EQ(PadLeft(c.text, c.width, c.pad), c.expected) << c.text << "/" << c.width;
}

TEST(PadLeft, ANegativeCountOrEmptyPadIsAnInvalidArgument) {
    const struct {
        double width;
        const char* pad;
        int32_t number;
    } cases[] = {{2, " ", runtime::err::kInvalidCall},
                 {7, "", runtime::err::kInvalidCall},
                 {40000, " ", runtime::err::kOverflow}};
    for (const auto& c : cases) {
        try {
            PadLeft("5 kHz", c.width, c.pad);
            ADD_FAILURE() << c.width;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number) << c.width;
        }
    }
}

TEST(PadLeftNumber, DropsTheSign) {
    EXPECT_EQ(PadLeftNumber(-42, 5, "0"), "00042");
    EXPECT_EQ(PadLeftNumber(7, 3, " "), "  7");
    EXPECT_EQ(PadLeftNumber(1.5, 4, " "), " 1.5");
}
