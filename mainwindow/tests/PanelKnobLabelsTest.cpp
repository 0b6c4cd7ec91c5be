// The window's highlight over the front panel's own knob table.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "mainwindow/PanelKnobLabels.h"
#include "mainwindow/PanelKnobValues.h"

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

TEST(PanelKnobValues, TheDialogWritesTheTablesRecordsAndRunsTheBfoKnobsRoutineOnThem) {
    CtlArray ctlArray{};
    struct Bfo final : BfoKnob {
        CtlArray* table = nullptr;
        float seen = -1;
        void setBfoValue(float) override {}
        // As the routine does: it takes the record's value.
        void SetBFO() override { seen = (*table)[lblBFOIndex].Value; }
    } bfo;
    bfo.table = &ctlArray;
    ctlArray[lblBFOIndex].Value = 450;
    mainwindow::PanelKnobValues knobs{ctlArray, bfo};
    knobs.setValue(lblBFOIndex, 0);
    knobs.SetBFO();
    EXPECT_EQ(bfo.seen, 0.0f);
    knobs.setDefault(lblSpectrumSmoothIndex, 12);
    knobs.setNormalColour(lblY1BrightIndex, 0x123456);
    knobs.setFocusColour(lblY1BrightIndex, 0x654321);
    EXPECT_EQ(ctlArray[lblSpectrumSmoothIndex].Default, 12.0f);
    EXPECT_EQ(ctlArray[lblSpectrumSmoothIndex].Value, 0.0f);
    EXPECT_EQ(ctlArray[lblY1BrightIndex].NormalColour, 0x123456);
    EXPECT_EQ(ctlArray[lblY1BrightIndex].FocusColour, 0x654321);
    EXPECT_EQ(knobs.Value(lblBFOIndex), 0.0f);
    EXPECT_THROW(knobs.setValue(kKnobCount, 1), runtime::RuntimeError);
}
