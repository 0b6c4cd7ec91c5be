// The user's gestures on the main window, at the places its design headers give, and what the tests read
// back from the program's files: the settings file's sections and the trace's lines.
#pragma once

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/EndToEnd.h"
#include "mainwindow/MainWindowDesign.h"

namespace e2e {

// A click at the centre of a control's place in the window's client area.
inline void clickControl(Screen& screen, const WindowOnScreen& w, const ui::DesignPath& control,
                         int button = 1) {
    const ui::PixelRect r = control.pixels();
    screen.click(w, r.centreX(), r.centreY(), button);
}

inline void wheelControl(Screen& screen, const WindowOnScreen& w, const ui::DesignPath& control,
                         int notches) {
    const ui::PixelRect r = control.pixels();
    screen.wheel(w, r.centreX(), r.centreY(), notches);
}

// Clicks a control until the file holds the line, as a user clicks again a button that was not yet
// enabled (the recorder enables Save and Load a block after Stop). Each try waits long enough for a click
// that was taken to show, so a taken click is never repeated.
inline bool clickUntilLine(Screen& screen, const WindowOnScreen& w, const ui::PixelRect& control,
                           const std::filesystem::path& file, const std::string& line, int tries = 8) {
    for (int i = 0; i < tries; ++i) {
        screen.click(w, control.centreX(), control.centreY());
        if (waitForLine(file, line, 2500ms)) return true;
    }
    return false;
}

// Waits within the bound until the window with the caption has the client height.
inline std::optional<WindowOnScreen> waitForHeight(Screen& screen, const std::string& caption, int height,
                                                   std::chrono::milliseconds bound = kBound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        auto w = screen.find(caption);
        if (w && w->height == height) return w;
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(20ms);
    }
}

// Chooses a layout as a user does and waits for the window to take its height. A click that lands while a
// handler pumps events is refused by that handler's re-entry guard; so, as a user would, this chooses the
// layout again, through another layout and back, a bounded number of times.
inline std::optional<WindowOnScreen> chooseLayout(Screen& screen, const std::string& caption,
                                                  WindowOnScreen w, int16_t layout) {
    namespace design = mainwindow::design;
    const auto heightOf = [](int16_t l) { return ui::designPixels(design::clientHeight(l, false)); };
    const int16_t other = layout == design::kLayoutCompact ? design::kLayoutStandard : design::kLayoutCompact;
    for (int attempt = 0; attempt < 4; ++attempt) {
        clickControl(screen, w, design::layoutButton(layout));
        if (auto chosen = waitForHeight(screen, caption, heightOf(layout), 3s)) return chosen;
        clickControl(screen, w, design::layoutButton(other));
        if (auto moved = waitForHeight(screen, caption, heightOf(other), 3s)) w = *moved;
    }
    return std::nullopt;
}

// How many pixels of the picture of the main window, within a control's place, have the colour (0xRRGGBB).
inline size_t pixelsOf(const Picture& window, const ui::DesignPath& control, uint32_t colour) {
    const ui::PixelRect r = control.pixels();
    size_t n = 0;
    for (int y = std::max(r.Y, 0); y < std::min(r.Y + r.Height, window.height); ++y)
        for (int x = std::max(r.X, 0); x < std::min(r.X + r.Width, window.width); ++x)
            n += window.at(x, y) == colour;
    return n;
}

// Whether the picture of the main window shows the power Off: "&Close" shows only then, its option's
// white ring at its place.
inline bool picturesPowerOff(const Picture& window) {
    namespace design = mainwindow::design;
    return pixelsOf(window, design::powerButton(design::kPowerClose), 0xFFFFFF) >= 20;
}

// How many lines of the trace are exactly the line.
inline size_t traceCount(const Sandbox& sandbox, const std::string& line) {
    const auto trace = sandbox.trace();
    return static_cast<size_t>(std::count(trace.begin(), trace.end(), line));
}

// Waits within the bound until the trace holds the line at least n times.
inline bool waitForTraceCount(const Sandbox& sandbox, const std::string& line, size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (traceCount(sandbox, line) < n) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A power button's click, waited for until the program has handled it.
inline bool clickPower(Screen& screen, const WindowOnScreen& w, const Sandbox& sandbox, int button) {
    const std::string end = "optPwr_click : End";
    const size_t before = traceCount(sandbox, end);
    clickControl(screen, w, mainwindow::design::powerButton(button));
    return waitForTraceCount(sandbox, end, before + 1);
}

// The keys and values of one section of a settings file (section and key names as written).
inline std::map<std::string, std::string> iniSection(const std::filesystem::path& file,
                                                     const std::string& section) {
    std::map<std::string, std::string> keys;
    std::istringstream in(readFile(file));
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
            continue;
        }
        const size_t eq = line.find('=');
        if (inside && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

// "Off", then "&Close": the status the program ended with, nullopt with the reason when it stalled or
// went on too long.
inline std::optional<int> offAndClose(Screen& screen, const WindowOnScreen& w, const Sandbox& sandbox,
                                      Program& program, std::string* why) {
    EXPECT_TRUE(clickPower(screen, w, sandbox, mainwindow::design::kPowerOff));
    clickControl(screen, w, mainwindow::design::powerButton(mainwindow::design::kPowerClose));
    return program.waitForEndOfClose(sandbox, why);
}

} // namespace e2e
