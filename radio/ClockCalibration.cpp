// The clock calibration's formula.
#include "radio/ClockCalibration.h"

#include <cmath>
#include <cstdlib>

namespace radio {

std::optional<double> calibratedClock(const CalibrationReading& reading) {
    const int64_t official = reading.officialHertz;
    const int64_t ifHertz = reading.ifHertz;
    // The oscillator runs at the magnitude, on either side, as the VFO sends it.
    const int64_t f = std::llabs(reading.hiSideLo ? ifHertz + official : official - ifHertz);
    if (f == 0 || reading.pllMultiplier == 0) return std::nullopt;
    // The tuning word was computed from the frequency times the VFO's multiplier ratio.
    const double r = static_cast<float>(static_cast<double>(reading.oscMultiplier) / reading.pllMultiplier);
    if (reading.tuningWord <= 0 || !std::isfinite(r) || r <= 0) return std::nullopt;
    const double clock = 4294967296.0 * (static_cast<double>(f) * r * 10) / reading.tuningWord / 10;
    if (!std::isfinite(clock) || clock <= 0) return std::nullopt;
    return clock;
}

} // namespace radio
