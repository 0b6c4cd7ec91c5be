// Checked numeric conversions and locale-independent number text.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/runtime/RuntimeError.h"

namespace runtime {

// Nearest whole number, a tie going to the even one, whatever the floating-point environment says.
double roundHalfEven(double x) noexcept;

// Round half to even into a fixed-width integer; NaN, infinity and values out of range raise Overflow.
int16_t CInt(double x);
int32_t CLng(double x);
int64_t CLngLng(double x);
uint8_t CByte(double x);

// A wider integer into a narrower one; out of range raises Overflow.
template <class To, class From> To checkedNarrow(From value) {
    static_assert(std::numeric_limits<To>::is_integer && std::numeric_limits<From>::is_integer);
    if (std::in_range<To>(value)) return static_cast<To>(value);
    raise(err::kOverflow, "checkedNarrow");
}

// Whole-number division that raises Division by zero instead of trapping, and Overflow for MIN / -1.
int32_t checkedDivide(int32_t numerator, int32_t denominator);
int64_t checkedDivide(int64_t numerator, int64_t denominator);

// Decimal text of a number with up to 15 significant digits, always with "." as the separator.
std::string CStr(double value);
std::string CStr(int64_t value);
// A 32-bit float in the shortest text that reads back as the same value ("0.1", "2.5"), "." before
// any fraction.
std::string singleText(float value);

// Parses a finite decimal number (blanks around it allowed, "." as the separator); nullopt otherwise.
std::optional<double> parseDouble(std::string_view text);
std::optional<int64_t> parseInt(std::string_view text);
// The number a text begins with, as the runtime's Val reads it: blanks, a sign, digits with a point and
// an exponent; whatever follows is ignored, and a text that begins with none gives 0. A number too large
// for a double raises Overflow.
double leadingNumber(std::string_view text);

// Stored longs and Booleans, read as tolerantly as the settings and band plan files need: a long is any
// number parseDouble takes, rounded half to even, that fits 32 bits; a Boolean is "True" or "False" in
// any letter case (blanks around allowed) or such a number, non-zero being true. Nothing otherwise.
std::optional<int32_t> parseLong(std::string_view text);
std::optional<bool> parseBoolean(std::string_view text);

} // namespace runtime
