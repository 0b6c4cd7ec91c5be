// libnerix.so: vector arithmetic, the oscillator, the Hilbert FIR and the filter designs.
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "platform/nerix/NerixApi.h"
#include "platform/nerix/NerixTargets.h"

namespace {

// atan2 without branches, so the angle loop vectorises: the octant's ratio (at most 1) through the
// single-precision arctangent polynomial after a reduction by pi/4, then the octant and the quadrant
// put back. Within 2e-7 rad of the exact angle; atan2's signed zeros and infinities are kept, NaN in
// gives NaN out.
inline float fastAtan2(float y, float x) {
    const float ax = std::fabs(x), ay = std::fabs(y);
    const float hi = ax > ay ? ax : ay, lo = ax > ay ? ay : ax;
    const bool bothInf = std::isinf(ax) && std::isinf(ay);
    float a = hi > 0.0f ? lo / hi : 0.0f;
    a = bothInf ? 1.0f : a;
    const bool reduce = a > 0.41421356f; // tan(pi/8)
    const float t = reduce ? (a - 1.0f) / (a + 1.0f) : a;
    const float z = t * t;
    float r =
        (((8.05374449538e-2f * z - 1.38776856032e-1f) * z + 1.99777106478e-1f) * z - 3.33329491539e-1f) * z *
            t +
        t;
    r = reduce ? r + 0.78539816f : r;
    r = ay > ax ? 1.57079633f - r : r;
    r = std::signbit(x) ? 3.14159265f - r : r;
    r = (x != x || y != y) ? x + y : r;
    return std::signbit(y) ? -r : r;
}

// Eight partial results let the compiler keep the reductions in vector registers without
// reassociating floating-point sums behind our back.
constexpr int kLanes = 8;

struct Oscillator {
    int32_t phaseBits = 0;
    int32_t tableBits = 0;
    int32_t blockLength = 0;
    uint32_t phase = 0;
    std::vector<float> sinTable, cosTable;
};
Oscillator oscillator;

} // namespace

extern "C" {

void Int16ToFloat_S_2(const int16_t* src, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = static_cast<float>(src[k]);
}

NERIX_HOT void FloatToInt16_S_2(const float* src, int16_t* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        float v = src[k];
        v = v == v ? v : 0.0f; // NaN
        v = v < -32768.0f ? -32768.0f : v;
        v = v > 32767.0f ? 32767.0f : v;
        // Adding and taking away 1.5 * 2^23 rounds half to even in the default mode, and vectorises.
        constexpr float kMagic = 12582912.0f;
        v = (v + kMagic) - kMagic;
        dst[k] = static_cast<int16_t>(static_cast<int32_t>(v));
    }
}

void DoubleToSingle_D_2(const double* src, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = static_cast<float>(src[k]);
}

void Add_S_2(const float* src, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] += src[k];
}
void Add_S_3(const float* a, const float* b, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = a[k] + b[k];
}
void Sub_S_3(const float* a, const float* b, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = a[k] - b[k];
}
void Mpy_S_3(const float* a, const float* b, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = a[k] * b[k];
}
NERIX_HOT void Mpy_S_1(float c, float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= c;
}
void Add_S_1(float c, float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] += c;
}
void Sub_S_1(float c, float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] -= c;
}
void Mpy_S_2(const float* a, float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= a[k];
}
void Mpy_D_1(double c, double* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= c;
}
void Mpy_D_2(const double* a, double* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= a[k];
}
void Abs_S_1(float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] = std::fabs(v[k]);
}
void Sqr_S_1(float* v, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] *= v[k];
}
void Sqr_S_2(const float* src, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = src[k] * src[k];
}

float Sum_S_1(const float* v, int32_t n) {
    float lane[kLanes] = {};
    int32_t k = 0;
    for (; k + kLanes <= n; k += kLanes)
        for (int j = 0; j < kLanes; ++j)
            lane[j] += v[k + j];
    float s = 0.0f;
    for (; k < n; ++k)
        s += v[k];
    for (float l : lane)
        s += l;
    return s;
}

double Sum_D_1(const double* v, int32_t n) {
    double lane[kLanes] = {};
    int32_t k = 0;
    for (; k + kLanes <= n; k += kLanes)
        for (int j = 0; j < kLanes; ++j)
            lane[j] += v[k + j];
    double s = 0.0;
    for (; k < n; ++k)
        s += v[k];
    for (double l : lane)
        s += l;
    return s;
}

float MaxValue_S(const float* v, int32_t n) {
    if (n <= 0) return 0.0f;
    float lane[kLanes];
    for (float& l : lane)
        l = v[0];
    int32_t k = 0;
    for (; k + kLanes <= n; k += kLanes)
        for (int j = 0; j < kLanes; ++j)
            lane[j] = v[k + j] > lane[j] ? v[k + j] : lane[j];
    float m = v[0];
    for (; k < n; ++k)
        m = v[k] > m ? v[k] : m;
    for (float l : lane)
        m = l > m ? l : m;
    return m;
}

int16_t MaxValue_16(const int16_t* v, int32_t n) {
    if (n <= 0) return 0;
    int16_t m = v[0];
    for (int32_t k = 0; k < n; ++k)
        m = v[k] > m ? v[k] : m;
    return m;
}

// Magnitudes order as their bit patterns once the sign bit is cleared, so the reduction runs on
// integers, which the compiler vectorises; NaN is passed over as the comparisons would.
NERIX_HOT float MaxValueAbs_S(const float* v, int32_t n) {
    if (n <= 0) return 0.0f;
    constexpr int32_t kInfinityBits = 0x7f800000;
    int32_t m = 0;
    for (int32_t k = 0; k < n; ++k) {
        int32_t bits;
        std::memcpy(&bits, v + k, sizeof bits);
        bits &= 0x7fffffff;
        bits = bits > kInfinityBits ? 0 : bits;
        m = bits > m ? bits : m;
    }
    float result;
    std::memcpy(&result, &m, sizeof result);
    return result;
}

int32_t MaxIndex_S(const float* v, int32_t n) {
    if (n <= 0) return 0;
    int32_t best = 0;
    for (int32_t k = 1; k < n; ++k)
        if (v[k] > v[best]) best = k;
    return best;
}

NERIX_HOT void HiThresh_S_1(float* v, float t, float r, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] = v[k] > t ? r : v[k];
}
NERIX_HOT void LowThresh_S_1(float* v, float t, float r, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] = v[k] < t ? r : v[k];
}
void LowThreshFract_S_1(float* v, float t, float f, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        v[k] = v[k] < t ? v[k] * f : v[k];
}

NERIX_HOT void PowerSpectrum_S_2(const float* re, const float* im, float* dst, int32_t n) {
    for (int32_t k = 0; k < n; ++k)
        dst[k] = re[k] * re[k] + im[k] * im[k];
}
NERIX_HOT void CartToPolar_S_2(const float* re, const float* im, float* mag, float* ph, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        const float r = re[k], i = im[k];
        mag[k] = std::sqrt(r * r + i * i);
    }
    for (int32_t k = 0; k < n; ++k)
        ph[k] = fastAtan2(im[k], re[k]);
}
void PolarToCart_S_2(const float* mag, const float* ph, float* re, float* im, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        const float m = mag[k], p = ph[k];
        re[k] = m * std::cos(p);
        im[k] = m * std::sin(p);
    }
}

void ShiftVectorRight_S_1(float* v, int32_t n) {
    if (n <= 0) return;
    std::memmove(v + 1, v, static_cast<size_t>(n) * sizeof(float));
}

void VectorRamp_S_1(float from, float to, float* dst, int32_t n) {
    if (n <= 0) return;
    if (n == 1) {
        dst[0] = to;
        return;
    }
    const double step = (static_cast<double>(to) - from) / (n - 1);
    for (int32_t k = 0; k < n - 1; ++k)
        dst[k] = static_cast<float>(from + step * k);
    dst[n - 1] = to; // ends on the target exactly, whatever the steps rounded to
}

void SetMemory_S(float* v, int32_t n, float c) {
    for (int32_t k = 0; k < n; ++k)
        v[k] = c;
}

// The mixer's phase offset is 0, so the carriers are the exact sequences 1, 0, -1, 0 and 0, 1, 0, -1.
void MixerIQ_S_S_1(const float* x, float* i, float* q, int32_t n) {
    static constexpr float kCos[4] = {1.0f, 0.0f, -1.0f, 0.0f};
    static constexpr float kSin[4] = {0.0f, 1.0f, 0.0f, -1.0f};
    for (int32_t k = 0; k < n; ++k) {
        i[k] = x[k] * kCos[k & 3];
        q[k] = x[k] * kSin[k & 3];
    }
}

void Interlace_16_2(const int16_t* l, const int16_t* r, int16_t* lr, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        lr[2 * k] = l[k];
        lr[2 * k + 1] = r[k];
    }
}
void DeInterlace_16_2(const int16_t* lr, int16_t* l, int16_t* r, int32_t n) {
    for (int32_t k = 0; k < n; ++k) {
        l[k] = lr[2 * k];
        r[k] = lr[2 * k + 1];
    }
}

#ifndef NERIX_WITHOUT_OSCILLATOR
// Refuses what it cannot serve (status 5) and keeps the previous set-up then.
int32_t InitDDS(int32_t phaseBits, int32_t tableBits, int32_t blockLength) {
    if (phaseBits < 1 || phaseBits > 31 || tableBits < 1 || tableBits > phaseBits || tableBits > 24 ||
        blockLength < 1)
        return 5;
    const size_t size = size_t{1} << tableBits;
    oscillator.sinTable.resize(size);
    oscillator.cosTable.resize(size);
    for (size_t i = 0; i < size; ++i) {
        const double x = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(size);
        oscillator.sinTable[i] = static_cast<float>(std::sin(x));
        oscillator.cosTable[i] = static_cast<float>(std::cos(x));
    }
    oscillator.phaseBits = phaseBits;
    oscillator.tableBits = tableBits;
    oscillator.blockLength = blockLength;
    oscillator.phase = 0;
    return 0;
}

// Steps before each lookup, as the program's own oscillator does, so both paths give the same samples.
void MakeFreq(int32_t increment, float* sinOut, float* cosOut) {
    if (oscillator.blockLength <= 0) return;
    const uint32_t mask = (uint32_t{1} << oscillator.phaseBits) - 1u;
    const int shift = oscillator.phaseBits - oscillator.tableBits;
    uint32_t phase = oscillator.phase;
    const uint32_t step = static_cast<uint32_t>(increment);
    for (int32_t i = 0; i < oscillator.blockLength; ++i) {
        phase = (phase + step) & mask;
        const uint32_t index = phase >> shift;
        sinOut[i] = oscillator.sinTable[index];
        cosOut[i] = oscillator.cosTable[index];
    }
    oscillator.phase = phase;
}
#endif

// y[k] = sum of h[t] * x[k + t] for t = 1 .. nz - 1: the centre tap h[nz / 2] meets x[k + nz / 2].
// Outputs are summed a run at a time in registers, taps in the same ascending order for each output,
// so the sums round as a tap-by-tap pass over the whole block would, without storing y once per tap.
NERIX_HOT void sHilbert(const float* x, const float* h, float* y, int32_t nz, int32_t n) {
    constexpr int32_t kRun = 32;
    int32_t k = 0;
    for (; k + kRun <= n; k += kRun) {
        float acc[kRun] = {};
        for (int32_t t = 1; t < nz; ++t) {
            const float c = h[t];
            if (c == 0.0f) continue; // every other Hilbert tap is zero
            const float* xs = x + k + t;
            for (int32_t j = 0; j < kRun; ++j)
                acc[j] += c * xs[j];
        }
        for (int32_t j = 0; j < kRun; ++j)
            y[k + j] = acc[j];
    }
    for (; k < n; ++k) {
        float acc = 0.0f;
        for (int32_t t = 1; t < nz; ++t)
            if (h[t] != 0.0f) acc += h[t] * x[k + t];
        y[k] = acc;
    }
}

void CalcWindowCoeffs_D(int32_t points, double* window, int32_t windowType) {
    if (points <= 0) return;
    if (points == 1) {
        window[0] = 1.0;
        return;
    }
    const double m = points - 1;
    const double twoPi = 2.0 * std::numbers::pi;
    for (int32_t i = 0; i < points; ++i) {
        switch (windowType) {
        case 1:
            window[i] = 0.54 - 0.46 * std::cos(twoPi * i / m);
            break;
        case 2:
            window[i] = 0.42 - 0.5 * std::cos(twoPi * i / m) + 0.08 * std::cos(2.0 * twoPi * i / m);
            break;
        default:
            window[i] = 1.0;
            break; // rectangular
        }
    }
}

// 2H + 1 taps centred on tap H = (P - 1) / 2, the rest zero. The quadrature twin is
// (cos(wH i) - cos(wL i)) / (pi i): the sign the IF sideband rules rely on.
void CalcBPFilterCoeffs(int32_t points, double* kernel, double wHigh, double wLow, int32_t qPhase) {
    if (points <= 0) return;
    const int32_t h = (points - 1) / 2;
    for (int32_t k = 2 * h + 1; k < points; ++k)
        kernel[k] = 0.0;
    kernel[h] = qPhase ? 0.0 : (wHigh - wLow) / std::numbers::pi;
    // Tap -i is tap i computed from negated products: sin is odd and cos even to the last bit, and
    // negating a difference or both sides of a quotient rounds alike, so each pair costs one evaluation.
    for (int32_t i = 1; i <= h; ++i) {
        const double divisor = std::numbers::pi * i;
        if (qPhase) {
            const double tap = (std::cos(wHigh * i) - std::cos(wLow * i)) / divisor;
            kernel[h + i] = tap;
            kernel[h - i] = -tap;
        } else {
            const double tap = (std::sin(wHigh * i) - std::sin(wLow * i)) / divisor;
            kernel[h + i] = tap;
            kernel[h - i] = tap;
        }
    }
}

// The band-stop is the all-pass minus the windowed band-pass: a unit impulse at tap H in phase,
// the quadrature twin of the whole band in quadrature.
void CalcBSFilterCoeffs(int32_t points, double* kernel, float* kernelSingle, const double* window,
                        double wHigh, double wLow, int32_t qPhase) {
    if (points <= 0) return;
    const int32_t h = (points - 1) / 2;
    CalcBPFilterCoeffs(points, kernel, wHigh, wLow, qPhase);
    Mpy_D_2(window, kernel, points);
    for (int32_t k = 0; k < points; ++k)
        kernel[k] = -kernel[k];
    if (qPhase) {
        for (int32_t i = -h; i <= h; ++i)
            if (i != 0)
                kernel[i + h] +=
                    window[i + h] * (std::cos(std::numbers::pi * i) - 1.0) / (std::numbers::pi * i);
    } else {
        kernel[h] += 1.0;
    }
    DoubleToSingle_D_2(kernel, kernelSingle, points);
}

void CallBack(void (*address)()) {
    if (address) address();
}

} // extern "C"
