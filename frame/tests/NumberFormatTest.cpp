// Number pictures: each row is a picture the windows use, a value and the text the picture rules give.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "frame/NumberFormat.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/RuntimeError.h"

using NumberFormat::Format;

namespace {

struct Case {
    const char* picture;
    double value;
    const char* expected;
};

const Case kCases[] = {
    // Frequencies grouped by blanks: at least seven digits, extra digits in front of the first group.
    {"#0 000 000", 0, "0 000 000"},
    {"#0 000 000", 7100000, "7 100 000"},
    {"#0 000 000", 45000000, "45 000 000"},
    {"#0 000 000", 1234567890, "1234 567 890"},
    {"#0 000 000 Hz", 500, "0 000 500 Hz"},
    {"#0 000 000 Hz", 123456789, "123 456 789 Hz"},
    {"#0 000 000;(#0.000 000)", 12000, "0 012 000"},
    {"#0 000 000;(#0.000 000)", -12000, "(12000.000 000)"},
    {"### ### 000", 500, "500"},
    {"### ### 000", 7, "007"},
    {"### ### 000", 1500, "1 500"},
    {"### ### 000", 14200000, "14 200 000"},
    {"# ###", 7038, "7 038"},
    {"# ###", 38, "38"},
    {"# ###.0", 7038.5, "7 038.5"},
    {"# ###.0", 3.3, "3.3"},
    {"# ###.0", 0.094, ".1"}, // no whole digit is shown for a whole part of 0
    {"000", -100, "-100"},
    {"000000000", 71000000, "071000000"},
    // Plain digits: "#" only when significant, "0" always; halves away from zero.
    {"#0", 2.5, "3"},
    {"#0", -2.5, "-3"},
    {"#0", 7038, "7038"},
    {"#0", -0.4, "0"},
    {"#", 5, "5"},
    {"#", 0, ""},
    {"+#", 6.0206, "+6"},
    {"0#", 5, "05"},
    {"0#", 123, "123"},
    {"000", 5, "005"},
    {"000", -5, "-005"},
    {"00", 100, "100"},
    {"###0", 0, "0"},
    // Decimals, rounded at the 15 significant digits a number is written with, then half away from zero.
    {"#0.0", 3.25, "3.3"},
    {"#0.0", -3.25, "-3.3"},
    {"#0.0", 0.04, "0.0"},
    {"#0.00", 2.675, "2.68"},
    {"#0.00", 1.005, "1.01"},
    {"#0.00", 0.5, "0.50"},
    {"#0.0000", 1.23456, "1.2346"},
    {"0.0", 0, "0.0"},
    {"0.0", 12.34, "12.3"},
    {"0.0", 9.96, "10.0"},
    {"0.000", 1.5, "1.500"},
    {"0.000", -0.0004, "0.000"},
    {"0.000", -0.0005, "-0.001"},
    {"0.0000", 1, "1.0000"},
    {"00.00", 1.5, "01.50"},
    {"00.00", -30, "-30.00"},
    {"0.000000000", 5E-06, "0.000005000"},
    {"#.##", 5, "5."},
    {"#.##", 0.5, ".5"},
    {"#.##", 1.25, "1.25"},
    {"#0.0 dB", -6.02, "-6.0 dB"},
    {"#0.00 dB", 19.0849, "19.08 dB"},
    {"#0.00  ", 0.123, "0.12  "},
    {"#0 dB", 24.08, "24 dB"},
    {"0.0 kHz", 2, "2.0 kHz"},
    {"+0.0", 19.0849, "+19.1"},
    {"-0.0", 40, "-40.0"},
    {"-0.0", 0, "-0.0"}, // the volume knob at its quietest decibel step: the sign is the picture's
    {"00.00 mS/div", 0.3555, "00.36 mS/div"},
    // Thousands.
    {"#,###", 0, ""},
    {"#,###", 999.5, "1,000"},
    {"#,###", 1234567, "1,234,567"},
    {"#,##0", 0, "0"},
    {"#,##0", 1234567, "1,234,567"},
    {"#,##0", -1234, "-1,234"},
    {"#,##0", 1e20, "100,000,000,000,000,000,000"},
    {"#,###0 Hz", 0, "0 Hz"},
    {"#,###0 Hz", 1500, "1,500 Hz"},
    {"#,##0 Hz/div", 1000, "1,000 Hz/div"},
    {"#,##0 uS", 42667, "42,667 uS"},
    {"#,0 Hz", 12345, "12,345 Hz"},
    {"##,##0  ", 32767, "32,767  "},
    {"###,##0 dB", -6.02, "-6 dB"},
    // Percent.
    {"#0%", 0.456, "46%"},
    {"#0%", 0.455, "46%"},
    {"#0%", 0.004, "0%"},
    {"#0%", 1, "100%"},
    // Sections: negatives without their sign, zero (also a value that rounds to it) in the third.
    {"0.0;(0.0)", -1.25, "(1.3)"},
    {"0.0;(0.0)", -0.04, "0.0"},
    {"0.0;;-", -1.25, "-1.3"},
    {"0.0;(0.0);-", 0, "-"},
    {"0.0;(0.0);-", 0.04, "-"},
    {"0.0;(0.0);-", 2, "2.0"},
    // No picture: the plain number.
    {"", 2.5, "2.5"},
    {"", -1234567, "-1234567"},
};

} // namespace

TEST(NumberFormat, WritesEachPictureByItsRules) {
    for (const auto& c : kCases)
        EXPECT_EQ(Format(c.value, c.picture), c.expected) << '"' << c.picture << "\" " << c.value;
}

TEST(NumberFormat, TakesTheUsersSeparatorsWhereTheCallerPassesThem) {
    const NumberFormat::Separators german{",", "."};
    EXPECT_EQ(Format(1234567, "#,##0", german), "1.234.567");
    EXPECT_EQ(Format(1.5, "00.00", german), "01,50");
    EXPECT_EQ(Format(2.5, "", german), "2,5");
    const NumberFormat::Separators thinSpace{".", "\u202F"};
    EXPECT_EQ(Format(1234567, "#,##0", thinSpace), "1\u202F234\u202F567");
}

TEST(NumberFormat, IsTheSameUnderAGermanProcessLocale) {
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    for (const auto& c : kCases)
        EXPECT_EQ(Format(c.value, c.picture), c.expected) << '"' << c.picture << "\" " << c.value;
}

TEST(NumberFormat, TheUsersSeparatorsFollowTheProcessLocale) {
    EXPECT_EQ(NumberFormat::userSeparators().decimal, "."); // the C locale
    EXPECT_EQ(Format(5E-06, "0.000000000", NumberFormat::userSeparators()), "0.000005000");
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    const NumberFormat::Separators user = NumberFormat::userSeparators();
    EXPECT_EQ(user.decimal, ",");
    EXPECT_NE(user.thousands, ",");
    EXPECT_EQ(Format(5E-06, "0.000000000", user), "0,000005000");
}

TEST(NumberFormat, RefusesNumbersThatAreNotFinite) {
    for (const double v :
         {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        try {
            Format(v, "#0");
            ADD_FAILURE() << v;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kOverflow);
        }
    }
}
