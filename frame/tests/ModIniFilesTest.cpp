// Settings-file utilities: field extraction, defaults, the read cap, and writes that are refused being
// reported instead of passing as success.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <vector>

#include "frame/modIniFiles.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

using modIniFiles::ProfileGetItem;
using modIniFiles::ProfileSaveItem;
using profile::testing::TempFolder;

namespace {

struct FieldCase {
    const char* stored; // nullptr: the key is missing
    const char* defaultValue;
    int32_t field;
    const char* expected;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << (c.stored ? c.stored : "<missing>") << " field " << c.field;
}

class ProfileGetItemField : public ::testing::TestWithParam<FieldCase> {};

} // namespace

TEST_P(ProfileGetItemField, GivesTheField) {
    TempFolder dir;
    const auto& c = GetParam();
    const std::string file =
        dir.write("f.ini", c.stored ? "[S]\r\nk=" + std::string(c.stored) + "\r\n" : std::string("[S]\r\n"));
    EXPECT_EQ(ProfileGetItem("S", "k", c.defaultValue, file, c.field), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Values, ProfileGetItemField,
                         ::testing::Values(FieldCase{"a,b,c", "", 0, "a,b,c"}, FieldCase{"a,b,c", "", 1, "a"},
                                           FieldCase{"a,b,c", "", 2, "b"}, FieldCase{"a,b,c", "", 3, "c"},
                                           FieldCase{"a,b,c", "", 4, ""}, FieldCase{"a,b,c", "", -1, ""},
                                           FieldCase{"10,,30", "", 2, ""}, FieldCase{"10,,30", "", 3, "30"},
                                           FieldCase{"a, b", "", 2, " b"}, FieldCase{"", "x,y", 2, ""},
                                           FieldCase{"", "x,y", 0, ""}, FieldCase{nullptr, "x,y", 0, "x,y"},
                                           FieldCase{nullptr, "x,y", 2, "y"}, FieldCase{nullptr, "", 1, ""}));

TEST(ModIniFiles, LongValueComesBackCutTo2047Characters) {
    TempFolder dir;
    const std::string file = dir.file("f.ini");
    std::string value;
    for (int i = 0; i < 2100; ++i)
        value += "\xC3\xA4"; // two bytes, one character
    ASSERT_TRUE(ProfileSaveItem("S", "k", value, file));
    const std::string read = ProfileGetItem("S", "k", "", file, 0);
    EXPECT_EQ(read.size(), 2047u * 2);
    EXPECT_EQ(read, value.substr(0, 2047 * 2));
}

TEST(ModIniFiles, SaveThenGetRoundTrips) {
    TempFolder dir;
    const std::string file = dir.file("Dream.ini");
    EXPECT_TRUE(ProfileSaveItem("window geometry", "analdemvis", "0", file));
    EXPECT_TRUE(ProfileSaveItem("receiver", "flipspectrum", "1", file));
    EXPECT_TRUE(ProfileSaveItem("Receiver", "FlipSpectrum", "0", file));
    EXPECT_EQ(TempFolder::readFile(file),
              "[window geometry]\r\nanaldemvis=0\r\n[receiver]\r\nFlipSpectrum=0\r\n");
    EXPECT_EQ(ProfileGetItem("RECEIVER", "flipspectrum", "", file, 0), "0");
}

TEST(ModIniFiles, RefusedWritesAreReportedAndTraced) {
    TempFolder dir;
    std::vector<std::string> log;
    std::vector<std::string> boxes;
    runtime::ScopedHooks hooks{runtime::Hooks{.addLog = [&](const std::string& s) { log.push_back(s); },
                                              .msgBox =
                                                  [&](const std::string& p, int32_t, const std::string&) {
                                                      boxes.push_back(p);
                                                      return runtime::mb::kOk;
                                                  }}};
    const std::string file = dir.write("theme.thm", "[SDRColours]\r\nName=Dark\r\n");
    EXPECT_FALSE(ProfileSaveItem("SDRColours", "Name", "x\r\n[Evil]", file));
    EXPECT_FALSE(ProfileSaveItem("SDRColours", "Na=me", "x", file));
    EXPECT_FALSE(ProfileSaveItem("SDR]Colours", "Name", "x", file));
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_FALSE(ProfileSaveItem("SDRColours", "Name", "Light", file));
    EXPECT_EQ(log.size(), 4u);
    EXPECT_NE(log.back().find("read-only"), std::string::npos);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TempFolder::readFile(file), "[SDRColours]\r\nName=Dark\r\n");
}
