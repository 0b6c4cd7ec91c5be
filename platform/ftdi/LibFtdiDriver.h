// The FTDI adaptor calls over libftdi1 and libusb, with the vendor driver's status codes and pin rate.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>

#include "platform/ftdi/FtdiDriver.h"

namespace ftdi {

// libftdi sets its divisor for this many times the rate it is given while bit-bang mode is on.
inline constexpr uint32_t kLibFtdiBitBangFactor = 4;
// The divisor rate libftdi must be given so that the chip gets the divisor the vendor's driver sets for
// baudRate: the vendor's driver sets the divisor for the value itself in every mode, so the adaptors
// play 16 x baudRate pin bytes per second; libftdi would multiply by 4 in bit-bang mode, so it gets a
// quarter of the value there (kBitBangClocksPerBaud gives the pin rate). 0 when no divisor can serve.
uint32_t libFtdiRate(uint32_t baudRate, bool bitBang) noexcept;

class LibFtdiDriver final : public FtdiDriver {
public:
    LibFtdiDriver();
    ~LibFtdiDriver() override;
    LibFtdiDriver(const LibFtdiDriver&) = delete;
    LibFtdiDriver& operator=(const LibFtdiDriver&) = delete;

    FT_STATUS FT_OpenEx(std::string_view description, FT_HANDLE& handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_SetBitMode(FT_HANDLE handle, uint8_t mask, uint8_t mode) override;
    FT_STATUS FT_SetBaudRate(FT_HANDLE handle, uint32_t baudRate) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count, uint32_t& written) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, uint32_t& waiting) override;
    FT_STATUS FT_Read(FT_HANDLE handle, uint8_t* data, uint32_t wanted, uint32_t& got) override;

private:
    struct Adaptor;
    Adaptor* find(FT_HANDLE handle);
    FT_STATUS applyBaudRate(Adaptor& a);
    // Moves what the adaptor has received into the receive FIFO.
    FT_STATUS pull(Adaptor& a);

    std::map<FT_HANDLE, std::unique_ptr<Adaptor>> open_;
    FT_HANDLE nextHandle_ = 1;
};

} // namespace ftdi
