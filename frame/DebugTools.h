// Copy of 16-bit sample arrays.
#pragma once

#include <cstdint>

namespace DebugTools {

// The signal processing library's 16-bit copy; the DSP layer provides it, so the frame needs no DSP.
class WordCopy {
public:
    virtual ~WordCopy() = default;
    virtual void Copy(const int16_t* src, int16_t* dst, int32_t n) = 0;
};

// Copies n 16-bit values from src to dst (the ranges may overlap); n <= 0 copies nothing.
void CopyWords(const int16_t* src, int16_t* dst, int32_t n) noexcept;

// As above, through the signal processing library's copy while useSPL is on. Its failures (a
// missing library) go back to the caller as run-time errors.
void CopyWords(const int16_t* src, int16_t* dst, int32_t n, bool useSPL, WordCopy& splCopy);

} // namespace DebugTools
