// The FTDI adaptor calls the line interfaces make, as a seam with the driver's own status codes.
#pragma once

#include <cstdint>
#include <string_view>

namespace ftdi {

using FT_STATUS = int32_t;
// Opaque adaptor handle; 0 means none.
using FT_HANDLE = int32_t;

namespace status {
inline constexpr FT_STATUS kOk = 0;
inline constexpr FT_STATUS kInvalidHandle = 1;
inline constexpr FT_STATUS kDeviceNotFound = 2;
inline constexpr FT_STATUS kDeviceNotOpened = 3;
inline constexpr FT_STATUS kIoError = 4;
inline constexpr FT_STATUS kInsufficientResources = 5;
inline constexpr FT_STATUS kInvalidBaudRate = 7;
} // namespace status

inline constexpr uint8_t kModeReset = 0;
inline constexpr uint8_t kModeAsyncBitBang = 1;

// In asynchronous bit-bang mode the adaptor plays one byte per cycle of a clock running at this many
// times the baud rate set.
inline constexpr uint32_t kBitBangClocksPerBaud = 16;

class FtdiDriver {
public:
    virtual ~FtdiDriver() = default;
    // Opens the adaptor whose USB description equals description; handle is 0 unless it succeeded.
    virtual FT_STATUS FT_OpenEx(std::string_view description, FT_HANDLE& handle) = 0;
    virtual FT_STATUS FT_Close(FT_HANDLE handle) = 0;
    // A set bit in mask makes that pin an output.
    virtual FT_STATUS FT_SetBitMode(FT_HANDLE handle, uint8_t mask, uint8_t mode) = 0;
    virtual FT_STATUS FT_SetBaudRate(FT_HANDLE handle, uint32_t baudRate) = 0;
    virtual FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count, uint32_t& written) = 0;
    virtual FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, uint32_t& waiting) = 0;
    virtual FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* data, uint32_t wanted, uint32_t& got) = 0;
};

} // namespace ftdi
