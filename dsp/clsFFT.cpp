// Forward complex FFT.
#include "dsp/clsFFT.h"

#include <cmath>

#include "platform/runtime/Hooks.h"

namespace {
constexpr double kPiSingle = 3.1415927410125732; // pi rounded to float, as the tables are built from it
}

void clsFFT::FFTInit(int32_t NumPoints) {
    IsInitialised = false;
    if (NumPoints <= 0 || (NumPoints & (NumPoints - 1)) != 0)
        runtime::raise(runtime::err::kInvalidCall, "clsFFT.FFTInit");
    if (NumPoints > kMaxComplexFFTPoints) runtime::raise(runtime::err::kOverflow, "clsFFT.FFTInit");
    Points = NumPoints;
    Order = 0;
    while ((int32_t{1} << Order) < Points)
        ++Order;

    bitReverse_.assign(static_cast<size_t>(Points), 0);
    for (int32_t i = 0; i < Points; ++i) {
        int32_t r = 0;
        for (int32_t b = 0; b < Order; ++b)
            if (i & (1 << b)) r |= 1 << (Order - 1 - b);
        bitReverse_[i] = r;
    }
    cosTable_.assign(static_cast<size_t>(Order) + 1, 0.0f);
    sinTable_.assign(static_cast<size_t>(Order) + 1, 0.0f);
    for (int32_t s = 1; s <= Order; ++s) {
        const double angle = kPiSingle / (static_cast<double>(1 << s) / 2.0);
        cosTable_[s] = static_cast<float>(std::cos(angle));
        sinTable_[s] = static_cast<float>(-std::sin(angle));
    }
    IsInitialised = true;
}

void clsFFT::FFT_S_2(std::span<const float> reIn, std::span<const float> imIn, std::span<float> reOut,
                     std::span<float> imOut) {
    if (!IsInitialised) {
        const char* text = "clsFFT not initialised, you must call Init first";
        runtime::MsgBox(text, runtime::mb::kOkOnly);
        runtime::raise(runtime::err::kInvalidCall, "clsFFT.FFT_S_2", text);
    }
    const auto n = static_cast<size_t>(Points);
    if (reIn.size() < n || imIn.size() < n || reOut.size() < n || imOut.size() < n)
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clsFFT.FFT_S_2");
    nerix_.ComplexFFT(reIn.data(), imIn.data(), reOut.data(), imOut.data(), Points, Order, bitReverse_.data(),
                      cosTable_.data(), sinTable_.data());
}
