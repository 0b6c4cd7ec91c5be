// Colour theme files: the fifteen swatch colours under the section "SDRColours" of an INI file, with the
// file's own name, so a colour set can be saved under a name and loaded again. A theme is written as one
// batch (the old file or the whole new one), and a file's values are never trusted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ColourScheme.h"
#include "platform/profile/IniDocument.h"

namespace config {

inline constexpr const char* kThemeSection = "SDRColours";
inline constexpr const char* kThemeNameKey = "Name";

// The theme's name: the path after its last "/" or "\" (the whole path when it has neither).
std::string themeName(std::string_view path);

// A stored colour: an optional sign and digits, blanks around them trimmed, within 32 bits, that is a
// colour the window can show (0 to 16777215). Nothing otherwise.
std::optional<int32_t> themeColour(std::string_view text);

// Writes the theme into the file: "Name", then the fifteen colours in the theme order as signed decimal
// text. Every other line of an existing file stays byte for byte. Nothing when it was written; otherwise
// the message the user gets: "Unable to save colour theme ", the path, CR LF and the reason.
std::optional<std::string> saveTheme(const std::string& path, const SwatchColours& swatches);

struct ThemeLoad {
    SwatchColours colours;
    // The keys present whose value is no colour; their swatches keep their colours.
    std::vector<std::string> ignoredKeys;
    // Set when the file could not be read at all: the message the user gets.
    std::optional<std::string> failure;
};

// The colours a theme gives, each key (in any letter case) with the swatch's present colour as its
// default, so a missing key or section keeps that swatch.
ThemeLoad readTheme(const profile::IniDocument& file, const SwatchColours& current);
// The same from a file on disk, read once.
ThemeLoad loadTheme(const std::string& path, const SwatchColours& current);

// The message naming the keys a load ignored, one per line.
std::string ignoredKeysMessage(const std::string& path, const std::vector<std::string>& keys);

} // namespace config
