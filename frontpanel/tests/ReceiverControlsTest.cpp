// The receiver's controls in the front panel's core, without widgets: the mode with the sound card's
// hand-over to the DRM decoder, the filter presets, sliders and IF filter, the AGC, noise-reduction,
// notch and volume controls, the LO-side and recording switches, each as a user's clicks run them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "dsp/testing/ChainFixture.h"
#include "frontpanel/ControlsStartUp.h"
#include "frontpanel/tests/PanelRig.h"
#include "platform/runtime/Hooks.h"

namespace {

using paneltest::PanelRig;
using Calls = std::vector<std::string>;

constexpr int16_t kAM = 0, kUSB = 1, kLSB = 2, kDRM = 3;

// The core as the main window's start-up leaves it: the knob table with the twins, the tables and the
// restored state shown, the AGC on, a preset and a mode chosen.
struct Started : PanelRig {
    Started() {
        namespace s = frontpanel::startup;
        state().HiSideLoActive = vfoObject.HiSideLo(); // the start-up takes the LO side from the VFO
        core->knobs.FillKnobTable(core->levels.twinSetUp());
        s::InitialiseAgcSliders(*core);
        s::SelectFastAgc(*core);
        s::FillDefaultTables(*core);
        s::ShowMuteLoSideAndNoiseReduction(*core, true);
        s::ShowNotchAndIfFilter(*core);
        levels().chkAGC.setValue(1);
        filterControls().optFilter.setValue(2, true);
        modes().optMode.setValue(kAM, true);
        receiver.calls.clear();
    }
    frontpanel::FilterControls& filterControls() { return core->filterControls; }
    frontpanel::ModeControls& modes() { return core->modes; }
    frontpanel::LevelControls& levels() { return core->levels; }
    frontpanel::ReceiverSwitches& switches() { return core->switches; }
    // The housekeeping timer's deferred rebuild, as the main window runs it after each played block.
    void housekeepingTick() {
        if (!state().FiltersDirty) return;
        core->setup->MakeFilters();
        state().FiltersDirty = false;
    }
};

struct Message {
    std::string prompt, title;
};

struct MessageHooks {
    std::vector<Message> shown;
    runtime::ScopedHooks hooks{{.doEvents = [] {},
                                .addLog = {},
                                .msgBox =
                                    [this](const std::string& p, int32_t, const std::string& t) {
                                        shown.push_back({p, t});
                                        return runtime::mb::kOk;
                                    }}};
};

// ---- Mode

TEST(ModeControls, TheSoundCardGoesToTheDecoderAndComesBackAsTheOptionsSay) {
    for (int bits = 0; bits < 16; ++bits) {
        const bool prepared = bits & 1, closeCard = bits & 2, power = bits & 4, closeDecoder = bits & 8;
        SCOPED_TRACE(testing::Message() << "prepared " << prepared << " CloseSoundcardOnDRM " << closeCard
                                        << " power " << power << " DreamCloseOnModeChange " << closeDecoder);
        Started r;
        r.receiver.prepared = prepared;
        r.receiver.power = power;
        r.state().DRM.CloseSoundcardOnDRM = closeCard;
        r.state().DRM.DreamCloseOnModeChange = closeDecoder;

        r.modes().optMode.setValue(kDRM, true);
        Calls entering;
        if (prepared && closeCard) entering = {"StopSound", "ReleaseDevices"};
        entering.push_back("RunDREAM");
        EXPECT_EQ(r.receiver.calls, entering);
        EXPECT_EQ(r.state().DemodMode, kDRM);

        r.receiver.calls.clear();
        r.modes().optMode.setValue(kUSB, true);
        Calls leaving;
        const bool stillPrepared = prepared && !closeCard;
        if (power && !stillPrepared) leaving.push_back("StartSound");
        if (closeDecoder) leaving.push_back("CloseProcessWindows");
        EXPECT_EQ(r.receiver.calls, leaving);
        EXPECT_EQ(r.state().DemodMode, kUSB);
    }
}

TEST(ModeControls, ChoosingTheModeInForceAgainTouchesNeitherSoundCardNorDecoder) {
    Started r;
    r.modes().optMode.setValue(kDRM, true);
    r.receiver.calls.clear();
    r.state().FiltersDirty = false;
    // The preset apply selects the button, then runs the handler by name.
    r.modes().optMode.setValue(kDRM, true);
    r.modes().optMode_Click(kDRM);
    EXPECT_TRUE(r.receiver.calls.empty());
    EXPECT_TRUE(r.state().FiltersDirty);
    EXPECT_FALSE(r.filters.DemodAfFilter.Active);
    for (int16_t i = 0; i < 8; ++i)
        EXPECT_EQ(r.modes().optMode[i].ForeColor(),
                  i == kDRM ? frontpanel::kChosenColour : frontpanel::kOtherColour);
}

// A user's click on another mode while the handler pumps messages selects that button and is refused;
// when the handler ends, the button of the mode in force is selected again, in the chosen colour.
TEST(ModeControls, AClickRefusedWhileTheHandlerPumpsLeavesTheModeInForceSelected) {
    const struct Case {
        const char* where;
        int16_t from, to;
        bool duringRunDream; // else in the handler's own message loop
    } cases[] = {{"the decoder's start", kAM, kDRM, true},
                 {"the handler's own pump, entering DRM", kAM, kDRM, false},
                 {"the handler's own pump, leaving DRM", kDRM, kUSB, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        Started r;
        r.modes().optMode.setValue(c.from, true);
        bool clicked = false;
        const auto clickLsb = [&] {
            if (clicked) return;
            clicked = true;
            r.modes().optMode.setValue(kLSB, true);
        };
        if (c.duringRunDream) r.receiver.duringRunDream = clickLsb;
        const runtime::ScopedHooks hooks(
            {.doEvents = c.duringRunDream ? std::function<void()>([] {}) : clickLsb});
        r.modes().optMode.setValue(c.to, true);
        ASSERT_TRUE(clicked);
        EXPECT_EQ(r.state().DemodMode, c.to);
        EXPECT_EQ(r.modes().optMode.Selected(), c.to);
        for (int16_t i = 0; i < 8; ++i)
            EXPECT_EQ(r.modes().optMode[i].ForeColor(),
                      i == c.to ? frontpanel::kChosenColour : frontpanel::kOtherColour);
    }
}

TEST(ModeControls, LeavingDrmPutsThePresetsEdgesBackAfterTheSlidersWereDragged) {
    Started r;
    r.modes().optMode.setValue(kDRM, true);
    r.filterControls().sldBW(0).setValue(1999 - 700);
    r.filterControls().sldBW(1).setValue(5000 - 4100);
    ASSERT_EQ(r.state().FilterLo, 700);
    ASSERT_EQ(r.state().FilterHi, 4100);
    r.modes().optMode.setValue(kLSB, true);
    EXPECT_EQ(r.state().FilterLo, 300);
    EXPECT_EQ(r.state().FilterHi, 2300);
    EXPECT_EQ(r.filterControls().sldBW(0).Value(), 1999 - 300);
    EXPECT_EQ(r.filterControls().sldBW(1).Value(), 5000 - 2300);
}

TEST(ModeControls, AFailingHandOverIsReportedOnceAndTheModeStillSwitchesWhole) {
    MessageHooks messages;
    Started r;
    r.receiver.releaseThrows = true;
    r.state().DRM.CloseSoundcardOnDRM = true;
    // The handler's last step loads the IF knobs for the new mode, from the preset in Track.
    r.filterControls().chkIFFilter.setValue(1);
    r.knob(kIFHiKnob).Value = -1;
    r.modes().optMode.setValue(kDRM, true);
    EXPECT_EQ(r.knob(kIFHiKnob).Value, 2300);
    EXPECT_EQ(r.receiver.calls, (Calls{"StopSound", "ReleaseDevices", "RunDREAM"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt.rfind("frmMain:frmMain:optMode_Click:91", 0), 0u);
    EXPECT_EQ(messages.shown[0].title, "Error");
    EXPECT_EQ(r.state().DemodMode, kDRM);

    // A sound start that fails on the way back leaves the power off; the preset is back all the same,
    // and the handler answers the next click.
    messages.shown.clear();
    r.receiver.calls.clear();
    r.receiver.startThrows = true;
    r.receiver.prepared = false;
    r.state().FilterLo = 999;
    r.modes().optMode.setValue(kUSB, true);
    EXPECT_EQ(r.receiver.calls, (Calls{"StartSound"}));
    EXPECT_FALSE(r.receiver.power);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(r.state().FilterLo, 300);
    r.modes().optMode.setValue(kAM, true);
    EXPECT_EQ(r.state().DemodMode, kAM);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// ---- Filters

TEST(FilterControls, PresetAndSpecialIndexesSetTheEdgesTagsAfFilterAndSliders) {
    struct Case {
        const char* name;
        std::function<void(Started&)> act;
        int32_t mode, lo, hi;
        const char *loTag, *hiTag;
        int32_t afLow, afHigh;
    };
    const Case cases[] = {
        {"preset 2.4 kHz",
         [](Started& r) {
             r.filterControls().optFilter.setValue(3, true);
             r.filterControls().optFilter.setValue(2, true);
         },
         2, 300, 2300, "300", "2300", 500, 2100},
        {"-1: the edges in force",
         [](Started& r) {
             r.state().FilterLo = 400;
             r.state().FilterHi = 2500;
             r.filterControls().optFilter_Click(-1);
         },
         2, 400, 2500, "400", "2500", 610, 2290},
        {"-2: the Tag texts as numbers",
         [](Started& r) {
             r.filterControls().sldBW(0).Tag = "450 Hz";
             r.filterControls().sldBW(1).Tag = "2800.5";
             r.filterControls().optFilter_Click(-2);
         },
         2, 450, 2800, "450", "2800", 685, 2565},
        {"above 4: the selected row, nothing selected",
         [](Started& r) {
             r.state().FilterHi = 1234;
             r.filterControls().optFilter_Click(7);
         },
         2, 300, 2300, "300", "2300", 500, 2100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Started r;
        r.state().FiltersDirty = false;
        c.act(r);
        const ReceiverState& st = r.state();
        EXPECT_EQ(st.FilterMode, c.mode);
        EXPECT_EQ(st.FilterLo, c.lo);
        EXPECT_EQ(st.FilterHi, c.hi);
        EXPECT_EQ(st.FilterBandwidth, c.hi - c.lo);
        EXPECT_EQ(r.filterControls().sldBW(0).Tag, c.loTag);
        EXPECT_EQ(r.filterControls().sldBW(1).Tag, c.hiTag);
        EXPECT_EQ(r.filters.AfFilter.FLow, c.afLow);
        EXPECT_EQ(r.filters.AfFilter.FHigh, c.afHigh);
        EXPECT_EQ(r.filterControls().sldBW(0).Value(), 1999 - c.lo);
        EXPECT_EQ(r.filterControls().sldBW(1).Value(), 5000 - c.hi);
        EXPECT_TRUE(st.FiltersDirty);
        for (int16_t i = 0; i < 5; ++i)
            EXPECT_EQ(r.filterControls().optFilter[i].ForeColor(),
                      i == c.mode ? frontpanel::kChosenColour : frontpanel::kOtherColour);
    }
}

TEST(FilterControls, TheSlidersShowTheEdgesTheyWereMovedTo) {
    Started r;
    frontpanel::FilterControls& f = r.filterControls();
    f.sldBW(1).setValue(5000 - 2700);
    f.sldBW(0).setValue(1999 - 1250);
    EXPECT_EQ(r.state().FilterHi, 2700);
    EXPECT_EQ(r.state().FilterLo, 1250);
    EXPECT_EQ(f.lblFHi.Caption(), "2700");
    EXPECT_EQ(f.lblFLo.Caption(), "1250");
    EXPECT_EQ(f.sldBW(1).ToolTipText(), "Fhi : 2,700 Hz");
    EXPECT_EQ(f.sldBW(0).ToolTipText(), "Flo : 1,250 Hz");
    EXPECT_EQ(r.knob(kFilterHiKnob).Value, 2700);
    EXPECT_EQ(r.label(kFilterHiKnob).caption, "2700");
    EXPECT_EQ(r.knob(kFilterLoKnob).Value, 1250);

    // A right click goes back to the preset's edge kept in the Tag, or to 50 Hz in Music.
    f.sldBW_MouseDown(0, 2);
    f.sldBW_MouseDown(1, 2);
    EXPECT_EQ(r.state().FilterLo, 300);
    EXPECT_EQ(r.state().FilterHi, 2300);
    f.chkMusic.setValue(1);
    f.sldBW(0).setValue(1999 - 900);
    f.sldBW_MouseDown(0, 2);
    EXPECT_EQ(r.state().FilterLo, 50);
    f.sldBW_MouseDown(0, 1);
    EXPECT_EQ(r.state().FilterLo, 50);
}

TEST(FilterControls, ThePointerWellInsideASliderLightsItsLabels) {
    using frontpanel::kChosenColour;
    using frontpanel::kOtherColour;
    struct Case {
        float x, y;
        int32_t colour;
    };
    // A slider 330 x 855 twips: lit only more than 50 twips inside every edge.
    for (const Case c :
         {Case{165, 400, kChosenColour}, Case{51, 51, kChosenColour}, Case{50, 400, kOtherColour},
          Case{165, 805, kOtherColour}, Case{280, 400, kOtherColour}}) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        Started r;
        frontpanel::FilterControls& f = r.filterControls();
        int focusAsked = 0;
        f.sldBW(1).Mirror = [&](frontpanel::Aspect a) { focusAsked += a == frontpanel::Aspect::Focus; };
        f.sldBW_MouseMove(1, c.x, c.y, 330, 855);
        EXPECT_EQ(focusAsked, 1);
        EXPECT_EQ(f.lblFHiDesc.ForeColor(), c.colour);
        EXPECT_EQ(f.lblFHi.ForeColor(), c.colour);
        EXPECT_EQ(f.lblFloDesc.ForeColor(), kOtherColour);
        f.sldBW_LostFocus(1);
        EXPECT_EQ(f.lblFHiDesc.ForeColor(), kOtherColour);
        EXPECT_EQ(f.lblFHi.ForeColor(), kOtherColour);
    }
}

TEST(FilterControls, AnEdgeBeyondTheSliderIsKeptAndTheSliderShowsItsEnd) {
    Started r;
    frontpanel::FilterControls& f = r.filterControls();
    f.sldBW(0).Tag = "2500";
    f.sldBW(1).Tag = "9000";
    f.optFilter_Click(-2);
    EXPECT_EQ(r.state().FilterLo, 2500);
    EXPECT_EQ(r.state().FilterHi, 9000);
    EXPECT_EQ(f.sldBW(0).Value(), 0);
    EXPECT_EQ(f.sldBW(1).Value(), 0);
    EXPECT_TRUE(r.state().FiltersDirty);
}

TEST(FilterControls, TheEdgeKnobsTakeThePresetsDefaultsByModeInTrack) {
    // The knobs' values end on the edges in force (Music and the sliders write them last); their
    // defaults, which a right click and Space restore, follow the mode.
    struct Case {
        int16_t mode;
        float hiDefault, loDefault;
    };
    for (const Case c : {Case{kUSB, 2300, 300}, Case{kLSB, -2300, -300}, Case{kAM, 2300, -2300}}) {
        SCOPED_TRACE(c.mode);
        Started r;
        r.modes().optMode.setValue(c.mode, true);
        r.knob(kIFHiKnob).Value = 4321;
        r.knob(kIFLoKnob).Value = 1234;
        r.filterControls().optFilter.setValue(3, true);
        r.filterControls().optFilter.setValue(2, true);
        EXPECT_EQ(r.knob(kFilterHiKnob).Default, c.hiDefault);
        EXPECT_EQ(r.knob(kFilterLoKnob).Default, c.loDefault);
        EXPECT_EQ(r.knob(kFilterHiKnob).Value, 2300);
        EXPECT_EQ(r.knob(kFilterLoKnob).Value, 300);
        // The IF routines store the IF knobs, not the AF ones.
        EXPECT_EQ(r.tables.IfFilterTable[2][c.mode].Hi, 4321);
        EXPECT_EQ(r.tables.IfFilterTable[2][c.mode].Lo, 1234);
    }
    // In Man the defaults are the preset's own, whatever the mode, and the IF rows stay.
    Started r;
    r.modes().optMode.setValue(kLSB, true);
    r.state().IFFilterMode = 1;
    r.filterControls().optFilter.setValue(4, true);
    EXPECT_EQ(r.knob(kFilterHiKnob).Default, 4000);
    EXPECT_EQ(r.knob(kFilterLoKnob).Default, 240);
    EXPECT_EQ(r.tables.IfFilterTable[1][kLSB].Hi, 0);
}

TEST(FilterControls, MusicHoldsTheLowEdgeAt50AndGivesThePresetsEdgeBack) {
    Started r;
    frontpanel::FilterControls& f = r.filterControls();
    f.chkMusic.setValue(1);
    EXPECT_EQ(r.state().FilterLo, 50);
    EXPECT_TRUE(r.state().MusicModeActive);
    EXPECT_EQ(r.tables.AfFilterPreset[2].SavedLo, 300);
    EXPECT_EQ(r.knob(kFilterLoKnob).Value, 50);
    f.chkMusic.setValue(0);
    EXPECT_EQ(r.state().FilterLo, 300);
    EXPECT_FALSE(r.tables.AfFilterPreset[2].Music);

    // A preset that remembers Music switches it on through the box; coming back to it from another
    // preset keeps its own low edge to return to, not the 50 Hz.
    f.chkMusic.setValue(1);
    f.optFilter.setValue(3, true);
    EXPECT_EQ(f.chkMusic.Value(), 0);
    EXPECT_EQ(r.state().FilterLo, 300);
    f.optFilter.setValue(2, true);
    EXPECT_EQ(f.chkMusic.Value(), 1);
    EXPECT_EQ(r.state().FilterLo, 50);
    f.chkMusic.setValue(0);
    EXPECT_EQ(r.state().FilterLo, 300);
}

TEST(FilterControls, DynOffPutsTheEdgesBackFromTheTags) {
    Started r;
    frontpanel::FilterControls& f = r.filterControls();
    f.chkDynFilter.setValue(1);
    EXPECT_TRUE(r.state().DynFilterActive);
    EXPECT_TRUE(r.filters.AfFilter.Active);
    r.state().FilterLo = 1000; // as the dynamic filter's tracking may leave them
    f.chkDynFilter.setValue(0);
    EXPECT_FALSE(r.state().DynFilterActive);
    EXPECT_FALSE(r.filters.AfFilter.Active);
    EXPECT_EQ(r.state().FilterLo, 300);
}

TEST(FilterControls, TheIfFilterRefusesAModeWhileOffAndGoesToTrackWhenSwitchedOff) {
    Started r;
    frontpanel::FilterControls& f = r.filterControls();
    f.optIFFilter.setValue(1, true);
    EXPECT_EQ(f.optIFFilter.Selected(), 2);
    EXPECT_EQ(r.state().IFFilterMode, 2);

    f.chkIFFilter.setValue(1);
    EXPECT_TRUE(r.state().IFFilterActive);
    EXPECT_TRUE(r.filters.IfFilter.Active);
    EXPECT_FALSE(r.knob(kIFHiKnob).Disabled);
    f.optIFFilter.setValue(1, true);
    EXPECT_EQ(r.state().IFFilterMode, 1);
    EXPECT_TRUE(f.lblIFHi.Visible());
    EXPECT_EQ(f.optIFFilter[1].ForeColor(), frontpanel::kChosenColour);

    f.chkIFFilter.setValue(0);
    EXPECT_EQ(r.state().IFFilterMode, 2);
    EXPECT_EQ(f.optIFFilter.Selected(), 2);
    EXPECT_FALSE(r.state().IFFilterActive);
    EXPECT_FALSE(r.filters.IfFilter.Active);
    EXPECT_TRUE(r.knob(kIFHiKnob).Disabled);
    EXPECT_FALSE(f.lblIFHi.Visible());
    EXPECT_EQ(f.chkIFFilter.Value(), 0);

    // "Off" switches the filter off.
    f.chkIFFilter.setValue(1);
    f.optIFFilter.setValue(0, true);
    EXPECT_EQ(r.state().IFFilterMode, 0);
    EXPECT_FALSE(r.state().IFFilterActive);
    EXPECT_EQ(f.chkIFFilter.Value(), 0);
    EXPECT_FALSE(f.lblIFHi.Enabled());
}

TEST(FilterControls, ManAndTrackLoadTheIfKnobsByMode) {
    struct Case {
        int16_t mode, ifMode;
        float hi, hiDefault, lo, loDefault;
    };
    // Preset 2 (2300/300); the start-up IF rows (AM 4500/4500, USB 6000/0, LSB 0/6000).
    for (const Case c : {Case{kUSB, 2, 2300, 2300, 300, 300}, Case{kLSB, 2, 300, -300, 2300, 2300},
                         Case{kAM, 2, 2300, 2300, 2300, 2300}, Case{kAM, 1, 4500, 4500, 4500, 4500},
                         Case{kUSB, 1, 6000, 6000, 0, 0}, Case{kLSB, 1, 0, 0, 6000, 6000}}) {
        SCOPED_TRACE(testing::Message() << c.mode << " in " << c.ifMode);
        Started r;
        r.modes().optMode.setValue(c.mode, true);
        r.filterControls().chkIFFilter.setValue(1);
        r.filterControls().optIFFilter.setValue(c.ifMode == 1 ? 2 : 1, true);
        r.filterControls().optIFFilter.setValue(c.ifMode, true);
        EXPECT_EQ(r.knob(kIFHiKnob).Value, c.hi);
        EXPECT_EQ(r.knob(kIFHiKnob).Default, c.hiDefault);
        EXPECT_EQ(r.knob(kIFLoKnob).Value, c.lo);
        EXPECT_EQ(r.knob(kIFLoKnob).Default, c.loDefault);
        EXPECT_EQ(r.state().IFFilterHi, static_cast<int32_t>(c.hi));
        EXPECT_EQ(r.state().IFFilterLo, static_cast<int32_t>(c.lo));
    }
}

TEST(FilterControls, AHundredSliderPositionsBetweenTwoTicksCostOneRebuild) {
    Started r;
    r.housekeepingTick();
    r.curve.loads = 0;
    for (int32_t position = 0; position < 100; ++position) {
        r.filterControls().sldBW(1).setValue(2000 + position);
        r.levels().sldNotchWidth.setValue(100 + position);
    }
    EXPECT_EQ(r.state().FilterHi, 5000 - 2099);
    EXPECT_EQ(r.curve.loads, 0) << "a control designed filters itself";
    r.housekeepingTick();
    r.housekeepingTick();
    EXPECT_EQ(r.curve.loads, 1);
}

// ---- AGC, noise reduction, notch, mute, volume and balance

TEST(LevelControls, EdgeCasesOfEachControl) {
    using frontpanel::kChosenColour;
    struct Case {
        const char* name;
        std::function<void(Started&)> act;
        std::function<void(Started&)> check;
    };
    const Case cases[] = {
        {"AGC off: Slow is refused and Fast stays",
         [](Started& r) {
             r.levels().chkAGC.setValue(0);
             r.levels().optAGC.setValue(3, true);
         },
         [](Started& r) {
             EXPECT_EQ(r.levels().optAGC.Selected(), 1);
             EXPECT_EQ(r.state().AGCMode, 1);
             EXPECT_TRUE(r.knob(kAGCAttackKnob).Disabled);
         }},
        {"AGC on: Slow loads its row, the whole of each knob's maximum",
         [](Started& r) { r.levels().optAGC.setValue(3, true); },
         [](Started& r) {
             EXPECT_EQ(r.state().AGCMode, 3);
             EXPECT_EQ(r.knob(kAGCAttackKnob).Value, 100);
             EXPECT_EQ(r.knob(kAGCDecayKnob).Value, 200);
             EXPECT_EQ(r.knob(kAGCDecayKnob).Default, 200);
             EXPECT_FLOAT_EQ(r.state().AgcAttackMs, 10);
             EXPECT_EQ(r.state().AgcDecayMs, 20);
             EXPECT_EQ(r.levels().optAGC[3].ForeColor(), kChosenColour);
         }},
        {"the AGC knobs edit the row in force",
         [](Started& r) {
             r.levels().optAGC.setValue(2, true);
             r.knob(kAGCAttackKnob).Value = 33;
             r.knob(kAGCAttackKnob).Apply();
         },
         [](Started& r) {
             EXPECT_EQ(r.tables.AgcPresetRow[2].Attack, 33);
             EXPECT_EQ(r.tables.AgcPresetRow[2].AttackDefault, 50);
             EXPECT_EQ(r.tables.AgcPresetRow[1].Attack, 25);
             // A stored row past the table is refused with the runtime's number, nothing written.
             r.state().AGCMode = 9;
             try {
                 r.knob(kAGCAttackKnob).Apply();
                 ADD_FAILURE() << "row 9 was written";
             } catch (const runtime::RuntimeError& e) {
                 EXPECT_EQ(e.Number(), runtime::err::kSubscriptOutOfRange);
             }
         }},
        {"the AGC sliders' times and their tooltips",
         [](Started& r) {
             r.levels().sldAGCAttack.setValue(7);
             r.levels().sldAGCDecay.setValue(25);
         },
         [](Started& r) {
             EXPECT_FLOAT_EQ(r.state().AgcAttackMs, 0.7f);
             EXPECT_EQ(r.state().AgcHistoryLength, 16);
             EXPECT_EQ(r.levels().sldAGCAttack.ToolTipText(), "AGC Decay=0.7 S");
             EXPECT_EQ(r.state().AgcDecayMs, 2);
             EXPECT_EQ(r.state().AgcRampLength, 96);
             EXPECT_EQ(r.levels().sldAGCDecay.ToolTipText(), "AGC Attack=2 mS");
         }},
        {"the noise-reduction slider at 10000 of its design range 1..10000",
         [](Started& r) {
             r.levels().sldNB.setMin(1);
             r.levels().sldNB.setValue(10000);
         },
         [](Started& r) {
             EXPECT_FLOAT_EQ(r.state().NbLevel, 10000.0f / (9999.0f * 2.5f));
             EXPECT_EQ(r.label(kNBKnob).caption, "40.00");
             EXPECT_EQ(r.levels().dialNB.Value(), 10000);
             EXPECT_EQ(r.knob(kNBKnob).Value, 10000);
         }},
        {"noise reduction off hides its dial and greys its slider and knob",
         [](Started& r) {
             r.levels().chkNB.setValue(1);
             r.levels().chkNB.setValue(0);
         },
         [](Started& r) {
             EXPECT_FALSE(r.state().NBOn);
             EXPECT_FALSE(r.levels().dialNB.Visible());
             EXPECT_FALSE(r.levels().sldNB.Enabled());
             EXPECT_TRUE(r.knob(kNBKnob).Disabled);
         }},
        {"a width of 1000 about a centre of 400 keeps the low edge at 0",
         [](Started& r) {
             r.state().NotchCentre = 400;
             r.levels().sldNotchWidth.setValue(500);
             r.levels().sldNotchWidth.setValue(1000 + 10 - 1000);
         },
         [](Started& r) {
             EXPECT_EQ(r.state().NotchWidth, 1000);
             EXPECT_EQ(r.state().NotchLow, 0);
             EXPECT_EQ(r.state().NotchHigh, 900);
             EXPECT_EQ(r.levels().lblNotchWidth.Caption(), "1000");
             EXPECT_EQ(r.levels().sldNotchWidth.ToolTipText(), "Notch Width : 1,000 Hz");
             EXPECT_TRUE(r.state().NotchDirty);
         }},
        {"a right click on the width slider gives 200 Hz",
         [](Started& r) {
             r.levels().sldNotchWidth.setValue(500);
             r.levels().sldNotchWidth_MouseDown(2);
         },
         [](Started& r) { EXPECT_EQ(r.state().NotchWidth, 200); }},
        {"the centre slider re-applies the centre and never reads its own position",
         [](Started& r) {
             r.state().NotchCentre = 1234;
             r.state().NotchWidth = 100;
             r.levels().sldNotch.setValue(2000);
         },
         [](Started& r) {
             EXPECT_EQ(r.state().NotchCentre, 1234);
             EXPECT_EQ(r.state().NotchLow, 1184);
             EXPECT_EQ(r.levels().lblNotch.Caption(), "1234");
             EXPECT_EQ(r.levels().sldNotch.ToolTipText(), "Notch Centre : 1,234 Hz");
             EXPECT_EQ(r.knob(kNotchCKnob).Value, 1234);
         }},
        {"with the notch off, type, mirror and both mode controls go back",
         [](Started& r) {
             r.levels().chkNotchType.setValue(1);
             r.levels().chkNotchMirror.setValue(1);
             r.levels().optNotch.setValue(1, true);
             r.levels().chkNotchAuto.setValue(1);
         },
         [](Started& r) {
             EXPECT_EQ(r.levels().chkNotchType.Value(), 0);
             EXPECT_EQ(r.levels().chkNotchMirror.Value(), 0);
             EXPECT_EQ(r.levels().optNotch.Selected(), 0);
             EXPECT_EQ(r.levels().optNotch[0].ForeColor(), kChosenColour);
             EXPECT_EQ(r.levels().chkNotchAuto.Value(), 0);
             EXPECT_EQ(r.state().NotchMode, 0);
             EXPECT_FALSE(r.state().NotchMirror);
         }},
        {"IF type and back gives the AF value back as its magnitude",
         [](Started& r) {
             r.levels().chkNotchOn.setValue(1);
             r.knob(kNotchCKnob).Value = -1500; // as a preset may leave it
             r.levels().chkNotchType.setValue(1);
             r.knob(kNotchCKnob).Value = -300;
             r.levels().chkNotchType.setValue(0);
         },
         [](Started& r) {
             EXPECT_EQ(r.knob(kNotchCKnob).Value, 1500);
             EXPECT_EQ(r.knob(kNotchCKnob).Min, 0);
             EXPECT_EQ(r.tables.NotchKnobRanges[1].Value, -300);
             EXPECT_EQ(r.state().NotchType, 0);
             EXPECT_EQ(r.state().NotchCentre, 1500);
             EXPECT_TRUE(r.notchDisplay.shown);
             EXPECT_TRUE(r.filters.NotchFilter.Active);
         }},
        {"the automatic notch keeps the IF range and works on the AF one",
         [](Started& r) {
             r.levels().chkNotchOn.setValue(1);
             r.levels().chkNotchType.setValue(1);
             r.knob(kNotchCKnob).Value = -300;
             r.levels().optNotch.setValue(1, true);
         },
         [](Started& r) {
             const auto& kept = r.tables.NotchKnobRanges[1];
             EXPECT_EQ(kept.Max, 6000);
             EXPECT_EQ(kept.Min, -6000);
             EXPECT_EQ(kept.Value, -300);
             EXPECT_EQ(r.knob(kNotchCKnob).Min, 0);
             EXPECT_EQ(r.knob(kNotchCKnob).Max, 6000);
             EXPECT_EQ(r.state().NotchMode, 1);
             EXPECT_FALSE(r.levels().lblNotchC.Visible());
             EXPECT_FALSE(r.levels().chkNotchType.Visible());
         }},
        {"the automatic notch from an AF notch leaves the IF range whole",
         [](Started& r) {
             r.levels().chkNotchOn.setValue(1);
             r.levels().optNotch.setValue(1, true);
             r.levels().optNotch.setValue(0, true);
             r.levels().chkNotchType.setValue(1);
         },
         [](Started& r) {
             EXPECT_EQ(r.knob(kNotchCKnob).Min, -6000);
             EXPECT_TRUE(r.levels().lblNotchC.Visible());
         }},
        {"notch off hides the marker, stops the filter and greys its knobs",
         [](Started& r) {
             r.levels().chkNotchOn.setValue(1);
             r.levels().chkNotchOn.setValue(0);
         },
         [](Started& r) {
             EXPECT_FALSE(r.state().NotchActive);
             EXPECT_FALSE(r.filters.NotchFilter.Active);
             EXPECT_FALSE(r.notchDisplay.shown);
             EXPECT_TRUE(r.knob(kNotchCKnob).Disabled);
             EXPECT_TRUE(r.knob(kNotchWKnob).Disabled);
         }},
        {"mute", [](Started& r) { r.levels().chkMute.setValue(1); },
         [](Started& r) {
             EXPECT_TRUE(r.state().MuteAf);
             EXPECT_EQ(r.levels().chkMute.ForeColor(), kChosenColour);
         }},
        {"a right click on the volume slider goes back to the knob's default",
         [](Started& r) {
             r.levels().sldOutVolume.setValue(-3000);
             r.levels().sldOutVolume_MouseDown(2);
         },
         [](Started& r) {
             EXPECT_EQ(r.levels().sldOutVolume.Value(), 0);
             EXPECT_EQ(r.state().OutputAttenuation, 0.0f);
             EXPECT_EQ(r.label(kOutVolKnob).caption, "0.0");
         }},
        {"the balance and its tooltip", [](Started& r) { r.levels().sldBalance.setValue(-12345); },
         [](Started& r) {
             EXPECT_FLOAT_EQ(r.state().SoundcardCorrectionAmpBalance, -1.2345f);
             EXPECT_EQ(r.levels().sldBalance.ToolTipText(), "IQ Imbalance=1.2345");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Started r;
        c.act(r);
        c.check(r);
    }
}

TEST(LevelControls, ASliderAndItsDialMoveEachOtherOnceAndTheLevelOnce) {
    Started r;
    frontpanel::LevelControls& l = r.levels();
    int slider = 0, dial = 0, pumps = 0;
    const auto count = [](std::function<void()>& handler, int& runs) {
        handler = [inner = handler, &runs] {
            ++runs;
            inner();
        };
    };
    count(l.sldOutVolume.Change, slider);
    count(l.dialOutVol.Change, dial);
    runtime::ScopedHooks hooks({.doEvents = [&] { ++pumps; }, .addLog = {}, .msgBox = {}});

    l.sldOutVolume.setValue(1000);
    EXPECT_EQ(std::make_tuple(slider, dial, pumps), std::make_tuple(1, 1, 2));
    EXPECT_EQ(l.dialOutVol.Value(), 1000);
    EXPECT_FLOAT_EQ(r.state().OutputAttenuation, 2.0f);
    EXPECT_EQ(r.label(kOutVolKnob).caption, "+6.0");

    slider = dial = pumps = 0;
    l.dialOutVol.setValue(-2000);
    EXPECT_EQ(std::make_tuple(slider, dial, pumps), std::make_tuple(1, 1, 2));
    EXPECT_EQ(l.sldOutVolume.Value(), -2000);
    EXPECT_FLOAT_EQ(r.state().OutputAttenuation, -2000.0f);

    // The noise-reduction pair: the slider moves the dial, whose handler finds the slider there already.
    int nbSlider = 0, nbDial = 0;
    count(l.sldNB.Change, nbSlider);
    count(l.dialNB.Change, nbDial);
    l.dialNB.setValue(2500);
    EXPECT_EQ(std::make_pair(nbSlider, nbDial), std::make_pair(1, 1));
    EXPECT_FLOAT_EQ(r.state().NbLevel, 0.1f);
    // The knob moves both while it is updating them: neither handler writes the knob back.
    nbSlider = nbDial = 0;
    r.knob(kNBKnob).Value = 5000;
    r.knob(kNBKnob).Apply();
    EXPECT_EQ(std::make_pair(nbSlider, nbDial), std::make_pair(1, 1));
    EXPECT_EQ(l.sldNB.Value(), 5000);
    EXPECT_EQ(l.dialNB.Value(), 5000);
    EXPECT_FLOAT_EQ(r.state().NbLevel, 0.2f);
}

TEST(LevelControls, AVolumeBeyondTheTwinsIsAppliedWithTheTwinsAtTheirEnds) {
    Started r;
    r.knob(kOutVolKnob).Value = 20000; // a band plan's stored level
    r.knob(kOutVolKnob).Apply();
    EXPECT_EQ(r.levels().sldOutVolume.Value(), 8000);
    EXPECT_EQ(r.levels().dialOutVol.Value(), 8000);
    EXPECT_EQ(r.knob(kOutVolKnob).Value, 20000);
    EXPECT_FLOAT_EQ(r.state().OutputAttenuation, 21.0f);
    EXPECT_EQ(r.label(kOutVolKnob).caption, "+26.4");
}

// ---- Switches

TEST(ReceiverSwitches, TheLoSideFlipsTheBfoAndTheNotchAndShowsTheReadout) {
    Started r;
    r.knob(lblBFOIndex).Value = 1000;
    r.knob(lblBFOIndex).Apply();
    ASSERT_EQ(r.state().BfoOffset, 1000);
    r.state().NotchType = 1;
    r.knob(kNotchCKnob).Value = 500;
    r.state().FiltersDirty = false;
    r.view.digits = {};

    r.switches().chkTuneLo.setValue(1);
    EXPECT_FALSE(r.vfoObject.HiSideLo());
    EXPECT_FALSE(r.state().HiSideLoActive);
    EXPECT_EQ(r.state().BfoOffset, -1000);
    EXPECT_EQ(r.state().MixerCentre, 11000);
    EXPECT_TRUE(r.state().FiltersDirty);
    EXPECT_EQ(r.state().NotchCentre, 11500);
    std::string shown;
    for (const std::string& d : r.view.digits)
        shown += d;
    EXPECT_EQ(shown, r.vfoObject.FormattedTunedFreq());
    EXPECT_EQ(r.switches().chkTuneLo.ForeColor(), 0x0000C0);

    r.switches().chkTuneLo.setValue(0);
    EXPECT_TRUE(r.vfoObject.HiSideLo());
    EXPECT_EQ(r.state().BfoOffset, 1000);
    EXPECT_EQ(r.state().NotchCentre, 12500);
    EXPECT_EQ(r.switches().chkTuneLo.ForeColor(), 0x0000FF);
}

TEST(ReceiverSwitches, IqUpperActsOnlyForAnIqModelWithoutVfoControl) {
    for (const bool vfoControl : {false, true})
        for (const bool iq : {false, true}) {
            Started r;
            r.state().VFOControl = vfoControl;
            r.state().IQMode = iq;
            r.switches().chkIQSelectUpper.setValue(1);
            EXPECT_EQ(r.state().IQSelectUpper, iq && !vfoControl) << vfoControl << iq;
        }
    Started r;
    r.switches().chkFlipIQ.setValue(1);
    EXPECT_TRUE(r.state().FlipIQ);
}

TEST(ReceiverSwitches, TheRecordingFormatChangesOnlyWhileTheRecorderIsClosed) {
    Started r;
    frontpanel::ReceiverSwitches& s = r.switches();
    const int32_t megabytes[] = {330, 165, 82, 41, 21};
    for (int16_t i = 4; i >= 0; --i) {
        s.optRecordSampleRate.setValue(i, true);
        EXPECT_EQ(r.recorder.decimator, 1 << i);
        EXPECT_EQ(s.lblRecordMBytesPerHr.Caption(), std::to_string(megabytes[i]));
    }
    s.optRecordSampleRate.setValue(2, true);
    s.optRecordSamplePerBit.setValue(1, true);
    EXPECT_EQ(r.recorder.bits, 8);
    EXPECT_EQ(s.lblRecordMBytesPerHr.Caption(), "82"); // two bytes a sample, whatever the width

    r.recorder.closed = false;
    s.optRecordSampleRate.setValue(4, true);
    s.optRecordSamplePerBit.setValue(0, true);
    EXPECT_EQ(s.optRecordSampleRate.Selected(), 2);
    EXPECT_EQ(s.optRecordSamplePerBit.Selected(), 1);
    EXPECT_EQ(r.recorder.decimator, 4);
    EXPECT_EQ(r.recorder.bits, 8);

    // The player shows a file's rate through the buttons; a rate without a button selects none.
    r.recorder.closed = true;
    s.SelectRecordSampleRate(1);
    EXPECT_EQ(r.recorder.decimator, 2);
    s.SelectRecordSampleRate(-1);
    EXPECT_EQ(s.optRecordSampleRate.Selected(), -1);
}

TEST(ReceiverSwitches, TheRfInputAndAttenuatorLeaveOtherModelsAlone) {
    Started r;
    const int32_t tuned = r.vfoObject.TunedFrequency();
    r.switches().optRFInSel.setValue(7, true);
    r.switches().optIFAttenuation.setValue(2, true);
    EXPECT_EQ(r.vfoObject.TunedFrequency(), tuned);
    EXPECT_EQ(r.switches().PreviousRFInput(), 0);
}

TEST(ReceiverSwitches, SerialEventsFeedTheEncoderOnlyWhileItIsEnabled) {
    Started r;
    r.switches().OnComm({3, 0x10});
    EXPECT_EQ(r.core->routines.LastEncoderBits(), 0);
    r.state().EnableShaftEncoder = true;
    r.switches().OnComm({2, 0x30});
    r.switches().OnComm({7, 0x30});
    EXPECT_EQ(r.core->routines.LastEncoderBits(), 0);
    r.switches().OnComm({4, 0x20});
    EXPECT_EQ(r.core->routines.LastEncoderBits(), 0x20);
    r.switches().OnComm({3, 0x30});
    EXPECT_EQ(r.core->routines.LastEncoderBits(), 0x30);
}

// ---- End to end

TEST(ReceiverControlsChain, UsbAndThePresetClickedThenOneRebuildHearTheWantedSidebandOnly) {
    Started r;
    // The start-up's AGC history, as its step "Set up default values in the AGC delayline" fills it.
    std::fill(r.state().AgcPeakHistory.begin(), r.state().AgcPeakHistory.begin() + r.state().AgcHistoryLength,
              16383.0f);
    clsFFTReal fft{r.dsp.wrappers};
    fft.FFTInit(4096);
    Nerix::NCO nco{r.dsp.wrappers};
    nco.InitNCO(30, 16, 2048);
    Nerix::ReceiveChain chain(r.state(), r.dsp.wrappers, r.filters, fft, nco);

    r.curve.loads = 0;
    r.modes().optMode.setValue(kUSB, true);
    r.filterControls().optFilter.setValue(3, true);
    r.filterControls().optFilter.setValue(2, true);
    r.housekeepingTick();
    ASSERT_EQ(r.curve.loads, 1);

    // The LO above the signal: the upper sideband lies above the IF centre. The wanted tone at 13 kHz
    // lands on 1000 Hz; its mirror at 10.5 kHz would land on 1500 Hz.
    ASSERT_TRUE(r.state().HiSideLoActive);
    std::vector<int16_t> a(2048), b(2048);
    for (int n = 0; n < 8; ++n) {
        for (int k = 0; k < 2048; ++k) {
            const double t = double(n * 2048 + k) / 48000.0;
            a[size_t(k)] = int16_t(
                std::lround(8000.0 * (std::cos(2 * M_PI * 13000.0 * t) + std::cos(2 * M_PI * 10500.0 * t))));
        }
        chain.DoDSP(a.data(), b.data(), 2048);
    }
    const double pass = toneAmplitude(std::span<const int16_t>(a), 1000.0);
    const double reject = toneAmplitude(std::span<const int16_t>(a), 1500.0);
    EXPECT_GT(pass, 2000.0);
    EXPECT_LT(20 * std::log10(reject / pass), -30.0);
}

} // namespace
