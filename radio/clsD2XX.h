// The FTDI driver wrapper: one adaptor handle, the status of the last driver call and one operation per
// driver call the adaptor line interfaces make. Every failure comes back only as the returned status.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/ftdi/FtdiDriver.h"

class clsD2XX {
public:
    explicit clsD2XX(ftdi::FtdiDriver& driver) : driver_(driver) {}
    // Closes the adaptor when it is still open.
    ~clsD2XX();
    clsD2XX(const clsD2XX&) = delete;
    clsD2XX& operator=(const clsD2XX&) = delete;

    int32_t FT_Handle() const noexcept { return FT_Handle_; }
    int32_t FT_IO_Status() const noexcept { return FT_IO_Status_; }
    int32_t FT_Current_Baud() const noexcept { return FT_Current_Baud_; }
    bool FT_Enable_Error_Report() const noexcept { return FT_Enable_Error_Report_; }
    void setFT_Enable_Error_Report(bool value) noexcept { FT_Enable_Error_Report_ = value; }

    int32_t Open_USB_Device_By_Device_Description(std::string_view description);
    int32_t Close_USB_Device();
    int32_t Set_USB_Device_BitMode(uint8_t mask, uint8_t mode);
    int32_t Set_USB_Device_BaudRate(int32_t baudRate);
    // Writes the first count bytes; the count the driver reports as written is not passed back.
    int32_t Write_USB_Device_Buffer(std::span<const uint8_t> buffer, int32_t count);
    int32_t Get_USB_Device_Queue_Status(int32_t& count);
    // Reads at most the buffer's size, whatever is wanted; the rest stays queued for the next read.
    int32_t Read_USB_Device(std::span<uint8_t> buffer, int32_t wanted, int32_t& got);

private:
    int32_t keep(ftdi::FT_STATUS status) noexcept { return FT_IO_Status_ = status; }

    ftdi::FtdiDriver& driver_;
    int32_t FT_Handle_ = 0;
    int32_t FT_IO_Status_ = 0;
    int32_t FT_Current_Baud_ = 9600;
    bool FT_Enable_Error_Report_ = false;
};
