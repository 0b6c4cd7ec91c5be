// The arithmetic of the clock calibration dialog: the oscillator clock under which the tuning word the
// oscillator was last sent gives exactly a station of known frequency.
#pragma once

#include <cstdint>
#include <optional>

namespace radio {

// What the calibration works from: the station's published frequency, the VFO's IF, LO side and
// multipliers as they stand, and the oscillator's current tuning word.
struct CalibrationReading {
    int32_t officialHertz = 0;
    int32_t ifHertz = 0;
    bool hiSideLo = true;
    int32_t oscMultiplier = 1;
    int32_t pllMultiplier = 1;
    int32_t tuningWord = 0;
};

// The clock in hertz that inverts the word formula from the frequency the oscillator really runs at:
// the magnitude of the official frequency plus or minus the IF, times the multiplier ratio rounded to a
// 32-bit float as the VFO uses it. Nothing when no positive clock follows: the oscillator would run at
// 0 Hz, the PLL multiplier is 0, or the ratio or the word is 0 or below.
std::optional<double> calibratedClock(const CalibrationReading& reading);

} // namespace radio
