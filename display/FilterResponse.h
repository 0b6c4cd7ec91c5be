// The IF filter's response as the spectrum draws it: the power of its taps' transform and the same in
// logarithmic display units, or magnitudes handed over directly.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "display/ScopeSettings.h"
#include "display/ScopeTraces.h"
#include "dsp/Nerix.h"

namespace display {

// The taps the filter set-up hands over.
inline constexpr int32_t kFilterTaps = 2048;

class FilterResponse {
public:
    FilterResponse(const ScopeSettings& settings, ScopeTraces& traces, Nerix::Wrappers& nerix)
        : settings_(settings), traces_(traces), nerix_(nerix) {}
    FilterResponse(const FilterResponse&) = delete;
    FilterResponse& operator=(const FilterResponse&) = delete;

    // Made with the analyser's other arrays, for points.
    void resize(int32_t points);
    // The main filter's 2048 taps become the curve, scaled for the current mode's scale.
    void loadTaps(std::span<const float> taps);
    // Points magnitudes become the curve; one of 0 or less stops the conversion there with Invalid
    // procedure call (5).
    void loadMagnitudes(std::span<const float> magnitudes);

    const std::vector<float>& power() const { return power_; }
    const std::vector<float>& curve() const { return curve_; }

private:
    const ScopeSettings& settings_;
    ScopeTraces& traces_;
    Nerix::Wrappers& nerix_;
    std::vector<float> taps_, power_, curve_;
};

} // namespace display
