// The process watch on this machine: children found by name in /proc, and the windows of a probe program
// on an X server of the test's own asked to close, while other programs' windows and reused pids get nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <xcb/xcb.h>

#include "frame/modIsProcessRunning.h"
#include "platform/process/ProcProcessTable.h"
#include "platform/process/X11WindowSystem.h"
#include "platform/process/testing/ChildProcess.h"

using namespace std::chrono_literals;
using modIsProcessRunning::ProcessWatch;
using process::testing::ChildProcess;
using process::testing::ProgramCopy;

namespace {

constexpr auto kBound = 10s;

// Parallel test runs must not see each other's probes.
std::string unique(const std::string& name) {
    return name + std::to_string(::getpid());
}

// The real table, except that once told, it reports the recorded pid as a later run of another program.
class ReusedPidTable final : public process::ProcessTable {
public:
    bool reused = false;

    std::optional<std::vector<process::ProcessNames>> list() const override { return real_.list(); }
    std::optional<process::ProcessIdentity> identify(process::Pid pid) const override {
        auto identity = real_.identify(pid);
        if (identity && reused) ++identity->startTime;
        return identity;
    }
    bool terminate(const process::ProcessIdentity& target) override { return real_.terminate(target); }

private:
    process::ProcProcessTable real_;
};

// A display name under which no X server listens.
std::string displayWithoutServer() {
    for (int n = 4242;; ++n) {
        const std::string number = std::to_string(n);
        if (std::filesystem::exists(std::string("/tmp/.X11-unix/X").append(number))) continue;
        return std::string(":").append(number);
    }
}

int exitCode(const std::optional<int>& status) {
    if (!status) return -1;
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : 1000 + WTERMSIG(*status);
}

} // namespace

TEST(ProcessWatchOnProc, FindsAChildByEitherNameUntilItIsReaped) {
    const struct {
        std::string fileName;
        std::string argv0;
        std::string asked;
    } cases[] = {
        {unique("NerixProbe") + ".exe", "probe", unique("nerixprobe")},
        {"probe", "/elsewhere/" + unique("NerixTold"), unique("NERIXTOLD") + ".exe"},
    };
    process::ProcProcessTable table;
    process::X11WindowSystem windows(displayWithoutServer());
    const ProcessWatch watch(table, windows);
    for (const auto& c : cases) {
        ProgramCopy program(NERIX_PROCESS_PROBE, c.fileName);
        ChildProcess child(program.path(), {c.argv0, "idle"});
        ASSERT_EQ(child.readLine(kBound), "ready");
        EXPECT_EQ(watch.IsProcessRunning(c.asked), 1) << c.asked;
        child.signal(SIGKILL);
        ASSERT_TRUE(child.waitFor(kBound).has_value());
        EXPECT_EQ(watch.IsProcessRunning(c.asked), 0) << c.asked;
    }
    process::ProcProcessTable missing("/nonexistent-proc");
    EXPECT_EQ(ProcessWatch(missing, windows).IsProcessRunning("probe"), -1);
}

TEST(ProcessWatchWithoutXServer, SendsSigtermToTheDecoderAlone) {
    ChildProcess decoder(NERIX_PROCESS_PROBE, {"probe", "idle"});
    ChildProcess bystander(NERIX_PROCESS_PROBE, {"probe", "idle"});
    ASSERT_EQ(decoder.readLine(kBound), "ready");
    ASSERT_EQ(bystander.readLine(kBound), "ready");
    process::ProcProcessTable table;
    process::X11WindowSystem windows(displayWithoutServer());
    ProcessWatch watch(table, windows);

    watch.setTargetProcessId(decoder.pid());
    watch.CloseProcessWindows();

    EXPECT_EQ(exitCode(decoder.waitFor(kBound)), 1000 + SIGTERM);
    bystander.signal(SIGKILL); // had it been sent SIGTERM too, that would show instead
    EXPECT_EQ(exitCode(bystander.waitFor(kBound)), 1000 + SIGKILL);
}

class ProcessWatchOnX : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The server picks a free display itself and writes its number to our pipe.
        // No reset when the last client leaves: a test's next connection would fail meanwhile.
        xvfb_ = new ChildProcess("Xvfb", {"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset",
                                          "-screen", "0", "320x240x24"});
        const auto number = xvfb_->readLine(kBound);
        if (number) display_ = ":" + *number;
    }
    static void TearDownTestSuite() {
        xvfb_->signal(SIGTERM);
        xvfb_->waitFor(kBound);
        delete xvfb_; // kills it by its pid if it is still there
        xvfb_ = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(display_.empty()) << "Xvfb did not start"; }

    // A probe showing a main window, a hidden window and a dialog owned by the main window.
    struct Probe {
        explicit Probe(const std::vector<std::string>& extra) : child(NERIX_PROCESS_PROBE, args(extra)) {
            const auto line = child.readLine(kBound);
            std::istringstream in(line.value_or(""));
            std::string ready;
            in >> ready >> mainWindow >> hidden >> dialog;
            EXPECT_EQ(ready, "ready");
        }
        static std::vector<std::string> args(const std::vector<std::string>& extra) {
            std::vector<std::string> all{"probe", "windows", display_};
            all.insert(all.end(), extra.begin(), extra.end());
            return all;
        }
        // Which of its windows were asked to close (1 main, 2 hidden, 4 dialog), once it has heard the
        // done message, which the server hands on after everything sent to it before.
        int finish() {
            xcb_connection_t* c = xcb_connect(display_.c_str(), nullptr);
            const char name[] = "NERIX_PROBE_DONE";
            xcb_intern_atom_reply_t* atom =
                xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = dialog;
            event.type = atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
            std::free(atom);
            xcb_send_event(c, 0, dialog, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
            std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
            xcb_disconnect(c);
            return exitCode(child.waitFor(kBound));
        }

        ChildProcess child;
        uint32_t mainWindow = 0;
        uint32_t hidden = 0;
        uint32_t dialog = 0;
    };

    static inline ChildProcess* xvfb_ = nullptr;
    static inline std::string display_;
};

TEST_F(ProcessWatchOnX, AsksOnlyTheUnownedWindowsOfTheRecordedRunToClose) {
    const struct {
        const char* what;
        std::vector<std::string> probeArgs;
        bool pidReused;
        int asked; // 1 main, 2 hidden, 4 dialog
    } cases[] = {
        {"windows straight on the root", {}, false, 1 | 2},
        {"main window inside a manager's frame", {"framed"}, false, 1 | 2},
        {"windows of another machine under the same pid", {"machine", "elsewhere.invalid"}, false, 0},
        {"pid taken over by another run", {}, true, 0},
    };
    for (const auto& c : cases) {
        Probe decoder(c.probeArgs);
        Probe bystander({});
        ReusedPidTable table;
        process::X11WindowSystem windows(display_);
        ProcessWatch watch(table, windows);
        watch.setTargetProcessId(decoder.child.pid());
        table.reused = c.pidReused;

        watch.CloseProcessWindows();

        EXPECT_EQ(decoder.finish(), c.asked) << c.what;
        EXPECT_EQ(bystander.finish(), 0) << c.what;
    }
}

namespace {

// A client on the test's server that hears what is sent to a window manager on the root, and can stand
// in for one by holding the manager selection.
class RootListener {
public:
    explicit RootListener(const std::string& display, bool actAsManager)
        : c_(xcb_connect(display.c_str(), nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        changeState_ = intern("WM_CHANGE_STATE");
        if (actAsManager) {
            owner_ = xcb_generate_id(c_);
            xcb_create_window(c_, XCB_COPY_FROM_PARENT, owner_, root_, 0, 0, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_set_selection_owner(c_, owner_, intern("WM_S0"), XCB_CURRENT_TIME);
        }
        heard();
    }
    ~RootListener() { xcb_disconnect(c_); }

    // What reached the root since the last call about the window: "iconic" for a request to iconify
    // it, "withdrawn" for a manager told it is withdrawn.
    std::vector<std::string> heard(xcb_window_t about = XCB_WINDOW_NONE) {
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
        std::vector<std::string> out;
        while (xcb_generic_event_t* e = xcb_poll_for_queued_event(c_)) {
            const bool sent = e->response_type & 0x80;
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CLIENT_MESSAGE) {
                const auto* m = reinterpret_cast<const xcb_client_message_event_t*>(e);
                if (m->type == changeState_ && m->window == about && m->data.data32[0] == 3)
                    out.push_back("iconic");
            }
            if (type == XCB_UNMAP_NOTIFY && sent &&
                reinterpret_cast<const xcb_unmap_notify_event_t*>(e)->window == about)
                out.push_back("withdrawn");
            std::free(e);
        }
        return out;
    }

    bool viewable(xcb_window_t w) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
        const bool shown = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(a);
        return shown;
    }

private:
    xcb_atom_t intern(const char* name) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(r);
        return atom;
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0, owner_ = 0;
    xcb_atom_t changeState_ = XCB_ATOM_NONE;
};

} // namespace

// Minimised: a window manager is asked to iconify the decoder's main window; with none, it leaves the
// screen. Hidden: it is withdrawn either way. Its dialog and its hidden window are left alone.
TEST_F(ProcessWatchOnX, TheWindowStyleTakesTheDecodersMainWindowOffTheScreenOrAsksTheManager) {
    using modIsProcessRunning::kWindowStyleHide;
    using modIsProcessRunning::kWindowStyleMin;
    const struct {
        const char* what;
        int32_t style;
        bool manager;
        bool stillShown;
        std::vector<std::string> heard;
    } cases[] = {
        {"minimised, no manager", kWindowStyleMin, false, false, {}},
        {"minimised, a manager", kWindowStyleMin, true, true, {"iconic"}},
        {"hidden, no manager", kWindowStyleHide, false, false, {"withdrawn"}},
        {"hidden, a manager", kWindowStyleHide, true, false, {"withdrawn"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RootListener root(display_, c.manager);
        Probe decoder({"framed"});
        root.heard();
        ReusedPidTable table;
        process::X11WindowSystem windows(display_);
        ProcessWatch watch(table, windows);
        watch.setTargetProcessId(decoder.child.pid());
        ASSERT_TRUE(root.viewable(decoder.mainWindow));

        EXPECT_EQ(watch.ApplyWindowStyle(c.style), 1);
        EXPECT_EQ(watch.ApplyWindowStyle(c.style), 0); // once only

        EXPECT_EQ(root.heard(decoder.mainWindow), c.heard);
        EXPECT_EQ(root.viewable(decoder.mainWindow), c.stillShown);
        EXPECT_TRUE(root.viewable(decoder.dialog));
        EXPECT_FALSE(root.viewable(decoder.hidden));
        EXPECT_EQ(decoder.finish(), 0);
    }
}
