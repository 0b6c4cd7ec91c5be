// The "Controls" tab's colours: defaults, the kept colours and the preview.
#include "config/ColourScheme.h"

#include "config/StatementGuard.h"
#include "frame/PublicFuncs.h"
#include "platform/runtime/RuntimeError.h"

namespace config {

namespace {

constexpr const char* kNames[kSwatchCount] = {
    "shpSDRBackGroundColour",    "shpSDRFrameFocusColour", "shpSDRFrameNormalColour",
    "shpSDRLabelColour",         "shpSDRTuningColour",     "shpNormalScrollLabelColour",
    "shpFocusScrollLabelColour", "shpScopeBackColour",     "shpScopeGraticuleColour",
    "shpScopeY1Colour",          "shpScopeY2Colour",       "shpScopeNotchFilterColour",
    "shpScopeFilterCurveColour", "shpScopeXTextColour",    "shpScopeYTextColour",
};

// The display colours both Defaults buttons share, bar the filter curve.
void displayDefaults(SwatchColours& s, int32_t filterCurve) {
    s[Swatch::ScopeBack] = 0x00000000;
    s[Swatch::ScopeGraticule] = 0x00007F00;
    s[Swatch::ScopeY1] = 0x0000FF00;
    s[Swatch::ScopeY2] = 0x0000FFFF;
    s[Swatch::ScopeFilterCurve] = filterCurve;
    s[Swatch::ScopeNotchFilter] = 0x00C0FF60;
    s[Swatch::ScopeXText] = 0x00FFFF00;
    s[Swatch::ScopeYText] = 0x00FF7F00;
}

AnalyserSettings& present(AnalyserSettings* analyser) {
    if (!analyser) runtime::raise(runtime::err::kObjectNotSet, "Analyser");
    return *analyser;
}

MainWindowShell& present(MainWindowShell* mainWindow) {
    if (!mainWindow) runtime::raise(runtime::err::kObjectNotSet, "frmMain");
    return *mainWindow;
}

} // namespace

const char* swatchName(Swatch swatch) noexcept {
    const auto i = static_cast<std::size_t>(swatch);
    return i < kSwatchCount ? kNames[i] : "";
}

void controlDefaults(SwatchColours& s) {
    const int32_t scaled = PublicFuncs::ScaleColour(0x00FFFF00, 75);
    s[Swatch::SDRBackGround] = 0x00000000;
    s[Swatch::SDRFrameFocus] = 0x00FFFF00;
    s[Swatch::SDRFrameNormal] = scaled;
    s[Swatch::SDRLabel] = scaled;
    s[Swatch::SDRTuning] = 0x000000FF;
    s[Swatch::NormalScrollLabel] = scaled;
    s[Swatch::FocusScrollLabel] = 0x000000FF;
    displayDefaults(s, 0x00C0C0C0);
}

void scopeDefaults(SwatchColours& s) {
    displayDefaults(s, 0x000000C0);
}

void takeSchemeColours(InitialColourSet& initial, const SDRColourScheme& scheme) noexcept {
    initial[0] = scheme.Background;
    initial[1] = scheme.Label;
    initial[2] = scheme.Tuning;
    initial[3] = scheme.FrameNormal;
    initial[4] = scheme.FrameFocus;
    initial[5] = scheme.ScrollLabelNormal;
    initial[6] = scheme.ScrollLabelFocus;
}

void takeDisplayColours(InitialColourSet& initial, const AnalyserSettings& analyser) {
    initial[8] = analyser.ScopeBackColour();
    initial[9] = analyser.GraticuleColour();
    initial[10] = analyser.Y1BaseColour();
    initial[11] = analyser.Y2BaseColour();
    initial[12] = analyser.FilterCurveColour();
    initial[13] = analyser.NotchFilterColour();
    initial[14] = analyser.XTextColour();
    initial[15] = analyser.YTextColour();
}

void putSchemeColours(SDRColourScheme& scheme, const SwatchColours& s) {
    scheme.Background = s[Swatch::SDRBackGround];
    scheme.Label = s[Swatch::SDRLabel];
    scheme.Tuning = s[Swatch::SDRTuning];
    scheme.ScrollLabelNormal = s[Swatch::NormalScrollLabel];
    scheme.ScrollLabelFocus = s[Swatch::FocusScrollLabel];
    scheme.FrameNormal = s[Swatch::SDRFrameNormal];
    scheme.FrameFocus = s[Swatch::SDRFrameFocus];
}

void ColourPreview::Press(const SwatchColours& s) {
    putSchemeColours(state_.SDRColourSchemes, s);

    StatementGuard guard("frmConfig.cmdSDRPreviewColours_MouseDown");
    pressedY1_.reset();
    pressedY2_.reset();
    guard("Y1Colour", [&] { pressedY1_ = present(analyser_).Y1Colour(); });
    guard("Y2Colour", [&] { pressedY2_ = present(analyser_).Y2Colour(); });
    guard("ScopeBackColour", [&] { present(analyser_).setScopeBackColour(s[Swatch::ScopeBack]); });
    guard("GraticuleColour", [&] { present(analyser_).setGraticuleColour(s[Swatch::ScopeGraticule]); });
    guard("Y1BaseColour", [&] { present(analyser_).setY1BaseColour(s[Swatch::ScopeY1]); });
    guard("Y2BaseColour", [&] { present(analyser_).setY2BaseColour(s[Swatch::ScopeY2]); });
    guard("ControlColourFocused",
          [&] { present(analyser_).setControlColourFocused(s[Swatch::FocusScrollLabel]); });
    guard("ControlColourNormal",
          [&] { present(analyser_).setControlColourNormal(s[Swatch::NormalScrollLabel]); });
    guard("NotchFilterColour", [&] { present(analyser_).setNotchFilterColour(s[Swatch::ScopeNotchFilter]); });
    guard("FilterCurveColour", [&] { present(analyser_).setFilterCurveColour(s[Swatch::ScopeFilterCurve]); });
    guard("XTextColour", [&] { present(analyser_).setXTextColour(s[Swatch::ScopeXText]); });
    guard("YTextColour", [&] { present(analyser_).setYTextColour(s[Swatch::ScopeYText]); });
    guard("SetChannelBrightness(0)", [&] { present(analyser_).SetChannelBrightness(0, 100); });
    guard("SetChannelBrightness(1)", [&] { present(analyser_).SetChannelBrightness(1, 100); });

    guard("BackColor", [&] { present(mainWindow_).setBackColor(state_.SDRColourSchemes.Background); });
    guard("ReColour", [&] { present(mainWindow_).ReColour(); });
    guard("DarkenControls", [&] { present(mainWindow_).DarkenControls(); });
    guard("UnFocusFrames", [&] { present(mainWindow_).UnFocusFrames(); });
}

void ColourPreview::Release(const InitialColourSet& initial) {
    SDRColourScheme& scheme = state_.SDRColourSchemes;
    scheme.Background = initial[0];
    scheme.Label = initial[1];
    scheme.Tuning = initial[2];
    scheme.FrameNormal = initial[3];
    scheme.FrameFocus = initial[4];
    scheme.ScrollLabelNormal = initial[5];
    scheme.ScrollLabelFocus = initial[6];

    StatementGuard guard("frmConfig.cmdSDRPreviewColours_MouseUp");
    guard("ScopeBackColour", [&] { present(analyser_).setScopeBackColour(initial[8]); });
    guard("GraticuleColour", [&] { present(analyser_).setGraticuleColour(initial[9]); });
    guard("Y1BaseColour", [&] { present(analyser_).setY1BaseColour(initial[10]); });
    guard("Y2BaseColour", [&] { present(analyser_).setY2BaseColour(initial[11]); });
    guard("FilterCurveColour", [&] { present(analyser_).setFilterCurveColour(initial[12]); });
    guard("NotchFilterColour", [&] { present(analyser_).setNotchFilterColour(initial[13]); });
    guard("XTextColour", [&] { present(analyser_).setXTextColour(initial[14]); });
    guard("YTextColour", [&] { present(analyser_).setYTextColour(initial[15]); });
    guard("ControlColourFocused", [&] { present(analyser_).setControlColourFocused(initial[6]); });
    guard("ControlColourNormal", [&] { present(analyser_).setControlColourNormal(initial[5]); });
    if (pressedY1_) guard("Y1Colour", [&] { present(analyser_).setY1Colour(*pressedY1_); });
    if (pressedY2_) guard("Y2Colour", [&] { present(analyser_).setY2Colour(*pressedY2_); });
    pressedY1_.reset();
    pressedY2_.reset();

    guard("BackColor", [&] { present(mainWindow_).setBackColor(scheme.Background); });
    guard("ReColour", [&] { present(mainWindow_).ReColour(); });
    guard("DarkenControls", [&] { present(mainWindow_).DarkenControls(); });
    guard("UnFocusFrames", [&] { present(mainWindow_).UnFocusFrames(); });
}

} // namespace config
