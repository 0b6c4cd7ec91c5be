// The spectrum's labels on the graticule: decibels up the middle, kilohertz along the middle row.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "display/AnalyserArithmetic.h"
#include "display/SpectrumMode.h"
#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"

using display::detail::divide;
using display::detail::forSingle;
using display::detail::single;
using runtime::resumeNext;

namespace display {

namespace {

// A number as the runtime writes it with Str: a blank in place of the sign of a positive one.
std::string numberText(double value) {
    return (value >= 0 ? " " : "") + runtime::CStr(value);
}

} // namespace

void SpectrumMode::drawDecibelLabels(ui::Picture& pic, const GraticuleScale& g) {
    const ScopeSettings& s = c_.settings;
    pic.setForeColor(s.YTextColour());
    pic.setDrawMode(ui::rop::kMaskNotPen);
    if (s.LogMode()) {
        labelHeight_ = single(0.9 * pic.TextHeight(numberText(g.top)), "DrawGraticule");
        labelWidth_ = single(pic.TextWidth("0"), "DrawGraticule");
        const float gain = s.Chn1Gain();
        // 20 dB per decade of the logarithm, 0 at the top.
        forSingle(g.bottom(), std::fabs(g.height), g.rowStep(), g.limit, [&](float y) {
            pic.setCurrentX(g.width / 2 + labelWidth_);
            pic.setCurrentY(y - labelHeight_ / 2);
            const float decibels =
                single(divide((y - g.top) * 20.0f, gain, "DrawGraticule"), "DrawGraticule");
            pic.Print(NumberFormat::Format(std::floor(decibels + 0.5), "000"), true);
        });
    }
    pic.setDrawMode(ui::rop::kCopyPen);
    pic.setForeColor(s.GraticuleColour());
}

// The label's size and format: tenths of a kilohertz for the audio or IF band, whole ones with an offset.
const char* SpectrumMode::setLabelSize(ui::Picture& pic) {
    const int32_t offset = c_.frame.FOffset;
    if (offset == 0) {
        labelHeight_ = single(pic.TextHeight(numberText(3.3)), "DrawGraticule");
        labelWidth_ = single(pic.TextWidth(numberText(3.3)), "DrawGraticule");
        return "# ###.0";
    }
    labelHeight_ = single(pic.TextHeight(numberText(offset / 10000.0)), "DrawGraticule");
    labelWidth_ = single(pic.TextWidth(NumberFormat::Format(offset / 10000.0, "# ###")), "DrawGraticule");
    return "# ###";
}

// The label at x, whose bin is bin in the real spectrum; the I/Q spectrum's bins each cover 2 x HzPerBin.
double SpectrumMode::labelHz(float x, int32_t bin, float width) const {
    const FrameState& f = c_.frame;
    const bool reverse = c_.settings.ReverseSpectrum;
    const double hzPerBin = f.HzPerBin();
    if (!reverse && !f.IQMode()) {
        const int32_t edge = runtime::checkedNarrow<int32_t>(int64_t{f.FOffset} + f.SpectrumWidth);
        return edge - std::floor(hzPerBin * static_cast<double>(bin) + 0.5);
    }
    if (!reverse) {
        const int64_t span = int64_t{f.StopBin} - f.StartBin;
        const double perBin = divide(width, static_cast<double>(span), "DrawGraticule");
        return (divide(x, perBin, "DrawGraticule") + f.StartBin) * hzPerBin * 2 + f.FOffset;
    }
    if (!f.IQMode()) return std::floor(hzPerBin * static_cast<double>(bin) + 0.5) + f.FOffset;
    return std::floor(2.0 * hzPerBin * bin + 0.5) + f.FOffset + f.SpectrumWidth;
}

int32_t SpectrumMode::nextLabelBin(int32_t bin, int32_t binStep, float width) const {
    const FrameState& f = c_.frame;
    if (c_.settings.ReverseSpectrum || !f.IQMode())
        return runtime::checkedNarrow<int32_t>(int64_t{bin} - binStep);
    const int64_t span = int64_t{f.StopBin} - f.StartBin;
    const double perBin = divide(width, static_cast<double>(span), "DrawGraticule");
    return runtime::checkedNarrow<int32_t>(int64_t{bin} +
                                           runtime::CLng(static_cast<double>(span) / 12 * perBin * 2));
}

void SpectrumMode::drawFrequencyLabels(ui::Picture& pic, const GraticuleScale& g) {
    const FrameState& f = c_.frame;
    pic.setForeColor(c_.settings.XTextColour());
    const char* labelFormat = setLabelSize(pic);

    // From the label row on a failing statement leaves its label out and the graticule goes on.
    const bool logMode = c_.settings.ScopeModes(kModeSpectrum).LogMode;
    const float height = g.height;
    resumeNext(
        [&] { pic.setCurrentY(logMode ? -height / 2 - labelHeight_ : -height / 32 - labelHeight_ / 2); });
    int32_t bin = f.StopBin;
    int32_t binStep = 0;
    resumeNext([&] { binStep = runtime::CLng(static_cast<double>(int64_t{f.StopBin} - f.StartBin) / 12); });
    const auto labelStep = std::fabs((g.width - 1) / 12);
    const auto label = [&](float x) {
        std::optional<std::string> text;
        resumeNext([&] { text = NumberFormat::Format(labelHz(x, bin, g.width) / 1000, labelFormat); });
        // Centred on its place, but never past the picture's edges, where its digits would be cut off; a
        // label may be wider than the one its room was measured with.
        resumeNext([&] {
            const float width =
                text ? std::max(labelWidth_, single(pic.TextWidth(*text), "DrawGraticule")) : labelWidth_;
            pic.setCurrentX(std::max(0.0f, std::min(x - labelWidth_ / 2, g.width - width)));
        });
        if (text) resumeNext([&] { pic.Print(*text, false); });
        resumeNext([&] { bin = nextLabelBin(bin, binStep, g.width); });
    };
    if (!c_.settings.ReverseSpectrum)
        forSingle(0.0f, g.width, labelStep, g.limit, label);
    else
        forSingle(g.width, 0.0f, -labelStep, g.limit, label);
}

} // namespace display
