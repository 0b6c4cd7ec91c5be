// The redraw pacing on simulated platform timers over an analyser on recording pictures: which calls draw,
// the frozen chain with the power off, a minimised window, an idle frozen display, failing frames, and
// one arm on the real event loop.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "display/frmUpDateScopeDisplay.h"
#include "display/tests/AnalyserFixture.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/QtPlatformTimers.h"
#include "platform/ui/testing/FakePlatformTimers.h"
#include "platform/ui/testing/RecordingPicture.h"

namespace {

using Kind = ui::testing::RecordingPicture::Kind;

struct Shell final : display::DisplayShell {
    bool minimised = false;
    bool Minimised() const override { return minimised; }
};

template <class Timers> struct PacingRig {
    PacingRig() : analyser(1024, 300) {
        analyser.setUp(1024, 300);
        knobs[lblFrameRateIndex].Value = 1;
        forget();
    }

    // The frames drawn since the last forget: each starts by clearing its picture.
    int frames() const {
        int n = 0;
        for (const auto* p : {&analyser.pic0, &analyser.pic1})
            for (const auto& d : p->drawn)
                n += d.kind == Kind::Cls ? 1 : 0;
        return n;
    }
    void forget() {
        analyser.pic0.forget();
        analyser.pic1.forget();
    }
    // One played block: the drivers' 1 ms arm, then the block's 42.67 ms pass.
    void block() {
        pacing.SetScopeTimer(frmUpDateScopeDisplay::kBlockArmMs);
        advance(43);
    }
    void advance(int64_t ms) {
        if constexpr (requires { timers.advance(ms); }) timers.advance(ms);
    }
    bool armed() const { return timers.isArmed(&pacing, frmUpDateScopeDisplay::kTimerId); }

    AnalyserOn<ui::testing::RecordingPicture> analyser;
    Timers timers;
    modTiming::Timing timing;
    CtlArray knobs{};
    Shell shell;
    frmUpDateScopeDisplay pacing{{timers, timing, analyser.a, knobs, shell}};
};
using Rig = PacingRig<ui::testing::FakePlatformTimers>;

TEST(RedrawPacing, EveryNthPlayedBlockDraws) {
    const struct {
        float frameRate;
        std::vector<int> drawingCalls;
    } cases[] = {{1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}, {4, {4, 8, 12}}, {3.6f, {4, 8, 12}}, {16, {}}};
    for (const auto& c : cases) {
        Rig rig;
        rig.knobs[lblFrameRateIndex].Value = c.frameRate;
        std::vector<int> drawing;
        for (int call = 1; call <= 12; ++call) {
            const int before = rig.frames();
            rig.block();
            if (rig.frames() > before) drawing.push_back(call);
            EXPECT_FALSE(rig.armed()) << "every arm yields one call";
            if (c.frameRate == 4 && call == 5) {
                EXPECT_EQ(rig.pacing.FrameCounter(), 5);
            }
        }
        EXPECT_EQ(drawing, c.drawingCalls) << c.frameRate;
        EXPECT_EQ(rig.pacing.FrameCounter(), 12);
    }
}

TEST(RedrawPacing, TheCounterIsMaskedOnlyOnCallsThatDoNotDraw) {
    // 40000 calls: past 0x7FFF with N = 1 the counter goes on; with N = 3 it wraps at 15 bits.
    Rig one, three;
    three.knobs[lblFrameRateIndex].Value = 3;
    // An analyser that is switched off draws nothing, so only the counting is left.
    one.analyser.a.Active = false;
    three.analyser.a.Active = false;
    for (int call = 0; call < 40000; ++call) {
        one.pacing.UpdateScopeDisplay();
        three.pacing.UpdateScopeDisplay();
    }
    EXPECT_EQ(one.pacing.FrameCounter(), 40000);
    EXPECT_LT(three.pacing.FrameCounter(), 0x8000);
}

TEST(RedrawPacing, AFrameRateBelowOneStillDrawsEveryCall) {
    for (const float value : {0.0f, 0.4f, -5.0f}) {
        Rig rig;
        rig.knobs[lblFrameRateIndex].Value = value;
        rig.block();
        rig.block();
        EXPECT_EQ(rig.frames(), 2) << value;
    }
}

TEST(RedrawPacing, AMinimisedWindowNeitherDrawsNorCounts) {
    Rig rig;
    rig.shell.minimised = true;
    rig.analyser.a.Freeze = true;
    for (int i = 0; i < 5; ++i)
        rig.block();
    EXPECT_EQ(rig.frames(), 0);
    EXPECT_EQ(rig.pacing.FrameCounter(), 0);
    EXPECT_FALSE(rig.armed()); // the frozen chain does not go on either
    rig.shell.minimised = false;
    rig.block();
    EXPECT_EQ(rig.frames(), 2); // the chain draws both pictures, then idles
    EXPECT_TRUE(rig.armed());
}

TEST(RedrawPacing, PowerOffStartsAFrozenChainUntilPowerOnKillsIt) {
    Rig rig;
    rig.analyser.a.Freeze = true;
    rig.pacing.SetScopeTimer(frmUpDateScopeDisplay::kPowerOffArmMs);
    rig.advance(49);
    EXPECT_EQ(rig.pacing.FrameCounter(), 0);
    rig.advance(1);
    EXPECT_EQ(rig.pacing.FrameCounter(), 1);
    EXPECT_EQ(rig.frames(), 1);
    // The chain asks for 1 ms and runs at the timers' 10 ms floor.
    EXPECT_EQ(rig.timers.askedMs(&rig.pacing, 1), 1);
    EXPECT_EQ(rig.timers.periodMs(&rig.pacing, 1), 10);
    rig.advance(1000);
    EXPECT_EQ(rig.pacing.FrameCounter(), 101);
    // "On": the timer killed, the display unfrozen.
    rig.pacing.KillScopeTimer();
    rig.analyser.a.Freeze = false;
    rig.advance(1000);
    EXPECT_EQ(rig.pacing.FrameCounter(), 101);
}

TEST(RedrawPacing, WithTwoBlocksPerFrameAFrozenChainDrawsAtMostOnce) {
    for (const int callsBefore : {0, 1}) {
        Rig rig;
        rig.knobs[lblFrameRateIndex].Value = 2;
        for (int i = 0; i < callsBefore; ++i)
            rig.pacing.UpdateScopeDisplay();
        rig.forget();
        rig.analyser.a.Freeze = true;
        rig.pacing.SetScopeTimer(frmUpDateScopeDisplay::kPowerOffArmMs);
        rig.advance(5000);
        EXPECT_EQ(rig.frames(), callsBefore) << callsBefore;
        EXPECT_FALSE(rig.armed());
    }
}

TEST(RedrawPacing, AnIdleFrozenDisplayDrawsNothingUntilWhatItShowsChanges) {
    Rig rig;
    rig.analyser.load(tone(100, 1000), tone(200, 1000));
    rig.block();
    rig.analyser.a.Freeze = true;
    rig.forget();
    rig.pacing.SetScopeTimer(frmUpDateScopeDisplay::kPowerOffArmMs);
    rig.advance(50);
    rig.advance(10);
    // Both pictures show the frozen frame: the chain goes on and draws nothing.
    EXPECT_EQ(rig.frames(), 2);
    rig.forget();
    rig.advance(1000);
    EXPECT_EQ(rig.frames(), 0);
    EXPECT_TRUE(rig.armed());
    EXPECT_EQ(rig.analyser.pic0.events.size() + rig.analyser.pic1.events.size(), 0u);

    auto& a = rig.analyser.a;
    const struct {
        const char* change;
        std::function<void()> make;
    } changes[] = {
        {"a brightness knob", [&] { a.SetChannelBrightness(0, 50); }},
        {"a shift knob", [&] { a.setChn1Shift(20); }},
        {"the span", [&] { a.StopBin = 900; }},
        {"a colour", [&] { a.setGraticuleColour(0x203040); }},
        {"the notch", [&] { rig.analyser.state.NotchCentre = 1500; }},
        {"a picture's size", [&] { rig.analyser.pic1.Move(0, 0, 1000 * 15, 280 * 15); }},
        {"the filter curve", [&] { a.LoadFilterCoeffs_T_S(std::vector<float>(2048, 0.001f)); }},
    };
    for (const auto& c : changes) {
        c.make();
        rig.advance(10);
        EXPECT_EQ(rig.frames(), 1) << c.change << " shows at the next call";
        rig.advance(10);
        EXPECT_EQ(rig.frames(), 2) << c.change << " on the other picture too";
        rig.advance(200);
        EXPECT_EQ(rig.frames(), 2) << c.change << " then nothing more";
        rig.forget();
    }
}

TEST(RedrawPacing, AFailingFrameIsLoggedAndThePacingGoesOn) {
    std::vector<std::string> lines;
    const runtime::ScopedHooks hooks({{}, [&](const std::string& l) { lines.push_back(l); }, {}});
    Rig rig;
    // An I/Q marker over an empty span divides by zero in the graticule.
    rig.analyser.a.setIQMode(true);
    rig.analyser.a.StopBin = rig.analyser.a.StartBin;
    rig.block();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Code=11"), std::string::npos) << lines[0];
    EXPECT_EQ(rig.pacing.FrameCounter(), 1);
    rig.analyser.a.StopBin = 1024;
    rig.forget();
    rig.block();
    EXPECT_EQ(rig.frames(), 1);
    EXPECT_EQ(lines.size(), 1u);
}

// The drivers arm the redraw inside the playback notification; it runs once the handler has returned.
TEST(RedrawPacing, ARedrawArmedInANotificationRunsAfterItReturns) {
    PacingRig<ui::QtPlatformTimers> rig;
    int64_t countAtReturn = -1;
    bool notified = false;
    QTimer::singleShot(0, [&] {
        rig.pacing.SetScopeTimer(frmUpDateScopeDisplay::kBlockArmMs);
        // The rest of the notification's work; the event loop does not run meanwhile.
        countAtReturn = rig.pacing.FrameCounter();
        notified = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.pacing.FrameCounter() == 1; }, 2000));
    EXPECT_TRUE(notified);
    EXPECT_EQ(countAtReturn, 0);
    EXPECT_EQ(rig.frames(), 1);
    EXPECT_EQ(rig.timers.intervalMs(&rig.pacing, frmUpDateScopeDisplay::kTimerId), 0);
}

} // namespace
