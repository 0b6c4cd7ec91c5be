// What the parallel interface and the three-wire FTDI adaptors that stand in for it share: the three
// lines of a serial-word chip (data, clock, update) with every sequence offered over them, nothing for
// ClosePort to close, and the parallel port's keys in a model's section.
#pragma once

#include <cstdint>
#include <span>

#include "radio/SettingsSection.h"

// The parallel port's keys, with "ParallelWaitTime" for the settle time. Bit numbers are kept AND 7, so a
// number over 7 still names a bit of a register.
struct ParallelKeys {
    int32_t PortAddress = 888;
    bool Inverting = false;
    int32_t IOUPDBitNo = 2;
    int32_t SDATABitNo = 0;
    int32_t SCLCKBitNo = 1;
};

// Base is LineInterfaceBase or a class built on it; the class gives SDATA, SCLCK, IOUPD and Initialise.
template <class Base> class ThreeWireLine : public Base {
public:
    void RestoreSettings() override {
        if (!this->hasSection()) return;
        const SettingsSection settings = this->section();
        keys_.PortAddress = settings.readInt32("PortAddress", keys_.PortAddress);
        this->restoreWaitTime(settings, "ParallelWaitTime");
        keys_.Inverting = settings.readBool("Inverting", keys_.Inverting);
        keys_.IOUPDBitNo = settings.readInt32("IOUPDBitNo", keys_.IOUPDBitNo) & 7;
        keys_.SDATABitNo = settings.readInt32("SDATABitNo", keys_.SDATABitNo) & 7;
        keys_.SCLCKBitNo = settings.readInt32("SCLCKBitNo", keys_.SCLCKBitNo) & 7;
    }
    // Written only by an initialised object with a section.
    void SaveSettings() override {
        if (!this->canSaveSettings()) return;
        SettingsSection settings = this->section();
        settings.writeInt("PortAddress", keys_.PortAddress);
        settings.writeDouble("ParallelWaitTime", this->WaitTime());
        settings.writeBool("Inverting", keys_.Inverting);
        settings.writeInt("IOUPDBitNo", keys_.IOUPDBitNo);
        settings.writeInt("SDATABitNo", keys_.SDATABitNo);
        settings.writeInt("SCLCKBitNo", keys_.SCLCKBitNo);
        settings.commit();
    }
    int32_t ClosePort() override { return 0; }

    void Out8(uint8_t value) override { this->sequenceOut8(value, true); }
    void Out8LSB(uint8_t value) override { this->sequenceOut8(value, false); }
    void Out16(uint16_t value) override { this->sequenceOut16(value); }
    int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) override {
        return this->sequenceSend(bytes, count, true);
    }
    int32_t SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) override {
        return this->sequenceSend(bytes, count, false);
    }

protected:
    using Base::Base;

    ParallelKeys keys_;
};
