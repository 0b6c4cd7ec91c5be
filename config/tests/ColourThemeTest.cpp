// Colour theme files on disk: the bytes a save writes, what it keeps of an existing file, what a load takes
// from a file and what it refuses to trust, and a save that cannot be written.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ColourTheme.h"
#include "platform/profile/testing/BoundedChild.h"
#include "platform/profile/testing/TempFolder.h"

using config::Swatch;
using profile::testing::TempFolder;

namespace {

config::SwatchColours defaults() {
    config::SwatchColours s;
    config::controlDefaults(s);
    return s;
}

config::SwatchColours filled(int32_t colour) {
    config::SwatchColours s;
    s.colours.fill(colour);
    return s;
}

// The sixteen lines a save of the Controls tab's defaults writes, as the file format lists them.
std::string defaultLines(const std::string& name) {
    return "Name=" + name +
           "\r\n"
           "shpSDRBackGroundColour=0\r\n"
           "shpSDRFrameFocusColour=16776960\r\n"
           "shpSDRFrameNormalColour=12566272\r\n"
           "shpSDRLabelColour=12566272\r\n"
           "shpSDRTuningColour=255\r\n"
           "shpNormalScrollLabelColour=12566272\r\n"
           "shpFocusScrollLabelColour=255\r\n"
           "shpScopeBackColour=0\r\n"
           "shpScopeGraticuleColour=32512\r\n"
           "shpScopeY1Colour=65280\r\n"
           "shpScopeY2Colour=65535\r\n"
           "shpScopeNotchFilterColour=12648288\r\n"
           "shpScopeFilterCurveColour=12632256\r\n"
           "shpScopeXTextColour=16776960\r\n"
           "shpScopeYTextColour=16744192\r\n";
}

} // namespace

TEST(ColourTheme, ANewThemeIsTheSectionAndItsSixteenKeysInOrder) {
    TempFolder dir;
    const std::string path = dir.path() + "/Night.thm";
    EXPECT_EQ(config::saveTheme(path, defaults()), std::nullopt);
    EXPECT_EQ(TempFolder::readFile(path), "[SDRColours]\r\n" + defaultLines("Night.thm"));

    // Black and every other colour come back exactly.
    const config::ThemeLoad load = config::loadTheme(path, filled(0x123456));
    EXPECT_EQ(load.colours, defaults());
    EXPECT_TRUE(load.ignoredKeys.empty());
    EXPECT_FALSE(load.failure);
}

TEST(ColourTheme, ASaveIntoAnExistingFileChangesOnlyItsSixteenLines) {
    TempFolder dir;
    const std::string path = dir.path() + "/Day.thm";
    const std::string before = "; my theme\r\n"
                               "[Other]\r\n"
                               "shpSDRLabelColour=1\r\n"
                               "\r\n"
                               "[sdrcolours]\r\n"
                               "NAME=old.thm\r\n"
                               "Author = me\r\n"
                               "shpscopey1colour=7\r\n"
                               "\r\n"
                               "[Last]\r\n"
                               "k=v";
    dir.write("Day.thm", before);
    config::SwatchColours s = defaults();
    s[Swatch::ScopeY1] = 0x00FF10;
    ASSERT_EQ(config::saveTheme(path, s), std::nullopt);
    EXPECT_EQ(TempFolder::readFile(path), "; my theme\r\n"
                                          "[Other]\r\n"
                                          "shpSDRLabelColour=1\r\n"
                                          "\r\n"
                                          "[sdrcolours]\r\n"
                                          "Name=Day.thm\r\n"
                                          "Author = me\r\n"
                                          "shpScopeY1Colour=65296\r\n"
                                          "shpSDRBackGroundColour=0\r\n"
                                          "shpSDRFrameFocusColour=16776960\r\n"
                                          "shpSDRFrameNormalColour=12566272\r\n"
                                          "shpSDRLabelColour=12566272\r\n"
                                          "shpSDRTuningColour=255\r\n"
                                          "shpNormalScrollLabelColour=12566272\r\n"
                                          "shpFocusScrollLabelColour=255\r\n"
                                          "shpScopeBackColour=0\r\n"
                                          "shpScopeGraticuleColour=32512\r\n"
                                          "shpScopeY2Colour=65535\r\n"
                                          "shpScopeNotchFilterColour=12648288\r\n"
                                          "shpScopeFilterCurveColour=12632256\r\n"
                                          "shpScopeXTextColour=16776960\r\n"
                                          "shpScopeYTextColour=16744192\r\n"
                                          "\r\n"
                                          "[Last]\r\n"
                                          "k=v");
}

TEST(ColourTheme, ALoadTakesKeysInAnyCaseAndKeepsTheSwatchesOfMissingOnes) {
    TempFolder dir;
    dir.write("t.thm", "[sdrcolours]\r\nshpsdrtuningcolour=4210752\r\nSHPSCOPEY2COLOUR=0\r\n");
    const config::ThemeLoad load = config::loadTheme(dir.path() + "/t.thm", filled(0x123456));
    config::SwatchColours expected = filled(0x123456);
    expected[Swatch::SDRTuning] = 4210752;
    expected[Swatch::ScopeY2] = 0;
    EXPECT_EQ(load.colours, expected);
    EXPECT_TRUE(load.ignoredKeys.empty());

    dir.write("none.thm", "[Other]\r\nshpSDRTuningColour=1\r\n");
    EXPECT_EQ(config::loadTheme(dir.path() + "/none.thm", filled(5)).colours, filled(5));
}

TEST(ColourTheme, ALoadTrustsNoValueThatIsNotADecimalColour) {
    const struct {
        const char* text;
        std::optional<int32_t> colour;
    } cases[] = {
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {" 255 ", 255},
        {"-1", std::nullopt},
        {"16777216", std::nullopt},
        {"16777215", 16777215},
        {"99999999999", std::nullopt},
        {"0x00FF00", std::nullopt},
        {"&HFF", std::nullopt},
        {"+8", 8},
        {"-0", 0},
        {"1 2", std::nullopt},
        {"-", std::nullopt},
        {"2147483648", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(config::themeColour(c.text), c.colour) << '"' << c.text << '"';

    TempFolder dir;
    dir.write("bad.thm", "[SDRColours]\r\nshpSDRLabelColour=\r\nshpSDRTuningColour=-1\r\n"
                         "shpScopeY1Colour=0x00FF00\r\nshpScopeY2Colour= 255 \r\n");
    const std::string path = dir.path() + "/bad.thm";
    const config::ThemeLoad load = config::loadTheme(path, filled(0x123456));
    config::SwatchColours expected = filled(0x123456);
    expected[Swatch::ScopeY2] = 255;
    EXPECT_EQ(load.colours, expected);
    EXPECT_EQ(load.ignoredKeys,
              (std::vector<std::string>{"shpSDRLabelColour", "shpSDRTuningColour", "shpScopeY1Colour"}));
    EXPECT_EQ(config::ignoredKeysMessage(path, load.ignoredKeys),
              "These colours of " + path +
                  " are no colours and were not loaded:\r\n"
                  "shpSDRLabelColour\r\nshpSDRTuningColour\r\nshpScopeY1Colour");
}

TEST(ColourTheme, ALoadReadsAMarkedFileLfLinesALongLineAndTheFirstOfTwoSections) {
    TempFolder dir;
    const std::string longLine(10 * 1024, '7');
    dir.write("odd.thm", "\xEF\xBB\xBF[SDRColours]\n"
                         "shpSDRLabelColour=255\n"
                         "note=" +
                             longLine +
                             "\n"
                             "shpScopeXTextColour=" +
                             longLine +
                             "\n"
                             "[SDRColours]\n"
                             "shpSDRTuningColour=1\n"
                             "shpSDRLabelColour=2\n");
    const config::ThemeLoad load = config::loadTheme(dir.path() + "/odd.thm", filled(0x123456));
    config::SwatchColours expected = filled(0x123456);
    expected[Swatch::SDRLabel] = 255;
    EXPECT_EQ(load.colours, expected);
    EXPECT_EQ(load.ignoredKeys, std::vector<std::string>{"shpScopeXTextColour"});
}

TEST(ColourTheme, TheNameIsThePathAfterItsLastSeparator) {
    EXPECT_EQ(config::themeName("/home/u/themes/Night.thm"), "Night.thm");
    EXPECT_EQ(config::themeName("C:\\SDR\\Day.thm"), "Day.thm");
    EXPECT_EQ(config::themeName("/mixed\\Dusk.thm"), "Dusk.thm");
    EXPECT_EQ(config::themeName("Plain.thm"), "Plain.thm");
}

TEST(ColourTheme, ASaveThatCannotBeWrittenSaysWhyAndLeavesTheOldFile) {
    TempFolder dir;
    const std::string folder = dir.path() + "/themes";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/Night.thm";
    const std::string old =
        "[SDRColours]\r\nName=Night.thm\r\nshpSDRTuningColour=1\r\n[Big]\r\nk=" + std::string(8192, 'x') +
        "\r\n";
    dir.write("themes/Night.thm", old);
    const std::string expectedStart = "Unable to save colour theme " + path + "\r\n";

    // A folder the user may not write into: run as a user without rights, as root ignores them.
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(folder, std::filesystem::perms(0555));
    const auto readOnly = profile::testing::runInBoundedChild(
        [&] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
            const auto failure = config::saveTheme(path, defaults());
            return failure && failure->rfind(expectedStart, 0) == 0 && failure->size() > expectedStart.size()
                       ? 0
                       : 1;
        },
        std::chrono::seconds(20));
    EXPECT_EQ(readOnly, 0);
    EXPECT_EQ(TempFolder::readFile(path), old);
    std::filesystem::permissions(folder, std::filesystem::perms(0755));

    // A disk that fills during the write: the file size limit, its signal ignored, so the write fails.
    const auto diskFull = profile::testing::runInBoundedChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const auto failure = config::saveTheme(path, defaults());
            return failure && *failure == expectedStart + "the file could not be read or replaced" ? 0 : 1;
        },
        std::chrono::seconds(20));
    EXPECT_EQ(diskFull, 0);
    EXPECT_EQ(TempFolder::readFile(path), old);

    // A file name holding a line break cannot become the Name key: nothing is written.
    const std::string broken = folder + "/two\nlines.thm";
    EXPECT_EQ(config::saveTheme(broken, defaults()),
              "Unable to save colour theme " + broken + "\r\nthe value holds a line break");
    EXPECT_FALSE(std::filesystem::exists(broken));
}

TEST(ColourTheme, AFileThatCannotBeReadIsReportedAndChangesNoSwatch) {
    TempFolder dir;
    dir.write("utf16.thm", std::string("\xFF\xFE[\0S\0]\0", 8));
    const std::string path = dir.path() + "/utf16.thm";
    const config::ThemeLoad load = config::loadTheme(path, filled(9));
    EXPECT_EQ(load.colours, filled(9));
    ASSERT_TRUE(load.failure);
    EXPECT_EQ(load.failure->rfind("Unable to load colour theme " + path + "\r\n", 0), 0u);
}

// Themes as a save writes them and as a hand edits them (LF lines, a remark, blanks inside the brackets
// and around "=", keys in another order and letter case): every swatch is read, nothing is ignored.
TEST(ColourTheme, SavedAndHandEditedThemeFilesGiveEverySwatch) {
    for (const char* name : {"Default.thm", "Night.thm"}) {
        SCOPED_TRACE(name);
        const config::ThemeLoad load =
            config::loadTheme(std::string(THEME_FIXTURES) + "/" + name, filled(-7));
        EXPECT_FALSE(load.failure);
        EXPECT_TRUE(load.ignoredKeys.empty());
        for (const int32_t colour : load.colours.colours)
            EXPECT_NE(colour, -7);
    }
}
