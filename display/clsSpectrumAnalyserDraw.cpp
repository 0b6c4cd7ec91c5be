// The analyser's frame: the graticule, then the traces and overlays of the mode, into the hidden picture,
// which is then shown.
#include <cmath>

#include "display/AnalyserArithmetic.h"
#include "display/clsSpectrumAnalyser.h"
#include "platform/runtime/Convert.h"

using display::detail::divide;
using display::detail::forSingle;
using display::detail::pixelLimit;
using display::detail::single;
using runtime::resumeNext;

namespace {

constexpr int32_t kMarkerColour = 0x00C0C0;
constexpr int32_t kFinalForeColour = 0x00FF00; // the X-Y trace is drawn in what the graticule leaves

} // namespace

void clsSpectrumAnalyser::DrawAndFlip() {
    ui::Picture& p0 = picture(picture0_, "DrawAndFlip");
    ui::Picture& p1 = picture(picture1_, "DrawAndFlip");
    // Until the page is drawn whole it shows no known frame.
    if (drawPage_ == 0 || drawPage_ == 1) pageShowsKey_[static_cast<std::size_t>(drawPage_)] = false;
    if (drawPage_ == 0) {
        DrawGraticule(p0);
        DrawSpectrum(p0);
        p0.setVisible(true);
        p1.setVisible(false);
    } else if (drawPage_ == 1) {
        DrawGraticule(p1);
        DrawSpectrum(p1);
        p0.setVisible(false);
        p1.setVisible(true);
    }
    // Taken after the drawing, which may settle a value it reads (the time scope's width).
    if (drawPage_ == 0 || drawPage_ == 1) {
        const auto page = static_cast<std::size_t>(drawPage_);
        pageKey_[page] = frameKey();
        pageShowsKey_[page] = true;
    }
    drawPage_ = static_cast<int16_t>((drawPage_ - 1) & 1);
}

void clsSpectrumAnalyser::DrawGraticule(ui::Picture& pic) {
    // Up to the label row a failure ends the graticule and reaches the caller.
    pic.setAutoRedraw(true);
    pic.setBackColor(ScopeBackColour());
    // The graticule changes far less often than the traces over it: while nothing it reads has changed,
    // the picture's copy of it is put back with what drawing it left behind.
    KeptGraticule& kept = graticules_[&pic == picture1_ ? 1 : 0];
    const uint64_t key = graticuleKey(pic);
    if (kept.kept && kept.key == key && pic.RestoreImage(key)) {
        pic.setCurrentX(kept.currentX);
        pic.setCurrentY(kept.currentY);
        spectrum_.restoreLabelSize(kept.labelHeight, kept.labelWidth);
        if (mode() == display::kModeSpectrum) pic.setDrawMode(ui::rop::kCopyPen);
        finishGraticule(pic);
        return;
    }
    kept.kept = false;
    pic.Cls();
    pic.setForeColor(GraticuleColour());
    const display::GraticuleScale g{single(pic.ScaleLeft(), "DrawGraticule"),
                                    single(pic.ScaleTop(), "DrawGraticule"),
                                    single(pic.ScaleWidth(), "DrawGraticule"),
                                    single(pic.ScaleHeight(), "DrawGraticule"), pixelLimit(pic)};
    const bool spectrum = mode() == display::kModeSpectrum;

    // Ten divisions up from the bottom edge; lines above the picture are not seen.
    forSingle(g.bottom(), std::fabs(g.height), g.rowStep(), g.limit,
              [&](float y) { pic.Line(g.left, y, g.width, y); });
    if (spectrum) spectrum_.drawDecibelLabels(pic, g);

    // Twelve divisions across; the divisor 12.01 keeps the last line just inside the right edge.
    const float columnStep = single(g.width / 12.01, "DrawGraticule");
    forSingle(g.left, g.width - g.left, columnStep, g.limit,
              [&](float x) { pic.Line(x, g.top, x, g.top + g.height); });

    pic.setForeColor(kMarkerColour);
    if (!IQMode()) {
        pic.Line(g.width / 2.0, g.top, g.width / 2.0, g.top + g.height);
    } else if (spectrum) {
        // FSampling / 4 in the I/Q spectrum, whose bins each cover 2 x HzPerBin.
        const double binHz = 2.0 * HzPerBin();
        const double x = divide(g.width, binHz * (int64_t{StopBin} - StartBin), "DrawGraticule") *
                         (FSampling / 4.0 - binHz * StartBin);
        pic.Line(x, g.top, x, g.top + g.height);
    }

    if (spectrum) spectrum_.drawFrequencyLabels(pic, g);
    resumeNext([&] {
        pic.KeepImage(key);
        kept = {true, key, pic.CurrentX(), pic.CurrentY(), spectrum_.LabelHeight(), spectrum_.LabelWidth()};
    });
    finishGraticule(pic);
}

void clsSpectrumAnalyser::finishGraticule(ui::Picture& pic) {
    resumeNext([&] { pic.setForeColor(kFinalForeColour); });
    resumeNext([&] { pic.setAutoRedraw(false); });
    resumeNext([&] { pic.ZOrder(); });
}

void clsSpectrumAnalyser::DrawSpectrum(ui::Picture& pic) {
    // The width fallback raises to the caller, as does the spectrum's averaging.
    if (ScreenWidth < 1) ScreenWidth = runtime::checkedNarrow<int32_t>(int64_t{StopBin} - StartBin);
    switch (mode()) {
    case display::kModeSpectrum:
        spectrum_.draw(pic);
        break;
    case display::kModeTime:
        time_.draw(pic);
        break;
    case display::kModeXY:
        xy_.draw(pic);
        break;
    default:
        break;
    }
}
