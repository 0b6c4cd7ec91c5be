// The analyser's checked arithmetic: divisions and indexes that raise the runtime's errors instead of
// dividing by zero or reading past an array, and the bounded loops of its drawing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "platform/ui/Picture.h"

namespace display::detail {

inline constexpr const char* kOwner = "clsSpectrumAnalyser";

[[noreturn]] inline void fail(int32_t number, const char* routine) {
    runtime::raise(number, std::string(kOwner) + "." + routine);
}

// a / b, raising as the runtime does: 0 / 0 is Overflow, anything else over 0 Division by zero.
inline double divide(double a, double b, const char* routine) {
    if (b == 0)
        fail(a == 0 || std::isnan(a) ? runtime::err::kOverflow : runtime::err::kDivisionByZero, routine);
    return a / b;
}

// A double stored as a Single: a finite value beyond the Single range is Overflow, as the runtime's
// conversion raises, not an undefined conversion.
inline float single(double v, const char* routine) {
    if (std::isfinite(v) && std::fabs(v) > std::numeric_limits<float>::max())
        fail(runtime::err::kOverflow, routine);
    return static_cast<float>(v);
}

// An element of a trace or curve; an index outside it raises Subscript out of range.
inline std::size_t traceIndex(const std::vector<float>& v, int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(v.size()))
        fail(runtime::err::kSubscriptOutOfRange, "trace index");
    return static_cast<std::size_t>(index);
}
inline float& at(std::vector<float>& v, int64_t index) {
    return v[traceIndex(v, index)];
}
inline float at(const std::vector<float>& v, int64_t index) {
    return v[traceIndex(v, index)];
}

// The frame's span of n samples must be there: Subscript out of range otherwise.
inline void need(std::size_t have, int32_t n, const char* routine) {
    if (n < 0 || have < static_cast<std::size_t>(n)) fail(runtime::err::kSubscriptOutOfRange, routine);
}

// No loop draws more steps than the picture has pixels.
inline int64_t pixelLimit(const ui::Picture& pic) {
    return std::max<int64_t>(int64_t{pic.PixelWidth()} * pic.PixelHeight(), 1);
}

// The part of [start, start + count) that lies inside an array of size values.
struct Run {
    int64_t start = 0;
    int32_t count = 0;
};
inline Run clip(int64_t start, int64_t count, std::size_t size) {
    const int64_t first = std::max<int64_t>(start, 0);
    const int64_t end = std::min<int64_t>(start + std::max<int64_t>(count, 0), static_cast<int64_t>(size));
    return end > first ? Run{first, static_cast<int32_t>(end - first)} : Run{};
}

// The loop For c = from To to Step step over a Single counter. A step that is 0 or not finite, or a loop
// that would take more than limit steps, runs nothing: such a loop would never end, or would draw more
// lines than the picture has pixels.
template <class Body> void forSingle(float from, float to, float step, int64_t limit, Body&& body) {
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step) || step == 0) return;
    const double steps = (static_cast<double>(to) - from) / step;
    if (steps < 0 || steps + 1 > static_cast<double>(limit)) return;
    const auto count = static_cast<int64_t>(steps) + 1;
    float c = from;
    // One pass more than the exact count allows for the Single counter's rounding.
    for (int64_t k = 0; k <= count; ++k) {
        if (step > 0 ? !(c <= to) : !(c >= to)) break;
        body(c);
        c = c + step;
    }
}

// The loop For i = first To last Step 1 (or -1 when down) over whole indexes; it runs nothing when it
// would take more than limit steps.
template <class Body> void forIndex(int64_t first, int64_t last, bool down, int64_t limit, Body&& body) {
    const int64_t count = (down ? first - last : last - first) + 1;
    if (count <= 0 || count > limit) return;
    for (int64_t k = 0; k < count; ++k)
        body(down ? first - k : first + k);
}

} // namespace display::detail
