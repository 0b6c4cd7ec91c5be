// The program run as a user runs it, in a folder of the run's own: its program folder with the shipped
// band plans, its settings file, the test mode's record of messages and answers for file dialogs, and
// its trace log, all read from outside.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "e2e/harness/Screen.h"
#include "e2e/harness/Servers.h"

namespace e2e {

// The caption the main window carries once the saved receiver is set up.
inline const std::string kSoftRockCaption = "NerixSDR - Soft Rock 40-7.055MHz";

// What a run of the program needs beside the program: the X server, the sound server and the screen.
// Made once per test process; under CI=true a missing server program fails, elsewhere it skips.
class Servers {
public:
    // The servers, started at the first call; nullptr with the reason when they cannot be had.
    static Servers* get(std::string* why);

    XServer& x() { return *x_; }
    SoundServer& sound() { return *sound_; }
    Screen& screen() { return *screen_; }
    const std::filesystem::path& folder() const { return folder_; }

    ~Servers();

private:
    Servers();
    std::filesystem::path folder_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<SoundServer> sound_;
    std::unique_ptr<Screen> screen_;
};

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path home() const { return root_ / "home"; }
    std::filesystem::path settingsFile() const { return root_ / "config/NerixSDR/NerixSDR.ini"; }
    std::filesystem::path traceFile() const { return home() / "NerixSDR.log"; }

    void writeSettings(const std::string& ini) const;
    void addBandPlan(const std::string& name, const std::string& text) const;
    // The next file dialog's answer: a full path.
    void answerFileDialog(const std::string& path) const;
    // The next popup menu's answer: the caption of the item to choose.
    void answerPopupMenu(const std::string& caption) const;

    // The messages and dialogs the program's test mode wrote down, one a line.
    std::vector<std::string> dialogs() const;
    std::vector<std::string> trace() const;

    // The environment the program runs with, set in this process for the children it starts.
    void enter() const;

    // Programs started from now on show their message boxes and dialogs and wait for an answer, as
    // for a person, instead of the test mode's record and answers.
    bool dialogsWaitForAPerson = false;

private:
    std::filesystem::path root_;
};

// The settings of a receiver run: model 13 (no hardware line; the signal path's oscillator tunes it).
std::string softRockSettings(bool autoStart, const std::string& more = "");

class Program {
public:
    // Starts NerixSDR with the arguments in the sandbox's environment.
    Program(const Sandbox& sandbox, const std::vector<std::string>& arguments = {"trace"});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t pid() const { return child_->pid(); }
    bool running() { return !child_->waitFor(0ms); }
    // The wait status once it ended within the bound.
    std::optional<int> waitForEnd(std::chrono::milliseconds bound) { return child_->waitFor(bound); }
    // The wait status once it ended, waiting as long as it makes progress (see waitWhileProgressing);
    // nullopt with the reason otherwise.
    std::optional<int> waitForEndOfClose(const Sandbox& sandbox, std::string* why);

    static std::string path();
    static std::filesystem::path dataFolder();

private:
    std::unique_ptr<ChildProcess> child_;
};

// A process as /proc shows it: "pid (command)", its state letter and its parent.
struct ProcessEntry {
    pid_t pid = 0;
    pid_t parent = 0;
    std::string name;
    std::string state;
};
std::vector<ProcessEntry> processes();

// A close may take long on a loaded machine, but one that makes no progress is stuck: the wait for a
// program's end goes on while the program's CPU time or its trace grows, or it waits for a core or the
// disk, and fails after kStall without any of these or kCloseCeiling in all.
inline constexpr std::chrono::milliseconds kStall = 20s;
inline constexpr std::chrono::milliseconds kCloseCeiling = 60s;
std::optional<int> waitWhileProgressing(ChildProcess& child, const std::filesystem::path& trace,
                                        std::string* why, std::chrono::milliseconds stall = kStall,
                                        std::chrono::milliseconds ceiling = kCloseCeiling);

// Waits within the bound until the file holds the line.
bool waitForLine(const std::filesystem::path& file, const std::string& line, std::chrono::milliseconds bound);

// Where the tests' pictures go: <build>/artefacts/screenshots.
std::filesystem::path screenshotFolder();

} // namespace e2e
