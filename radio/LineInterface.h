// The LineInterface member set: every member an oscillator driver, the receiver set-up, the dialogs or
// the shaft encoder may call on a line interface. A class offers only what its hardware needs; calling
// a member it leaves out raises Object doesn't support this property or method (438), never more.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace comm {
class MSComm;
}

class LineInterface {
public:
    virtual ~LineInterface() = default;

    // Every class.
    virtual std::string Name() const;
    virtual void setName(std::string value);
    virtual std::string RxName() const;
    virtual void setRxName(std::string value);
    // Seconds.
    virtual double WaitTime() const;
    virtual void setWaitTime(double seconds);
    virtual int32_t Initialise();
    virtual void RestoreSettings();
    virtual void SaveSettings();
    virtual int32_t ClosePort();
    virtual int32_t ResetDevice();
    virtual int32_t UpdateDevice();

    // Three-wire chips.
    virtual void SDATA(int32_t level);
    virtual void SCLCK(int32_t level);
    virtual void IOUPD(int32_t level);
    virtual void Out8(uint8_t value);
    virtual void Out8LSB(uint8_t value);
    virtual void Out16(uint16_t value);
    // A framed burst of the first count bytes; 0, or -32767 while the same member is already sending.
    virtual int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count);
    virtual int32_t SendSeqLSB(std::span<const uint8_t> bytes, int32_t count);

    // I2C.
    virtual void I2CInit();
    virtual int32_t I2CSendSeq(std::span<const uint8_t> bytes, int32_t count);

    // Serial port only.
    virtual int32_t OpenPort(bool eventMode);
    // The system's error number (errno) of the last OpenPort that gave 0; 0 when it opened.
    virtual int32_t openPortError() const;
    virtual int32_t PortNo() const;
    virtual void setPortNo(int32_t value);
    virtual int32_t GetEncoderBits();
    // The serial event control used in event mode; not owned.
    virtual comm::MSComm* MSCommCtl() const;
    virtual void setMSCommCtl(comm::MSComm* value);

    // Parallel port only.
    virtual int32_t PortAddress() const;
    virtual void setPortAddress(int32_t value);
    virtual bool Inverting() const;
    virtual void setInverting(bool value);
    virtual int32_t IOUPDBitNo() const;
    virtual void setIOUPDBitNo(int32_t value);
    virtual int32_t SDATABitNo() const;
    virtual void setSDATABitNo(int32_t value);
    virtual int32_t SCLCKBitNo() const;
    virtual void setSCLCKBitNo(int32_t value);

    // FT232 adaptor only.
    virtual uint8_t PortState() const;
    virtual void setPortState(uint8_t value);

    // US232C adaptor only (the shaft encoder's input pins).
    virtual bool FT_Error_Report() const;
    virtual void setFT_Error_Report(bool value);
    virtual int32_t Get_USB_Device_Queue_Status(int32_t& count);
    virtual int32_t Read_USB_Device(std::span<uint8_t> buffer, int32_t wanted, int32_t& got);

    // The program-wide status of a line sequence that is already running.
    static constexpr int32_t kSequenceBusy = -32767;

protected:
    // What the class is called in error sources before the receiver set-up renames it.
    virtual std::string_view className() const = 0;
    [[noreturn]] void unsupported(std::string_view member) const;
};
