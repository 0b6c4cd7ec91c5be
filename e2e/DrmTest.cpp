// The DRM decoder as the receiver starts and closes it, with a stand-in decoder: a script that writes down
// its arguments and becomes the process-watch tests' probe, which shows windows on the run's X server.
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/Gestures.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
namespace design = mainwindow::design;
using frontpanel::design::kModeDRM;
using frontpanel::design::kModeLSB;
using frontpanel::design::kModeUSB;

using Drm = EndToEnd;

std::vector<std::string> fileLines(const fs::path& file) {
    std::vector<std::string> out;
    std::istringstream in(readFile(file));
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Waits within the bound until the file holds a whole line.
bool waitForFile(const fs::path& file) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (readFile(file).find('\n') == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Whether the window exists on the run's X server.
bool exists(xcb_window_t id) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_get_window_attributes_reply_t* reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr);
    const bool found = reply != nullptr;
    std::free(reply);
    xcb_disconnect(c);
    return found;
}

// With no window manager the decoder's windows open over the receiver's corner: they are moved aside, as
// a user would.
void moveAsideAllBut(xcb_window_t keep) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (tree) {
        const xcb_window_t* kids = xcb_query_tree_children(tree);
        const uint32_t place[] = {1300, 900};
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
            if (kids[i] != keep)
                xcb_configure_window(c, kids[i], XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
        std::free(tree);
    }
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// Waits within the bound until the window is gone from the run's X server.
bool waitUntilGone(xcb_window_t id, std::chrono::milliseconds bound = kBound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (exists(id)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Waits within the bound until the process has ended (the launcher reaps its children).
bool waitUntilEnded(pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (::kill(pid, 0) == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Waits within the bound until the trace holds n decoder starts.
bool waitForStarts(const Sandbox& sandbox, size_t n, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        const auto trace = sandbox.trace();
        const auto starts = std::count_if(trace.begin(), trace.end(), [](const std::string& line) {
            return line.starts_with("frmMain.RunDREAM: ");
        });
        if (static_cast<size_t>(starts) >= n) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

// One run: DRM starts the decoder, LSB asks its windows to close, and once it has ended a decoder that
// cannot be executed gives the message.
TEST_F(Drm, DecoderStartsOnDrmClosesOnLeavingItAndOneThatCannotRunGivesAMessage) {
    const fs::path probe = Program::dataFolder() / "nerix_process_probe";
    ASSERT_TRUE(fs::exists(probe)) << probe;
    const fs::path decoder = sandbox_.root() / "my decoder" / "dream";
    const fs::path argv = sandbox_.root() / "decoder-argv", pid = sandbox_.root() / "decoder-pid",
                   ready = sandbox_.root() / "decoder-windows";
    fs::create_directories(decoder.parent_path());
    writeFile(decoder, "#!/bin/sh\n"
                       "printf '%s\\n' \"$@\" > '" +
                           argv.string() +
                           "'\n"
                           "echo $$ > '" +
                           pid.string() +
                           "'\n"
                           "exec '" +
                           probe.string() + "' windows \"$DISPLAY\" framed > '" + ready.string() + "'\n");
    fs::permissions(decoder, fs::perms::owner_all);
    sandbox_.writeSettings(
        softRockSettings(true, "DRM.RunDreamOnDRM=True\r\nDRM.PathToDream=" + decoder.string() +
                                   "\r\nDRM.DreamProgArgs=-p --freq %CURFREQ% kHz\r\n"
                                   "DRM.DreamCloseOnModeChange=True\r\n"));
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));

    clickControl(screen(), *main_, design::modeButton(kModeDRM));
    ASSERT_TRUE(waitForFile(ready)) << "the decoder never showed its windows";
    struct Stop {
        fs::path pid;
        ~Stop() {
            if (const std::string p = readFile(pid); !p.empty()) ::kill(std::stoi(p), SIGKILL);
        }
    } stopDecoder{pid};
    const auto decoderArgs = fileLines(argv);
    const auto ini = sandbox_.home() / "Dream.ini";
    EXPECT_EQ(iniSection(ini, "window geometry"), (std::map<std::string, std::string>{{"analdemvis", "0"}}));
    EXPECT_EQ(iniSection(ini, "receiver"), (std::map<std::string, std::string>{{"flipspectrum", "0"}}));
    std::istringstream words(readFile(ready));
    std::string word;
    xcb_window_t decoderMain = 0, decoderHidden = 0, decoderDialog = 0;
    words >> word >> decoderMain >> decoderHidden >> decoderDialog;
    ASSERT_EQ(word, "ready");
    ASSERT_TRUE(exists(decoderMain));
    moveAsideAllBut(main_->id);
    photograph(*main_, "drm-decoder-started");

    // Leaving DRM asks the decoder's own windows to close, the hidden one too; its dialog is left to it.
    // The DRM click's handler goes on for a while after the decoder has started, and a mode click while
    // it runs selects its button but is otherwise ignored; a click on the selected button does nothing.
    // So the two other modes are clicked in turn until the window goes: each click leaves DRM if the one
    // before was ignored, and a change between two other modes closes nothing, so a repeat cannot hide
    // a missing close.
    const auto leaveBy = std::chrono::steady_clock::now() + kBound;
    int16_t other = kModeLSB;
    do {
        clickControl(screen(), *main_, design::modeButton(other));
        other = other == kModeLSB ? kModeUSB : kModeLSB;
    } while (!waitUntilGone(decoderMain, 1500ms) && std::chrono::steady_clock::now() < leaveBy);
    EXPECT_FALSE(exists(decoderMain)) << "leaving DRM did not close the decoder's window";
    EXPECT_TRUE(waitUntilGone(decoderHidden)) << "leaving DRM did not close the decoder's hidden window";
    EXPECT_TRUE(exists(decoderDialog));

    // With no decoder running, a path that cannot be executed. The start writes its trace line first;
    // without it the click was ignored as above, and the mode is chosen afresh.
    const pid_t decoderPid = std::stoi(readFile(pid));
    ::kill(decoderPid, SIGKILL);
    ASSERT_TRUE(waitUntilEnded(decoderPid));
    fs::permissions(decoder, fs::perms::owner_read | fs::perms::owner_write);
    const auto enterBy = std::chrono::steady_clock::now() + kBound;
    for (;;) {
        clickControl(screen(), *main_, design::modeButton(kModeDRM));
        if (waitForStarts(sandbox_, 2, 3s)) break;
        ASSERT_LT(std::chrono::steady_clock::now(), enterBy) << "choosing DRM again never ran the start";
        clickControl(screen(), *main_, design::modeButton(other));
    }
    const std::string cannotRun =
        "NerixSDR\t0\tDREAM program located at : " + decoder.string() + "\\r\\n failed to execute";
    EXPECT_TRUE(waitForLine(sandbox_.root() / "dialogs", cannotRun, kBound))
        << readFile(sandbox_.root() / "dialogs");

    std::string why;
    const auto status = offAndClose(screen(), *main_, sandbox_, *program, &why);
    ASSERT_TRUE(status) << "the program did not end after \"&Close\": " << why;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;
    EXPECT_EQ(sandbox_.dialogs(), std::vector<std::string>{cannotRun});
    // The program's words, then the user's split at blanks with the tuned kilohertz (the frequency kept in
    // tenths of a hertz at the close) put in.
    const auto model = iniSection(sandbox_.settingsFile(), "RXModel.Soft Rock 40-7.055MHz");
    ASSERT_TRUE(model.count("TunedFrequency"));
    const std::string kHz = std::to_string(std::stoll(model.at("TunedFrequency")) / 10000);
    EXPECT_EQ(decoderArgs, (std::vector<std::string>{"-M", "0", "-I", "0", "-O", "0", "-C", "3", "-p",
                                                     "--freq", kHz, "kHz"}));
}

} // namespace
} // namespace e2e
