// Colour scaling and left padding shared by the windows.
#include "frame/PublicFuncs.h"

#include <cmath>

#include "platform/runtime/Convert.h"
#include "platform/runtime/Text.h"

namespace PublicFuncs {

int32_t ScaleColour(int32_t colour, int16_t percent) {
    const double factor = percent / 100.0;
    const auto scale = [factor](int32_t channel) { return runtime::CLng(factor * channel) & 0xFF; };
    // Whole-number division truncates towards zero; that decides the channels of a negative colour.
    const int32_t red = scale(colour & 0xFF);
    const int32_t green = scale((colour / 256) & 0xFF);
    const int32_t blue = scale(colour / 65536);
    return blue * 65536 + green * 256 + red;
}

std::string PadLeft(std::string_view text, double width, std::string_view pad) {
    const std::string_view trimmed = runtime::trimSpaces(text);
    const int16_t count = runtime::CInt(width - static_cast<double>(runtime::charLength(trimmed)));
    if (count < 0 || pad.empty()) runtime::raise(runtime::err::kInvalidCall, "PublicFuncs.PadLeft");
    const std::string padChar = runtime::toUtf8(runtime::toU32(pad).front());
    std::string out;
    out.reserve(static_cast<std::size_t>(count) * padChar.size() + trimmed.size());
    for (int16_t i = 0; i < count; ++i)
        out += padChar;
    out += trimmed;
    return out;
}

std::string PadLeftNumber(double number, double width, std::string_view pad) {
    return PadLeft(runtime::CStr(std::fabs(number)), width, pad);
}

} // namespace PublicFuncs
