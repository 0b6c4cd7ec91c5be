// The level stages' arithmetic.
#include "dsp/LevelStages.h"

#include <cmath>

#include "dsp/FilterBank.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr int32_t kN = kBlockPoints;

void requireBlock(std::span<const float> v, const char* source) {
    if (v.size() < static_cast<size_t>(kN)) runtime::raise(runtime::err::kSubscriptOutOfRange, source);
}

} // namespace

float blockPower(Wrappers& nerix, std::span<const float> v, std::span<float> scratch) {
    requireBlock(v, "frmMain.MeasureLevel");
    requireBlock(scratch, "frmMain.MeasureLevel");
    nerixdll::NerixDll& dll = nerix.Dll();
    dll.Sqr_S_2(v.data(), scratch.data(), kN);
    return dll.Sum_S_1(scratch.data(), kN);
}

float blockLevel(float power) {
    return static_cast<float>(std::sqrt(power / 2048.0));
}

void limitPeak(Wrappers& nerix, std::span<float> v, float limit) {
    requireBlock(v, "frmMain.AudioLC");
    const float peak = nerix.MaxAbs(v.data(), kN);
    if (peak > limit) nerix.ScaleSingles(limit / peak, v.data(), kN);
}

} // namespace Nerix
