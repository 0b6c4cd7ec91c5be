// String and clock utilities, from the cases their callers depend on.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "frame/NerixStrings.h"
#include "platform/runtime/RuntimeError.h"

using namespace Nerix;
using std::string;

TEST(UtcClock, GivesTheUtcTimeOfDayWhateverTheZone) {
    using namespace std::chrono;
    const auto at = [](int h, int m, int s, int ms) {
        return sys_days{year{2026} / 12 / 10} + hours{h} + minutes{m} + seconds{s} + milliseconds{ms};
    };
    const char* savedTz = std::getenv("TZ");
    const string saved = savedTz ? savedTz : "";
    setenv("TZ", "Asia/Kolkata", 1);
    tzset();
    EXPECT_EQ(UtcClock(at(9, 5, 3, 700)), "09:05:03");
    EXPECT_EQ(UtcClock(at(0, 0, 5, 0)), "00:00:05");
    EXPECT_EQ(UtcClock(at(23, 59, 59, 999)), "23:59:59");
    if (savedTz)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_EQ(UtcClock().size(), 8u);
}

TEST(GetToken, CutsAtTheFirstDelimiter) {
    const struct {
        const char* text;
        const char* delimiter;
        int32_t compare;
        const char* token;
        const char* rest;
    } cases[] = {{"a|b|c", "|", 0, "a", "b|c"},
                 {"|b", "|", 0, "", "b"},
                 {"abc", "|", 0, "", "abc"},
                 {"oneXXtwo", "xx", 1, "one", "two"},
                 {"oneXXtwo", "xx", 0, "", "oneXXtwo"},
                 {"ä;ö", ";", 0, "ä", "ö"}};
    for (const auto& c : cases) {
        string text = c.text;
        EXPECT_EQ(GetToken(text, c.delimiter, c.compare), c.token) << c.text;
        EXPECT_EQ(text, c.rest) << c.text;
    }
}

TEST(Split, TakesApartTheDialogFilterAndMultipleSelection) {
    using V = std::vector<string>;
    const string nul(1, '\0');
    EXPECT_EQ(Split("Sound Files (*.wav)" + nul + "*.wav" + nul, nul, -1, 0),
              (V{"Sound Files (*.wav)", "*.wav", ""}));
    EXPECT_EQ(Split("C:\\rec" + nul + "a.wav" + nul + "b.wav" + nul + nul, nul, -1, 0),
              (V{"C:\\rec", "a.wav", "b.wav", ""}));
    EXPECT_EQ(Split(nul + "x", nul, -1, 0), (V{"", "x"}));
    // Inputs no caller gives, decided here: no delimiter gives the whole text; a limit keeps the rest.
    EXPECT_EQ(Split("abc", nul, -1, 0), (V{"abc"}));
    EXPECT_EQ(Split("a|b|c", "|", 2, 0), (V{"a", "b|c"}));
    EXPECT_EQ(Split("a|b", "", -1, 0), (V{"a|b"}));
    EXPECT_TRUE(Split("a|b", "|", 0, 0).empty());
}

TEST(StrReverse, ReversesCharacters) {
    EXPECT_EQ(StrReverse(""), "");
    EXPECT_EQ(StrReverse("abc"), "cba");
    EXPECT_EQ(StrReverse("aé€"), "€éa");
}

TEST(InStrRev, FindsWhereTheLastOccurrenceBegins) {
    const struct {
        const char* text;
        const char* find;
        int32_t start;
        int32_t expected;
    } cases[] = {{"C:\\rec\\a.wav", "\\", 1, 7}, {"a.wav", "\\", 1, 0},  {"abcabc", "bc", 1, 5},
                 {"abcabc", "bc", 2, 2},         {"abcabc", "bc", 4, 2}, {"abcabc", "bc", 6, 0},
                 {"\\dir\\", "\\", 1, 5},        {"", "\\", 1, 0},       {"abc", "", 1, 0},
                 {"Zür\\ich", "\\", 1, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(InStrRev(c.text, c.find, c.start, 0), c.expected) << c.text << " " << c.start;
    EXPECT_EQ(InStrRev("xABx", "ab", 1, 1), 2);
    EXPECT_EQ(InStrRev("xABx", "ab", 1, 0), 0);
}

TEST(Replace, ReplacesAsTheCallersExpect) {
    const struct {
        const char* text;
        const char* find;
        const char* with;
        int32_t count;
        int32_t compare;
        const char* expected;
    } cases[] = {
        {"a.b.c", ".", "", -1, 0, "abc"},
        {".wav", ".", "", -1, 0, "wav"},
        {"aab", "ab", "b", -1, 0, "b"}, // a replacement that forms a new occurrence is replaced too
        {"-f %CurFreq% -x %curfreq%", "%CurFreq%", "7100", -1, 1, "-f 7100 -x 7100"},
        {"-f %curfreq%", "%CurFreq%", "7100", -1, 0, "-f %curfreq%"},
        {"a.b.c", ".", "|", 1, 0, "a|b.c"},
        {"abc", "", "x", -1, 0, "abc"},    // empty search text: unchanged
        {"a.b", ".", "..", -1, 0, "a..b"}, // the replacement holds the search text: goes on after it
        {"xx", "x", "axa", -1, 0, "axaaxa"},
        {"abc", "b", "B", 0, 0, "abc"},
        {"*.thm", "*", "", -1, 0, ".thm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Replace(c.text, c.find, c.with, 1, c.count, c.compare), c.expected)
            << c.text << " " << c.find;
    EXPECT_EQ(Replace("a.b.c", ".", "", 3, -1, 0), "a.bc"); // the search begins at start
}

TEST(StringRoutines, RefuseTextsPast16BitsAndBadArguments) {
    const string tooLong(32768, 'a');
    const struct {
        std::function<void()> call;
        int32_t number;
    } cases[] = {
        {[&] { StrReverse(tooLong); }, runtime::err::kOverflow},
        {[&] { InStrRev(tooLong, "a", 1, 0); }, runtime::err::kOverflow},
        {[&] { Replace(tooLong, "a", "b", 1, -1, 0); }, runtime::err::kOverflow},
        {[] { Replace(string(20000, 'a'), "a", "bb", 1, -1, 0); }, runtime::err::kOverflow},
        {[] { InStrRev("a", "a", 0, 0); }, runtime::err::kInvalidCall},
        {[] { Replace("a", "a", "b", 0, -1, 0); }, runtime::err::kInvalidCall},
        {[] { Replace("a", "a", "b", 1, -2, 0); }, runtime::err::kInvalidCall},
        {[] { InStrRev("a", "a", 1, 2); }, runtime::err::kInvalidCall},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        try {
            cases[i].call();
            ADD_FAILURE() << "case " << i;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), cases[i].number) << "case " << i;
        }
    }
    EXPECT_EQ(StrReverse(string(32767, 'a')).size(), 32767u);
}
