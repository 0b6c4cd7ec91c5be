#include "e2e/harness/Screen.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <thread>

#include <xcb/xtest.h>

#include "e2e/harness/Servers.h"

namespace e2e {

namespace {

template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T> Reply<T> reply(T* r) {
    return Reply<T>(r, &std::free);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto r = reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace

int Picture::colours(int limit) const {
    std::set<uint32_t> seen;
    for (const uint32_t p : pixels) {
        seen.insert(p & 0xFFFFFF);
        if (static_cast<int>(seen.size()) >= limit) break;
    }
    return static_cast<int>(seen.size());
}

bool Picture::savePng(const std::string& path) const {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::copy_n(pixels.data() + static_cast<size_t>(y) * width, width,
                    reinterpret_cast<uint32_t*>(image.scanLine(y)));
    return image.save(QString::fromStdString(path), "PNG");
}

Screen::Screen(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
    if (xcb_connection_has_error(c_)) {
        xcb_disconnect(c_);
        throw HarnessError("cannot connect to the X server " + display);
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    netWmName_ = atom(c_, "_NET_WM_NAME");
    utf8_ = atom(c_, "UTF8_STRING");
    auto version = reply(xcb_test_get_version_reply(c_, xcb_test_get_version(c_, 2, 2), nullptr));
    if (!version) throw HarnessError("the X server has no XTEST extension");
}

Screen::~Screen() {
    xcb_disconnect(c_);
}

std::vector<WindowOnScreen> Screen::windows() {
    return topLevels(false);
}

std::vector<WindowOnScreen> Screen::popups() {
    return topLevels(true);
}

std::vector<WindowOnScreen> Screen::topLevels(bool popups) {
    std::vector<WindowOnScreen> found;
    auto tree = reply(xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr));
    if (!tree) return found;
    const xcb_window_t* kids = xcb_query_tree_children(tree.get());
    const int n = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < n; ++i) {
        auto attributes =
            reply(xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, kids[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            (attributes->override_redirect != 0) != popups)
            continue;
        auto name = reply(
            xcb_get_property_reply(c_, xcb_get_property(c_, 0, kids[i], netWmName_, utf8_, 0, 256), nullptr));
        if (!name || xcb_get_property_value_length(name.get()) == 0)
            name = reply(xcb_get_property_reply(
                c_, xcb_get_property(c_, 0, kids[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                nullptr));
        auto geometry = reply(xcb_get_geometry_reply(c_, xcb_get_geometry(c_, kids[i]), nullptr));
        auto place = reply(xcb_translate_coordinates_reply(
            c_, xcb_translate_coordinates(c_, kids[i], root_, 0, 0), nullptr));
        if (!geometry || !place) continue;
        WindowOnScreen w;
        w.id = kids[i];
        w.x = place->dst_x;
        w.y = place->dst_y;
        w.width = geometry->width;
        w.height = geometry->height;
        if (name)
            w.caption.assign(static_cast<const char*>(xcb_get_property_value(name.get())),
                             static_cast<size_t>(xcb_get_property_value_length(name.get())));
        found.push_back(std::move(w));
    }
    return found;
}

std::optional<WindowOnScreen> Screen::find(const std::string& caption) {
    for (auto& w : windows())
        if (w.caption == caption) return w;
    return std::nullopt;
}

std::optional<WindowOnScreen> Screen::waitFor(const std::string& caption, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (auto w = find(caption)) return w;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

bool Screen::waitGone(const std::string& caption, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (find(caption)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

void Screen::raise(const WindowOnScreen& w) {
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c_, w.id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    sync();
}

void Screen::move(const WindowOnScreen& w, int x, int y) {
    xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<int16_t>(w.x + x),
                        static_cast<int16_t>(w.y + y), 0);
    sync();
}

void Screen::buttonDown(int button) {
    xcb_test_fake_input(c_, XCB_BUTTON_PRESS, static_cast<uint8_t>(button), XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                        0);
    sync();
}

void Screen::buttonUp(int button) {
    xcb_test_fake_input(c_, XCB_BUTTON_RELEASE, static_cast<uint8_t>(button), XCB_CURRENT_TIME, XCB_NONE, 0,
                        0, 0);
    sync();
}

void Screen::click(const WindowOnScreen& w, int x, int y, int button) {
    move(w, x, y);
    // The toolkit sees the pointer arrive before the press, as it would from a hand.
    std::this_thread::sleep_for(30ms);
    buttonDown(button);
    std::this_thread::sleep_for(30ms);
    buttonUp(button);
}

void Screen::wheel(const WindowOnScreen& w, int x, int y, int notches) {
    move(w, x, y);
    std::this_thread::sleep_for(30ms);
    const int button = notches > 0 ? 4 : 5;
    for (int i = 0; i < std::abs(notches); ++i) {
        buttonDown(button);
        buttonUp(button);
        std::this_thread::sleep_for(30ms);
    }
}

xcb_keycode_t Screen::keycode(uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c_);
    const uint8_t first = setup->min_keycode;
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - first + 1);
    auto map = reply(xcb_get_keyboard_mapping_reply(c_, xcb_get_keyboard_mapping(c_, first, count), nullptr));
    if (!map) throw HarnessError("no keyboard mapping");
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int per = map->keysyms_per_keycode;
    for (int k = 0; k < count; ++k)
        for (int j = 0; j < per; ++j)
            if (syms[k * per + j] == keysym) return static_cast<xcb_keycode_t>(first + k);
    throw HarnessError("no key for keysym " + std::to_string(keysym));
}

void Screen::keyDown(uint32_t keysym) {
    xcb_test_fake_input(c_, XCB_KEY_PRESS, keycode(keysym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
}

void Screen::keyUp(uint32_t keysym) {
    xcb_test_fake_input(c_, XCB_KEY_RELEASE, keycode(keysym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    sync();
}

void Screen::key(uint32_t keysym, bool shift) {
    if (shift) keyDown(keysym::kShiftL);
    keyDown(keysym);
    keyUp(keysym);
    if (shift) keyUp(keysym::kShiftL);
}

Picture Screen::capture(const WindowOnScreen& w) {
    Picture p;
    // From the root, so that what another window covers shows as a person would see it.
    auto image = reply(
        xcb_get_image_reply(c_,
                            xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<int16_t>(w.x),
                                          static_cast<int16_t>(w.y), static_cast<uint16_t>(w.width),
                                          static_cast<uint16_t>(w.height), ~0u),
                            nullptr));
    if (!image) throw HarnessError("cannot read the picture of \"" + w.caption + "\"");
    const size_t n = static_cast<size_t>(w.width) * w.height;
    if (static_cast<size_t>(xcb_get_image_data_length(image.get())) < n * 4)
        throw HarnessError("the server's picture is not 32 bits a pixel");
    const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image.get()));
    p.width = w.width;
    p.height = w.height;
    p.pixels.assign(data, data + n);
    for (auto& px : p.pixels)
        px &= 0xFFFFFF;
    return p;
}

void Screen::sync() {
    auto r = reply(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    (void)r;
}

} // namespace e2e
