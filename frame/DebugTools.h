// Copy of 16-bit sample arrays.
#pragma once

#include <cstdint>

namespace DebugTools {

// Copies n 16-bit values from src to dst (the ranges may overlap); n <= 0 copies nothing.
void CopyWords(const int16_t* src, int16_t* dst, int32_t n) noexcept;

} // namespace DebugTools
