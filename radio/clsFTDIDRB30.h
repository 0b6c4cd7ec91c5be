// The DRB30 adaptor: a three-wire chip on pins 0 (update), 1 (data) and 2 (clock), and a reset pulse
// train on pin 3.
#pragma once

#include "radio/FtdiLine.h"

class clsFTDIDRB30 final : public FtdiThreeWireLine {
public:
    static constexpr Adaptor kAdaptor{"DRB USB ADP", 0xFF, 38400, 65537};
    static constexpr Pins kPins{1, 2, 0};
    static constexpr uint8_t kResetPin = 0x08;

    clsFTDIDRB30(ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing);

    // 100 pin bytes all low, 900 with only the reset pin high, 100 all low, in three writes; whatever
    // was buffered is dropped and the shadow is kept. Always 0.
    int32_t ResetDevice() override;
};
