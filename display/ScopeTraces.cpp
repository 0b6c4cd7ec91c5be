// The arrays the display modes share, and the gain and shift of the time scope and the X-Y plot.
#include "display/ScopeTraces.h"

#include "display/AnalyserArithmetic.h"

using display::detail::clip;
using display::detail::fail;
using runtime::resumeNext;

namespace display {

void ScopeTraces::resize(int32_t points) {
    const auto size = static_cast<std::size_t>(points) + 1;
    for (std::vector<float>* v : {&BufI, &BufQ, &WorkRe, &WorkIm, &Trace1, &Trace2})
        v->assign(size, 0.0f);
}

clsFFTReal& ScopeTraces::fft(const char* routine) const {
    if (!RealFFT) fail(runtime::err::kObjectNotSet, routine);
    return *RealFFT;
}

void applyGainAndShift(const ModeContext& c) {
    if (c.settings.AutoGain) return;
    const auto adjust = [&](std::vector<float>& trace, bool enabled, float gain, float offset) {
        if (c.frame.Freeze || !enabled) return;
        const auto run = clip(c.frame.TrigBin, c.frame.ScreenWidth, trace.size());
        float* first = trace.data() + run.start;
        if (gain != 1.0f) resumeNext([&] { c.nerix.ScaleSingles(gain, first, run.count); });
        resumeNext([&] { c.nerix.Dll().Add_S_1(offset, first, run.count); });
    };
    const ScopeModeRec& r = c.settings.ScopeModes(c.settings.mode());
    adjust(c.traces.Trace1, r.Chn1Enabled, r.Chn1Gain, r.Chn1ShiftOffset);
    adjust(c.traces.Trace2, r.Chn2Enabled, r.Chn2Gain, r.Chn2ShiftOffset);
}

} // namespace display
