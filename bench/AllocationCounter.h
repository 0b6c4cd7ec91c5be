// The benchmarks' count of heap allocations: linking this replaces the global operator new, so a
// benchmark reads how many allocations its loop made.
#pragma once

#include <cstdint>

namespace bench {

// Allocations through operator new since the program started, on every thread.
int64_t allocationCount() noexcept;

} // namespace bench
