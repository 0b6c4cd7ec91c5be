// The top-level windows of an X server, the polite close request (WM_DELETE_WINDOW) and the window
// states a window manager keeps, over xcb.
#include "platform/process/X11WindowSystem.h"

#include <cstdlib>
#include <cstring>
#include <deque>
#include <string_view>

#include <unistd.h>
#include <xcb/xcb.h>

#include "platform/runtime/Text.h"

namespace process {

namespace {

template <class Reply> struct FreeReply {
    void operator()(Reply* reply) const { std::free(reply); }
};
template <class Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply<Reply>>;

// Under a window manager the client window sits inside a frame; this deep is more than any manager uses.
constexpr int kFrameDepth = 4;

std::string localHostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

class X11Session final : public WindowSession {
public:
    explicit X11Session(xcb_connection_t* connection) : connection_(connection) {
        wmState_ = intern("WM_STATE");
        netWmPid_ = intern("_NET_WM_PID");
        wmProtocols_ = intern("WM_PROTOCOLS");
        wmDeleteWindow_ = intern("WM_DELETE_WINDOW");
        wmChangeState_ = intern("WM_CHANGE_STATE");
        wmSelection_ = intern("WM_S0");
    }

    ~X11Session() override {
        // A round trip makes sure the server has taken every request before we hang up; it waits for the
        // server only, never for the clients we wrote to.
        ReplyPtr<xcb_get_input_focus_reply_t>(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        xcb_disconnect(connection_);
    }

    std::vector<TopLevelWindow> topLevelWindows() override {
        std::vector<TopLevelWindow> windows;
        for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_)); screens.rem;
             xcb_screen_next(&screens)) {
            for (const xcb_window_t child : children(screens.data->root)) {
                std::vector<xcb_window_t> clients = clientWindows(child);
                // Without a window manager (or for a withdrawn window) the root's child is the client.
                if (clients.empty()) clients.push_back(child);
                for (const xcb_window_t client : clients) {
                    if (std::optional<TopLevelWindow> window = describe(client)) windows.push_back(*window);
                }
            }
        }
        return windows;
    }

    void requestClose(WindowId window) override {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = wmProtocols_;
        event.data.data32[0] = wmDeleteWindow_;
        event.data.data32[1] = XCB_CURRENT_TIME;
        // Sent whether or not the window lists the protocol: one that does not know it ignores it.
        xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }

    void iconify(WindowId window) override {
        const xcb_window_t root = rootOf(window);
        if (root == XCB_WINDOW_NONE) return;
        if (!windowManagerRuns()) {
            xcb_unmap_window(connection_, window);
            xcb_flush(connection_);
            return;
        }
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = wmChangeState_;
        event.data.data32[0] = kIconicState;
        sendToManager(root, &event);
    }

    void withdraw(WindowId window) override {
        const xcb_window_t root = rootOf(window);
        if (root == XCB_WINDOW_NONE) return;
        xcb_unmap_window(connection_, window);
        // The unmap alone would not tell the manager of a client that is already an icon.
        xcb_unmap_notify_event_t event{};
        event.response_type = XCB_UNMAP_NOTIFY;
        event.event = root;
        event.window = window;
        sendToManager(root, &event);
    }

private:
    static constexpr uint32_t kIconicState = 3;

    // The server takes 32 bytes of every event sent, longer than some event structures.
    template <class Event> void sendToManager(xcb_window_t root, const Event* event) {
        static_assert(sizeof(Event) <= 32);
        char wire[32] = {};
        std::memcpy(wire, event, sizeof(Event));
        xcb_send_event(connection_, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY, wire);
        xcb_flush(connection_);
    }

    // A window manager holds the first screen's manager selection.
    bool windowManagerRuns() {
        const ReplyPtr<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, wmSelection_), nullptr));
        return owner && owner->owner != XCB_WINDOW_NONE;
    }

    xcb_window_t rootOf(xcb_window_t window) {
        const ReplyPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
        return tree ? tree->root : xcb_window_t{XCB_WINDOW_NONE};
    }

    xcb_atom_t intern(std::string_view name) {
        const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(name.size()), name.data()),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // Errors come back as null replies: a window may go away while we look at it.
    ReplyPtr<xcb_get_property_reply_t> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                                                uint32_t longs) {
        return ReplyPtr<xcb_get_property_reply_t>(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, name, type, 0, longs), nullptr));
    }

    std::vector<xcb_window_t> children(xcb_window_t window) {
        const ReplyPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
        if (!tree) return {};
        const xcb_window_t* first = xcb_query_tree_children(tree.get());
        return {first, first + xcb_query_tree_children_length(tree.get())};
    }

    bool hasWmState(xcb_window_t window) {
        const auto reply = property(window, wmState_, XCB_GET_PROPERTY_TYPE_ANY, 0);
        return reply && reply->type != XCB_ATOM_NONE;
    }

    // The windows the window manager marked as clients (WM_STATE), searched breadth first as a frame
    // may hold its client a few levels down.
    std::vector<xcb_window_t> clientWindows(xcb_window_t topLevel) {
        if (hasWmState(topLevel)) return {topLevel};
        std::vector<xcb_window_t> clients;
        std::deque<std::pair<xcb_window_t, int>> queue{{topLevel, 0}};
        while (!queue.empty()) {
            const auto [window, depth] = queue.front();
            queue.pop_front();
            if (depth >= kFrameDepth) continue;
            for (const xcb_window_t child : children(window)) {
                if (hasWmState(child)) {
                    clients.push_back(child);
                } else {
                    queue.emplace_back(child, depth + 1);
                }
            }
        }
        return clients;
    }

    std::optional<TopLevelWindow> describe(xcb_window_t window) {
        const auto pid = property(window, netWmPid_, XCB_ATOM_CARDINAL, 1);
        const auto machine = property(window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_GET_PROPERTY_TYPE_ANY, 64);
        const auto transientFor = property(window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1);
        const ReplyPtr<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr));
        if (!pid || !machine || !transientFor || !attributes) return std::nullopt; // gone meanwhile

        TopLevelWindow result{.id = window};
        result.shown = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        if (pid->format == 32 && xcb_get_property_value_length(pid.get()) == 4) {
            uint32_t value = 0;
            std::memcpy(&value, xcb_get_property_value(pid.get()), sizeof value);
            // A pid from another machine on the same display names nothing here.
            if (value <= INT32_MAX && isLocal(*machine)) result.pid = static_cast<Pid>(value);
        }
        if (transientFor->format == 32 && xcb_get_property_value_length(transientFor.get()) == 4) {
            xcb_window_t owner = XCB_WINDOW_NONE;
            std::memcpy(&owner, xcb_get_property_value(transientFor.get()), sizeof owner);
            result.owned = owner != XCB_WINDOW_NONE;
        }
        return result;
    }

    bool isLocal(const xcb_get_property_reply_t& machine) {
        if (machine.type == XCB_ATOM_NONE || machine.format != 8) return true; // not said: ours
        const std::string_view name(static_cast<const char*>(xcb_get_property_value(&machine)),
                                    static_cast<size_t>(xcb_get_property_value_length(&machine)));
        return runtime::equalsNoCase(name.substr(0, name.find('\0')), hostName_);
    }

    xcb_connection_t* connection_;
    std::string hostName_ = localHostName();
    xcb_atom_t wmState_ = XCB_ATOM_NONE;
    xcb_atom_t netWmPid_ = XCB_ATOM_NONE;
    xcb_atom_t wmProtocols_ = XCB_ATOM_NONE;
    xcb_atom_t wmDeleteWindow_ = XCB_ATOM_NONE;
    xcb_atom_t wmChangeState_ = XCB_ATOM_NONE;
    xcb_atom_t wmSelection_ = XCB_ATOM_NONE;
};

} // namespace

X11WindowSystem::X11WindowSystem(std::string displayName) : displayName_(std::move(displayName)) {}

std::unique_ptr<WindowSession> X11WindowSystem::open() {
    xcb_connection_t* connection =
        xcb_connect(displayName_.empty() ? nullptr : displayName_.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<X11Session>(connection);
}

} // namespace process
