// The display panel as the main window composes it: its widgets over the panel's core, the real analyser
// drawing on the panel's pictures, the front panel's knob table, and a real VFO tuning an AD9850 on the
// simulated parallel port. Worked offscreen as a user works it: clicks on the boxes and buttons, the
// pointer over the display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "display/DisplayStartUp.h"
#include "display/ScopePanel.h"
#include "display/ScopePanelCore.h"
#include "frontpanel/ReceiverControls.h"
#include "frontpanel/tests/PanelRig.h"
#include "mainwindow/DisplayAdapters.h"
#include "platform/ui/Form.h"
#include "radio/clsAD9850.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"
#include "radio/testing/Wirings.h"

namespace {

using display::ScopePart;

// The main window's hover routines as the panel reaches them, recorded; like the window's own they
// clear ActiveKnob when they unmark.
struct Shell final : frontpanel::ShellHighlight {
    explicit Shell(ReceiverState& s) : state(s) {}
    void HighlightValueLabel(int16_t& Index) override {
        if (Index < 0) Index = state.ActiveKnob;
        calls.push_back("Highlight " + std::to_string(Index));
        state.ActiveKnob = Index;
    }
    void UnhighlightValueLabel() override { UnhighlightValueLabel(state.ActiveKnob); }
    void UnhighlightValueLabel(int16_t Index) override {
        calls.push_back("Unhighlight " + std::to_string(Index));
        state.ActiveKnob = 0;
    }
    void DarkenControls() override {
        calls.push_back("Darken");
        state.ActiveKnob = 0;
    }
    void FocusFrame(frontpanel::KnobFrame) override { calls.push_back("FocusFrame"); }
    void UnFocusFrames() override { calls.push_back("UnFocusFrames"); }
    void focusSink() override {}

    ReceiverState& state;
    std::vector<std::string> calls;
};

class ScopePanelWorld : public ::testing::Test {
protected:
    void SetUp() override {
        line.Initialise();
        osc.setClkIn(100'000'000);
        osc.setIFHandler(&line);
        osc.Initialise();
        vfoObject.setOscType(&osc);
        vfoObject.setRXMinFreq(0);
        vfoObject.setRxMaxFreq(30'000'000);
        vfoObject.setTunedFrequency(71'000'000);

        // The start-up's order: the analyser switch, the knob table, the analyser on the panel's
        // pictures with the stored mode shown, then the restored state.
        panel.connect(scope, front);
        display::connectWindowHover(scope, receiver, picCalib);
        picCalib.Move(60, 5000, 2000, 600);
        picRecorder.Move(2200, 5000, 4000, 600);
        picElektor200705.Move(6400, 5000, 4000, 600);
        display::startup::ShowAnalyserActive(scope);
        front.knobs.FillKnobTable();
        startUp();
        form.setClientSize(12500, 5700);
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void startUp() {
        display::startup::InitialiseSpectrumAnalyser(scope,
                                                     [this](const char* step) { trace.push_back(step); });
        display::startup::ShowRestoredScopeState(scope);
    }
    ReceiverState& state() { return dsp.state; }
    ScrollLabel& knob(int16_t k) { return front.ctlArray[static_cast<size_t>(k)]; }
    // A click on a control, on a box's or button's mark.
    static void click(ui::Control& c, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* w = c.widget();
        const bool marked = dynamic_cast<ui::CheckBox*>(&c) || dynamic_cast<ui::OptionButton*>(&c);
        QTest::mouseClick(w, button, Qt::NoModifier,
                          marked ? QPoint(6, w->height() / 2) : w->rect().center());
    }
    // The pointer over a display picture at a pixel.
    void moveOver(int16_t picture, QPoint pixel) {
        QTest::mouseMove(panel.picScope[picture].widget(), pixel);
    }
    // The frequency the AD9850 was last sent, from its pins.
    double sentHertz() const {
        const auto latches =
            pins::decodeAd985x(pins::threeWireSamples(bench.trace, pins::wiring::parallel()));
        if (latches.empty()) return -1;
        return latches.back().tuningWord * 100e6 / 4294967296.0;
    }

    DspLibraries dsp;
    profile::MemorySettingsStore store;
    pins::PinBench bench;
    clsDDSParallelIF line{bench.store, bench.timing, bench.lpt};
    clsAD9850 osc{bench.store};
    clsVFO vfoObject{store};
    frontpanel::CurrentVfo vfo{[this] { return &vfoObject; }};
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    Shell shell{dsp.state};
    paneltest::FakeDial dial;
    paneltest::RecordingView readout;
    ui::testing::ScriptedDialogService dialogs;
    ui::Form form;
    display::ScopePanel panel{&form, 60, 60};
    // The front panel's frames below the display, with the calibration panel under them.
    ui::PictureBox picElektor200705{&form}, picRecorder{&form}, picCalib{&form};
    frontpanel::ReceiverControls receiver{
        {&form, 60, 3100, 10600, 5000, picElektor200705.widget(), picRecorder.widget(), picCalib.widget()}};
    clsSpectrumAnalyser analyser{store, dsp.state, dsp.wrappers};
    mainwindow::AnalyserKnobSettings analyserKnobs{analyser};
    frontpanel::FrontPanelCore front{{dsp.state, dsp.wrappers, tables, vfo, dial, shell, readout, dialogs,
                                      paneltest::kTuningSteps, nullptr, &analyserKnobs}};
    display::ScopePanelCore scope{{dsp.state, analyser, front.ctlArray, front.routines, shell, vfo, panel}};
    std::vector<std::string> trace;
};

TEST_F(ScopePanelWorld, TheStartUpShowsTheStoredStateOnThePanel) {
    // As the first start-up left it: the spectrum, "IF in" 12 kHz below the tuned 7.1 MHz, both switches
    // as stored.
    EXPECT_EQ(trace, std::vector<std::string>{":Initialising SpectrumAnalyser"});
    EXPECT_EQ(panel.chkScopeMode[0].Value(), 1);
    EXPECT_TRUE(panel.optSpectrumSource[0].Value());
    EXPECT_EQ(analyser.FOffset, 7'088'000);
    EXPECT_EQ(analyser.FEnd, 24000);
    EXPECT_EQ(panel.chkSpectrumAnalyser.Value(), analyser.Active ? 1 : 0);
    EXPECT_EQ(panel.chkScopeShowFilters.Value(), analyser.ShowFilter() ? 1 : 0);
    EXPECT_EQ(analyser.Points, 2048); // init made the transform of order 11

    // Stored otherwise: the time scope, "AF Out", statistics on, the analyser off, the notch on.
    analyser.setMode(1);
    analyser.setShowFilter(true);
    analyser.Active = false;
    state().ScopeSource = ScopeSource::AFOut;
    state().PerfStatsOn = true;
    state().NotchActive = true;
    startUp();
    EXPECT_EQ(analyser.mode(), 1);
    EXPECT_EQ(panel.chkScopeMode[1].Value(), 1);
    EXPECT_EQ(panel.chkScopeMode[0].Value(), 0);
    EXPECT_EQ(panel.frScopeSweep.Caption(), "Timebase");
    EXPECT_TRUE(panel.chkTrigOn[1].Visible());
    EXPECT_EQ(panel.chkScopeShowFilters.Value(), 1);
    EXPECT_TRUE(panel.optSpectrumSource[3].Value());
    EXPECT_EQ(analyser.FEnd, 6000);
    EXPECT_EQ(analyser.FOffset, 0);
    EXPECT_EQ(panel.chkPerfStatsOn.Value(), 1);
    EXPECT_EQ(panel.chkSpectrumAnalyser.Value(), 0);
    EXPECT_TRUE(analyser.ShowNotch());

    // A stored source point past the buttons is skipped; the rest still shows.
    state().ScopeSource = 7;
    state().PerfStatsOn = false;
    startUp();
    EXPECT_TRUE(panel.optSpectrumSource[3].Value());
    EXPECT_EQ(panel.chkPerfStatsOn.Value(), 0);
}

TEST_F(ScopePanelWorld, EachDisplayModeShowsItsControlsAndCaptions) {
    const struct {
        int16_t mode;
        std::vector<ScopePart> shown;
        const char* sweepCaption;
        const char* unitCaption;
        const char* widthFormat;
        bool yModeEnabled;
    } cases[] = {
        {1,
         {ScopePart::chkChn1On, ScopePart::chkChn2On, ScopePart::frScopeSweep, ScopePart::chkTrigOn1,
          ScopePart::chkTrigOn2, ScopePart::lblScopeCtl2, ScopePart::lblScopeCtl3},
         "Timebase",
         "ms/Div",
         "0.000",
         false},
        {2, {ScopePart::lblScopeCtl2, ScopePart::lblScopeCtl3}, "Timebase", "ms/Div", "0.000", false},
        {0,
         {ScopePart::chkChn1On, ScopePart::chkChn2On, ScopePart::frScopeYMode, ScopePart::frScopeSweep,
          ScopePart::chkScopeShowFilters, ScopePart::lblScopeXCentre, ScopePart::lblScopeCtl7},
         "Sweep",
         "Hz/Div",
         "#,###",
         true},
    };
    const std::vector<std::pair<ScopePart, ui::Control*>> parts = {
        {ScopePart::frScopeSweep, &panel.frScopeSweep},
        {ScopePart::frScopeYMode, &panel.frScopeYMode},
        {ScopePart::chkTrigOn1, &panel.chkTrigOn[1]},
        {ScopePart::chkTrigOn2, &panel.chkTrigOn[2]},
        {ScopePart::lblScopeCtl2, &panel.lblScopeCtl[2]},
        {ScopePart::lblScopeCtl3, &panel.lblScopeCtl[3]},
        {ScopePart::chkScopeShowFilters, &panel.chkScopeShowFilters},
        {ScopePart::chkChn1On, &panel.chkChn1On},
        {ScopePart::chkChn2On, &panel.chkChn2On},
        {ScopePart::lblScopeXCentre, &panel.lblScopeXCentre.label},
        {ScopePart::lblScopeCtl7, &panel.lblScopeCtl[7]},
    };
    for (const auto& c : cases) {
        click(panel.chkScopeMode[c.mode]);
        EXPECT_EQ(analyser.mode(), c.mode);
        for (int16_t i = 0; i <= 2; ++i)
            EXPECT_EQ(panel.chkScopeMode[i].Value(), i == c.mode ? 1 : 0) << c.mode << " box " << i;
        for (const auto& [which, control] : parts) {
            const bool shown = std::find(c.shown.begin(), c.shown.end(), which) != c.shown.end();
            EXPECT_EQ(control->Visible(), shown) << "mode " << c.mode << " part " << static_cast<int>(which);
        }
        EXPECT_EQ(panel.frScopeSweep.Caption(), c.sweepCaption) << c.mode;
        EXPECT_EQ(panel.lblScopeCtl[6].Caption(), c.unitCaption) << c.mode;
        EXPECT_EQ(knob(kScopeXWidthKnob).Format, c.widthFormat) << c.mode;
        EXPECT_EQ(panel.frScopeYMode.Enabled(), c.yModeEnabled) << c.mode;
        if (c.mode != 0) {
            // Fast and linear, with "Fast" and "Lin" ticked.
            EXPECT_TRUE(analyser.FastMode());
            EXPECT_FALSE(analyser.LogMode());
            EXPECT_EQ(panel.chkSmoothSpectrum.Value(), 1);
            EXPECT_EQ(panel.chkLog.Value(), 1);
            EXPECT_FALSE(panel.lblSpectrumSmooth.label.Visible());
        }
    }
    // Back in the spectrum, the Y mode switches show what the spectrum's record stored: log, averaged.
    EXPECT_TRUE(analyser.LogMode());
    EXPECT_FALSE(analyser.FastMode());
    EXPECT_EQ(panel.chkLog.Value(), 0);
    EXPECT_EQ(panel.chkSmoothSpectrum.Value(), 0);
    EXPECT_TRUE(panel.lblSpectrumSmooth.label.Visible());
    // The span comes from the knobs, not from the sliders' handling that ran before.
    EXPECT_EQ(analyser.StartBin, 0);
    EXPECT_EQ(analyser.StopBin, 1023);
}

TEST_F(ScopePanelWorld, TheTriggerBoxesActAsAChoice) {
    click(panel.chkScopeMode[1]);
    ASSERT_EQ(panel.chkTrigOn[1].Value(), 1); // the time scope's stored trigger flag
    click(panel.chkTrigOn[2]);
    EXPECT_EQ(panel.chkTrigOn[1].Value(), 0);
    EXPECT_EQ(panel.chkTrigOn[2].Value(), 1);
    EXPECT_EQ(analyser.TriggerChn(), 2);
    click(panel.chkTrigOn[2]); // the ticked box again: it stays ticked
    EXPECT_EQ(panel.chkTrigOn[2].Value(), 1);
    EXPECT_EQ(analyser.TriggerChn(), 2);
    click(panel.chkTrigOn[1]);
    EXPECT_EQ(panel.chkTrigOn[1].Value(), 1);
    EXPECT_EQ(panel.chkTrigOn[2].Value(), 0);
    EXPECT_EQ(analyser.TriggerChn(), 1);
}

TEST_F(ScopePanelWorld, TickingTimeTakesBoxOneWhateverTheRecordSaid) {
    // The time scope's record triggers on channel 2; box 1 is ticked from the spectrum's record.
    analyser.setMode(1);
    analyser.setTriggerChn(2);
    analyser.setMode(0);
    click(panel.chkScopeMode[1]);
    click(panel.chkScopeMode[0]);
    ASSERT_EQ(panel.chkTrigOn[1].Value(), 1);
    analyser.setMode(1);
    analyser.setTriggerChn(2);
    analyser.setMode(0);

    click(panel.chkScopeMode[1]);
    EXPECT_EQ(panel.chkTrigOn[1].Value(), 1);
    EXPECT_EQ(panel.chkTrigOn[2].Value(), 0);
    EXPECT_EQ(analyser.TriggerChn(), 1);
    EXPECT_TRUE(analyser.Chn1Trig());
    EXPECT_FALSE(analyser.Chn2Trig());
}

TEST_F(ScopePanelWorld, TheSourcePointSetsTheViewAndAsksForAFilterRebuild) {
    state().HiSideLoActive = false;
    state().FiltersDirty = false;
    click(panel.optSpectrumSource[3]);
    EXPECT_EQ(state().ScopeSource, ScopeSource::AFOut);
    EXPECT_EQ(analyser.FStart, 0);
    EXPECT_EQ(analyser.FEnd, 6000);
    EXPECT_TRUE(analyser.ReverseSpectrum);
    EXPECT_EQ(analyser.FOffset, 0);
    EXPECT_TRUE(state().FiltersDirty);
    EXPECT_EQ(panel.optSpectrumSource[3].ForeColor(), 0xFFFF00);
    EXPECT_EQ(panel.optSpectrumSource[0].ForeColor(), 0xC0C000);

    state().FiltersDirty = false;
    const int32_t startBin = analyser.StartBin, stopBin = analyser.StopBin;
    click(panel.optSpectrumSource[0]);
    EXPECT_EQ(state().ScopeSource, ScopeSource::IFIn);
    EXPECT_EQ(analyser.FEnd, 24000);
    EXPECT_FALSE(analyser.ReverseSpectrum);
    EXPECT_EQ(analyser.FOffset, 7'088'000); // 12 kHz below 7.1 MHz
    EXPECT_TRUE(state().FiltersDirty);
    // The bins shown stay as the knobs set them.
    EXPECT_EQ(analyser.StartBin, startBin);
    EXPECT_EQ(analyser.StopBin, stopBin);
}

TEST_F(ScopePanelWorld, TheSlidersInTheirHolder) {
    panel.sldSpectrumGain.setValue(0);
    EXPECT_EQ(analyser.Gain, 16.0f);
    EXPECT_EQ(panel.sldSpectrumGain.ToolTipText(), "YGain : 24 dB");
    panel.sldSpectrumGain.MouseDown(2, 0, 0, 0); // the right button: back to the middle
    EXPECT_EQ(panel.sldSpectrumGain.Value(), 4);
    EXPECT_EQ(analyser.Gain, 1.0f);
    EXPECT_EQ(panel.sldSpectrumGain.ToolTipText(), "YGain : 0 dB");
    click(panel.chkSpectrumAutoGain);
    EXPECT_TRUE(analyser.AutoGain);
    panel.sldSpectrumGain.setValue(2);
    EXPECT_EQ(analyser.Gain, 1.0f);
    EXPECT_EQ(panel.sldSpectrumGain.ToolTipText(), "YGain : 0 dB");

    // A width below 10 counts as 10, in the spectrum and in the time scope.
    ASSERT_EQ(panel.sldXWidth.Min(), 0); // the mode change set the range at start-up's click
    panel.sldXCentre.setValue(500);
    panel.sldXWidth.setValue(4);
    EXPECT_EQ(analyser.StartBin, 495);
    EXPECT_EQ(analyser.StopBin, 505);
    EXPECT_EQ(panel.sldXWidth.ToolTipText(), "Spectrum Width : 20 Hz/div");
    click(panel.chkScopeMode[1]);
    panel.sldXWidth.setValue(5);
    EXPECT_EQ(analyser.ScreenWidth, 10);
    EXPECT_EQ(analyser.StopBin, 9);
    EXPECT_EQ(panel.sldXWidth.ToolTipText(), "Timebase : 00.02 mS/div");
}

// A slider or another mode can leave bins and widths beyond the traces: the frames never read outside.
TEST_F(ScopePanelWorld, StaleBinsFromTheControlsNeverReadOutsideTheTraces) {
    std::vector<int16_t> samples(2048);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(8000 * std::sin(0.05 * static_cast<double>(i)));
    click(panel.chkScopeMode[1]);
    panel.sldXWidth.MouseDown(2, 0, 0, 0); // the whole range: a screen of 24000 samples
    ASSERT_EQ(analyser.ScreenWidth, 24000);
    analyser.LoadSamples_INT16(samples, samples);
    analyser.Display();
    click(panel.chkScopeMode[2]); // X-Y walks the bins the time scope left
    EXPECT_EQ(analyser.StopBin, 23999);
    analyser.Display();
    analyser.Display();
    EXPECT_FALSE(analyser.InDisplay);
    EXPECT_TRUE(panel.picScope[0].Visible() != panel.picScope[1].Visible());
}

TEST_F(ScopePanelWorld, ThePointerShowsTheFrequencyUnderItAndALeftClickTunesThere) {
    click(panel.optSpectrumSource[0]); // 12 kHz below 7.1 MHz
    vfoObject.setTunedFrequency(70'000'000);
    // 1024 bins across 512 pixels: pixel 250 is entry 500.
    analyser.StopBin = 1024;
    analyser.setMode(0);
    moveOver(0, QPoint(250, 40));
    EXPECT_EQ(panel.picScope[0].Tag, "7099719.25");
    EXPECT_EQ(panel.picScope[1].Tag, "7099719.25");
    EXPECT_EQ(scope.ScopeFreqFormat(), "#0 000 000");
    EXPECT_EQ(panel.lblSpectrumFreq[0].Caption(), "7 099 719");
    EXPECT_EQ(panel.lblSpectrumFreq[1].Caption(), "7 099 719");
    EXPECT_TRUE(panel.lblSpectrumFreq[0].Visible());
    EXPECT_FALSE(panel.lblSpectrumFreq[1].Visible());
    EXPECT_NEAR(panel.lblSpectrumFreq[0].Left(), 517, 2.0); // 17 entries right of the pointer
    EXPECT_EQ(state().ActiveKnob, 0);                       // the wheel option is off

    QTest::mouseClick(panel.picScope[0].widget(), Qt::RightButton, Qt::NoModifier, QPoint(250, 40));
    EXPECT_EQ(vfoObject.TunedFrequency(), 70'000'000);
    QTest::mouseClick(panel.picScope[0].widget(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 40));
    EXPECT_EQ(vfoObject.TunedFrequency(), 71'000'000);
    EXPECT_NEAR(sentHertz(), 7'100'000, 0.03);

    // Near the right edge the label stays inside the picture.
    moveOver(0, QPoint(505, 40));
    const ui::Label& label = panel.lblSpectrumFreq[0];
    EXPECT_LE(label.Left(), panel.picScope[0].Left() + 1024 - label.Width() + 2.0);
    EXPECT_GT(label.Left(), 900);

    // Off the display the labels go.
    QTest::mouseMove(panel.imgAreaScope.widget(), QPoint(2, 2));
    EXPECT_FALSE(panel.lblSpectrumFreq[0].Visible());
    EXPECT_FALSE(panel.lblSpectrumFreq[1].Visible());
}

TEST_F(ScopePanelWorld, TheAudioViewShowsPlainHertzAndAClickTunesNothing) {
    click(panel.optSpectrumSource[3]);
    analyser.StopBin = 1024;
    analyser.setMode(0);
    // Two frames: the second is drawn on picture 1, which then shows.
    analyser.Display();
    analyser.Display();
    ASSERT_TRUE(panel.picScope[1].Visible());
    moveOver(1, QPoint(250, 40));
    EXPECT_EQ(scope.ScopeFreqFormat(), "###0");
    EXPECT_EQ(panel.lblSpectrumFreq[1].Caption(), "11719");
    EXPECT_TRUE(panel.lblSpectrumFreq[1].Visible());
    EXPECT_FALSE(panel.lblSpectrumFreq[0].Visible());
    const std::size_t sent =
        pins::decodeAd985x(pins::threeWireSamples(bench.trace, pins::wiring::parallel())).size();
    QTest::mouseClick(panel.picScope[1].widget(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 40));
    EXPECT_EQ(vfoObject.TunedFrequency(), 71'000'000);
    EXPECT_EQ(pins::decodeAd985x(pins::threeWireSamples(bench.trace, pins::wiring::parallel())).size(), sent);

    // With the tooltip hidden neither label shows.
    analyser.setHideFreqToolTip(true);
    moveOver(1, QPoint(100, 40));
    EXPECT_FALSE(panel.lblSpectrumFreq[0].Visible());
    EXPECT_FALSE(panel.lblSpectrumFreq[1].Visible());
}

TEST_F(ScopePanelWorld, WithTheWheelOptionThePointersHeightChoosesTheTuningStep) {
    state().ScrollWheelEnableOverScope = true;
    click(panel.optSpectrumSource[0]);
    const int bottom = panel.picScope[0].widget()->height() - 1;
    const struct {
        bool linear;
        int row;
        const char* text;
        double tuneStep;
    } cases[] = {
        {false, 0, "1000", 10000},      // the top of the logarithmic spectrum
        {false, bottom, "10", 100},     // near its bottom
        {true, bottom - 20, "10", 100}, // the lower half of the linear spectrum
        {true, 0, "500", 5000},         // the linear scale's top is half its range up
    };
    for (const auto& c : cases) {
        if ((panel.chkLog.Value() == 1) != c.linear) click(panel.chkLog);
        ASSERT_EQ(analyser.LogMode(), !c.linear);
        moveOver(0, QPoint(100, c.row));
        EXPECT_EQ(state().ActiveKnob, PicScopeIndex);
        EXPECT_EQ(knob(PicScopeIndex).Text, c.text) << c.row;
        EXPECT_EQ(vfoObject.TuneStep(), c.tuneStep) << c.row;
        EXPECT_EQ(state().RepeatStep, c.tuneStep) << c.row;
        EXPECT_NE(panel.lblSpectrumFreq[0].Caption().find(std::string(" : ") + c.text), std::string::npos)
            << panel.lblSpectrumFreq[0].Caption();
    }
}

TEST_F(ScopePanelWorld, LeavingTheDisplayAndTheFramesAroundIt) {
    const struct {
        const char* where;
        std::function<void()> move;
        std::vector<std::string> calls;
    } cases[] = {
        {"container",
         [&] { QTest::mouseMove(panel.picScopeContainer.widget(), QPoint(600, 192)); },
         {"UnFocusFrames", "Unhighlight 0"}},
        {"controls",
         [&] { QTest::mouseMove(panel.picScopeCtls.widget(), QPoint(300, 185)); },
         {"Unhighlight 0"}},
        {"image area", [&] { QTest::mouseMove(panel.imgAreaScope.widget(), QPoint(1, 100)); }, {"Darken"}},
        {"calibration panel",
         [&] { QTest::mouseMove(picCalib.widget(), QPoint(picCalib.widget()->width() - 2, 2)); },
         {"Darken"}},
        {"bare window", [&] { scope.Form_MouseMove(); }, {"Darken"}},
        {"mode frame",
         [&] { QTest::mouseMove(receiver.frDemod.widget(), QPoint(3, 3)); },
         {"UnFocusFrames", "Unhighlight 7", "Unhighlight 8", "Unhighlight 0"}},
        {"filter frame",
         [&] { QTest::mouseMove(receiver.frFilter.widget(), QPoint(3, 3)); },
         {"UnFocusFrames", "Unhighlight 0", "Unhighlight 7", "Unhighlight 8"}},
        {"a knob frame",
         [&] { QTest::mouseMove(panel.frScopeChn1Ctl.widget(), QPoint(3, 3)); },
         {"FocusFrame"}},
    };
    for (const auto& c : cases) {
        state().ActiveKnob = 16;
        panel.lblSpectrumFreq[0].setVisible(true);
        shell.calls.clear();
        c.move();
        EXPECT_EQ(shell.calls, c.calls) << c.where;
        if (c.calls.back() != "FocusFrame") {
            EXPECT_EQ(state().ActiveKnob, 0) << c.where;
        }
    }
    // The mode and filter frames' captions take the focus colour.
    state().SDRColourSchemes.FrameFocus = 0x00FFFF;
    receiver.frDemod.setForeColor(0);
    receiver.frFilter.setForeColor(0);
    QTest::mouseMove(receiver.frDemod.widget(), QPoint(4, 4));
    EXPECT_EQ(receiver.frDemod.ForeColor(), 0x00FFFF);
    QTest::mouseMove(receiver.frFilter.widget(), QPoint(4, 4));
    EXPECT_EQ(receiver.frFilter.ForeColor(), 0x00FFFF);
}

TEST_F(ScopePanelWorld, TheKnobLabelsOfThePanelAreTheKnobTablesLabels) {
    EXPECT_EQ(panel.lblFrameRate.label.Caption(), "1");
    EXPECT_EQ(panel.lblSpectrumSmooth.label.Caption(), "8");
    QTest::mouseMove(panel.lblFrameRate.label.widget(), QPoint(3, 3));
    EXPECT_EQ(state().ActiveKnob, lblFrameRateIndex);
    knob(lblFrameRateIndex).Value = 5;
    click(panel.lblFrameRate.label, Qt::RightButton); // a right click resets it
    EXPECT_EQ(knob(lblFrameRateIndex).Value, 1);
    EXPECT_EQ(analyser.FrameRate(), 1);
}

// Samples reach the display in 16-bit units, so a tone's power runs up to about 10^15; the spectrum a
// first start shows must hold a receiver's ordinary signals, not only the weakest.
TEST_F(ScopePanelWorld, OnAFirstStartOrdinarySignalsLieWithinTheSpectrumsScale) {
    const struct Case {
        const char* name;
        double toneDbfs;  // an I/Q tone at the centre of a bin; below -200 none
        double noiseDbfs; // RMS of each channel's white noise
    } cases[] = {
        {"noise alone", -300, -60},
        {"a weak tone over the noise", -40, -60},
        {"a strong tone over the noise", -13.5, -60},
        {"a tone at -6 dBFS over the noise", -6, -60},
        {"a full-scale tone", 0, -60},
    };
    ASSERT_EQ(analyser.mode(), display::kModeSpectrum);
    ASSERT_TRUE(analyser.LogMode());
    analyser.setIQMode(true);
    const double top = analyser.YScaleMax(), bottom = top - analyser.YScaleRange();
    const double margin = 0.02 * analyser.YScaleRange();
    constexpr int32_t kToneBin = 560;
    std::mt19937 random(41);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::normal_distribution<double> noise(0.0, 32768.0 * std::pow(10.0, c.noiseDbfs / 20));
        const double amplitude = 32767.0 * std::pow(10.0, c.toneDbfs / 20);
        std::vector<int16_t> i(2048), q(2048);
        // Enough frames to fill the averaging's history with this case alone.
        for (int frame = 0; frame < 12; ++frame) {
            for (size_t k = 0; k < i.size(); ++k) {
                const double phase = 2 * std::numbers::pi * kToneBin * static_cast<double>(k) / 2048;
                const auto sample = [](double v) {
                    return static_cast<int16_t>(std::lround(std::clamp(v, -32767.0, 32767.0)));
                };
                i[k] = sample(amplitude * std::cos(phase) + noise(random));
                q[k] = sample(amplitude * std::sin(phase) + noise(random));
            }
            analyser.LoadSamples_INT16(i, q);
            analyser.Display();
        }
        const auto trace = static_cast<const clsSpectrumAnalyser&>(analyser).Trace1();
        std::vector<float> shown(trace.begin() + analyser.StartBin, trace.begin() + analyser.StopBin + 1);
        const float peak = *std::max_element(shown.begin(), shown.end());
        std::nth_element(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(shown.size() / 2),
                         shown.end());
        const float floor = shown[shown.size() / 2];
        EXPECT_GT(floor, bottom + margin) << "the noise sits on the bottom edge";
        EXPECT_LT(peak, top - margin) << "the peak is cut at the top edge";
        if (c.toneDbfs > -200) {
            EXPECT_GT(peak, floor + 0.1 * analyser.YScaleRange()) << "the tone does not stand out";
        }
    }
}

// The panel as a person sees it: a spectrum of two tones with the frequency label under the pointer.
TEST_F(ScopePanelWorld, ThePanelRendersForAPerson) {
    click(panel.optSpectrumSource[0]);
    click(panel.chkScopeShowFilters);
    std::vector<int16_t> one(2048), two(2048);
    for (size_t i = 0; i < one.size(); ++i) {
        const double t = static_cast<double>(i);
        one[i] = static_cast<int16_t>(9000 * std::sin(2 * 3.141592653589793 * 3000.0 / 48000 * t) +
                                      300 * std::sin(2 * 3.141592653589793 * 9000.0 / 48000 * t));
        two[i] = static_cast<int16_t>(2000 * std::sin(2 * 3.141592653589793 * 15000.0 / 48000 * t));
    }
    for (int frame = 0; frame < 10; ++frame) {
        analyser.LoadSamples_INT16(one, two);
        analyser.Display();
    }
    const int16_t shown = panel.picScope[0].Visible() ? 0 : 1;
    moveOver(shown, QPoint(200, 60));
    ASSERT_TRUE(panel.lblSpectrumFreq[shown].Visible());
    EXPECT_TRUE(
        panel.picScopeContainer.widget()->grab().save(QString::fromUtf8(RENDER_DIR) + "/display_panel.png"));
}

} // namespace
