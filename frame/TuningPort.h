// The tuning as the receive chain, the block drivers and the recorder reach it: the VFO in use, behind
// an adapter the main window owns.
#pragma once

#include <cstdint>
#include <optional>

class TuningPort {
public:
    virtual ~TuningPort() = default;
    // The tuned frequency, tenths of a hertz.
    virtual int32_t TunedFrequency() const = 0;
    // The oscillator's base frequency over the VFO's multiplier, in hertz; none without an oscillator or
    // with a zero multiplier, where there is no local oscillator to compare with.
    virtual std::optional<double> OscillatorBase() const = 0;
    // The IF, hertz.
    virtual int32_t IFFrequency() const = 0;
    // Puts the local oscillator on the high side of the signal (true) or the low side.
    virtual void SetHiSideLo(bool high) = 0;
};

// Whether the I/Q chain takes the upper side for a tuned frequency (tenths of a hertz) against the
// oscillator's base over its multiplier (whole hertz): above the base it does, below it not; on the base
// the last step's direction decides, a step down choosing the lower side. lastTuned is 0 before any tuning.
inline bool iqUpperSide(int32_t tuned, int32_t baseHz, int32_t lastTuned) {
    const int32_t hz = tuned / 10;
    if (hz != baseHz) return hz > baseHz;
    return !(lastTuned > tuned);
}
