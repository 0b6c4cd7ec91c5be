// The window layouts against the size table: four layouts, with and without the Elektor panel and the
// title bar, with a window frame of its own; refusal of a bad index, re-entry, and the resize snap.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/WindowLayout.h"
#include "platform/runtime/RuntimeError.h"

using mainwindow::ChromeMetrics;
using mainwindow::LayoutPlan;
using mainwindow::WindowLayout;

namespace {

constexpr const char* kElektor = "RXModel.Elektor 2007-05 IQ SDR";
constexpr const char* kOther = "RXModel.Softrock 6.2";
constexpr int32_t B = 60;  // border width
constexpr int32_t C = 345; // chrome height

// A window that writes down what the layout does to it; a size it is given raises its resize event.
struct FakeWindow final : mainwindow::LayoutWindow {
    std::vector<std::string> calls;
    LayoutPlan placed;
    int32_t height = 0, width = 0;
    int16_t selected = -1;
    bool normal = true;
    std::function<void(int16_t)> onMark;
    std::function<void()> onResize;

    void markLayoutButton(int16_t Index) override {
        calls.push_back("mark " + std::to_string(Index));
        selected = Index;
        if (onMark) onMark(Index);
    }
    int16_t selectedLayoutButton() const override { return selected; }
    void placePanels(const LayoutPlan& plan) override {
        calls.push_back("place");
        placed = plan;
    }
    void switchOffAnalyser() override { calls.push_back("analyser off"); }
    void followStatisticsAndAnalyserBoxes() override { calls.push_back("follow boxes"); }
    void setWindowHeight(int32_t twips) override {
        calls.push_back("height " + std::to_string(twips));
        height = twips;
        if (onResize) onResize();
    }
    void setWindowWidth(int32_t twips) override {
        calls.push_back("width " + std::to_string(twips));
        width = twips;
        if (onResize) onResize();
    }
    bool windowStateNormal() const override { return normal; }
};

struct Rig {
    ReceiverState state;
    WindowLayout layout{state};
    FakeWindow window;
    Rig() { layout.Chrome = {B, C}; }
    void apply(int16_t index, const char* section = kOther) {
        layout.optDisplaySize_Click(index, section, window);
    }
};

} // namespace

TEST(WindowLayout, EachLayoutHasTheSizeAndPanelPlacesOfTheTable) {
    const struct {
        int16_t index;
        bool elektor;
        int32_t height; // with the title bar
    } cases[] = {
        {0, false, 1200}, {1, false, 2875}, {2, false, 3580}, {3, false, 8305},
        {0, true, 1200},  {1, true, 2875},  {2, true, 4150},  {3, true, 8875},
    };
    for (const auto& c : cases) {
        for (const bool titleBarHidden : {false, true}) {
            Rig r;
            r.layout.TitleBarHidden = titleBarHidden;
            r.apply(c.index, c.elektor ? kElektor : kOther);
            // Without the title bar the window is C lower and B higher.
            const int32_t height = titleBarHidden ? c.height + 2 * B : c.height + B + C;
            const std::string where = std::to_string(c.index) + (c.elektor ? " Elektor" : "") +
                                      (titleBarHidden ? " without title bar" : "");
            EXPECT_EQ(r.window.height, height) << where;
            EXPECT_EQ(r.window.width, 12465 + 2 * B) << where;
            EXPECT_EQ(r.layout.LayoutHeight, static_cast<float>(height)) << where;
            EXPECT_EQ(r.state.DisplayMode, c.index) << where;
            const LayoutPlan& p = r.window.placed;
            EXPECT_EQ(p.ElektorPanel, c.elektor) << where;
            EXPECT_EQ(p.picRecorder.Top, c.elektor ? 3520 : 2950) << where;
            EXPECT_EQ(p.picScopeContainer.Top, c.elektor ? 4225 : 3655) << where;
            EXPECT_EQ(p.picCalib.Top, c.elektor ? 8425 : 7855) << where;
            EXPECT_EQ(p.picElektor200705.Top, 2950) << where;
            EXPECT_EQ(p.picRecorder.Left, 60) << where;
        }
    }
}

TEST(WindowLayout, TheElektorPanelGoesByTheExactSectionText) {
    for (const char* section : {"RXModel.elektor 2007-05 IQ SDR", "RXModel.Elektor 2007-05 IQ SDR ",
                                "Elektor 2007-05 IQ SDR", ""}) {
        Rig r;
        EXPECT_FALSE(r.layout.plan(3, section).ElektorPanel) << '"' << section << '"';
    }
    Rig r;
    EXPECT_TRUE(r.layout.plan(3, kElektor).ElektorPanel);
}

TEST(WindowLayout, TheShortLayoutsSwitchStatisticsAndAnalyserOffTheLongOnesFollowTheirBoxes) {
    for (int16_t index = 0; index <= 3; ++index) {
        Rig r;
        r.state.PerfStatsOn = true;
        r.apply(index);
        const bool longLayout = index >= 2;
        EXPECT_EQ(r.state.PerfStatsOn, longLayout) << index;
        const std::vector<std::string> expected = {
            "mark " + std::to_string(index), "place", longLayout ? "follow boxes" : "analyser off",
            "height " + std::to_string(r.window.height), "width " + std::to_string(12465 + 2 * B)};
        EXPECT_EQ(r.window.calls, expected) << index;
    }
}

TEST(WindowLayout, AnIndexOutsideTheFourIsRefusedAndTheNextCallWorks) {
    for (const int16_t bad : {int16_t{4}, int16_t{-1}}) {
        Rig r;
        r.apply(1);
        r.window.calls.clear();
        r.state.PerfStatsOn = true;
        try {
            r.apply(bad);
            ADD_FAILURE() << bad;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kInvalidPropertyArrayIndex);
        }
        EXPECT_TRUE(r.window.calls.empty()) << bad;
        EXPECT_EQ(r.state.DisplayMode, 1);
        EXPECT_TRUE(r.state.PerfStatsOn);
        EXPECT_EQ(r.layout.LayoutHeight, static_cast<float>(2875 + B + C));
        r.apply(3);
        EXPECT_EQ(r.state.DisplayMode, 3);
        EXPECT_EQ(r.window.height, 8305 + B + C);
    }
}

TEST(WindowLayout, NestedEventsWhileALayoutIsAppliedDoNothingAndTheWindowEndsAtItsSize) {
    Rig r;
    r.apply(3);
    r.window.calls.clear();
    // Selecting the option button runs its click handler again; the new size raises the resize event.
    r.window.onMark = [&](int16_t index) { r.apply(index); };
    r.window.onResize = [&] { r.layout.Form_Resize(r.window); };
    r.apply(0);
    EXPECT_EQ(std::count(r.window.calls.begin(), r.window.calls.end(), "mark 0"), 1);
    EXPECT_EQ(r.window.height, 1200 + B + C);
    EXPECT_EQ(r.window.width, 12465 + 2 * B);
    // Choosing the layout that is applied applies it again and changes nothing.
    r.apply(0);
    EXPECT_EQ(r.window.height, 1200 + B + C);
    EXPECT_EQ(r.state.DisplayMode, 0);
}

// A user's click on another layout while one is applied selects its button, and its handler is refused;
// the button of the layout in force is selected again when the applying run ends.
TEST(WindowLayout, AClickRefusedWhileALayoutIsAppliedLeavesTheLayoutInForceSelected) {
    Rig r;
    r.apply(3);
    r.window.onResize = [&] {
        r.window.selected = 1;
        r.apply(1);
    };
    r.apply(0);
    EXPECT_EQ(r.state.DisplayMode, 0);
    EXPECT_EQ(r.window.selected, 0);
    EXPECT_EQ(r.window.calls.back(), "mark 0");
    EXPECT_EQ(r.window.height, 1200 + B + C);
}

TEST(WindowLayout, ResizingSnapsBackInTheNormalStateOnly) {
    Rig r;
    r.layout.Form_Resize(r.window); // no layout yet: the window is left alone
    EXPECT_TRUE(r.window.calls.empty());
    r.apply(2);
    r.window.height = 9000;
    r.window.width = 3000;
    r.window.normal = false; // minimised or maximised
    r.layout.Form_Resize(r.window);
    EXPECT_EQ(r.window.height, 9000);
    r.window.normal = true;
    r.layout.Form_Resize(r.window);
    EXPECT_EQ(r.window.height, 3580 + B + C);
    EXPECT_EQ(r.window.width, 12465 + 2 * B);
}

TEST(WindowLayout, TheChromeIsMeasuredInWholeTwipsHalvesToEven) {
    const struct {
        double outerW, outerH, clientW, clientH;
        ChromeMetrics expected;
    } cases[] = {
        {12585, 7480, 12465, 7075, {60, 405}},
        {12480, 7090.5, 12465, 7075, {8, 16}},
        {12482, 7089.5, 12465, 7075, {8, 14}},
        {12465, 7075, 12465, 7075, {0, 0}}, // offscreen: no frame
    };
    for (const auto& c : cases) {
        const ChromeMetrics m = mainwindow::measureChrome(c.outerW, c.outerH, c.clientW, c.clientH);
        EXPECT_EQ(m.FormBorderWidth, c.expected.FormBorderWidth) << c.outerW;
        EXPECT_EQ(m.FormChromeHeight, c.expected.FormChromeHeight) << c.outerH;
    }
}
