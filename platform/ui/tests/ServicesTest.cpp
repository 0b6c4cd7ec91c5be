// Timers, platform timers and their floor, work posted to the UI thread, the hooks, key preview, the wheel
// filter, the title bar switch and popup menu items.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PostQueueWatcher.h"
#include "platform/ui/QtPlatformTimers.h"
#include "platform/ui/Timer.h"
#include "platform/ui/UiHooks.h"
#include "platform/ui/WheelFilter.h"
#include "platform/ui/modMemTricks.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "platform/ui/testing/ScriptedDialogService.h"

namespace {

// Posted work runs from the event loop, after the code that posted it has returned, in order.
TEST(PostQueueWatcher, RunsPostedWorkFromTheEventLoopInOrder) {
    runtime::PostQueue queue;
    ui::PostQueueWatcher watcher(queue);
    std::vector<int> ran;
    queue.post([&] { ran.push_back(1); });
    queue.post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    for (int pass = 0; pass < 100 && ran.size() < 2; ++pass)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(TimerControl, RunsOnlyWhileEnabledWithAnInterval) {
    ui::Timer tmr;
    EXPECT_FALSE(tmr.running()); // enabled, but interval 0
    tmr.setInterval(1);
    EXPECT_TRUE(tmr.running());
    int ticks = 0;
    tmr.Timer_ = [&] { ++ticks; };
    QSignalSpy spy(&tmr.qtimer(), &QTimer::timeout);
    ASSERT_TRUE(spy.wait(2000));
    EXPECT_GE(ticks, 1);
    tmr.setEnabled(false);
    EXPECT_FALSE(tmr.running());
    tmr.setEnabled(true);
    tmr.setInterval(0);
    EXPECT_FALSE(tmr.running());
    EXPECT_TRUE(tmr.Enabled());
    EXPECT_THROW(tmr.setInterval(-1), runtime::RuntimeError);
}

TEST(PlatformTimers, FakeClockFiresPeriodicallyUntilKilled) {
    ui::testing::FakePlatformTimers timers;
    const int owner = 0;
    int ticks = 0;
    timers.SetTimer(&owner, 4, 10, [&] { ++ticks; });
    timers.advance(35);
    EXPECT_EQ(ticks, 3);
    // A one-shot kills itself, as the scope timer callback does.
    int shots = 0;
    timers.SetTimer(&owner, 1, 1, [&] {
        ++shots;
        timers.KillTimer(&owner, 1);
    });
    timers.advance(10);
    EXPECT_EQ(shots, 1);
    EXPECT_TRUE(timers.KillTimer(&owner, 4));
    EXPECT_FALSE(timers.KillTimer(&owner, 4));
}

TEST(PlatformTimers, QtTimerMayKillItselfInItsCallback) {
    ui::QtPlatformTimers timers;
    const int owner = 0;
    int shots = 0;
    timers.SetTimer(&owner, 1, 1, [&] {
        ++shots;
        timers.KillTimer(&owner, 1);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return shots > 0; }, 2000));
    QTest::qWait(20);
    EXPECT_EQ(shots, 1);
    EXPECT_FALSE(timers.KillTimer(&owner, 1));
}

TEST(Hooks, MessageBoxesAndLogLinesReachTheUi) {
    ui::testing::ScriptedDialogService dialogs;
    dialogs.msgBoxAnswers.push_back(runtime::mb::kNo);
    std::vector<std::string> lines;
    {
        ui::UiHooks hooks(dialogs, [&](const std::string& l) { lines.push_back(l); });
        EXPECT_EQ(runtime::MsgBox("Save?", runtime::mb::kYesNo, "NerixSDR"), runtime::mb::kNo);
        runtime::AddLog("a line");
        runtime::DoEvents();
    }
    runtime::AddLog("after the UI");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].prompt, "Save?");
    EXPECT_EQ(lines, std::vector<std::string>{"a line"});
}

class KeyForm final : public ui::Form {
public:
    std::vector<int16_t> keys;
    std::vector<int16_t> shifts;
    bool swallow = false;

protected:
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift) override {
        keys.push_back(KeyCode);
        shifts.push_back(Shift);
        if (swallow) KeyCode = 0;
    }
};

TEST(KeyPreview, FormSeesTheKeyOnceBeforeTheFocusedControl) {
    KeyForm form;
    ui::TextBox txt(&form);
    form.Show();
    form.activateWindow();
    txt.widget()->setFocus();
    QApplication::setActiveWindow(&form);
    QTest::keyClick(txt.widget(), Qt::Key_A);
    EXPECT_TRUE(form.keys.empty()); // no preview asked for
    form.setKeyPreview(true);
    QTest::keyClick(txt.widget(), Qt::Key_Up, Qt::ShiftModifier);
    form.swallow = true;
    QTest::keyClick(txt.widget(), Qt::Key_Z, Qt::ControlModifier);
    // The Shift and Ctrl keys reach the form as keys of their own.
    EXPECT_EQ(form.keys, (std::vector<int16_t>{16, 38, 17, 90}));
    EXPECT_EQ(form.shifts, (std::vector<int16_t>{1, 1, 2, 2}));
    EXPECT_EQ(txt.Text(), "a"); // the swallowed Ctrl+Z never reached the box
}

struct Wheel : ::testing::Test {
    ui::Form form;
    QWidget* inner = nullptr;
    ui::WheelFilter filter;
    std::vector<ui::HookMessage> seen;

    void SetUp() override {
        auto* frame = new QWidget(&form);
        inner = new QWidget(frame);
        frame->setGeometry(0, 0, 100, 100);
        inner->setGeometry(10, 10, 50, 50);
        filter.Hook([this](const ui::HookMessage& m) {
            if (m.message == ui::HookMessage::kMouseWheel) seen.push_back(m);
            return true;
        });
    }

    // A spontaneous event, so that Qt offers it to every parent as it does for a real wheel.
    void turn(int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier, ulong time = 1) {
        QWheelEvent e(QPointF(5, 5), QPointF(105, 105), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
        e.setTimestamp(time);
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::instance()->notify(inner, &e);
    }
    int16_t distance(std::size_t i) const { return static_cast<int16_t>(seen[i].wParam >> 16); }
    int32_t flags(std::size_t i) const { return seen[i].wParam & 0xFFFF; }
};

TEST_F(Wheel, EachTurnReachesTheHookOnceThroughNestedWidgets) {
    turn(120, Qt::NoModifier, 1);
    turn(-120, Qt::ControlModifier | Qt::ShiftModifier, 2);
    turn(-120, Qt::ShiftModifier, 3);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(distance(0), 120);
    EXPECT_EQ(flags(0), 0);
    EXPECT_EQ(distance(1), -120);
    EXPECT_EQ(flags(1), ui::HookMessage::kCtrlFlag | ui::HookMessage::kShiftFlag);
    EXPECT_EQ(flags(2), ui::HookMessage::kShiftFlag);
}

TEST_F(Wheel, TouchpadDeltasAddUpToWholeNotches) {
    for (ulong t = 1; t <= 5; ++t)
        turn(50, Qt::NoModifier, t); // 250: two notches, 10 left over
    turn(-250, Qt::NoModifier, 6);   // -240 from 10: two notches down
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(distance(1), 120);
    EXPECT_EQ(distance(2), -120);
    EXPECT_EQ(distance(3), -120);
}

// Counts the wheel events that reach it.
class WheelCounter final : public QWidget {
public:
    using QWidget::QWidget;
    int wheels = 0;

protected:
    void wheelEvent(QWheelEvent* e) override {
        ++wheels;
        e->ignore();
    }
};

TEST(WheelHook, ASwallowedMessageReachesNoWindow) {
    ui::Form form;
    auto* outer = new WheelCounter(&form);
    auto* inner = new QWidget(outer);
    ui::TextBox txt(&form);
    form.Show();
    txt.widget()->setFocus();
    QApplication::setActiveWindow(&form);
    ui::WheelFilter filter;
    int keys = 0;
    filter.Hook([&](const ui::HookMessage& m) {
        if (m.message == ui::HookMessage::kKeyDown) ++keys;
        return m.message == ui::HookMessage::kMouseMove; // moves pass, wheel and keys are taken
    });
    QWheelEvent e(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::instance()->notify(inner, &e);
    EXPECT_EQ(outer->wheels, 0);
    QTest::keyClick(txt.widget(), Qt::Key_B);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(txt.Text(), "");
    filter.Unhook();
    QApplication::instance()->notify(inner, &e);
    EXPECT_EQ(outer->wheels, 1);
}

TEST_F(Wheel, AProcedureThatUnhooksItselfEndsTheTurnQuietly) {
    std::vector<std::string> log;
    const runtime::ScopedHooks hooks({.addLog = [&](const std::string& line) { log.push_back(line); },
                                      .msgBox = [](auto&&...) { return 1; }});
    filter.Hook([this](const ui::HookMessage& m) {
        seen.push_back(m);
        filter.Unhook();
        return true;
    });
    turn(240); // two notches: the second finds no procedure
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_FALSE(filter.hooked());
    EXPECT_TRUE(log.empty());
}

TEST_F(Wheel, UnhookedFilterSeesNothing) {
    filter.Unhook();
    turn(120);
    EXPECT_TRUE(seen.empty());
}

TEST(TitleBar, HidesAndShowsAndIgnoresARepeat) {
    ui::Form form;
    form.Show();
    modMemTricks::ShowTitleBar(form, false);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.isVisible());
    const auto flags = form.windowFlags();
    modMemTricks::ShowTitleBar(form, false);
    EXPECT_EQ(form.windowFlags(), flags);
    modMemTricks::ShowTitleBar(form, true);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form.isVisible());
}

TEST(PopupMenu, SeparatorsAndDisabledItemsAreShownButCannotBeChosen) {
    ui::testing::ScriptedDialogService dialogs;
    const std::vector<ui::MenuItem> items = {"Cancel", "-", "Set Tuning Rate", {"Lock Tune Rate", false}};
    dialogs.menuAnswers = {2, 1, 3, -1};
    EXPECT_EQ(dialogs.PopupMenu(items), 2);
    EXPECT_EQ(dialogs.PopupMenu(items), -1); // the separator
    EXPECT_EQ(dialogs.PopupMenu(items), -1); // the disabled item
    EXPECT_EQ(dialogs.PopupMenu(items), -1); // dismissed
    EXPECT_EQ(dialogs.unexpected, 2);
    ASSERT_EQ(dialogs.menus.size(), 4u);
    EXPECT_EQ(dialogs.menus[0], items);
    EXPECT_TRUE(dialogs.menus[0][1].separator());
    EXPECT_FALSE(dialogs.menus[0][3].Enabled);
}

TEST(TimerFloor, NoTimerFiresMoreOftenThanEveryTenMilliseconds) {
    const struct {
        int32_t asked;
        int64_t period;   // what the platform timers run at
        int ticksIn100;   // ticks of the platform timer in 100 ms
        bool controlRuns; // the timer control (0 stops it)
    } cases[] = {
        {0, 10, 10, false}, {1, 10, 10, true}, {9, 10, 10, true}, {10, 10, 10, true}, {50, 50, 2, true}};
    for (const auto& c : cases) {
        ui::testing::FakePlatformTimers timers;
        const int owner = 0;
        int ticks = 0;
        timers.SetTimer(&owner, 4, c.asked, [&] { ++ticks; });
        EXPECT_EQ(timers.askedMs(&owner, 4), c.asked);
        EXPECT_EQ(timers.periodMs(&owner, 4), c.period) << c.asked;
        timers.advance(100);
        EXPECT_EQ(ticks, c.ticksIn100) << c.asked;

        ui::QtPlatformTimers qtTimers;
        qtTimers.SetTimer(&owner, 4, c.asked, [] {});
        EXPECT_EQ(qtTimers.intervalMs(&owner, 4), c.period) << c.asked;

        ui::Timer tmr;
        tmr.setInterval(c.asked);
        EXPECT_EQ(tmr.Interval(), c.asked);
        EXPECT_EQ(tmr.running(), c.controlRuns) << c.asked;
        if (c.controlRuns) {
            EXPECT_EQ(tmr.qtimer().interval(), c.period) << c.asked;
        }
    }
}

} // namespace
