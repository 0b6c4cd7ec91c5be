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

protected:
    void limitsFromClock() override { limitsAroundBase(); }

private:
    BfoKnob* bfoKnob_;
};
