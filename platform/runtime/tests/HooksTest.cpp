// Hooks: nothing happens until installed, scoped installs put the previous hooks back.
#include <gtest/gtest.h>

#include <vector>

#include "platform/runtime/Hooks.h"

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
