// The start-up steps that set the receiver's controls up, and the controls' own rules: a value set from
// code runs the handler on a change only, a refused choice puts the group back, a slider or dial set
// beyond its range shows its end without its handler.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "frontpanel/ControlsStartUp.h"
#include "frontpanel/PanelControls.h"
#include "frontpanel/tests/PanelRig.h"
#include "radio/Oscillator.h"

namespace {

namespace startup = frontpanel::startup;

TEST(PanelControls, ValuesFromCodeRunTheHandlerOnARealChangeOnly) {
    frontpanel::PanelCheckBox box{"On"};
    frontpanel::PanelOptionGroup group{{"a", ""}, {"b", ""}, {"c", ""}};
    frontpanel::PanelSlider slider{0, 100, 50};
    frontpanel::PanelDial dial;
    std::vector<std::string> runs;
    box.Click = [&] { runs.push_back("box " + std::to_string(box.Value())); };
    group.Click = [&](int16_t i) { runs.push_back("group " + std::to_string(i)); };
    slider.Change = [&] { runs.push_back("slider " + std::to_string(slider.Value())); };
    dial.Change = [&] { runs.push_back("dial " + std::to_string(dial.Value())); };
    dial.setLimits(100, -100); // either order

    box.setValue(0);
    box.setValue(1);
    box.setValue(1);
    group.setValue(1, true);
    group.setValue(1, true);
    group.setValue(2, false); // not the selected one: nothing
    group.setValue(2, true);  // the old one is cleared without its handler
    group.setValue(2, false);
    slider.setValue(50);
    slider.setValue(70);
    slider.setValue(250); // beyond the range: the end, and no handler
    slider.setMax(60);    // the position no longer fits: the new end, with the handler
    dial.setValue(-40);
    dial.setValue(-400);
    EXPECT_EQ(runs, (std::vector<std::string>{"box 1", "group 1", "group 2", "slider 70", "slider 60",
                                              "dial -40"}));
    EXPECT_EQ(group.Selected(), -1);
    EXPECT_EQ(slider.Value(), 60);
    EXPECT_EQ(dial.Value(), -100);
    EXPECT_EQ(slider.inverted(10), 50);

    EXPECT_THROW(box.setValue(3), runtime::RuntimeError);
    EXPECT_THROW(group.setValue(3, true), runtime::RuntimeError);
    EXPECT_THROW(group[-1], runtime::RuntimeError);
    EXPECT_EQ(box.Value(), 1);
}

struct StartUp : paneltest::PanelRig {
    std::vector<std::string> trace;
    StartUp() { core->knobs.FillKnobTable(core->levels.twinSetUp()); }
    startup::Trace tracer() {
        return [this](const char* t) { trace.push_back(t); };
    }
};

TEST(ControlsStartUp, TheAgcSlidersAndTheDefaultTablesInTheirOrder) {
    StartUp r;
    startup::InitialiseAgcSliders(*r.core, r.tracer());
    const frontpanel::LevelControls& l = r.core->levels;
    // A tenth of the range between ticks, rounded half to even: 4.5 gives 4, 9.5 gives 10.
    EXPECT_EQ(l.sldAGCAttack.TickFrequency(), 4);
    EXPECT_EQ(l.sldAGCAttack.LargeChange(), 4);
    EXPECT_EQ(l.sldAGCAttack.SmallChange(), 2);
    EXPECT_EQ(l.sldAGCDecay.TickFrequency(), 19);
    EXPECT_EQ(l.sldAGCDecay.SmallChange(), 10);
    EXPECT_EQ(l.sldAGCAttack.Value(), 50); // 100 lies beyond the range
    EXPECT_EQ(l.sldAGCDecay.Value(), 40);
    EXPECT_EQ(r.state().AgcDecayMs, 4);

    startup::SelectFastAgc(*r.core);
    EXPECT_EQ(r.state().AGCMode, 1);
    EXPECT_FALSE(r.state().AGCOn);
    startup::FillDefaultTables(*r.core, r.tracer());
    const std::vector<std::string> expected = {":Initialising sldAGCAttack",
                                               ":Initialising sldAGCDecay",
                                               ":Initialising Variable Filter Default Values (0)",
                                               ":Initialising Variable Filter Default Values (1)",
                                               ":Initialising Variable Filter Default Values (2)",
                                               ":Initialising Variable Filter Default Values (3)",
                                               ":Initialising Variable Filter Default Values (4)",
                                               ":Initialising Variable AGC Default Values (1)",
                                               ":Initialising Variable AGC Default Values (2)",
                                               ":Initialising Variable AGC Default Values (3)",
                                               ":Initialising Variable IF Filter Default Values (0)",
                                               ":Initialising NotchFilter Default Values"};
    EXPECT_EQ(r.trace, expected);
    const int32_t rows[4][2] = {{0, 0}, {25, 50}, {50, 100}, {100, 200}};
    for (size_t row = 0; row < 4; ++row) {
        const frontpanel::AgcPreset& p = r.tables.AgcPresetRow[row];
        EXPECT_EQ(p.AttackDefault, rows[row][0]) << row;
        EXPECT_EQ(p.DecayDefault, rows[row][1]) << row;
        EXPECT_EQ(p.AttackCopy, p.AttackDefault);
    }
    EXPECT_EQ(r.core->levels.optAGC.Selected(), 1);
    EXPECT_TRUE(r.knob(kAGCAttackKnob).Disabled);
    EXPECT_EQ(r.state().IFFilterMode, 2);
    EXPECT_EQ(r.core->filterControls.optIFFilter.Selected(), 2);
    EXPECT_FALSE(r.state().IFFilterActive);
    EXPECT_EQ(r.tables.IfFilterTable[1][1].Hi, 6000);
    EXPECT_EQ(r.state().NotchWidth, 200);
    EXPECT_EQ(r.state().NotchCentre, 1000);
    EXPECT_EQ(r.state().NotchBuiltCentre, 1000);
}

TEST(ControlsStartUp, TheRestoredStateShowsOnTheControls) {
    StartUp r;
    startup::FillDefaultTables(*r.core);
    ReceiverState& st = r.state();
    st.MuteAf = true;
    st.NBOn = true;
    st.FlipIQ = true;
    st.NotchActive = true;
    st.NotchType = 1;
    st.NotchMode = 0;
    st.IFFilterActive = true;
    st.IFFilterMode = 1;
    st.DemodMode = 2;
    r.vfoObject.setHiSideLo(false);
    startup::ShowChannelSwap(*r.core);
    startup::ShowMuteLoSideAndNoiseReduction(*r.core, r.vfoObject.HiSideLo());
    startup::ShowNotchAndIfFilter(*r.core);
    startup::CaptionFilterButtons(*r.core);

    EXPECT_EQ(r.core->switches.chkFlipIQ.Value(), 1);
    EXPECT_EQ(r.core->levels.chkMute.Value(), 1);
    EXPECT_EQ(r.core->levels.chkMute.ForeColor(), frontpanel::kChosenColour);
    EXPECT_EQ(r.core->switches.chkTuneLo.Value(), 1);
    EXPECT_FALSE(st.HiSideLoActive);
    EXPECT_TRUE(r.core->levels.dialNB.Visible());
    EXPECT_EQ(r.core->levels.chkNotchOn.Value(), 1);
    EXPECT_EQ(r.core->levels.chkNotchType.Value(), 1);
    EXPECT_EQ(r.core->levels.optNotch.Selected(), 0);
    EXPECT_TRUE(r.filters.NotchFilter.Active);
    EXPECT_TRUE(r.notchDisplay.shown);
    EXPECT_EQ(r.knob(kNotchCKnob).Min, -6000);
    EXPECT_EQ(r.core->filterControls.optIFFilter.Selected(), 1);
    EXPECT_EQ(r.core->filterControls.chkIFFilter.Value(), 1);
    EXPECT_EQ(r.knob(kIFHiKnob).Value, 0); // the LSB row of Man: 0 / 6000
    EXPECT_EQ(r.knob(kIFLoKnob).Value, 6000);
    EXPECT_EQ(r.label(kIFLoKnob).caption, "6000");
    EXPECT_EQ(r.core->filterControls.optFilter[2].Caption(), "2.0 kHz");
    EXPECT_EQ(r.core->filterControls.optFilter[3].Caption(), "3.0 kHz");
}

TEST(ControlsStartUp, TheRecordingFormatFromTheRecordersSettings) {
    struct Case {
        int32_t bits, decimator;
        int16_t width, rate;
    };
    for (const Case c :
         {Case{16, 0, 0, 0}, Case{16, 17, 0, 0}, Case{8, 3, 1, 2}, Case{12, 6, 0, 3}, Case{16, 16, 0, 4}}) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, decimator " << c.decimator);
        StartUp r;
        startup::ShowRecordingFormat(*r.core, c.bits, c.decimator);
        EXPECT_EQ(r.core->switches.optRecordSamplePerBit.Selected(), c.width);
        EXPECT_EQ(r.core->switches.optRecordSampleRate.Selected(), c.rate);
        EXPECT_EQ(r.recorder.decimator, 1 << c.rate);
    }
}

// An oscillator whose base frequency is all the start-up reads of it.
struct BaseOnly final : Oscillator {
    int32_t base = 0;
    int32_t BaseFrequency() const override { return base; }
    void setFreqScaling(double) override {}
    std::string_view className() const override { return "BaseOnly"; }
};

// A restart keeps the receiver: the tuning saved stays, and the box shows the side the I/Q chain takes for
// it at its first block (the upper side from the base up).
TEST(ControlsStartUp, TheUpperSideBoxShowsTheChainsSideAndTheTuningIsKept) {
    enum class Osc { Present, Absent };
    struct Case {
        const char* what;
        bool vfoControl;
        Osc osc;
        int32_t tuned; // 0.1 Hz; the base is 28 220 000 Hz over 4, 7 055 000 Hz
        bool ticked;
    };
    const Case cases[] = {
        {"below the base", false, Osc::Present, 70'430'000, false},
        {"above the base", false, Osc::Present, 70'560'000, true},
        {"on the base", false, Osc::Present, 70'550'000, true},
        {"under VFO control", true, Osc::Present, 70'560'000, false},
        {"without an oscillator", false, Osc::Absent, 70'560'000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartUp r;
        BaseOnly osc;
        osc.base = 28'220'000;
        r.vfoObject.setTunedFrequency(c.tuned);
        if (c.osc == Osc::Present) {
            r.vfoObject.setOscType(&osc);
            r.vfoObject.setOscMultiplier(4);
        }
        r.state().VFOControl = c.vfoControl;
        r.state().IQMode = true;
        startup::ResetUpperSideBox(*r.core);
        startup::CheckUpperSide(*r.core);
        EXPECT_EQ(r.core->switches.chkIQSelectUpper.Value(), c.ticked ? 1 : 0);
        EXPECT_EQ(r.state().IQSelectUpper, c.ticked);
        EXPECT_EQ(r.vfoObject.TunedFrequency(), c.tuned);
        r.vfoObject.setOscType(nullptr);
    }
}

} // namespace
