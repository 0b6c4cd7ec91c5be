// A close that arrives while a handler pumps the message loop: from inside a block that used most of its
// time (the close box, "&Close", an unload, the session's end) and from inside the recorder's question on
// closing an unsaved recording. Nothing is released beneath the handler (a use after free under the
// sanitizers), the close follows once it has returned, and the settings are saved once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "mainwindow/tests/MainWindowRig.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/SessionAnswers.h"
#include "platform/ui/UiHooks.h"
#include "recorder/RecorderControls.h"
#include "recorder/RecorderPanel.h"

namespace {

using mainwindowtest::WatchedMain;
constexpr int64_t kBlock = 2048;
// Each block reads as 41 ms of its 42.7 ms, so every block lets events through before it ends.
constexpr int64_t kSlowBlockTicks = 410'000;

struct CloseInHandler : ::testing::Test, mainwindowtest::MainWindowRig {
    CloseInHandler() {
        context.BlockProfiler = &slowProfiler;
        sound.captureSource = [](int64_t frame, int32_t) -> int16_t { return int16_t(frame % 200 - 100); };
    }
    ~CloseInHandler() override { runtime::setSessionEnding(false); }

    WatchedMain& open() {
        auto& w = make();
        w.Show();
        w.optPwr[0].setValue(true);
        EXPECT_TRUE(receiver().SoundCard);
        return w;
    }
    int saves() const { return int(std::count(effects.begin(), effects.end(), "SaveSettings")); }
    // The event loop runs until the window has gone, within a generous bound.
    bool closesAfterwards() {
        return QTest::qWaitFor([this] { return !window->Loaded(); }, 20000);
    }

    runtime::testing::FakePerformanceCounter counter{10'000'000, kSlowBlockTicks};
    Profiler slowProfiler{counter};
};

TEST_F(CloseInHandler, EachKindOfCloseInsideAPumpingBlockWaitsForTheBlocksEnd) {
    const struct {
        const char* kind;
        std::function<void(WatchedMain&)> ask;
    } cases[] = {
        {"the close box", [](WatchedMain& w) { w.close(); }},
        {"\"&Close\"", [](WatchedMain& w) { w.optPwr_Click(2); }},
        {"an unload", [](WatchedMain& w) { EXPECT_FALSE(w.Unload()); }},
        {"the session's end",
         [](WatchedMain& w) {
             ui::beginSessionEnd();
             w.close();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        effects.clear();
        runtime::setSessionEnding(false);
        auto& w = open();
        bool asked = false, releasedBeneath = true;
        onPump = [&] {
            if (asked) return;
            asked = true;
            c.ask(w);
            QCoreApplication::processEvents();
            releasedBeneath = receiver().Unloaded() || !receiver().Path || !w.Loaded();
        };
        sound.advance(kBlock);
        onPump = nullptr;
        ASSERT_TRUE(asked) << "no block pumped the message loop";
        EXPECT_FALSE(releasedBeneath);
        EXPECT_EQ(saves(), 0);
        EXPECT_TRUE(closesAfterwards());
        EXPECT_TRUE(receiver().Unloaded());
        EXPECT_EQ(saves(), 1);
        window.reset();
    }
}

// The question is a real box: the session's end answers it No, which leaves the recording undecided for
// the next start's recovery, and the close that came with it follows the click's end.
TEST_F(CloseInHandler, TheSessionsEndInsideTheRecordersQuestionKeepsTheRecordingAndThenCloses) {
    auto& w = open();
    recorder::RecorderControls& controls = *w.RecorderControls;
    const auto click = [&](int16_t i) { QTest::mouseClick(controls.cmdWavCtls[i].widget(), Qt::LeftButton); };
    click(recorder::transport::kRecord);
    for (int i = 0; i < 8; ++i)
        sound.advance(kBlock);
    click(recorder::transport::kStop);
    const std::string temp = receiver().WavFile->TempFileName;
    ASSERT_TRUE(std::filesystem::exists(temp));

    ui::QtDialogService boxes;
    ui::UiHooks real(boxes, [this](const std::string& l) { log.push_back(l); });
    bool up = false;
    QTimer whenUp;
    QObject::connect(&whenUp, &QTimer::timeout, [&] {
        if (!QApplication::activeModalWidget()) return;
        whenUp.stop();
        up = true;
        ui::beginSessionEnd();
        w.close();
        EXPECT_TRUE(w.Loaded());
    });
    whenUp.start(10);
    click(recorder::transport::kClose);
    ASSERT_TRUE(up) << "the question never showed";
    EXPECT_TRUE(w.Loaded());
    EXPECT_NE(
        std::find(log.begin(), log.end(), std::string("NerixSDR: ") + recorder::messages::kCloseUnsaved),
        log.end());
    EXPECT_TRUE(closesAfterwards());
    EXPECT_EQ(saves(), 1);
    EXPECT_TRUE(std::filesystem::exists(temp)) << "the undecided recording was discarded";
    EXPECT_EQ(store.GetSetting("NerixSDR", "WavFile", "UnsavedRecording", ""), temp);
}

} // namespace
