// FFT fast-convolution filter.
#include "dsp/clsFFTFilter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numbers>
#include <tuple>
#include <vector>

#include "platform/runtime/Convert.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A window depends on the library that computes it, its length and its type alone.
const double* sharedWindow(nerixdll::NerixDll& dll, int32_t points, int32_t type) {
    static std::mutex mutex;
    static std::map<std::tuple<std::string, int32_t, int32_t>, std::unique_ptr<const std::vector<double>>>
        windows;
    std::lock_guard lock(mutex);
    auto& window = windows[{dll.Library.name(), points, type}];
    if (!window) {
        auto made = std::make_unique<std::vector<double>>(static_cast<size_t>(points));
        dll.CalcWindowCoeffs_D(points, made->data(), type);
        window = std::move(made);
    }
    return window->data();
}

// What a design uses only while it runs: the taps in double precision, and the transform's imaginary
// input, zeros that are never written.
struct DesignScratch {
    std::vector<double> kernel;
    std::vector<float> zeros;
    static DesignScratch& fitted(size_t points) {
        thread_local DesignScratch scratch;
        if (scratch.kernel.size() < points) scratch.kernel.resize(points);
        if (scratch.zeros.size() < 2 * points) scratch.zeros.resize(2 * points);
        return scratch;
    }
};

} // namespace

void clsFFTFilter::requireInit(const char* source) const {
    if (!fft_ || !fftReal_) runtime::raise(runtime::err::kObjectNotSet, source);
    // The arrays hold the block length init was given; a longer one set since would run past them.
    if (Points < 2 || static_cast<size_t>(Points) > made_)
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

void clsFFTFilter::init(int32_t NumPoints) {
    // A segment that is not twice the block would make the convolution read past the spectra.
    if (NumPoints < 2 || (NumPoints & (NumPoints - 1)) != 0 || int64_t{SegmentSize} != 2 * int64_t{NumPoints})
        runtime::raise(runtime::err::kInvalidCall, "clsFFTFilter.init");
    Points = NumPoints;
    Order = static_cast<int32_t>(std::floor(std::log(static_cast<double>(Points)) / 0.693147180559945 + 0.5));
    HzPerBin = static_cast<double>(FSampling) / SegmentSize;

    // The taps' second half is cleared by each design; the block spectrum is the step-by-step path's
    // scratch.
    const auto points = static_cast<size_t>(Points), segment = 2 * points;
    made_ = 0;
    kernel_ = Array<float>::forOverwrite(segment);
    std::fill_n(kernel_.get(), points, 0.0f);
    kernelRe_ = Array<float>::cleared(segment + 1);
    kernelIm_ = Array<float>::cleared(segment + 1);
    blockRe_ = Array<float>::forOverwrite(segment + 1);
    blockIm_ = Array<float>::forOverwrite(segment + 1);
    tail_ = Array<float>::cleared(points);

    fft_.reset();
    fftReal_.reset();
    auto fft = std::make_unique<clsFFT>(nerix_);
    fft->FFTInit(2 * Points);
    auto fftReal = std::make_unique<clsFFTReal>(nerix_);
    fftReal->FFTInit(2 * Points);
    CalcWindowCoeffs(WindowType);
    fft_ = std::move(fft);
    fftReal_ = std::move(fftReal);
    made_ = points;
}

void clsFFTFilter::CalcWindowCoeffs(int32_t windowType) {
    window_ = sharedWindow(nerix_.Dll(), Points, windowType);
}

void clsFFTFilter::MakeFilter() {
    if (FHigh > FSampling / 2) FHigh = runtime::CLng(FSampling / 2.0);
    if (FLow < 0.1) FLow = 0;
    if (HzPerBin == 0.0) runtime::raise(runtime::err::kDivisionByZero, "clsFFTFilter.MakeFilter");
    BinFLow = runtime::CLng(std::floor(FLow / HzPerBin));
    BinFHigh = runtime::CLng(std::floor(FHigh / HzPerBin + 0.5));
    BinFCount = BinFHigh - BinFLow;
    if (FSampling == 0) runtime::raise(runtime::err::kDivisionByZero, "clsFFTFilter.MakeFilter");
    FHRadians = FHigh * kTwoPi / FSampling;
    FLRadians = FLow * kTwoPi / FSampling;
    requireInit("clsFFTFilter.MakeFilter");

    if (BandReject)
        CalcBandStop_Lib();
    else
        CalcBandPass();

    const int32_t n = 2 * Points;
    nerix_.ZeroSingles(kernel_.get() + Points, n - Points);
    const std::vector<float>& zeros = DesignScratch::fitted(static_cast<size_t>(Points)).zeros;
    fft_->FFT_S_2(kernel_.view(), zeros, kernelRe_.span(), kernelIm_.span());
}

void clsFFTFilter::CalcBandPass() {
    if (PhaseAngle != 0.0) {
        CalcBandPass_VarPhase();
        return;
    }
    nerixdll::NerixDll& dll = nerix_.Dll();
    double* kernel = DesignScratch::fitted(static_cast<size_t>(Points)).kernel.data();
    dll.CalcBPFilterCoeffs(Points, kernel, FHRadians, FLRadians, QPhase ? 1 : 0);
    dll.Mpy_D_2(window_, kernel, Points);
    if (NormaliseGain) {
        const double g = 1.0 + dll.Sum_D_1(kernel, Points) / Points;
        dll.Mpy_D_1(g, kernel, Points);
    }
    dll.DoubleToSingle_D_2(kernel, kernel_.get(), Points);
}

void clsFFTFilter::CalcBandPass_VarPhase() {
    const double wL = FLRadians, wH = FHRadians, phi = PhaseAngle;
    const double pi = std::numbers::pi;
    const int32_t m = Points - 1;
    const int32_t h = m / 2;
    double* kernel = DesignScratch::fitted(static_cast<size_t>(Points)).kernel.data();
    for (int32_t i = -h; i <= h; ++i) {
        double tap;
        if (!QPhase)
            tap = i == 0 ? (wH - wL) / pi : (std::sin(wH * i) - std::sin(wL * i)) / (pi * i);
        else
            tap = i == 0
                      ? 0.0
                      : (std::sin(phi + pi / 2 - (phi + wH) * i) - std::sin(phi + pi / 2 - (phi + wL) * i)) /
                            ((phi + pi) * i);
        kernel[i + h] = tap;
    }
    kernel[m] = 0.0;
    for (int32_t k = 0; k <= m; ++k)
        kernel[k] *= window_[k];
    if (NormaliseGain) {
        double s = 0.0;
        for (int32_t k = 0; k <= m; ++k)
            s += kernel[k];
        const double g = 1.0 + s / m;
        for (int32_t k = 0; k <= m; ++k)
            kernel[k] *= g;
    }
    for (int32_t k = 0; k <= m; ++k)
        kernel_[k] = static_cast<float>(kernel[k]);
}

void clsFFTFilter::CalcBandStop_Lib() {
    double* kernel = DesignScratch::fitted(static_cast<size_t>(Points)).kernel.data();
    nerix_.Dll().CalcBSFilterCoeffs(Points, kernel, kernel_.get(), window_, FHRadians, FLRadians,
                                    QPhase ? 1 : 0);
}

void clsFFTFilter::Filter_FFT_S_1(std::span<float> SamplesInOut) {
    requireInit("clsFFTFilter.Filter_FFT_S_1");
    const int32_t n = 2 * Points;
    if (SamplesInOut.size() < static_cast<size_t>(n))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clsFFTFilter.Filter_FFT_S_1");
    if (!nerix_.UseSPL()) {
        // One pass in the library, leaving the same arrays as the steps below.
        nerix_.Dll().FilterOverlapAdd_S_1(SamplesInOut.data(), kernelRe_.get(), kernelIm_.get(), tail_.get(),
                                          Points);
        return;
    }
    nerix_.ZeroSingles(SamplesInOut.data() + Points, n - Points);
    fftReal_->FFT_Real_S_2(SamplesInOut.first(n), blockRe_.span(), blockIm_.span());
    Filter_S_Cart_1(blockRe_.span(), blockIm_.span());
    fftReal_->IFFT_Real_S_2(blockRe_.span(), blockIm_.span(), SamplesInOut.first(n));
    nerix_.AddInPlace(tail_.get(), SamplesInOut.data(), Points - 2);
    nerix_.CopySingles(SamplesInOut.data() + Points, tail_.get(), Points - 2);
}

void clsFFTFilter::Filter_S_Cart_1(std::span<float> RealInOut, std::span<float> IMagInOut) {
    requireInit("clsFFTFilter.Filter_S_Cart_1");
    const auto n = static_cast<size_t>(SegmentSize);
    if (RealInOut.size() < n || IMagInOut.size() < n || kernelRe_.size < n)
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clsFFTFilter.Filter_S_Cart_1");
    nerix_.Dll().Convolve_Cart_S_2(kernelRe_.get(), kernelIm_.get(), RealInOut.data(), IMagInOut.data(),
                                   SegmentSize);
}

void clsFFTFilter::GetFilterCoeffs_T_S(std::span<float> Coeffs) {
    requireInit("clsFFTFilter.GetFilterCoeffs_T_S");
    if (Coeffs.size() < static_cast<size_t>(Points))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clsFFTFilter.GetFilterCoeffs_T_S");
    nerix_.CopySingles(kernel_.get(), Coeffs.data(), Points);
}
