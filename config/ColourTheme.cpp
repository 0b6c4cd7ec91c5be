// Colour theme files over the INI layer.
#include "config/ColourTheme.h"

#include <cstdint>

#include "platform/profile/IniFile.h"
#include "platform/profile/PrivateProfile.h"

namespace config {

namespace {

constexpr int32_t kLargestColour = 0x00FFFFFF;

std::string unableToSave(const std::string& path, std::string_view reason) {
    return "Unable to save colour theme " + path + "\r\n" + std::string(reason);
}

} // namespace

std::string themeName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<int32_t> themeColour(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    int64_t magnitude = 0;
    for (const char c : text) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLargestColour) return std::nullopt; // past every colour, and never past 64 bits
    }
    if (negative && magnitude != 0) return std::nullopt;
    return static_cast<int32_t>(magnitude);
}

std::optional<std::string> saveTheme(const std::string& path, const SwatchColours& swatches) {
    profile::ProfileBatch batch(path);
    profile::ProfileStatus status = batch.write(kThemeSection, kThemeNameKey, themeName(path));
    for (std::size_t i = 0; i < kSwatchCount && status == profile::ProfileStatus::Ok; ++i)
        status = batch.write(kThemeSection, swatchName(static_cast<Swatch>(i)),
                             std::to_string(swatches.colours[i]));
    if (status == profile::ProfileStatus::Ok) status = batch.commit();
    if (status == profile::ProfileStatus::Ok) return std::nullopt;
    return unableToSave(path, profile::describe(status));
}

ThemeLoad readTheme(const profile::IniDocument& file, const SwatchColours& current) {
    ThemeLoad load{current, {}, {}};
    for (std::size_t i = 0; i < kSwatchCount; ++i) {
        const char* key = swatchName(static_cast<Swatch>(i));
        const auto text = file.get(kThemeSection, key);
        if (!text) continue;
        // The read cap of the profile service: a longer value is no colour anyway.
        if (const auto colour = themeColour(profile::cutToChars(*text, profile::kProfileReadCap)))
            load.colours.colours[i] = *colour;
        else
            load.ignoredKeys.emplace_back(key);
    }
    return load;
}

ThemeLoad loadTheme(const std::string& path, const SwatchColours& current) {
    profile::FileStatus status = profile::FileStatus::Ok;
    const auto file = profile::readIniFile(path, &status);
    if (!file)
        return {current, {}, "Unable to load colour theme " + path + "\r\n" + profile::describe(status)};
    return readTheme(*file, current);
}

std::string ignoredKeysMessage(const std::string& path, const std::vector<std::string>& keys) {
    std::string text = "These colours of " + path + " are no colours and were not loaded:";
    for (const auto& key : keys)
        text += "\r\n" + key;
    return text;
}

} // namespace config
