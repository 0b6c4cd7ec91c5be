// The CY27EE16 clock generator as an oscillator: tunes the chip in 4 kHz output steps through I2C
// register writes taken from the PLL table, and hands the hertz below the step to the BFO knob.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "clockgen/PllLut.h"
#include "radio/BfoKnob.h"
#include "radio/OscillatorBase.h"

class clsCY27EE16 final : public OscillatorBase {
public:
    // The chip's I2C address 0x69 with the write bit.
    static constexpr uint8_t kDeviceByte = 0xD2;

    explicit clsCY27EE16(profile::SettingsStore& store, BfoKnob* bfoKnob = nullptr);
    // Saves the settings when the object was ever initialised.
    ~clsCY27EE16() override;

    // The front panel hands its knob over once it exists.
    void setBfoKnob(BfoKnob* knob) noexcept { bfoKnob_ = knob; }

    // RestoreSettings, the table, the I2C lines, then the crystal load register; always 0.
    int32_t Initialise() override;
    // f: the chip's output in 0.1 Hz. Not clamped; nothing is sent before Initialise or beyond the
    // table. The result is always empty.
    std::optional<int32_t> SetFrequency(int32_t f) override;
    // The last accepted frequency again (0 before any).
    void Refresh() override;

    // Register 0x09 for the front end's calibration input; used from the next SetFrequency on.
    bool CalibMode() const override { return calibMode_; }
    void setCalibMode(bool value) override { calibMode_ = value; }

    // The crystal load: stored, and written to the chip once it is initialised.
    int32_t XtalCap() const noexcept { return xtalCap_; }
    void setXtalCap(int32_t cap);
    // Stored only, for a caller that knows another oscillator drives the lines now: the value reaches
    // the chip at its next Initialise.
    void keepXtalCap(int32_t cap) noexcept { xtalCap_ = cap; }
    // Writes register 0x13 with the low byte of cap; nothing before Initialise.
    void SetXtalCap(int32_t cap);
    // Sets the BFO knob to hz and applies it; a missing knob raises Object variable not set.
    void TuneHz(int32_t hz);

    // Kept for callers only.
    int32_t OscOut() const noexcept { return oscOut_; }
    void setOscOut(int32_t value) noexcept { oscOut_ = value; }
    using OscillatorBase::setMaxFreq;
    using OscillatorBase::setMinFreq;

    // The table this object built (zeros until Initialise).
    const clockgen::PllLut& table() const noexcept { return lut_; }

protected:
    void startSequence() override;
    void saveExtra(SettingsSection& settings) override;
    void restoreExtra(const SettingsSection& settings) override;

private:
    void tune(int32_t f);
    void writeXtalCap(int32_t cap);
    // One I2C write through the line interface; a failure is skipped.
    void send(std::initializer_list<uint8_t> bytes);
    void update();

    BfoKnob* bfoKnob_;
    clockgen::PllLut lut_;
    int32_t lastFrequency_ = 0;
    int32_t xtalCap_ = 0;
    int32_t oscOut_ = 0;
    bool calibMode_ = false;
    // Set while the object drives the I2C lines: a tuning, a crystal load write or Initialise reached
    // again from a settle wait's message pumping returns at once, so no write is clocked into another.
    bool sending_ = false;
};
