// The dialog's texts and list positions: frequency, period, address and rig pictures, the multiplier
// and priority lists, and the decoder arguments the program generates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigTexts.h"
#include "config/ProgramAbout.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

namespace {

struct TraceLog {
    std::vector<std::string> lines;
    runtime::ScopedHooks hooks{runtime::Hooks{{}, [this](const std::string& l) { lines.push_back(l); }, {}}};
};

TEST(ConfigTexts, FrequenciesShowTheirWholeHertzWithoutSignInGroupsOfThree) {
    const struct {
        double hertz;
        const char* text;
    } cases[] = {{455'000, "0 455 000"},
                 {12'000, "0 012 000"},
                 {1e8, "100 000 000"},
                 {0, "0 000 000"},
                 {-455'000, "0 455 000"},
                 {125e6, "125 000 000"},
                 {1'234'567'890, "1234 567 890"},
                 {7.5, "0 000 008"}};
    for (const auto& c : cases)
        EXPECT_EQ(config::frequencyText(c.hertz), c.text) << c.hertz;
    // A frequency text holds no decimal, so the user's locale changes nothing.
    const profile::testing::ScopedGermanLocale german;
    for (const auto& c : cases)
        EXPECT_EQ(config::frequencyText(c.hertz), c.text) << c.hertz << " (German)";
}

TEST(ConfigTexts, PeriodsShowNineDecimalsInTheUsersSeparator) {
    EXPECT_EQ(config::periodText(5E-06, NumberFormat::userSeparators()), "0.000005000");
    EXPECT_EQ(config::periodText(1.25E-04, NumberFormat::userSeparators()), "0.000125000");
    const profile::testing::ScopedGermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    EXPECT_EQ(config::periodText(5E-06, NumberFormat::userSeparators()), "0,000005000");
}

TEST(ConfigTexts, AddressesShowAsUpperCaseHexadecimal) {
    const struct {
        int32_t address;
        const char* text;
    } cases[] = {{888, "&H378"}, {0x3BC, "&H3BC"}, {0, "&H0"}, {0xFFFF, "&HFFFF"}, {-1, "&HFFFFFFFF"}};
    for (const auto& c : cases)
        EXPECT_EQ(config::addressText(c.address), c.text) << c.address;
}

TEST(ConfigTexts, RigEntriesLineUpTheirNumbersAfterThirtyThreeColumns) {
    EXPECT_EQ(config::rigEntryText("Hamlib:Dummy", 1), "Hamlib:Dummy" + std::string(24, ' ') + "1");
    const std::string longest = "Yaesu:MARK-V-Field-FT1000MP"; // 27 characters, the list's longest
    EXPECT_EQ(config::rigEntryText(longest, 125), longest + std::string(7, ' ') + "125");
    EXPECT_EQ(config::rigEntryText("Kenwood:TS-2000", 2014).size(), 37u);
    // Nothing is cut from a description or number longer than its field.
    const std::string wide(40, 'x');
    EXPECT_EQ(config::rigEntryText(wide, 123456), wide + "123456");
    // Columns count characters, not bytes.
    EXPECT_EQ(config::rigEntryText("Rig:\xC3\x9C", 7), "Rig:\xC3\x9C" + std::string(28, ' ') + "   7");
}

TEST(ConfigTexts, MultipliersSelectTheNearestPowerOfTwoAndStayInTheirList) {
    const struct {
        int32_t value;
        int32_t entries;
        int32_t position;
        bool traced;
    } cases[] = {
        {1, 4, 0, false},          {4, 4, 2, false},         {3, 4, 2, false}, // ln 3 / ln 2 = 1.58
        {6, 4, 3, false},          {8, 4, 3, false},         {0, 4, 0, true},   {16, 4, 3, true},
        {-4, 4, 0, true},          {32768, 16, 15, false},   {2, 16, 1, false}, {65536, 16, 15, true},
        {INT32_MAX, 16, 15, true}, {INT32_MIN, 16, 0, true},
    };
    for (const auto& c : cases) {
        TraceLog log;
        EXPECT_EQ(config::multiplierPosition(c.value, c.entries, "OscMultiplier"), c.position) << c.value;
        EXPECT_EQ(!log.lines.empty(), c.traced) << c.value;
    }
}

TEST(ConfigTexts, PrioritiesOutsideTheListShowRealtime) {
    const struct {
        int32_t priorityClass;
        const char* caption;
    } cases[] = {{256, "Realtime"}, {128, "High"},     {32, "Normal"},
                 {64, "Idle"},      {100, "Realtime"}, {0, "Realtime"}};
    for (const auto& c : cases)
        EXPECT_STREQ(
            config::kPriorities[static_cast<std::size_t>(config::priorityPosition(c.priorityClass))].caption,
            c.caption)
            << c.priorityClass;
}

TEST(ConfigTexts, DecoderArgumentsNameTheDevicesLessTwo) {
    EXPECT_EQ(config::decoderArguments(1, 3, true), " -M 0 -I 0 -O 1 -C 3");
    EXPECT_EQ(config::decoderArguments(1, 3, false), " -M 0 -I 0 -O 1 ");
    EXPECT_EQ(config::decoderArguments(5, 2, false), " -M 0 -I 3 -O 0 ");
    EXPECT_EQ(config::decoderArguments(INT32_MIN, INT32_MAX, false), " -M 0 -I 0 -O 2147483645 ");
}

TEST(ConfigTexts, TheHamlibModelIsKnownInAnyLetterCase) {
    for (const char* section : {"RXModel.Hamlib", "RxModel.HamLib", "rxmodel.HAMLIB"})
        EXPECT_TRUE(config::isHamlibSection(section)) << section;
    for (const char* section : {"RXModel.Hamlib ", "RXModel.IQ,AD9850 DDS", "Hamlib", ""})
        EXPECT_FALSE(config::isHamlibSection(section)) << section;
}

TEST(ConfigTexts, ListPositionsOutsideTheListSelectNone) {
    TraceLog log;
    EXPECT_EQ(config::listPosition(0, 16, "COM port 1"), 0);
    EXPECT_EQ(config::listPosition(15, 16, "COM port 16"), 15);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(config::listPosition(16, 16, "COM port 17"), -1);
    EXPECT_EQ(config::listPosition(-1, 16, "COM port 0"), -1);
    EXPECT_EQ(config::listPosition(0, 0, "playback device 1"), -1);
    ASSERT_EQ(log.lines.size(), 3u);
    EXPECT_NE(log.lines[0].find("COM port 17"), std::string::npos);
}

} // namespace
