// The program installed into a prefix of its own runs on the libraries and band plans installed with it,
// not on the build tree's.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

#include "platform/process/testing/ChildProcess.h"
#include "platform/profile/testing/TempFolder.h"

using process::testing::ChildProcess;
using profile::testing::ScopedEnv;
using profile::testing::TempFolder;

namespace {

namespace fs = std::filesystem;

constexpr auto kBound = std::chrono::seconds(120);

std::vector<std::string> lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

bool holds(const std::vector<std::string>& all, const std::string& line) {
    return std::find(all.begin(), all.end(), line) != all.end();
}

// The files the running process has mapped, by their canonical paths.
std::vector<std::string> mappedFiles(pid_t pid) {
    std::vector<std::string> files;
    for (const std::string& line : lines(TempFolder::readFile("/proc/" + std::to_string(pid) + "/maps"))) {
        const auto slash = line.find('/');
        if (slash != std::string::npos) files.push_back(line.substr(slash));
    }
    return files;
}

} // namespace

// A user's first start of the installed program: no program folder is set, so the default band plans are
// copied from the installed data into the user's data folder; the saved model drives no hardware lines.
TEST(InstalledProgram, RunsOnTheLibrariesAndBandPlansInstalledBesideIt) {
    const TempFolder root;
    const std::string prefix = root.file("prefix");
    {
        ChildProcess install(CMAKE_COMMAND,
                             {CMAKE_COMMAND, "--install", NERIX_BUILD_DIR, "--prefix", prefix});
        const std::optional<int> status = install.waitFor(kBound);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    }
    const fs::path bin = fs::canonical(prefix + "/bin");
    for (const char* library : {"libnerix.so", "libnsp.so", "librigbridge.so"})
        EXPECT_TRUE(fs::exists(bin / library)) << library;

    fs::create_directories(root.file("run"));
    ::chmod(root.file("run").c_str(), 0700);
    fs::create_directories(root.file("config/NerixSDR"));
    root.write("config/NerixSDR/NerixSDR.ini", "[frmMain]\r\nSDRModelNo=13\r\n");
    const ScopedEnv home("NERIXSDR_HOME", std::nullopt), data("XDG_DATA_HOME", root.file("data")),
        runtime("XDG_RUNTIME_DIR", root.file("run")), config("XDG_CONFIG_HOME", root.file("config")),
        dialogs("NERIXSDR_DIALOG_RECORD", root.file("dialogs")),
        platform("QT_QPA_PLATFORM", std::string("offscreen")), libraryPath("LD_LIBRARY_PATH", std::nullopt),
        lsan("LSAN_OPTIONS", std::getenv("LSAN_OPTIONS") ? std::string(std::getenv("LSAN_OPTIONS"))
                                                         : "suppressions=" NERIX_LSAN_SUPPRESSIONS),
        com1("NERIX_COM1", root.file("no-serial-port"));

    const std::string program = (bin / "NerixSDR").string();
    ChildProcess running(program, {program, "trace"});
    const std::string log = root.file("data/NerixSDR/NerixSDR.log");
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    bool started = false;
    while (!started && std::chrono::steady_clock::now() < deadline &&
           !running.waitFor(std::chrono::milliseconds(0))) {
        started =
            fs::exists(log) && holds(lines(TempFolder::readFile(log)), "frmMain:frmMain:Form_Load:Start");
        if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(started) << (fs::exists(log) ? TempFolder::readFile(log) : "no log");

    // Both libraries stay loaded once loaded; the filter bank has run on the one, the probe on the other.
    const std::vector<std::string> mapped = mappedFiles(running.pid());
    for (const char* library : {"libnerix.so", "libnsp.so"})
        EXPECT_TRUE(holds(mapped, (bin / library).string())) << library;
    const auto logged = lines(TempFolder::readFile(log));
    for (const char* line : {"frmSupervisor.Initialise:Processing Amateur.bpl",
                             "frmSupervisor.Initialise:Processing Broadcast.bpl"})
        EXPECT_TRUE(holds(logged, line)) << line;
    EXPECT_FALSE(fs::exists(root.file("dialogs"))) << root.read("dialogs");

    running.signal(SIGTERM);
    running.waitFor(kBound);
}
