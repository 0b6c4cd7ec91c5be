// The DRM decoder's start over a fake launcher and watch, and the real launcher on a stand-in script.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "mainwindow/DreamStart.h"
#include "platform/process/ProgramLauncher.h"
#include "platform/profile/testing/TempFolder.h"

namespace {

class FakeDreamPorts final : public mainwindow::DreamPorts {
public:
    ReceiverState* state = nullptr;
    int16_t running = 0;
    int32_t capture = 3, playback = 1, tuned = 70'550'000;
    int32_t pid = 4242;
    std::vector<std::string> ini, messages, launched, traces;
    std::vector<std::vector<std::string>> args;
    std::vector<int32_t> shows, targets;
    bool startingInsideLaunch = false;
    int pumps = 0, sleptMs = 0;

    int16_t IsProcessRunning(const std::string& exe) override {
        EXPECT_EQ(exe, "DREAM.exe");
        return running;
    }
    void setTargetProcessId(int32_t id) override { targets.push_back(id); }
    int32_t CurrentCaptureDevice() override { return capture; }
    int32_t CurrentPlaybackDevice() override { return playback; }
    int32_t TunedFrequency() override { return tuned; }
    void ProfileSaveItem(const std::string& s, const std::string& k, const std::string& v) override {
        ini.push_back("[" + s + "]" + k + "=" + v);
    }
    int32_t Launch(const std::string& program, const std::vector<std::string>& a, int32_t show) override {
        startingInsideLaunch = state->DreamStarting;
        launched.push_back(program);
        args.push_back(a);
        shows.push_back(show);
        return pid;
    }
    // The decoder's windows show from this pump on; how many there are, and the styles given.
    int windowsFromPump = 1, windows = 1;
    std::vector<int32_t> styles;
    int32_t ApplyWindowStyle(int32_t style) override {
        styles.push_back(style);
        if (pumps < windowsFromPump || windows == 0) return 0;
        return std::exchange(windows, 0);
    }
    void Pump() override { ++pumps; }
    void Sleep(int32_t ms) override { sleptMs += ms; }
    void Trace(const std::string& line) override { traces.push_back(line); }
    void MsgBox(const std::string& text) override { messages.push_back(text); }
};

TEST(RunDREAM, StartsTheDecoderAsItsOptionsAndTheReceiverSay) {
    using Words = std::vector<std::string>;
    struct Case {
        const char* what;
        bool run;
        std::string path, userArgs;
        int16_t running;
        int32_t capture, playback, tuned, style, pid;
        bool iq, hiSide;
        std::string traced; // the command line traced; empty: nothing started
        Words words;        // the argv after the program
        int32_t show;
        std::vector<std::string> ini, messages;
    };
    const std::vector<std::string> lowSide = {"[window geometry]analdemvis=0", "[receiver]flipspectrum=1"};
    const std::string path = "/opt/my dream/dream";
    const Case cases[] = {
        {"option off", false, path, "", 0, 3, 1, 70'550'000, 0, 1, false, false, "", {}, 0, {}, {}},
        {"empty path", true, "", "", 0, 3, 1, 70'550'000, 0, 1, false, false, "", {}, 0, {}, {}},
        {"running", true, path, "", 1, 3, 1, 70'550'000, 0, 1, false, false, "", {}, 0, {}, {}},
        {"list unreadable",
         true,
         path,
         "",
         -1,
         3,
         1,
         70'550'000,
         0,
         1,
         false,
         false,
         "",
         {},
         0,
         {},
         {"System Error checking for process DREAM.EXE - Please report Problem to Nerix"}},
        {"I/Q, the Part's example",
         true,
         path,
         "-f %CurFreq% x%curfreq%",
         0,
         3,
         1,
         70'559'999,
         0,
         77,
         true,
         false,
         path + " -M 0 -I 1 -O 0 -C 3  -f 7055 x7055",
         {"-M", "0", "-I", "1", "-O", "0", "-C", "3", "-f", "7055", "x7055"},
         4,
         lowSide,
         {}},
        {"devices 1 and 2, not I/Q",
         true,
         path,
         "",
         0,
         2,
         1,
         0,
         1,
         77,
         false,
         false,
         path + " -M 0 -I 0 -O 0   ",
         {"-M", "0", "-I", "0", "-O", "0"},
         6,
         lowSide,
         {}},
        {"high side, hidden",
         true,
         path,
         "\"a b\" a;touch",
         0,
         4,
         5,
         0,
         2,
         77,
         false,
         true,
         path + " -M 0 -I 2 -O 3   \"a b\" a;touch",
         {"-M", "0", "-I", "2", "-O", "3", "a b", "a;touch"},
         0,
         {"[window geometry]analdemvis=0", "[receiver]flipspectrum=0"},
         {}},
        {"style 7",
         true,
         path,
         "",
         0,
         3,
         1,
         0,
         7,
         77,
         false,
         false,
         path + " -M 0 -I 1 -O 0   ",
         {"-M", "0", "-I", "1", "-O", "0"},
         1,
         lowSide,
         {}},
        {"failed start",
         true,
         path,
         "",
         0,
         3,
         1,
         0,
         0,
         0,
         false,
         false,
         path + " -M 0 -I 1 -O 0   ",
         {"-M", "0", "-I", "1", "-O", "0"},
         4,
         lowSide,
         {"DREAM program located at : " + path + "\r\n failed to execute"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReceiverState st;
        st.DRM.RunDreamOnDRM = c.run;
        st.DRM.PathToDream = c.path;
        st.DRM.DreamProgArgs = c.userArgs;
        st.DRM.DreamWindowStyle = c.style;
        st.IQMode = c.iq;
        st.HiSideLoActive = c.hiSide;
        FakeDreamPorts p;
        p.state = &st;
        p.running = c.running;
        p.capture = c.capture;
        p.playback = c.playback;
        p.tuned = c.tuned;
        p.pid = c.pid;
        mainwindow::DreamStart d(st, p);
        d.DreamProcessId = 12;
        d.RunDREAM();
        EXPECT_EQ(p.ini, c.ini);
        EXPECT_EQ(p.messages, c.messages);
        EXPECT_FALSE(st.DreamStarting);
        if (c.traced.empty()) {
            EXPECT_TRUE(p.launched.empty());
            continue;
        }
        ASSERT_EQ(p.launched, std::vector<std::string>{c.path});
        EXPECT_EQ(p.traces, std::vector<std::string>{"frmMain.RunDREAM: " + c.traced});
        EXPECT_EQ(p.args[0], c.words);
        EXPECT_EQ(p.shows[0], c.show);
        EXPECT_TRUE(p.startingInsideLaunch);
        EXPECT_EQ(p.pumps, 6);
        EXPECT_EQ(p.sleptMs, 600);
        EXPECT_EQ(d.DreamProcessId, c.pid ? c.pid : 12);
        EXPECT_EQ(p.targets, c.pid ? std::vector<int32_t>{c.pid} : std::vector<int32_t>{});
    }
}

// Minimised or hidden, the decoder's windows are given the style as they show: the start pumps on past
// its usual six until one has shown, within a bound.
TEST(RunDREAM, GivesTheDecoderItsWindowStyleAsItsWindowsShowWithinABound) {
    using mainwindow::DreamStart;
    const struct Case {
        const char* what;
        int32_t style, pid;
        int windowsFromPump;
        int pumps;
        size_t stylings;
    } cases[] = {
        {"shown as opened", 0, 77, 1, DreamStart::kPumps, 0},
        {"minimised, at once", 1, 77, 1, DreamStart::kPumps, DreamStart::kPumps},
        {"hidden, late", 2, 77, 10, 10, 10},
        {"hidden, never", 2, 77, 1000, DreamStart::kPumpsAwaitingWindows, DreamStart::kPumpsAwaitingWindows},
        {"failed start", 1, 0, 1, DreamStart::kPumps, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReceiverState st;
        st.DRM.RunDreamOnDRM = true;
        st.DRM.PathToDream = "/opt/dream";
        st.DRM.DreamWindowStyle = c.style;
        FakeDreamPorts p;
        p.state = &st;
        p.pid = c.pid;
        p.windowsFromPump = c.windowsFromPump;
        DreamStart d(st, p);
        d.RunDREAM();
        EXPECT_EQ(p.pumps, c.pumps);
        EXPECT_EQ(p.styles, std::vector<int32_t>(c.stylings, c.style));
    }
}

bool gone(pid_t pid) {
    // Reaped: no such process any more (a zombie would still answer).
    for (int i = 0; i < 500; ++i) {
        if (::kill(pid, 0) != 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The real launcher on a script in a folder with a blank in its name: exact argv, no shell, only the
// three standard descriptors open, and no zombie once it ends.
TEST(ProgramLauncher, StartsTheProgramWithoutAShellAndReapsIt) {
    profile::testing::TempFolder folder;
    const std::string dir = folder.path() + "/with blank";
    std::filesystem::create_directory(dir);
    const std::string script = dir + "/dream";
    // A descriptor the receiver holds without close-on-exec, as an instance lock would be.
    const int held = ::open((dir + "/lock").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(held, 3);
    {
        std::ofstream s(script);
        s << "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > args.txt\n"
          << "for fd in 0 1 2 " << held << "; do [ -e /proc/$$/fd/$fd ] && echo $fd; done > fds.txt\n";
    }
    ::chmod(script.c_str(), 0755);
    process::SpawnLauncher launcher;
    process::LaunchRequest r;
    r.Program = script;
    r.Args = {"-M", "0"};
    for (std::string& a : process::splitArguments("\"a b\" a;touch X $HOME"))
        r.Args.push_back(a);
    r.WorkingDirectory = dir;
    const process::Pid pid = launcher.Start(r);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(gone(pid));
    std::ifstream argsFile(dir + "/args.txt");
    const std::string args((std::istreambuf_iterator<char>(argsFile)), {});
    EXPECT_EQ(args, "[-M]\n[0]\n[a b]\n[a;touch]\n[X]\n[$HOME]\n");
    EXPECT_FALSE(std::filesystem::exists(dir + "/X"));
    std::ifstream fdsFile(dir + "/fds.txt");
    const std::string fds((std::istreambuf_iterator<char>(fdsFile)), {});
    EXPECT_EQ(fds, "0\n1\n2\n");
    ::close(held);

    process::LaunchRequest bad;
    bad.Program = dir + "/args.txt"; // not executable
    EXPECT_EQ(launcher.Start(bad), 0);
}

} // namespace
