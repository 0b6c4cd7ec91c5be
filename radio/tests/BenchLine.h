// A line interface for the sequence tests: the serial port's line mapping over the simulated control
// lines, with the settle wait after every change, offering every sequence.
#pragma once

#include <functional>

#include "platform/comm/SerialControlLines.h"
#include "radio/LineInterfaceBase.h"

class BenchLine final : public LineInterfaceBase {
public:
    BenchLine(profile::SettingsStore& store, modTiming::Timing& timing, comm::SerialControlLines& port)
        : LineInterfaceBase("BenchLine", 5e-6, store, &timing), port_(port) {}

    int32_t Initialise() override {
        timing()->InitTiming();
        RestoreSettings();
        markInitialised();
        return 0;
    }
    void RestoreSettings() override {
        if (hasSection()) restoreWaitTime(section(), "SerialWaitTime");
    }
    void SaveSettings() override {}
    int32_t ClosePort() override { return 0; }

    void IOUPD(int32_t level) override {
        change(level > 0 ? comm::LineCode::ClrDtr : comm::LineCode::SetDtr);
    }
    void SDATA(int32_t level) override {
        change(level != 0 ? comm::LineCode::ClrRts : comm::LineCode::SetRts);
    }
    void SCLCK(int32_t level) override {
        change((level & 1) == 1 ? comm::LineCode::SetBreak : comm::LineCode::ClrBreak);
    }
    void Out8(uint8_t value) override { sequenceOut8(value, true); }
    void Out8LSB(uint8_t value) override { sequenceOut8(value, false); }
    void Out16(uint16_t value) override { sequenceOut16(value); }
    int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) override {
        return sequenceSend(bytes, count, true);
    }
    int32_t SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) override {
        return sequenceSend(bytes, count, false);
    }
    void I2CInit() override { sequenceI2CInit(); }
    int32_t I2CSendSeq(std::span<const uint8_t> bytes, int32_t count) override {
        return sequenceI2CSendSeq(bytes, count);
    }

    // Runs before each line change; a test makes it throw to break a sequence part-way.
    std::function<void()> beforeChange;

protected:
    void setI2CClock(int32_t level) override {
        port_.escape(level > 0 ? comm::LineCode::SetRts : comm::LineCode::ClrRts);
    }
    void setI2CData(int32_t level) override {
        port_.escape(level > 0 ? comm::LineCode::SetDtr : comm::LineCode::ClrDtr);
    }
    void i2cWait() override { settle(); }
    void i2cIdleWait() override { timing()->DelayMicroseconds(1.0f); }

private:
    void change(comm::LineCode code) {
        if (beforeChange) beforeChange();
        port_.escape(code);
        settle();
    }

    comm::SerialControlLines& port_;
};
