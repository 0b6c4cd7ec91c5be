// The main window's start-up, shutdown save, layouts, colours and display, on a window of its own: the trace
// lines and the orders the start-up relies on, its timers, failing steps, a second load and a close during
// the load; the layouts' sizes with a window frame injected; the colours that hold on any scheme; the display
// panel, its pacing and the S-meter as the window composes them.
#include <algorithm>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "display/SMeterControls.h"
#include "display/ScopePanel.h"
#include "display/ScopePanelCore.h"
#include "display/frmUpDateScopeDisplay.h"
#include "mainwindow/tests/MainWindowRig.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"

namespace {

using mainwindowtest::expectedTrace;
using mainwindowtest::loadTrace;

struct StartUp : ::testing::Test, mainwindowtest::MainWindowRig {
    static size_t at(const std::vector<std::string>& v, const std::string& what) {
        const auto it = std::find(v.begin(), v.end(), what);
        EXPECT_NE(it, v.end()) << what;
        return static_cast<size_t>(it - v.begin());
    }
    // The analyser's offset as the start-up sets it for the tuned frequency the band selection left.
    int32_t offsetFor(int32_t tunedFrequency) {
        const clsSpectrumAnalyser& a = *receiver().Analyser;
        return runtime::CLng(tunedFrequency / 10.0 - (a.FEnd - a.FStart) / 2.0);
    }
};

TEST_F(StartUp, WritesEveryTraceLineInOrderWithOrWithoutItsAnalyser) {
    failAnalyser = true;
    make().Show();
    EXPECT_EQ(loadTrace(log), expectedTrace());

    window.reset();
    log.clear();
    failAnalyser = false;
    make().Show();
    EXPECT_EQ(loadTrace(log), expectedTrace());
    EXPECT_EQ(initialiseRXCalls, 2);
}

TEST_F(StartUp, RunsTheStepsInTheOrdersLaterStepsRelyOn) {
    store.SaveSetting("NerixSDR", "frmMain", "AutoStartSDR", "True");
    store.SaveSetting("NerixSDR", "frmMain", "FormCaptionOffOnPwrOn", "True");
    store.SaveSetting("NerixSDR", "frmMain", "DisplayMode", "1");
    traceIntoEffects = true;
    make().Show();
    // The tables before the restore, which comes before the sound format.
    EXPECT_LT(at(effects, "frmMain:frmMain:Form_Load:Initialising NotchFilter Default Values"),
              at(effects, "RestoreSettings"));
    EXPECT_LT(at(effects, "RestoreSettings"), at(effects, "SoundFormat"));
    // The band selection re-tunes; the analyser's offset is set again after it, for the frequency it left.
    EXPECT_NE(vfo.TunedFrequency(), 70'500'000);
    EXPECT_EQ(receiver().Analyser->FOffset, offsetFor(vfo.TunedFrequency()));
    // Power on (which hides the title bar and lays the window out again itself), then the load's title
    // bar, then the saved layout, last.
    const auto last = [&](const std::string& e) {
        return static_cast<size_t>(std::find(effects.rbegin(), effects.rend(), e) - effects.rbegin());
    };
    EXPECT_LT(at(effects, "Power 0"), at(effects, "TitleBar off"));
    EXPECT_GT(last("TitleBar off"), last("Layout 1")); // counted from the end
    const auto lastStep = std::find_if(effects.rbegin(), effects.rend(),
                                       [](const std::string& e) { return e.rfind("frmMain:", 0) != 0; });
    ASSERT_NE(lastStep, effects.rend());
    EXPECT_EQ(*lastStep, "Layout 1");
    EXPECT_FALSE(receiver().FormLoading);
    EXPECT_FALSE(receiver().FormLoadBusy());
}

TEST_F(StartUp, StartsItsTimersAndTheEncoderPoll) {
    // The poll waits for the encoder's switch; here the switch was saved on.
    store.SaveSetting("NerixSDR", "frmMain", "EnableShaftEncoder", "True");
    auto& w = make();
    w.Show();
    const struct {
        ui::Timer& timer;
        int32_t ms;
    } expected[] = {{w.tmrTune, 250}, {w.tmrVFOUpdate, 1000}, {w.tmrClock, 500}};
    for (const auto& e : expected) {
        EXPECT_TRUE(e.timer.Enabled());
        EXPECT_EQ(e.timer.Interval(), e.ms);
    }
    // The sub-band tracking timer is the band plan's own.
    EXPECT_TRUE(w.BandControls.tmrSubBands.Enabled());
    ASSERT_TRUE(receiver().Encoder);
    EXPECT_TRUE(timers.isArmed(&receiver(), 4));
    EXPECT_EQ(timers.askedMs(&receiver(), 4), 10);
    for (int16_t i = 0; i < 3; ++i)
        EXPECT_TRUE(w.optPwr[i].Enabled());
}

TEST_F(StartUp, ReachesItsEndPastFailingStepsAndDoesTheRest) {
    store.SaveSetting("NerixSDR", "frmMain", "SDRTuningColour", "abc");
    store.SaveSetting("NerixSDR", "frmMain", "SDRLabelColour", "255");
    initialiseRX = [] { runtime::raise(8002, "frmMain.InitialiseRX"); };
    failAnalyser = true;
    const int32_t tuningBefore = state().SDRColourSchemes.Tuning;
    auto& w = make();
    w.Show();
    EXPECT_EQ(loadTrace(log), expectedTrace());
    EXPECT_EQ(state().SDRColourSchemes.Tuning, tuningBefore);
    EXPECT_EQ(state().SDRColourSchemes.Label, 255);
    // Everything after the failures was still done.
    mainwindow::Receiver& r = receiver();
    EXPECT_TRUE(r.SoundCard);
    EXPECT_TRUE(r.Path);
    EXPECT_TRUE(r.WavFile);
    EXPECT_EQ(r.SoundCard->SamplesPerEvent(), 2048);
    EXPECT_EQ(r.SoundCard->NoChannelsOut(), 1);
    EXPECT_EQ(r.Bands.cboBandSelect.ListIndex(), 0);
    EXPECT_EQ(std::count(effects.begin(), effects.end(), "CreateAnalyser"), 0);
}

TEST_F(StartUp, ASecondLoadWhileTheFirstRunsOnlyTracesAndSetsTheCaption) {
    auto& w = make();
    int pumps = 0;
    onPump = [&] {
        if (++pumps != 1) return;
        const size_t before = log.size();
        w.setCaption("something else");
        w.load();
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(before), log.end()),
                  std::vector<std::string>{"frmMain:frmMain:Form_Load:Start"});
        EXPECT_EQ(w.Caption(), "NerixSDR");
        EXPECT_TRUE(receiver().FormLoadBusy());
    };
    w.Show();
    EXPECT_GE(pumps, 1);
    EXPECT_EQ(std::count(effects.begin(), effects.end(), "RestoreSettings"), 1);
    EXPECT_EQ(loadTrace(log).back(), ":End");
}

TEST_F(StartUp, TheEncoderTicksOnTheVfoInUseAfterTheDialogReplacesIt) {
    auto inUse = std::make_unique<clsVFO>(store);
    context.Vfo = [&] { return inUse.get(); };
    auto& w = make();
    w.Show();
    ASSERT_EQ(loadTrace(log).back(), ":End");
    // Switched on as the configuration's Apply does, which arms the poll.
    state().EnableShaftEncoder = true;
    receiver().EncoderSwitchChanged();
    ASSERT_TRUE(timers.isArmed(&receiver(), 4));
    // Under the sanitizers a tick on the released VFO is a use after free.
    inUse = std::make_unique<clsVFO>(store);
    inUse->setTuneStep(100);
    timers.advance(10);
    timers.advance(10);
    EXPECT_EQ(inUse->TuneStep(), 100);
}

TEST_F(StartUp, ACloseDuringTheLoadIsCarriedOutAfterItsEnd) {
    auto& w = make();
    bool asked = false;
    onPump = [&] {
        if (asked) return;
        asked = true;
        w.close();
        EXPECT_TRUE(w.Loaded());
        EXPECT_EQ(std::count(effects.begin(), effects.end(), "SaveSettings"), 0);
    };
    w.Show();
    ASSERT_TRUE(asked);
    EXPECT_TRUE(w.Loaded());
    EXPECT_EQ(loadTrace(log).back(), ":End");
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(effects.back(), "SaveSettings");
}

// The band used last, by the number of bands the selector lists (the rig's two plans).
TEST_F(StartUp, SelectsTheSavedBandOrTheFirstWhenThereAreFewer) {
    const struct {
        int32_t saved;
        int32_t selected;
    } cases[] = {{1, 1}, {2, 0}, {7, 0}, {0, 0}};
    for (const auto& c : cases) {
        window.reset();
        effects.clear();
        store.SaveSetting("NerixSDR", "frmMain", "CurrentMainBandIndex", std::to_string(c.saved));
        make().Show();
        ASSERT_EQ(receiver().Bands.cboBandSelect.ListCount(), 2);
        EXPECT_EQ(receiver().Bands.cboBandSelect.ListIndex(), c.selected) << c.saved;
    }
}

// The caption names the model, and a Hamlib rig whatever the letter case of the model's name.
TEST_F(StartUp, CaptionsTheModelAndTheHamlibRig) {
    struct Rig final : Oscillator {
        int32_t rig = 0;
        int32_t RigNo() const override { return rig; }
        std::string_view className() const override { return "clsHamlib"; }
    } hamlib;
    context.Radio = [&] {
        modSetupRX::RadioObjects r;
        r.Vfo = &vfo;
        r.HamlibOsc = &hamlib;
        return r;
    };
    const int32_t known = rigs.RigList.at(5).RigNo;
    const std::string desc = rigs.RigDescFromNo(known);
    ASSERT_FALSE(desc.empty());
    const struct {
        std::string name;
        int32_t rig;
        std::string caption;
    } cases[] = {{"Sat Schneider DRT1", known, "NerixSDR - Sat Schneider DRT1"},
                 {"Hamlib", known, "NerixSDR - Hamlib (" + desc + ")"},
                 {"hAMLIB", known, "NerixSDR - hAMLIB (" + desc + ")"},
                 {"Hamlib", 999999, "NerixSDR - Hamlib ()"}};
    for (const auto& c : cases) {
        window.reset();
        models.RxModels.at(3).Name = c.name;
        store.SaveSetting("NerixSDR", "frmMain", "SDRModelNo", "3");
        state().SDRModelNo = 3;
        hamlib.rig = c.rig;
        make().Show();
        EXPECT_EQ(window->Caption(), c.caption);
    }
}

} // namespace

namespace {

struct Layouts : ::testing::Test, mainwindowtest::MainWindowRig {
    // Places and client sizes land on whole pixels of 15 twips.
    static int32_t onPixels(int32_t twips) { return ui::twips(ui::pixels(twips)); }
};

// With a window frame of B = 60 and C = 330 twips injected, each layout gives the outer size of the
// layout table and stacks the panels; the Elektor model's panel pushes the lower three down by 570.
TEST_F(Layouts, GiveTheSizeOfEachLayoutWithAndWithoutTheElektorPanelAndTitleBar) {
    constexpr int32_t B = 60, C = 330;
    const struct {
        int16_t index;
        int32_t other, elektor;
    } heights[] = {{0, 1200, 1200}, {1, 2875, 2875}, {2, 3580, 4150}, {3, 8305, 8875}};
    auto& w = make();
    w.Show();
    for (const bool elektor : {false, true})
        for (const bool titleHidden : {false, true})
            for (const auto& h : heights) {
                SCOPED_TRACE(::testing::Message()
                             << h.index << " elektor " << elektor << " hidden " << titleHidden);
                setup.ModelSection =
                    elektor ? "RXModel.Elektor 2007-05 IQ SDR" : "RXModel.Elektor 2007-05 iq SDR";
                w.Layout.TitleBarHidden = titleHidden;
                w.optDisplaySize_Click(h.index);
                const int32_t chrome = titleHidden ? B : C;
                const int32_t outer = (elektor ? h.elektor : h.other) + B + chrome;
                EXPECT_EQ(w.Layout.LayoutHeight, outer);
                EXPECT_EQ(w.OuterHeight(),
                          onPixels(outer - (titleHidden ? 2 * B : C)) + (titleHidden ? 2 * B : C));
                EXPECT_EQ(w.OuterWidth(), onPixels(12465) + 2 * B);
                EXPECT_EQ(w.picElektor200705.Visible(), elektor);
                EXPECT_EQ(w.picRecorder.Top(), onPixels(elektor ? 3520 : 2950));
                EXPECT_EQ(w.picScopeContainer.Top(), onPixels(elektor ? 4225 : 3655));
                EXPECT_EQ(w.picCalib.Top(), onPixels(elektor ? 8425 : 7855));
                EXPECT_EQ(state().DisplayMode, h.index);
                EXPECT_TRUE(w.optDisplaySize[h.index].Value());
                EXPECT_EQ(w.optDisplaySize[h.index].ForeColor(), 0xFFFF00);
                EXPECT_EQ(w.optDisplaySize[static_cast<int16_t>((h.index + 1) % 4)].ForeColor(), 0xC0C000);
            }
}

TEST_F(Layouts, SwitchTheStatisticsAndAnalyserAndRefuseAnIndexPastTheFourth) {
    auto& w = make();
    w.Show();
    w.chkPerfStatsOn.setValue(1);
    ASSERT_TRUE(receiver().Analyser);
    w.optDisplaySize_Click(0);
    EXPECT_FALSE(state().PerfStatsOn);
    EXPECT_FALSE(receiver().Analyser->Active);
    w.optDisplaySize_Click(2);
    EXPECT_TRUE(state().PerfStatsOn);

    const int32_t height = w.ScaleHeight();
    try {
        w.optDisplaySize_Click(4);
        ADD_FAILURE() << "index 4 was taken";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kInvalidPropertyArrayIndex);
    }
    EXPECT_EQ(state().DisplayMode, 2);
    EXPECT_EQ(w.ScaleHeight(), height);
    w.optDisplaySize_Click(1);
    EXPECT_EQ(state().DisplayMode, 1);
    EXPECT_NE(w.ScaleHeight(), height);
}

TEST_F(Layouts, AResizeInTheNormalStateSnapsBackAndAMinimisedWindowStays) {
    auto& w = make();
    w.Show();
    w.optDisplaySize_Click(1);
    const int32_t width = w.ScaleWidth(), height = w.ScaleHeight();
    w.resize(w.width() + 40, w.height() + 40);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.ScaleWidth(), width);
    EXPECT_EQ(w.ScaleHeight(), height);
    w.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.windowState() & Qt::WindowMinimized);
}

// Whatever the scheme, the power buttons keep their own colours; every label and frame of every component
// takes the scheme's.
TEST_F(Layouts, ReColourReachesEveryComponentAndKeepsTheFixedColours) {
    store.SaveSetting("NerixSDR", "frmMain", "SDRBackgroundColour", std::to_string(0xFFFFFF));
    store.SaveSetting("NerixSDR", "frmMain", "SDRLabelColour", std::to_string(0x123456));
    store.SaveSetting("NerixSDR", "frmMain", "SDRFrameNormalColour", std::to_string(0x654321));
    auto& w = make();
    w.Show();
    EXPECT_EQ(w.BackColor(), 0xFFFFFF);
    EXPECT_EQ(w.optPwr[0].ForeColor(), 0x00FF00);
    EXPECT_EQ(w.optPwr[1].ForeColor(), 0x0000FF);
    EXPECT_EQ(w.optPwr[2].ForeColor(), 0x00FFFF);
    int frames = 0, labels = 0;
    w.forEachControl([&](ui::Control& c) {
        if (auto* f = dynamic_cast<ui::Frame*>(&c)) {
            ++frames;
            EXPECT_EQ(f->BackColor(), 0xFFFFFF);
            EXPECT_EQ(f->ForeColor(), 0x654321);
        }
        if (dynamic_cast<ui::Label*>(&c)) ++labels;
    });
    EXPECT_GE(frames, 9); // power, layouts, readout, mode, filter, IF filter, AGC, NR, notch, output
    EXPECT_GT(labels, 20);
    EXPECT_EQ(w.lblVer.BackColor(), 0xFFFFFF);
}

// The window as a person sees it, in every layout.
TEST_F(Layouts, DrawsTheWindow) {
    auto& w = make();
    w.Show();
    for (const int16_t index : {3, 2, 1, 0}) {
        w.optDisplaySize_Click(index);
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.grab().save(QString(RENDER_DIR "/main_window_layout%1.png").arg(index)));
    }
    setup.ModelSection = "RXModel.Elektor 2007-05 IQ SDR";
    w.optDisplaySize_Click(3);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(RENDER_DIR "/main_window_elektor.png"));
}

} // namespace

namespace {

// The display panel and the S-meter in the real window, over the front panel's knobs.
struct DisplayInWindow : ::testing::Test, mainwindowtest::MainWindowRig {
    mainwindowtest::WatchedMain& w = make();
    // The display's parts as the window and its receiver hold them.
    struct Parts {
        display::ScopePanel* Panel = nullptr;
        display::SMeterControls* Meter = nullptr;
        clsSpectrumAnalyser* Analyser = nullptr;
        display::ScopePanelCore* Core = nullptr;
        frmUpDateScopeDisplay* Pacing = nullptr;
    } parts;

    void SetUp() override {
        w.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        parts = {&w.ScopePanel, &w.Meter, receiver().Analyser.get(), receiver().Scope.get(),
                 receiver().Pacing.get()};
        ASSERT_TRUE(parts.Analyser && parts.Core && parts.Pacing);
    }
    display::ScopePanel& panel() { return *parts.Panel; }
    int16_t shownPicture() { return panel().picScope[0].Visible() ? 0 : 1; }
    // A control's place in the window's client area, in pixels.
    QRect placeOf(ui::Control& c) {
        QWidget* widget = c.widget();
        return {widget->mapTo(&w, QPoint(0, 0)), widget->size()};
    }
};

// The panel fills the window's scope container in every layout; the S-meter sits on the form in the band
// the shortest layout shows, over no other control; the analyser draws on the panel's pictures; the panel's
// knob labels joined the knob table before it was filled, so they show their knobs' values.
TEST_F(DisplayInWindow, TheWindowComposesThePanelAndTheMeterWhereTheLayoutsPutThem) {
    for (int16_t layout = 0; layout <= 3; ++layout) {
        SCOPED_TRACE(layout);
        w.optDisplaySize_Click(layout);
        QCoreApplication::processEvents();
        EXPECT_EQ(placeOf(panel().picScopeContainer), placeOf(w.picScopeContainer));
        const QRect meter = placeOf(parts.Meter->picSmeter[0]);
        EXPECT_TRUE(parts.Meter->picSmeter[0].Visible());
        EXPECT_TRUE(w.rect().contains(meter)) << "the meter lies outside the window";
        EXPECT_LE(meter.bottom(), placeOf(w.frPower).bottom());
        for (QWidget* other : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == parts.Meter->picSmeter[0].widget() || !other->isVisible()) continue;
            EXPECT_FALSE(other->geometry().intersects(meter))
                << other->metaObject()->className() << " at " << other->x() << "," << other->y();
        }
    }
    // Drawn: each frame goes to its page, which then shows.
    for (int frame = 0; frame < 2; ++frame) {
        const int16_t page = parts.Analyser->DrawPage();
        parts.Analyser->Display();
        EXPECT_EQ(shownPicture(), page);
    }
    EXPECT_EQ(panel().lblFrameRate.label.Caption(), std::to_string(parts.Analyser->FrameRate()));
    QTest::mouseMove(panel().lblFrameRate.label.widget(), QPoint(3, 3));
    EXPECT_EQ(state().ActiveKnob, lblFrameRateIndex);
    // The window's own statistics switch is the one shown.
    EXPECT_FALSE(panel().chkPerfStatsOn.Visible());
}

// A block played arms the pacing for 1 ms; when the timer fires a frame is drawn. "Off" arms it for 50 ms,
// "On" kills it, and so does the unload, first.
TEST_F(DisplayInWindow, APlayedBlockOrOffArmsThePacingAndOnOrTheUnloadKillsIt) {
    ScrollLabel& frameRate = parts.Core->context().ctlArray[lblFrameRateIndex];
    frameRate.Value = 1;
    std::vector<int16_t> block(2048);
    const int16_t before = parts.Analyser->DrawPage();
    receiver().Path->Drivers().DataOut(block, 0, 2048);
    EXPECT_EQ(timers.askedMs(parts.Pacing, frmUpDateScopeDisplay::kTimerId), 1);
    timers.advance(10);
    EXPECT_NE(parts.Analyser->DrawPage(), before);
    EXPECT_FALSE(timers.isArmed(parts.Pacing, frmUpDateScopeDisplay::kTimerId));

    w.optPwr_Click(1);
    EXPECT_EQ(timers.askedMs(parts.Pacing, frmUpDateScopeDisplay::kTimerId), 50);
    w.optPwr_Click(0);
    EXPECT_FALSE(timers.isArmed(parts.Pacing, frmUpDateScopeDisplay::kTimerId));

    parts.Pacing->SetScopeTimer(frmUpDateScopeDisplay::kPowerOffArmMs);
    ASSERT_TRUE(w.Unload());
    EXPECT_FALSE(timers.isArmed(parts.Pacing, frmUpDateScopeDisplay::kTimerId));
}

// The pointer over the display shows the frequency under it and a left click tunes there; the bare window
// ends the hover.
TEST_F(DisplayInWindow, AClickOnTheSpectrumTunesTheVfoAndTheBareWindowEndsTheHover) {
    w.optDisplaySize_Click(3);
    vfo.setTunedFrequency(71'000'000); // 7.1 MHz
    // "IF in" was stored: the audio view first, so its click comes through.
    for (const int16_t source : {3, 0}) {
        QWidget* button = panel().optSpectrumSource[source].widget();
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    }
    ASSERT_EQ(parts.Analyser->FOffset, 7'088'000);
    // 1024 bins across 512 pixels: pixel 400 is entry 800, 800 x 23.4375 Hz above the offset.
    parts.Analyser->StopBin = 1024;
    parts.Analyser->setMode(0);
    const int16_t shown = shownPicture();
    QWidget* picture = panel().picScope[shown].widget();
    QTest::mouseMove(picture, QPoint(400, 40));
    EXPECT_EQ(panel().picScope[0].Tag, "7106750.5");
    EXPECT_EQ(panel().lblSpectrumFreq[shown].Caption(), "7 106 751");
    EXPECT_TRUE(panel().lblSpectrumFreq[shown].Visible());
    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(400, 40));
    EXPECT_EQ(vfo.TunedFrequency(), 71'070'000);

    state().ActiveKnob = 16;
    const QPoint bare(1, 100);
    ASSERT_EQ(w.childAt(bare), nullptr);
    QTest::mouseMove(&w, bare);
    EXPECT_EQ(state().ActiveKnob, 0);
    EXPECT_FALSE(panel().lblSpectrumFreq[shown].Visible());
}

// UpdateSMeter lights one tick per 6 dB; a minimised window keeps the ticks as they were.
TEST_F(DisplayInWindow, UpdateSMeterMovesTheMeterUnlessTheWindowIsMinimised) {
    const auto lit = [&] {
        int n = 0;
        parts.Meter->shpSMeterTick.forEach([&](ui::Shape& t) { n += t.Visible() ? 1 : 0; });
        return n;
    };
    EXPECT_EQ(lit(), 0);
    receiver().SMeter.UpdateSMeter(1000); // 60 dB: ticks 0 to 10
    EXPECT_EQ(lit(), 11);
    EXPECT_EQ(parts.Meter->picSmeter[1].ToolTipText(), "10");
    w.setWindowState(Qt::WindowMinimized);
    receiver().SMeter.UpdateSMeter(1);
    EXPECT_EQ(lit(), 11);
    w.setWindowState(Qt::WindowNoState);
    receiver().SMeter.UpdateSMeter(1);
    EXPECT_EQ(lit(), 0);
}

} // namespace
