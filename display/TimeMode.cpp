// The time scope's traces, trigger and drawing.
#include "display/TimeMode.h"

#include <algorithm>

#include "display/AnalyserArithmetic.h"
#include "platform/runtime/Convert.h"

using display::detail::at;
using display::detail::divide;
using display::detail::forIndex;
using display::detail::pixelLimit;
using display::detail::single;
using runtime::resumeNext;

namespace display {

void TimeMode::resize(int32_t points) {
    trigFlags_.assign(static_cast<std::size_t>(points) + 1, 0.0f);
}

void TimeMode::compute(std::span<const float> Q, int32_t n) {
    ScopeTraces& t = c_.traces;
    if (c_.settings.Chn1Enabled()) c_.nerix.CopySingles(t.BufI.data(), t.Trace1.data(), n);
    if (c_.settings.Chn2Enabled()) c_.nerix.CopySingles(Q.data(), t.Trace2.data(), n);
    const int16_t channel = c_.settings.ScopeModes(kModeTime).TriggerChn;
    if (channel == 1 || channel == 2) trigger(channel == 1 ? t.Trace1 : t.Trace2, n);
}

void TimeMode::trigger(const std::vector<float>& trace, int32_t n) {
    FrameState& f = c_.frame;
    f.TrigBin = 0;
    for (int32_t k = 0; k <= n; ++k) {
        const float v = trace[static_cast<std::size_t>(k)];
        at(trigFlags_, k) = v > 400.0f ? 1.0f : v < -400.0f ? -1.0f : 0.0f;
    }
    // The first k whose sample and the next are both at or above -400, among the starts that leave a
    // screen's width; never past the flags.
    const int64_t last = std::min<int64_t>(int64_t{n} - f.ScreenWidth - 1, int64_t{n} - 1);
    int32_t found = 0;
    for (int32_t k = 0; k <= last; ++k) {
        if (at(trigFlags_, k) >= 0.0f && at(trigFlags_, k + 1) >= 0.0f) {
            found = k;
            break;
        }
    }
    f.TrigBin = found;
    f.StartBin = f.TrigBin;
    f.StopBin = runtime::checkedNarrow<int32_t>(int64_t{f.TrigBin} + f.ScreenWidth - 1);
}

void TimeMode::draw(ui::Picture& pic) {
    applyGainAndShift(c_);
    const FrameState& f = c_.frame;
    ScopeTraces& t = c_.traces;
    resumeNext([&] { pic.setAutoRedraw(true); });
    const int64_t limit = pixelLimit(pic);
    // ScreenWidth + 1 samples: the last lands one step beyond the right edge.
    const int64_t first = f.TrigBin;
    const int64_t last = int64_t{f.TrigBin} + f.ScreenWidth;
    resumeNext([&] {
        t.xStep = single(divide(pic.ScaleWidth(), static_cast<double>(f.ScreenWidth) - 1, "DrawSpectrum"),
                         "DrawSpectrum");
    });
    resumeNext([&] { pic.setForeColor(c_.settings.Y1Colour); });
    const ScopeModeRec& r = c_.settings.ScopeModes(kModeTime);
    const auto channel = [&](std::vector<float>& trace, bool enabled, int32_t colour) {
        if (!enabled) return;
        resumeNext([&] { pic.setCurrentX(0); });
        resumeNext([&] { pic.setCurrentY(at(trace, first)); });
        resumeNext([&] { pic.setForeColor(colour); });
        std::vector<ui::ScalePoint>& points = t.polyline;
        points.clear();
        float x = 0;
        forIndex(first, last, false, limit, [&](int64_t i) {
            resumeNext([&] { points.push_back({x, at(trace, i)}); });
            x = x + t.xStep;
        });
        resumeNext([&] { pic.PolyLineTo(points); });
    };
    channel(t.Trace1, r.Chn1Enabled, c_.settings.Y1Colour);
    channel(t.Trace2, r.Chn2Enabled, c_.settings.Y2Colour);
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

} // namespace display
