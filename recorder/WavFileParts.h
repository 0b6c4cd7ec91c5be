// What the recorder's parts (the object, its recording and playback halves, the log) share: the name
// their errors carry, and counts brought into the 32-bit fields a recording and its properties hold.
#pragma once

#include <algorithm>
#include <cstdint>

namespace recorder {

inline constexpr const char* kWavFileSource = "clsWavFile";

// The nearest 32-bit value: a count past the range shows its end rather than wrapping.
inline int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace recorder
