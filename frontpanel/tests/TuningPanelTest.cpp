// The frequency readout, the tuning steps and the tuning dial.
#include <gtest/gtest.h>

#include "frontpanel/TuningSteps.h"
#include "frontpanel/tests/PanelRig.h"

using frontpanel::TwipsRect;
using paneltest::PanelRig;

namespace {

constexpr int16_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

// The rig with the step on the 100 Hz digit, as a hover there leaves it.
struct Tuned : PanelRig {
    Tuned() {
        core->knobs.FillKnobTable();
        vfoObject.setTuneStep(1000);
    }
    frontpanel::TuningPanel& panel() { return core->tuning; }
};

} // namespace

TEST(TuningSteps, EachRowHasItsListTextDigitMultiplierAndRateCaption) {
    struct Row {
        const char* list;
        int32_t digit;
        float multiplier;
        const char* caption;
    };
    const Row rows[frontpanel::kTuningStepEntries] = {
        {" 10 KHz", 4, 10, "x 10 KHz"}, {"  9 KHz", 4, 9, "x 9 KHz"},      {"  5 KHz", 4, 5, "x 5 KHz"},
        {"  3 KHz", 4, 3, "x 3 KHz"},   {"2.5 KHz", 4, 2.5f, "x 2.5 KHz"}, {"  1 KHz", 5, 10, "x 1000 Hz"},
        {"500 Hz", 5, 5, "x 500 Hz"},   {"250 Hz", 5, 2.5f, "x 250 Hz"},   {"100 Hz", 5, 1, "x 100 Hz"},
        {" 50 Hz", 6, 5, "x 50 Hz"},    {" 25 Hz", 6, 2.5f, "x 25 Hz"},    {" 10 Hz", 6, 1, "x 10 Hz"},
        {"  5 Hz", 7, 5, "x 5 Hz"},     {"2.5 Hz", 7, 2.5f, "x 2.5 Hz"},   {"  1 Hz", 7, 1, "x 1 Hz"},
        {"  5 dHz", 8, 5, "x 5 dHz"},   {"  2 dHz", 8, 2, "x 2 dHz"},      {"  1 dHz", 8, 1, "x 1 dHz"},
    };
    for (int32_t i = 0; i < frontpanel::kTuningStepEntries; ++i) {
        const Row& w = rows[i];
        const int32_t step = paneltest::kTuningSteps[static_cast<size_t>(i)];
        EXPECT_EQ(frontpanel::TuningStepListText(step), w.list) << i;
        const auto place = frontpanel::StepPlaceOf(paneltest::kTuningSteps, i);
        EXPECT_EQ(place.digit, w.digit) << i;
        EXPECT_FLOAT_EQ(place.multiplier, w.multiplier) << i;

        // Selected in the selector: the digit carries the step, and the caption reads as the row says.
        Tuned r;
        r.panel().cboTuningSteps_Click(i);
        EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), step) << i;
        EXPECT_EQ(r.view.rate, w.caption) << i;
        EXPECT_EQ(r.panel().MarkedDigit(), w.digit) << i;
    }
}

TEST(TuningSteps, RateCaptionsShowTheStepInTheUnitsOfItsDigit) {
    struct Case {
        int32_t digit;
        double step;
        const char* caption;
    };
    const Case cases[] = {{0, 1e8, "x 10 MHz"},    {1, 1e7, "x 1 MHz"},
                          {1, 2.5e7, "x 2 MHz"},   {2, 1e6, "x 100 KHz"},
                          {2, 1000, "x 0.1 KHz"},  {4, 25000, "x 2.5 KHz"},
                          {5, 10000, "x 1000 Hz"}, {7, 25, "x 2.5 Hz"},
                          {8, 5, "x 5 dHz"},       {-1, 5, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(frontpanel::TuningRateCaption(c.digit, c.step), c.caption) << c.digit;
}

TEST(TuningSteps, SelectTuningStepIndexWrapsAndLocksTheVfoStepOnly) {
    Tuned r;
    r.panel().SelectTuningStepIndex(18, true);
    EXPECT_EQ(r.panel().TuningStepIndex(), 0);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 100000);
    EXPECT_TRUE(r.vfoObject.TuneStepLock());
    EXPECT_FALSE(r.state().TuneStepLocked);
    EXPECT_FALSE(r.view.lockPicture);
    r.panel().SelectTuningStepIndex(5, false); // locked: nothing
    EXPECT_EQ(r.panel().TuningStepIndex(), 0);
    r.panel().SelectTuningStepIndex(-1, true);
    EXPECT_EQ(r.panel().TuningStepIndex(), 17);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 1);
    EXPECT_EQ(r.view.rate, "x 1 dHz");
}

TEST(TuningSteps, TheSelectorKeepsTheChoiceWithTheActiveSubBandAndHidesOnEscapeOrFocusLoss) {
    Tuned r;
    r.bands.resize(2);
    r.bands[1].SubBand.resize(19);
    r.bands[1].ActiveSubBand = 3;
    r.state().CurrentMainBandIndex = 1;
    r.panel().lblTuningRate_MouseDown(2);
    EXPECT_TRUE(r.view.selectorShown);
    EXPECT_EQ(r.view.selectorLeft, 4000 - (1100 - 1000)); // right edges in line
    EXPECT_EQ(r.view.selectorTop, 1300);
    r.panel().cboTuningSteps_Click(4);
    EXPECT_EQ(r.bands[1].SubBand[3].Settings.TuneStep, 25000);
    EXPECT_TRUE(r.bands[1].SubBand[3].Settings.Dirty);
    EXPECT_TRUE(r.view.selectorShown);
    r.panel().cboTuningSteps_KeyPress(13);
    EXPECT_TRUE(r.view.selectorShown);
    r.panel().cboTuningSteps_KeyPress(27);
    EXPECT_FALSE(r.view.selectorShown);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 25000); // hiding changes no step
    r.panel().lblTuneDialRate_MouseDown(2);
    EXPECT_EQ(r.view.selectorLeft, 6000);
    EXPECT_EQ(r.view.selectorTop, 400 + 600 - 150);
    r.panel().cboTuningSteps_LostFocus();
    EXPECT_FALSE(r.view.selectorShown);
    r.panel().lblTuneDialRate_MouseDown(1);
    EXPECT_FALSE(r.view.selectorShown);
    // A band not loaded has no sub-band to keep the step in; the step is still chosen.
    r.state().CurrentMainBandIndex = 0;
    r.panel().cboTuningSteps_Click(8);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 1000);
}

TEST(Readout, Display7SegRedrawsNothingForTheTextOnShow) {
    Tuned r;
    r.vfoObject.setIFFrequency(0);
    r.vfoObject.Refresh();
    r.panel().Display7Seg("140741234");
    EXPECT_EQ(r.view.digits, (std::array<std::string, 9>{"1", "4", "0", "7", "4", "1", "2", "3", "4"}));
    const int digitWrites = r.view.digitWrites, loWrites = r.view.loWrites;
    r.panel().Display7Seg("140741234");
    EXPECT_EQ(r.view.digitWrites, digitWrites);
    EXPECT_EQ(r.view.loWrites, loWrites);
    r.panel().Display7Seg("12");
    EXPECT_EQ(r.view.digits, (std::array<std::string, 9>{"1", "2", "", "", "", "", "", "", ""}));
    r.panel().Display7Seg("98765432101");
    EXPECT_EQ(r.view.digits[8], "1");
    EXPECT_EQ(r.panel().ShownReadout(), "98765432101");
}

TEST(Readout, TheLoValueIsTheOscillatorFrequencyInWholeHertzGroupedByThrees) {
    struct Case {
        int32_t tenths; // the tuned frequency, with no IF: the oscillator's
        const char* lo;
    };
    for (const Case c : {Case{5000, "0 000 500 Hz"}, Case{140741234, "14 074 123 Hz"},
                         Case{0, "0 000 000 Hz"}, Case{299999999, "30 000 000 Hz"}}) {
        Tuned r;
        r.vfoObject.setIFFrequency(0);
        r.vfoObject.setTunedFrequency(c.tenths);
        r.panel().Display7Seg(r.vfoObject.FormattedTunedFreq());
        EXPECT_EQ(r.view.lo, c.lo) << c.tenths;
    }
}

TEST(Readout, HoverMovesTheStepDigitUntilTheStepIsLocked) {
    Tuned r;
    r.panel().lbl7Seg_MouseMove(4);
    EXPECT_EQ(r.state().ActiveKnob, 1);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 10000);
    EXPECT_FLOAT_EQ(r.state().RepeatStep, 10000);
    EXPECT_EQ(r.view.rate, "x 1 KHz");
    EXPECT_EQ(r.view.marker, (TwipsRect{1200 - 20, 150, 285 + 40, 600 - 150}));
    EXPECT_EQ(r.view.digitColours[4], paneltest::kReadoutFocus);
    r.panel().lbl7Seg_MouseMove(6);
    EXPECT_EQ(r.view.digitColours[4], paneltest::kReadoutNormal);
    EXPECT_EQ(r.panel().MarkedDigit(), 6);

    r.state().TuneStepLocked = true;
    r.state().ActiveKnob = 0;
    r.panel().lbl7Seg_MouseMove(2);
    EXPECT_EQ(r.state().ActiveKnob, 1); // still the active knob
    EXPECT_EQ(r.panel().MarkedDigit(), 6);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 100);
}

TEST(Readout, TheLockAsTheUserWorksIt) {
    Tuned r;
    struct Stage {
        const char* what;
        double step;
        bool vfoLock, panelLock, picture;
    };
    std::vector<Stage> seen;
    const auto note = [&](const char* what) {
        seen.push_back({what, r.vfoObject.TuneStep(), r.vfoObject.TuneStepLock(), r.state().TuneStepLocked,
                        r.view.lockPicture});
    };
    r.panel().lbl7Seg_MouseMove(5);
    note("hover");
    r.panel().lbl7Seg_Click(3);
    note("click a new digit");
    r.panel().lbl7Seg_MouseMove(6); // locked: the step stays
    note("hover when locked");
    r.panel().lbl7Seg_Click(3);
    note("click it again");
    r.panel().lbl7Seg_Click(7); // a double click: the click, then the double click
    r.panel().lbl7Seg_DblClick(7);
    note("double click a new digit");
    const std::vector<std::tuple<double, bool, bool, bool>> expected = {{1000, false, false, false},
                                                                        {100000, true, true, true},
                                                                        {100000, true, true, true},
                                                                        {100000, false, false, false},
                                                                        {10, false, false, false}};
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(seen[i].what);
        EXPECT_DOUBLE_EQ(seen[i].step, std::get<0>(expected[i]));
        EXPECT_EQ(seen[i].vfoLock, std::get<1>(expected[i]));
        EXPECT_EQ(seen[i].panelLock, std::get<2>(expected[i]));
        EXPECT_EQ(seen[i].picture, std::get<3>(expected[i]));
    }
    // The lock picture's double click and the tuning-rate label.
    r.panel().lbl7Seg_Click(2);
    r.panel().imgTuneStepLock_DblClick();
    EXPECT_FALSE(r.vfoObject.TuneStepLock());
    EXPECT_FALSE(r.state().TuneStepLocked);
    EXPECT_FALSE(r.view.lockPicture);
    r.panel().lblTuningRate_Click();
    EXPECT_TRUE(r.state().TuneStepLocked);
    EXPECT_FALSE(r.vfoObject.TuneStepLock());
    EXPECT_EQ(r.view.rateToolTip, "Click to Unlock Tuning Rate");
    EXPECT_EQ(r.view.rateColour, paneltest::kReadoutNormal);
    r.panel().lblTuningRate_Click();
    EXPECT_FALSE(r.state().TuneStepLocked);
    EXPECT_EQ(r.view.rateToolTip, "Click to Lock Tuning Rate");
    EXPECT_EQ(r.view.rateColour, paneltest::kReadoutFocus);
}

TEST(Readout, KeysLeaveTuneRequestsAndMoveTheStepDigit) {
    Tuned r;
    r.panel().picFreqDisp_KeyDown(kUp, 0); // not the active knob: ignored
    EXPECT_FALSE(r.state().TuneUpRequest);
    EXPECT_EQ(r.view.tuneInterval, 250);

    r.panel().picFreqDisp_MouseMove();
    EXPECT_EQ(r.state().ActiveKnob, 1);
    EXPECT_EQ(r.view.focusCount, 1);
    // The first key after start-up, never hovered: RepeatStep 0 starts the keys on the last digit.
    r.panel().picFreqDisp_KeyDown(kRight, 0);
    EXPECT_EQ(r.panel().KeyDigit(), 0); // 8 + 1 wraps
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 1e8);
    r.panel().picFreqDisp_KeyDown(kLeft, 0);
    EXPECT_EQ(r.panel().KeyDigit(), 8);
    EXPECT_EQ(r.view.rate, "x 1 dHz");
    EXPECT_EQ(r.view.tuneInterval, 20);

    r.panel().picFreqDisp_KeyDown(kUp, 0);
    EXPECT_TRUE(r.state().TuneUpRequest);
    r.panel().picFreqDisp_KeyDown(kDown, 0);
    EXPECT_TRUE(r.state().TuneDownRequest);
    EXPECT_FALSE(r.state().TuneUpRequest);
    EXPECT_FLOAT_EQ(r.state().RepeatStep, 1);
    r.panel().picFreqDisp_KeyUp();
    EXPECT_FALSE(r.state().TuneDownRequest);
    EXPECT_FLOAT_EQ(r.state().RepeatStep, 0);
    // Any other key still copies the step into the repeat step and the VFO's grid.
    r.vfoObject.setTuneStep(2500);
    r.vfoObject.setTuneStepLSD(1);
    r.panel().picFreqDisp_KeyDown(16, 0);
    EXPECT_FLOAT_EQ(r.state().RepeatStep, 2500);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStepLSD(), 2500);
}

TEST(Readout, TheFirstKeyStartsOnTheDigitOfTheRepeatStep) {
    Tuned r;
    r.state().ActiveKnob = 1;
    r.state().RepeatStep = 1000; // 100 Hz: digit 5
    r.panel().picFreqDisp_KeyDown(kLeft, 0);
    EXPECT_EQ(r.panel().KeyDigit(), 4);
}

TEST(Readout, LockedLeftAndRightMoveTheMarkerButKeepTheStep) {
    Tuned r;
    r.panel().lbl7Seg_MouseMove(5);
    r.panel().lbl7Seg_Click(5); // locks at 100 Hz
    r.panel().picFreqDisp_KeyDown(kLeft, 0);
    r.panel().picFreqDisp_KeyDown(kLeft, 0);
    r.panel().picFreqDisp_KeyDown(kLeft, 0);
    EXPECT_EQ(r.panel().MarkedDigit(), 2);
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 1000);
    EXPECT_EQ(r.view.rate, "x 0.1 KHz");
}

TEST(Readout, MouseUpOverTheReadoutClearsOneRequest) {
    Tuned r;
    r.state().TuneUpRequest = r.state().TuneDownRequest = true;
    r.panel().picFreqDisp_MouseUp(1);
    EXPECT_FALSE(r.state().TuneUpRequest);
    EXPECT_TRUE(r.state().TuneDownRequest);
    r.panel().picFreqDisp_MouseUp(2);
    EXPECT_FALSE(r.state().TuneDownRequest);
}

TEST(VfoControlMenu, TheRightButtonPopsTheMenuForThatDigit) {
    Tuned r;
    r.dialogs.menuAnswers = {3}; // "Lock Tune Rate"
    r.panel().lbl7Seg_MouseDown(3, 2);
    ASSERT_EQ(r.dialogs.menus.size(), 1u);
    EXPECT_EQ(r.dialogs.menus[0], (std::vector<ui::MenuItem>{"Cancel", "-", "Set Tuning Rate",
                                                             "Lock Tune Rate", "Unlock Tune rate"}));
    EXPECT_EQ(r.panel().mnuVFOControlTag(), "3");
    EXPECT_DOUBLE_EQ(r.vfoObject.TuneStep(), 100000);
    EXPECT_TRUE(r.vfoObject.TuneStepLock());
    EXPECT_TRUE(r.state().TuneStepLocked);
    EXPECT_TRUE(r.view.lockPicture);

    r.dialogs.menuAnswers = {2}; // "Set Tuning Rate": the selector under the digit
    r.panel().lbl7Seg_MouseDown(6, 2);
    EXPECT_TRUE(r.view.selectorShown);
    EXPECT_EQ(r.view.selectorLeft, 1000 + 1800 - 550);
    EXPECT_EQ(r.view.selectorTop, 500 + 0 + 600);
    EXPECT_TRUE(r.view.lockPicture);

    r.dialogs.menuAnswers = {4}; // "Unlock Tune rate"
    r.panel().lbl7Seg_MouseDown(6, 2);
    EXPECT_FALSE(r.vfoObject.TuneStepLock());
    EXPECT_FALSE(r.state().TuneStepLocked);
    EXPECT_FALSE(r.view.lockPicture);

    r.panel().lbl7Seg_MouseDown(6, 1); // other buttons pop nothing
    r.panel().lbl7Seg_MouseDown(6, 2); // dismissed
    EXPECT_EQ(r.dialogs.menus.size(), 4u);
}

TEST(ScaleLabels, EachClearsItsDigitGroupAndShowsTheResult) {
    struct Case {
        int16_t label;
        int32_t tuned;
    };
    for (const Case c : {Case{1, 140'001'234}, Case{0, 741'234}, Case{2, 140'740'004}}) {
        Tuned r;
        r.panel().lblScale_Click(c.label);
        EXPECT_EQ(r.vfoObject.TunedFrequency(), c.tuned) << c.label;
        EXPECT_EQ(r.panel().ShownReadout(), r.vfoObject.FormattedTunedFreq());
    }
}

TEST(TuningDial, OneStepPerTurnEventWhateverTheTurn) {
    Tuned r;
    r.dial.value = 5;
    r.core->dial.DialTuner_Changing();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'742'000); // snapped to the 100 Hz grid, then 100 Hz up
    r.dial.value = -30;
    r.core->dial.DialTuner_Changing();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'741'000);
    r.core->dial.DialTuner_Changing(); // no move
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'741'000);
    // With the panel's lock the dial steps by the VFO's step.
    r.vfoObject.setTuneStep(100000);
    r.state().TuneStepLocked = true;
    r.dial.value = -29;
    r.core->dial.DialTuner_Changing();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'840'000); // the grid is at most 1 kHz
    EXPECT_DOUBLE_EQ(r.core->dial.DialStep(), 100000);
}

TEST(TuningDial, AfterWheelTuningAUsersTurnTunesInItsOwnDirection) {
    Tuned r;
    r.vfoObject.setTunedFrequency(140'000'000);
    r.dial.value = 40;
    r.core->dial.DialTuner_Changing(); // the dial's position is known: 40
    const int32_t start = r.vfoObject.TunedFrequency();
    r.state().ActiveKnob = 1;
    for (int i = 0; i < 3; ++i)
        r.wheelStep(+1);
    EXPECT_EQ(r.vfoObject.TunedFrequency(), start + 3 * 1000);
    EXPECT_EQ(r.dial.value, 43);
    EXPECT_FALSE(r.state().SkipDialChange);

    r.dial.value = 42; // the user turns one position down
    r.core->dial.DialTuner_Changing();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), start + 2 * 1000);

    r.wheelStep(-1);
    r.dial.value += 1; // a turn right after a wheel step tunes once
    r.core->dial.DialTuner_Changing();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), start + 2 * 1000);
}

TEST(TuningDial, TheTimersMoveKeepsTheDialInStep) {
    Tuned r;
    r.core->dial.moveByCode(1);
    r.core->dial.moveByCode(1);
    r.dial.value = 1;
    r.core->dial.DialTuner_Changing();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'740'000); // down, as turned
}

TEST(TuneOverScope, TheWheelOverTheSpectrumLeavesARequestUnlessTheStepIsLocked) {
    Tuned r;
    r.state().ActiveKnob = 16;
    r.wheelStep(-1);
    EXPECT_TRUE(r.state().TuneDownRequest);
    EXPECT_FALSE(r.state().TuneUpRequest);
    // Up on the keys repeats the direction of the last wheel step over the spectrum.
    r.state().TuneDownRequest = false;
    r.core->knobs.Form_KeyDown(kUp, 0);
    EXPECT_TRUE(r.state().TuneDownRequest);
    r.state().TuneDownRequest = false;
    r.vfoObject.setTuneStepLock(true);
    r.wheelStep(+1);
    EXPECT_FALSE(r.state().TuneUpRequest);
    EXPECT_FALSE(r.state().TuneDownRequest);
}
