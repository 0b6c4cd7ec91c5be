// The detectors' arithmetic over one 2048-sample block: plain functions, the state a detector carries
// from block to block passed in. The receive chain runs the filters around them.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "dsp/Nerix.h"

namespace Nerix {

// The squared envelope I² + Q² into out; no square root, as the level stages expect.
void detectAm(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out);

// The sideband pair's sum I + Q (sum true) or difference I − Q into out.
void detectSsb(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out,
               bool sum);

// (I + Q) + (I − Q) into out; scratch holds one block.
void detectSam(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out,
               std::span<float> scratch);

// The last six squares the BC detector saw, newest first.
using BcWindow = std::array<float, 6>;

// Square-law envelope of n samples: in is squared in place, and each out sample is the root of the
// window's sum divided by the window's length (not the root of the mean). in may be out.
void detectBc(Wrappers& nerix, std::span<float> in, std::span<float> out, int32_t n, BcWindow& window);

// The phase step of each sample, without unwrapping (a wrap gives one large sample), as
// (|step| − π/2) · 4096 into out. magnitude and phase hold one block of scratch; lastPhase carries the
// block's last phase to the next block.
void detectFm(Wrappers& nerix, std::span<const float> I, std::span<const float> Q, std::span<float> out,
              std::span<float> magnitude, std::span<float> phase, float& lastPhase);

} // namespace Nerix
