// The FT232R adaptor as an I2C bus: SCL on pin 1, SDA on pin 0; the other pins of PortState go out
// unchanged with every pin byte.
#pragma once

#include "radio/FtdiLine.h"

class clsFT232IF final : public FtdiLine {
public:
    static constexpr Adaptor kAdaptor{"FT232R USB UART", 0xFF, 400000, 1025};

    clsFT232IF(ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing);
    ~clsFT232IF() override;

    int32_t Initialise() override;
    void RestoreSettings() override;
    void SaveSettings() override;
    // Closes the adaptor; the next UpdateDevice opens it again. Always 0.
    int32_t ClosePort() override;

    void I2CInit() override { sequenceI2CInit(); }
    int32_t I2CSendSeq(std::span<const uint8_t> bytes, int32_t count) override {
        return sequenceI2CSendSeq(bytes, count);
    }

    // Stored unchanged; reaches the pins with the next pin byte.
    uint8_t PortState() const override { return portState_; }
    void setPortState(uint8_t value) override { portState_ = value; }

protected:
    void setI2CClock(int32_t level) override { setPin(sclPin_, level); }
    void setI2CData(int32_t level) override { setPin(sdaPin_, level); }

private:
    void setPin(int32_t pinNo, int32_t level);

    uint8_t portState_ = 0;
    int32_t sclPin_ = 1;
    int32_t sdaPin_ = 0;
};
