// The AD9850 and AD9851 drivers: a 40-bit word (tuning word and control byte) clocked in least
// significant bit first and taken on the update line's rising edge. The twins differ only in traits and
// the control byte.
#pragma once

#include "radio/OscillatorBase.h"

class LineInterface;

// The AD985x line sequences, which the Hamlib oscillator repeats on its line interface as well.
namespace ad985x {
// Data and clock low, then one pulse of the update line.
void startLines(LineInterface& line);
// The tuning word and control byte, least significant byte first, then update high, low, high.
void refreshLines(LineInterface& line, int32_t word, uint8_t control);
} // namespace ad985x

class clsAD985x : public OscillatorBase {
public:
    // Calls from outside share one guard with Refresh and Initialise, so a refresh pumped from a settle
    // wait can never clock its bits into a word that is still being sent.
    std::optional<int32_t> SetFrequency(int32_t f) override;
    int32_t Initialise() override;
    void Refresh() override;

protected:
    clsAD985x(const Traits& traits, profile::SettingsStore& store, uint8_t controlByte);

    void startSequence() override;
    void output(int32_t f, int32_t word) override;

private:
    uint8_t controlByte_;
    bool sending_ = false;
};
