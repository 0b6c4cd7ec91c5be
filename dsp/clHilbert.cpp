// Hilbert transformer.
#include "dsp/clHilbert.h"

#include <cmath>

#include "platform/runtime/Convert.h"

namespace {
constexpr double kTwoPi = 6.28318530717958; // as the kernel's reference values were computed
}

int32_t clHilbert::Load(int32_t Taps, int32_t NumSamples) {
    loaded_ = false;
    if (Taps < 1 || NumSamples < 0) return runtime::err::kInvalidCall;
    dCoefs.assign(static_cast<size_t>(Taps) + 1, 0.0);
    sCoefs.assign(static_cast<size_t>(Taps) + 1, 0.0f);
    sHistory.assign(static_cast<size_t>(Taps) + static_cast<size_t>(NumSamples) + 2, 0.0f);
    Nzeros = Taps;
    Delay = runtime::CLng(Taps / 2.0);
    double gain = 0.0;
    CalcCoefficients(Taps, dCoefs, gain);
    if (gain == 0.0) {
        Gain = 0.0;
        sGain = 0.0f;
        return runtime::err::kDivisionByZero;
    }
    Gain = 1.0 / gain;
    sGain = static_cast<float>(Gain);
    nerix_.Dll().DoubleToSingle_D_2(dCoefs.data(), sCoefs.data(), Taps);
    numSamples_ = NumSamples;
    loaded_ = true;
    return 0;
}

// Taps are 1/i times the Hamming window, not 2/(pi i): Load's gain normalisation absorbs the factor.
void clHilbert::CalcCoefficients(int32_t Points, std::span<double> HCoeffs, double& Gain) {
    const int32_t c = runtime::CLng((Points - 1) / 2.0);
    // It writes indexes 1 to 2c - 1 and the centre c, which is all it writes when c is 0.
    if (c < 0 || static_cast<size_t>(c) >= HCoeffs.size() || static_cast<size_t>(2 * c) > HCoeffs.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clHilbert.CalcCoefficients");
    HCoeffs[c] = 0.0;
    for (int32_t i = 1; i <= c - 1; ++i) {
        const double w = 0.54 - 0.46 * std::cos((c + i) * kTwoPi / (Points - 1));
        if (i % 2 == 1) {
            HCoeffs[c + i] = -w / i;
            HCoeffs[c - i] = w / i;
        } else {
            HCoeffs[c + i] = 0.0;
            HCoeffs[c - i] = 0.0;
        }
    }
    double s = 0.0;
    bool toggle = false;
    for (int32_t j = 1; j <= c - 1; j += 2) {
        if (toggle)
            s += HCoeffs[j];
        else
            s -= HCoeffs[j];
        toggle = !toggle;
    }
    if (toggle) s = -s;
    Gain = 2.0 * s;
}

void clHilbert::sTransform(std::span<const float> SamplesIn, std::span<float> SamplesOut,
                           int32_t NumSamples) {
    if (!loaded_) runtime::raise(runtime::err::kObjectNotSet, "clHilbert.sTransform");
    const int32_t n = NumSamples;
    if (n < Nzeros || n > numSamples_ || SamplesIn.size() < static_cast<size_t>(n) ||
        SamplesOut.size() < static_cast<size_t>(n))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clHilbert.sTransform");
    nerix_.CopySingles(SamplesIn.data(), sHistory.data() + Nzeros, n);
    nerix_.Dll().sHilbert(sHistory.data(), sCoefs.data(), SamplesOut.data(), Nzeros, n);
    nerix_.CopySingles(SamplesIn.data() + (n - Nzeros), sHistory.data(), Nzeros);
    nerix_.ScaleSingles(sGain, SamplesOut.data(), n);
}

void clHilbert::sDelaySamples(std::span<const float> SamplesIn, std::span<float> SamplesOut,
                              int32_t NumSamples) {
    if (!loaded_) runtime::raise(runtime::err::kObjectNotSet, "clHilbert.sDelaySamples");
    const int32_t n = NumSamples, d = Delay;
    if (d > n || static_cast<size_t>(d) > sDelayLine.size() || SamplesIn.size() < static_cast<size_t>(n) ||
        SamplesOut.size() < static_cast<size_t>(n))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clHilbert.sDelaySamples");
    nerix_.CopySingles(sDelayLine.data(), SamplesOut.data(), d);
    nerix_.CopySingles(SamplesIn.data(), SamplesOut.data() + d, n - d);
    nerix_.CopySingles(SamplesIn.data() + (n - d), sDelayLine.data(), d);
}
