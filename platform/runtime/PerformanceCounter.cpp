// The monotonic clock as a 10 MHz counter.
#include "platform/runtime/PerformanceCounter.h"

#include <ctime>

namespace runtime {

int64_t SystemPerformanceCounter::now() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 10'000'000 + ts.tv_nsec / 100;
}

const PerformanceCounter& systemPerformanceCounter() {
    static const SystemPerformanceCounter counter;
    return counter;
}

} // namespace runtime
