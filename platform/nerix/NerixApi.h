// The C interface of libnerix.so, the outside DSP library: vectors pass as pointers, the count last.
#pragma once

#include <cstdint>

extern "C" {
void Int16ToFloat_S_2(const int16_t* src, float* dst, int32_t n);
void FloatToInt16_S_2(const float* src, int16_t* dst, int32_t n);
void DoubleToSingle_D_2(const double* src, float* dst, int32_t n);
void Add_S_2(const float* src, float* dst, int32_t n);
void Add_S_3(const float* a, const float* b, float* dst, int32_t n);
void Sub_S_3(const float* a, const float* b, float* dst, int32_t n);
void Mpy_S_3(const float* a, const float* b, float* dst, int32_t n);
void Mpy_S_1(float c, float* v, int32_t n);
void Add_S_1(float c, float* v, int32_t n);
void Sub_S_1(float c, float* v, int32_t n);
void Mpy_S_2(const float* a, float* v, int32_t n);
void Mpy_D_1(double c, double* v, int32_t n);
void Mpy_D_2(const double* a, double* v, int32_t n);
void Abs_S_1(float* v, int32_t n);
void Sqr_S_1(float* v, int32_t n);
void Sqr_S_2(const float* src, float* dst, int32_t n);
float Sum_S_1(const float* v, int32_t n);
double Sum_D_1(const double* v, int32_t n);
float MaxValue_S(const float* v, int32_t n);
int16_t MaxValue_16(const int16_t* v, int32_t n);
float MaxValueAbs_S(const float* v, int32_t n);
int32_t MaxIndex_S(const float* v, int32_t n);
void HiThresh_S_1(float* v, float t, float r, int32_t n);
void LowThresh_S_1(float* v, float t, float r, int32_t n);
void LowThreshFract_S_1(float* v, float t, float f, int32_t n);
void PowerSpectrum_S_2(const float* re, const float* im, float* dst, int32_t n);
void CartToPolar_S_2(const float* re, const float* im, float* mag, float* ph, int32_t n);
void PolarToCart_S_2(const float* mag, const float* ph, float* re, float* im, int32_t n);
void ShiftVectorRight_S_1(float* v, int32_t n);
void VectorRamp_S_1(float from, float to, float* dst, int32_t n);
void SetMemory_S(float* v, int32_t n, float c);
void MixerIQ_S_S_1(const float* x, float* i, float* q, int32_t n);
void Interlace_16_2(const int16_t* l, const int16_t* r, int16_t* lr, int32_t n);
void DeInterlace_16_2(const int16_t* lr, int16_t* l, int16_t* r, int32_t n);

int32_t InitDDS(int32_t phaseBits, int32_t tableBits, int32_t blockLength);
void MakeFreq(int32_t increment, float* sinOut, float* cosOut);

void sHilbert(const float* x, const float* h, float* y, int32_t nz, int32_t n);

void FFT_S_2(const float* reIn, const float* imIn, float* reOut, float* imOut, int32_t points, int32_t order,
             const int32_t* bitReverse, const float* cosTable, const float* sinTable);
void FFT_Real_S_1(float* re, float* im, int32_t points, int32_t order);
void MakeNegFreq_S_1_P(float* re, float* im, int32_t order);
void DeInterlace_S_2(const float* x, float* even, float* odd, int32_t points);
void Convolve_Cart_S_2(const float* kRe, const float* kIm, float* re, float* im, int32_t n);
void CalcWindowCoeffs_D(int32_t points, double* window, int32_t windowType);
void CalcBPFilterCoeffs(int32_t points, double* kernel, double wHigh, double wLow, int32_t qPhase);
void CalcBSFilterCoeffs(int32_t points, double* kernel, float* kernelSingle, const double* window,
                        double wHigh, double wLow, int32_t qPhase);

// One overlap-add block in a single pass: the same arrays afterwards as the step-by-step filter
// (samples[0, P) filtered, samples[P, 2P) the unadded tail, tail the next block's carry), in fewer passes.
void FilterOverlapAdd_S_1(float* samples, const float* kRe, const float* kIm, float* tail, int32_t points);
// The real transforms of the program's real FFT in one call each, with the same arrays afterwards as
// its step-by-step route: the full N-bin spectrum forward; the inverse of the symmetrised spectrum,
// leaving re as the sums R + I and the upper half of im mirrored.
void RealFFT_S_2(const float* x, float* re, float* im, int32_t points);
void RealIFFT_S_2(float* re, float* im, float* y, int32_t points);
// Makes the plans of both real transforms of that size now, so the first transform costs as the next.
void PlanRealFFT_S(int32_t points);
// FFTW's wisdom as its own text: imported before planning, the plans take the measured choice at once
// (1 when accepted); exported, the length, with the text and its NUL written when capacity holds them
// (-1 when FFTW gives none). Neither may run while another thread plans.
int32_t ImportFFTWisdom_S(const char* text);
int32_t ExportFFTWisdom_S(char* text, int32_t capacity);
// The sizes whose real transforms have been planned, ascending, up to capacity; the count of them all.
int32_t PlannedRealFFTSizes_S(int32_t* sizes, int32_t capacity);
// Plans both real transforms of that size with FFTW_MEASURE on buffers of their own, on the calling
// thread, while transforms may run on another; the next transform of that size switches to them.
// 1 when measured, 0 for a size that is no power of two from 2 to 2^30 or that FFTW could not plan.
int32_t MeasureRealFFT_S(int32_t points);

void CallBack(void (*address)());
}

// Every function the program binds by name, for the binding table.
#define NERIX_FUNCTIONS(X)                                                                                   \
    X(Int16ToFloat_S_2)                                                                                      \
    X(FloatToInt16_S_2)                                                                                      \
    X(DoubleToSingle_D_2)                                                                                    \
    X(Add_S_2)                                                                                               \
    X(Add_S_3)                                                                                               \
    X(Sub_S_3)                                                                                               \
    X(Mpy_S_3)                                                                                               \
    X(Mpy_S_1)                                                                                               \
    X(Add_S_1)                                                                                               \
    X(Sub_S_1)                                                                                               \
    X(Mpy_S_2)                                                                                               \
    X(Mpy_D_1)                                                                                               \
    X(Mpy_D_2)                                                                                               \
    X(Abs_S_1)                                                                                               \
    X(Sqr_S_1)                                                                                               \
    X(Sqr_S_2)                                                                                               \
    X(Sum_S_1)                                                                                               \
    X(Sum_D_1)                                                                                               \
    X(MaxValue_S)                                                                                            \
    X(MaxValue_16)                                                                                           \
    X(MaxValueAbs_S)                                                                                         \
    X(MaxIndex_S)                                                                                            \
    X(HiThresh_S_1)                                                                                          \
    X(LowThresh_S_1)                                                                                         \
    X(LowThreshFract_S_1)                                                                                    \
    X(PowerSpectrum_S_2)                                                                                     \
    X(CartToPolar_S_2)                                                                                       \
    X(PolarToCart_S_2)                                                                                       \
    X(ShiftVectorRight_S_1)                                                                                  \
    X(VectorRamp_S_1)                                                                                        \
    X(SetMemory_S)                                                                                           \
    X(MixerIQ_S_S_1)                                                                                         \
    X(Interlace_16_2)                                                                                        \
    X(DeInterlace_16_2)                                                                                      \
    X(InitDDS)                                                                                               \
    X(MakeFreq)                                                                                              \
    X(sHilbert)                                                                                              \
    X(FFT_S_2)                                                                                               \
    X(FFT_Real_S_1)                                                                                          \
    X(MakeNegFreq_S_1_P)                                                                                     \
    X(DeInterlace_S_2)                                                                                       \
    X(Convolve_Cart_S_2)                                                                                     \
    X(CalcWindowCoeffs_D)                                                                                    \
    X(CalcBPFilterCoeffs)                                                                                    \
    X(CalcBSFilterCoeffs)                                                                                    \
    X(FilterOverlapAdd_S_1)                                                                                  \
    X(RealFFT_S_2)                                                                                           \
    X(RealIFFT_S_2)                                                                                          \
    X(PlanRealFFT_S)                                                                                         \
    X(ImportFFTWisdom_S)                                                                                     \
    X(ExportFFTWisdom_S)                                                                                     \
    X(PlannedRealFFTSizes_S)                                                                                 \
    X(MeasureRealFFT_S)                                                                                      \
    X(CallBack)
