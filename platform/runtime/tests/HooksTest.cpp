// Hooks: nothing happens until installed, scoped installs put the previous hooks back; pumps and boxes
// count as nested loops, and a box once the session ends is answered without a person.
#include <gtest/gtest.h>

#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/runtime/RuntimeError.h"

using namespace runtime;

TEST(Hooks, DoNothingUntilInstalledAndAnswerWithTheFirstButton) {
    ScopedHooks none{Hooks{}};
    DoEvents();
    AddLog("dropped");
    EXPECT_EQ(MsgBox("x", mb::kOkOnly | mb::kInformation), mb::kOk);
    EXPECT_EQ(MsgBox("x", mb::kYesNo | mb::kQuestion), mb::kYes);
    EXPECT_EQ(MsgBox("x", mb::kRetryCancel), mb::kRetry);
}

TEST(Hooks, ScopedInstallsNestAndRestore) {
    std::vector<std::string> outer, inner;
    ScopedHooks a{Hooks{.addLog = [&](const std::string& s) { outer.push_back(s); }}};
    {
        ScopedHooks b{Hooks{.addLog = [&](const std::string& s) { inner.push_back(s); },
                            .msgBox =
                                [](const std::string&, int32_t, const std::string& title) {
                                    return title == kProductName ? mb::kNo : mb::kCancel;
                                }}};
        AddLog("one");
        EXPECT_EQ(MsgBox("q", mb::kYesNo), mb::kNo);
    }
    AddLog("two");
    EXPECT_EQ(inner, std::vector<std::string>{"one"});
    EXPECT_EQ(outer, std::vector<std::string>{"two"});
}

// A pump and a box are nested loops while they run, one inside the other too, and no longer once they have
// returned, also by an error.
TEST(Hooks, APumpAndABoxAreNestedLoopsWhileTheyRun) {
    std::vector<int32_t> seen;
    bool fail = false;
    ScopedHooks hooks{Hooks{.doEvents =
                                [&] {
                                    seen.push_back(nestedLoops());
                                    MsgBox("inside the pump");
                                },
                            .msgBox =
                                [&](const std::string&, int32_t, const std::string&) {
                                    seen.push_back(nestedLoops());
                                    if (fail) raise(5, "box");
                                    return mb::kOk;
                                }}};
    EXPECT_EQ(nestedLoops(), 0);
    DoEvents();
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(nestedLoops(), 0);
    fail = true;
    EXPECT_THROW(DoEvents(), RuntimeError);
    EXPECT_EQ(nestedLoops(), 0);
}

// Once the session ends nobody answers a box: none is shown, its question goes to the trace log and the
// caller gets the answer that commits to nothing.
TEST(Hooks, WhileTheSessionEndsABoxIsTracedAndAnsweredByNoOrCancel) {
    std::vector<std::string> lines;
    int shown = 0;
    ScopedHooks hooks{Hooks{.addLog = [&](const std::string& l) { lines.push_back(l); },
                            .msgBox =
                                [&](const std::string&, int32_t, const std::string&) {
                                    ++shown;
                                    return mb::kYes;
                                }}};
    struct Ending {
        Ending() { setSessionEnding(true); }
        ~Ending() { setSessionEnding(false); }
    } ending;
    const struct {
        int32_t buttons;
        int32_t answer;
    } cases[] = {{mb::kOkOnly | mb::kExclamation, mb::kOk}, {mb::kOkCancel, mb::kCancel},
                 {mb::kAbortRetryIgnore, mb::kAbort},       {mb::kYesNoCancel, mb::kCancel},
                 {mb::kYesNo | mb::kQuestion, mb::kNo},     {mb::kRetryCancel, mb::kCancel}};
    for (const auto& c : cases)
        EXPECT_EQ(MsgBox("Save it ?", c.buttons, "Recorder"), c.answer) << c.buttons;
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(lines, std::vector<std::string>(std::size(cases), "Recorder: Save it ?"));
}
