// What the receive-chain benchmarks share: the I/Q rig with every option on, and the real-time multiple.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "bench/ReceiverRig.h"

namespace bench {

inline constexpr int32_t kN = 2048;
inline constexpr double kBlockSeconds = 2048.0 / 48000.0;

// The multiple of real time a loop of blocks ran at, as a plain number: the audio the blocks hold over
// the time the loop took. (A rate counter would print it per second.)
class RealTimeMultiple {
public:
    double of(int64_t blocks) const {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        return seconds > 0 ? double(blocks) * kBlockSeconds / seconds : 0.0;
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// The I/Q chain with every option on (noise reduction, the AF notch, the dynamic AF filter, the AGC, the
// BFO through the oscillator) and a block of a station 11 kHz off the LO in noise.
struct IqRig : offline::ReceiverRig {
    explicit IqRig(int32_t mode, std::string nerixLibrary = nerixdll::kLibraryName)
        : offline::ReceiverRig(std::move(nerixLibrary)) {
        state.IQMode = true;
        state.VFOControl = true;
        state.FilterLo = 300;
        state.FilterHi = 3000;
        state.AGCOn = true;
        state.NBOn = true;
        SetUp(mode, 300.0f);
        bank->NotchFilter.MakeFilter();
        bank->NotchFilter.Active = true;
        state.NotchType = NotchType::AF;
        state.DynFilterActive = true;
        bank->AfFilter.Active = true;
        std::mt19937 rng(1);
        std::normal_distribution<double> noise(0.0, 800.0);
        for (int k = 0; k < kN; ++k) {
            const double ph = 2 * M_PI * 11000.0 * k / 48000.0;
            i[size_t(k)] = int16_t(std::lround(6000.0 * std::cos(ph) + noise(rng)));
            q[size_t(k)] = int16_t(std::lround(6000.0 * std::sin(ph) + noise(rng)));
        }
    }
    // One block through the I/Q chain.
    void block() {
        std::copy(i.begin(), i.end(), a.begin());
        path->Chain().DoDSPIQ(a.data(), q.data(), kN);
        benchmark::DoNotOptimize(a.data());
    }
    std::vector<int16_t> i = std::vector<int16_t>(kN), q = std::vector<int16_t>(kN),
                         a = std::vector<int16_t>(kN);
};

} // namespace bench
