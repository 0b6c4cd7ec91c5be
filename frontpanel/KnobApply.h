// The computing half of the knob apply routines that set what the receive chain reads: each takes the
// knob's value, writes the receiver state, and returns what the knob's label shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dsp/Nerix.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"

namespace MouseOverS {

// The BFO offset a BFO knob value gives: the value signed by the LO side, rounded.
int32_t BfoOffsetOf(const ReceiverState& state, float value);
// BFO knob: BfoOffset (signed by the LO side), the IF shift, MixerCentre and NcoIncrement (the only
// writer of it). Returns BfoOffset, which the BFO and IF-shift knobs show and the IF-shift knob holds.
int32_t SetBFO(ReceiverState& state, float value);
// IF-shift knob: MixerCentre = BaseIF + value; NcoIncrement stays.
void SetIFShift(ReceiverState& state, float value);

// AGC attack knob (tenths of a millisecond): the history length and its weights, a line from 1.0 down
// to 0.0. Returns the attack time in milliseconds for the label.
float SetAGCAttack(ReceiverState& state, Nerix::Wrappers& nerix, float value);
// AGC decay knob (tenths of a millisecond): the gain ramp's length in samples. Returns whole ms.
int32_t SetAGCDecay(ReceiverState& state, float value);

// Noise-reduction knob: NbLevel from the value over the knob's range. Returns NbLevel x 100.
float SetNB(ReceiverState& state, float value, float knobMax, float knobMin);

// Volume knob: OutputAttenuation (a gain factor above 0, 1/100 dB for the engine otherwise). Returns
// the label's new text in decibels (the knob's picture, signed by "+" or "-" in front of it), or nothing
// where the value leaves both unchanged.
std::optional<std::string> ApplyOutVol(ReceiverState& state, float value, std::string_view format = "0.0");

// AF filter knobs.
void lblFilterHi_Wheel(ReceiverState& state, float value);
void lblFilterLo_Wheel(ReceiverState& state, float value);
// IF filter knobs: the working edge of the table row for the IF filter mode and demodulation mode.
void SetIFHi(ReceiverState& state, frontpanel::FilterTables& tables, float value);
void SetIFLo(ReceiverState& state, frontpanel::FilterTables& tables, float value);

} // namespace MouseOverS
