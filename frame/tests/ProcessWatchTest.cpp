// The process watch over a fake process table and window server: which names count as running, and which
// windows of which process are asked to close.
#include <gtest/gtest.h>

#include "frame/modIsProcessRunning.h"
#include "platform/process/testing/FakeProcessSystem.h"

using modIsProcessRunning::ProcessWatch;
using process::testing::FakeProcessTable;
using process::testing::FakeWindowSystem;

TEST(IsProcessRunning, MatchesEitherNameWithoutRegardToCaseOrExe) {
    const struct {
        std::string exeName;
        std::string commandName;
        std::string asked;
        int16_t result;
    } cases[] = {
        {"DREAM.exe", "DREAM.exe", "DREAM.exe", 1},
        {"DREAM.exe", "", "dream.exe", 1},
        {"dream", "dream", "DREAM.exe", 1}, // the Linux build has no ".exe"
        {"Dream.EXE", "", "dream", 1},
        {"", "DREAM.exe", "Dream.exe", 1}, // another user's process: only its command line is readable
        {"python3", "dream", "DREAM.exe", 1},
        {"dreamer", "dreamer", "DREAM.exe", 0},
        {"dream.exe.bak", "", "dream", 0},
        {"DREAM.exe", "DREAM.exe", "/opt/dream/DREAM.exe", 0}, // no folder is stripped
        {"DREAM.exe", "DREAM.exe", "", 0},
        {"", "", "", 0},
        {".exe", "", "", 0},
    };
    for (const auto& c : cases) {
        FakeProcessTable table;
        FakeWindowSystem windows;
        table.processes = {{{1, "init", "init"}, 1}, {{4242, c.exeName, c.commandName}, 7}};
        EXPECT_EQ(ProcessWatch(table, windows).IsProcessRunning(c.asked), c.result)
            << c.exeName << " / " << c.commandName << " asked as " << c.asked;
    }
}

TEST(IsProcessRunning, NoneRunningIsZeroTwoCopiesAreOneNoListIsMinusOne) {
    FakeProcessTable table;
    FakeWindowSystem windows;
    ProcessWatch watch(table, windows);
    EXPECT_EQ(watch.IsProcessRunning("DREAM.exe"), 0);
    table.processes = {{{10, "DREAM.exe", "DREAM.exe"}, 1}, {{11, "DREAM.exe", "DREAM.exe"}, 2}};
    EXPECT_EQ(watch.IsProcessRunning("DREAM.exe"), 1);
    table.listAvailable = false;
    EXPECT_EQ(watch.IsProcessRunning("DREAM.exe"), -1);
}

class CloseProcessWindows : public ::testing::Test {
protected:
    static constexpr process::Pid kDecoder = 500;
    static constexpr process::Pid kOther = 501;

    CloseProcessWindows() {
        table.processes = {{{kDecoder, "dream", "dream"}, 1000}, {{kOther, "editor", "editor"}, 900}};
        // Stacking order: hidden ones and dialogs in between, another program's windows around them.
        windows.windows = {
            {.id = 0x100, .pid = kOther},
            {.id = 0x200, .pid = kDecoder},
            {.id = 0x201, .pid = kDecoder, .owned = true},
            {.id = 0x300, .pid = 0},
            {.id = 0x202, .pid = kDecoder}, // hidden: still asked
        };
    }

    FakeProcessTable table;
    FakeWindowSystem windows;
    ProcessWatch watch{table, windows};
};

TEST_F(CloseProcessWindows, AsksEachUnownedWindowOfTheDecoderInStackingOrder) {
    watch.setTargetProcessId(kDecoder);
    EXPECT_EQ(watch.TargetProcessId(), kDecoder);
    watch.CloseProcessWindows();
    EXPECT_EQ(windows.closeRequests, (std::vector<process::WindowId>{0x200, 0x202}));
    EXPECT_TRUE(table.terminated.empty());
    EXPECT_EQ(windows.sessionsOpen, 0);
}

TEST_F(CloseProcessWindows, EachCallAsksOnlyTheWindowsItFindsItself) {
    watch.setTargetProcessId(kDecoder);
    watch.CloseProcessWindows();
    windows.closeRequests.clear();
    windows.windows = {{.id = 0x203, .pid = kDecoder}, {.id = 0x100, .pid = kOther}};
    watch.CloseProcessWindows();
    EXPECT_EQ(windows.closeRequests, (std::vector<process::WindowId>{0x203}));
}

TEST_F(CloseProcessWindows, DoesNothingWithoutARecordedDecoder) {
    watch.CloseProcessWindows();
    EXPECT_EQ(watch.TargetProcessId(), 0);
    windows.serverPresent = false;
    watch.CloseProcessWindows();
    watch.setTargetProcessId(0);
    watch.CloseProcessWindows();
    EXPECT_TRUE(windows.closeRequests.empty());
    EXPECT_TRUE(table.terminated.empty());
}

TEST_F(CloseProcessWindows, AReusedPidGetsNothing) {
    for (const bool serverPresent : {true, false}) {
        FakeProcessTable reused = table;
        FakeWindowSystem server = windows;
        server.serverPresent = serverPresent;
        ProcessWatch w(reused, server);
        w.setTargetProcessId(kDecoder);
        reused.processes[0].startTime = 2000; // the decoder ended and another program got its pid
        w.CloseProcessWindows();
        EXPECT_TRUE(server.closeRequests.empty()) << serverPresent;
        EXPECT_TRUE(reused.terminated.empty()) << serverPresent;
    }
}

TEST_F(CloseProcessWindows, ADecoderThatEndedBeforeItWasRecordedGetsNothing) {
    table.processes.erase(table.processes.begin());
    watch.setTargetProcessId(kDecoder);
    table.processes.push_back({{kDecoder, "other", "other"}, 3000});
    watch.CloseProcessWindows();
    EXPECT_TRUE(windows.closeRequests.empty());
}

TEST_F(CloseProcessWindows, WithoutAWindowServerTheDecoderAloneGetsSigterm) {
    windows.serverPresent = false;
    watch.setTargetProcessId(kDecoder);
    watch.CloseProcessWindows();
    EXPECT_EQ(table.terminated, (std::vector<process::ProcessIdentity>{{kDecoder, 1000}}));
    EXPECT_TRUE(windows.closeRequests.empty());
}

// The decoder's windows that show and are not owned get the style once each, as they appear: a window
// the user shows again is left to the user; a decoder that ended, or a style that is not minimised or
// hidden, gets nothing.
TEST_F(CloseProcessWindows, TheWindowStyleGoesToEachShownUnownedWindowOfTheDecoderOnce) {
    using modIsProcessRunning::kWindowStyleHide;
    using modIsProcessRunning::kWindowStyleMin;
    for (auto& w : windows.windows)
        w.shown = w.id != 0x202; // the hidden one stays hidden
    const struct Case {
        int32_t style;
        bool ended;
        std::vector<process::WindowId> iconified, withdrawn;
    } cases[] = {
        {kWindowStyleMin, false, {0x200}, {}},
        {kWindowStyleHide, false, {}, {0x200}},
        {modIsProcessRunning::kWindowStyleDefault, false, {}, {}},
        {7, false, {}, {}},
        {kWindowStyleHide, true, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        FakeProcessTable t = table;
        FakeWindowSystem server = windows;
        ProcessWatch w(t, server);
        w.setTargetProcessId(kDecoder);
        if (c.ended) t.processes[0].startTime = 2000;
        EXPECT_EQ(w.ApplyWindowStyle(c.style), int32_t(c.iconified.size() + c.withdrawn.size()));
        // A window that shows later gets it; the first, shown again, does not.
        server.windows.push_back({.id = 0x204, .pid = kDecoder, .shown = true});
        std::vector<process::WindowId> iconified = c.iconified, withdrawn = c.withdrawn;
        const bool styles = !iconified.empty() || !withdrawn.empty();
        EXPECT_EQ(w.ApplyWindowStyle(c.style), styles ? 1 : 0);
        if (styles) (iconified.empty() ? withdrawn : iconified).push_back(0x204);
        EXPECT_EQ(server.iconified, iconified);
        EXPECT_EQ(server.withdrawn, withdrawn);
        EXPECT_EQ(server.closeRequests, std::vector<process::WindowId>{});
        EXPECT_EQ(server.sessionsOpen, 0);
    }
}
