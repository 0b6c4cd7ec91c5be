// The oscillator of crystal-controlled I/Q receivers: it tunes by moving the signal path's oscillator,
// writing the offset from the crystal into the front panel's BFO knob and applying it.
#pragma once

#include "radio/BfoKnob.h"
#include "radio/OscillatorBase.h"

class clsSoftDDS final : public OscillatorBase {
public:
    explicit clsSoftDDS(profile::SettingsStore& store, BfoKnob* bfoKnob = nullptr);
    ~clsSoftDDS() override;

    // The front panel hands its knob over once it exists.
    void setBfoKnob(BfoKnob* knob) noexcept { bfoKnob_ = knob; }

    std::optional<int32_t> SetFrequency(int32_t f) override;
    void Refresh() override {}
    // ClkIn is the sound card's sampling rate: it sets the tuning range, while the frequency comes from
    // the crystal, so no word and no clock follow from a station heard.
    bool hasCalibratableClock() const override { return false; }

protected:
    void limitsFromClock() override { limitsAroundBase(); }

private:
    BfoKnob* bfoKnob_;
};
