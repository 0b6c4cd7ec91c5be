// The analyser's frame: the graticule with its labels, then the traces and overlays of the mode.
#include <algorithm>
#include <cmath>
#include <limits>

#include "display/AnalyserArithmetic.h"
#include "display/clsSpectrumAnalyser.h"
#include "dsp/FilterBank.h"
#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"
#include "radio/clsVFO.h"

using display::detail::at;
using display::detail::clip;
using display::detail::divide;
using display::detail::fail;
using display::detail::forIndex;
using display::detail::forSingle;
using display::detail::single;
using runtime::resumeNext;

namespace {

constexpr int32_t kMarkerColour = 0x00C0C0;
constexpr double kSingleMax = std::numeric_limits<float>::max();
constexpr int32_t kFinalForeColour = 0x00FF00; // the X-Y trace is drawn in what the graticule leaves

// A number as the runtime writes it with Str: a blank in place of the sign of a positive one.
std::string numberText(double value) {
    return (value >= 0 ? " " : "") + runtime::CStr(value);
}

// No loop draws more steps than the picture has pixels.
int64_t pixelLimit(const ui::Picture& pic) {
    return std::max<int64_t>(int64_t{pic.PixelWidth()} * pic.PixelHeight(), 1);
}

} // namespace

void clsSpectrumAnalyser::DrawGraticule(ui::Picture& pic) {
    // Up to the label row a failure ends the graticule and reaches the caller.
    pic.setAutoRedraw(true);
    pic.setBackColor(scopeBackColour_);
    pic.Cls();
    pic.setForeColor(graticuleColour_);
    const float left = single(pic.ScaleLeft(), "DrawGraticule");
    const float top = single(pic.ScaleTop(), "DrawGraticule");
    const float width = single(pic.ScaleWidth(), "DrawGraticule");
    const float height = single(pic.ScaleHeight(), "DrawGraticule");
    const int64_t limit = pixelLimit(pic);

    // Ten divisions up from the bottom edge; lines above the picture are not seen.
    const float bottom = top + height;
    const float rowStep = std::fabs(height) / 10.0f;
    forSingle(bottom, std::fabs(height), rowStep, limit, [&](float y) { pic.Line(left, y, width, y); });

    if (mode_ == display::kModeSpectrum) {
        pic.setForeColor(yTextColour_);
        pic.setDrawMode(ui::rop::kMaskNotPen);
        if (LogMode()) {
            labelHeight_ = single(0.9 * pic.TextHeight(numberText(top)), "DrawGraticule");
            labelWidth_ = single(pic.TextWidth("0"), "DrawGraticule");
            const float gain = Chn1Gain();
            // 20 dB per decade of the logarithm, 0 at the top.
            forSingle(bottom, std::fabs(height), rowStep, limit, [&](float y) {
                pic.setCurrentX(width / 2 + labelWidth_);
                pic.setCurrentY(y - labelHeight_ / 2);
                const float decibels =
                    single(divide((y - top) * 20.0f, gain, "DrawGraticule"), "DrawGraticule");
                pic.Print(NumberFormat::Format(std::floor(decibels + 0.5), "000"), true);
            });
        }
        pic.setDrawMode(ui::rop::kCopyPen);
        pic.setForeColor(graticuleColour_);
    }

    // Twelve divisions across; the divisor 12.01 keeps the last line just inside the right edge.
    const float columnStep = single(width / 12.01, "DrawGraticule");
    forSingle(left, width - left, columnStep, limit, [&](float x) { pic.Line(x, top, x, top + height); });

    pic.setForeColor(kMarkerColour);
    if (iqMode_) {
        // FSampling / 4 in the I/Q spectrum, whose bins each cover 2 x HzPerBin.
        if (mode_ == display::kModeSpectrum) {
            const double binHz = 2.0 * hzPerBin_;
            const double x = divide(width, binHz * (int64_t{StopBin} - StartBin), "DrawGraticule") *
                             (FSampling / 4.0 - binHz * StartBin);
            pic.Line(x, top, x, top + height);
        }
    } else {
        pic.Line(width / 2.0, top, width / 2.0, top + height);
    }

    if (mode_ == display::kModeSpectrum) {
        pic.setForeColor(xTextColour_);
        const char* labelFormat = nullptr;
        if (FOffset == 0) {
            labelFormat = "# ###.0";
            labelHeight_ = single(pic.TextHeight(numberText(3.3)), "DrawGraticule");
            labelWidth_ = single(pic.TextWidth(numberText(3.3)), "DrawGraticule");
        } else {
            labelFormat = "# ###";
            labelHeight_ = single(pic.TextHeight(numberText(FOffset / 10000.0)), "DrawGraticule");
            labelWidth_ =
                single(pic.TextWidth(NumberFormat::Format(FOffset / 10000.0, labelFormat)), "DrawGraticule");
        }

        // From the label row on a failing statement leaves its label out and the graticule goes on.
        const bool logMode = scopeModes_[display::kModeSpectrum].LogMode;
        resumeNext(
            [&] { pic.setCurrentY(logMode ? -height / 2 - labelHeight_ : -height / 32 - labelHeight_ / 2); });
        int32_t bin = StopBin;
        int32_t binStep = 0;
        resumeNext([&] { binStep = runtime::CLng(static_cast<double>(int64_t{StopBin} - StartBin) / 12); });
        const auto labelStep = std::fabs((width - 1) / 12);
        const auto label = [&](float x) {
            resumeNext([&] { pic.setCurrentX(x - labelWidth_ / 2); });
            const int64_t span = int64_t{StopBin} - StartBin;
            resumeNext([&] {
                double hz = 0;
                if (!ReverseSpectrum && !iqMode_) {
                    const int32_t edge = runtime::checkedNarrow<int32_t>(int64_t{FOffset} + SpectrumWidth);
                    hz = edge - std::floor(hzPerBin_ * static_cast<double>(bin) + 0.5);
                } else if (!ReverseSpectrum) {
                    const double perBin = divide(width, static_cast<double>(span), "DrawGraticule");
                    hz = (divide(x, perBin, "DrawGraticule") + StartBin) * hzPerBin_ * 2 + FOffset;
                } else if (!iqMode_) {
                    hz = std::floor(hzPerBin_ * static_cast<double>(bin) + 0.5) + FOffset;
                } else {
                    hz = std::floor(2.0 * hzPerBin_ * bin + 0.5) + FOffset + SpectrumWidth;
                }
                pic.Print(NumberFormat::Format(hz / 1000, labelFormat), false);
            });
            resumeNext([&] {
                int32_t next = 0;
                if (!ReverseSpectrum && iqMode_) {
                    const double perBin = divide(width, static_cast<double>(span), "DrawGraticule");
                    next = runtime::checkedNarrow<int32_t>(
                        int64_t{bin} + runtime::CLng(static_cast<double>(span) / 12 * perBin * 2));
                } else {
                    next = runtime::checkedNarrow<int32_t>(int64_t{bin} - binStep);
                }
                bin = next;
            });
        };
        if (!ReverseSpectrum)
            forSingle(0.0f, width, labelStep, limit, label);
        else
            forSingle(width, 0.0f, -labelStep, limit, label);
    }

    resumeNext([&] { pic.setForeColor(kFinalForeColour); });
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

// Frame k of n (frame 0 the newest) of h values; the newest spectrum weighs 1/n, the oldest n/n, and the
// weights add up to SmoothDivider.
void clsSpectrumAnalyser::averageTrace(std::vector<float>& trace, std::vector<float>& history, bool enabled) {
    if (Freeze || !enabled) return;
    const int32_t h = fft("DrawSpectrum").Points / 2;
    int32_t n = spectrumSmooth_;
    float divider = SmoothDivider;
    if (n < 1 || h < 1) return; // a count below 1 leaves the trace as it is
    // A history holds as many frames as fit; a longer count averages those, weighted as their own count.
    if (int64_t{n} * h > display::kSmoothHistoryLength) {
        n = display::kSmoothHistoryLength / h;
        float sum = 0.0f;
        for (int32_t i = 1; i <= n; ++i)
            sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(i) / n);
        divider = sum;
    }
    if (divider == 0.0f) return;
    for (int32_t k = n - 1; k >= 1; --k)
        nerix_.CopySingles(history.data() + static_cast<std::ptrdiff_t>(k - 1) * h,
                           history.data() + static_cast<std::ptrdiff_t>(k) * h, h);
    nerix_.CopySingles(trace.data(), history.data(), h);
    float* sum = smoothSum_.data();
    std::fill(sum, sum + h, 0.0f);
    for (int32_t k = 0; k < n; ++k) {
        const float* frame = history.data() + static_cast<std::ptrdiff_t>(k) * h;
        const double weight = k + 1;
        const double count = n;
        // Each term in double, the sum stored as a Single after each one; a sum beyond the Single range
        // is Overflow once the pass is done (held at the range meanwhile, so no conversion is undefined).
        bool beyond = false;
        for (int32_t i = 0; i < h; ++i) {
            const double next = static_cast<double>(sum[i]) + static_cast<double>(frame[i]) * weight / count;
            beyond |= std::fabs(next) > kSingleMax;
            sum[i] = static_cast<float>(std::clamp(next, -kSingleMax, kSingleMax));
        }
        if (beyond) fail(runtime::err::kOverflow, "DrawSpectrum");
    }
    for (int32_t i = 0; i < h; ++i)
        trace[static_cast<std::size_t>(i)] = sum[i] / divider;
}

void clsSpectrumAnalyser::DrawSpectrum(ui::Picture& pic) {
    // The width fallback and the averaging raise to the caller; every later step that fails is skipped.
    if (ScreenWidth < 1) ScreenWidth = runtime::checkedNarrow<int32_t>(int64_t{StopBin} - StartBin);
    if (mode_ == display::kModeSpectrum && !FastMode()) {
        averageTrace(trace1_, smoothHistory1_, Chn1Enabled());
        averageTrace(trace2_, smoothHistory2_, Chn2Enabled());
    }

    // Gain and shift of the time scope and the X-Y plot; the spectrum applies its own below.
    if (!AutoGain && (mode_ == display::kModeTime || mode_ == display::kModeXY)) {
        const auto adjust = [&](std::vector<float>& trace, bool enabled, float gain, float offset) {
            if (Freeze || !enabled) return;
            const auto run = clip(TrigBin, ScreenWidth, trace.size());
            float* first = trace.data() + run.start;
            if (gain != 1.0f) resumeNext([&] { nerix_.ScaleSingles(gain, first, run.count); });
            resumeNext([&] { nerix_.Dll().Add_S_1(offset, first, run.count); });
        };
        const ScopeModeRec& r = rec();
        adjust(trace1_, r.Chn1Enabled, r.Chn1Gain, r.Chn1ShiftOffset);
        adjust(trace2_, r.Chn2Enabled, r.Chn2Gain, r.Chn2ShiftOffset);
    }

    switch (mode_) {
    case display::kModeSpectrum:
        drawSpectrumMode(pic);
        break;
    case display::kModeTime:
        drawTimeMode(pic);
        break;
    case display::kModeXY:
        drawXYMode(pic);
        break;
    default:
        break;
    }
}

void clsSpectrumAnalyser::drawSpectrumMode(ui::Picture& pic) {
    resumeNext([&] { pic.setAutoRedraw(true); });
    resumeNext([&] { pic.setCurrentX(0); });
    resumeNext([&] { pic.setForeColor(Y1Colour); });
    const int64_t span = int64_t{StopBin} - StartBin;
    const int64_t limit = pixelLimit(pic);
    // Unless reversed, the walk runs from StopBin down, so the highest bin is at the left edge.
    const bool down = !ReverseSpectrum;
    const int64_t first = down ? StopBin : StartBin;
    const int64_t last = down ? StartBin : StopBin;
    resumeNext([&] {
        xStep_ = single(divide(pic.ScaleWidth(), static_cast<double>(span), "DrawSpectrum"), "DrawSpectrum");
    });
    const ScopeModeRec& r = scopeModes_[display::kModeSpectrum];

    const auto channel = [&](std::vector<float>& trace, bool enabled, float gain, float offset) {
        if (!enabled) return;
        // A frozen frame is redrawn as it was stored.
        if (!Freeze) {
            const float shift = r.LogMode ? offset - YScaleMax() / 2 : offset;
            if (r.LogMode)
                forIndex(first, last, down, limit, [&](int64_t b) {
                    resumeNext([&] {
                        float& v = at(trace, b);
                        v = static_cast<float>(Nerix::Log10(v));
                        if (v < 0) v = 0;
                    });
                });
            const auto run = clip(StartBin, span + 2, trace.size());
            float* from = trace.data() + run.start;
            resumeNext([&] { nerix_.Dll().Add_S_1(shift, from, run.count); });
            resumeNext([&] { nerix_.ScaleSingles(gain, from, run.count); });
        }
        resumeNext([&] { pic.setCurrentX(0); });
        resumeNext([&] { pic.setCurrentY(at(trace, first)); });
        float x = 0;
        forIndex(first, last, down, limit, [&](int64_t b) {
            resumeNext([&] { pic.LineTo(x, at(trace, b)); });
            x = x + xStep_;
        });
    };
    channel(trace1_, r.Chn1Enabled, r.Chn1Gain, r.Chn1ShiftOffset);
    resumeNext([&] { pic.setForeColor(Y2Colour); });
    channel(trace2_, r.Chn2Enabled, r.Chn2Gain, r.Chn2ShiftOffset);

    if (showFilter_) {
        resumeNext([&] { pic.setForeColor(filterCurveColour_); });
        resumeNext([&] { pic.setDrawWidth(1); });
        resumeNext([&] { pic.setDrawStyle(0); });
        resumeNext([&] { pic.setCurrentX(0); });
        if (!iqMode_) {
            // The curve starts at its first value plus the shift, unscaled, and then sits one step to
            // the right of the traces, since x grows before each line.
            std::vector<float>& curve = r.LogMode ? filterCurve_ : filterPower_;
            resumeNext([&] { pic.setCurrentY(at(curve, first) + r.Chn1ShiftOffset); });
            float x = 0;
            forIndex(first, last, down, limit, [&](int64_t b) {
                x = x + xStep_;
                resumeNext([&] {
                    pic.LineTo(x, r.LogMode ? at(curve, b) : at(curve, b) * r.Chn1Gain + r.Chn1ShiftOffset);
                });
            });
        } else {
            drawFilterOverlay(pic, span);
        }
        resumeNext([&] { pic.setDrawWidth(1); });
        resumeNext([&] { pic.setDrawStyle(0); });
    }
    if (showNotch_) drawNotch(pic);
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

// The IF pass band of an I/Q spectrum as a box: the screen ORed with the inverted pen. The half step
// stays in use for the notch marker.
void clsSpectrumAnalyser::drawFilterOverlay(ui::Picture& pic, int64_t span) {
    resumeNext([&] {
        xStep_ =
            single(divide(pic.ScaleWidth(), static_cast<double>(span), "DrawSpectrum") / 2, "DrawSpectrum");
    });
    resumeNext([&] { pic.setDrawMode(ui::rop::kMergeNotPen); });
    resumeNext([&] { pic.setDrawWidth(1); });
    resumeNext([&] {
        if (!ports_.Filters || !ports_.Vfo) fail(runtime::err::kObjectNotSet, "DrawSpectrum");
        const clsFFTFilter& f = ports_.Filters->IfFilter;
        const double xs = xStep_;
        const double width = pic.ScaleWidth();
        const double w = divide(2 * xs * width * (int64_t{f.FHigh} - f.FLow), static_cast<double>(FSampling),
                                "DrawSpectrum");
        const bool high = ports_.Vfo->HiSideLo();
        double reference = 0;
        if (ReverseSpectrum)
            reference = high ? f.FLow : f.FLow + 24000.0;
        else
            reference = high ? static_cast<double>(SpectrumWidth) - f.FHigh : f.FLow + 24000.0;
        const double xl = (divide(reference, 2.0 * hzPerBin_, "DrawSpectrum") - StartBin) * 2 * xs;
        const double top = pic.ScaleTop();
        pic.Box(xl, top, xl + w, top + pic.ScaleHeight());
    });
    resumeNext([&] { pic.setDrawWidth(1); });
    resumeNext([&] { pic.setDrawMode(ui::rop::kCopyPen); });
}

// The notch as a vertical bar NOT (screen XOR pen), as wide as the notch on the current step.
void clsSpectrumAnalyser::drawNotch(ui::Picture& pic) {
    const double xc = xStep_;
    resumeNext([&] { pic.setForeColor(notchFilterColour_); });
    int16_t lineWidth = 0;
    resumeNext(
        [&] { lineWidth = runtime::CInt(state_.NotchWidth * 1.2 * hzPerBin_ / pic.ScaleWidth() * xc); });
    if (lineWidth < 1) lineWidth = 1;
    resumeNext([&] { pic.setDrawWidth(lineWidth); });
    resumeNext([&] { pic.setDrawMode(ui::rop::kNotXorPen); });
    resumeNext([&] {
        const double centreBins = divide(state_.NotchCentre, hzPerBin_, "DrawSpectrum");
        const int32_t x =
            runtime::CLng(ReverseSpectrum ? centreBins * xc - xc * StartBin : xc * StopBin - centreBins * xc);
        const double top = pic.ScaleTop();
        pic.Line(x, top, x, top + pic.ScaleHeight());
    });
    resumeNext([&] { pic.setDrawWidth(1); });
    resumeNext([&] { pic.setDrawMode(ui::rop::kCopyPen); });
}

void clsSpectrumAnalyser::drawTimeMode(ui::Picture& pic) {
    resumeNext([&] { pic.setAutoRedraw(true); });
    const int64_t limit = pixelLimit(pic);
    // ScreenWidth + 1 samples: the last lands one step beyond the right edge.
    const int64_t first = TrigBin;
    const int64_t last = int64_t{TrigBin} + ScreenWidth;
    resumeNext([&] {
        xStep_ = single(divide(pic.ScaleWidth(), static_cast<double>(ScreenWidth) - 1, "DrawSpectrum"),
                        "DrawSpectrum");
    });
    resumeNext([&] { pic.setForeColor(Y1Colour); });
    const ScopeModeRec& r = scopeModes_[display::kModeTime];
    const auto channel = [&](std::vector<float>& trace, bool enabled, int32_t colour) {
        if (!enabled) return;
        resumeNext([&] { pic.setCurrentX(0); });
        resumeNext([&] { pic.setCurrentY(at(trace, first)); });
        resumeNext([&] { pic.setForeColor(colour); });
        float x = 0;
        forIndex(first, last, false, limit, [&](int64_t i) {
            resumeNext([&] { pic.LineTo(x, at(trace, i)); });
            x = x + xStep_;
        });
    };
    channel(trace1_, r.Chn1Enabled, Y1Colour);
    channel(trace2_, r.Chn2Enabled, Y2Colour);
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

// Channel 2 across, channel 1 up, whatever the channels' switches say, in the graticule's last colour.
void clsSpectrumAnalyser::drawXYMode(ui::Picture& pic) {
    resumeNext([&] { pic.setAutoRedraw(true); });
    resumeNext([&] { pic.setCurrentX(at(trace2_, StartBin)); });
    resumeNext([&] { pic.setCurrentY(at(trace1_, StartBin)); });
    forIndex(int64_t{StartBin} + 1, int64_t{StopBin} - 1, false, pixelLimit(pic),
             [&](int64_t i) { resumeNext([&] { pic.LineTo(at(trace2_, i), at(trace1_, i)); }); });
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}
