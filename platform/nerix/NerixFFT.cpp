// libnerix.so: the transforms, on single-precision FFTW plans made once per size and kept.
#include <fftw3.h>

#include <cmath>
#include <complex>
#include <map>
#include <numbers>
#include <vector>

#include "platform/nerix/NerixApi.h"

namespace {

// Callers pass raw pointers into arrays of their own, so the real plans are unaligned. FFTW_ESTIMATE:
// measured (bench_dsp BM_PlanFlag), FFTW_MEASURE costs about 0.35 s per size at first use and gains
// nothing per block at these sizes.
constexpr unsigned kPlanFlags = FFTW_ESTIMATE | FFTW_UNALIGNED;

// FFTW's new-array execution of split arrays needs the same real-to-imaginary distance as at planning,
// which callers' separate arrays don't keep; so the transform runs in-place on an interleaved buffer of
// its own and the caller's arrays are copied in and out.
struct ComplexPlan {
    fftwf_plan plan = nullptr;
    fftwf_complex* buffer = nullptr;
    ~ComplexPlan() {
        if (plan) fftwf_destroy_plan(plan);
        if (buffer) fftwf_free(buffer);
    }
};

// Planning overwrites its arrays, so each plan is made once and executed on its own buffer.
ComplexPlan& complexPlan(int32_t n) {
    static std::map<int32_t, ComplexPlan> plans;
    ComplexPlan& p = plans[n];
    if (!p.plan) {
        p.buffer = fftwf_alloc_complex(static_cast<size_t>(n));
        p.plan = fftwf_plan_dft_1d(n, p.buffer, p.buffer, FFTW_FORWARD, kPlanFlags);
    }
    return p;
}

struct RealPlans {
    fftwf_plan forward = nullptr;
    fftwf_plan inverse = nullptr;
    std::vector<std::complex<float>> spectrum;
    ~RealPlans() {
        if (forward) fftwf_destroy_plan(forward);
        if (inverse) fftwf_destroy_plan(inverse);
    }
};

RealPlans& realPlans(int32_t n) {
    static std::map<int32_t, RealPlans> plans;
    RealPlans& p = plans[n];
    if (!p.forward) {
        std::vector<float> x(n);
        p.spectrum.resize(static_cast<size_t>(n) / 2 + 1);
        auto* c = reinterpret_cast<fftwf_complex*>(p.spectrum.data());
        p.forward = fftwf_plan_dft_r2c_1d(n, x.data(), c, kPlanFlags);
        p.inverse = fftwf_plan_dft_c2r_1d(n, c, x.data(), kPlanFlags);
    }
    return p;
}

// e^(-2 pi j k / n) for k < n / 2, and scratch for one half-size spectrum, per size.
struct SplitStep {
    std::vector<std::complex<float>> twiddle;
    std::vector<std::complex<float>> z;
};

SplitStep& splitStep(int32_t n) {
    static std::map<int32_t, SplitStep> steps;
    SplitStep& s = steps[n];
    if (s.twiddle.empty()) {
        s.twiddle.resize(static_cast<size_t>(n) / 2 + 1);
        for (int32_t k = 0; k <= n / 2; ++k) {
            const double a = -2.0 * std::numbers::pi * k / n;
            s.twiddle[k] = {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
        }
        s.z.resize(static_cast<size_t>(n) / 2);
    }
    return s;
}

bool powerOfTwo(int32_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace

extern "C" {

// The tables the program prepares are part of the call but not needed: FFTW keeps its own.
void FFT_S_2(const float* reIn, const float* imIn, float* reOut, float* imOut, int32_t points, int32_t,
             const int32_t*, const float*, const float*) {
    if (points <= 0) return;
    ComplexPlan& p = complexPlan(points);
    float* b = reinterpret_cast<float*>(p.buffer);
    for (int32_t k = 0; k < points; ++k) {
        b[2 * k] = reIn[k];
        b[2 * k + 1] = imIn[k];
    }
    fftwf_execute(p.plan);
    for (int32_t k = 0; k < points; ++k) {
        reOut[k] = b[2 * k];
        imOut[k] = b[2 * k + 1];
    }
}

void DeInterlace_S_2(const float* x, float* even, float* odd, int32_t points) {
    for (int32_t m = 0; m < points / 2; ++m) {
        even[m] = x[2 * m];
        odd[m] = x[2 * m + 1];
    }
}

// Turns the half-size transform Z of the packed pairs into the full spectrum X of the real samples.
void FFT_Real_S_1(float* re, float* im, int32_t points, int32_t) {
    if (!powerOfTwo(points) || points < 2) return;
    const int32_t half = points / 2;
    SplitStep& s = splitStep(points);
    for (int32_t k = 0; k < half; ++k)
        s.z[k] = {re[k], im[k]};
    // X[k] = (Z[k] + conj Z[-k]) / 2 - (j W^k / 2)(Z[k] - conj Z[-k]), written out in real arithmetic in
    // the order the complex operators take, so finite values round alike without the library's
    // special-value path for each product.
    const float* z = reinterpret_cast<const float*>(s.z.data());
    const float* w = reinterpret_cast<const float*>(s.twiddle.data());
    for (int32_t k = 0; k <= half; ++k) {
        const int32_t a = k == half ? 0 : k, b = k == 0 ? 0 : half - k;
        const float zr = z[2 * a], zi = z[2 * a + 1], cr = z[2 * b], ci = -z[2 * b + 1];
        const float sr = zr + cr, si = zi + ci, dr = zr - cr, di = zi - ci;
        const float p = -0.5f * w[2 * k + 1], q = 0.5f * w[2 * k];
        const float tr = p * dr - q * di, ti = p * di + q * dr;
        re[k] = 0.5f * sr - tr;
        im[k] = 0.5f * si - ti;
    }
    for (int32_t k = 1; k < half; ++k) {
        re[points - k] = re[k];
        im[points - k] = -im[k];
    }
}

void MakeNegFreq_S_1_P(float* re, float* im, int32_t order) {
    if (order < 1 || order > 30) return;
    const int32_t n = int32_t{1} << order;
    for (int32_t k = 1; k < n / 2; ++k) {
        re[n - k] = re[k];
        im[n - k] = -im[k];
    }
}

void Convolve_Cart_S_2(const float* kRe, const float* kIm, float* re, float* im, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        const float r = re[k], i = im[k];
        re[k] = r * kRe[k] - i * kIm[k];
        im[k] = r * kIm[k] + i * kRe[k];
    }
}

void FilterOverlapAdd_S_1(float* samples, const float* kRe, const float* kIm, float* tail, int32_t points) {
    if (points < 2 || !powerOfTwo(points)) return;
    const int32_t n = 2 * points;
    RealPlans& p = realPlans(n);
    for (int32_t k = points; k < n; ++k)
        samples[k] = 0.0f;
    auto* c = reinterpret_cast<fftwf_complex*>(p.spectrum.data());
    fftwf_execute_dft_r2c(p.forward, samples, c);
    // The kernel spectrum is that of a real kernel, so bins 0 .. N/2 carry all of it; the 1/N of the
    // inverse is folded into the product.
    const float scale = 1.0f / static_cast<float>(n);
    float* s = reinterpret_cast<float*>(p.spectrum.data());
    for (int32_t k = 0; k <= points; ++k) {
        const float r = s[2 * k], i = s[2 * k + 1];
        const float kr = kRe[k] * scale, ki = kIm[k] * scale;
        s[2 * k] = r * kr - i * ki;
        s[2 * k + 1] = r * ki + i * kr;
    }
    fftwf_execute_dft_c2r(p.inverse, c, samples);
    const int32_t carry = points - 2;
    for (int32_t j = 0; j < carry; ++j)
        samples[j] += tail[j];
    for (int32_t j = 0; j < carry; ++j)
        tail[j] = samples[points + j];
}

} // extern "C"
