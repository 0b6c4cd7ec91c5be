// The DRM decoder as the receiver starts and closes it, with a stand-in decoder: a script that writes down
// its arguments and becomes the process-watch tests' probe, which shows windows on the run's X server.
#include <sys/stat.h>

#include <algorithm>
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

// Whether the window is mapped and can be seen, as far as its ancestors go.
bool viewable(xcb_window_t id) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_get_window_attributes_reply_t* reply =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr);
    const bool shown = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    xcb_disconnect(c);
    return shown;
}

// Waits within the bound until the window can no longer be seen.
bool waitUntilUnseen(xcb_window_t id) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (viewable(id)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The root's child that holds the window: its frame, or itself.
xcb_window_t topOf(xcb_window_t id) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    for (;;) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr);
        if (!tree) break;
        const bool top = tree->parent == tree->root;
        const xcb_window_t parent = tree->parent;
        std::free(tree);
        if (top) break;
        id = parent;
    }
    xcb_disconnect(c);
    return id;
}

void moveTo(xcb_window_t id, int x, int y) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const uint32_t place[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
    xcb_configure_window(c, id, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// The stand-in decoder: a script that writes down its arguments and its pid, then becomes the probe,
// whose windows are filled with kDecoderFill.
constexpr uint32_t kDecoderFill = 0x3366CC;
struct StandIn {
    explicit StandIn(const Sandbox& sandbox) : root(sandbox.root()) {
        const fs::path probe = Program::dataFolder() / "nerix_process_probe";
        EXPECT_TRUE(fs::exists(probe)) << probe;
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
    }
    ~StandIn() {
        if (const std::string p = readFile(pid); !p.empty()) ::kill(std::stoi(p), SIGKILL);
    }
    std::string settings(int style) const {
        return softRockSettings(true, "DRM.RunDreamOnDRM=True\r\nDRM.PathToDream=" + decoder.string() +
                                          "\r\nDRM.DreamProgArgs=-p --freq %CURFREQ% kHz\r\n"
                                          "DRM.DreamCloseOnModeChange=True\r\nDRM.DreamWindowStyle=" +
                                          std::to_string(style) + "\r\n");
    }
    // Once the decoder shows its windows: its main, hidden and dialog windows.
    bool readWindows() {
        if (!waitForFile(ready)) return false;
        std::istringstream words(readFile(ready));
        std::string word;
        words >> word >> main >> hidden >> dialog;
        return word == "ready";
    }

    fs::path root;
    fs::path decoder = root / "my decoder" / "dream";
    fs::path argv = root / "decoder-argv", pid = root / "decoder-pid", ready = root / "decoder-windows";
    xcb_window_t main = 0, hidden = 0, dialog = 0;
};

// One run: DRM starts the decoder, shown beside the receiver as opened, LSB asks its windows to close, and
// once it has ended a decoder that cannot be executed gives the message.
TEST_F(Drm, DecoderStartsOnDrmClosesOnLeavingItAndOneThatCannotRunGivesAMessage) {
    StandIn standIn(sandbox_);
    const fs::path& decoder = standIn.decoder;
    const fs::path& pid = standIn.pid;
    sandbox_.writeSettings(standIn.settings(0));
    auto program = start();
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));

    clickControl(screen(), *main_, design::modeButton(kModeDRM));
    ASSERT_TRUE(standIn.readWindows()) << "the decoder never showed its windows";
    const auto decoderArgs = fileLines(standIn.argv);
    const auto ini = sandbox_.home() / "Dream.ini";
    EXPECT_EQ(iniSection(ini, "window geometry"), (std::map<std::string, std::string>{{"analdemvis", "0"}}));
    EXPECT_EQ(iniSection(ini, "receiver"), (std::map<std::string, std::string>{{"flipspectrum", "0"}}));
    const xcb_window_t decoderMain = standIn.main, decoderHidden = standIn.hidden,
                       decoderDialog = standIn.dialog;
    ASSERT_TRUE(exists(decoderMain));
    // Without a window manager the decoder's windows open over the receiver's corner: its main window
    // goes beside the receiver, as a manager would place it, and the others aside. The picture holds both.
    const xcb_window_t decoderFrame = topOf(decoderMain);
    moveAsideAllBut(main_->id);
    moveTo(decoderFrame, main_->x + main_->width + 8, main_->y);
    EXPECT_TRUE(viewable(decoderMain)) << "shown as opened, the decoder's window left the screen";
    WindowOnScreen both = *main_;
    both.width += 8 + 120;
    both.height = std::max(both.height, 120);
    const Picture picture = photograph(both, "drm-decoder-started");
    const auto decoderPixels = std::count(picture.pixels.begin(), picture.pixels.end(), kDecoderFill);
    EXPECT_GE(decoderPixels, 100 * 100) << "the picture shows no decoder window";

    // Leaving DRM asks the decoder's own windows to close, the hidden one too; its dialog is left to it.
    // The DRM click's handler goes on for a while after the decoder has started, and a mode click while
    // it runs is ignored (its button goes back to DRM when the handler ends). So the two other modes are
    // clicked in turn until the window goes: each click leaves DRM if the one before was ignored, and a
    // change between two other modes closes nothing, so a repeat cannot hide a missing close.
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

// Minimised or hidden, as chosen on the configuration's decoder page, the decoder's main window leaves
// the screen once it shows (no window manager runs here, so no icon shows either); its dialog stays.
TEST_F(Drm, TheDecodersMainWindowTakesTheStyleChosenForIt) {
    constexpr int kMin = 1, kHide = 2;
    for (const int style : {kMin, kHide}) {
        SCOPED_TRACE(style);
        Sandbox sandbox;
        StandIn standIn(sandbox);
        sandbox.writeSettings(standIn.settings(style));
        Program program(sandbox);
        const auto main = screen().waitFor(kSoftRockCaption, kBound);
        ASSERT_TRUE(main);
        ASSERT_TRUE(waitForLine(sandbox.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
        clickControl(screen(), *main, design::modeButton(kModeDRM));
        ASSERT_TRUE(standIn.readWindows()) << "the decoder never showed its windows";
        EXPECT_TRUE(waitUntilUnseen(standIn.main)) << "the decoder's main window stayed on the screen";
        EXPECT_TRUE(viewable(standIn.dialog));
        moveAsideAllBut(main->id); // the dialog opened over the power buttons
        // "&Close" may come while the DRM click's handler still pumps, which does not take it; the user
        // clicks it again.
        EXPECT_TRUE(clickPower(screen(), *main, sandbox, design::kPowerOff));
        std::optional<int> status;
        for (int i = 0; i < 5 && !status; ++i) {
            clickControl(screen(), *main, design::powerButton(design::kPowerClose));
            status = program.waitForEnd(5s);
        }
        ASSERT_TRUE(status) << "the program did not end after \"&Close\"";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;
        EXPECT_EQ(sandbox.dialogs(), std::vector<std::string>{});
    }
}

} // namespace
} // namespace e2e
