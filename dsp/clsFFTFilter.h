// Windowed-sinc FIR filter, band-pass or band-stop, in phase or in quadrature, applied block by block
// by overlap-add fast convolution with transforms of twice the block length.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "dsp/clsFFT.h"
#include "dsp/clsFFTReal.h"

class clsFFTFilter {
public:
    explicit clsFFTFilter(Nerix::Wrappers& nerix) : nerix_(nerix) {}

    std::string Name;
    int32_t Points = 0;
    int32_t Order = 0;
    int32_t SegmentSize = 0;
    int32_t FSampling = 0;
    int32_t FLow = 0;
    double FLRadians = 0.0;
    int32_t FHigh = 0;
    double FHRadians = 0.0;
    int32_t WindowType = 2; // 0 rectangular, 1 Hamming, 2 Blackman
    double HzPerBin = 0.0;
    int32_t BinFLow = 0;
    int32_t BinFHigh = 0;
    int32_t BinFCount = 0;
    bool QPhase = false;
    double PhaseAngle = 0.0; // radians; 0 selects the library design
    bool NormaliseGain = false;
    bool IsInitialised = false;
    bool Active = false;
    bool BandReject = false;

    // Errors are run-time errors raised to the caller; the arrays keep what the completed steps left.
    // SegmentSize must be 2 x NumPoints and NumPoints a power of two (Invalid procedure call otherwise).
    void init(int32_t NumPoints);
    void MakeFilter();
    // SamplesInOut[0, Points) holds the block on entry and the filtered block on return; from Points on
    // it holds the part of the convolution not yet added (the next block's carry). At least 2 x Points.
    void Filter_FFT_S_1(std::span<float> SamplesInOut);
    // Multiplies a spectrum of SegmentSize bins in place by the kernel spectrum.
    void Filter_S_Cart_1(std::span<float> RealInOut, std::span<float> IMagInOut);
    void GetFilterCoeffs_T_S(std::span<float> Coeffs);

    // The kernel spectrum, for tests and the notch code's own spectra.
    std::span<const float> KernelSpectrumReal() const noexcept { return kernelRe_.view(); }
    std::span<const float> KernelSpectrumImag() const noexcept { return kernelIm_.view(); }

private:
    void CalcWindowCoeffs(int32_t windowType);
    void CalcBandPass();
    void CalcBandPass_VarPhase();
    void CalcBandStop_Lib();
    void requireInit(const char* source) const;

    // An array of the length init gives it. Only what the filter reads before it writes is cleared: the
    // taps, the kernel spectrum and the tail (an undesigned filter outputs zeros); the rest is written by
    // every use first, so clearing it would only cost its pages at start-up. The window is shared by
    // every filter of its library, length and type, and the design's scratch by every filter of a thread.
    template <class T> struct Array {
        std::unique_ptr<T[]> data;
        size_t size = 0;
        static Array cleared(size_t n) { return {std::make_unique<T[]>(n), n}; }
        static Array forOverwrite(size_t n) { return {std::make_unique_for_overwrite<T[]>(n), n}; }
        T* get() const noexcept { return data.get(); }
        T& operator[](size_t k) const noexcept { return data[k]; }
        std::span<T> span() const noexcept { return {data.get(), size}; }
        std::span<const T> view() const noexcept { return {data.get(), size}; }
    };

    Nerix::Wrappers& nerix_;
    size_t made_ = 0; // the block length init made the arrays for
    const double* window_ = nullptr;
    Array<float> kernel_, kernelRe_, kernelIm_, blockRe_, blockIm_, tail_;
    std::unique_ptr<clsFFT> fft_;
    std::unique_ptr<clsFFTReal> fftReal_;
};
