// The AD9835 driver: 16-bit control words framed by frame sync; FREQ0 is loaded through the defer
// register, upper half first. The chip leaves reset once, at Initialise.
#pragma once

#include "radio/OscillatorBase.h"

class clsAD9835 final : public OscillatorBase {
public:
    explicit clsAD9835(profile::SettingsStore& store);
    ~clsAD9835() override;

    // Calls from outside share one guard with Refresh and Initialise (see clsAD985x).
    std::optional<int32_t> SetFrequency(int32_t f) override;
    int32_t Initialise() override;
    // Sends the VFO's last oscillator frequency again; the VFO is the one in Parent.
    void Refresh() override;

protected:
    void startSequence() override;

private:
    std::optional<int32_t> setFrequencyInside(int32_t f);

    bool sending_ = false;
};
