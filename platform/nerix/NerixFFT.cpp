// libnerix.so: the transforms, on single-precision FFTW plans made once per size and kept.
#include <fftw3.h>

#include <array>
#include <atomic>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "platform/nerix/NerixApi.h"
#include "platform/nerix/NerixTargets.h"

namespace {

// Every plan is made on aligned buffers of its own, without FFTW_UNALIGNED, so FFTW may choose its
// SIMD codelets; callers' arrays of another alignment are copied in and out, which costs far less than
// the scalar codelets an unaligned plan is held to (bench_dsp BM_PlanFlag: the 4096-point pair about
// 2.5 times faster). FFTW_ESTIMATE: FFTW_MEASURE costs about 0.4 s per plan, which would stall the
// first block; a caller that wants measured plans imports wisdom before planning (ESTIMATE then takes
// the measured choice) or measures on a thread of its own (MeasureRealFFT_S).
constexpr unsigned kPlanFlags = FFTW_ESTIMATE;

// Plans may be measured on another thread while the transforms' thread plans, and the vector library
// beside this one plans on FFTW too: the planner takes a lock from the moment this library loads.
[[maybe_unused]] const bool kPlannerThreadSafe = [] {
    fftwf_make_planner_thread_safe();
    return true;
}();

// The complex transform runs in place on an interleaved buffer; the callers' split arrays are copied
// in and out.
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

// The real pair of one size: forward from time to spectrum (bins 0 .. n/2), inverse back (which
// overwrites spectrum, as c2r may).
struct RealPlans {
    fftwf_plan forward = nullptr;
    fftwf_plan inverse = nullptr;
    float* time = nullptr;
    fftwf_complex* spectrum = nullptr;
    bool warm = false; // run once already
    // The plans these replaced, kept rather than destroyed on the transform's own path.
    std::unique_ptr<RealPlans> replaced;

    RealPlans(int32_t n, unsigned flags) {
        time = fftwf_alloc_real(static_cast<size_t>(n));
        spectrum = fftwf_alloc_complex(static_cast<size_t>(n) / 2 + 1);
        // Every forward transform refills time first, so it may be overwritten, which lets FFTW pick a
        // faster algorithm.
        forward = fftwf_plan_dft_r2c_1d(n, time, spectrum, flags | FFTW_DESTROY_INPUT);
        inverse = fftwf_plan_dft_c2r_1d(n, spectrum, time, flags);
    }
    RealPlans(const RealPlans&) = delete;
    RealPlans& operator=(const RealPlans&) = delete;
    ~RealPlans() {
        if (forward) fftwf_destroy_plan(forward);
        if (inverse) fftwf_destroy_plan(inverse);
        if (time) fftwf_free(time);
        if (spectrum) fftwf_free(spectrum);
    }
};

// One slot per power of two. The transforms' thread owns current; a measuring thread hands its plans
// over through measured, and the transforms' thread takes them at its next transform of that size.
struct RealSlot {
    std::unique_ptr<RealPlans> current;
    std::atomic<RealPlans*> measured{nullptr};
    std::atomic<bool> planned{false};
    ~RealSlot() { delete measured.load(); }
};

constexpr int32_t kLargestOrder = 30;
std::array<RealSlot, kLargestOrder + 1> realSlots;

int32_t orderOf(int32_t n) {
    int32_t order = 0;
    while ((int32_t{1} << order) < n)
        ++order;
    return order;
}

RealPlans& realPlans(int32_t n) {
    RealSlot& slot = realSlots[static_cast<size_t>(orderOf(n))];
    if (slot.measured.load(std::memory_order_acquire)) [[unlikely]] {
        std::unique_ptr<RealPlans> measured(slot.measured.exchange(nullptr, std::memory_order_acquire));
        measured->replaced = std::move(slot.current);
        slot.current = std::move(measured);
        slot.planned.store(true, std::memory_order_release);
    }
    if (!slot.current) [[unlikely]] {
        slot.current = std::make_unique<RealPlans>(n, kPlanFlags);
        slot.planned.store(true, std::memory_order_release);
    }
    return *slot.current;
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

// The product with the kernel spectrum in place on bins 0 .. N/2: the kernel spectrum is that of a real
// kernel, so they carry all of it, and the 1/N of the inverse is folded in. Inlined, so each build of
// its callers vectorises it for its own target.
[[gnu::always_inline]] inline void multiplyByKernel(fftwf_complex* spectrum, const float* kRe,
                                                    const float* kIm, int32_t n) {
    const float scale = 1.0f / static_cast<float>(n);
    float* s = reinterpret_cast<float*>(spectrum);
    for (int32_t k = 0; k <= n / 2; ++k) {
        const float r = s[2 * k], i = s[2 * k + 1];
        const float kr = kRe[k] * scale, ki = kIm[k] * scale;
        s[2 * k] = r * kr - i * ki;
        s[2 * k + 1] = r * ki + i * kr;
    }
}

// A plan runs on another array of the same alignment as the one it was made on, with the same results.
bool sameAlignment(float* a, float* b) {
    return fftwf_alignment_of(a) == fftwf_alignment_of(b);
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

NERIX_HOT void Convolve_Cart_S_2(const float* kRe, const float* kIm, float* re, float* im, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        const float r = re[k], i = im[k];
        re[k] = r * kRe[k] - i * kIm[k];
        im[k] = r * kIm[k] + i * kRe[k];
    }
}

NERIX_HOT void FilterOverlapAdd_S_1(float* samples, const float* kRe, const float* kIm, float* tail,
                                    int32_t points) {
    // The segment is twice the points and must still be an int32_t count.
    if (points < 2 || points > (1 << 29) || !powerOfTwo(points)) return;
    const int32_t n = 2 * points;
    const int32_t carry = points - 2;
    RealPlans& p = realPlans(n);
    if (sameAlignment(samples, p.time)) {
        // The transforms run on the caller's array itself, which the block's result overwrites whole:
        // no copy in or out.
        std::memset(samples + points, 0, sizeof(float) * static_cast<size_t>(points));
        fftwf_execute_dft_r2c(p.forward, samples, p.spectrum);
        multiplyByKernel(p.spectrum, kRe, kIm, n);
        fftwf_execute_dft_c2r(p.inverse, p.spectrum, samples);
        // The tail is no part of the samples, which lets the loop run in vectors.
        float* __restrict out = samples;
        float* __restrict carried = tail;
        for (int32_t j = 0; j < carry; ++j) {
            out[j] += carried[j];
            carried[j] = out[points + j];
        }
        return;
    }
    float* t = p.time;
    std::memcpy(t, samples, sizeof(float) * static_cast<size_t>(points));
    std::memset(t + points, 0, sizeof(float) * static_cast<size_t>(points));
    fftwf_execute(p.forward);
    multiplyByKernel(p.spectrum, kRe, kIm, n);
    fftwf_execute(p.inverse);
    for (int32_t j = 0; j < carry; ++j)
        samples[j] = t[j] + tail[j];
    for (int32_t j = carry; j < n; ++j)
        samples[j] = t[j];
    for (int32_t j = 0; j < carry; ++j)
        tail[j] = t[points + j];
}

// The forward real transform in one call: X[k] = sum x[n] e^(-2 pi j k n / N) for k = 0 .. N - 1, the
// upper half as the conjugates of the lower. x is read, never written.
NERIX_HOT void RealFFT_S_2(const float* x, float* re, float* im, int32_t points) {
    if (points < 2 || !powerOfTwo(points)) return;
    RealPlans& p = realPlans(points);
    std::memcpy(p.time, x, sizeof(float) * static_cast<size_t>(points));
    fftwf_execute(p.forward);
    const int32_t half = points / 2;
    const float* s = reinterpret_cast<const float*>(p.spectrum);
    for (int32_t k = 0; k <= half; ++k) {
        re[k] = s[2 * k];
        im[k] = s[2 * k + 1];
    }
    for (int32_t k = 1; k < half; ++k) {
        re[points - k] = s[2 * k];
        im[points - k] = -s[2 * k + 1];
    }
}

// The inverse real transform in one c2r pass, leaving the inputs as the Hartley route leaves them: the
// upper half of both made that of a real signal from bins 1 .. N/2 - 1, then re[k] += im[k] for all k.
// The route's result counts the imaginary parts of bins 0 and N/2 as real ones, and so does this (c2r
// would drop them otherwise); for the spectrum of a real signal they are 0 and nothing changes.
NERIX_HOT void RealIFFT_S_2(float* re, float* im, float* y, int32_t points) {
    if (points < 2 || !powerOfTwo(points)) return;
    RealPlans& p = realPlans(points);
    const int32_t half = points / 2;
    // 1/N is a power of two, so scaling the bins before the transform is exact.
    const float scale = 1.0f / static_cast<float>(points);
    float* s = reinterpret_cast<float*>(p.spectrum);
    for (int32_t k = 1; k < half; ++k) {
        const float r = re[k], i = im[k];
        s[2 * k] = r * scale;
        s[2 * k + 1] = i * scale;
        re[k] = r + i;
        re[points - k] = r - i;
        im[points - k] = -i;
    }
    for (int32_t k : {int32_t{0}, half}) {
        const float h = re[k] + im[k];
        re[k] = h;
        s[2 * k] = h * scale;
        s[2 * k + 1] = 0.0f;
    }
    if (sameAlignment(y, p.time)) {
        fftwf_execute_dft_c2r(p.inverse, p.spectrum, y);
        return;
    }
    fftwf_execute(p.inverse);
    std::memcpy(y, p.time, sizeof(float) * static_cast<size_t>(points));
}

int32_t ImportFFTWisdom_S(const char* text) {
    return text && fftwf_import_wisdom_from_string(text) ? 1 : 0;
}

int32_t ExportFFTWisdom_S(char* text, int32_t capacity) {
    std::unique_ptr<char, decltype(&std::free)> wisdom(fftwf_export_wisdom_to_string(), &std::free);
    if (!wisdom) return -1;
    const size_t length = std::strlen(wisdom.get());
    if (length > static_cast<size_t>(INT32_MAX - 1)) return -1;
    if (text && capacity > 0 && length < static_cast<size_t>(capacity))
        std::memcpy(text, wisdom.get(), length + 1);
    return static_cast<int32_t>(length);
}

int32_t PlannedRealFFTSizes_S(int32_t* sizes, int32_t capacity) {
    int32_t count = 0;
    for (int32_t order = 1; order <= kLargestOrder; ++order)
        if (realSlots[static_cast<size_t>(order)].planned.load(std::memory_order_acquire)) {
            if (sizes && count < capacity) sizes[count] = int32_t{1} << order;
            ++count;
        }
    return count;
}

int32_t MeasureRealFFT_S(int32_t points) {
    if (points < 2 || !powerOfTwo(points) || points > (int32_t{1} << kLargestOrder)) return 0;
    auto measured = std::make_unique<RealPlans>(points, FFTW_MEASURE);
    if (!measured->forward || !measured->inverse) return 0;
    measured->warm = true; // measuring ran them
    RealSlot& slot = realSlots[static_cast<size_t>(orderOf(points))];
    // Plans measured earlier and not yet taken were never run: they go here, on this thread.
    delete slot.measured.exchange(measured.release(), std::memory_order_acq_rel);
    return 1;
}

void PlanRealFFT_S(int32_t points) {
    if (points < 2 || !powerOfTwo(points)) return;
    RealPlans& p = realPlans(points);
    if (p.warm) return;
    // Each plan runs once on its own buffers, which every call refills, so the code it runs is loaded
    // now too and not by the first block.
    std::memset(p.time, 0, sizeof(float) * static_cast<size_t>(points));
    fftwf_execute(p.forward);
    fftwf_execute(p.inverse);
    p.warm = true;
}

} // extern "C"
