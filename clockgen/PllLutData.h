// The table's values as the build-time generator computed them; only PllLut reads them.
#pragma once

#include <array>

#include "clockgen/PllLut.h"

namespace clockgen::detail {

extern const std::array<PllLutEntry, kPllLutSize> kPllLutData;

} // namespace clockgen::detail
