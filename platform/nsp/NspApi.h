// The C interface of libnsp.so, our stand-in for the signal processing library's calls the program makes.
#pragma once

#include <cstdint>

extern "C" {
void nspsbCopy(const float* src, float* dst, int32_t n);
void nspwbCopy(const int16_t* src, int16_t* dst, int32_t n);
void nspwbZero(int16_t* v, int32_t n);
void nspsbZero(float* v, int32_t n);
void nspsbrCartToPolar(const float* re, const float* im, float* mag, float* ph, int32_t n);
void nspsbMpy1(float c, float* v, int32_t n);
void nspsbMpy2(const float* a, float* v, int32_t n);
void nspsbMpy3(const float* a, const float* b, float* dst, int32_t n);
void nspsbAdd2(const float* src, float* dst, int32_t n);
float nspsMax(const float* v, int32_t n);
float nspsMin(const float* v, int32_t n);
// flags 1: forward transform of 2^order points, unscaled, natural order.
void nspcrFftNip(const float* reIn, const float* imIn, float* reOut, float* imOut, int32_t order,
                 int32_t flags);
}

#define NSP_FUNCTIONS(X)                                                                                     \
    X(nspsbCopy)                                                                                             \
    X(nspwbCopy)                                                                                             \
    X(nspwbZero)                                                                                             \
    X(nspsbZero)                                                                                             \
    X(nspsbrCartToPolar)                                                                                     \
    X(nspsbMpy1)                                                                                             \
    X(nspsbMpy2)                                                                                             \
    X(nspsbMpy3)                                                                                             \
    X(nspsbAdd2)                                                                                             \
    X(nspsMax)                                                                                               \
    X(nspsMin)                                                                                               \
    X(nspcrFftNip)
