// Checked conversions: half-to-even rounding into fixed widths, overflow as a run-time error.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <random>

#include "platform/runtime/Convert.h"

using namespace runtime;

namespace {

int errorNumber(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const struct {
        double in, out;
    } cases[] = {{0.5, 0},    {1.5, 2},    {2.5, 2},      {-0.5, -0}, {-1.5, -2}, {-2.5, -2},
                 {2.4999, 2}, {2.5001, 3}, {191.25, 191}, {4.5, 4},   {7.5, 8},   {1e17 + 2, 1e17 + 2}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(CheckedConversions, RoundIntoRangeOrRaiseOverflow) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768); // tie to even stays in range
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CByte(254.5), 254);
    EXPECT_EQ(CLngLng(-9223372036854775808.0), std::numeric_limits<int64_t>::min());

    const double overflowing[] = {32767.5, -32769.0, kNaN, kInf, -kInf};
    for (double x : overflowing)
        EXPECT_EQ(errorNumber([&] { CInt(x); }), err::kOverflow) << x;
    EXPECT_EQ(errorNumber([] { CLng(2147483647.5); }), err::kOverflow);
    EXPECT_EQ(errorNumber([] { CByte(-0.6); }), err::kOverflow);
    EXPECT_EQ(errorNumber([] { CLngLng(9223372036854775808.0); }), err::kOverflow);
    EXPECT_EQ(errorNumber([] { checkedNarrow<int16_t>(int64_t{40000}); }), err::kOverflow);
    EXPECT_EQ(checkedNarrow<int16_t>(int64_t{-32768}), -32768);
}

TEST(CheckedConversions, DivisionByZeroAndMinOverMinusOneRaise) {
    EXPECT_EQ(checkedDivide(7, -2), -3);
    EXPECT_EQ(errorNumber([] { checkedDivide(1, 0); }), err::kDivisionByZero);
    EXPECT_EQ(errorNumber([] { checkedDivide(std::numeric_limits<int32_t>::min(), -1); }), err::kOverflow);
    EXPECT_EQ(errorNumber([] { checkedDivide(std::numeric_limits<int64_t>::min(), int64_t{-1}); }),
              err::kOverflow);
}

TEST(NumberText, WritesLikeTheRuntimeWithADotWhateverTheLocale) {
    const struct {
        double in;
        const char* out;
    } cases[] = {{0, "0"},
                 {42, "42"},
                 {-1.5, "-1.5"},
                 {0.1, "0.1"},
                 {1.0 / 3, "0.333333333333333"},
                 {1e15, "1E+15"},
                 {1.25e-7, "1.25E-07"},
                 {123456789012, "123456789012"}};
    for (const auto& c : cases)
        EXPECT_EQ(CStr(c.in), c.out) << c.in;
    EXPECT_EQ(CStr(int64_t{-9000000000}), "-9000000000");
}

TEST(NumberText, WritesASingleInTheShortestTextThatReadsBackTheSame) {
    const struct {
        float in;
        const char* out;
    } cases[] = {
        {0.1f, "0.1"}, {2.5f, "2.5"}, {-0.0f, "0"}, {1.0f / 3, "0.33333334"}, {16777216.0f, "16777216"}};
    for (const auto& c : cases)
        EXPECT_EQ(singleText(c.in), c.out) << c.in;
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> any(-1e6f, 1e6f);
    for (int i = 0; i < 1000; ++i) {
        const float f = any(rng);
        const auto back = parseDouble(singleText(f));
        ASSERT_TRUE(back.has_value()) << singleText(f);
        EXPECT_EQ(static_cast<float>(*back), f) << singleText(f);
    }
}

TEST(NumberText, ParsesOnlyWholeFiniteNumbers) {
    EXPECT_EQ(parseDouble(" 12.5 "), 12.5);
    EXPECT_EQ(parseDouble("+3"), 3.0);
    EXPECT_EQ(parseDouble("-1e3"), -1000.0);
    for (const char* bad : {"", " ", "12,5", "1.2.3", "abc", "nan", "inf", "12x"})
        EXPECT_FALSE(parseDouble(bad).has_value()) << bad;
    EXPECT_EQ(parseInt(" -42"), -42);
    for (const char* bad : {"", "4.2", "99999999999999999999", "x"})
        EXPECT_FALSE(parseInt(bad).has_value()) << bad;
}

TEST(NumberText, ReadsTheNumberATextBeginsWith) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"300", 300}, {"  -50 Hz", -50}, {"2.5e3x", 2500}, {"1e", 1},
                 {".5", 0.5},  {"7.", 7},         {"", 0},          {"Hz 300", 0},
                 {"+", 0},     {"-.", 0},         {"1999,5", 1999}, {"\t42\r\n", 42}};
    for (const auto& c : cases)
        EXPECT_EQ(runtime::leadingNumber(c.text), c.value) << c.text;
    EXPECT_THROW(runtime::leadingNumber("1e999"), runtime::RuntimeError);
}

// What a settings or band plan file may hold for a long or a flag, and what each reads as.
TEST(NumberText, StoredLongsRoundHalfToEvenAndStoredBooleansTakeWordsOrNumbers) {
    constexpr std::optional<int32_t> noLong;
    constexpr std::optional<bool> noFlag;
    const struct {
        const char* text;
        std::optional<int32_t> asLong;
        std::optional<bool> asBoolean;
    } cases[] = {
        {"12", 12, true},
        {" -7 ", -7, true},
        {"0", 0, false},
        {"-0", 0, false},
        {"2.5", 2, true},
        {"3.5", 4, true},
        {"-2.5", -2, true},
        {"0.4", 0, true}, // 0 as a long, yet not 0 as a flag
        {"1e3", 1000, true},
        {"+8", 8, true},
        {"2147483647", 2147483647, true},
        {"2147483647.4", 2147483647, true},
        {"2147483647.5", noLong, true},
        {"-2147483648", -2147483647 - 1, true},
        {"-2147483648.5", -2147483647 - 1, true},
        {"-2147483649", noLong, true},
        {"True", noLong, true},
        {"  fALSE ", noLong, false},
        {"TRUE", noLong, true},
        {"yes", noLong, noFlag},
        {"", noLong, noFlag},
        {"12,5", noLong, noFlag},
        {"1e400", noLong, noFlag},
        {"nan", noLong, noFlag},
        {"True1", noLong, noFlag},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseLong(c.text), c.asLong) << '"' << c.text << '"';
        EXPECT_EQ(parseBoolean(c.text), c.asBoolean) << '"' << c.text << '"';
    }
}
