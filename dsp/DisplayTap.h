// The display fed at a source point of the receive path: one sequence that every point runs.
#pragma once

#include <cstdint>
#include <optional>

#include "dsp/ChainPorts.h"
#include "platform/runtime/Convert.h"

namespace Nerix {

// How a point tells the display its I/Q mode. The audio path tells it at each of its points, whether it
// feeds the display there or not; the I/Q path only where it feeds it.
enum class TapAnnounce { Always, WhenFed };

// One source point: its ScopeSource, the I/Q mode it asks of the display, and how it tells it.
struct TapPoint {
    int32_t Source;
    bool IQMode;
    TapAnnounce Announce;
};

// What a point shows: its two channels (Points samples each) and whether the spectrum runs downward.
template <class Sample> struct TapView {
    const Sample* Channel1;
    const Sample* Channel2;
    bool Reverse;
};

namespace detail {
inline void load(SpectrumSink& d, const float* a, const float* b) {
    d.LoadSamples_S(a, b);
}
inline void load(SpectrumSink& d, const int16_t* a, const int16_t* b) {
    d.LoadSamples_INT16(a, b);
}
} // namespace detail

// Feeds the display at one point: it is told the point's I/Q mode; then, when it is active and the point
// is the chosen source, it is loaded with viewOf(r), its offset is set to centreOf(r) less half its span
// (kept when there is no centre), and its direction to the view's. r is the I/Q mode the display took,
// read back after it was told, since a display may show a pair as I/Q or as two channels. The view is
// loaded before the centre is worked out, so a centre that fails still leaves the display loaded.
template <class ViewOf, class CentreOf>
void tapDisplay(SpectrumSink* display, int32_t chosenSource, const TapPoint& point, ViewOf&& viewOf,
                CentreOf&& centreOf) {
    if (display == nullptr) return;
    if (point.Announce == TapAnnounce::Always) display->SetIQMode(point.IQMode);
    if (chosenSource != point.Source || !display->Active()) return;
    if (point.Announce == TapAnnounce::WhenFed) display->SetIQMode(point.IQMode);
    const bool r = display->IQMode();
    const auto view = viewOf(r);
    detail::load(*display, view.Channel1, view.Channel2);
    const std::optional<double> centre = centreOf(r);
    if (centre) display->SetFOffset(runtime::CLng(*centre - (display->FEnd() - display->FStart()) / 2.0));
    display->SetReverseSpectrum(view.Reverse);
}

} // namespace Nerix
