// The high-resolution counter behind every timing of the system, as a seam that tests replace.
#pragma once

#include <cstdint>

namespace runtime {

class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;
    // Counts per second; 0 when there is no counter.
    virtual int64_t frequency() const = 0;
    virtual int64_t now() const = 0;
};

// The monotonic clock, counting in 100 ns steps: a 10 MHz counter keeps every interval the system
// holds in 32 bits (block durations) in range for over three minutes.
class SystemPerformanceCounter final : public PerformanceCounter {
public:
    int64_t frequency() const override { return 10'000'000; }
    int64_t now() const override;
};

const PerformanceCounter& systemPerformanceCounter();

} // namespace runtime
