// Settle delays on a fake counter: never shorter than asked, pumping only above 500 us, each wait its own.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

#include "frame/modTiming.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"

using runtime::testing::FakePerformanceCounter;

TEST(InitTiming, RoundsTicksPerMicrosecondHalfToEven) {
    const struct {
        int64_t frequency;
        int32_t ticks;
    } cases[] = {{3'579'545, 4}, {10'000'000, 10}, {499'999, 0}, {500'000, 0}, {1'500'000, 2}, {0, 0}};
    for (const auto& c : cases) {
        FakePerformanceCounter counter(c.frequency);
        modTiming::Timing timing(counter);
        EXPECT_EQ(timing.TicksPerMicrosecond(), c.ticks) << c.frequency;
        timing.InitTiming();
        timing.InitTiming();
        EXPECT_EQ(timing.TicksPerMicrosecond(), c.ticks) << c.frequency;
    }
}

struct DelayCase {
    float us;
    int64_t atLeastTicks;
    bool pumps;
};

void PrintTo(const DelayCase& c, std::ostream* os) {
    *os << c.us << " us";
}

class DelayMicroseconds : public ::testing::TestWithParam<DelayCase> {};

TEST_P(DelayMicroseconds, LastsAtLeastTheTargetAndPumpsOnlyAbove500) {
    const DelayCase c = GetParam();
    FakePerformanceCounter counter(10'000'000, 1);
    modTiming::Timing timing(counter);
    int pumps = 0;
    runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [&] { ++pumps; }}};

    const int64_t before = counter.now();
    timing.DelayMicroseconds(c.us);
    const int64_t elapsed = counter.now() - before;

    EXPECT_GE(elapsed, c.atLeastTicks);
    if (c.atLeastTicks == 0) {
        EXPECT_LE(elapsed, 3); // returns at once
    }
    if (c.pumps) {
        // One pump on every pass of the loop, one pass per counter reading.
        EXPECT_GE(pumps, c.atLeastTicks - 2);
    } else {
        EXPECT_EQ(pumps, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DelayMicroseconds,
                         ::testing::Values(DelayCase{0, 0, false}, DelayCase{-5, 0, false},
                                           DelayCase{5, 50, false}, DelayCase{0.04f, 0, false},
                                           DelayCase{0.05f, 0, false}, DelayCase{0.06f, 1, false},
                                           DelayCase{500, 5000, false}, DelayCase{501, 5010, true}));

TEST(DelayMicrosecondsRefusal, NonFiniteWaitsRaiseInvalidCall) {
    FakePerformanceCounter counter(10'000'000, 1);
    modTiming::Timing timing(counter);
    for (float us :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f}) {
        try {
            timing.DelayMicroseconds(us);
            ADD_FAILURE() << us;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kInvalidCall);
        }
    }
}

TEST(DelayMicrosecondsNesting, AWaitInsideThePumpDoesNotCutTheOuterWaitShort) {
    FakePerformanceCounter counter(1'000'000, 1); // 1 tick per microsecond
    modTiming::Timing timing(counter);
    bool nested = false;
    runtime::ScopedHooks hooks{runtime::Hooks{.doEvents = [&] {
        if (nested) return;
        nested = true;
        timing.DelayMicroseconds(600); // a long inner wait, itself pumping
    }}};
    const int64_t before = counter.now();
    timing.DelayMicroseconds(2000);
    EXPECT_GE(counter.now() - before, 2000);
}

TEST(ScopeTimerProc, CallsTheDisplayAndContainsItsFailure) {
    modTiming::Timing timing;
    std::vector<std::string> log;
    runtime::ScopedHooks hooks{runtime::Hooks{.addLog = [&](const std::string& s) { log.push_back(s); }}};

    timing.ScopeTimerProc(); // nothing installed: nothing happens
    int redraws = 0;
    timing.setScopeDisplay([&] { ++redraws; });
    timing.ScopeTimerProc();
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(log.empty());

    timing.setScopeDisplay([] { runtime::raise(runtime::err::kObjectNotSet, "frmUpDateScopeDisplay"); });
    EXPECT_NO_THROW(timing.ScopeTimerProc());
    timing.setScopeDisplay([] { throw std::logic_error("boom"); });
    EXPECT_NO_THROW(timing.ScopeTimerProc());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("Code=91"), std::string::npos);
    EXPECT_NE(log[0].find("Source=frmUpDateScopeDisplay"), std::string::npos);
    EXPECT_NE(log[1].find("boom"), std::string::npos);
}
