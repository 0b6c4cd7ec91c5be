// Real FFT.
#include "dsp/clsFFTReal.h"

#include <algorithm>

#include "platform/runtime/RuntimeError.h"

void clsFFTReal::FFTInit(int32_t NumPoints) {
    IsInitialised = false;
    if (NumPoints < 2) runtime::raise(runtime::err::kInvalidCall, "clsFFTReal.FFTInit");
    inner_.FFTInit(NumPoints / 2);
    Points = NumPoints;
    Order = inner_.Order + 1;
    size_ = static_cast<size_t>(Points) + 1;
    scratch_ = std::make_unique_for_overwrite<float[]>(3 * size_);
    // Planned now rather than by the first transform, which would cost as much as fifty blocks. A
    // library that cannot plan ahead leaves it to the first transform.
    runtime::resumeNext([&] { nerix_.Dll().PlanRealFFT_S(Points); });
    IsInitialised = true;
}

// The arrays exist only after FFTInit; a transform before it is the missing-object error.
void clsFFTReal::requireReady(const char* source, size_t smallest) const {
    if (!IsInitialised) runtime::raise(runtime::err::kObjectNotSet, source);
    // A Points set longer since FFTInit would run past the scratch.
    if (Points < 0 || smallest < static_cast<size_t>(Points) || static_cast<size_t>(Points) >= size_)
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

void clsFFTReal::FFT_Real_S_2(std::span<const float> x, std::span<float> reOut, std::span<float> imOut) {
    requireReady("clsFFTReal.FFT_Real_S_2", std::min({x.size(), reOut.size(), imOut.size()}));
    nerixdll::NerixDll& dll = nerix_.Dll();
    if (!nerix_.UseSPL()) {
        // One real transform in the library, leaving the same arrays as the steps below.
        dll.RealFFT_S_2(x.data(), reOut.data(), imOut.data(), Points);
        return;
    }
    dll.DeInterlace_S_2(x.data(), even().data(), odd().data(), Points);
    inner_.FFT_S_2(even(), odd(), reOut, imOut);
    dll.FFT_Real_S_1(reOut.data(), imOut.data(), Points, Order);
}

void clsFFTReal::IFFT_Real_S_2(std::span<float> reIn, std::span<float> imIn, std::span<float> y) {
    requireReady("clsFFTReal.IFFT_Real_S_2", std::min({reIn.size(), imIn.size(), y.size()}));
    if (!nerix_.UseSPL()) {
        // One inverse real transform in the library instead of a second forward one; the inputs end
        // as the steps below leave them.
        nerix_.Dll().RealIFFT_S_2(reIn.data(), imIn.data(), y.data(), Points);
        return;
    }
    // Hartley: the forward transform of R + I, summed again, is N times the inverse.
    nerix_.Dll().MakeNegFreq_S_1_P(reIn.data(), imIn.data(), Order);
    nerix_.AddInPlace(imIn.data(), reIn.data(), Points);
    FFT_Real_S_2(reIn, y, inverseScratch());
    nerix_.AddInPlace(inverseScratch().data(), y.data(), Points);
    nerix_.ScaleSingles(1.0f / static_cast<float>(Points), y.data(), Points);
}
