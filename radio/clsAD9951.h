// The AD9951 driver: instruction byte and register bytes most significant bit first, put into force by
// a rising I/O update. It sets up both control registers once per Initialise and writes frequency
// tuning word 0 for each frequency.
#pragma once

#include "radio/OscillatorBase.h"

class clsAD9951 final : public OscillatorBase {
public:
    explicit clsAD9951(profile::SettingsStore& store);
    ~clsAD9951() override;

    void setBaseFrequency(int32_t hertz) override;
    // Calls from outside share one guard with Refresh and Initialise (see clsAD985x).
    std::optional<int32_t> SetFrequency(int32_t f) override;
    int32_t Initialise() override;
    void Refresh() override;
    void InitialiseChip() override;
    // Its settings are written at shutdown and never read back.
    void RestoreSettings() override { unsupported("RestoreSettings"); }

    bool CalibMode() const override { return calibMode_; }
    void setCalibMode(bool value) override { calibMode_ = value; }

    // The low byte of control function register 2: multiplier x8, charge pump 11, and the VCO-range bit.
    uint8_t controlRegister2LowByte() const;

protected:
    void limitsFromClock() override;
    void startSequence() override;
    void output(int32_t f, int32_t word) override;

private:
    std::optional<int32_t> setFrequencyInside(int32_t f);
    void limits();

    int32_t lastRequested_ = 0;
    bool calibMode_ = false;
    bool sending_ = false;
};
