// The level stages' arithmetic that needs no receiver state, over one 2048-sample block; the receive
// chain keeps the meters, the AGC's history and the output attenuation.
#pragma once

#include <span>

#include "dsp/Nerix.h"

namespace Nerix {

// The block's sum of squares; scratch holds one block.
float blockPower(Wrappers& nerix, std::span<const float> v, std::span<float> scratch);

// The RMS level the meters show, from a block's sum of squares.
float blockLevel(float power);

// Scales v down so its largest magnitude is limit; a block within the limit is left alone.
void limitPeak(Wrappers& nerix, std::span<float> v, float limit);

} // namespace Nerix
