// The filter curve from the IF filter's taps or from magnitudes.
#include "display/FilterResponse.h"

#include <algorithm>
#include <cmath>

#include "display/AnalyserArithmetic.h"

using display::detail::fail;
using display::detail::need;

namespace display {

void FilterResponse::resize(int32_t points) {
    power_.assign(static_cast<std::size_t>(points) + 1, 0.0f);
    curve_.assign(static_cast<std::size_t>(points) + 1, 0.0f);
    taps_.assign(static_cast<std::size_t>(std::max(points, kFilterTaps)), 0.0f);
}

void FilterResponse::loadTaps(std::span<const float> taps) {
    clsFFTReal& transform = traces_.fft("LoadFilterCoeffs_T_S");
    const int32_t n = transform.Points;
    // The set-up hands over its filter's taps; fewer are padded with zeros, more are not read.
    const auto taken = std::min<std::size_t>(taps.size(), kFilterTaps);
    std::fill(taps_.begin(), taps_.end(), 0.0f);
    nerix_.CopySingles(taps.data(), taps_.data(), static_cast<int32_t>(taken));
    nerix_.ScaleSingles(settings_.LogMode() ? 12.0f : settings_.YScaleMax(), taps_.data(), kFilterTaps);
    transform.FFT_Real_S_2(std::span<const float>(taps_).first(static_cast<std::size_t>(n)), traces_.WorkRe,
                           traces_.WorkIm);
    const int32_t half = n / 2;
    ++traces_.changes;
    nerix_.Dll().PowerSpectrum_S_2(traces_.WorkRe.data(), traces_.WorkIm.data(), power_.data(), half);
    nerix_.Dll().Add_S_1(1.01f, power_.data(), half);
    for (int32_t k = 0; k < half; ++k)
        curve_[static_cast<std::size_t>(k)] =
            static_cast<float>(std::log10(static_cast<double>(power_[static_cast<std::size_t>(k)])));
    const double factor = settings_.LogMode() ? 0.89 * settings_.YScaleMax() : 0.9 * settings_.YScaleMax();
    nerix_.ScaleSingles(static_cast<float>(factor), curve_.data(), half);
}

void FilterResponse::loadMagnitudes(std::span<const float> magnitudes) {
    const int32_t n = traces_.fft("LoadFilterCoeffs_F_S").Points;
    need(magnitudes.size(), n, "LoadFilterCoeffs_F_S");
    ++traces_.changes;
    nerix_.CopySingles(magnitudes.data(), power_.data(), n);
    for (int32_t k = 0; k < n; ++k) {
        const float v = power_[static_cast<std::size_t>(k)];
        if (!(v > 0.0f)) fail(runtime::err::kInvalidCall, "LoadFilterCoeffs_F_S");
        curve_[static_cast<std::size_t>(k)] = static_cast<float>(std::log10(static_cast<double>(v)));
    }
    nerix_.ScaleSingles(20.0f, curve_.data(), n);
}

} // namespace display
