// The knob table as the start-up fills it, the knob step, the wheel hook's counting, the knob keys, the
// labels' resets and the knob frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "frame/NumberFormat.h"
#include "frontpanel/tests/PanelRig.h"

using frontpanel::KnobFrame;
using paneltest::PanelRig;

namespace {

constexpr int16_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kSpace = 32;
constexpr int16_t kShift = 1, kCtrl = 2;
constexpr int32_t kWheelShift = ui::HookMessage::kShiftFlag, kWheelCtrl = ui::HookMessage::kCtrlFlag;

struct Filled : PanelRig {
    Filled() {
        core->knobs.FillKnobTable({}, [this](const char* step) { trace.push_back(step); });
    }
    std::vector<std::string> trace;
};

} // namespace

TEST(KnobTable, StartUpFillsEveryKnobAsTheTableSays) {
    Filled r;
    struct Row {
        int16_t k;
        float Max, Min, Default, Value, CtrlStep, Step, ShiftStep;
        const char* Format;
        bool ShowCaption, Disabled;
    };
    const Row rows[] = {
        {1, 0, 0, 0, 0, 0.1f, 1, 10, "", false, false},
        {2, 99, 0, 1, 1, 0.01f, 0.1f, 1, "#0.0", true, false},
        {3, 100, -100, 0, 0, 0.1f, 1, 10, "#0", true, false},
        {4, 99, 0, 1, 1, 0.01f, 0.1f, 1, "#0.0", true, false},
        {5, 100, -100, 0, 0, 0.1f, 1, 10, "#0", true, false},
        {6, 1023, 10, 1023, 1023, 1, 10, 50, "#,###", false, false},
        {7, 12000, 0, 0, 0, 1, 10, 50, "#0", true, false},
        {8, 1999, 0, 0, 0, 1, 10, 50, "#0", true, false},
        {9, 10000, 0, 0, 0, 1, 10, 50, "#0.00", false, false},
        {10, 8000, -10000, 0, 0, 10, 50, 200, "0.0", false, false},
        {11, 6000, 0, 1000, 1000, 1, 10, 50, "#0", false, true},
        {12, 5000, 0, 100, 100, 1, 10, 50, "#0", false, true},
        {13, 100, 5, 5, 5, 1, 1, 10, "#0.0", false, false},
        {14, 200, 10, 5, 5, 1, 10, 50, "#0.0", false, false},
        {15, 1023, 0, 511, 511, 1, 10, 50, "#,###", false, false},
        {16, 0, 0, 0, 0, 0, 0, 0, "", false, false},
        {17, 6000, 0, 6000, 6000, 1, 10, 50, "#0", true, true},
        {18, 6000, 0, 0, 0, 1, 10, 50, "#0", true, true},
        {19, 24, 1, 8, 8, 1, 1, 4, "#0", true, false}, // the analyser's averaging
        {20, 12000, -12000, 0, 0, 1, 20, 100, "#0", true, false},
        {21, 100, 1, 100, 100, 1, 2, 10, "#0", true, false},
        {22, 100, 1, 100, 100, 1, 2, 10, "#0", true, false},
        {23, 12000, -12000, 0, 0, 1, 20, 100, "#0", true, false},
        {24, 16, 1, 1, 1, 1, 1, 4, "#0", true, false},
    };
    for (const Row& w : rows) {
        const ScrollLabel& k = r.knob(w.k);
        SCOPED_TRACE(w.k);
        EXPECT_EQ(k.Index, w.k);
        EXPECT_FLOAT_EQ(k.Max, w.Max);
        EXPECT_FLOAT_EQ(k.Min, w.Min);
        EXPECT_FLOAT_EQ(k.Default, w.Default);
        EXPECT_FLOAT_EQ(k.Value, w.Value);
        EXPECT_FLOAT_EQ(k.CtrlStep, w.CtrlStep);
        EXPECT_FLOAT_EQ(k.Step, w.Step);
        EXPECT_FLOAT_EQ(k.ShiftStep, w.ShiftStep);
        EXPECT_EQ(k.Format, w.Format);
        EXPECT_EQ(k.ShowCaption, w.ShowCaption);
        EXPECT_EQ(k.Disabled, w.Disabled);
        EXPECT_TRUE(static_cast<bool>(k.Apply));
    }
    EXPECT_FALSE(static_cast<bool>(r.knob(0).Apply));
    // The display knobs take the analyser's colours.
    EXPECT_EQ(r.knob(6).NormalColour, 192);
    EXPECT_EQ(r.knob(24).FocusColour, 255);
    EXPECT_EQ(r.knob(7).NormalColour, 0);
}

TEST(KnobTable, StartUpRunsTheApplyRoutinesInTheTablesOrder) {
    Filled r;
    // Knob 15 first runs with knob 6 still empty (no span yet), then again with both: the span from
    // centre 511 and width 1023.
    EXPECT_EQ(r.analyser.calls,
              (std::vector<std::string>{"StartBin 511", "StopBin 0", "StartBin 0", "StopBin 1023"}));
    EXPECT_EQ(r.trace.front(), ":Initialising MouseOverS");
    const auto at = [&](const std::string& step) {
        return std::find(r.trace.begin(), r.trace.end(), step) - r.trace.begin();
    };
    EXPECT_LT(at(":Initialising ctlArray(15)"), at(":Initialising CtlArray(6)"));
    EXPECT_LT(at(":Initialising lblIFShift - ctlArray(lblIFShiftIndex)"),
              at(":Initialising lblBFO - ctlArray(lblBFOIndex)"));
    EXPECT_EQ(r.trace.back(), ":Initialising lblY2Bright - ctlArray(lblY2BrightIndex)");
    EXPECT_EQ(r.trace.size(), 30u);
    // The captions the start-up writes, and those the apply routines write.
    EXPECT_EQ(r.label(2).caption, "1.0");
    EXPECT_EQ(r.label(3).caption, "0");
    EXPECT_EQ(r.label(9).caption, "0.00");
    EXPECT_EQ(r.label(10).caption, "0.0");
    EXPECT_EQ(r.label(13).caption, "0.5");
    EXPECT_EQ(r.label(17).caption, "6000");
    EXPECT_EQ(r.label(20).caption, "0");
    EXPECT_EQ(r.state().MixerCentre, 12000);
    EXPECT_EQ(r.state().NcoIncrement, 268435456);
    EXPECT_EQ(r.analyser.brightness, (std::array<int16_t, 2>{100, 100}));
}

TEST(KnobTable, StartUpWithoutAnAnalyserSkipsWhatNeedsIt) {
    PanelRig r(false);
    r.core->knobs.FillKnobTable();
    EXPECT_FLOAT_EQ(r.knob(19).Max, 24);
    EXPECT_FLOAT_EQ(r.knob(19).Value, 0);
    EXPECT_EQ(r.label(20).caption, "0"); // the knobs after the analyser's are still filled and applied
    EXPECT_TRUE(r.knob(18).Disabled);
}

TEST(KnobStep, StepsTestOnlyTheLimitInTheirDirection) {
    struct Case {
        int16_t knob;
        float start;
        bool byKeys;
        int modifiers; // keys: 1 Shift, 2 Ctrl; wheel: its flags
        int sign;
        float expected;
    };
    const Case cases[] = {
        {2, 98.95f, true, kShift, +1, 99.0f},                    // Shift's step 1 stops at Max
        {3, -95.0f, true, kShift, -1, -100.0f},                  // Shift's step 10 stops at Min
        {14, 5.0f, true, 0, -1, 10.0f},                          // starts below Min: down gives Min
        {14, 5.0f, true, 0, +1, 15.0f},                          // and up one step
        {2, 150.0f, true, 0, -1, 149.9f},                        // above Max stays above, stepped down
        {2, 10.0f, true, kShift | kCtrl, +1, 11.0f},             // keys: Shift wins
        {2, 10.0f, false, kWheelShift | kWheelCtrl, +1, 10.01f}, // wheel: Ctrl wins
        {2, 10.0f, false, kWheelShift, -1, 9.0f},
        {3, 10.0f, true, 4, +1, 11.0f}, // Alt plays no part
    };
    for (const Case& c : cases) {
        Filled r;
        SCOPED_TRACE(c.knob);
        r.state().ActiveKnob = c.knob;
        r.knob(c.knob).Value = c.start;
        if (c.byKeys)
            r.core->knobs.Form_KeyDown(c.sign > 0 ? kUp : kDown, static_cast<int16_t>(c.modifiers));
        else
            r.wheelStep(c.sign, c.modifiers);
        EXPECT_NEAR(r.knob(c.knob).Value, c.expected, 1e-4);
    }
}

TEST(KnobStep, AStepWritesTheCaptionOnlyWhenTheKnobShowsItAndAlwaysApplies) {
    Filled r;
    r.state().ActiveKnob = 3; // shows its caption
    r.core->knobs.Form_KeyDown(kUp, kShift);
    EXPECT_EQ(r.label(3).caption, "10");
    EXPECT_FLOAT_EQ(r.analyser.chn1Shift, 10.0f);
    r.state().ActiveKnob = 24;
    r.core->knobs.Form_KeyDown(kUp, 0);
    EXPECT_EQ(r.analyser.frameRate, 2);

    r.state().ActiveKnob = 6; // its apply routine writes its caption, the step does not
    const int before = r.label(6).captions;
    r.knob(6).Apply = nullptr;
    r.core->knobs.Form_KeyDown(kDown, 0);
    EXPECT_FLOAT_EQ(r.knob(6).Value, 1013.0f);
    EXPECT_EQ(r.label(6).captions, before);
}

TEST(WheelHook, EveryWheelMessageStepsTheActiveKnobOnce) {
    Filled r;
    r.state().ActiveKnob = 3;
    std::vector<float> values;
    for (int sign : {+1, +1, +1, -1, +1, +1}) {
        r.wheel(sign);
        values.push_back(r.knob(3).Value);
    }
    EXPECT_EQ(values, (std::vector<float>{1, 2, 3, 2, 3, 4}));
    // Nothing is left over from one knob to the next: the first notch on another knob steps it.
    r.state().ActiveKnob = 5;
    r.wheel(+1);
    EXPECT_FLOAT_EQ(r.knob(5).Value, 1.0f);
    EXPECT_FLOAT_EQ(r.knob(3).Value, 4.0f);
}

TEST(WheelHook, NothingStepsWithoutAnActiveEnabledKnob) {
    Filled r;
    r.state().ActiveKnob = 0;
    EXPECT_TRUE(r.wheel(+1));  // goes on to the control under the pointer
    r.state().ActiveKnob = 11; // disabled while the notch is off
    EXPECT_TRUE(r.wheel(+1));
    EXPECT_FLOAT_EQ(r.knob(11).Value, 1000.0f);
    r.state().ActiveKnob = 12;
    r.knob(12).Disabled = false;
    const float before = r.knob(12).Value;
    EXPECT_FALSE(r.wheel(+1)); // an active knob takes the turn: nothing beneath moves
    EXPECT_GT(r.knob(12).Value, before);
}

TEST(WheelHook, PassesKeysAndMovesAndTheWheelOnlyWhereNoKnobTakesIt) {
    Filled r;
    const auto message = [](int32_t m) {
        ui::HookMessage h;
        h.message = m;
        h.wParam = 65;
        return h;
    };
    for (int16_t active : {int16_t{0}, int16_t{3}}) {
        r.state().ActiveKnob = active;
        // Keys and moves always reach their window: a key must reach the window's key handler.
        EXPECT_TRUE(r.core->wheel.deliver(message(ui::HookMessage::kKeyDown)));
        EXPECT_TRUE(r.core->wheel.deliver(message(ui::HookMessage::kMouseMove)));
    }
    // The procedure's own answers: with no knob active nothing is passed on; with one, keys are not.
    r.state().ActiveKnob = 0;
    EXPECT_FALSE(r.core->wheel.WheelHookProc(message(ui::HookMessage::kKeyDown)));
    r.state().ActiveKnob = 3;
    EXPECT_FALSE(r.core->wheel.WheelHookProc(message(ui::HookMessage::kKeyDown)));
    EXPECT_TRUE(r.core->wheel.WheelHookProc(message(ui::HookMessage::kMouseMove)));
    EXPECT_TRUE(r.core->wheel.WheelHookProc(message(0x0201)));
}

TEST(WheelHook, AnErrorOfTheCaptionOrTheApplyRoutineIsPassedOver) {
    Filled r;
    r.state().ActiveKnob = 3;
    r.knob(3).Apply = [] { throw runtime::RuntimeError(6, "test"); };
    r.wheelStep(+1);
    EXPECT_FLOAT_EQ(r.knob(3).Value, 1.0f);
    EXPECT_FALSE(r.core->wheel.HookBusy());
    EXPECT_EQ(r.label(3).caption, "1");
    // A message that arrives while an apply routine pumps is passed on, not counted.
    int nested = 0;
    r.knob(3).Apply = [&] {
        ++nested;
        r.wheel(+1);
        r.wheel(+1);
    };
    r.wheelStep(+1);
    EXPECT_EQ(nested, 1);
    EXPECT_FLOAT_EQ(r.knob(3).Value, 2.0f);
}

TEST(KnobKeys, LeftAndRightWalkTheKnobsOneToTwenty) {
    struct Case {
        int16_t from, key, to;
    };
    const Case cases[] = {{20, kRight, 1},  {2, kLeft, 1},   {0, kLeft, 20}, {0, kRight, 1},
                          {10, kRight, 11}, {21, kRight, 1}, {24, kLeft, 23}};
    for (const Case& c : cases) {
        Filled r;
        r.knob(11).Disabled = false;
        r.state().ActiveKnob = c.from;
        r.core->knobs.Form_KeyDown(c.key, 0);
        EXPECT_EQ(r.state().ActiveKnob, c.to) << c.from << " " << c.key;
        EXPECT_EQ(r.shell.marked, c.to);
    }
}

TEST(KnobKeys, ADisabledKnobReachedByKeysIsActiveUnmarkedAndStillSteps) {
    Filled r;
    r.state().ActiveKnob = 13;
    r.core->knobs.Form_KeyDown(kLeft, 0);
    EXPECT_EQ(r.state().ActiveKnob, 12);
    EXPECT_EQ(r.shell.marked, 0);
    r.core->knobs.Form_KeyDown(kUp, 0);
    EXPECT_FLOAT_EQ(r.knob(12).Value, 110.0f);
    EXPECT_EQ(r.state().NotchWidth, 110); // its apply routine ran
}

TEST(KnobKeys, TheReadoutAndNoKnobIgnoreTheStepKeys) {
    Filled r;
    r.state().ActiveKnob = 1;
    for (int16_t key : {kLeft, kRight, kUp, kDown, kSpace})
        r.core->knobs.Form_KeyDown(key, 0);
    EXPECT_EQ(r.state().ActiveKnob, 1);
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'741'234);
    r.state().ActiveKnob = 0;
    r.core->knobs.Form_KeyDown(kUp, 0);
    r.core->knobs.Form_KeyDown(kSpace, 0);
    EXPECT_FLOAT_EQ(r.knob(0).Value, 0.0f);
}

TEST(KnobKeys, SpaceResetsAndTheAudioFilterKnobsTakeTheirPresetsDefault) {
    Filled r;
    r.state().FilterMode = 2;
    r.tables.AfFilterPreset[2].DefaultHi = 2700;
    r.tables.AfFilterPreset[2].DefaultLo = 300;
    for (auto [k, expected] : {std::pair{int16_t{7}, 2700.0f}, {int16_t{8}, 300.0f}, {int16_t{3}, 0.0f}}) {
        r.state().ActiveKnob = k;
        r.knob(k).Value = 55;
        r.core->knobs.Form_KeyDown(kSpace, 0);
        EXPECT_FLOAT_EQ(r.knob(k).Default, expected) << k;
        EXPECT_FLOAT_EQ(r.knob(k).Value, expected) << k;
    }
    EXPECT_EQ(r.state().FilterHi, 2700);
    EXPECT_EQ(r.state().FilterLo, 300);
    EXPECT_EQ(r.label(7).caption, "2700");
}

TEST(KnobLabels, ARightClickResetsTheKnobAsTheResetTableSays) {
    struct Case {
        int16_t knob;
        float before;
        float value;
        bool captionByHandler;
    };
    const Case cases[] = {
        {2, 5, 1, true},  {21, 5, 100, true}, {6, 50, 1023, false}, {12, 7, 100, false},
        {9, 7, 0, false}, {14, 7, 5, false},  {20, 7, 0, false},    {7, 9, 2700, true},
    };
    for (const Case& c : cases) {
        Filled r;
        SCOPED_TRACE(c.knob);
        r.state().FilterMode = 1;
        r.tables.AfFilterPreset[1].DefaultHi = 2700;
        r.knob(c.knob).Value = c.before;
        r.label(c.knob).caption.clear();
        r.core->knobs.knobLabel_MouseDown(c.knob, 1); // the left button resets nothing
        EXPECT_FLOAT_EQ(r.knob(c.knob).Value, c.before);
        r.core->knobs.knobLabel_MouseDown(c.knob, 2);
        EXPECT_FLOAT_EQ(r.knob(c.knob).Value, c.value);
        if (c.captionByHandler) {
            EXPECT_EQ(r.label(c.knob).caption, NumberFormat::Format(c.value, r.knob(c.knob).Format));
        }
    }
}

TEST(KnobLabels, TheAgcKnobsResetToHalfTheirRangeWhenTheirDefaultIsNone) {
    Filled r;
    r.knob(13).Default = 0;
    r.core->knobs.knobLabel_MouseDown(13, 2);
    EXPECT_FLOAT_EQ(r.knob(13).Default, 47.5f);
    EXPECT_FLOAT_EQ(r.knob(13).Value, 47.5f);
    EXPECT_EQ(r.label(13).caption, "4.8"); // its routine shows milliseconds
    r.knob(13).Default = 5;
    r.core->knobs.knobLabel_MouseDown(13, 2);
    EXPECT_FLOAT_EQ(r.knob(13).Value, 5.0f);
    // The left button on the attack knob makes it active without marking it.
    r.core->knobs.knobLabel_MouseDown(13, 1);
    EXPECT_EQ(r.state().ActiveKnob, 13);
    EXPECT_EQ(r.shell.marked, 0);
}

TEST(KnobLabels, TheDisplayCentreResetsOnAnyButtonAndTheIfKnobsFromTheirRow) {
    Filled r;
    r.knob(15).Value = 100;
    r.core->knobs.knobLabel_MouseDown(15, 4);
    EXPECT_FLOAT_EQ(r.knob(15).Value, 511.0f);

    r.state().IFFilterMode = 1;
    r.state().DemodMode = 2;
    r.tables.IfFilterTable[1][2].DefaultHi = 2900;
    r.tables.IfFilterTable[1][2].DefaultLo = 150;
    r.core->knobs.knobLabel_MouseDown(17, 2);
    r.core->knobs.knobLabel_MouseDown(18, 2);
    EXPECT_FLOAT_EQ(r.knob(17).Value, 2900.0f);
    EXPECT_FLOAT_EQ(r.knob(18).Value, 150.0f);
    EXPECT_EQ(r.state().IFFilterHi, 2900);
    r.state().DemodMode = 3; // DRM: the knob's own default
    r.core->knobs.knobLabel_MouseDown(17, 2);
    EXPECT_FLOAT_EQ(r.knob(17).Value, 6000.0f);
}

TEST(KnobLabels, HoverMarksTheKnobUnlessItIsDisabled) {
    Filled r;
    r.core->knobs.knobLabel_MouseMove(3);
    EXPECT_EQ(r.state().ActiveKnob, 3);
    r.core->knobs.knobLabel_MouseMove(11); // disabled: nothing active after the darkening
    EXPECT_EQ(r.state().ActiveKnob, 0);
    r.shell.calls.clear();
    r.core->knobs.knobLabel_MouseMove(8);
    EXPECT_EQ(r.shell.calls, (std::vector<std::string>{"Darken", "Highlight 8", "focusSink"}));
}

TEST(KnobFrames, TheKnobFramesUnmarkTheirKnobsTheScopeFramesLeaveTheActiveKnob) {
    Filled r;
    r.state().ActiveKnob = 3;
    r.core->knobs.frame_MouseMove(KnobFrame::frScopeChn1Ctl);
    EXPECT_EQ(r.state().ActiveKnob, 3);
    r.shell.calls.clear();
    r.core->knobs.frame_MouseMove(KnobFrame::frAFOut);
    EXPECT_EQ(r.state().ActiveKnob, 0);
    EXPECT_EQ(r.shell.calls, (std::vector<std::string>{"FocusFrame", "Unhighlight", "Unhighlight 10"}));
    r.shell.calls.clear();
    r.core->knobs.frame_MouseMove(KnobFrame::frAGC);
    EXPECT_EQ(r.shell.calls,
              (std::vector<std::string>{"FocusFrame", "Unhighlight", "Unhighlight 13", "Unhighlight 14"}));
}
