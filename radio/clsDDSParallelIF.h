// The parallel line interface: SDATA, SCLCK and IOUPD are three configurable bits of a parallel port's
// data register; every line change writes the whole register from a shadow, then settles.
#pragma once

#include "platform/parport/ParallelPort.h"
#include "radio/LineInterfaceBase.h"
#include "radio/ThreeWireLine.h"

class clsDDSParallelIF final : public ThreeWireLine<LineInterfaceBase> {
public:
    clsDDSParallelIF(profile::SettingsStore& store, modTiming::Timing& timing, parport::ParallelPort& port);
    ~clsDDSParallelIF() override;

    int32_t Initialise() override;

    void SDATA(int32_t level) override;
    void SCLCK(int32_t level) override;
    void IOUPD(int32_t level) override;

    int32_t PortAddress() const override { return keys_.PortAddress; }
    void setPortAddress(int32_t value) override { keys_.PortAddress = value; }
    bool Inverting() const override { return keys_.Inverting; }
    void setInverting(bool value) override { keys_.Inverting = value; }
    // Kept AND 7, so a number over 7 still names a bit of the register.
    int32_t IOUPDBitNo() const override { return keys_.IOUPDBitNo; }
    void setIOUPDBitNo(int32_t value) override { keys_.IOUPDBitNo = value & 7; }
    int32_t SDATABitNo() const override { return keys_.SDATABitNo; }
    void setSDATABitNo(int32_t value) override { keys_.SDATABitNo = value & 7; }
    int32_t SCLCKBitNo() const override { return keys_.SCLCKBitNo; }
    void setSCLCKBitNo(int32_t value) override { keys_.SCLCKBitNo = value & 7; }

    // The register as last written.
    uint8_t shadow() const noexcept { return shadow_; }

private:
    void change(int32_t bitNo, bool level);

    parport::ParallelPort& port_;
    uint8_t shadow_ = 0;
};
