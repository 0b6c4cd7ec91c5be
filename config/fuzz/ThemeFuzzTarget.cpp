// The colour theme reader's fuzz target.
#include "config/fuzz/ThemeFuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/ColourTheme.h"
#include "platform/profile/IniDocument.h"

namespace config::fuzz {

namespace {

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "Theme reader: %s\n", what);
    std::abort();
}

} // namespace

void readTheme(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The values on their own, as a hand edit leaves them.
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', pos), bytes.size());
        if (const auto colour = themeColour(bytes.substr(pos, end - pos)))
            if (*colour < 0 || *colour > 0xFFFFFF) broken("a value out of range taken as a colour");
        pos = end + 1;
    }
    // The layer refuses what is no text before a document is made of it.
    if (profile::refuseText(bytes)) return;

    SwatchColours current;
    controlDefaults(current);
    profile::IniDocument file = profile::IniDocument::fromBytes(bytes);
    const ThemeLoad load = config::readTheme(file, current);
    if (load.ignoredKeys.size() > kSwatchCount) broken("more keys ignored than there are");
    for (std::size_t i = 0; i < kSwatchCount; ++i) {
        const int32_t colour = load.colours.colours[i];
        if (colour != current.colours[i] && (colour < 0 || colour > 0xFFFFFF))
            broken("a colour out of range");
    }

    // Saved into the same file, as a save into an existing theme writes it.
    file.set(kThemeSection, kThemeNameKey, "fuzz.thm");
    for (std::size_t i = 0; i < kSwatchCount; ++i)
        file.set(kThemeSection, swatchName(static_cast<Swatch>(i)), std::to_string(load.colours.colours[i]));
    const profile::IniDocument reread = profile::IniDocument::fromBytes(file.toBytes());
    const ThemeLoad again = config::readTheme(reread, SwatchColours{});
    if (!again.ignoredKeys.empty()) broken("a saved colour ignored");
    if (again.colours != load.colours) broken("a saved colour read back otherwise");
}

} // namespace config::fuzz
