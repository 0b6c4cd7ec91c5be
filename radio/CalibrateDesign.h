// Where the calibration dialog places its buttons (twips, in its client area). The dialog is built from
// these, and whatever drives it from outside clicks at the same places.
#pragma once

#include "platform/ui/DesignRect.h"

namespace radio::design {

// "&Try It", "&Apply", "&Cancel", in one row under the readings.
inline constexpr ui::DesignRect cmdTry{120, 2040, 1500, 420};
inline constexpr ui::DesignRect cmdApply{1770, 2040, 1500, 420};
inline constexpr ui::DesignRect cmdCancel{3420, 2040, 1500, 420};

} // namespace radio::design
