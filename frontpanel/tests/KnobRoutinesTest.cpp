// The knob apply routines as the knob table runs them: what each carries into the receiver, the display
// and the twins, the captions they write, and their busy flags.
#include <gtest/gtest.h>

#include <cmath>

#include "frontpanel/tests/PanelRig.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "radio/modEncoder.h"

using paneltest::PanelRig;

namespace {

struct Filled : PanelRig {
    explicit Filled(bool withAnalyser = true) : PanelRig(withAnalyser) { core->knobs.FillKnobTable(); }
    MouseOverS::KnobRoutines& routines() { return core->routines; }
};

} // namespace

TEST(DisplayKnobs, TheSpanFollowsTheCentreAndWidthKnobsInEachMode) {
    struct Case {
        int32_t mode;
        float centre, width;
        int32_t start, stop, screenWidth;
        const char* widthCaption;
    };
    const Case cases[] = {
        {0, 511, 1023, 0, 1023, 0, "1,000"}, // 11.71875 Hz x 1024 / 12
        {0, 10, 100, 0, 60, 0, "60"},        // the start held at 0
        {0, 1000, 200, 900, 1023, 0, "121"}, // the stop held at the limit
        {1, 511, 5, 0, 9, 10, ""},           // at least 10
        {1, 511, 500, 0, 489, 490, ""},      // the width above its Min of 10
    };
    for (const Case& c : cases) {
        Filled r;
        SCOPED_TRACE(c.width);
        r.analyser.mode_ = c.mode;
        r.knob(15).Value = c.centre;
        r.knob(6).Value = c.width;
        r.routines().SetScopeXWidth();
        EXPECT_EQ(r.analyser.startBin, c.start);
        EXPECT_EQ(r.analyser.stopBin, c.stop);
        if (c.mode == 1) {
            EXPECT_EQ(r.analyser.screenWidth, c.screenWidth);
        }
        if (*c.widthCaption) {
            EXPECT_EQ(r.label(6).caption, c.widthCaption);
        }
    }
}

TEST(DisplayKnobs, TheCaptionsShowTheCentreFrequencyAndTheDivision) {
    Filled r;
    r.analyser.iq = true;
    r.analyser.fOffset = 14'000'000;
    r.knob(15).Value = 511;
    r.knob(6).Value = 1023;
    r.routines().SetScopeXWidth();
    EXPECT_EQ(r.label(15).caption, "14,012,000"); // (511 + 1) x 11.71875 x 2 + the offset
    EXPECT_EQ(r.label(6).caption, "2,000");
    r.analyser.mode_ = 1;
    r.knob(6).Format = "0.000";
    r.routines().SetScopeXWidth();
    EXPECT_EQ(r.label(6).caption, "3.602"); // 1013 points x 42.67 ms / 12
    r.analyser.mode_ = 2;
    r.label(6).caption = "unchanged";
    r.routines().SetScopeXWidth();
    EXPECT_EQ(r.label(6).caption, "unchanged");
}

TEST(DisplayKnobs, WithoutAnAnalyserTheSpanSkipsEveryStepAndTheOthersRaise) {
    Filled r(false);
    EXPECT_NO_THROW(r.routines().SetScopeXWidth());
    try {
        r.routines().SetChn1Gain();
        FAIL();
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
    }
}

TEST(DisplayKnobs, TimeModeCentreTakesTheWidthWithoutItsMin) {
    Filled r;
    r.analyser.mode_ = 1;
    r.knob(6).Value = 500;
    r.routines().SetScopeXCentre();
    EXPECT_EQ(r.analyser.screenWidth, 490);
    EXPECT_EQ(r.analyser.stopBin, 489);
    r.knob(6).Value = 2000; // held at the knob's Max
    r.routines().SetScopeXCentre();
    EXPECT_EQ(r.analyser.screenWidth, 1023);
}

TEST(DisplayKnobs, GainsShiftsBrightnessAveragingAndFrameRate) {
    Filled r;
    r.knob(2).Value = 2.5f;
    r.knob(5).Value = -40;
    r.knob(22).Value = 36.5f;
    r.knob(19).Value = 12.5f;
    r.knob(24).Value = 3;
    for (int16_t k : {int16_t{2}, int16_t{5}, int16_t{22}, int16_t{19}, int16_t{24}})
        r.knob(k).Apply();
    EXPECT_FLOAT_EQ(r.analyser.chn1Gain, 2.5f);
    EXPECT_FLOAT_EQ(r.analyser.chn2Shift, -40);
    EXPECT_EQ(r.analyser.brightness[1], 36); // rounded, halves to even
    EXPECT_EQ(r.analyser.smooth, 12);
    EXPECT_EQ(r.label(19).caption, "13"); // the caption's picture rounds halves away from zero
    EXPECT_EQ(r.analyser.frameRate, 3);
    EXPECT_EQ(r.label(24).caption, "3");
}

TEST(BfoKnob, TheBfoAndIfShiftKnobsShowTheOffset) {
    struct Case {
        float value;
        bool hiSide, iq, upper;
        int32_t centre;
        const char* caption;
    };
    for (const Case c :
         {Case{1000, true, false, false, 13000, "1000"}, Case{1000, false, false, false, 11000, "-1000"},
          Case{1000, false, true, false, 13000, "-1000"}}) {
        Filled r;
        r.state().HiSideLoActive = c.hiSide;
        r.state().IQMode = c.iq;
        r.state().IQSelectUpper = c.upper;
        BfoKnob& knob = r.routines();
        knob.setBfoValue(c.value);
        knob.SetBFO();
        EXPECT_EQ(r.state().MixerCentre, c.centre);
        EXPECT_EQ(r.state().NcoIncrement,
                  int32_t(std::floor(std::ldexp(1.0, 30) / 48000.0 * c.centre + 0.5)));
        EXPECT_EQ(r.label(20).caption, c.caption);
        EXPECT_EQ(r.label(23).caption, c.caption);
        EXPECT_FLOAT_EQ(r.knob(23).Value, static_cast<float>(r.state().BfoOffset));
    }
    Filled r;
    r.knob(23).Value = 500;
    r.state().NcoIncrement = 77;
    r.routines().SetIFShift();
    EXPECT_EQ(r.state().MixerCentre, 12500);
    EXPECT_EQ(r.state().NcoIncrement, 77);
    EXPECT_EQ(r.label(23).caption, "500");
}

TEST(VolumeKnob, CaptionsInDecibelsAndTheTwinsMovedFirst) {
    struct Case {
        float value;
        float attenuation;
        const char* caption;
    };
    for (const Case c : {Case{-30, 123, "before"}, Case{-100, -100, "-0.0"}, Case{-1000, -1000, "-20.0"},
                         Case{0, 0, "0.0"}, Case{8000, 9, "+19.1"}}) {
        Filled r;
        std::vector<std::string> order;
        int pumps = 0;
        runtime::ScopedHooks hooks({[&] { ++pumps; }, {}, {}});
        r.context.twins.dialOutVol = [&](int32_t v) { order.push_back("dial " + std::to_string(v)); };
        r.context.twins.sldOutVolume = [&](int32_t v) { order.push_back("slider " + std::to_string(v)); };
        r.rebuild();
        r.core->knobs.FillKnobTable();
        order.clear();
        pumps = 0;
        r.state().OutputAttenuation = 123;
        r.label(10).caption = "before";
        r.knob(10).Value = c.value;
        r.knob(10).Apply();
        EXPECT_FLOAT_EQ(r.state().OutputAttenuation, c.attenuation) << c.value;
        EXPECT_EQ(r.label(10).caption, c.caption) << c.value;
        EXPECT_EQ(order, (std::vector<std::string>{"dial " + std::to_string(int(c.value)),
                                                   "slider " + std::to_string(int(c.value))}));
        EXPECT_EQ(pumps, 2);
    }
}

TEST(NoiseReductionKnob, ShowsTheLevelTimesAHundredAndMovesItsTwinsWhileUpdating) {
    Filled r;
    std::vector<std::string> order;
    r.context.twins.sldNB = [&](int32_t v) {
        order.push_back("slider " + std::to_string(v) + (r.knob(9).Updating ? " updating" : ""));
    };
    r.context.twins.dialNB = [&](int32_t v) {
        order.push_back("dial " + std::to_string(v) + (r.knob(9).Updating ? " updating" : ""));
    };
    r.rebuild();
    r.core->knobs.FillKnobTable();
    order.clear();
    r.knob(9).Value = 10000;
    r.knob(9).Apply();
    EXPECT_FLOAT_EQ(r.state().NbLevel, 0.4f);
    EXPECT_EQ(r.label(9).caption, "40.00");
    EXPECT_EQ(order, (std::vector<std::string>{"slider 10000 updating", "dial 10000 updating"}));
    EXPECT_FALSE(r.knob(9).Updating);
    // A range of nothing: the division by zero ends the routine, and the twins may move again.
    r.knob(9).Max = r.knob(9).Min = 5;
    EXPECT_THROW(r.knob(9).Apply(), runtime::RuntimeError);
    EXPECT_FALSE(r.knob(9).Updating);
}

TEST(AgcKnobs, CaptionsInMilliseconds) {
    struct Case {
        int16_t knob;
        float value;
        const char* caption;
    };
    for (const Case c :
         {Case{13, 5, "0.5"}, Case{13, 100, "10.0"}, Case{14, 25, "2.0"}, Case{14, 35, "4.0"}}) {
        Filled r;
        r.knob(c.knob).Value = c.value;
        r.knob(c.knob).Apply();
        EXPECT_EQ(r.label(c.knob).caption, c.caption) << c.value;
    }
}

TEST(NotchKnobs, CentreAndWidthSetTheEdges) {
    struct Case {
        int32_t type;
        bool hiSide, iq;
        float value;
        int32_t centre;
    };
    const Case cases[] = {{0, true, true, 800, 800},
                          {1, true, true, 800, 11200},
                          {1, true, false, 800, 12800},
                          {1, false, true, 800, 12800},
                          {1, false, false, 800, 11200}};
    for (const Case& c : cases) {
        Filled r;
        r.vfoObject.setHiSideLo(c.hiSide);
        r.state().IQMode = c.iq;
        r.state().NotchType = c.type;
        r.state().NotchWidth = 301;
        r.filters.NotchFilter.Active = true;
        r.knob(11).Value = c.value;
        r.state().NotchDirty = false;
        r.knob(11).Apply();
        EXPECT_EQ(r.state().NotchCentre, c.centre);
        EXPECT_EQ(r.state().NotchLow, c.centre - 150);
        EXPECT_EQ(r.state().NotchHigh, c.centre + 150);
        EXPECT_TRUE(r.state().NotchDirty);
        EXPECT_EQ(r.label(11).caption, "800");
        EXPECT_FALSE(r.state().NotchBusy);
    }
    Filled r;
    r.state().NotchCentre = 100;
    r.knob(12).Value = 300;
    r.knob(12).Apply();
    EXPECT_EQ(r.state().NotchLow, 0);
    EXPECT_EQ(r.state().NotchHigh, 250);
    EXPECT_EQ(r.state().NotchWidth, 300);
    EXPECT_EQ(r.state().NotchWidthPrevious, 100);
    EXPECT_EQ(r.label(12).caption, "300");
}

TEST(NotchKnobs, TheCentreChangesNothingWhileANotchUpdateRuns) {
    Filled r;
    r.state().NotchBusy = true;
    r.label(11).caption = "before";
    r.knob(11).Value = 1234;
    r.knob(11).Apply();
    EXPECT_EQ(r.state().NotchCentre, 1000);
    EXPECT_EQ(r.label(11).caption, "before");
    EXPECT_TRUE(r.state().NotchBusy);
    // An inactive notch filter needs no rebuild.
    r.state().NotchBusy = false;
    r.state().NotchDirty = false;
    r.knob(11).Apply();
    EXPECT_EQ(r.state().NotchCentre, 1234);
    EXPECT_FALSE(r.state().NotchDirty);
}

TEST(WheelTuning, TuneByWheelStepsTheVfoAndTheDialAndLeavesNoSkipBehind) {
    Filled r;
    r.vfoObject.setTuneStep(1000);
    int pumps = 0;
    bool skipDuringPump = true;
    runtime::ScopedHooks hooks({[&] {
                                    ++pumps;
                                    skipDuringPump = r.state().SkipDialChange;
                                },
                                {},
                                {}});
    r.knob(1).LastWheelMsg.wParam = -120 * 65536;
    r.routines().TuneByWheel();
    EXPECT_EQ(r.vfoObject.TunedFrequency(), 140'740'000);
    EXPECT_EQ(r.dial.value, -1);
    EXPECT_EQ(r.core->dial.LastDialValue(), -1);
    EXPECT_EQ(pumps, 1);
    EXPECT_FALSE(skipDuringPump); // a real turn during the pump is a turn
    EXPECT_FALSE(r.state().SkipDialChange);
}

TEST(WheelTuning, AFailingTuneLeavesNeitherItsBusyFlagNorTheSkipSet) {
    PanelRig r;
    frontpanel::CurrentVfo none([] { return static_cast<clsVFO*>(nullptr); });
    frontpanel::FrontPanelContext c = r.context;
    frontpanel::FrontPanelContext withoutVfo{c.state, c.nerix, c.tables,  none,   c.dialtuner,
                                             c.shell, c.view,  c.dialogs, c.steps};
    frontpanel::FrontPanelCore core(withoutVfo);
    for (int i = 0; i < 2; ++i) { // the second call runs again: the busy flag was cleared
        try {
            core.routines.TuneByWheel();
            FAIL();
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
        }
        EXPECT_FALSE(r.state().SkipDialChange);
    }
}

TEST(ShaftEncoder, SerialEventsReachTheEncoderWhileItIsOn) {
    PanelRig r;
    ui::testing::FakePlatformTimers timers;
    frontpanel::PanelEncoderReadout readout(r.core->tuning, {});
    modEncoder::Encoder encoder(r.vfoObject, timers, readout, r.state().EnableShaftEncoder);
    r.context.encoder = &encoder;
    r.rebuild();
    const comm::ModemEvent cts{comm::kEvCts, 0x10};
    r.core->routines.QueueEncoderBits(cts);
    EXPECT_EQ(encoder.EncoderSampleCount(), 0);
    r.state().EnableShaftEncoder = true;
    r.core->routines.QueueEncoderBits(cts);
    EXPECT_EQ(encoder.EncoderSampleCount(), 1);
    EXPECT_EQ(r.core->routines.LastEncoderBits(), 0x10);
}
