// The display's colours: those the configuration dialog sets, the knob labels' two colours, and each
// channel's trace colour, its base colour at the brightness its knob sets.
#pragma once

#include <cstdint>

namespace display {

class ScopeColours {
public:
    // Public fields: writing one has no side effect.
    int32_t Y1Colour = 0x00FF00, Y2Colour = 0x00FFFF;
    int32_t ControlColourNormal = 192, ControlColourFocused = 255;

    // Properties.
    int32_t YTextColour() const { return yTextColour_; }
    void setYTextColour(int32_t v) { yTextColour_ = v; }
    int32_t XTextColour() const { return xTextColour_; }
    void setXTextColour(int32_t v) { xTextColour_ = v; }
    int32_t FilterCurveColour() const { return filterCurveColour_; }
    void setFilterCurveColour(int32_t v) { filterCurveColour_ = v; }
    int32_t NotchFilterColour() const { return notchFilterColour_; }
    void setNotchFilterColour(int32_t v) { notchFilterColour_ = v; }
    int32_t GraticuleColour() const { return graticuleColour_; }
    void setGraticuleColour(int32_t v) { graticuleColour_ = v; }
    int32_t ScopeBackColour() const { return scopeBackColour_; }
    void setScopeBackColour(int32_t v) { scopeBackColour_ = v; }
    int32_t Y2BaseColour() const { return y2BaseColour_; }
    void setY2BaseColour(int32_t v) { y2BaseColour_ = v; }
    int32_t Y1BaseColour() const { return y1BaseColour_; }
    void setY1BaseColour(int32_t v) { y1BaseColour_ = v; }

    // Channel 0 or 1 takes its base colour at level percent into Y1Colour or Y2Colour; any other channel
    // changes nothing.
    void SetChannelBrightness(int16_t Channel, int16_t level);

protected:
    ScopeColours() = default;
    ~ScopeColours() = default;
    ScopeColours(const ScopeColours&) = delete;
    ScopeColours& operator=(const ScopeColours&) = delete;

private:
    int32_t yTextColour_ = 0xFF7F00, xTextColour_ = 0xFFFF00;
    int32_t filterCurveColour_ = 0xC0C0C0, notchFilterColour_ = 0xC0FF60;
    int32_t graticuleColour_ = 0x007F00, scopeBackColour_ = 0;
    int32_t y2BaseColour_ = 0x00FFFF, y1BaseColour_ = 0x00FF00;
};

} // namespace display
