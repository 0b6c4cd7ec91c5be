// The spectrum's traces: the transforms, the averaging, the scale, and the overlays drawn over them.
#include "display/SpectrumMode.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "display/AnalyserArithmetic.h"
#include "dsp/FilterBank.h"
#include "platform/runtime/Convert.h"
#include "radio/clsVFO.h"

using display::detail::at;
using display::detail::clip;
using display::detail::divide;
using display::detail::fail;
using display::detail::forIndex;
using display::detail::pixelLimit;
using display::detail::single;
using runtime::resumeNext;

namespace display {

namespace {

constexpr double kSingleMax = std::numeric_limits<float>::max();

} // namespace

SpectrumMode::SpectrumMode(const ModeContext& context, const FilterResponse& filter,
                           const ReceiverState& state, const AnalyserPorts& ports)
    : c_(context), filter_(filter), state_(state), ports_(ports) {}

void SpectrumMode::resize(int32_t points) {
    iqPower_.assign(static_cast<std::size_t>(points), 0.0f);
    smoothSum_.assign(static_cast<std::size_t>(points / 2), 0.0f);
}

// The power of bins 0 to n/2 - 1 of n samples.
void SpectrumMode::transformPower(std::span<const float> samples, float* power) {
    ScopeTraces& t = c_.traces;
    clsFFTReal& transform = t.fft("Display_S");
    transform.FFT_Real_S_2(samples, t.WorkRe, t.WorkIm);
    c_.nerix.Dll().PowerSpectrum_S_2(t.WorkRe.data(), t.WorkIm.data(), power, transform.Points / 2);
}

void SpectrumMode::compute(std::span<const float> Q, int32_t n) {
    ScopeTraces& t = c_.traces;
    if (!c_.frame.IQMode()) {
        if (c_.settings.Chn1Enabled()) transformPower(t.BufI, t.Trace1.data());
        if (c_.settings.Chn2Enabled()) transformPower(Q, t.Trace2.data());
        return;
    }
    // Q's power below I's; the left half runs down Q's bins in steps of two, the right half up I's,
    // both starting at I's lowest bin.
    const auto entry = [](std::vector<float>& v, int32_t i) -> float& {
        return v[static_cast<std::size_t>(i)];
    };
    transformPower(Q, iqPower_.data());
    transformPower(t.BufI, iqPower_.data() + n / 2);
    int32_t j = n / 2;
    for (int32_t i = 0; i < n / 4; ++i, j -= 2)
        entry(t.Trace1, i) = entry(iqPower_, j);
    j = n / 2;
    for (int32_t i = n / 4; i < n / 2; ++i, j += 2)
        entry(t.Trace1, i) = entry(iqPower_, j);
}

void SpectrumMode::SmoothHistory::reshape(int32_t newCount, int32_t newLength) {
    if (count > 0 && head != 0) {
        const auto first = values.begin();
        std::rotate(first, first + static_cast<std::ptrdiff_t>(head) * length,
                    first + static_cast<std::ptrdiff_t>(count) * length);
    }
    count = newCount;
    length = newLength;
    head = 0;
}

// Frame k of n (frame 0 the newest) of h values; the newest spectrum weighs 1/n, the oldest n/n, and the
// weights add up to SmoothDivider. Frames beyond the n in use keep what they held.
void SpectrumMode::averageTrace(std::vector<float>& trace, SmoothHistory& history, bool enabled) {
    if (c_.frame.Freeze || !enabled) return;
    const int32_t h = c_.traces.fft("DrawSpectrum").Points / 2;
    int32_t n = c_.settings.SpectrumSmooth();
    float divider = c_.settings.SmoothDivider;
    if (n < 1 || h < 1) return; // a count below 1 leaves the trace as it is
    // A history holds as many frames as fit; a longer count averages those, weighted as their own count.
    if (int64_t{n} * h > kSmoothHistoryLength) {
        n = kSmoothHistoryLength / h;
        float sum = 0.0f;
        for (int32_t i = 1; i <= n; ++i)
            sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(i) / n);
        divider = sum;
    }
    if (divider == 0.0f) return;
    if (history.count != n || history.length != h) history.reshape(n, h);
    // The oldest frame's slot takes the newest.
    history.head = (history.head + n - 1) % n;
    c_.nerix.CopySingles(trace.data(), history.frame(0), h);
    float* sum = smoothSum_.data();
    std::fill(sum, sum + h, 0.0f);
    for (int32_t k = 0; k < n; ++k) {
        const float* frame = history.frame(k);
        const double weight = k + 1;
        const double count = n;
        // Each term in double, the sum stored as a Single after each one; a sum beyond the Single range
        // is Overflow once the pass is done (held at the range meanwhile, so no conversion is undefined).
        double peak = 0;
        for (int32_t i = 0; i < h; ++i) {
            const double next = static_cast<double>(sum[i]) + static_cast<double>(frame[i]) * weight / count;
            peak = std::max(peak, std::fabs(next));
            sum[i] = static_cast<float>(std::clamp(next, -kSingleMax, kSingleMax));
        }
        if (peak > kSingleMax) fail(runtime::err::kOverflow, "DrawSpectrum");
    }
    for (int32_t i = 0; i < h; ++i)
        trace[static_cast<std::size_t>(i)] = sum[i] / divider;
}

SpectrumMode::Walk SpectrumMode::walk(const ui::Picture& pic) const {
    const FrameState& f = c_.frame;
    Walk w;
    w.span = int64_t{f.StopBin} - f.StartBin;
    w.limit = pixelLimit(pic);
    w.down = !c_.settings.ReverseSpectrum;
    w.first = w.down ? f.StopBin : f.StartBin;
    w.last = w.down ? f.StartBin : f.StopBin;
    return w;
}

void SpectrumMode::draw(ui::Picture& pic) {
    // The averaging raises to the caller; every later step that fails is skipped.
    ScopeTraces& t = c_.traces;
    const ScopeSettings& s = c_.settings;
    if (!s.FastMode()) {
        averageTrace(t.Trace1, smoothHistory1_, s.Chn1Enabled());
        averageTrace(t.Trace2, smoothHistory2_, s.Chn2Enabled());
    }
    resumeNext([&] { pic.setAutoRedraw(true); });
    resumeNext([&] { pic.setCurrentX(0); });
    resumeNext([&] { pic.setForeColor(s.Y1Colour); });
    const Walk w = walk(pic);
    resumeNext([&] {
        t.xStep =
            single(divide(pic.ScaleWidth(), static_cast<double>(w.span), "DrawSpectrum"), "DrawSpectrum");
    });
    const ScopeModeRec& r = s.ScopeModes(kModeSpectrum);
    drawChannel(pic, t.Trace1, r.Chn1Enabled, r.Chn1Gain, r.Chn1ShiftOffset);
    resumeNext([&] { pic.setForeColor(s.Y2Colour); });
    drawChannel(pic, t.Trace2, r.Chn2Enabled, r.Chn2Gain, r.Chn2ShiftOffset);

    if (s.ShowFilter()) {
        resumeNext([&] { pic.setForeColor(s.FilterCurveColour()); });
        resumeNext([&] { pic.setDrawWidth(1); });
        resumeNext([&] { pic.setDrawStyle(0); });
        resumeNext([&] { pic.setCurrentX(0); });
        if (!c_.frame.IQMode())
            drawFilterCurve(pic);
        else
            drawPassBand(pic);
        resumeNext([&] { pic.setDrawWidth(1); });
        resumeNext([&] { pic.setDrawStyle(0); });
    }
    if (s.ShowNotch()) drawNotch(pic);
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

void SpectrumMode::drawChannel(ui::Picture& pic, std::vector<float>& trace, bool enabled, float gain,
                               float offset) {
    if (!enabled) return;
    const Walk w = walk(pic);
    const ScopeModeRec& r = c_.settings.ScopeModes(kModeSpectrum);
    // A frozen frame is redrawn as it was stored.
    if (!c_.frame.Freeze) {
        const float shift = r.LogMode ? offset - c_.settings.YScaleMax() / 2 : offset;
        if (r.LogMode)
            forIndex(w.first, w.last, w.down, w.limit, [&](int64_t b) {
                resumeNext([&] {
                    float& v = at(trace, b);
                    v = static_cast<float>(Nerix::Log10(v));
                    if (v < 0) v = 0;
                });
            });
        const auto run = clip(c_.frame.StartBin, w.span + 2, trace.size());
        float* from = trace.data() + run.start;
        resumeNext([&] { c_.nerix.Dll().Add_S_1(shift, from, run.count); });
        resumeNext([&] { c_.nerix.ScaleSingles(gain, from, run.count); });
    }
    resumeNext([&] { pic.setCurrentX(0); });
    resumeNext([&] { pic.setCurrentY(at(trace, w.first)); });
    std::vector<ui::ScalePoint>& points = c_.traces.polyline;
    points.clear();
    float x = 0;
    forIndex(w.first, w.last, w.down, w.limit, [&](int64_t b) {
        resumeNext([&] { points.push_back({x, at(trace, b)}); });
        x = x + c_.traces.xStep;
    });
    resumeNext([&] { pic.PolyLineTo(points); });
}

// The curve starts at its first value plus the shift, unscaled, and then sits one step to the right of
// the traces, since x grows before each line.
void SpectrumMode::drawFilterCurve(ui::Picture& pic) {
    const Walk w = walk(pic);
    const ScopeModeRec& r = c_.settings.ScopeModes(kModeSpectrum);
    const std::vector<float>& curve = r.LogMode ? filter_.curve() : filter_.power();
    resumeNext([&] { pic.setCurrentY(at(curve, w.first) + r.Chn1ShiftOffset); });
    std::vector<ui::ScalePoint>& points = c_.traces.polyline;
    points.clear();
    float x = 0;
    forIndex(w.first, w.last, w.down, w.limit, [&](int64_t b) {
        x = x + c_.traces.xStep;
        resumeNext([&] {
            points.push_back({x, r.LogMode ? at(curve, b) : at(curve, b) * r.Chn1Gain + r.Chn1ShiftOffset});
        });
    });
    resumeNext([&] { pic.PolyLineTo(points); });
}

// The IF pass band of an I/Q spectrum as a box: the screen ORed with the inverted pen. The half step
// stays in use for the notch marker.
void SpectrumMode::drawPassBand(ui::Picture& pic) {
    const FrameState& f = c_.frame;
    const int64_t span = int64_t{f.StopBin} - f.StartBin;
    resumeNext([&] {
        c_.traces.xStep =
            single(divide(pic.ScaleWidth(), static_cast<double>(span), "DrawSpectrum") / 2, "DrawSpectrum");
    });
    resumeNext([&] { pic.setDrawMode(ui::rop::kMergeNotPen); });
    resumeNext([&] { pic.setDrawWidth(1); });
    resumeNext([&] {
        if (!ports_.Filters || !ports_.Vfo) fail(runtime::err::kObjectNotSet, "DrawSpectrum");
        const clsFFTFilter& filter = ports_.Filters->IfFilter;
        const double xs = c_.traces.xStep;
        const double width = pic.ScaleWidth();
        const double w = divide(2 * xs * width * (int64_t{filter.FHigh} - filter.FLow),
                                static_cast<double>(f.FSampling), "DrawSpectrum");
        const bool high = ports_.Vfo->HiSideLo();
        double reference = 0;
        if (c_.settings.ReverseSpectrum)
            reference = high ? filter.FLow : filter.FLow + 24000.0;
        else
            reference = high ? static_cast<double>(f.SpectrumWidth) - filter.FHigh : filter.FLow + 24000.0;
        const double xl = (divide(reference, 2.0 * f.HzPerBin(), "DrawSpectrum") - f.StartBin) * 2 * xs;
        const double top = pic.ScaleTop();
        pic.Box(xl, top, xl + w, top + pic.ScaleHeight());
    });
    resumeNext([&] { pic.setDrawWidth(1); });
    resumeNext([&] { pic.setDrawMode(ui::rop::kCopyPen); });
}

// The notch as a vertical bar NOT (screen XOR pen), as wide as the notch on the current step.
void SpectrumMode::drawNotch(ui::Picture& pic) {
    const FrameState& f = c_.frame;
    const double xc = c_.traces.xStep;
    resumeNext([&] { pic.setForeColor(c_.settings.NotchFilterColour()); });
    int16_t lineWidth = 0;
    resumeNext(
        [&] { lineWidth = runtime::CInt(state_.NotchWidth * 1.2 * f.HzPerBin() / pic.ScaleWidth() * xc); });
    if (lineWidth < 1) lineWidth = 1;
    resumeNext([&] { pic.setDrawWidth(lineWidth); });
    resumeNext([&] { pic.setDrawMode(ui::rop::kNotXorPen); });
    resumeNext([&] {
        const double centreBins = divide(state_.NotchCentre, f.HzPerBin(), "DrawSpectrum");
        const int32_t x = runtime::CLng(c_.settings.ReverseSpectrum ? centreBins * xc - xc * f.StartBin
                                                                    : xc * f.StopBin - centreBins * xc);
        const double top = pic.ScaleTop();
        pic.Line(x, top, x, top + pic.ScaleHeight());
    });
    resumeNext([&] { pic.setDrawWidth(1); });
    resumeNext([&] { pic.setDrawMode(ui::rop::kCopyPen); });
}

} // namespace display
