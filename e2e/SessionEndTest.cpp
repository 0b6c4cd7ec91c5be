// The desktop session ends (SIGTERM, SIGHUP or SIGINT) in states where a handler is under way: while
// receiving with every block slowed, so the signal arrives inside a block that pumps the message loop;
// with the first start's message boxes up; and at a second instance's "already running" box. The program
// ends by itself each time, the main window's shutdown saving the settings as a close does. And a
// settings file that cannot be written is told once in a box at "&Close", in the trace only at a signal.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "e2e/Gestures.h"
#include "recorder/RecorderPanelPorts.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using ProgramAtSessionEnd = EndToEnd;

const std::string kCloseWaits = "frmMain.Form_Unload : the close waits for the running handler";

bool endedWith(const std::optional<int>& status, int code) {
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == code;
}

// Every block spends 40 ms of its 42.7 ms asleep inside its timing, for the programs started meanwhile.
class SlowBlocks {
public:
    SlowBlocks() { setEnv("NERIXSDR_TEST_SLOW_BLOCK_MS", "40"); }
    ~SlowBlocks() { ::unsetenv("NERIXSDR_TEST_SLOW_BLOCK_MS"); }
};

// A message box of the program's (captioned with the product name, smaller than the main window), within
// the bound.
std::optional<WindowOnScreen> waitForBox(Screen& screen) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (std::chrono::steady_clock::now() < deadline) {
        for (const WindowOnScreen& w : screen.windows())
            if (w.caption == "NerixSDR" && w.width < 600) return w;
        std::this_thread::sleep_for(50ms);
    }
    return std::nullopt;
}

TEST_F(ProgramAtSessionEnd, EachSignalInsideASlowedBlockEndsTheProgramAfterTheBlockAndSavesTheSettings) {
    const SlowBlocks slow;
    size_t deferred = 0;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        sandbox_.writeSettings(softRockSettings(true, "DisplayMode=2\r\n"));
        fs::remove(sandbox_.traceFile());
        auto program = start();
        ASSERT_TRUE(main_);
        ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
        ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "optPwr_click : End", kBound)) << "never switched on";
        // Blocks flow for a while before the session ends.
        std::this_thread::sleep_for(1s);
        ::kill(program->pid(), signal);
        const auto status = program->waitForEnd(60s);
        ASSERT_TRUE(status) << "the program did not end";
        EXPECT_TRUE(endedWith(status, 0)) << "wait status " << *status << "; stderr:\n"
                                          << readFile(sandbox_.root() / "stderr");
        // Most signals land in a block's 40 ms; one between two blocks closes from the event loop at once.
        deferred += traceCount(sandbox_, kCloseWaits);
        const auto saved = iniSection(sandbox_.settingsFile(), "frmMain");
        EXPECT_GE(saved.size(), 40u) << "the main window's settings were not all saved";
        EXPECT_EQ(saved.count("DisplayMode") ? saved.at("DisplayMode") : "", "2");
        EXPECT_EQ(saved.count("SDRModelNo") ? saved.at("SDRModelNo") : "", "13");
    }
    EXPECT_GE(deferred, 1u) << "no signal found a block under way";
}

// A Record click whose file cannot be made waits in the error window; the session's end closes that
// window, and the close follows once the click has returned.
TEST_F(ProgramAtSessionEnd, ASignalWhileARecordClickWaitsInItsErrorWindowEndsTheProgram) {
    // A file where the recordings folder should be: nobody, not even root, makes a file inside it.
    const fs::path folder = sandbox_.root() / "files" / "not-a-folder";
    writeFile(folder, "");
    sandbox_.writeSettings(
        softRockSettings(true, "DisplayMode=3\r\nSaveRecordingsPath=" + folder.string() + "\r\n"));
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "optPwr_click : End", kBound)) << "never switched on";
    clickControl(screen(), *main_, mainwindow::design::recorderButton(recorder::transport::kRecord, false));
    const auto error = screen().waitFor("Recording File Error", kBound);
    ASSERT_TRUE(error) << "the error window never showed";
    ::kill(program->pid(), SIGTERM);
    const auto status = program->waitForEnd(60s);
    ASSERT_TRUE(status) << "the program did not end";
    EXPECT_TRUE(endedWith(status, 0)) << "wait status " << *status << "; stderr:\n"
                                      << readFile(sandbox_.root() / "stderr");
    EXPECT_EQ(traceCount(sandbox_, kCloseWaits), 1u);
    EXPECT_EQ(iniSection(sandbox_.settingsFile(), "frmMain").count("RunPriority"), 1u);
}

// Nothing saved yet: the first model's serial port cannot open here, and its two boxes wait for a person.
TEST_F(ProgramAtSessionEnd, TheFirstStartsBoxesAreAnsweredAndTheProgramEndsSavingTheSettings) {
    sandbox_.dialogsWaitForAPerson = true;
    Program program(sandbox_, {"trace"});
    // The splash, captioned alike, has gone by the time the main window's load sets the receiver up.
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "modSetupRx.InitialiseRX:Start", kBound));
    const auto box = waitForBox(screen());
    ASSERT_TRUE(box) << "no box showed; stderr:\n" << readFile(sandbox_.root() / "stderr");
    photograph(*box, "session-end-first-start-box");
    ::kill(program.pid(), SIGTERM);
    const auto status = program.waitForEnd(60s);
    ASSERT_TRUE(status) << "the program did not end after SIGTERM with its boxes up";
    EXPECT_TRUE(endedWith(status, 0)) << "wait status " << *status;
    // Both boxes' questions reach the trace: the one up, answered by the session's end, and the one after.
    EXPECT_EQ(traceCount(sandbox_, "NerixSDR: clsDDSSerialIF:clsDDSSerialIF:OpenPort : PollMode : Unable to "
                                   "Open COM1"),
              1u);
    EXPECT_EQ(traceCount(sandbox_, "NerixSDR: Unable to open Serial Interface COM1"), 1u);
    EXPECT_EQ(traceCount(sandbox_, "frmMain:frmMain:Form_Load:End"), 1u);
    EXPECT_TRUE(iniSection(sandbox_.settingsFile(), "frmMain").count("SDRModelNo"));
}

TEST_F(ProgramAtSessionEnd, ASecondInstancesBoxEndsAtTheFirstSignal) {
    sandbox_.writeSettings(softRockSettings(false));
    auto first = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    sandbox_.dialogsWaitForAPerson = true;
    Program second(sandbox_, {});
    ASSERT_TRUE(waitForBox(screen())) << "the second instance showed no box";
    ::kill(second.pid(), SIGTERM);
    const auto status = second.waitForEnd(30s);
    ASSERT_TRUE(status) << "one signal did not end the second instance";
    EXPECT_TRUE(endedWith(status, 1)) << "wait status " << *status;
    EXPECT_TRUE(first->running());
    ::kill(first->pid(), SIGTERM);
    EXPECT_TRUE(endedWith(first->waitForEnd(60s), 0));
}

// The settings file read-only at the close: "&Close" shows the failure once, naming the file; at a
// session's end the same words go to the trace only, and no box waits.
TEST_F(ProgramAtSessionEnd, ASettingsFileThatCannotBeSavedIsToldInABoxAtCloseAndInTheTraceAtASignal) {
    sandbox_.writeSettings(softRockSettings(false));
    const fs::path file = sandbox_.settingsFile();
    const std::string told = "The settings could not be saved:\\r\\n" + file.string() + " (";
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "at a signal" : "at \"&Close\"");
        fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
        fs::permissions(file.parent_path(), fs::perms::owner_all, fs::perm_options::add);
        sandbox_.writeSettings(softRockSettings(false, "DisplayMode=1\r\n"));
        const std::string before = readFile(file);
        fs::remove(sandbox_.traceFile());
        fs::remove(sandbox_.root() / "dialogs");
        auto program = start();
        ASSERT_TRUE(main_);
        ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
        // Neither the file nor its folder may be written any more.
        fs::permissions(file, fs::perms::owner_read);
        fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
        std::optional<int> status;
        std::string why;
        if (bySignal) {
            ::kill(program->pid(), SIGTERM);
            status = program->waitForEnd(60s);
        } else {
            status = offAndClose(screen(), *main_, sandbox_, *program, &why);
        }
        ASSERT_TRUE(status) << "the program did not end " << why;
        EXPECT_TRUE(endedWith(status, 0)) << "wait status " << *status;
        const auto dialogs = sandbox_.dialogs();
        if (bySignal) {
            EXPECT_EQ(dialogs, std::vector<std::string>{});
            const auto trace = sandbox_.trace();
            EXPECT_NE(std::find(trace.begin(), trace.end(), "NerixSDR: The settings could not be saved:"),
                      trace.end());
        } else {
            ASSERT_EQ(dialogs.size(), 1u);
            EXPECT_EQ(dialogs[0].rfind("NerixSDR\t0\t" + told, 0), 0u) << dialogs[0];
        }
        EXPECT_EQ(readFile(file), before) << "the refused file was changed";
    }
}

} // namespace
} // namespace e2e
