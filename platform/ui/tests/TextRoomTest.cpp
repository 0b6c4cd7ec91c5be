// The window walk that measures captions and overlaps: each kind of fault it is there to find, on a small
// window that shows it, beside the same window laid out so that everything reads.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/ui/testing/TextRoom.h"

namespace {

using ui::testing::Allowance;
using ui::testing::textRoomFaults;

// A window, the controls a case puts on it, and the exceptions the case allows.
struct Window {
    QWidget form;
    std::vector<Allowance> allowed;
    Window() { form.resize(400, 200); }
    template <class W, class... A> W* add(QWidget* parent, QRect at, A&&... args) {
        auto* w = new W(std::forward<A>(args)..., parent);
        w->setGeometry(at);
        return w;
    }
};

struct Case {
    const char* name;
    std::function<void(Window&)> build;
    // A part of the one fault expected, or null when the window reads.
    const char* fault;
};

const Case kCases[] = {
    {"captions with room to spare",
     [](Window& w) {
         w.add<QLabel>(&w.form, {10, 10, 200, 20}, "Mode");
         w.add<QCheckBox>(&w.form, {10, 40, 200, 20}, "AGC");
         w.add<QRadioButton>(&w.form, {10, 70, 200, 20}, "USB");
         w.add<QPushButton>(&w.form, {10, 100, 200, 30}, "&Close");
         auto* frame = w.add<QGroupBox>(&w.form, {220, 10, 170, 100}, "Notch");
         w.add<QCheckBox>(frame, {10, 30, 100, 20}, "On");
     },
     nullptr},
    {"a label narrower than its caption",
     [](Window& w) {
         w.add<QLabel>(&w.form, {10, 10, 20, 20}, "360 096 000");
     },
     "its caption needs"},
    {"a label lower than its caption",
     [](Window& w) {
         w.add<QLabel>(&w.form, {10, 10, 200, 4}, "Mode");
     },
     "its caption needs"},
    {"a check box whose caption does not fit beside its box",
     [](Window& w) {
         w.add<QCheckBox>(&w.form, {10, 10, 40, 20}, "AutoGain");
     },
     "its caption needs"},
    {"an option button whose caption does not fit beside its circle",
     [](Window& w) {
         w.add<QRadioButton>(&w.form, {10, 10, 30, 20}, "Unused");
     },
     "its caption needs"},
    {"a button cut short",
     [](Window& w) {
         w.add<QPushButton>(&w.form, {10, 10, 20, 30}, "&Close");
     },
     "its caption needs"},
    {"a frame narrower than its caption",
     [](Window& w) {
         w.add<QGroupBox>(&w.form, {10, 10, 30, 80}, "Bits/Sample");
     },
     "its caption"},
    {"a frame's caption under a box inside it",
     [](Window& w) {
         auto* frame = w.add<QGroupBox>(&w.form, {10, 10, 200, 80}, "Channel One");
         w.add<QCheckBox>(frame, {4, 0, 120, 16}, "On");
     },
     "its caption is covered by"},
    {"a label running off its container's edge",
     [](Window& w) {
         auto* page = w.add<QWidget>(&w.form, {10, 10, 100, 50});
         w.add<QLabel>(page, {85, 10, 200, 20}, "7 043");
     },
     "cut by the edge of its container"},
    {"two buttons on one another",
     [](Window& w) {
         w.add<QPushButton>(&w.form, {10, 10, 100, 30}, "Load");
         w.add<QPushButton>(&w.form, {60, 20, 100, 30}, "Save");
     },
     "overlaps"},
    {"a label over a box inside a frame, beside the frame's caption",
     [](Window& w) {
         auto* frame = w.add<QGroupBox>(&w.form, {10, 10, 200, 100}, "Notch");
         w.add<QCheckBox>(frame, {10, 30, 80, 20}, "On");
         w.add<QLabel>(&w.form, {300, 10, 80, 20}, "23:45:15");
         w.add<QLabel>(&w.form, {25, 45, 60, 16}, "12 000");
     },
     "overlaps"},
    {"a label over a frame's caption",
     [](Window& w) {
         w.add<QGroupBox>(&w.form, {10, 10, 200, 100}, "Notch");
         w.add<QLabel>(&w.form, {12, 8, 60, 16}, "12 000");
     },
     "overlaps"},
    {"the same, allowed as the design's stacking",
     [](Window& w) {
         auto* a = w.add<QPushButton>(&w.form, {10, 10, 100, 30}, "Load");
         auto* b = w.add<QPushButton>(&w.form, {60, 20, 100, 30}, "Save");
         w.allowed.push_back({a, b, "stacked"});
     },
     nullptr},
    {"a caption allowed to run past its room",
     [](Window& w) {
         auto* l = w.add<QLabel>(&w.form, {10, 10, 20, 20}, "360 096 000");
         w.allowed.push_back({l, nullptr, "shows its start only"});
     },
     nullptr},
    {"labels on a picture, and a hidden control under a shown one",
     [](Window& w) {
         auto* picture = w.add<QWidget>(&w.form, {10, 10, 300, 150});
         w.add<QLabel>(picture, {10, 10, 80, 20}, "000");
         w.add<QPushButton>(&w.form, {200, 170, 100, 25}, "Play")->hide();
         w.add<QPushButton>(&w.form, {200, 170, 100, 25}, "Pause");
     },
     nullptr},
};

class TextRoom : public ::testing::TestWithParam<Case> {};

TEST_P(TextRoom, FindsTheFaultThatIsThereAndNoOther) {
    Window w;
    GetParam().build(w);
    w.form.show();
    const std::vector<std::string> faults = textRoomFaults(w.form, w.allowed);
    if (!GetParam().fault) {
        EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
        return;
    }
    ASSERT_EQ(faults.size(), 1u) << ::testing::PrintToString(faults);
    EXPECT_NE(faults[0].find(GetParam().fault), std::string::npos) << faults[0];
}

INSTANTIATE_TEST_SUITE_P(Windows, TextRoom, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) {
                             return "Case" + std::to_string(i.index);
                         });

} // namespace
