// A stand-in for the watched program: it idles under whatever name it was started as, or shows top-level
// windows and reports, through its exit code, which of them were asked to close.
//   probe idle               (prints "ready" once it runs under its own name)
//   probe windows DISPLAY [framed] [machine NAME]
// In windows mode it prints "ready <main> <hidden> <dialog>" and, when a done message reaches any window,
// exits with 1 (main asked), 2 (hidden asked) and 4 (dialog asked) added up. Its windows are filled with
// 0x3366CC, so a picture shows them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <unistd.h>
#include <xcb/xcb.h>

namespace {

constexpr unsigned kLifetimeSeconds = 60; // never outlives a stuck test

xcb_connection_t* connection;
xcb_window_t root;

xcb_atom_t intern(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

void setProperty(xcb_window_t window, xcb_atom_t name, xcb_atom_t type, uint8_t format, uint32_t count,
                 const void* data) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, name, type, format, count, data);
}

constexpr uint32_t kFill = 0x3366CC;

xcb_window_t makeWindow(xcb_window_t parent, const std::string& machine) {
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &kFill);
    const uint32_t pid = static_cast<uint32_t>(::getpid());
    setProperty(window, intern("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    setProperty(window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8, static_cast<uint32_t>(machine.size()),
                machine.data());
    const xcb_atom_t deleteWindow = intern("WM_DELETE_WINDOW");
    setProperty(window, intern("WM_PROTOCOLS"), XCB_ATOM_ATOM, 32, 1, &deleteWindow);
    return window;
}

int showWindows(int argc, char** argv) {
    bool framed = false;
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    std::string machine = host;
    for (int i = 3; i < argc; ++i) {
        if (std::string_view(argv[i]) == "framed") framed = true;
        if (std::string_view(argv[i]) == "machine" && i + 1 < argc) machine = argv[++i];
    }
    connection = xcb_connect(argv[2], nullptr);
    if (xcb_connection_has_error(connection)) return 100;
    root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    xcb_window_t mainParent = root;
    if (framed) {
        // What a window manager does: the client inside a frame of its own, marked with WM_STATE.
        mainParent = xcb_generate_id(connection);
        const uint32_t frameFill = 0x808080;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, mainParent, root, 0, 0, 120, 120, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &frameFill);
        xcb_map_window(connection, mainParent);
    }
    const xcb_window_t mainWindow = makeWindow(mainParent, machine);
    if (framed) {
        const xcb_atom_t wmState = intern("WM_STATE");
        const uint32_t normalState[2] = {1, XCB_WINDOW_NONE};
        setProperty(mainWindow, wmState, wmState, 32, 2, normalState);
    }
    const xcb_window_t hidden = makeWindow(root, machine);
    const xcb_window_t dialog = makeWindow(root, machine);
    setProperty(dialog, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &mainWindow);
    xcb_map_window(connection, mainWindow);
    xcb_map_window(connection, dialog);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const xcb_atom_t protocols = intern("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = intern("WM_DELETE_WINDOW");
    const xcb_atom_t done = intern("NERIX_PROBE_DONE");
    std::printf("ready %u %u %u\n", mainWindow, hidden, dialog);
    std::fflush(stdout);

    int asked = 0;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (message->type == done) {
                std::free(event);
                xcb_disconnect(connection);
                return asked;
            }
            if (message->type == protocols && message->data.data32[0] == deleteWindow) {
                if (message->window == mainWindow) asked |= 1;
                if (message->window == hidden) asked |= 2;
                if (message->window == dialog) asked |= 4;
                // Closes as an application would, except that the dialog stays for the done message.
                if (message->window != dialog) xcb_destroy_window(connection, message->window);
                xcb_flush(connection);
            }
        }
        std::free(event);
    }
    return 101;
}

} // namespace

int main(int argc, char** argv) {
    ::alarm(kLifetimeSeconds);
    if (argc >= 2 && std::string_view(argv[1]) == "idle") {
        std::printf("ready\n");
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    if (argc >= 3 && std::string_view(argv[1]) == "windows") return showWindows(argc, argv);
    return 64;
}
