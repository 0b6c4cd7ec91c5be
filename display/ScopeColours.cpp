// The trace colours at a brightness.
#include "display/ScopeColours.h"

#include "platform/runtime/Convert.h"

namespace display {

void ScopeColours::SetChannelBrightness(int16_t Channel, int16_t level) {
    const int32_t base = Channel == 0 ? y1BaseColour_ : Channel == 1 ? y2BaseColour_ : 0;
    // byte x level / 100 rounded, halves to even; only the low 8 bits count.
    const auto scale = [level](int32_t byte) {
        return runtime::CLng(static_cast<double>(int64_t{byte} * level) / 100.0) & 0xFF;
    };
    const int32_t blue = scale(base / 65536);
    const int32_t green = scale((base / 256) & 255);
    const int32_t red = scale(base & 255);
    const int32_t colour = (red + 256 * green + 65536 * blue) & 0xFFFFFF;
    if (Channel == 0)
        Y1Colour = colour;
    else if (Channel == 1)
        Y2Colour = colour;
}

} // namespace display
