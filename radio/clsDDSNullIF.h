// The line interface of receivers whose oscillator needs no pins: it accepts every three-wire member
// and moves nothing, so drivers written for a real interface run unchanged.
#pragma once

#include "radio/LineInterfaceBase.h"

class clsDDSNullIF final : public LineInterfaceBase {
public:
    explicit clsDDSNullIF(profile::SettingsStore& store);

    // Kept in seconds exactly as set; nothing ever waits on it.
    double WaitTime() const override { return waitSeconds_; }
    void setWaitTime(double seconds) override { waitSeconds_ = seconds; }

    int32_t Initialise() override;
    void RestoreSettings() override {}
    void SaveSettings() override {}
    int32_t ClosePort() override { return 0; }

    void SDATA(int32_t) override {}
    void SCLCK(int32_t) override {}
    void IOUPD(int32_t) override {}
    void Out8(uint8_t) override {}
    void Out8LSB(uint8_t) override {}
    void Out16(uint16_t) override {}
    int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) override;
    int32_t SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) override;

protected:
    bool sequencesNeedInitialise() const override { return false; }

private:
    double waitSeconds_ = 1.0 / 230400.0;
};
