// The X-Y plot: channel 1 against channel 2.
#pragma once

#include <cstdint>
#include <span>

#include "display/ScopeTraces.h"
#include "platform/ui/Picture.h"

namespace display {

class XYMode {
public:
    explicit XYMode(const ModeContext& context) : c_(context) {}
    XYMode(const XYMode&) = delete;
    XYMode& operator=(const XYMode&) = delete;

    // Both channels' n samples become their traces, whatever the channels' switches say.
    void compute(std::span<const float> Q, int32_t n);
    // Gain and shift, then channel 2 across and channel 1 up.
    void draw(ui::Picture& pic);

private:
    ModeContext c_;
};

} // namespace display
