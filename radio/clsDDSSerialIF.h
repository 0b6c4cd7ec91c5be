// The serial line interface: IOUPD on DTR and SDATA on RTS (both driven inverted), SCLCK on the TXD
// break; the I2C clock on RTS and data on DTR. In event mode the serial event control owns the port
// (the shaft encoder needs its CTS and DSR events); in poll mode the object opens the port itself.
#pragma once

#include <memory>

#include "platform/comm/MSComm.h"
#include "platform/comm/SerialPort.h"
#include "radio/LineInterfaceBase.h"

class clsDDSSerialIF final : public LineInterfaceBase {
public:
    clsDDSSerialIF(profile::SettingsStore& store, modTiming::Timing& timing, comm::SerialPortOpener& ports);
    // Closes the port, then saves the settings.
    ~clsDDSSerialIF() override;

    int32_t Initialise() override;
    void RestoreSettings() override;
    void SaveSettings() override;
    // In poll mode 1 when the port closed (0 when that failed), in event mode 0; 0 with no port open.
    int32_t ClosePort() override;
    // The port's handle, or 0 (after a message) when it did not open; the handle in use while open.
    int32_t OpenPort(bool eventMode) override;
    int32_t openPortError() const override { return openError_; }
    int32_t PortNo() const override { return portNo_; }
    void setPortNo(int32_t value) override { portNo_ = value; }
    // The modem-status word (CTS 0x10, DSR 0x20); 0 with no port open.
    int32_t GetEncoderBits() override;
    comm::MSComm* MSCommCtl() const override { return control_; }
    void setMSCommCtl(comm::MSComm* value) override { control_ = value; }

    void SDATA(int32_t level) override;
    void SCLCK(int32_t level) override;
    void IOUPD(int32_t level) override;
    void Out8(uint8_t value) override { sequenceOut8(value, true); }
    void Out16(uint16_t value) override;
    int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) override;
    void I2CInit() override { sequenceI2CInit(); }
    int32_t I2CSendSeq(std::span<const uint8_t> bytes, int32_t count) override;

    int32_t hComm() const noexcept { return hComm_; }
    bool EventMode() const noexcept { return eventMode_; }

    static constexpr std::string_view kOpenSource = "clsDDSSerialIF:clsDDSSerialIF:OpenPort";
    static constexpr std::string_view kSetValidPort =
        "Please Set valid COM port in Configuration, then Close and Restart";

protected:
    void setI2CClock(int32_t level) override {
        escape(level > 0 ? comm::LineCode::SetRts : comm::LineCode::ClrRts);
    }
    void setI2CData(int32_t level) override {
        escape(level > 0 ? comm::LineCode::SetDtr : comm::LineCode::ClrDtr);
    }
    void i2cWait() override { settle(); }
    void i2cIdleWait() override { timing()->DelayMicroseconds(1.0f); }

private:
    // The lines of the port in use: the poll-mode port, or the control's in event mode.
    comm::SerialControlLines* lines();
    // A line change with no port open moves nothing and raises nothing.
    void escape(comm::LineCode code);
    int32_t openEventMode();
    int32_t openPollMode();

    comm::SerialPortOpener& ports_;
    comm::MSComm* control_ = nullptr;
    std::unique_ptr<comm::SerialPort> pollPort_;
    int32_t portNo_ = 1;
    int32_t hComm_ = 0;
    int32_t openError_ = 0;
    bool eventMode_ = false;
};
