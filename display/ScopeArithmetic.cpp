// The display panel's, the pointer's and the S-meter's arithmetic, with every whole-number conversion
// checked.
#include "display/ScopeArithmetic.h"

#include <cmath>
#include <utility>

#include "dsp/Nerix.h"
#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"

namespace display {

namespace {

// Int(x): the largest whole number not above x, none when no Long holds it.
std::optional<int32_t> intPart(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    const double whole = std::floor(x);
    if (whole < INT32_MIN || whole > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(whole);
}

int32_t checkedInt(double x, const char* routine) {
    const std::optional<int32_t> v = intPart(x);
    if (!v) runtime::raise(runtime::err::kOverflow, routine);
    return *v;
}

} // namespace

bool rfView(int32_t FOffset, int32_t FSampling) {
    return FOffset > FSampling;
}

SourceView sourceView(int16_t Index, int32_t FSampling, int32_t BaseIf, bool HighSideInjection,
                      int32_t TunedFrequency) {
    SourceView v;
    if (Index == ScopeSource::AFOut) {
        v.FEnd = FSampling / 8;
        v.ReverseSpectrum = true;
        return v;
    }
    v.FEnd = runtime::checkedNarrow<int32_t>(int64_t{BaseIf} * 2);
    v.ReverseSpectrum = HighSideInjection;
    v.FOffset = runtime::CLng(TunedFrequency / 10.0 - (static_cast<double>(v.FEnd) - v.FStart) / 2.0);
    return v;
}

SpectrumGain spectrumGain(int32_t Max, int32_t Value) {
    const double g = std::pow(2.0, Max / 2.0 - Value);
    SpectrumGain s;
    s.Gain = static_cast<float>(g);
    s.ToolTip = "YGain : " + NumberFormat::Format(20.0 * Nerix::Log10(g), "#0 dB");
    return s;
}

int32_t sliderMiddle(int32_t Min, int32_t Max) {
    return runtime::CLng((static_cast<double>(Max) - Min) / 2.0);
}

SliderSteps sweepSliderSteps(int32_t Max) {
    return {runtime::CLng(Max / 10.0), runtime::CLng(Max / 100.0), runtime::CLng(Max / 10.0)};
}

std::string centreToolTip(float HzPerBin, int32_t Value, int32_t FOffset) {
    return "Center Frequency : " + NumberFormat::Format(double{HzPerBin} * Value + FOffset, "#,0 Hz");
}

namespace {

int64_t heldWidth(int32_t Min, int32_t Max, int32_t Value) {
    const int64_t range = int64_t{Max} - Min;
    int64_t w = int64_t{Value} - Min;
    if (w < 10) w = 10;
    if (w > range) w = range;
    return w;
}

} // namespace

SpectrumSpan spectrumSpan(int32_t Min, int32_t Max, int32_t Value, int32_t Centre) {
    const int64_t range = int64_t{Max} - Min;
    const int64_t w = heldWidth(Min, Max, Value);
    int64_t start = Centre - w / 2;
    if (start < 0) start = 0;
    int64_t stop = static_cast<int64_t>(std::floor(static_cast<double>(w) / 2.0 + 0.5)) + Centre;
    if (stop > range) stop = range;
    return {runtime::checkedNarrow<int32_t>(start), runtime::checkedNarrow<int32_t>(stop)};
}

std::string spectrumWidthToolTip(float HzPerBin, int32_t StartBin, int32_t StopBin) {
    const double perDivision = double{HzPerBin} / 12.0 * (static_cast<double>(StopBin) - StartBin);
    return "Spectrum Width : " + NumberFormat::Format(perDivision, "#,##0 Hz/div");
}

int32_t timebaseWidth(int32_t Min, int32_t Max, int32_t Value) {
    return runtime::checkedNarrow<int32_t>(heldWidth(Min, Max, Value));
}

std::string timebaseToolTip(int32_t StartBin, int32_t StopBin) {
    const double perDivision = 1000.0 / 12.0 / 48000.0 * (static_cast<double>(StopBin) - StartBin);
    return "Timebase : " + NumberFormat::Format(perDivision, "00.00 mS/div");
}

std::optional<int32_t> wheelStepHz(double Y, double ScaleHeight) {
    if (ScaleHeight == 0) return std::nullopt;
    const std::optional<int32_t> tenths = intPart(10.0 * Y / std::fabs(ScaleHeight) + 0.5);
    if (!tenths) return std::nullopt;
    const int64_t hz = int64_t{*tenths} * 100;
    if (!std::in_range<int32_t>(hz)) return std::nullopt;
    return static_cast<int32_t>(hz);
}

double wheelStepValue(const std::string& text) {
    return runtime::parseDouble(text).value_or(0.0);
}

std::string flooredWheelStep(const std::string& text) {
    return wheelStepValue(text) < 10 ? std::string("10") : text;
}

double frequencyUnderPointer(double X, float HzPerBin, bool IQMode, int32_t FOffset, bool rf) {
    const double f = IQMode ? X * 2.0 * HzPerBin + 0.5 : double{HzPerBin} * X + 0.5;
    return rf ? f + FOffset : f;
}

std::string_view scopeFreqFormat(bool rf) {
    return rf ? "#0 000 000" : "###0";
}

double freqLabelLeft(double X, double PictureLeft, double ScaleWidth, double LabelWidth) {
    const double left = X + 17;
    const double limit = PictureLeft + ScaleWidth - LabelWidth;
    return left > limit ? limit : left;
}

std::optional<int32_t> clickTuneFrequency(std::string_view tag) {
    const std::optional<double> hertz = runtime::parseDouble(tag);
    if (!hertz) return std::nullopt;
    const std::optional<int32_t> kilohertz = intPart(*hertz / 1000.0 + 0.5);
    if (!kilohertz) return std::nullopt;
    const int64_t tenths = int64_t{*kilohertz} * 10000;
    if (!std::in_range<int32_t>(tenths)) return std::nullopt;
    return static_cast<int32_t>(tenths);
}

TickPlace sMeterTick(int32_t i, int32_t n, double W, double ScaleHeight) {
    if (n == 0) runtime::raise(runtime::err::kDivisionByZero, "frmMain.DrawSMeterScale");
    TickPlace t;
    t.Width = W / n;
    t.Height = std::fabs(ScaleHeight) * 3.0 / 7.0;
    t.Left = checkedInt(i * t.Width + 0.5, "frmMain.DrawSMeterScale");
    t.Top = 10;
    return t;
}

int32_t sMeterSlot(double W, int32_t n) {
    if (n == 0) runtime::raise(runtime::err::kDivisionByZero, "frmMain.DrawSMeterScale");
    return checkedInt(W / n + 0.5, "frmMain.DrawSMeterScale");
}

std::string sMeterLabel(int32_t L) {
    if (L <= 9) return NumberFormat::Format(L, "#");
    // p is 2 to the power L; 54 dB is S9 above the first tick.
    const double decibels = 20.0 * Nerix::Log10(std::ldexp(1.0, L)) - 54.0;
    return NumberFormat::Format(decibels, L == 10 ? "+#" : "#");
}

std::string meterBackoffToolTip(float NoiseFloor) {
    return "Meter Backoff=" + NumberFormat::Format(20.0 * Nerix::Log10(NoiseFloor), "#0.00 dB");
}

std::optional<int32_t> sMeterTicks(double Level) {
    const double decibels = 20.0 * Nerix::Log10(Level);
    if (!std::isfinite(decibels)) return std::nullopt;
    const double rounded = runtime::roundHalfEven(decibels);
    if (rounded < INT32_MIN || rounded > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(rounded) / 6;
}

} // namespace display
