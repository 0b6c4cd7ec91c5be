// Values written through the settings-file utilities read back the same through both readers, on files
// of every shape the program meets, and the write leaves every other line byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "frame/clsINIFile.h"
#include "frame/modIniFiles.h"
#include "platform/profile/testing/TempFolder.h"

using profile::testing::TempFolder;

namespace {

struct RoundTripCase {
    const char* name;
    std::string file;
    const char* section; // written and read with this spelling
    const char* key;
    std::string value; // UTF-8
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

// The lines of a file with their line ends, for comparing what a write left alone.
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end;
    }
    return lines;
}

std::string twoByteCharacters(int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += "\xC3\xA9";
    return s;
}

class IniRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

} // namespace

TEST_P(IniRoundTrip, BothReadersGiveWhatWasWritten) {
    const auto& c = GetParam();
    TempFolder dir;
    const std::string file = dir.write("plan.bpl", c.file);
    ASSERT_TRUE(modIniFiles::ProfileSaveItem(c.section, c.key, c.value, file));

    EXPECT_EQ(modIniFiles::ProfileGetItem(c.section, c.key, "<default>", file, 0), c.value);
    clsINIFile ini;
    ini.init(file);
    EXPECT_EQ(ini.LoadItem(c.section, c.key, "<default>"), c.value);
    // The other keys of the fixture are still there.
    EXPECT_EQ(ini.LoadItem("MainBand", "Name", "<default>"), "Band");
    EXPECT_EQ(ini.LoadItem("SubBand.1", "FreqMin", "<default>"), "7000000");

    // At most one line changed (or was added); every other line is byte for byte as it was.
    const auto before = linesOf(c.file), after = linesOf(TempFolder::readFile(file));
    std::size_t kept = 0;
    for (const std::string& line : before) {
        for (const std::string& now : after) {
            if (now == line || now == line + "\r\n") { // a last line without a break gains one
                ++kept;
                break;
            }
        }
    }
    EXPECT_GE(kept + 1, before.size());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, IniRoundTrip,
    ::testing::Values(
        RoundTripCase{"CrLfReplace",
                      "[MainBand]\r\nName=Band\r\nCaption=Old\r\n[SubBand.1]\r\nFreqMin=7000000\r\n",
                      "MainBand", "Caption", "New"},
        RoundTripCase{"LfReplace", "[MainBand]\nName=Band\nCaption=Old\n[SubBand.1]\nFreqMin=7000000\n",
                      "MainBand", "Caption", "New"},
        RoundTripCase{"LfAddKey", "[MainBand]\nName=Band\n[SubBand.1]\nFreqMin=7000000\n", "SubBand.1",
                      "FreqMax", "7200000"},
        RoundTripCase{"NoFinalLineBreak", "[MainBand]\r\nName=Band\r\n[SubBand.1]\r\nFreqMin=7000000",
                      "SubBand.1", "FreqMax", "7200000"},
        RoundTripCase{
            "SectionsOutOfOrder",
            "[SubBand.1]\r\nFreqMin=7000000\r\n[Preset.1.0]\r\nCaption=P1\r\n[MainBand]\r\nName=Band\r\n",
            "Preset.1.0", "Caption", "7.074"},
        RoundTripCase{"LetterCaseDiffers",
                      "[MAINBAND]\r\nNAME=Band\r\nCAPTION=Old\r\n[subband.1]\r\nfreqmin=7000000\r\n",
                      "MainBand", "Caption", "New"},
        RoundTripCase{
            "Windows1252File",
            "[MainBand]\r\nName=Band\r\nDescription=R\xE9seau\r\n[SubBand.1]\r\nFreqMin=7000000\r\n",
            "MainBand", "Description", "Caf\xC3\xA9 \xE2\x82\xAC"},
        RoundTripCase{
            "Utf8File",
            "[MainBand]\r\nName=Band\r\nDescription=R\xC3\xA9seau\r\n[SubBand.1]\r\nFreqMin=7000000\r\n",
            "MainBand", "Description", "\xC3\x9C\xC3\xA4 \xE2\x86\x92"},
        RoundTripCase{"ValueAtTheCap", "[MainBand]\r\nName=Band\r\n[SubBand.1]\r\nFreqMin=7000000\r\n",
                      "SubBand.1", "Description", twoByteCharacters(2047)},
        RoundTripCase{"NewSection", "[MainBand]\r\nName=Band\r\n[SubBand.1]\r\nFreqMin=7000000\r\n",
                      "Preset.1.3", "FreqCurrent", "7074000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniRoundTrip, ReadOnlyFileIsRefusedAndBothReadersKeepTheOldValue) {
    TempFolder dir;
    const std::string file = dir.write("plan.bpl", "[MainBand]\r\nCaption=Old\r\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_FALSE(modIniFiles::ProfileSaveItem("MainBand", "Caption", "New", file));
    EXPECT_EQ(modIniFiles::ProfileGetItem("MainBand", "Caption", "", file, 0), "Old");
    clsINIFile ini;
    ini.init(file);
    EXPECT_EQ(ini.LoadItem("MainBand", "Caption", ""), "Old");
}
