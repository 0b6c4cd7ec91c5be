// The stopwatch on a fake counter: durations, 32-bit tick range, no counter at all.
#include <gtest/gtest.h>

#include <string>

#include "frame/Profiler.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/testing/FakePerformanceCounter.h"

using runtime::testing::FakePerformanceCounter;

TEST(Profiler, MeasuresTheIntervalInMicroseconds) {
    FakePerformanceCounter counter(10'000'000);
    Profiler p(counter);
    EXPECT_EQ(p.TicksPerSec(), 10'000'000);
    EXPECT_EQ(p.Duration(), 0.0);
    counter.set(1'000'000);
    EXPECT_EQ(p.StartTiming(), 0);
    counter.advance(426'667);
    EXPECT_EQ(p.StopTiming(), 0);
    EXPECT_EQ(p.DurationInTicks(), 426'667);
    EXPECT_NEAR(p.Duration(), 42'666.7, 1e-6);

    counter.advance(100);
    p.StopTiming(); // a second stop measures from the same start
    EXPECT_EQ(p.DurationInTicks(), 426'767);
}

TEST(Profiler, AnIntervalBeyond32BitsKeepsThePreviousValues) {
    FakePerformanceCounter counter(10'000'000);
    Profiler p(counter);
    counter.set(5'000'000'000);
    p.StartTiming();
    counter.advance(20);
    p.StopTiming();
    EXPECT_EQ(p.DurationInTicks(), 20);

    // Stop without a new start after the counter has run for long: measured from the old start.
    counter.advance(int64_t{1} << 32);
    p.StopTiming();
    EXPECT_EQ(p.DurationInTicks(), 20);
    EXPECT_DOUBLE_EQ(p.Duration(), 2.0);
    EXPECT_EQ(p.StopTick(), 5'000'000'020 + (int64_t{1} << 32));
}

TEST(Profiler, WithoutACounterItSaysSoOnceAndNeverDividesByZero) {
    std::vector<std::string> prompts;
    std::vector<int32_t> styles;
    runtime::ScopedHooks hooks{
        runtime::Hooks{.msgBox = [&](const std::string& prompt, int32_t style, const std::string&) {
            prompts.push_back(prompt);
            styles.push_back(style);
            return runtime::mb::kOk;
        }}};
    FakePerformanceCounter counter(0);
    Profiler p(counter);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], "Your hardware doesn't support a high-resolution performance counter!");
    EXPECT_EQ(styles[0], runtime::mb::kInformation);
    p.StartTiming();
    counter.advance(10);
    p.StopTiming();
    EXPECT_EQ(p.TicksPerSec(), 0);
    EXPECT_EQ(p.DurationInTicks(), 10);
    EXPECT_EQ(p.Duration(), 0.0);
}
