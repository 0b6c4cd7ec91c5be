// The tuning-repeat, oscillator-refresh and clock ticks over a fake front panel and VFO.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mainwindow/PanelTimers.h"
#include "platform/runtime/RuntimeError.h"

namespace {

class FakePanel final : public mainwindow::PanelTimerPorts {
public:
    std::vector<std::string> log;
    int32_t tuned = 70'500'000;
    bool autoUpdate = true, busy = false, failReadout = false;
    int16_t rfInput = 1;
    double random = 0;
    int32_t interval = 1000;
    std::string clock;
    bool rit = false;

    void IncFreq(double s) override { log.push_back("Inc " + std::to_string(static_cast<int>(s))); }
    void DecFreq(double s) override { log.push_back("Dec " + std::to_string(static_cast<int>(s))); }
    int32_t TunedFrequency() override { return tuned; }
    bool AutoUpdate() override { return autoUpdate; }
    bool OscillatorBusy() override { return busy; }
    void RefreshOscillator() override { log.push_back("Refresh"); }
    void StepDial(int32_t d) override { log.push_back("Dial " + std::to_string(d)); }
    void Display7Seg(const std::string& digits) override {
        if (failReadout) runtime::raise(5, "Display7Seg");
        log.push_back("Readout " + digits);
    }
    void SetScopeXCentre() override { log.push_back("XCentre"); }
    void CopyTuningRate() override { log.push_back("Rate"); }
    int16_t SelectedRFInput() override { return rfInput; }
    void SelectRFInput(int16_t i) override {
        if (i != rfInput) log.push_back("RF " + std::to_string(i));
        rfInput = i;
    }
    void SetClock(const std::string& t) override { clock = t; }
    void EnableRit(bool e) override { rit = e; }
    void SetVfoUpdateInterval(int32_t ms) override { interval = ms; }
    double Random() override { return random; }
    std::chrono::system_clock::time_point UtcNow() override {
        return std::chrono::system_clock::time_point(
            std::chrono::seconds(86400 * 3 + 3600 * 23 + 60 * 45 + 15));
    }
};

TEST(TuningRepeat, ServesOneStepPerRequestAndNeverARequestClearedBetweenTicks) {
    ReceiverState st;
    FakePanel p;
    p.rfInput = 2; // "SW" above 1.8 MHz: nothing to switch
    mainwindow::PanelTimers t(st, p);
    st.RepeatStep = 250;
    st.TuneUpRequest = true;
    t.tmrTune_Timer("RXModel.Softrock");
    st.TuneDownRequest = true;
    st.TuneDownRequest = false; // key down and up between ticks
    t.tmrTune_Timer("RXModel.Softrock");
    st.TuneDownRequest = true;
    t.tmrTune_Timer("RXModel.Softrock");
    const std::vector<std::string> tick = {"Readout 070500000", "XCentre", "Rate"};
    std::vector<std::string> want = {"Inc 250", "Dial 1"};
    want.insert(want.end(), tick.begin(), tick.end());
    want.insert(want.end(), tick.begin(), tick.end());
    want.insert(want.end(), {"Dec 250", "Dial -1"});
    want.insert(want.end(), tick.begin(), tick.end());
    EXPECT_EQ(p.log, want);
    EXPECT_FALSE(st.TuneUpRequest || st.TuneDownRequest);

    // A failing statement is skipped and the tick goes on.
    p.log.clear();
    p.failReadout = true;
    t.tmrTune_Timer("RXModel.Softrock");
    EXPECT_EQ(p.log, (std::vector<std::string>{"XCentre", "Rate"}));
}

TEST(TuningRepeat, ShowsTheRitOffsetOnlyForTheElektorInFixedLoMode) {
    struct Case {
        const char* section;
        bool vfoControl;
        int32_t readout;
    };
    const Case cases[] = {{"RXModel.Elektor 2007-05 IQ SDR", true, 70'512'340},
                          {"RXModel.elektor 2007-05 iq sdr (b)", true, 70'512'340},
                          {"RXModel.Elektor 2007-05 IQ SDR", false, 70'500'000},
                          {"RXModel.Softrock", true, 70'500'000}};
    for (const Case& c : cases) {
        ReceiverState st;
        st.VFOControl = c.vfoControl;
        st.BfoOffset = 1234;
        FakePanel p;
        mainwindow::PanelTimers t(st, p);
        t.tmrTune_Timer(c.section);
        EXPECT_EQ(t.ReadoutFrequency, c.readout) << c.section << c.vfoControl;
    }
}

TEST(TuningRepeat, SwitchesBetweenMwAndSwAt1_8MHzOnlyWhileOneOfThemOrNoneIsChosen) {
    struct Case {
        int16_t selected;
        int32_t tuned;
        int16_t after;
    };
    const Case cases[] = {{1, 17'999'999, 1},  {1, 18'000'000, 2}, {2, 17'999'999, 1}, {2, 18'000'000, 2},
                          {-1, 18'000'000, 2}, {0, 18'000'000, 0}, {3, 1'000, 3},      {7, 18'000'000, 7}};
    for (const Case& c : cases) {
        ReceiverState st;
        FakePanel p;
        p.rfInput = c.selected;
        p.tuned = c.tuned;
        mainwindow::PanelTimers t(st, p);
        t.tmrTune_Timer("RXModel.Softrock");
        EXPECT_EQ(p.rfInput, c.after) << c.selected << " " << c.tuned;
    }
}

TEST(OscillatorRefresh, RefreshesWhenFreeAndDrawsTheNextIntervalIn1500To3000) {
    struct Case {
        bool autoUpdate, busy;
        double r;
        bool refreshed;
        int32_t interval;
    };
    const Case cases[] = {{false, false, 0.5, false, 1000},    {true, false, 0.0, true, 1500},
                          {true, true, 0.999999, false, 3000}, {true, false, 0.5, true, 2250},
                          {true, false, 0.125, true, 1688},    {true, false, 0.375, true, 2062}};
    for (const Case& c : cases) {
        ReceiverState st;
        FakePanel p;
        p.autoUpdate = c.autoUpdate;
        p.busy = c.busy;
        p.random = c.r;
        mainwindow::PanelTimers t(st, p);
        t.tmrVFOUpdate_Timer();
        EXPECT_EQ(!p.log.empty(), c.refreshed) << c.r;
        EXPECT_EQ(p.interval, c.interval) << c.r;
    }
}

TEST(Clock, ShowsTheUtcTimeAndEnablesTheRitForFixedLoModels) {
    for (const bool vfoControl : {true, false}) {
        ReceiverState st;
        st.VFOControl = vfoControl;
        FakePanel p;
        mainwindow::PanelTimers t(st, p);
        t.tmrClock_Timer();
        EXPECT_EQ(p.clock, "23:45:15");
        EXPECT_EQ(p.rit, vfoControl);
    }
}

} // namespace
