// The X server as a user and a camera see it: top-level windows found by their caption, input through
// XTEST at positions in a window, and pictures of a window taken from the server.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <xcb/xcb.h>

namespace e2e {

struct WindowOnScreen {
    xcb_window_t id = 0;
    int x = 0, y = 0; // the client area's corner on the root window
    int width = 0, height = 0;
    std::string caption;
};

// A picture taken from the server, 0xRRGGBB per pixel.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // How many colours it holds, counted up to the limit.
    int colours(int limit = 64) const;
    bool savePng(const std::string& path) const;
};

class Screen {
public:
    explicit Screen(const std::string& display);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The viewable top-level windows, in stacking order (topmost last).
    std::vector<WindowOnScreen> windows();
    // The viewable popups (tool tips, menus and the like, which no window manager would frame), in
    // stacking order.
    std::vector<WindowOnScreen> popups();
    std::optional<WindowOnScreen> find(const std::string& caption);
    // Waits, within the bound, for a viewable top-level window with that caption.
    std::optional<WindowOnScreen> waitFor(const std::string& caption, std::chrono::milliseconds bound);
    // Waits until no viewable top-level window carries the caption.
    bool waitGone(const std::string& caption, std::chrono::milliseconds bound);

    // Input at a point of a window's client area, in pixels.
    void move(const WindowOnScreen& w, int x, int y);
    void click(const WindowOnScreen& w, int x, int y, int button = 1);
    void wheel(const WindowOnScreen& w, int x, int y, int notches); // positive: away from the user
    // A key by its keysym, with Shift held when asked.
    void key(uint32_t keysym, bool shift = false);
    void buttonDown(int button);
    void buttonUp(int button);
    void keyDown(uint32_t keysym);
    void keyUp(uint32_t keysym);

    // Brings the window above the others, as a window manager does when the user clicks it.
    void raise(const WindowOnScreen& w);

    Picture capture(const WindowOnScreen& w);
    // Waits until the server has handled every request sent.
    void sync();

private:
    xcb_keycode_t keycode(uint32_t keysym);
    std::vector<WindowOnScreen> topLevels(bool popups);

    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t netWmName_ = 0, utf8_ = 0;
};

// Keysyms the tests press.
namespace keysym {
inline constexpr uint32_t kShiftL = 0xffe1, kReturn = 0xff0d, kEscape = 0xff1b, kTab = 0xff09;
inline constexpr uint32_t kRight = 0xff53, kDown = 0xff54, kControlL = 0xffe3;
} // namespace keysym

} // namespace e2e
