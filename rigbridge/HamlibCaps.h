// What the bridge reads from Hamlib's capabilities of a rig model, apart from the exports, since Hamlib's
// header declares its calls under the names the bridge exports.
#pragma once

namespace rigbridge {

// Where a rig's capabilities name no receive range, a frequency beyond any radio's.
inline constexpr double kHighestFrequencyOfAnyRig = 1e12;

// The highest frequency in the receive ranges of Hamlib's capabilities (a const rig_caps*), or
// kHighestFrequencyOfAnyRig when they list none.
double highestReceiveFrequency(const void* caps) noexcept;

} // namespace rigbridge
