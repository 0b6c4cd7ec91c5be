// The X-Y plot's traces and drawing.
#include "display/XYMode.h"

#include "display/AnalyserArithmetic.h"

using display::detail::at;
using display::detail::forIndex;
using display::detail::pixelLimit;
using runtime::resumeNext;

namespace display {

void XYMode::compute(std::span<const float> Q, int32_t n) {
    ScopeTraces& t = c_.traces;
    c_.nerix.CopySingles(t.BufI.data(), t.Trace1.data(), n);
    c_.nerix.CopySingles(Q.data(), t.Trace2.data(), n);
}

// Whatever the channels' switches say, in the colour the graticule leaves.
void XYMode::draw(ui::Picture& pic) {
    applyGainAndShift(c_);
    const FrameState& f = c_.frame;
    ScopeTraces& t = c_.traces;
    resumeNext([&] { pic.setAutoRedraw(true); });
    resumeNext([&] { pic.setCurrentX(at(t.Trace2, f.StartBin)); });
    resumeNext([&] { pic.setCurrentY(at(t.Trace1, f.StartBin)); });
    std::vector<ui::ScalePoint>& points = t.polyline;
    points.clear();
    forIndex(int64_t{f.StartBin} + 1, int64_t{f.StopBin} - 1, false, pixelLimit(pic), [&](int64_t i) {
        resumeNext([&] { points.push_back({at(t.Trace2, i), at(t.Trace1, i)}); });
    });
    resumeNext([&] { pic.PolyLineTo(points); });
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

} // namespace display
