// Forward complex FFT of a power-of-two number of points, on the library the program has chosen.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dsp/Nerix.h"

inline constexpr int32_t kMaxComplexFFTPoints = 16384; // the stage size is held in 16 bits

// The bit-reversal and twiddle tables of one size. They depend on the size alone, so one set per size
// serves every transform of that size in the process; made at first use and kept.
struct FFTTables {
    int32_t Points = 0;
    int32_t Order = 0;
    std::vector<int32_t> bitReverse;
    std::vector<float> cosTable, sinTable;

    // The shared tables of a power of two from 1 to kMaxComplexFFTPoints; safe from any thread.
    static const FFTTables& of(int32_t points);
};

class clsFFT {
public:
    explicit clsFFT(Nerix::Wrappers& nerix) : nerix_(nerix) {}

    bool IsInitialised = false;
    int32_t Points = 0;
    int32_t Order = 0;

    // Prepares the tables for NumPoints points. Not a power of two raises Invalid procedure call,
    // more than 16384 points Overflow; either leaves the object not ready.
    void FFTInit(int32_t NumPoints);

    // Forward DFT in natural order, unscaled; the inputs are left as they are. Before FFTInit it shows
    // the message and raises Invalid procedure call rather than report success with stale output.
    void FFT_S_2(std::span<const float> reIn, std::span<const float> imIn, std::span<float> reOut,
                 std::span<float> imOut);

    const std::vector<int32_t>& BitReverse() const noexcept { return tables_->bitReverse; }
    const std::vector<float>& CosTable() const noexcept { return tables_->cosTable; }
    const std::vector<float>& SinTable() const noexcept { return tables_->sinTable; }

private:
    static const FFTTables kNoTables;

    Nerix::Wrappers& nerix_;
    const FFTTables* tables_ = &kNoTables;
};
