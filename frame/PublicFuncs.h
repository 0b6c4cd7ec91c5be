// Colour scaling and left padding shared by the windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace PublicFuncs {

// Scales each channel of a 0x00BBGGRR colour by percent, rounding half to even.
int32_t ScaleColour(int32_t colour, int16_t percent);

// The trimmed text, preceded by enough copies of pad's first character to reach width characters.
// A negative pad count or an empty pad raises Invalid procedure call; an unrepresentable count Overflow.
std::string PadLeft(std::string_view text, double width, std::string_view pad);

// As PadLeft, on the decimal text of the number's absolute value.
std::string PadLeftNumber(double number, double width, std::string_view pad);

} // namespace PublicFuncs
