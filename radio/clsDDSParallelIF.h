// The parallel line interface: SDATA, SCLCK and IOUPD are three configurable bits of a parallel port's
// data register; every line change writes the whole register from a shadow, then settles.
#pragma once

#include "platform/parport/ParallelPort.h"
#include "radio/LineInterfaceBase.h"

class clsDDSParallelIF final : public LineInterfaceBase {
public:
    clsDDSParallelIF(profile::SettingsStore& store, modTiming::Timing& timing, parport::ParallelPort& port);
    ~clsDDSParallelIF() override;

    int32_t Initialise() override;
    void RestoreSettings() override;
    void SaveSettings() override;
    int32_t ClosePort() override { return 0; }

    void SDATA(int32_t level) override;
    void SCLCK(int32_t level) override;
    void IOUPD(int32_t level) override;
    void Out8(uint8_t value) override { sequenceOut8(value, true); }
    void Out8LSB(uint8_t value) override { sequenceOut8(value, false); }
    void Out16(uint16_t value) override { sequenceOut16(value); }
    int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) override;
    int32_t SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) override;

    int32_t PortAddress() const override { return portAddress_; }
    void setPortAddress(int32_t value) override { portAddress_ = value; }
    bool Inverting() const override { return inverting_; }
    void setInverting(bool value) override { inverting_ = value; }
    // Kept AND 7, so a number over 7 still names a bit of the register.
    int32_t IOUPDBitNo() const override { return ioupdBit_; }
    void setIOUPDBitNo(int32_t value) override { ioupdBit_ = value & 7; }
    int32_t SDATABitNo() const override { return sdataBit_; }
    void setSDATABitNo(int32_t value) override { sdataBit_ = value & 7; }
    int32_t SCLCKBitNo() const override { return sclckBit_; }
    void setSCLCKBitNo(int32_t value) override { sclckBit_ = value & 7; }

    // The register as last written.
    uint8_t shadow() const noexcept { return shadow_; }

private:
    void change(int32_t bitNo, bool level);

    parport::ParallelPort& port_;
    int32_t portAddress_ = 888;
    bool inverting_ = false;
    int32_t sdataBit_ = 0;
    int32_t sclckBit_ = 1;
    int32_t ioupdBit_ = 2;
    uint8_t shadow_ = 0;
};
