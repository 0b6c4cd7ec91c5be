// The dialog's two number readings: the lenient one never fails and reads the frequencies as the dialog
// shows them; the strict one takes the whole text in the user's format or nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "config/ConfigNumbers.h"
#include "platform/runtime/RuntimeError.h"

namespace {

const NumberFormat::Separators kEnglish{".", ","};
const NumberFormat::Separators kGerman{",", "."};

int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const runtime::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

} // namespace

TEST(ConfigNumbers, LenientReadsTheLeadingNumberWithBlanksAnywhereAndNeverFails) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0 455 000", 455000},
        {" 12\t000\n", 12000},
        {"- 5", -5},
        {"-5", -5},
        {"+7", 7},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"1.5", 1.5},
        {".5", 0.5},
        {"1,5", 1},
        {"1e3", 1000},
        {"2.5e", 2.5},
        {"&HFF", 255},
        {"&hff", 255},
        {"&O17", 15},
        {"&H1G", 1},
        {"&H", 0},
        {"&HFFFFFFFF", -1},
        {"&H123456789", 0},
        {"125 000 000", 125000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(config::lenientNumber(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(config::lenientNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(config::lenientNumber("-1e999"), -std::numeric_limits<double>::infinity());
}

TEST(ConfigNumbers, StrictTakesTheWholeTextInTheUsersFormatOrRefusesIt) {
    const struct {
        const char* text;
        const NumberFormat::Separators* separators;
        double value; // NaN: refused with Type mismatch
    } cases[] = {
        {"0.000005000", &kEnglish, 5e-6},
        {"0,000005000", &kGerman, 5e-6},
        // A grouping mark is never read as one: 5 seconds instead of 5 microseconds would stall the lines.
        {"0.000005", &kGerman, NAN},
        {"1,000", &kEnglish, NAN},
        {" 12 ", &kEnglish, 12},
        {"-2.5", &kEnglish, -2.5},
        {"1e-3", &kEnglish, 0.001},
        {"&H378", &kEnglish, 888},
        {"&HFFFFFFFF", &kEnglish, -1},
        {"&H123456789", &kEnglish, NAN},
        {"&H37G", &kEnglish, NAN},
        {"", &kEnglish, NAN},
        {"abc", &kEnglish, NAN},
        {"12abc", &kEnglish, NAN},
        {"0 455 000", &kEnglish, NAN},
        {"1e999", &kEnglish, NAN},
    };
    for (const auto& c : cases) {
        if (std::isnan(c.value))
            EXPECT_EQ(errorOf([&] { config::strictNumber(c.text, *c.separators); }),
                      runtime::err::kTypeMismatch)
                << '"' << c.text << '"';
        else
            EXPECT_EQ(config::strictNumber(c.text, *c.separators), c.value) << '"' << c.text << '"';
    }
}

TEST(ConfigNumbers, StrictLongRoundsHalfToEvenAndReadsTheDialogsDigitGroupsWhenAsked) {
    EXPECT_EQ(config::strictLong("2.5", kEnglish), 2);
    EXPECT_EQ(config::strictLong("3.5", kEnglish), 4);
    EXPECT_EQ(config::strictLong("-2.5", kEnglish), -2);
    EXPECT_EQ(errorOf([] { config::strictLong("2147483648", kEnglish); }), runtime::err::kOverflow);
    EXPECT_EQ(config::strictLong("0 455 000", kEnglish, true), 455000);
    EXPECT_EQ(config::strictLong("14 318 180", kEnglish, true), 14318180);
    // Only single blanks between digits are the dialog's grouping.
    EXPECT_EQ(errorOf([] { config::strictLong("455  000", kEnglish, true); }), runtime::err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { config::strictLong("0 455 000", kEnglish); }), runtime::err::kTypeMismatch);
}
