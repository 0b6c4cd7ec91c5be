// Hilbert transformer: a 90-degree branch (windowed Hilbert FIR) and a matching delay branch.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dsp/Nerix.h"

class clHilbert {
public:
    explicit clHilbert(Nerix::Wrappers& nerix) : nerix_(nerix), sDelayLine(kDelayLineLength, 0.0f) {}

    double Gain = 0.0;
    int32_t Delay = 0;
    int32_t Nzeros = 0;
    float sGain = 0.0f;

    // 0 when ready. A Taps whose kernel has no gain at a quarter of the sampling rate (below 4, or
    // 4m + 3) is refused with Division by zero (11) and leaves the object unusable.
    int32_t Load(int32_t Taps, int32_t NumSamples);
    static void CalcCoefficients(int32_t Points, std::span<double> HCoeffs, double& Gain);

    // The branches raise Object variable not set (91) before a successful Load, and Subscript out of
    // range (9) for a block outside the limits they were loaded for.
    void sTransform(std::span<const float> SamplesIn, std::span<float> SamplesOut, int32_t NumSamples);
    void sDelaySamples(std::span<const float> SamplesIn, std::span<float> SamplesOut, int32_t NumSamples);

    std::span<const float> Coefficients() const noexcept { return sCoefs; }

private:
    static constexpr size_t kDelayLineLength = 4097;

    Nerix::Wrappers& nerix_;
    bool loaded_ = false;
    int32_t numSamples_ = 0;
    std::vector<double> dCoefs;
    std::vector<float> sCoefs;
    std::vector<float> sHistory;
    std::vector<float> sDelayLine;
};
