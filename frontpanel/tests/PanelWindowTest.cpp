// The readout, its dial and two knob labels on a window, worked as a user works them: the pointer, the
// buttons, the keys (a held key with the X server's auto-repeat) and the wheel through the wheel filter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <cmath>

#include "frontpanel/TuningControls.h"
#include "frontpanel/tests/PanelRig.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WheelFilter.h"

namespace {

using frontpanel::TwipsRect;

// The window's hover routines as the shell runs them: a disabled knob is never marked, marking gives the
// focus sink the keyboard.
struct Shell final : frontpanel::ShellHighlight {
    ReceiverState& state;
    CtlArray* ctlArray = nullptr;
    ui::PictureBox* sink = nullptr;
    explicit Shell(ReceiverState& s) : state(s) {}
    void HighlightValueLabel(int16_t& Index) override {
        if (Index == state.ActiveKnob) return;
        if (Index < 0) Index = state.ActiveKnob;
        if ((*ctlArray)[static_cast<size_t>(Index)].Disabled) return;
        state.ActiveKnob = Index;
        focusSink();
    }
    void UnhighlightValueLabel() override { state.ActiveKnob = 0; }
    void UnhighlightValueLabel(int16_t) override { state.ActiveKnob = 0; }
    void DarkenControls() override { state.ActiveKnob = 0; }
    void FocusFrame(frontpanel::KnobFrame) override {}
    void UnFocusFrames() override {}
    void focusSink() override { sink->SetFocus(); }
};

// The main window's part in it: the key preview that hands keys to the knob table.
struct Window final : ui::Form {
    std::function<void(int16_t, int16_t)> keys;
    std::vector<int16_t> seen;
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift) override {
        seen.push_back(KeyCode);
        if (keys) keys(KeyCode, Shift);
    }
};

struct PanelWindow : ::testing::Test {
    DspLibraries dsp;
    profile::MemorySettingsStore store;
    clsVFO vfoObject{store};
    frontpanel::CurrentVfo vfo{[this] { return &vfoObject; }};
    frontpanel::FilterTables tables = frontpanel::DefaultFilterTables();
    Shell shell{dsp.state};
    paneltest::FakeAnalyser analyser;
    ui::testing::ScriptedDialogService dialogs;
    Window form;
    int32_t tuneInterval = 250;
    frontpanel::TuningControls controls{&form, 0, 0, {{}, [this](int32_t ms) { tuneInterval = ms; }}};
    frontpanel::KnobLabelControl shiftLabel{&form, 3, "0"};
    frontpanel::KnobLabelControl bfoLabel{&form, lblBFOIndex, "0"};
    ui::PictureBox Picture1{&form};
    frontpanel::FrontPanelCore core{{dsp.state, dsp.wrappers, tables, vfo, controls, shell, controls, dialogs,
                                     paneltest::kTuningSteps, nullptr, &analyser}};
    ui::WheelFilter wheel;

    ReceiverState& state() { return dsp.state; }

    void SetUp() override {
        vfoObject.setRxMaxFreq(30'000'000);
        vfoObject.setTunedFrequency(140'741'234);
        vfoObject.setTuneStep(1000);
        state().HiSideLoActive = true;
        shell.ctlArray = &core.ctlArray;
        shell.sink = &Picture1;
        controls.connect(core, paneltest::kTuningSteps);
        shiftLabel.connect(core);
        bfoLabel.connect(core);
        core.knobs.FillKnobTable();
        core.ctlArray[kFrequencyReadoutKnob].FocusColour = paneltest::kReadoutFocus;
        core.ctlArray[kFrequencyReadoutKnob].NormalColour = paneltest::kReadoutNormal;
        shiftLabel.label.Move(8100, 300, 900, 255);
        bfoLabel.label.Move(8100, 900, 900, 255);
        Picture1.Move(8100, 1500, 150, 150);
        Picture1.widget()->setFocusPolicy(Qt::StrongFocus);
        form.setKeyPreview(true);
        form.keys = [this](int16_t key, int16_t shift) { core.knobs.Form_KeyDown(key, shift); };
        wheel.Hook([this](const ui::HookMessage& m) { return core.wheel.deliver(m); });
        form.setClientSize(9300, 2500);
        form.Show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        core.tuning.Display7Seg(vfoObject.FormattedTunedFreq());
    }

    QWidget* digit(int d) { return controls.lbl7Seg[static_cast<size_t>(d)]->widget(); }
    static QPoint middle(QWidget* w) { return w->rect().center(); }
    // A real turn of the wheel over a widget: Qt offers it to the parents that ignore it.
    static void turnWheel(QWidget* over, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        static ulong stamp = 0;
        const QPointF at = middle(over);
        QWheelEvent e(at, over->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        e.setTimestamp(++stamp);
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::instance()->notify(over, &e);
    }
    static void key(QWidget* to, QEvent::Type type, int qtKey, bool autoRepeat = false) {
        QKeyEvent e(type, qtKey, Qt::NoModifier, QString(), autoRepeat);
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::instance()->notify(to, &e);
    }
    // A place in twips as the screen has it: on whole pixels.
    static TwipsRect onPixels(const TwipsRect& r) {
        const auto snap = [](int32_t t) { return ui::twips(ui::pixels(t)); };
        return {snap(r.left), snap(r.top), snap(r.width), snap(r.height)};
    }
    TwipsRect markerNow() const {
        const ui::Shape& m = controls.shpTuneStep;
        return {int32_t(std::lround(m.Left())), int32_t(std::lround(m.Top())),
                int32_t(std::lround(m.Width())), int32_t(std::lround(m.Height()))};
    }
};

} // namespace

TEST_F(PanelWindow, TheMarkerFollowsThePointerAlongTheDigits) {
    for (int d : {3, 6, 8}) {
        QTest::mouseMove(digit(d), middle(digit(d)));
        EXPECT_EQ(markerNow(),
                  onPixels(frontpanel::markerAround(controls.digitRect(static_cast<int16_t>(d)))))
            << d;
        EXPECT_TRUE(controls.shpTuneStep.Visible());
        EXPECT_EQ(controls.lbl7Seg[static_cast<size_t>(d)]->ForeColor(), paneltest::kReadoutFocus);
    }
    EXPECT_EQ(controls.lbl7Seg[3]->ForeColor(), paneltest::kReadoutNormal);
    EXPECT_EQ(state().ActiveKnob, 1);
    EXPECT_EQ(controls.lblTuningRate.Caption(), "x 1 dHz");
    EXPECT_EQ(controls.lbl7Seg[0]->Caption(), "1");
    EXPECT_EQ(controls.lbl7Seg[8]->Caption(), "4");
}

TEST_F(PanelWindow, AClickLocksTheStepAndShowsTheLockPicture) {
    QTest::mouseMove(digit(4), middle(digit(4)));
    QTest::mouseClick(digit(4), Qt::LeftButton, Qt::NoModifier, middle(digit(4)));
    EXPECT_TRUE(controls.imgTuneStepLock.Visible());
    EXPECT_TRUE(state().TuneStepLocked);
    EXPECT_EQ(controls.lblTuningRate.Caption(), "x 1 KHz");
    QTest::mouseMove(digit(6), middle(digit(6))); // locked: the marker stays
    EXPECT_EQ(markerNow(), onPixels(frontpanel::markerAround(controls.digitRect(4))));
    QTest::mouseDClick(controls.imgTuneStepLock.widget(), Qt::LeftButton);
    EXPECT_FALSE(controls.imgTuneStepLock.Visible());
    EXPECT_FALSE(vfoObject.TuneStepLock());
}

TEST_F(PanelWindow, UpHeldWithAutoRepeatKeepsItsRequestUntilReleased) {
    QTest::mouseMove(controls.picFreqDisp.widget(), QPoint(2, 2));
    ASSERT_EQ(QApplication::focusWidget(), controls.picFreqDisp.widget());
    QWidget* readout = controls.picFreqDisp.widget();
    key(readout, QEvent::KeyPress, Qt::Key_Up);
    EXPECT_TRUE(state().TuneUpRequest);
    EXPECT_EQ(tuneInterval, 20);
    for (int i = 0; i < 3; ++i) {
        state().TuneUpRequest = false; // the repeat timer served the step
        key(readout, QEvent::KeyRelease, Qt::Key_Up, true);
        key(readout, QEvent::KeyPress, Qt::Key_Up, true);
        EXPECT_TRUE(state().TuneUpRequest) << i;
    }
    key(readout, QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_FALSE(state().TuneUpRequest);
    EXPECT_FLOAT_EQ(state().RepeatStep, 0);
}

TEST_F(PanelWindow, CtrlAndTheWheelOverAKnobLabelStepItByItsFineStep) {
    QTest::mouseMove(bfoLabel.label.widget(), middle(bfoLabel.label.widget()));
    EXPECT_EQ(state().ActiveKnob, lblBFOIndex);
    turnWheel(bfoLabel.label.widget(), 120, Qt::ControlModifier); // one notch, one step
    EXPECT_FLOAT_EQ(core.ctlArray[lblBFOIndex].Value, 1.0f);
    EXPECT_EQ(bfoLabel.label.Caption(), "1");
    EXPECT_EQ(state().MixerCentre, 12001);
}

TEST_F(PanelWindow, AWheelOverAShownDropDownMovesTheActiveKnobAlone) {
    controls.cboTuningSteps.setListIndex(8);
    QTest::mouseClick(controls.lblTuningRate.widget(), Qt::RightButton);
    ASSERT_TRUE(controls.cboTuningSteps.Visible());
    QTest::mouseMove(bfoLabel.label.widget(), middle(bfoLabel.label.widget()));
    for (int i = 0; i < 2; ++i)
        turnWheel(controls.cboTuningSteps.widget(), -120);
    EXPECT_FLOAT_EQ(core.ctlArray[lblBFOIndex].Value, -40.0f);
    EXPECT_EQ(controls.cboTuningSteps.ListIndex(), 8);
    // With no knob active the turn is the list's own.
    state().ActiveKnob = 0;
    turnWheel(controls.cboTuningSteps.widget(), -120);
    EXPECT_EQ(controls.cboTuningSteps.ListIndex(), 9);
    EXPECT_DOUBLE_EQ(vfoObject.TuneStep(), 500);
}

TEST_F(PanelWindow, LeftRightAndSpaceReachTheWindowsKeyHandler) {
    QTest::mouseMove(shiftLabel.label.widget(), middle(shiftLabel.label.widget()));
    ASSERT_EQ(state().ActiveKnob, 3);
    ASSERT_EQ(QApplication::focusWidget(), Picture1.widget());
    core.ctlArray[3].Value = 50;
    QTest::keyClick(Picture1.widget(), Qt::Key_Right);
    EXPECT_EQ(state().ActiveKnob, 4);
    QTest::keyClick(Picture1.widget(), Qt::Key_Left);
    EXPECT_EQ(state().ActiveKnob, 3);
    QTest::keyClick(Picture1.widget(), Qt::Key_Space);
    EXPECT_FLOAT_EQ(core.ctlArray[3].Value, 0.0f);
    EXPECT_EQ(shiftLabel.label.Caption(), "0");
    EXPECT_EQ(form.seen, (std::vector<int16_t>{39, 37, 32}));
}

TEST_F(PanelWindow, DraggingTheDialTunesOneStepPerTurnEvent) {
    QWidget* face = controls.dialtuner.widget();
    const QPointF centre = QRectF(face->rect()).center();
    const auto at = [&](double degrees) {
        const double a = degrees * 3.14159265358979323846 / 180;
        return centre + QPointF(std::sin(a), -std::cos(a)) * (centre.x() * 0.8);
    };
    const auto send = [&](QEvent::Type type, double degrees, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at(degrees), face->mapToGlobal(at(degrees)), button, held, Qt::NoModifier);
        QApplication::sendEvent(face, &e);
    };
    send(QEvent::MouseButtonPress, 0, Qt::LeftButton, Qt::LeftButton);
    for (int a = 10; a <= 90; a += 10)
        send(QEvent::MouseMove, a, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 90, Qt::LeftButton, Qt::NoButton);
    // Nine moves of two or three positions each: nine steps of 100 Hz from the 100 Hz grid.
    EXPECT_EQ(controls.dialtuner.Value(), 25);
    EXPECT_EQ(vfoObject.TunedFrequency(), 140'741'000 + 9 * 1000);
}
