// The window's highlight over the front panel's own knob table.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "mainwindow/PanelKnobLabels.h"

namespace {

struct Label final : frontpanel::KnobLabel {
    int32_t colour = -1;
    bool border = false;
    void setCaption(const std::string&) override {}
    void setForeColor(int32_t bgr) override { colour = bgr; }
    void setBorder(bool single) override { border = single; }
};

struct Rig {
    Rig() {
        state.SDRColourSchemes.ScrollLabelNormal = 0x111111;
        state.SDRColourSchemes.ScrollLabelFocus = 0x222222;
        state.SDRColourSchemes.Tuning = 0x00FFFF;
        state.HiLiteBorder = true;
        for (int16_t k = 2; k < kKnobCount; ++k)
            ctlArray[static_cast<size_t>(k)].Label = &labels[static_cast<size_t>(k)];
        highlight.RecolourKnobs();
    }
    ReceiverState state;
    CtlArray ctlArray{};
    std::array<Label, kKnobCount> labels{};
    mainwindow::PanelKnobLabels knobs{ctlArray};
    int focus = 0;
    mainwindow::KnobHighlight highlight{state, knobs, [this] { ++focus; }};
};

} // namespace

TEST(PanelKnobLabels, TheHighlightMarksAndUnmarksTheTablesLabels) {
    Rig r;
    EXPECT_EQ(r.ctlArray[5].NormalColour, 0x111111);
    EXPECT_EQ(r.ctlArray[1].FocusColour, 0x00FFFF); // the readout knob takes the tuning colours
    int16_t k = 5;
    r.highlight.HighlightValueLabel(k);
    EXPECT_EQ(r.state.ActiveKnob, 5);
    EXPECT_EQ(r.labels[5].colour, 0x222222);
    EXPECT_TRUE(r.labels[5].border);
    r.ctlArray[12].Disabled = true;
    k = 12;
    r.highlight.HighlightValueLabel(k);
    EXPECT_EQ(r.state.ActiveKnob, 5);
    r.highlight.UnhighlightValueLabel();
    EXPECT_EQ(r.labels[5].colour, 0x111111);
    EXPECT_FALSE(r.labels[5].border);
    k = 1; // the readout has no label of its own: active, nothing painted
    r.highlight.HighlightValueLabel(k);
    EXPECT_EQ(r.state.ActiveKnob, 1);
    EXPECT_EQ(r.focus, 2);
}
