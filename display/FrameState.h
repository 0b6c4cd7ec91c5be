// What a frame of the display is computed and drawn over: the sample rate and transform length, the
// band and the bins on screen, the offset of the frequency axis, and the switches the block drivers, the
// knobs and the power button set. Every mode reads it; the time scope moves the bins to its trigger.
#pragma once

#include <cstdint>

namespace display {

class FrameState {
public:
    // Public fields: writing one has no side effect.
    int32_t FSampling = 0; // Hz
    int32_t Points = 0;
    int32_t Order = 0;
    float Gain = 1.0f; // the spectrum gain slider's; the traces take their gains from the mode's record
    bool Freeze = false;
    int32_t SpectrumWidth = 0; // Hz
    int32_t ScreenWidth = 0;
    int32_t FStart = 0, FEnd = 0; // Hz
    int32_t StartBin = 0, StopBin = 0;
    int32_t TrigBin = 0;
    int32_t FOffset = 0; // Hz

    // Properties.
    float HzPerBin() const { return hzPerBin_; }
    void setHzPerBin(float v) { hzPerBin_ = v; }
    bool IQMode() const { return iqMode_; }
    void setIQMode(bool v) { iqMode_ = v; }

protected:
    FrameState() = default;
    ~FrameState() = default;
    FrameState(const FrameState&) = delete;
    FrameState& operator=(const FrameState&) = delete;

private:
    float hzPerBin_ = 0;
    bool iqMode_ = false;
};

} // namespace display
