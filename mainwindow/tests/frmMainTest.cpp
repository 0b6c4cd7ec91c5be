// The main window's start-up, shutdown save, layouts and colours, on a window of its own: the trace lines
// and the orders the start-up relies on, its timers, failing steps, a second load and a close during the
// load; the layouts' sizes with a window frame injected; the colours that hold on any scheme.
#include <algorithm>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "mainwindow/tests/MainWindowRig.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Twips.h"

namespace {

using mainwindowtest::loadTrace;

// The start-up's trace texts in their order, as the start-up writes them whatever its steps do.
std::vector<std::string> expectedTrace() {
    std::vector<std::string> t = {":Start",
                                  ":Resizing",
                                  ":Restoring SDR Colour Settings from Registry",
                                  ":Creating SpectrumAnalyser Object",
                                  ":Making frmMain Visible",
                                  ":Setting Colour Scheme",
                                  ":Creating Wavfile Object",
                                  ":Positioning Presets",
                                  ":Initialising MouseOverS",
                                  ":Initialising 7Segment Display Tuning",
                                  ":Initialising dialtuner"};
    for (const char* k : {"2", "3", "4", "5", "7", "8", "9"})
        t.push_back(std::string(":Initialising CtlArray(") + k + ")");
    for (const char* s : {":Initialising sldNB", ":Initialising dialNB", ":Initialising ctlArray(10)",
                          ":Initialising dialOutVol", ":Initialising sldOutVolume"})
        t.push_back(s);
    for (const char* k : {"11", "12", "13", "14", "15"})
        t.push_back(std::string(":Initialising ctlArray(") + k + ")");
    for (const char* s : {":Initialising CtlArray(6)",
                          ":Initialising ctlArray(PicScopeIndex)",
                          ":Initialising ctlArray(17)",
                          ":Initialising ctlArray(18)",
                          ":Initialising Spectrum Analyser Averaging - ctlArray(lblSpectrumSmoothIndex)",
                          ":Initialising Spectrum Analyser FrameRate - ctlArray(lblFrameRateIndex)",
                          ":Initialising lblIFShift - ctlArray(lblIFShiftIndex)",
                          ":Initialising lblBFO - ctlArray(lblBFOIndex)",
                          ":Initialising lblY1Bright - ctlArray(lblY1BrightIndex)",
                          ":Initialising lblY2Bright - ctlArray(lblY2BrightIndex)",
                          ":Initialising cboBandSelect",
                          ":Initialising optSubBand",
                          ":Initialising optPreset",
                          ":New NerixDX8",
                          ":Load frmDX8Events",
                          ":New clsFFTReal",
                          ":Initialising FFTReal",
                          " : Initialising Interface Objects",
                          ":Initialising sldAGCAttack",
                          ":Initialising sldAGCDecay",
                          ":Initialising SpectrumAnalyser"})
        t.push_back(s);
    for (int i = 0; i <= 4; ++i)
        t.push_back(":Initialising Variable Filter Default Values (" + std::to_string(i) + ")");
    for (int i = 1; i <= 3; ++i)
        t.push_back(":Initialising Variable AGC Default Values (" + std::to_string(i) + ")");
    for (const char* s : {":Initialising Variable IF Filter Default Values (0)",
                          ":Initialising NotchFilter Default Values",
                          ":Restoring SDR Settings",
                          ":Initialising SoundCard Object",
                          ":Set OutputLevel Attenuator to PublicVars.OutputAttenuation",
                          ":Select Band in use last time",
                          ":Set the last tuned frequency for Spectrum Analyser",
                          ":Call modWheelMouse.init",
                          ":Set up default values in the AGC delayline",
                          ":Call MouseOverS.lblFilterHi_Wheel",
                          ":Call MouseOverS.lblFilterLo_Wheel",
                          ":Initialise WavFile Object",
                          ":Call tmrPerfStats_Timer",
                          ":Enable Power Butons",
                          ":Enable TmrTune",
                          ":Enable TmrVFOUpdate",
                          ":Enable TmrClock",
                          ":Enable TmrSubBands",
                          ":Initialise the Tuning Step Selector Drop Down List",
                          ":Call DarkenControls",
                          ":End"})
        t.push_back(s);
    return t;
}

// Components that record the steps they are asked for in the rig's effects list.
struct RecordingFront final : mainwindow::FrontPanelComponent {
    explicit RecordingFront(std::vector<std::string>& e) : effects(e) {}
    void FillDefaultTables(const mainwindow::StepTrace& trace) override {
        effects.push_back("FillDefaultTables");
        traceDefaultTables(trace);
    }
    int32_t BandCount() const override { return bandCount; }
    void SelectBand(int32_t index) override { effects.push_back("SelectBand " + std::to_string(index)); }
    void ShowRecordingFormat(int32_t bits, int32_t decimator) override {
        effects.push_back("RecordingFormat " + std::to_string(bits) + " " + std::to_string(decimator));
    }
    void CheckUpperSide(double, double, double, int32_t) override { effects.push_back("CheckUpperSide"); }
    std::vector<std::string>& effects;
    int32_t bandCount = 3;
};

struct RecordingDisplay final : mainwindow::DisplayComponent {
    explicit RecordingDisplay(std::vector<std::string>& e) : effects(e) {}
    void CreateAnalyser() override {
        if (failCreation) runtime::raise(7, "SpectrumAnalyser");
        effects.push_back("CreateAnalyser");
    }
    void SetUpAnalyser(int32_t tuned, bool) override {
        effects.push_back("SetUpAnalyser " + std::to_string(tuned));
    }
    void SetFOffset(int32_t tuned) override { effects.push_back("FOffset " + std::to_string(tuned)); }
    std::vector<std::string>& effects;
    bool failCreation = false;
};

struct StartUp : ::testing::Test, mainwindowtest::MainWindowRig {
    RecordingFront* front = nullptr;
    RecordingDisplay* display = nullptr;
    mainwindow::ComponentFactories recording(bool withFront = true, bool withDisplay = true) {
        mainwindow::ComponentFactories f;
        if (withDisplay)
            f.Display = [this](mainwindow::ComponentHost&) {
                auto d = std::make_unique<RecordingDisplay>(effects);
                display = d.get();
                return d;
            };
        if (withFront)
            f.FrontPanel = [this](mainwindow::ComponentHost&) {
                auto p = std::make_unique<RecordingFront>(effects);
                front = p.get();
                return p;
            };
        return f;
    }
    static size_t at(const std::vector<std::string>& v, const std::string& what) {
        const auto it = std::find(v.begin(), v.end(), what);
        EXPECT_NE(it, v.end()) << what;
        return static_cast<size_t>(it - v.begin());
    }
};

TEST_F(StartUp, WritesEveryTraceLineInOrderWithOrWithoutItsComponents) {
    make(mainwindow::ComponentFactories{}).Show();
    EXPECT_EQ(loadTrace(log), expectedTrace());

    window.reset();
    log.clear();
    make().Show();
    EXPECT_EQ(loadTrace(log), expectedTrace());
    EXPECT_EQ(initialiseRXCalls, 2);
}

TEST_F(StartUp, RunsTheStepsInTheOrdersLaterStepsRelyOn) {
    store.SaveSetting("NerixSDR", "frmMain", "AutoStartSDR", "True");
    store.SaveSetting("NerixSDR", "frmMain", "FormCaptionOffOnPwrOn", "True");
    store.SaveSetting("NerixSDR", "frmMain", "DisplayMode", "1");
    make(recording()).Show();
    // The tables before the restore, which comes before the sound format.
    EXPECT_LT(at(effects, "FillDefaultTables"), at(effects, "RestoreSettings"));
    EXPECT_LT(at(effects, "RestoreSettings"), at(effects, "SoundFormat"));
    // The band selection re-tunes; the analyser's offset is set again after it.
    EXPECT_LT(at(effects, "SelectBand 0"), at(effects, "FOffset 70500000"));
    // Power on (which hides the title bar and lays the window out again itself), then the load's title
    // bar, then the saved layout, last.
    const auto last = [&](const std::string& e) {
        return static_cast<size_t>(std::find(effects.rbegin(), effects.rend(), e) - effects.rbegin());
    };
    EXPECT_LT(at(effects, "Power 0"), at(effects, "TitleBar off"));
    EXPECT_GT(last("TitleBar off"), last("Layout 1")); // counted from the end
    EXPECT_EQ(effects.back(), "Layout 1");
    EXPECT_FALSE(window->FormLoading);
    EXPECT_FALSE(window->FormLoadBusy());
}

TEST_F(StartUp, StartsItsTimersAndTheEncoderPoll) {
    auto& w = make(recording());
    w.Show();
    const struct {
        ui::Timer& timer;
        int32_t ms;
    } expected[] = {{w.tmrTune, 250}, {w.tmrVFOUpdate, 1000}, {w.tmrClock, 500}, {w.tmrSubBands, 300}};
    for (const auto& e : expected) {
        EXPECT_TRUE(e.timer.Enabled());
        EXPECT_EQ(e.timer.Interval(), e.ms);
    }
    ASSERT_TRUE(w.Encoder);
    EXPECT_TRUE(timers.isArmed(&w, 4));
    EXPECT_EQ(timers.askedMs(&w, 4), 10);
    for (int16_t i = 0; i < 3; ++i)
        EXPECT_TRUE(w.optPwr[i].Enabled());
}

TEST_F(StartUp, ReachesItsEndPastFailingStepsAndDoesTheRest) {
    store.SaveSetting("NerixSDR", "frmMain", "SDRTuningColour", "abc");
    store.SaveSetting("NerixSDR", "frmMain", "SDRLabelColour", "255");
    initialiseRX = [] { runtime::raise(8002, "frmMain.InitialiseRX"); };
    auto factories = recording();
    auto makeDisplay = factories.Display;
    factories.Display = [&](mainwindow::ComponentHost& h) {
        auto d = makeDisplay(h);
        display->failCreation = true;
        return d;
    };
    const int32_t tuningBefore = state().SDRColourSchemes.Tuning;
    auto& w = make(factories);
    w.Show();
    EXPECT_EQ(loadTrace(log), expectedTrace());
    EXPECT_EQ(state().SDRColourSchemes.Tuning, tuningBefore);
    EXPECT_EQ(state().SDRColourSchemes.Label, 255);
    // Everything after the failures was still done.
    EXPECT_TRUE(w.SoundCard);
    EXPECT_TRUE(w.Path);
    EXPECT_TRUE(w.WavFile);
    EXPECT_EQ(w.SoundCard->SamplesPerEvent(), 2048);
    EXPECT_EQ(w.SoundCard->NoChannelsOut(), 1);
    EXPECT_EQ(at(effects, "SelectBand 0") > 0, true);
    EXPECT_EQ(std::count(effects.begin(), effects.end(), "CreateAnalyser"), 0);
}

TEST_F(StartUp, ASecondLoadWhileTheFirstRunsOnlyTracesAndSetsTheCaption) {
    auto& w = make(recording());
    int pumps = 0;
    onPump = [&] {
        if (++pumps != 1) return;
        const size_t before = log.size();
        w.setCaption("something else");
        w.load();
        EXPECT_EQ(std::vector<std::string>(log.begin() + static_cast<long>(before), log.end()),
                  std::vector<std::string>{"frmMain:frmMain:Form_Load:Start"});
        EXPECT_EQ(w.Caption(), "NerixSDR");
        EXPECT_TRUE(w.FormLoadBusy());
    };
    w.Show();
    EXPECT_GE(pumps, 1);
    EXPECT_EQ(std::count(effects.begin(), effects.end(), "RestoreSettings"), 1);
    EXPECT_EQ(loadTrace(log).back(), ":End");
}

TEST_F(StartUp, TheEncoderTicksOnTheVfoInUseAfterTheDialogReplacesIt) {
    auto inUse = std::make_unique<clsVFO>(store);
    context.Vfo = [&] { return inUse.get(); };
    auto& w = make(recording());
    w.Show();
    ASSERT_EQ(loadTrace(log).back(), ":End");
    state().EnableShaftEncoder = true;
    // Under the sanitizers a tick on the released VFO is a use after free.
    inUse = std::make_unique<clsVFO>(store);
    inUse->setTuneStep(100);
    timers.advance(10);
    timers.advance(10);
    EXPECT_EQ(inUse->TuneStep(), 100);
}

TEST_F(StartUp, ACloseDuringTheLoadIsCarriedOutAfterItsEnd) {
    auto& w = make(recording());
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

// The band used last, by the number of bands the selector lists.
TEST_F(StartUp, SelectsTheSavedBandOrTheFirstWhenThereAreFewer) {
    const struct {
        int32_t saved;
        std::string selected;
    } cases[] = {{2, "SelectBand 2"}, {3, "SelectBand 0"}, {7, "SelectBand 0"}, {0, "SelectBand 0"}};
    for (const auto& c : cases) {
        window.reset();
        effects.clear();
        store.SaveSetting("NerixSDR", "frmMain", "CurrentMainBandIndex", std::to_string(c.saved));
        make(recording()).Show();
        EXPECT_EQ(std::count(effects.begin(), effects.end(), c.selected), 1) << c.saved;
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
        make(recording()).Show();
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
    } heights[] = {{0, 1200, 1200}, {1, 2875, 2875}, {2, 3580, 4150}, {3, 7075, 7645}};
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
                EXPECT_EQ(w.picCalib.Top(), onPixels(elektor ? 7195 : 6625));
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
    ASSERT_TRUE(w.Display && w.Display->HasAnalyser());
    w.optDisplaySize_Click(0);
    EXPECT_FALSE(state().PerfStatsOn);
    EXPECT_FALSE(w.Display->AnalyserActive());
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

// The window as a person sees it, in its two longest layouts and the shortest.
TEST_F(Layouts, DrawsTheWindow) {
    auto& w = make();
    w.Show();
    for (const int16_t index : {3, 1, 0}) {
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
