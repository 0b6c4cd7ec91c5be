// The data register of a parallel port, as a seam: one byte written at once, never read back.
#pragma once

#include <cstdint>

namespace parport {

class ParallelPort {
public:
    virtual ~ParallelPort() = default;
    // Writes the low byte of value to the data register at address; a port that cannot be reached
    // raises runtime::RuntimeError to the caller.
    virtual void Out32(uint16_t address, uint16_t value) = 0;
};

} // namespace parport
