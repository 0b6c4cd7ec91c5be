// The wait for a program's end judges progress, not time: a slow end that keeps working is waited for, a
// stuck one and an endless one are reported with the reason.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/harness/ProgramRun.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

struct Case {
    const char* name;
    std::string script; // run by bash with the trace file as $1
    bool ends;          // whether the wait sees the end
    const char* why;    // the start of the reason otherwise
};

// Named in the test's listing by its name alone.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class ProgressWait : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "nerix-progress-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path folder_;
};

// The stall bound is far above a step's time, so a loaded machine only lengthens the runs.
constexpr auto kTestStall = 3s;
constexpr auto kTestCeiling = 8s;

TEST_P(ProgressWait, WaitsWhileTheProcessWorksAndGivesUpWhenItStallsOrNeverEnds) {
    const Case& c = GetParam();
    const fs::path trace = folder_ / "trace";
    ChildProcess child("bash", {"bash", "-c", c.script, "bash", trace.string()});
    std::string why;
    const auto status = waitWhileProgressing(child, trace, &why, kTestStall, kTestCeiling);
    if (c.ends) {
        ASSERT_TRUE(status) << why;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    } else {
        EXPECT_FALSE(status);
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ProgressWait,
    ::testing::Values(
        // Quiet for longer than the stall bound in all, but each line comes well within it.
        Case{"TraceGrows", "for i in 1 2 3 4 5 6 7 8; do echo line >> \"$1\"; sleep 0.5; done", true, ""},
        // No line at all, but busy on a core for longer than the stall bound.
        Case{"Busy", "end=$((SECONDS + 5)); while ((SECONDS < end)); do :; done", true, ""},
        Case{"Asleep", "exec sleep 60", false, "no progress for"},
        Case{"Endless", "while :; do :; done", false, "still running after"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace e2e
