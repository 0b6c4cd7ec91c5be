// The libftdi1 backend on a machine without a USB adaptor, and its baud-rate rule.
#include <gtest/gtest.h>

#include <array>

#include "platform/ftdi/LibFtdiDriver.h"

namespace {

using namespace ftdi;

// A description no real adaptor carries: whatever is plugged into a developer's machine, this test
// never opens it, let alone puts it into bit-bang mode.
constexpr const char* kNoSuchAdaptor = "NerixSDR absent test adaptor";

TEST(LibFtdiDriver, AnAdaptorThatIsNotThereIsReportedNotFound) {
    LibFtdiDriver driver;
    FT_HANDLE handle = 12345;
    EXPECT_EQ(driver.FT_OpenEx(kNoSuchAdaptor, handle), status::kDeviceNotFound);
    EXPECT_EQ(handle, 0);
    // Asking again gives the same answer: nothing was left half open.
    EXPECT_EQ(driver.FT_OpenEx(kNoSuchAdaptor, handle), status::kDeviceNotFound);
    EXPECT_EQ(handle, 0);
}

TEST(LibFtdiDriver, EveryCallOnAHandleThatIsNotOpenReportsTheInvalidHandle) {
    LibFtdiDriver driver;
    FT_HANDLE handle = 0;
    driver.FT_OpenEx(kNoSuchAdaptor, handle);
    for (const FT_HANDLE h : {handle, FT_HANDLE{1}, FT_HANDLE{-7}}) {
        SCOPED_TRACE(h);
        std::array<uint8_t, 4> bytes{1, 2, 3, 4};
        uint32_t n = 99;
        EXPECT_EQ(driver.FT_SetBitMode(h, 0x15, kModeAsyncBitBang), status::kInvalidHandle);
        EXPECT_EQ(driver.FT_SetBaudRate(h, 38400), status::kInvalidHandle);
        EXPECT_EQ(driver.FT_Write(h, bytes.data(), 4, n), status::kInvalidHandle);
        EXPECT_EQ(n, 0u);
        n = 99;
        EXPECT_EQ(driver.FT_GetQueueStatus(h, n), status::kInvalidHandle);
        EXPECT_EQ(n, 0u);
        n = 99;
        EXPECT_EQ(driver.FT_Read(h, bytes.data(), 4, n), status::kInvalidHandle);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(driver.FT_Close(h), status::kInvalidHandle);
    }
}

// libftdi sets its divisor for four times its argument in bit-bang mode; the rate handed to it must
// leave the divisor where the vendor's driver puts it for the same value.
TEST(LibFtdiDriver, TheDivisorRateIsTheVendorsInEveryMode) {
    const struct {
        uint32_t baud;
        bool bitBang;
        uint32_t divisorRate; // what the chip's divisor is set for
    } cases[] = {{38400, true, 38400}, {400000, true, 400000}, {9600, false, 9600},
                 {38401, true, 38400}, {3, true, 4},           {1, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        const uint32_t given = libFtdiRate(c.baud, c.bitBang);
        EXPECT_EQ(c.bitBang ? given * kLibFtdiBitBangFactor : given, c.divisorRate);
    }
}

} // namespace
