// Seeded theme files through the theme reader's fuzz target, under the sanitizers: hand edits of saved
// themes, hostile values, byte-order marks, line ends of every kind, long lines and stray bytes.
#include "config/fuzz/ThemeFuzzTarget.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "config/ColourScheme.h"
#include "platform/profile/testing/TempFolder.h"

namespace {

const std::vector<std::string> kHeaders{
    "[SDRColours]", "[sdrcolours]", " [ SDRColours ] old", "[Other]", "[SDRColours][x]", "[", ""};
const std::vector<std::string> kValues{
    "0",           "255",       " 16777215 ", "16777216", "-1",       "-0",
    "+8",          "",          "abc",        "12abc",    "0x00FF00", "&HFF",
    "99999999999", "\"65280\"", "1 2",        "\xE9",     "\xC3\xA9", std::string(3000, '9')};
const std::vector<std::string> kLineEnds{"\r\n", "\n", "\r"};

std::string keyName(std::mt19937& rng) {
    std::string key = rng() % 8 == 0
                          ? "Name"
                          : config::swatchName(static_cast<config::Swatch>(rng() % config::kSwatchCount));
    if (rng() % 3 == 0)
        for (char& c : key)
            c = static_cast<char>(rng() % 2 ? std::tolower(static_cast<unsigned char>(c))
                                            : std::toupper(static_cast<unsigned char>(c)));
    return key;
}

} // namespace

TEST(ThemeFuzzReplay, AnyThemeFileLoadsOnlyColoursAndWhatItGaveSavesBackExactly) {
    std::mt19937 rng(20261211);
    for (int run = 0; run < 1200; ++run) {
        const std::string& end = kLineEnds[rng() % kLineEnds.size()];
        std::string file = rng() % 5 == 0 ? "\xEF\xBB\xBF" : "";
        const int lines = static_cast<int>(rng() % 24);
        for (int l = 0; l < lines; ++l) {
            if (rng() % 6 == 0)
                file += kHeaders[rng() % kHeaders.size()];
            else
                file += keyName(rng) + (rng() % 4 == 0 ? " = " : "=") + kValues[rng() % kValues.size()];
            file += end;
        }
        // Stray bytes, as a damaged or foreign file holds them.
        const int stray = static_cast<int>(rng() % 4);
        for (int s = 0; s < stray && !file.empty(); ++s)
            file[rng() % file.size()] = static_cast<char>(rng());
        config::fuzz::readTheme(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    }
}

// The fixture themes, whole and with stray bytes.
TEST(ThemeFuzzReplay, FixtureThemesWholeAndDamagedLoadOnlyColours) {
    std::mt19937 rng(20261212);
    int themes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(THEME_FIXTURES)) {
        const std::string theme = profile::testing::TempFolder::readFile(entry.path().string());
        ++themes;
        for (int run = 0; run < 60; ++run) {
            std::string file = theme;
            for (int s = 0; s < run % 5 && !file.empty(); ++s)
                file[rng() % file.size()] = static_cast<char>(rng());
            config::fuzz::readTheme(reinterpret_cast<const uint8_t*>(file.data()), file.size());
        }
    }
    EXPECT_GE(themes, 2);
}
