// The "Controls" tab's colours: defaults, the kept colours and the preview.
#include "config/ColourScheme.h"

#include "frame/PublicFuncs.h"
#include "platform/runtime/RuntimeError.h"

namespace config {

namespace {

using runtime::resumeNext;

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

    runtime::SkipLog log("frmConfig.cmdSDRPreviewColours_MouseDown");
    pressedY1_.reset();
    pressedY2_.reset();
    resumeNext([&] { pressedY1_ = present(analyser_).Y1Colour(); }, log, "Y1Colour");
    resumeNext([&] { pressedY2_ = present(analyser_).Y2Colour(); }, log, "Y2Colour");
    resumeNext([&] { present(analyser_).setScopeBackColour(s[Swatch::ScopeBack]); }, log, "ScopeBackColour");
    resumeNext([&] { present(analyser_).setGraticuleColour(s[Swatch::ScopeGraticule]); }, log,
               "GraticuleColour");
    resumeNext([&] { present(analyser_).setY1BaseColour(s[Swatch::ScopeY1]); }, log, "Y1BaseColour");
    resumeNext([&] { present(analyser_).setY2BaseColour(s[Swatch::ScopeY2]); }, log, "Y2BaseColour");
    resumeNext([&] { present(analyser_).setControlColourFocused(s[Swatch::FocusScrollLabel]); }, log,
               "ControlColourFocused");
    resumeNext([&] { present(analyser_).setControlColourNormal(s[Swatch::NormalScrollLabel]); }, log,
               "ControlColourNormal");
    resumeNext([&] { present(analyser_).setNotchFilterColour(s[Swatch::ScopeNotchFilter]); }, log,
               "NotchFilterColour");
    resumeNext([&] { present(analyser_).setFilterCurveColour(s[Swatch::ScopeFilterCurve]); }, log,
               "FilterCurveColour");
    resumeNext([&] { present(analyser_).setXTextColour(s[Swatch::ScopeXText]); }, log, "XTextColour");
    resumeNext([&] { present(analyser_).setYTextColour(s[Swatch::ScopeYText]); }, log, "YTextColour");
    resumeNext([&] { present(analyser_).SetChannelBrightness(0, 100); }, log, "SetChannelBrightness(0)");
    resumeNext([&] { present(analyser_).SetChannelBrightness(1, 100); }, log, "SetChannelBrightness(1)");

    resumeNext([&] { present(mainWindow_).setBackColor(state_.SDRColourSchemes.Background); }, log,
               "BackColor");
    resumeNext([&] { present(mainWindow_).ReColour(); }, log, "ReColour");
    resumeNext([&] { present(mainWindow_).DarkenControls(); }, log, "DarkenControls");
    resumeNext([&] { present(mainWindow_).UnFocusFrames(); }, log, "UnFocusFrames");
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

    runtime::SkipLog log("frmConfig.cmdSDRPreviewColours_MouseUp");
    resumeNext([&] { present(analyser_).setScopeBackColour(initial[8]); }, log, "ScopeBackColour");
    resumeNext([&] { present(analyser_).setGraticuleColour(initial[9]); }, log, "GraticuleColour");
    resumeNext([&] { present(analyser_).setY1BaseColour(initial[10]); }, log, "Y1BaseColour");
    resumeNext([&] { present(analyser_).setY2BaseColour(initial[11]); }, log, "Y2BaseColour");
    resumeNext([&] { present(analyser_).setFilterCurveColour(initial[12]); }, log, "FilterCurveColour");
    resumeNext([&] { present(analyser_).setNotchFilterColour(initial[13]); }, log, "NotchFilterColour");
    resumeNext([&] { present(analyser_).setXTextColour(initial[14]); }, log, "XTextColour");
    resumeNext([&] { present(analyser_).setYTextColour(initial[15]); }, log, "YTextColour");
    resumeNext([&] { present(analyser_).setControlColourFocused(initial[6]); }, log, "ControlColourFocused");
    resumeNext([&] { present(analyser_).setControlColourNormal(initial[5]); }, log, "ControlColourNormal");
    if (pressedY1_) resumeNext([&] { present(analyser_).setY1Colour(*pressedY1_); }, log, "Y1Colour");
    if (pressedY2_) resumeNext([&] { present(analyser_).setY2Colour(*pressedY2_); }, log, "Y2Colour");
    pressedY1_.reset();
    pressedY2_.reset();

    resumeNext([&] { present(mainWindow_).setBackColor(scheme.Background); }, log, "BackColor");
    resumeNext([&] { present(mainWindow_).ReColour(); }, log, "ReColour");
    resumeNext([&] { present(mainWindow_).DarkenControls(); }, log, "DarkenControls");
    resumeNext([&] { present(mainWindow_).UnFocusFrames(); }, log, "UnFocusFrames");
}

} // namespace config
