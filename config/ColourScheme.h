// The fifteen colours of the dialog's "Controls" tab: the swatches that hold them, the two "Defaults"
// tables, the colours kept to undo a preview, and the preview of the swatches on the live window and
// display while the "Preview" button is held.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "config/ConfigPorts.h"
#include "frame/ReceiverState.h"

namespace config {

// The swatches, in the order a colour theme file lists them.
enum class Swatch : std::size_t {
    SDRBackGround,
    SDRFrameFocus,
    SDRFrameNormal,
    SDRLabel,
    SDRTuning,
    NormalScrollLabel,
    FocusScrollLabel,
    ScopeBack,
    ScopeGraticule,
    ScopeY1,
    ScopeY2,
    ScopeNotchFilter,
    ScopeFilterCurve,
    ScopeXText,
    ScopeYText,
};
inline constexpr std::size_t kSwatchCount = 15;

// The swatch's control name, which is also its key in a theme file ("shpSDRBackGroundColour").
const char* swatchName(Swatch swatch) noexcept;

// One colour (0x00BBGGRR) per swatch.
struct SwatchColours {
    std::array<int32_t, kSwatchCount> colours{};
    int32_t& operator[](Swatch s) noexcept { return colours[static_cast<std::size_t>(s)]; }
    int32_t operator[](Swatch s) const noexcept { return colours[static_cast<std::size_t>(s)]; }
    bool operator==(const SwatchColours&) const = default;
};

// "Defaults" on the "Controls" tab: every swatch. The three derived colours are 0x00FFFF00 at 75 % through
// ScaleColour. (The tab's "  Hilite Border" box, which the button also clears, is the window's.)
void controlDefaults(SwatchColours& swatches);
// "Defaults" on the "Spectrum Display" tab: the eight display swatches only; its filter curve is a dark
// red (0x000000C0) where the other button gives grey.
void scopeDefaults(SwatchColours& swatches);
// The seven window colours of the swatches into the scheme (the preview's press and Apply alike).
void putSchemeColours(SDRColourScheme& scheme, const SwatchColours& swatches);

// The colours in force, kept to undo a preview: 0 background, 1 labels, 2 tuning readout, 3 frame normal,
// 4 frame in focus, 5 knob label normal, 6 knob label in focus (the scheme), 7 unused, then the display's
// background, grid, trace 1 and 2 base colours, filter curve, notch marker, X and Y text.
using InitialColourSet = std::array<int32_t, 16>;
void takeSchemeColours(InitialColourSet& initial, const SDRColourScheme& scheme) noexcept;
// Entries 8 to 15.
void takeDisplayColours(InitialColourSet& initial, const AnalyserSettings& analyser);

// The preview: the press shows the swatches on the live window and display, the release puts the kept
// colours back. Every statement runs under its own guard; an absent analyser or main window skips its
// statements. Nothing of the swatches or the settings changes.
class ColourPreview {
public:
    ColourPreview(ReceiverState& state, AnalyserSettings* analyser, MainWindowShell* mainWindow)
        : state_(state), analyser_(analyser), mainWindow_(mainWindow) {}

    void Press(const SwatchColours& swatches);
    // The trace colours shown before the press come back with the kept colours, so a preview leaves the
    // traces at the brightness the knobs had set.
    void Release(const InitialColourSet& initial);

private:
    ReceiverState& state_;
    AnalyserSettings* analyser_;
    MainWindowShell* mainWindow_;
    std::optional<int32_t> pressedY1_, pressedY2_;
};

} // namespace config
