// The FTDI driver wrapper.
#include "radio/clsD2XX.h"

#include <algorithm>

#include "platform/runtime/RuntimeError.h"

clsD2XX::~clsD2XX() {
    if (FT_Handle_ != 0) Close_USB_Device();
}

int32_t clsD2XX::Open_USB_Device_By_Device_Description(std::string_view description) {
    FT_Handle_ = 0;
    return keep(driver_.FT_OpenEx(description, FT_Handle_));
}

int32_t clsD2XX::Close_USB_Device() {
    const ftdi::FT_STATUS status = driver_.FT_Close(FT_Handle_);
    FT_Handle_ = 0;
    return keep(status);
}

int32_t clsD2XX::Set_USB_Device_BitMode(uint8_t mask, uint8_t mode) {
    return keep(driver_.FT_SetBitMode(FT_Handle_, mask, mode));
}

int32_t clsD2XX::Set_USB_Device_BaudRate(int32_t baudRate) {
    FT_Current_Baud_ = baudRate;
    // The driver takes the rate unsigned, as its 32-bit word.
    return keep(driver_.FT_SetBaudRate(FT_Handle_, static_cast<uint32_t>(baudRate)));
}

int32_t clsD2XX::Write_USB_Device_Buffer(std::span<const uint8_t> buffer, int32_t count) {
    // A count beyond the array would send memory that is not the caller's.
    if (count < 0 || static_cast<std::size_t>(count) > buffer.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, "clsD2XX.Write_USB_Device_Buffer");
    uint32_t written = 0;
    return keep(driver_.FT_Write(FT_Handle_, buffer.data(), static_cast<uint32_t>(count), written));
}

int32_t clsD2XX::Get_USB_Device_Queue_Status(int32_t& count) {
    uint32_t waiting = 0;
    const ftdi::FT_STATUS status = driver_.FT_GetQueueStatus(FT_Handle_, waiting);
    count = static_cast<int32_t>(std::min<uint32_t>(waiting, INT32_MAX));
    return keep(status);
}

int32_t clsD2XX::Read_USB_Device(std::span<uint8_t> buffer, int32_t wanted, int32_t& got) {
    const auto n = static_cast<uint32_t>(std::clamp<int64_t>(wanted, 0, static_cast<int64_t>(buffer.size())));
    uint32_t read = 0;
    const ftdi::FT_STATUS status = driver_.FT_Read(FT_Handle_, buffer.data(), n, read);
    got = static_cast<int32_t>(read);
    return keep(status);
}
