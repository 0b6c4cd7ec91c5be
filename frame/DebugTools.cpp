// Copy of 16-bit sample arrays.
#include "frame/DebugTools.h"

#include <cstring>

namespace DebugTools {

void CopyWords(const int16_t* src, int16_t* dst, int32_t n) noexcept {
    if (n <= 0) return;
    std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(int16_t));
}

void CopyWords(const int16_t* src, int16_t* dst, int32_t n, bool useSPL, WordCopy& splCopy) {
    if (n <= 0) return;
    if (useSPL)
        splCopy.Copy(src, dst, n);
    else
        CopyWords(src, dst, n);
}

} // namespace DebugTools
