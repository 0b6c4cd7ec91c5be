// Forward complex FFT.
#include "dsp/clsFFT.h"

#include <array>
#include <cmath>
#include <memory>
#include <mutex>

#include "platform/runtime/Hooks.h"

namespace {

constexpr double kPiSingle = 3.1415927410125732; // pi rounded to float, as the tables are built from it

std::unique_ptr<FFTTables> makeTables(int32_t points, int32_t order) {
    auto t = std::make_unique<FFTTables>();
    t->Points = points;
    t->Order = order;
    t->bitReverse.resize(static_cast<size_t>(points));
    for (int32_t i = 0; i < points; ++i) {
        int32_t r = 0;
        for (int32_t b = 0; b < order; ++b)
            if (i & (1 << b)) r |= 1 << (order - 1 - b);
        t->bitReverse[static_cast<size_t>(i)] = r;
    }
    t->cosTable.assign(static_cast<size_t>(order) + 1, 0.0f);
    t->sinTable.assign(static_cast<size_t>(order) + 1, 0.0f);
    for (int32_t s = 1; s <= order; ++s) {
        const double angle = kPiSingle / (static_cast<double>(1 << s) / 2.0);
        t->cosTable[static_cast<size_t>(s)] = static_cast<float>(std::cos(angle));
        t->sinTable[static_cast<size_t>(s)] = static_cast<float>(-std::sin(angle));
    }
    return t;
}

int32_t orderOf(int32_t points) {
    int32_t order = 0;
    while ((int32_t{1} << order) < points)
        ++order;
    return order;
}

} // namespace

const FFTTables clsFFT::kNoTables{};

const FFTTables& FFTTables::of(int32_t points) {
    if (points <= 0 || (points & (points - 1)) != 0 || points > kMaxComplexFFTPoints)
        runtime::raise(runtime::err::kInvalidCall, "FFTTables.of");
    static std::mutex mutex;
    static std::array<std::unique_ptr<FFTTables>, 15> bySize; // 2^0 .. 2^14
    const int32_t order = orderOf(points);
    std::lock_guard lock(mutex);
    auto& slot = bySize[static_cast<size_t>(order)];
    if (!slot) slot = makeTables(points, order);
    return *slot;
}

void clsFFT::FFTInit(int32_t NumPoints) {
    IsInitialised = false;
    if (NumPoints <= 0 || (NumPoints & (NumPoints - 1)) != 0)
        runtime::raise(runtime::err::kInvalidCall, "clsFFT.FFTInit");
    if (NumPoints > kMaxComplexFFTPoints) runtime::raise(runtime::err::kOverflow, "clsFFT.FFTInit");
    tables_ = &FFTTables::of(NumPoints);
    Points = NumPoints;
    Order = tables_->Order;
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
    nerix_.ComplexFFT(reIn.data(), imIn.data(), reOut.data(), imOut.data(), Points, Order,
                      tables_->bitReverse.data(), tables_->cosTable.data(), tables_->sinTable.data());
}
