// The program itself, run in a folder of its own: the trace switch, the start-up's trace lines, a second
// instance, a folder without band plans, and the end of the process once the main window is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <xcb/xcb.h>

#include "platform/process/X11WindowSystem.h"
#include "platform/process/testing/ChildProcess.h"
#include "platform/profile/testing/TempFolder.h"

using process::testing::ChildProcess;
using profile::testing::ScopedEnv;
using profile::testing::TempFolder;

namespace {

constexpr auto kBound = std::chrono::seconds(60);
const std::string kPrefix = "frmSupervisor.Initialise";

int exitCode(const std::optional<int>& status) {
    if (!status) return -1;
    if (WIFEXITED(*status)) return WEXITSTATUS(*status);
    if (WIFSIGNALED(*status)) return 1000 + WTERMSIG(*status);
    return -2;
}

std::vector<std::string> logLines(const std::string& path) {
    std::istringstream in(TempFolder::readFile(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A program folder, a runtime folder and a settings folder of the test's own, and the message boxes
// answered and written to a file.
class Program : public ::testing::Test {
protected:
    Program()
        : home_("NERIXSDR_HOME", root_.file("home")), runtime_("XDG_RUNTIME_DIR", root_.file("run")),
          config_("XDG_CONFIG_HOME", root_.file("config")),
          dialogs_("NERIXSDR_DIALOG_RECORD", root_.file("dialogs")),
          platform_("QT_QPA_PLATFORM", std::string("offscreen")),
          lsan_("LSAN_OPTIONS", std::getenv("LSAN_OPTIONS") ? std::string(std::getenv("LSAN_OPTIONS"))
                                                            : "suppressions=" NERIX_LSAN_SUPPRESSIONS) {
        std::filesystem::create_directories(root_.file("home"));
        std::filesystem::create_directories(root_.file("run"));
        ::chmod(root_.file("run").c_str(), 0700);
    }

    void addBandPlans() {
        root_.write("home/Broadcast.bpl", "[MainBand]\r\n");
        root_.write("home/amateur.BPL", "[MainBand]\r\n");
    }
    std::string logPath() const { return root_.file("home/NerixSDR.log"); }
    std::string dialogText() const { return root_.read("dialogs"); }

    static ChildProcess start(const std::vector<std::string>& args) {
        std::vector<std::string> argv{NERIXSDR_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        return ChildProcess(NERIXSDR_PATH, argv);
    }
    static int run(const std::vector<std::string>& args) { return exitCode(start(args).waitFor(kBound)); }

    // Waits, with a bound, until the running program's log holds the line.
    bool waitForLogLine(const std::string& line) const {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto lines = logLines(logPath());
            if (std::find(lines.begin(), lines.end(), line) != lines.end()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TempFolder root_;
    ScopedEnv home_, runtime_, config_, dialogs_, platform_, lsan_;
};

} // namespace

TEST_F(Program, TraceSwitchIsTheLowerCaseWordAnywhereOnTheCommandLine) {
    // Without band plans the program ends at the scan, so each run is short.
    const struct {
        std::vector<std::string> args;
        bool traceOn;
    } cases[] = {{{"trace"}, true}, {{"notrace"}, true}, {{"Trace"}, false}, {{"TRACE"}, false}, {{}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::filesystem::remove(logPath());
        EXPECT_EQ(run(c.args), 1);
        ASSERT_EQ(std::filesystem::exists(logPath()), c.traceOn);
        if (!c.traceOn) continue;
        const auto lines = logLines(logPath());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), kPrefix + ":No BandPlans found in " + root_.file("home"));
    }
}

TEST_F(Program, WithoutBandPlansShowsTheCriticalMessageAndEnds) {
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(dialogText(),
              "NerixSDR - No Bandplan found\t16\tNo Bandplan (.bpl) files found - You must have at "
              "least 1 Bandplan \\r\\nPlease Re-Install Application or find a .BPL file\n");
}

TEST_F(Program, TracesTheStartUpAndRefusesASecondInstanceWithoutTouchingItsLog) {
    addBandPlans();
    ChildProcess first = start({"trace"});
    ASSERT_TRUE(waitForLogLine("frmMain:frmMain:Form_Load:Start"));

    std::vector<std::string> supervisor;
    for (const auto& l : logLines(logPath()))
        if (l.rfind("frmSupervisor.", 0) == 0) supervisor.push_back(l);
    EXPECT_EQ(supervisor,
              (std::vector<std::string>{
                  kPrefix + " : Start", kPrefix + " : Initialising Objects", kPrefix + " : Nerix.INIT",
                  kPrefix + " : PublicVars.SDRColourSchemes.Defaults", kPrefix + ":Initialising BandPlans",
                  kPrefix + ":Processing amateur.BPL", kPrefix + ":Processing Broadcast.bpl",
                  kPrefix + ":Initialising Digital Filter Objects", kPrefix + ":Creating Profiler Object",
                  kPrefix + ":Initialising Tuning Step Array", kPrefix + ":End",
                  kPrefix + " :Initialisation Completed"}));
    EXPECT_EQ(logLines(logPath()).front().rfind("NerixSDR Log File Started at Date=", 0), 0u);

    // The first instance may still be logging its own start-up; the second must neither start the log
    // anew nor add to it.
    const std::string before = TempFolder::readFile(logPath());
    EXPECT_EQ(run({"trace"}), 1);
    EXPECT_EQ(dialogText(), "NerixSDR\t0\tNerixSDR is already running\n");
    const std::string after = TempFolder::readFile(logPath());
    EXPECT_EQ(after.substr(0, before.size()), before);
    const auto started = logLines(logPath());
    EXPECT_EQ(
        std::count_if(started.begin(), started.end(),
                      [](const std::string& l) { return l.rfind("NerixSDR Log File Started", 0) == 0; }),
        1);
    EXPECT_EQ(std::count(started.begin(), started.end(), kPrefix + " : Start"), 1);

    first.signal(SIGTERM);
    first.waitFor(kBound);
}

// The window's title (WM_NAME), empty when it has none.
std::string windowTitle(const std::string& display, uint32_t window) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    std::string title;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    if (reply) {
        title.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
    }
    xcb_disconnect(c);
    return title;
}

// On a real X server: the test closes the program's main window as a window manager would.
class ProgramOnX : public Program {
protected:
    static void SetUpTestSuite() {
        xvfb_ = new ChildProcess(
            "Xvfb", {"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
        const auto number = xvfb_->readLine(kBound);
        if (number) display_ = ":" + *number;
    }
    static void TearDownTestSuite() {
        xvfb_->signal(SIGTERM);
        xvfb_->waitFor(kBound);
        delete xvfb_;
        xvfb_ = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(display_.empty()) << "Xvfb did not start"; }

    static inline ChildProcess* xvfb_ = nullptr;
    static inline std::string display_;
};

TEST_F(ProgramOnX, ClosingTheMainWindowEndsTheProcess) {
    addBandPlans();
    ScopedEnv display("DISPLAY", display_);
    ScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
    ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    ChildProcess program = start({"trace"});
    ASSERT_TRUE(waitForLogLine("frmMain:frmMain:Form_Load:Making frmMain Visible"));

    // The log window shows too; the main window is the one named after the program.
    process::X11WindowSystem x(display_);
    std::optional<process::WindowId> mainWindow;
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (!mainWindow && std::chrono::steady_clock::now() < deadline) {
        if (auto session = x.open())
            for (const auto& w : session->topLevelWindows())
                if (w.pid == program.pid() && !w.owned && windowTitle(display_, w.id) == "NerixSDR")
                    mainWindow = w.id;
        if (!mainWindow) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(mainWindow);
    auto session = x.open();
    ASSERT_TRUE(session);
    session->requestClose(*mainWindow);
    session.reset();
    EXPECT_EQ(exitCode(program.waitFor(kBound)), 0);
    EXPECT_TRUE(dialogText().empty());
}
