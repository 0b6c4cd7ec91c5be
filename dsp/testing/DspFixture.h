// The two libraries as built, bound by path, with the receiver state the wrappers read.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "dsp/Nerix.h"

struct DspLibraries {
    ReceiverState state;
    nerixdll::NerixDll nerix{NERIX_TEST_NERIX_LIB};
    nspdll::NspDll nsp{NERIX_TEST_NSP_LIB};
    Nerix::Wrappers wrappers{state, nerix, nsp};
};

// Seeded values in [-scale, scale).
inline std::vector<float> randomFloats(size_t n, uint32_t seed, float scale = 1.0f) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-scale, scale);
    std::vector<float> v(n);
    for (float& x : v)
        x = dist(rng);
    return v;
}
