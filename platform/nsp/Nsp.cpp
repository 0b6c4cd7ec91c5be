// libnsp.so: copies, fills, products, maxima, polar conversion and the complex FFT on FFTW.
#include <fftw3.h>

#include <cmath>
#include <cstring>
#include <map>

#include "platform/nsp/NspApi.h"

namespace {

// One in-place plan per size on an interleaved buffer of its own: FFTW's split execution would need
// the callers' arrays to keep the planning distance between real and imaginary parts.
struct Plan {
    fftwf_plan plan = nullptr;
    fftwf_complex* buffer = nullptr;
    ~Plan() {
        if (plan) fftwf_destroy_plan(plan);
        if (buffer) fftwf_free(buffer);
    }
};

Plan& plan(int32_t n) {
    static std::map<int32_t, Plan> all;
    Plan& p = all[n];
    if (!p.plan) {
        p.buffer = fftwf_alloc_complex(static_cast<size_t>(n));
        p.plan =
            fftwf_plan_dft_1d(n, p.buffer, p.buffer, FFTW_FORWARD, FFTW_ESTIMATE); // as libnerix: measured
    }
    return p;
}

} // namespace

extern "C" {

void nspsbCopy(const float* src, float* dst, int32_t n) {
    if (n > 0) std::memmove(dst, src, static_cast<size_t>(n) * sizeof(float));
}
void nspwbCopy(const int16_t* src, int16_t* dst, int32_t n) {
    if (n > 0) std::memmove(dst, src, static_cast<size_t>(n) * sizeof(int16_t));
}
void nspwbZero(int16_t* v, int32_t n) {
    if (n > 0) std::memset(v, 0, static_cast<size_t>(n) * sizeof(int16_t));
}
void nspsbZero(float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] = 0.0f;
}
void nspsbrCartToPolar(const float* re, const float* im, float* mag, float* ph, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        const float r = re[k], i = im[k];
        mag[k] = std::hypot(r, i);
        ph[k] = std::atan2(i, r);
    }
}
void nspsbMpy1(float c, float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= c;
}
void nspsbMpy2(const float* a, float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= a[k];
}
void nspsbMpy3(const float* a, const float* b, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = a[k] * b[k];
}
void nspsbAdd2(const float* src, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] += src[k];
}
float nspsMax(const float* v, int32_t n) {
    if (n <= 0) return 0.0f;
    float m = v[0];
    for (int32_t k = 1; k < n; ++k)
        m = v[k] > m ? v[k] : m;
    return m;
}
float nspsMin(const float* v, int32_t n) {
    if (n <= 0) return 0.0f;
    float m = v[0];
    for (int32_t k = 1; k < n; ++k)
        m = v[k] < m ? v[k] : m;
    return m;
}

void nspcrFftNip(const float* reIn, const float* imIn, float* reOut, float* imOut, int32_t order,
                 int32_t flags) {
    if (flags != 1 || order < 0 || order > 30) return;
    const int32_t n = int32_t{1} << order;
    Plan& p = plan(n);
    float* b = reinterpret_cast<float*>(p.buffer);
    for (int32_t k = 0; k < n; ++k) {
        b[2 * k] = reIn[k];
        b[2 * k + 1] = imIn[k];
    }
    fftwf_execute(p.plan);
    for (int32_t k = 0; k < n; ++k) {
        reOut[k] = b[2 * k];
        imOut[k] = b[2 * k + 1];
    }
}

} // extern "C"
