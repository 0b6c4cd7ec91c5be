// The receiver without a window: the start-up's trace lines and the orders later steps rely on, its
// failing steps, a second load, and the readout's refresh, a block's redraw and the power button reaching
// their cores with no widget in between.
#include <algorithm>

#include <gtest/gtest.h>

#include "mainwindow/tests/ReceiverRig.h"
#include "platform/runtime/Convert.h"

namespace {

using mainwindowtest::expectedTrace;
using mainwindowtest::loadTrace;

struct ReceiverStartUp : ::testing::Test, mainwindowtest::ReceiverRig {
    static size_t at(const std::vector<std::string>& v, const std::string& what) {
        const auto it = std::find(v.begin(), v.end(), what);
        EXPECT_NE(it, v.end()) << what;
        return static_cast<size_t>(it - v.begin());
    }
};

TEST_F(ReceiverStartUp, RunsEveryStepInItsOrderWithoutAWindow) {
    store.SaveSetting("NerixSDR", "frmMain", "AutoStartSDR", "True");
    store.SaveSetting("NerixSDR", "frmMain", "FormCaptionOffOnPwrOn", "True");
    store.SaveSetting("NerixSDR", "frmMain", "DisplayMode", "2");
    traceIntoEffects = true;
    mainwindow::Receiver& r = make();
    r.Form_Load();
    traceIntoEffects = false;
    EXPECT_EQ(loadTrace(log), expectedTrace());
    // Made and coloured before it is shown; the tables before the restore, then the sound format.
    EXPECT_LT(at(effects, "CreateAnalyser"), at(effects, "Show"));
    EXPECT_LT(at(effects, "Show"), at(effects, "Recolour widgets"));
    EXPECT_LT(at(effects, "frmMain:frmMain:Form_Load:Initialising NotchFilter Default Values"),
              at(effects, "RestoreSettings"));
    EXPECT_LT(at(effects, "RestoreSettings"), at(effects, "SoundFormat"));
    // The saved power, then the load's title bar, then the saved layout, last.
    EXPECT_LT(at(effects, "Power 0"), at(effects, "TitleBar off"));
    const auto lastStep = std::find_if(effects.rbegin(), effects.rend(),
                                       [](const std::string& e) { return e.rfind("frmMain:", 0) != 0; });
    EXPECT_EQ(*lastStep, "Layout 2");
    // Receiving, with the timers and the tracking running and the wheel hooked.
    ASSERT_TRUE(r.SoundCard);
    EXPECT_TRUE(r.SoundCard->InAction());
    using mainwindow::WindowTimer;
    EXPECT_EQ(window.timers[WindowTimer::Tune], 250);
    EXPECT_EQ(window.timers[WindowTimer::VfoUpdate], 1000);
    EXPECT_EQ(window.timers[WindowTimer::Clock], 500);
    EXPECT_TRUE(window.tracking);
    EXPECT_TRUE(window.wheel);
    // The encoder is off: its poll waits for the switch.
    EXPECT_FALSE(timers.isArmed(&r, 4));
    state().EnableShaftEncoder = true;
    r.EncoderSwitchChanged();
    EXPECT_TRUE(timers.isArmed(&r, 4));
    EXPECT_EQ(window.caption,
              "NerixSDR - " + models.RxModels.at(static_cast<size_t>(state().SDRModelNo)).Name);
    EXPECT_FALSE(r.FormLoading);
}

TEST_F(ReceiverStartUp, ReachesItsEndPastFailingStepsAndDoesTheRest) {
    initialiseRX = [] { runtime::raise(8002, "frmMain.InitialiseRX"); };
    failAnalyser = true;
    mainwindow::Receiver& r = make();
    r.Form_Load();
    EXPECT_EQ(loadTrace(log), expectedTrace());
    EXPECT_FALSE(r.Analyser);
    EXPECT_TRUE(r.SoundCard);
    EXPECT_TRUE(r.Path);
    EXPECT_TRUE(r.WavFile);
    EXPECT_TRUE(r.RecorderPanel);
    EXPECT_EQ(r.SoundCard->SamplesPerEvent(), 2048);
    EXPECT_EQ(r.Bands.cboBandSelect.ListIndex(), 0);
    EXPECT_EQ(window.stats[9].empty(), false); // the thread's id, after the analyser failed
}

TEST_F(ReceiverStartUp, ASecondLoadWhileTheFirstRunsOnlyTracesAndSetsTheCaption) {
    mainwindow::Receiver& r = make();
    int pumps = 0;
    onPump = [&] {
        if (++pumps != 1) return;
        const size_t before = log.size();
        window.caption = "something else";
        r.Form_Load();
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(before), log.end()),
                  std::vector<std::string>{"frmMain:frmMain:Form_Load:Start"});
        EXPECT_EQ(window.caption, "NerixSDR");
        EXPECT_TRUE(r.FormLoadBusy());
    };
    r.Form_Load();
    EXPECT_GE(pumps, 1);
    EXPECT_EQ(std::count(effects.begin(), effects.end(), "RestoreSettings"), 1);
    EXPECT_EQ(loadTrace(log).back(), ":End");
}

// The cores reach each other through the receiver alone: the readout's refresh shows the VFO's frequency,
// a played block asks the display's pacing for a frame, and the power button starts and stops sound.
TEST_F(ReceiverStartUp, TheReadoutsRefreshABlocksRedrawAndThePowerButtonReachTheirCores) {
    mainwindow::Receiver& r = make();
    r.Form_Load();
    ASSERT_TRUE(r.Pacing && r.Path && r.SoundCard);

    vfo.setTunedFrequency(71'234'560);
    r.tmrTune_Timer();
    std::string shown;
    for (const std::string& d : readout.digits)
        shown += d;
    EXPECT_EQ(shown, vfo.FormattedTunedFreq());

    std::vector<int16_t> block(2048);
    r.Path->Drivers().DataOut(block, 0, 2048);
    EXPECT_EQ(timers.askedMs(r.Pacing.get(), frmUpDateScopeDisplay::kTimerId),
              frmUpDateScopeDisplay::kBlockArmMs);
    EXPECT_EQ(window.timers[mainwindow::WindowTimer::PerfStats], 10);

    r.optPwr_Click(0);
    EXPECT_TRUE(r.SoundCard->InAction());
    r.optPwr_Click(1);
    EXPECT_FALSE(r.SoundCard->InAction());
    r.optPwr_Click(2);
    EXPECT_EQ(effects.back(), "Close");
}

} // namespace
