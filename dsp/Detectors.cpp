// The detectors' arithmetic.
#include "dsp/Detectors.h"

#include <cmath>

#include "dsp/FilterBank.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr int32_t kN = kBlockPoints;
constexpr float kHalfPi = 1.5707964f; // the float nearest pi/2

// A shorter array would be read or written past its end.
void requireBlock(std::span<const float> v, size_t n, const char* source) {
    if (v.size() < n) runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

} // namespace

void detectAm(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out) {
    requireBlock(I, kN, "frmMain.DemodAm");
    requireBlock(Q, kN, "frmMain.DemodAm");
    requireBlock(out, kN, "frmMain.DemodAm");
    nerix.Dll().PowerSpectrum_S_2(I.data(), Q.data(), out.data(), kN);
}

void detectSsb(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out,
               bool sum) {
    requireBlock(I, kN, "frmMain.DemodSsb");
    requireBlock(Q, kN, "frmMain.DemodSsb");
    requireBlock(out, kN, "frmMain.DemodSsb");
    if (sum)
        nerix.Dll().Add_S_3(I.data(), Q.data(), out.data(), kN);
    else
        nerix.Dll().Sub_S_3(I.data(), Q.data(), out.data(), kN);
}

void detectSam(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out,
               std::span<float> scratch) {
    requireBlock(I, kN, "frmMain.DemodSam");
    requireBlock(Q, kN, "frmMain.DemodSam");
    requireBlock(out, kN, "frmMain.DemodSam");
    requireBlock(scratch, kN, "frmMain.DemodSam");
    nerix.Dll().Add_S_3(I.data(), Q.data(), out.data(), kN);
    nerix.Dll().Sub_S_3(I.data(), Q.data(), scratch.data(), kN);
    nerix.AddInPlace(scratch.data(), out.data(), kN);
}

void detectBc(Wrappers& nerix, std::span<float> in, std::span<float> out, int32_t n, BcWindow& window) {
    if (n < 0 || in.size() < static_cast<size_t>(n) || out.size() < static_cast<size_t>(n))
        runtime::raise(runtime::err::kSubscriptOutOfRange, "frmMain.DemodBc");
    nerix.Dll().Sqr_S_1(in.data(), n);
    constexpr int32_t W = static_cast<int32_t>(std::tuple_size_v<BcWindow>);
    for (int32_t k = 0; k < n; ++k) {
        for (int32_t j = W - 1; j > 0; --j)
            window[static_cast<size_t>(j)] = window[static_cast<size_t>(j - 1)];
        window[0] = in[static_cast<size_t>(k)];
        float sum = 0.0f;
        for (float w : window)
            sum += w;
        // Root of the sum, then divided by the window length (not the root of the mean).
        out[static_cast<size_t>(k)] = static_cast<float>(std::sqrt(static_cast<double>(sum)) / W);
    }
}

void detectFm(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out,
              std::span<float> magnitude, std::span<float> phase, float& lastPhase) {
    requireBlock(I, kN, "frmMain.DemodFm");
    requireBlock(Q, kN, "frmMain.DemodFm");
    requireBlock(out, kN, "frmMain.DemodFm");
    requireBlock(magnitude, kN, "frmMain.DemodFm");
    requireBlock(phase, kN, "frmMain.DemodFm");
    nerix.CartToPolar(I.data(), Q.data(), magnitude.data(), phase.data(), kN);
    // Phase differences without unwrapping: a wrap gives one large sample.
    out[0] = phase[0] - lastPhase;
    for (int32_t k = 1; k < kN; ++k)
        out[static_cast<size_t>(k)] = phase[static_cast<size_t>(k)] - phase[static_cast<size_t>(k - 1)];
    nerixdll::NerixDll& dll = nerix.Dll();
    dll.Abs_S_1(out.data(), kN);
    dll.Sub_S_1(kHalfPi, out.data(), kN);
    nerix.ScaleSingles(4096.0f, out.data(), kN);
    lastPhase = phase[kN - 1];
}

} // namespace Nerix
