// The program itself: its version record and, run in a folder of its own, the trace switch, the
// start-up's trace lines, a second instance, a folder without band plans, and the end of the process
// once the main window is closed or the desktop session ends.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <xcb/xcb.h>

#include "frame/CFileVersionInfo.h"
#include "platform/process/X11WindowSystem.h"
#include "platform/process/testing/ChildProcess.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/version/VersionFile.h"

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
// answered and written to a file. The saved receiver is model 13, which drives no hardware lines, and
// serial port 1 names a device that does not exist, so the program never opens a real port.
class Program : public ::testing::Test {
protected:
    Program()
        : home_("NERIXSDR_HOME", root_.file("home")), runtime_("XDG_RUNTIME_DIR", root_.file("run")),
          config_("XDG_CONFIG_HOME", root_.file("config")),
          dialogs_("NERIXSDR_DIALOG_RECORD", root_.file("dialogs")),
          platform_("QT_QPA_PLATFORM", std::string("offscreen")),
          lsan_("LSAN_OPTIONS", std::getenv("LSAN_OPTIONS") ? std::string(std::getenv("LSAN_OPTIONS"))
                                                            : "suppressions=" NERIX_LSAN_SUPPRESSIONS),
          com1_("NERIX_COM1", root_.file("no-serial-port")) {
        std::filesystem::create_directories(root_.file("home"));
        std::filesystem::create_directories(root_.file("run"));
        ::chmod(root_.file("run").c_str(), 0700);
        std::filesystem::create_directories(root_.file("config/NerixSDR"));
        root_.write("config/NerixSDR/NerixSDR.ini", "[frmMain]\r\nSDRModelNo=13\r\n");
    }
    std::string settingsText() const { return root_.read("config/NerixSDR/NerixSDR.ini"); }

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

    // Waits, with a bound, until a message box holding the text was shown.
    bool waitForDialog(const std::string& text) const {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (std::chrono::steady_clock::now() < deadline) {
            if (dialogText().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

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
    ScopedEnv home_, runtime_, config_, dialogs_, platform_, lsan_, com1_;
};

} // namespace

TEST(CFileVersionInfo, TheProgramCarriesTheProjectVersion) {
    CFileVersionInfo info;
    info.FullPathName(NERIXSDR_PATH);
    ASSERT_TRUE(info.Available());
    EXPECT_EQ(info.ProductVersion(), version::programVersion());
    EXPECT_EQ(info.ProductName(), "NerixSDR");
    EXPECT_EQ(info.FileType(), "Application");
}

// The log is written only beside band plans, so each run starts the main window. With nothing saved the
// first model's serial messages show during the window's load, after the log was made or not; the
// session's end then closes the window.
TEST_F(Program, TraceSwitchIsTheLowerCaseWordAnywhereOnTheCommandLine) {
    addBandPlans();
    const struct {
        std::vector<std::string> args;
        bool traceOn;
    } cases[] = {{{"trace"}, true}, {{"notrace"}, true}, {{"Trace"}, false}, {{"TRACE"}, false}, {{}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        std::filesystem::remove(logPath());
        std::filesystem::remove(root_.file("dialogs"));
        std::filesystem::remove(root_.file("config/NerixSDR/NerixSDR.ini"));
        ChildProcess program = start(c.args);
        ASSERT_TRUE(waitForDialog("Unable to open Serial Interface COM1"));
        program.signal(SIGTERM);
        EXPECT_EQ(exitCode(program.waitFor(kBound)), 0);
        ASSERT_EQ(std::filesystem::exists(logPath()), c.traceOn);
        if (!c.traceOn) continue;
        const auto lines = logLines(logPath());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().rfind("NerixSDR Log File Started at Date=", 0), 0u);
        EXPECT_NE(std::find(lines.begin(), lines.end(), kPrefix + " :Initialisation Completed"), lines.end());
    }
}

TEST_F(Program, WithoutBandPlansShowsTheCriticalMessageAndEnds) {
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(dialogText(),
              "NerixSDR - No Bandplan found\t16\tNo Bandplan (.bpl) files found - You must have at "
              "least 1 Bandplan \\r\\nPlease Re-Install Application or find a .BPL file\\r\\n"
              "Folder searched: " +
                  root_.file("home") + "\n");
}

// A program folder set to one without band plans (as "/" is), to a file or to a missing folder: the message
// names it, and the trace log is written nowhere.
TEST_F(Program, AProgramFolderWithoutBandPlansIsNamedAndGetsNoTraceLog) {
    root_.write("other/notes.txt", "");
    for (const std::string& home : {root_.file("other"), root_.write("file", ""), root_.file("missing")}) {
        SCOPED_TRACE(home);
        std::filesystem::remove(root_.file("dialogs"));
        ScopedEnv programFolder("NERIXSDR_HOME", home);
        EXPECT_EQ(run({"trace"}), 1);
        EXPECT_NE(dialogText().find("find a .BPL file\\r\\nFolder searched: " + home + "\n"),
                  std::string::npos)
            << dialogText();
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_.path()))
            EXPECT_NE(entry.path().filename(), "NerixSDR.log") << entry.path();
    }
}

// With nothing saved the program sets up the first model, whose serial port cannot open here: both the
// line's and the set-up's messages are shown, and the program starts all the same. The set-up is the main
// window's load step, with the window's serial event control.
TEST_F(Program, WithNoSavedModelSetsUpTheFirstModelAndReportsItsSerialPort) {
    addBandPlans();
    std::filesystem::remove(root_.file("config/NerixSDR/NerixSDR.ini"));
    ChildProcess program = start({"trace"});
    ASSERT_TRUE(waitForLogLine("frmMain:frmMain:Form_Load:End"));
    EXPECT_EQ(dialogText(),
              "NerixSDR\t0\tclsDDSSerialIF:clsDDSSerialIF:OpenPort : PollMode : Unable to Open COM1\\r\\n"
              "Please Set valid COM port in Configuration, then Close and Restart\n"
              "NerixSDR\t0\tUnable to open Serial Interface COM1\\r\\nmodSetupRx.InitialiseRX:0\\r\\n"
              "Error Code=0\\r\\nError Desc=No such file or directory\n");
    const auto lines = logLines(logPath());
    const auto end = std::find(lines.begin(), lines.end(), "modSetupRx.InitialiseRX:End");
    EXPECT_NE(end, lines.end());
    EXPECT_GT(end - lines.begin(), std::find(lines.begin(), lines.end(),
                                             "frmMain:frmMain:Form_Load : Initialising Interface Objects") -
                                       lines.begin());
    EXPECT_LT(end - lines.begin(),
              std::find(lines.begin(), lines.end(), "frmMain:frmMain:Form_Load:Initialising sldAGCAttack") -
                  lines.begin());
    // No display frame is asked for before the load has set the analyser up.
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("ScopeTimerProc"), std::string::npos) << line;
    program.signal(SIGTERM);
    program.waitFor(kBound);
}

// A FIFO where the settings file should be once hung the program before its first window, for ever.
TEST_F(Program, AFifoAtTheSettingsPathIsRefusedAndTheProgramStarts) {
    addBandPlans();
    const std::string settings = root_.file("config/NerixSDR/NerixSDR.ini");
    std::filesystem::remove(settings);
    ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
    ChildProcess program = start({"trace"});
    ASSERT_TRUE(waitForLogLine("frmMain:frmMain:Form_Load:End"));
    const auto lines = logLines(logPath());
    EXPECT_NE(
        std::find(
            lines.begin(), lines.end(),
            "INI file " + settings +
                " not read: it is not a regular file (a folder, a FIFO or a device); it is left as it is"),
        lines.end());
    program.signal(SIGTERM);
    program.waitFor(kBound);
    EXPECT_TRUE(std::filesystem::is_fifo(settings));
    // The user is told once that the settings are the defaults.
    const std::string told = "NerixSDR\t48\tUnable to read the settings file " + settings +
                             "\\r\\nit is not a regular file (a folder, a FIFO or a device)\\r\\n"
                             "Default settings are in use, and the file is left as it is\n";
    const std::string dialogs = dialogText();
    EXPECT_EQ(dialogs.rfind(told, 0), 0u) << dialogs;
    EXPECT_EQ(dialogs.find(told, 1), std::string::npos) << dialogs;
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

// The window's width and height in pixels; 0 when it cannot be asked.
std::pair<int, int> windowSize(const std::string& display, uint32_t window) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    std::pair<int, int> size{0, 0};
    if (xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr)) {
        size = {g->width, g->height};
        std::free(g);
    }
    xcb_disconnect(c);
    return size;
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
    // The main window's size in pixels once its load had ended.
    std::pair<int, int> mainWindowSize{0, 0};

    // The product name, alone while the load runs and followed by the model's name once it has ended.
    static bool isMainWindowTitle(const std::string& title) {
        return title == "NerixSDR" || title.rfind("NerixSDR - ", 0) == 0;
    }

    // Starts the program on the X server, closes its main window as a window manager would and gives
    // the exit code (-1 when the main window never appeared).
    int runAndCloseMainWindow() {
        ScopedEnv display("DISPLAY", display_);
        ScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
        ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
        ChildProcess program = start({"trace"});
        if (!waitForLogLine("frmMain:frmMain:Form_Load:Making frmMain Visible")) return -1;

        // The log window shows too; the main window is the one named after the program.
        process::X11WindowSystem x(display_);
        std::optional<process::WindowId> mainWindow;
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (!mainWindow && std::chrono::steady_clock::now() < deadline) {
            if (auto session = x.open())
                for (const auto& w : session->topLevelWindows())
                    if (w.pid == program.pid() && !w.owned && isMainWindowTitle(windowTitle(display_, w.id)))
                        mainWindow = w.id;
            if (!mainWindow) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!mainWindow) return -1;
        if (!waitForLogLine("frmMain:frmMain:Form_Load:End")) return -1;
        mainWindowSize = windowSize(display_, *mainWindow);
        auto session = x.open();
        if (!session) return -1;
        session->requestClose(*mainWindow);
        session.reset();
        return exitCode(program.waitFor(kBound));
    }
};

TEST_F(ProgramOnX, ClosingTheMainWindowEndsTheProcess) {
    addBandPlans();
    EXPECT_EQ(runAndCloseMainWindow(), 0);
    EXPECT_TRUE(dialogText().empty());
}

// The saved model's radio is built at start-up and released at exit, which saves what the VFO and the
// oscillator of that model hold under the model's section. The empty band plan's block tunes below the
// model's range, which holds it at its lowest, 7031000 Hz.
TEST_F(ProgramOnX, BuildsTheSavedModelsRadioAndSavesItAtExit) {
    addBandPlans();
    ASSERT_EQ(runAndCloseMainWindow(), 0);
    EXPECT_TRUE(dialogText().empty());

    const auto lines = logLines(logPath());
    for (const char* line :
         {"RxDefinitions.Initialise:End", "modSetupRx.InitialiseRX:Start", "modSetupRx.InitialiseRX:End"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;

    const std::string ini = settingsText();
    const auto section = ini.find("[RXModel.Soft Rock 40-7.055MHz]");
    ASSERT_NE(section, std::string::npos) << ini;
    const std::string keys = ini.substr(section);
    for (const char* key : {"TunedFrequency=70310000", "IFFrequency=12000", "OscMultiplier=4", "CLKIn=48000",
                            "BaseFrequency=28220000", "DDSInterfaceType=3"})
        EXPECT_NE(keys.find(key), std::string::npos) << key << "\n" << ini;
}

// With a saved layout the window opens at that layout's size (on a bare X server there is no window frame:
// the client area is the whole window, 12465 twips wide, and "Comp" ends below the power frame at 1200
// twips). Once closed, the store holds every key of the main window's save, those restored unchanged.
TEST_F(ProgramOnX, OpensAtTheSavedLayoutAndSavesEveryKeyAtExit) {
    addBandPlans();
    root_.write("config/NerixSDR/NerixSDR.ini", "[frmMain]\r\nSDRModelNo=13\r\nDisplayMode=0\r\n"
                                                "CurrentPlaybackDevice=3\r\nRunPriority=128\r\n"
                                                "SDRTuningColour=65280\r\nNoiseFloor=999999\r\n"
                                                "DRM.PathToDream=/opt/dream/dream\r\n");
    ASSERT_EQ(runAndCloseMainWindow(), 0);
    EXPECT_EQ(mainWindowSize, (std::pair<int, int>{831, 80}));

    const std::string ini = settingsText();
    const std::string frmMain = ini.substr(0, ini.find("\r\n[", 1));
    for (const char* key : {"SDRModelNo=13",
                            "DisplayMode=0",
                            "CurrentPlaybackDevice=3",
                            "RunPriority=128",
                            "SDRTuningColour=65280",
                            "NoiseFloor=999999",
                            "DRM.PathToDream=/opt/dream/dream",
                            "SDRBackgroundColour=",
                            "SDRFrameFocusColour=",
                            "SDRFrameNormalColour=",
                            "SDRLabelColour=",
                            "ScrollableLabelFocusColour=",
                            "ScrollableLabelNormalColour=",
                            "CurrentMainBandIndex=",
                            "PerfStatsOn=",
                            "UseSPL=",
                            "ShaftAutoRate=",
                            "EnableShaftEncoder=",
                            "ScrollWheelEnableOverScope=",
                            "ScopeSource=",
                            "NBOn=",
                            "NB=",
                            "CurrentCaptureDevice=",
                            "MuteAf=",
                            "AutoDDSRefresh=False",
                            "MouseOverS.HiLiteBorder=",
                            "KBDSupport=",
                            "DRM.RunDreamOnDRM=",
                            "DRM.MuteAFOnDRM=",
                            "DRM.CloseSoundcardOnDRM=",
                            "DRM.DreamProgArgs=",
                            "DRM.DreamWindowStyle=",
                            "DRM.DreamCloseOnExit=",
                            "DRM.DreamCloseOnModeChange=",
                            "AutoTrackPresets=",
                            "FormCaptionOffOnPwrOn=",
                            "AutoStartSDR=",
                            "SaveRecordingsPath=",
                            "PhaseBitCorrection=",
                            "FlipIQ=",
                            "SoundcardCorrection=",
                            "SoundcardCorrectionAmpBalance=",
                            "DDSIFType=0"})
        EXPECT_NE(frmMain.find(std::string("\r\n") + key), std::string::npos) << key << "\n" << frmMain;
}

// The end of the desktop session closes the main window as its close box does: the shutdown runs, the
// settings of the run are saved and the program ends by itself (a signal's own action would have ended it
// at once, leaving the store as it was).
TEST_F(ProgramOnX, TheSessionsEndClosesTheMainWindowAndSavesTheSettingsOfTheRun) {
    addBandPlans();
    ScopedEnv display("DISPLAY", display_);
    ScopedEnv platform("QT_QPA_PLATFORM", std::nullopt);
    ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        root_.write("config/NerixSDR/NerixSDR.ini", "[frmMain]\r\nSDRModelNo=13\r\nDisplayMode=2\r\n");
        std::filesystem::remove(logPath());
        ChildProcess program = start({"trace"});
        ASSERT_TRUE(waitForLogLine("frmMain:frmMain:Form_Load:End"));
        program.signal(signal);
        EXPECT_EQ(exitCode(program.waitFor(kBound)), 0);

        const std::string ini = settingsText();
        for (const char* key : {"\r\nDisplayMode=2", "\r\nPerfStatsOn=", "\r\nAutoDDSRefresh=False",
                                "[RXModel.Soft Rock 40-7.055MHz]", "\r\nTunedFrequency=70310000"})
            EXPECT_NE(ini.find(key), std::string::npos) << key << "\n" << ini;
    }
    EXPECT_TRUE(dialogText().empty());
}
