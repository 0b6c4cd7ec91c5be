// The tuning steps as the front panel shows them: the step selector's texts, the readout digit and
// multiplier each step sits on, and the tuning-rate caption of a step on a digit.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace frontpanel {

inline constexpr int32_t kTuningStepEntries = 18;
// Tenths of a hertz, largest first, as the start-up fills it.
using TuningStepTable = std::array<int32_t, kTuningStepEntries>;

// A step's place on the readout: 10^(8 - digit) x multiplier tenths of a hertz.
struct StepPlace {
    int32_t digit;
    float multiplier;
};

// The place of table entry index: entries 0-4 on digit 4, 5-8 on 5, 9-11 on 6, 12-14 on 7, 15-17 on 8.
// An index outside the table raises Subscript out of range.
StepPlace StepPlaceOf(const TuningStepTable& steps, int32_t index);

// The selector's text of a step: "2.5 KHz" right-aligned in 7 characters, "500 Hz" in 6, "5 dHz" in 7.
std::string TuningStepListText(int32_t step);

// The tuning-rate caption of a step on a digit: "x 10 MHz", "x 2.5 KHz", "x 1000 Hz", "x 5 dHz". A
// negative digit gives nothing (the caption stays).
std::string TuningRateCaption(int32_t digit, double step);

} // namespace frontpanel
