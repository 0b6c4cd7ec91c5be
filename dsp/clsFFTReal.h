// Real FFT: N real samples into their N-bin spectrum and back, through an N/2-point complex FFT.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "dsp/clsFFT.h"

class clsFFTReal {
public:
    explicit clsFFTReal(Nerix::Wrappers& nerix) : nerix_(nerix), inner_(nerix) {}

    bool IsInitialised = false;
    int32_t Points = 0;
    int32_t Order = 0;

    // NumPoints a power of two from 2 to 32768; otherwise the inner object's error.
    void FFTInit(int32_t NumPoints);
    // X[k] = sum x[n] e^(-2 pi j k n / N) for k = 0 .. N - 1; x unchanged.
    void FFT_Real_S_2(std::span<const float> x, std::span<float> reOut, std::span<float> imOut);
    // The inverse DFT of the spectrum with its upper half mirrored from the lower; changes its inputs.
    void IFFT_Real_S_2(std::span<float> reIn, std::span<float> imIn, std::span<float> y);

private:
    void requireReady(const char* source, size_t smallest) const;
    std::span<float> even() { return {scratch_.get(), size_}; }
    std::span<float> odd() { return {scratch_.get() + size_, size_}; }
    std::span<float> inverseScratch() { return {scratch_.get() + 2 * size_, size_}; }

    Nerix::Wrappers& nerix_;
    clsFFT inner_;
    // Even samples, odd samples and the inverse's imaginary scratch, Points + 1 each; every transform
    // writes what it reads of them first, so they are never cleared.
    std::unique_ptr<float[]> scratch_;
    size_t size_ = 0;
};
