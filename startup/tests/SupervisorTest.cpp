// The start-up supervisor in the process: the trace switch, the sequence's trace lines and what it
// creates, a second instance, a folder without band plans, and the watchdog's exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <filesystem>

#include "platform/process/testing/FakeProcessSystem.h"
#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "startup/BandPlanFiles.h"
#include "startup/frmSupervisor.h"

using process::testing::FakeProcessTable;
using process::testing::FakeWindowSystem;
using profile::testing::TempFolder;
using ui::testing::ScriptedDialogService;

namespace {

constexpr const char* kNoBandPlanText =
    "No Bandplan (.bpl) files found - You must have at least 1 Bandplan \r\n"
    "Please Re-Install Application or find a .BPL file\r\n"
    "Folder searched: ";

struct Harness {
    explicit Harness(std::vector<std::string> args = {}, bool another = false) {
        app.Settings = std::make_unique<profile::MemorySettingsStore>();
        auto table = std::make_unique<FakeProcessTable>();
        auto windows = std::make_unique<FakeWindowSystem>();
        processes = table.get();
        windowSystem = windows.get();
        app.Processes = std::move(table);
        app.Windows = std::move(windows);
        app.ProcessWatch = std::make_unique<modIsProcessRunning::ProcessWatch>(*app.Processes, *app.Windows);
        env.arguments = std::move(args);
        env.programFolder = folder.path();
        env.executableName = "NerixSDR";
        env.otherInstanceRunning = [another] { return another; };
        env.endProcess = [this](int code) { ended.push_back(code); };
    }

    std::vector<std::string> supervisorLines() const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind("frmSupervisor.", 0) == 0) out.push_back(l);
        return out;
    }

    TempFolder folder;
    Application app;
    FakeProcessTable* processes = nullptr;
    FakeWindowSystem* windowSystem = nullptr;
    frmSupervisor::Environment env;
    std::vector<int> ended;
    std::vector<std::string> lines;
    ScriptedDialogService dialogs;
    runtime::ScopedHooks hooks{{.doEvents = [] {},
                                .addLog = [this](const std::string& l) { lines.push_back(l); },
                                .msgBox = [this](const std::string& p, int32_t b,
                                                 const std::string& t) { return dialogs.MsgBox(p, b, t); }}};
};

// Every path below the folder, sorted.
std::vector<std::string> everyFile(const std::string& folder) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        paths.push_back(entry.path().string());
    std::ranges::sort(paths);
    return paths;
}

} // namespace

TEST(BandPlanFiles, TakesBandPlansOfAnyLetterCaseSortedWithoutRegardToCase) {
    TempFolder dir;
    for (const char* name : {"Zulu.bpl", "broadcast.BPL", "Amateur.bpl", "b.bpl", "B.bpl", "notes.txt", "bpl",
                             "x.bpl.bak", "Ölband.Bpl"})
        dir.write(name, "[MainBand]\r\n");
    std::filesystem::create_directory(dir.file("folder.bpl"));
    EXPECT_EQ(startup::bandPlanFiles(dir.path()),
              (std::vector<std::string>{"Amateur.bpl", "B.bpl", "b.bpl", "broadcast.BPL", "Zulu.bpl",
                                        "Ölband.Bpl"}));
    EXPECT_TRUE(startup::bandPlanFiles(dir.file("missing")).empty());
}

TEST(BandPlanFiles, BandRecordKeepsTheFileNamesBytes) {
    for (const std::string file : {"Z\xE9.bpl", "\xC3\x96lband.BPL", ".bpl"}) {
        const MainBandRec band = modBandPlan::newMainBand("/plans", file, 3);
        EXPECT_EQ(band.Name, file.substr(0, file.size() - 4));
        EXPECT_EQ(band.Caption, band.Name);
        EXPECT_EQ(band.FilePath, "/plans/" + file);
        EXPECT_EQ(band.Index, 3);
    }
}

TEST(Supervisor, TraceSwitchTakesTheLowerCaseWordAnywhere) {
    struct Case {
        std::vector<std::string> args;
        bool traceOn;
    };
    const Case cases[] = {
        {{"trace"}, true},  {{"notrace"}, true}, {{"-x", "mytraces"}, true}, {{"Trace"}, false},
        {{"TRACE"}, false}, {{}, false},         {{"tra", "ce"}, false},
    };
    for (const auto& c : cases) {
        Harness h(c.args);
        h.folder.write("Amateur.bpl", "");
        ASSERT_EQ(h.app.State.TraceOn, false);
        frmSupervisor sup(h.app, h.env);
        EXPECT_EQ(sup.Initialise(), 0);
        EXPECT_EQ(h.app.State.TraceOn, c.traceOn) << ::testing::PrintToString(c.args);
        ASSERT_TRUE(h.app.Log);
        EXPECT_EQ(std::filesystem::exists(h.folder.file("NerixSDR.log")), c.traceOn);
    }
}

TEST(Supervisor, SequenceTracesEachStepAndBuildsTheTables) {
    Harness h({"trace"});
    h.folder.write("Broadcast.bpl", "");
    h.folder.write("Amateur.bpl", "");
    h.app.State.DRM.PathToDream = "/opt/decoder";
    h.app.State.DRM.DreamProgArgs = "-x";
    frmSupervisor sup(h.app, h.env);
    ASSERT_EQ(sup.Initialise(), 0);

    const std::string p = "frmSupervisor.Initialise";
    EXPECT_EQ(h.supervisorLines(),
              (std::vector<std::string>{
                  p + " : Start", p + " : Initialising Objects", p + " : Nerix.INIT",
                  p + " : PublicVars.SDRColourSchemes.Defaults", p + ":Initialising BandPlans",
                  p + ":Processing Amateur.bpl", p + ":Processing Broadcast.bpl",
                  p + ":Initialising Digital Filter Objects", p + ":Creating Profiler Object",
                  p + ":Initialising Tuning Step Array", p + ":End", p + " :Initialisation Completed"}));

    ASSERT_EQ(h.app.MainBands.size(), 2u);
    const char* names[] = {"Amateur", "Broadcast"};
    for (int32_t i = 0; i < 2; ++i) {
        const MainBandRec& b = h.app.MainBands[static_cast<size_t>(i)];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(b.Name, names[i]);
        EXPECT_EQ(b.Index, i);
        EXPECT_EQ(b.Caption, names[i]);
        EXPECT_EQ(b.Description, names[i]);
        EXPECT_FALSE(b.Active);
        EXPECT_EQ(b.ActiveSubBand, 0);
        EXPECT_EQ(b.SubBandUpperBound, 18);
        EXPECT_EQ(b.PresetUpperBound, 12);
        EXPECT_EQ(b.FilePath, h.folder.path() + "/" + names[i] + ".bpl");
        EXPECT_FALSE(b.Loaded);
        EXPECT_EQ(b.NumSubBands, 0);
    }

    EXPECT_EQ(h.app.TuningSteps, (std::array<int32_t, 18>{100000, 90000, 50000, 30000, 25000, 10000, 5000,
                                                          2500, 1000, 500, 250, 100, 50, 25, 10, 5, 2, 1}));
    const SDRColourScheme& c = h.app.State.SDRColourSchemes;
    EXPECT_EQ((std::array<int32_t, 7>{c.Background, c.Label, c.FrameFocus, c.FrameNormal, c.Tuning,
                                      c.ScrollLabelNormal, c.ScrollLabelFocus}),
              (std::array<int32_t, 7>{0, 0xBFBF00, 0xFFFF00, 0xBFBF00, 0x0000FF, 0xBFBF00, 0x0000FF}));
    EXPECT_EQ(h.app.State.BaseIF, 12000);
    EXPECT_TRUE(h.app.State.DRM.PathToDream.empty());
    EXPECT_TRUE(h.app.State.DRM.DreamProgArgs.empty());
    EXPECT_FALSE(h.app.State.UseSPL);
    EXPECT_NO_THROW(h.app.blockProfiler());
    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_TRUE(h.ended.empty());
}

// A settings file the store refuses is told once, naming the file and why; the file is left as it is, and
// a second instance, which ends at once, tells nothing of it.
TEST(Supervisor, ARefusedSettingsFileIsToldOnceAndLeftAsItIs) {
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"UTF-16", std::string("\xFF\xFE[\0S\0]\0", 8), "it is UTF-16 text, which is not read"},
        {"binary", std::string("[S]\r\n\0\0\x01", 8), "it is not text (it holds NUL bytes)"},
    };
    for (const auto& c : cases) {
        for (const bool another : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (another ? ", second instance" : ""));
            TempFolder config;
            const std::string settings = config.write("NerixSDR/NerixSDR.ini", c.bytes);
            {
                Harness h({}, another);
                h.folder.write("Amateur.bpl", "");
                h.app.Settings = std::make_unique<profile::FileSettingsStore>(config.path());
                h.dialogs.msgBoxAnswers = {runtime::mb::kOk, runtime::mb::kOk};
                frmSupervisor sup(h.app, h.env);
                sup.Initialise();
                const std::string told = "Unable to read the settings file " + settings + "\r\n" + c.reason +
                                         "\r\nDefault settings are in use, and the file is left as it is";
                const auto shown = std::count_if(h.dialogs.messages.begin(), h.dialogs.messages.end(),
                                                 [&](const auto& m) { return m.prompt == told; });
                EXPECT_EQ(shown, another ? 0 : 1);
                if (!another) {
                    EXPECT_EQ(h.dialogs.messages[0].buttons, runtime::mb::kExclamation);
                    EXPECT_EQ(h.dialogs.messages[0].title, "NerixSDR");
                }
                h.app.Settings->SaveSetting("NerixSDR", "frmMain", "SDRModelNo", "3");
            }
            EXPECT_EQ(TempFolder::readFile(settings), c.bytes);
        }
    }
}

TEST(Supervisor, ProfilerThatWasNeverMadeIsAClearError) {
    Application app;
    try {
        app.blockProfiler();
        FAIL();
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kObjectNotSet);
    }
}

TEST(Supervisor, SecondInstanceSaysSoAndLeavesTheRunningLogAlone) {
    Harness h({"trace"}, true);
    h.folder.write("Amateur.bpl", "");
    const std::string log = h.folder.write("NerixSDR.log", "the first instance's lines\r\n");
    h.dialogs.msgBoxAnswers = {runtime::mb::kOk};
    {
        frmSupervisor sup(h.app, h.env);
        sup.Load();
        EXPECT_EQ(sup.EndedWith(), 1);
    }
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].prompt, "NerixSDR is already running");
    EXPECT_EQ(h.dialogs.messages[0].buttons, runtime::mb::kOkOnly);
    EXPECT_EQ(h.dialogs.messages[0].title, "NerixSDR");
    EXPECT_EQ(h.ended, std::vector<int>{1});
    EXPECT_FALSE(h.app.MainWindow);
    EXPECT_TRUE(h.app.MainBands.empty());
    EXPECT_TRUE(h.supervisorLines().empty());
    EXPECT_EQ(TempFolder::readFile(log), "the first instance's lines\r\n");
}

TEST(Supervisor, NoBandPlanShowsTheCriticalMessageAndEnds) {
    Harness h({"trace"});
    h.folder.write("readme.txt", "");
    h.dialogs.msgBoxAnswers = {runtime::mb::kOk};
    frmSupervisor sup(h.app, h.env);
    sup.Load();
    EXPECT_EQ(sup.EndedWith(), 1);
    EXPECT_EQ(h.ended, std::vector<int>{1});
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_EQ(h.dialogs.messages[0].prompt, kNoBandPlanText + h.folder.path());
    EXPECT_EQ(h.dialogs.messages[0].buttons, runtime::mb::kCritical | runtime::mb::kOkOnly);
    EXPECT_EQ(h.dialogs.messages[0].title, "NerixSDR - No Bandplan found");
    ASSERT_FALSE(h.lines.empty());
    EXPECT_EQ(h.supervisorLines().back(),
              "frmSupervisor.Initialise:No BandPlans found in " + h.folder.path());
    EXPECT_FALSE(h.app.MainWindow);
    EXPECT_FALSE(sup.Timer1.Enabled());
}

// A program folder the program takes no band plans from (one like "/" holding other files, a file, a
// missing folder) gets no trace log, and the message names the folder that was searched.
TEST(Supervisor, NoBandPlanFolderGetsNoTraceLogAndTheMessageNamesIt) {
    const struct {
        const char* name;
        std::string (*folder)(TempFolder&);
    } cases[] = {
        {"a folder of other files",
         [](TempFolder& t) {
             t.write("root/etc/passwd", "");
             t.write("root/notes.txt", "");
             return t.file("root");
         }},
        {"a file", [](TempFolder& t) { return t.write("plans.bpl", "[MainBand]\r\n"); }},
        {"a missing folder", [](TempFolder& t) { return t.file("missing"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h({"trace"});
        h.env.programFolder = c.folder(h.folder);
        const auto before = everyFile(h.folder.path());
        h.dialogs.msgBoxAnswers = {runtime::mb::kOk};
        frmSupervisor sup(h.app, h.env);
        sup.Load();
        EXPECT_EQ(sup.EndedWith(), 1);
        ASSERT_EQ(h.dialogs.messages.size(), 1u);
        EXPECT_EQ(h.dialogs.messages[0].prompt, kNoBandPlanText + h.env.programFolder);
        ASSERT_TRUE(h.app.Log);
        EXPECT_TRUE(h.app.Log->LogFilePath().empty());
        EXPECT_EQ(everyFile(h.folder.path()), before) << "nothing was written";
    }
}

TEST(Supervisor, WatchdogEndsOnceTheMainWindowIsGoneClosingTheDecoderOnlyWhenSet) {
    for (const bool closeOnExit : {false, true}) {
        SCOPED_TRACE(closeOnExit);
        Harness h({"trace"});
        h.folder.write("Amateur.bpl", "");
        constexpr process::Pid kDecoder = 4242;
        h.processes->processes = {
            {.names = {.pid = kDecoder, .exeName = "dream", .commandName = "dream"}, .startTime = 77}};
        h.windowSystem->windows = {{.id = 0x10, .pid = kDecoder},
                                   {.id = 0x11, .pid = kDecoder, .owned = true}};
        h.app.ProcessWatch->setTargetProcessId(kDecoder);
        // The main window's load restores the switch from the store.
        h.app.Settings->SaveSetting("NerixSDR", "frmMain", "DRM.DreamCloseOnExit",
                                    closeOnExit ? "True" : "False");

        frmSupervisor sup(h.app, h.env);
        sup.Load();
        ASSERT_FALSE(sup.EndedWith());
        ASSERT_TRUE(h.app.MainWindow);
        EXPECT_TRUE(h.app.MainWindow->isVisible());
        // The load ends by naming the receiver model in the caption.
        EXPECT_EQ(h.app.MainWindow->Caption(), "NerixSDR - Sat Schneider DRT1");
        EXPECT_EQ(sup.Timer1.Interval(), 1000);
        EXPECT_TRUE(sup.Timer1.Enabled());
        EXPECT_FALSE(sup.isVisible());

        sup.Timer1.Timer_(); // main window still loaded
        EXPECT_TRUE(h.ended.empty());
        EXPECT_TRUE(h.windowSystem->closeRequests.empty());

        h.app.MainWindow->close();
        ASSERT_TRUE(h.app.Log->Loaded());
        sup.Timer1.Timer_();
        EXPECT_EQ(h.ended, std::vector<int>{0});
        EXPECT_FALSE(sup.Timer1.Enabled());
        EXPECT_FALSE(h.app.Log->Loaded());
        EXPECT_EQ(h.windowSystem->closeRequests,
                  closeOnExit ? std::vector<process::WindowId>{0x10} : std::vector<process::WindowId>{});
    }
}

// The process ends as soon as the main window's shutdown is done, not at the watchdog's next tick; a main
// window that is only hidden keeps it running.
TEST(Supervisor, WatchdogLooksAtOnceWhenTheMainWindowHasUnloaded) {
    Harness h;
    h.folder.write("Amateur.bpl", "");
    frmSupervisor sup(h.app, h.env);
    sup.Load();
    ASSERT_TRUE(h.app.MainWindow);
    sup.Timer1.setInterval(65535); // the longest a timer takes: no tick comes while the test runs
    const auto settle = [&] {
        // Generous: the look is due at the first pass of the event loop.
        for (int pass = 0; pass < 200 && h.ended.empty(); ++pass)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };

    h.app.MainWindow->Hide();
    settle();
    EXPECT_TRUE(h.ended.empty()) << "a hidden main window is still loaded";
    EXPECT_TRUE(sup.Timer1.Enabled());

    h.app.MainWindow->close();
    settle();
    EXPECT_EQ(h.ended, std::vector<int>{0});
    EXPECT_FALSE(sup.Timer1.Enabled());
}

TEST(Supervisor, WatchdogClosesNothingWhenTheDecodersPidNowNamesAnotherProgram) {
    Harness h;
    h.folder.write("Amateur.bpl", "");
    constexpr process::Pid kPid = 4242;
    h.processes->processes = {
        {.names = {.pid = kPid, .exeName = "dream", .commandName = "dream"}, .startTime = 77}};
    h.windowSystem->windows = {{.id = 0x10, .pid = kPid}};
    h.app.ProcessWatch->setTargetProcessId(kPid);
    h.processes->processes[0].startTime = 99; // the decoder ended and its pid was reused
    h.app.State.DRM.DreamCloseOnExit = true;
    frmSupervisor sup(h.app, h.env);
    sup.Load();
    h.app.MainWindow->close();
    sup.Timer1.Timer_();
    EXPECT_EQ(h.ended, std::vector<int>{0});
    EXPECT_TRUE(h.windowSystem->closeRequests.empty());
    EXPECT_TRUE(h.processes->terminated.empty());
}
