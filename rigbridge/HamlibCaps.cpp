// Hamlib's receive ranges of a rig model, read from its capabilities.
#include "rigbridge/HamlibCaps.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace rigbridge {

double highestReceiveFrequency(const void* caps) noexcept {
    if (caps == nullptr) return kHighestFrequencyOfAnyRig;
    const auto& c = *static_cast<const rig_caps*>(caps);
    // A model's versions for the regions each have a list; the rig may be any of them.
    const std::array<const freq_range_t*, 5> lists = {c.rx_range_list1, c.rx_range_list2, c.rx_range_list3,
                                                      c.rx_range_list4, c.rx_range_list5};
    double highest = 0;
    for (const freq_range_t* list : lists)
        for (int i = 0; i < HAMLIB_FRQRANGESIZ && !RIG_IS_FRNG_END(list[i]); ++i) {
            const freq_range_t& range = list[i];
            // A range that is no range says nothing of the rig.
            if (!std::isfinite(range.endf) || !(range.startf >= 0) || range.startf > range.endf) continue;
            highest = std::max(highest, range.endf);
        }
    return highest > 0 ? highest : kHighestFrequencyOfAnyRig;
}

} // namespace rigbridge
