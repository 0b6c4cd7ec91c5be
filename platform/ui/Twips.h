// Twips and 0x00BBGGRR colours at the Qt boundary. Fifteen twips per pixel, fixed, so that layouts do not
// depend on the screen and tests can state positions exactly.
#pragma once

#include <QColor>
#include <cstdint>

#include "platform/runtime/Convert.h"

namespace ui {

inline constexpr int32_t kTwipsPerPixel = 15;

// Rounds to the nearest pixel, halves to even.
inline int pixels(double twips) {
    return runtime::CLng(twips / kTwipsPerPixel);
}
inline int32_t twips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A colour with the top bit set names a system colour by its index: 0x8000000F is the button face.
inline constexpr int32_t kButtonFace = static_cast<int32_t>(0x8000000F);

// The palette's colour for a system colour index: 15 the button face, any other the window's colour.
QColor systemColour(int index);

inline QColor toQColor(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    if (v & 0x80000000u) return systemColour(static_cast<int>(v & 0xFF));
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

inline int32_t fromQColor(const QColor& c) {
    return static_cast<int32_t>((static_cast<uint32_t>(c.blue()) << 16) |
                                (static_cast<uint32_t>(c.green()) << 8) | static_cast<uint32_t>(c.red()));
}

} // namespace ui
