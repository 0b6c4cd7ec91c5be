// One message as the wheel filter hands it to its hook procedure: a message number with its wParam and
// lParam words. Qt-free, so that core code can keep and read the last wheel message of a knob.
#pragma once

#include <cstdint>

namespace ui {

struct HookMessage {
    static constexpr int32_t kKeyDown = 0x0100;
    static constexpr int32_t kMouseMove = 0x0200;
    static constexpr int32_t kMouseWheel = 0x020A;
    // Key flags in the low word of a wheel message's wParam.
    static constexpr int32_t kShiftFlag = 4;
    static constexpr int32_t kCtrlFlag = 8;

    int32_t message = 0;
    // Wheel: distance (a multiple of 120) in the high word, key flags in the low word. Key: the
    // virtual-key code.
    int32_t wParam = 0;
    int32_t lParam = 0;
    int32_t time = 0;
    int32_t x = 0; // pointer position on the screen, pixels
    int32_t y = 0;
};

} // namespace ui
