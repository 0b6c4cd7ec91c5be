// The program folder: each rule of the choice, table-driven over the environment, and the first filling
// of the per-user data folder.
#include <gtest/gtest.h>

#include "platform/profile/ProgramFolder.h"
#include "platform/profile/testing/TempFolder.h"

using namespace profile;
using profile::testing::ScopedEnv;
using profile::testing::TempFolder;

namespace {

struct FolderCase {
    const char* name;
    bool nerixHome;
    bool exeHasBandPlan;
    bool exeWritable;
    bool xdgDataHome;
    const char* expected; // "home", "exe", "xdg" or "dothome"
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

class ProgramFolderRule : public ::testing::TestWithParam<FolderCase> {};

} // namespace

TEST_P(ProgramFolderRule, ChoosesTheFolder) {
    const auto& c = GetParam();
    TempFolder root;
    const std::string exe = root.path() + "/bin";
    root.write("bin/NerixSDR", "");
    if (c.exeHasBandPlan) root.write("bin/Default.BPL", "[MainBand]\r\n");

    ProgramFolderInputs in;
    if (c.nerixHome) in.nerixHome = root.path() + "/nerixhome/";
    if (c.xdgDataHome) in.xdgDataHome = root.path() + "/xdg";
    in.home = root.path() + "/home";
    in.executableDir = exe;
    in.writable = [&](const std::string& folder) { return folder != exe || c.exeWritable; };

    const std::string expected = std::string(c.expected) == "home"  ? root.path() + "/nerixhome"
                                 : std::string(c.expected) == "exe" ? exe
                                 : std::string(c.expected) == "xdg"
                                     ? root.path() + "/xdg/NerixSDR"
                                     : root.path() + "/home/.local/share/NerixSDR";
    EXPECT_EQ(resolveProgramFolder(in), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, ProgramFolderRule,
    ::testing::Values(FolderCase{"NerixHomeWinsOverAll", true, true, true, true, "home"},
                      FolderCase{"ExecutableFolderWithBandPlanAndWritable", false, true, true, true, "exe"},
                      FolderCase{"ExecutableFolderWithoutBandPlan", false, false, true, true, "xdg"},
                      FolderCase{"ExecutableFolderReadOnly", false, true, false, true, "xdg"},
                      FolderCase{"NoXdgDataHomeMeansDotLocalShare", false, false, true, false, "dothome"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramFolder, DataFolderIsFilledOnFirstUseAndNotOverwrittenLater) {
    TempFolder root;
    root.write("share/NerixSDR/Amateur.bpl", "[MainBand]\r\nCaption=Ham\r\n");
    root.write("share/NerixSDR/Dark.thm", "[SDRColours]\r\n");
    root.write("share/NerixSDR/readme.txt", "not copied");
    ProgramFolderInputs in;
    in.xdgDataHome = root.path() + "/xdg";
    in.executableDir = root.path() + "/bin";
    in.installedDataDirs = {root.path() + "/nothing-here", root.path() + "/share/NerixSDR"};

    const std::string folder = resolveProgramFolder(in);
    EXPECT_EQ(TempFolder::readFile(folder + "/Amateur.bpl"), "[MainBand]\r\nCaption=Ham\r\n");
    EXPECT_TRUE(std::filesystem::exists(folder + "/Dark.thm"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/readme.txt"));

    root.write("xdg/NerixSDR/Amateur.bpl", "[MainBand]\r\nCaption=Mine\r\n");
    EXPECT_EQ(resolveProgramFolder(in), folder);
    EXPECT_EQ(TempFolder::readFile(folder + "/Amateur.bpl"), "[MainBand]\r\nCaption=Mine\r\n");
}

TEST(ProgramFolder, FromTheEnvironment) {
    TempFolder root;
    ScopedEnv home("NERIXSDR_HOME", root.path());
    EXPECT_EQ(programFolder(), root.path());
    EXPECT_EQ(programFile("Dream.ini"), root.path() + "/Dream.ini");
    ScopedEnv empty("NERIXSDR_HOME", "");
    ScopedEnv xdg("XDG_DATA_HOME", root.path() + "/xdg");
    EXPECT_EQ(programFolderInputsFromEnvironment().nerixHome, std::nullopt);
    EXPECT_EQ(programFolderInputsFromEnvironment().executableDir, executableDir());
}
