// The "Controls" tab's colours: the two Defaults tables, and the preview, which shows the swatches on the
// live window and display between press and release and puts back exactly what was there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ColourScheme.h"
#include "config/tests/ApplyFakes.h"

using namespace applytest;
using config::Swatch;

namespace {

config::SwatchColours filled(int32_t colour) {
    config::SwatchColours s;
    s.colours.fill(colour);
    return s;
}

} // namespace

TEST(ColourScheme, TheControlsTabDefaultsSetEverySwatchAndTheDisplayTabsOnlyTheDisplays) {
    config::SwatchColours controls = filled(0x123456);
    config::controlDefaults(controls);
    // 0x00FFFF00 at 75 %: each 0xFF byte becomes 0xBF.
    const std::array<int32_t, config::kSwatchCount> expected{
        0x000000, 0xFFFF00, 0xBFBF00, 0xBFBF00, 0x0000FF, 0xBFBF00, 0x0000FF, 0x000000,
        0x007F00, 0x00FF00, 0x00FFFF, 0xC0FF60, 0xC0C0C0, 0xFFFF00, 0xFF7F00};
    EXPECT_EQ(controls.colours, expected);

    config::SwatchColours display = filled(0x123456);
    config::scopeDefaults(display);
    for (std::size_t i = 0; i < config::kSwatchCount; ++i) {
        const auto s = static_cast<Swatch>(i);
        if (i < static_cast<std::size_t>(Swatch::ScopeBack))
            EXPECT_EQ(display[s], 0x123456) << config::swatchName(s);
        else if (s == Swatch::ScopeFilterCurve)
            EXPECT_EQ(display[s], 0x0000C0); // a dark red, not the other button's grey
        else
            EXPECT_EQ(display[s], expected[i]) << config::swatchName(s);
    }
}

TEST(ColourScheme, APreviewShowsTheSwatchesWhileHeldAndPutsBackExactlyWhatWasThere) {
    Log log;
    ReceiverState state;
    state.SDRColourSchemes = {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606, 0x070707};
    LogAnalyser analyser(log);
    LogShell shell(log);
    const SDRColourScheme schemeBefore = state.SDRColourSchemes;
    const LogAnalyser before = analyser;
    config::InitialColourSet initial{};
    config::takeSchemeColours(initial, state.SDRColourSchemes);
    config::takeDisplayColours(initial, analyser);

    config::SwatchColours swatches;
    for (std::size_t i = 0; i < config::kSwatchCount; ++i)
        swatches.colours[i] = 0x100000 + static_cast<int32_t>(i);
    config::ColourPreview preview(state, &analyser, &shell);
    preview.Press(swatches);
    EXPECT_EQ(state.SDRColourSchemes.Background, swatches[Swatch::SDRBackGround]);
    EXPECT_EQ(state.SDRColourSchemes.FrameNormal, swatches[Swatch::SDRFrameNormal]);
    EXPECT_EQ(state.SDRColourSchemes.ScrollLabelFocus, swatches[Swatch::FocusScrollLabel]);
    EXPECT_EQ(analyser.NotchFilterColour(), swatches[Swatch::ScopeNotchFilter]);
    EXPECT_EQ(analyser.ControlColourNormal(), swatches[Swatch::NormalScrollLabel]);
    // Both traces in their new base colours at full brightness.
    EXPECT_EQ(analyser.Y1Colour(), swatches[Swatch::ScopeY1]);
    EXPECT_EQ(analyser.Y2Colour(), swatches[Swatch::ScopeY2]);
    EXPECT_TRUE(
        inOrder(log, {"Analyser.ScopeBackColour=" + std::to_string(swatches[Swatch::ScopeBack]),
                      "Analyser.FilterCurveColour=" + std::to_string(swatches[Swatch::ScopeFilterCurve]),
                      "Analyser.SetChannelBrightness(0,100)", "Analyser.SetChannelBrightness(1,100)",
                      "frmMain.BackColor=" + std::to_string(swatches[Swatch::SDRBackGround]),
                      "frmMain.ReColour", "frmMain.DarkenControls", "frmMain.UnFocusFrames"}));

    log.clear();
    preview.Release(initial);
    EXPECT_EQ(state.SDRColourSchemes.Background, schemeBefore.Background);
    EXPECT_EQ(state.SDRColourSchemes.Label, schemeBefore.Label);
    EXPECT_EQ(state.SDRColourSchemes.FrameFocus, schemeBefore.FrameFocus);
    EXPECT_EQ(state.SDRColourSchemes.FrameNormal, schemeBefore.FrameNormal);
    EXPECT_EQ(state.SDRColourSchemes.Tuning, schemeBefore.Tuning);
    EXPECT_EQ(state.SDRColourSchemes.ScrollLabelNormal, schemeBefore.ScrollLabelNormal);
    EXPECT_EQ(state.SDRColourSchemes.ScrollLabelFocus, schemeBefore.ScrollLabelFocus);
    EXPECT_EQ(analyser.colours, before.colours);
    // The traces as the brightness knobs had left them, not the full-brightness preview.
    EXPECT_EQ(analyser.Y1Colour(), before.y1);
    EXPECT_EQ(analyser.Y2Colour(), before.y2);
    // The display's knob labels take the kept knob-label colours.
    EXPECT_EQ(analyser.ControlColourFocused(), schemeBefore.ScrollLabelFocus);
    EXPECT_EQ(analyser.ControlColourNormal(), schemeBefore.ScrollLabelNormal);
    EXPECT_TRUE(inOrder(log, {"frmMain.BackColor=" + std::to_string(schemeBefore.Background),
                              "frmMain.ReColour", "frmMain.DarkenControls", "frmMain.UnFocusFrames"}));
}

TEST(ColourScheme, APreviewWithoutAnalyserOrMainWindowStillPreviewsTheScheme) {
    ReceiverState state;
    std::vector<std::string> trace;
    runtime::ScopedHooks hooks{runtime::Hooks{{}, [&](const std::string& l) { trace.push_back(l); }, {}}};
    config::ColourPreview preview(state, nullptr, nullptr);
    config::InitialColourSet initial{};
    initial[0] = 0x0A0A0A;
    preview.Press(filled(0x777777));
    EXPECT_EQ(state.SDRColourSchemes.Tuning, 0x777777);
    preview.Release(initial);
    EXPECT_EQ(state.SDRColourSchemes.Background, 0x0A0A0A);
    EXPECT_FALSE(trace.empty());
    for (const auto& line : trace)
        EXPECT_NE(line.find(" skipped: Code=91"), std::string::npos) << line;
}
