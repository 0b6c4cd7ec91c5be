// The window's power button and its close over the program's receiver: sound on and off, "&Close"
// only while off, a failed sound start left Off, a close that saves the band plans and settings once and
// leaves no handler and no wheel hook running; and the Config button's one dialog.
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include "config/frmConfig.h"
#include "frontpanel/BandPlanControls.h"
#include "frontpanel/ScrollLabel.h"

#include "mainwindow/PowerSequence.h"
#include "mainwindow/tests/MainWindowRig.h"
#include "platform/runtime/Hooks.h"

namespace {

struct PowerButton : ::testing::Test, mainwindowtest::MainWindowRig {
    std::vector<std::string> messages;
    runtime::ScopedHooks counting{{.doEvents =
                                       [this] {
                                           if (onPump) onPump();
                                           QCoreApplication::processEvents();
                                       },
                                   .addLog = [this](const std::string& l) { log.push_back(l); },
                                   .msgBox =
                                       [this](const std::string& text, int32_t, const std::string&) {
                                           messages.push_back(text);
                                           return runtime::mb::kOk;
                                       }}};
    // A real turn of the wheel, one notch, over the widget.
    static void turnWheel(QWidget* over) {
        static ulong stamp = 0;
        const QPointF at = over->rect().center();
        QWheelEvent e(at, over->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        e.setTimestamp(++stamp);
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::instance()->notify(over, &e);
    }
    static std::string fileText(const std::string& path) {
        std::ifstream f(path);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
};

TEST_F(PowerButton, OnStartsSoundAndHidesCloseOffStopsItAndShowsClose) {
    auto& w = make();
    w.Show();
    w.optPwr[0].setValue(true);
    ASSERT_TRUE(receiver().SoundCard);
    EXPECT_TRUE(receiver().SoundCard->InAction());
    EXPECT_FALSE(w.optPwr[2].Visible());
    EXPECT_EQ(w.optPwr[0].ForeColor(), mainwindow::kOnColourWhenOn);
    EXPECT_EQ(w.optPwr[1].ForeColor(), mainwindow::kOffColourWhenOn);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(RENDER_DIR "/main_window_power_on.png"));

    w.tmrPerfStats.setInterval(10);
    w.tmrPerfStats.setEnabled(true);
    w.optPwr[1].setValue(true);
    EXPECT_FALSE(receiver().SoundCard->InAction());
    EXPECT_TRUE(w.optPwr[2].Visible());
    EXPECT_FALSE(w.tmrPerfStats.Enabled());
    EXPECT_EQ(w.optPwr[0].ForeColor(), mainwindow::kOnColourWhenOff);
    EXPECT_EQ(w.optPwr[1].ForeColor(), mainwindow::kOffColourWhenOff);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(RENDER_DIR "/main_window_power_off.png"));
}

TEST_F(PowerButton, AFailedSoundStartShowsTheEnginesMessageOnceAndStaysOff) {
    sound.failCreateCaptureDevice = true;
    auto& w = make();
    w.Show();
    messages.clear();
    w.optPwr[0].setValue(true);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(w.optPwr[1].Value());
    EXPECT_TRUE(w.optPwr[2].Visible());
    EXPECT_FALSE(receiver().SoundCard && receiver().SoundCard->InAction());
}

TEST_F(PowerButton, CloseSavesBandPlansAndSettingsOnceAndLeavesNoHandlerRunning) {
    store.SaveSetting("NerixSDR", "frmMain", "EnableShaftEncoder", "True"); // so the encoder polls
    auto& w = make();
    w.Show();
    ASSERT_TRUE(timers.isArmed(&receiver(), 4));
    w.optPwr[0].setValue(true);
    w.optPwr[1].setValue(true);
    if (!bands[0].Loaded) {
        ASSERT_TRUE(bandPlan.LoadBandPlan(bands[0]));
    }
    bands[0].Description = "Saved at shutdown";
    state().DisplayMode = 2;
    // A second close arriving during the shutdown's pumps is ignored.
    int closes = 0;
    onPump = [&] {
        if (closes++ == 0) w.close();
    };
    w.optPwr[2].setValue(true);
    QCoreApplication::processEvents();
    onPump = nullptr;

    EXPECT_TRUE(receiver().Unloaded());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(std::count(effects.begin(), effects.end(), "SaveSettings"), 1);
    EXPECT_EQ(store.GetSetting("NerixSDR", "frmMain", "DisplayMode", ""), "2");
    EXPECT_NE(fileText(bands[0].FilePath).find("Saved at shutdown"), std::string::npos);
    EXPECT_FALSE(bands[1].Loaded);
    EXPECT_FALSE(receiver().SoundCard);
    EXPECT_FALSE(receiver().WavFile);
    for (ui::Timer* t : {&w.tmrTune, &w.tmrVFOUpdate, &w.tmrClock, &w.tmrPerfStats})
        EXPECT_FALSE(t->Enabled());
    EXPECT_FALSE(w.BandControls.tmrSubBands.Enabled());
    EXPECT_FALSE(timers.isArmed(&receiver(), 4)); // the encoder poll
    // Nothing of the window runs any more, whatever the timers do.
    const std::string clock = w.lblClock.Caption();
    timers.advance(5000);
    receiver().tmrClock_Timer();
    receiver().tmrPerfStats_Timer();
    EXPECT_EQ(w.lblClock.Caption(), clock);
}

// The wheel hook goes with the unload: the window's objects may be gone, so no knob may answer any more.
TEST_F(PowerButton, AfterTheUnloadTheWheelReachesNoKnob) {
    auto& w = make();
    w.Show();
    config::KnobValues& knobs = receiver().knobValues();
    const auto turn = [&](int notches) {
        state().ActiveKnob = lblBFOIndex;
        for (int i = 0; i < notches; ++i)
            turnWheel(w.Picture1.widget());
    };
    const float before = knobs.Value(lblBFOIndex);
    turn(1); // one notch, one step
    const float stepped = knobs.Value(lblBFOIndex);
    ASSERT_NE(stepped, before) << "the hook is in place while the window is loaded";

    w.optPwr[2].setValue(true);
    QCoreApplication::processEvents();
    ASSERT_TRUE(receiver().Unloaded());
    turn(4);
    EXPECT_EQ(knobs.Value(lblBFOIndex), stepped);
}

// The configuration dialog is one window: a second press of Config while it is open opens no other.
TEST_F(PowerButton, ConfigPressedTwiceOpensOneDialog) {
    auto& w = make();
    w.Show();
    const auto dialogs = [] {
        int n = 0;
        for (QWidget* t : QApplication::topLevelWidgets())
            n += dynamic_cast<frmConfig*>(t) ? 1 : 0;
        return n;
    };
    ASSERT_EQ(dialogs(), 0);
    QTest::mouseClick(w.cmdConfig.widget(), Qt::LeftButton);
    ASSERT_EQ(dialogs(), 1);
    ASSERT_TRUE(state().ConfigDialogOpen);
    QWidget* first = nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (dynamic_cast<frmConfig*>(t)) first = t;
    QTest::mouseClick(w.cmdConfig.widget(), Qt::LeftButton);
    EXPECT_EQ(dialogs(), 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(state().ConfigDialogOpen);
}

} // namespace
