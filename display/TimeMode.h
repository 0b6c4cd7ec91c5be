// The time scope: the samples of both channels against time, from the first rise of the trigger channel
// above -400, across ScreenWidth samples.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "display/ScopeTraces.h"
#include "platform/ui/Picture.h"

namespace display {

class TimeMode {
public:
    explicit TimeMode(const ModeContext& context) : c_(context) {}
    TimeMode(const TimeMode&) = delete;
    TimeMode& operator=(const TimeMode&) = delete;

    // Made with the analyser's other arrays, for points.
    void resize(int32_t points);
    // The enabled channels' n samples become their traces; with a trigger channel the bins on screen
    // start at the trigger point.
    void compute(std::span<const float> Q, int32_t n);
    // Gain and shift, then ScreenWidth + 1 samples of each enabled channel.
    void draw(ui::Picture& pic);

private:
    void trigger(const std::vector<float>& trace, int32_t n);

    ModeContext c_;
    std::vector<float> trigFlags_;
};

} // namespace display
