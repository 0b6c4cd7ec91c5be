// A counter for tests: it moves only when told to, or by a fixed step at every reading.
#pragma once

#include <cstdint>

#include "platform/runtime/PerformanceCounter.h"

namespace runtime::testing {

class FakePerformanceCounter final : public PerformanceCounter {
public:
    explicit FakePerformanceCounter(int64_t frequency = 10'000'000, int64_t stepPerRead = 0)
        : frequency_(frequency), step_(stepPerRead) {}

    int64_t frequency() const override { return frequency_; }
    int64_t now() const override {
        const int64_t value = now_;
        now_ += step_;
        ++reads_;
        return value;
    }

    void set(int64_t value) { now_ = value; }
    void advance(int64_t ticks) { now_ += ticks; }
    void setStepPerRead(int64_t step) { step_ = step; }
    int64_t reads() const { return reads_; }

private:
    int64_t frequency_;
    int64_t step_;
    mutable int64_t now_ = 0;
    mutable int64_t reads_ = 0;
};

} // namespace runtime::testing
