// The FTDI adaptor calls over libftdi1: open by USB description, bit mode, baud rate, writes, and a
// receive FIFO that answers the queue-status and read calls.
#include "platform/ftdi/LibFtdiDriver.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <climits>
#include <string_view>

namespace ftdi {

namespace {

constexpr uint16_t kFtdiVendorId = 0x0403;
// Like the vendor driver's own receive buffer, the FIFO holds at most 64 KiB; beyond that the adaptor
// keeps its bytes until they are read.
constexpr std::size_t kFifoLimit = 65536;
// The adaptor sends what it has received at least this often (ms), so a read of an empty adaptor
// returns at once instead of waiting for the default 16 ms.
constexpr unsigned char kLatencyMs = 1;

struct ContextFree {
    void operator()(ftdi_context* ctx) const noexcept { ftdi_free(ctx); }
};
using Context = std::unique_ptr<ftdi_context, ContextFree>;

struct DeviceListFree {
    void operator()(libusb_device** list) const noexcept { libusb_free_device_list(list, 1); }
};

enum class Match { Yes, No, Unreadable };

// Reads a device's product string, which is what the vendor driver calls its description.
Match matchesDescription(libusb_device* device, std::string_view description) {
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(device, &d) != 0) return Match::No;
    // Every product id of the maker, not only the FT232R's: the adaptors carry their own ids.
    if (d.idVendor != kFtdiVendorId || d.iProduct == 0) return Match::No;
    libusb_device_handle* h = nullptr;
    const int rc = libusb_open(device, &h);
    if (rc != 0) return rc == LIBUSB_ERROR_ACCESS || rc == LIBUSB_ERROR_BUSY ? Match::Unreadable : Match::No;
    unsigned char text[256];
    const int len = libusb_get_string_descriptor_ascii(h, d.iProduct, text, sizeof text);
    libusb_close(h);
    if (len < 0) return Match::No;
    const std::string_view product(reinterpret_cast<const char*>(text), static_cast<std::size_t>(len));
    return product == description ? Match::Yes : Match::No;
}

} // namespace

struct LibFtdiDriver::Adaptor {
    Context ctx;
    std::deque<uint8_t> fifo;
    bool bitBang = false;
};

uint32_t libFtdiRate(uint32_t baudRate, bool bitBang) noexcept {
    if (!bitBang) return baudRate;
    return static_cast<uint32_t>((uint64_t{baudRate} + kLibFtdiBitBangFactor / 2) / kLibFtdiBitBangFactor);
}

LibFtdiDriver::LibFtdiDriver() = default;

LibFtdiDriver::~LibFtdiDriver() {
    for (auto& [handle, a] : open_)
        ftdi_usb_close(a->ctx.get());
}

LibFtdiDriver::Adaptor* LibFtdiDriver::find(FT_HANDLE handle) {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : it->second.get();
}

FT_STATUS LibFtdiDriver::FT_OpenEx(std::string_view description, FT_HANDLE& handle) {
    handle = 0;
    Context ctx(ftdi_new());
    // libusb cannot start without a USB subsystem (no usbfs): then no adaptor can be there.
    if (!ctx) return status::kDeviceNotFound;
    libusb_device** raw = nullptr;
    const ssize_t count = libusb_get_device_list(ctx->usb_ctx, &raw);
    if (count < 0) return status::kDeviceNotFound;
    const std::unique_ptr<libusb_device*, DeviceListFree> list(raw);

    bool unreadable = false;
    for (ssize_t i = 0; i < count; ++i) {
        const Match match = matchesDescription(raw[i], description);
        if (match == Match::Unreadable) unreadable = true;
        if (match != Match::Yes) continue;
        // Permission, a claim by another program, or a reset that fails: the adaptor is there but not ours.
        if (ftdi_usb_open_dev(ctx.get(), raw[i]) != 0) return status::kDeviceNotOpened;
        ftdi_set_latency_timer(ctx.get(), kLatencyMs); // only slows reads when refused
        auto adaptor = std::make_unique<Adaptor>();
        adaptor->ctx = std::move(ctx);
        handle = nextHandle_++;
        open_.emplace(handle, std::move(adaptor));
        return status::kOk;
    }
    // An adaptor we may not open could be the one asked for.
    return unreadable ? status::kDeviceNotOpened : status::kDeviceNotFound;
}

FT_STATUS LibFtdiDriver::FT_Close(FT_HANDLE handle) {
    const auto it = open_.find(handle);
    if (it == open_.end()) return status::kInvalidHandle;
    const int rc = ftdi_usb_close(it->second->ctx.get());
    open_.erase(it);
    return rc < 0 ? status::kIoError : status::kOk;
}

FT_STATUS LibFtdiDriver::FT_SetBitMode(FT_HANDLE handle, uint8_t mask, uint8_t mode) {
    Adaptor* a = find(handle);
    if (!a) return status::kInvalidHandle;
    if (ftdi_set_bitmode(a->ctx.get(), mask, mode) < 0) return status::kIoError;
    a->bitBang = mode != kModeReset;
    return status::kOk;
}

FT_STATUS LibFtdiDriver::FT_SetBaudRate(FT_HANDLE handle, uint32_t baudRate) {
    Adaptor* a = find(handle);
    if (!a) return status::kInvalidHandle;
    // The divisor stays as set when the mode changes later, so setting it for the vendor's value in
    // the mode in force gives the vendor's pin rate whatever the order of the calls.
    const uint32_t rate = libFtdiRate(baudRate, a->bitBang);
    if (rate == 0 || rate > INT_MAX) return status::kInvalidBaudRate;
    const int rc = ftdi_set_baudrate(a->ctx.get(), static_cast<int>(rate));
    if (rc == -1) return status::kInvalidBaudRate;
    return rc < 0 ? status::kIoError : status::kOk;
}

FT_STATUS LibFtdiDriver::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count, uint32_t& written) {
    written = 0;
    Adaptor* a = find(handle);
    if (!a) return status::kInvalidHandle;
    while (written < count) {
        const int chunk = static_cast<int>(std::min<uint32_t>(count - written, 1u << 20));
        const int rc = ftdi_write_data(a->ctx.get(), data + written, chunk);
        if (rc < 0) return status::kIoError;
        if (rc == 0) return status::kIoError; // the adaptor takes nothing: it is gone
        written += static_cast<uint32_t>(rc);
    }
    return status::kOk;
}

FT_STATUS LibFtdiDriver::pull(Adaptor& a) {
    unsigned char buffer[4096];
    while (a.fifo.size() < kFifoLimit) {
        const int room = static_cast<int>(std::min<std::size_t>(sizeof buffer, kFifoLimit - a.fifo.size()));
        const int got = ftdi_read_data(a.ctx.get(), buffer, room);
        if (got < 0) return status::kIoError;
        if (got == 0) break;
        a.fifo.insert(a.fifo.end(), buffer, buffer + got);
        if (got < room) break;
    }
    return status::kOk;
}

FT_STATUS LibFtdiDriver::FT_GetQueueStatus(FT_HANDLE handle, uint32_t& waiting) {
    waiting = 0;
    Adaptor* a = find(handle);
    if (!a) return status::kInvalidHandle;
    const FT_STATUS s = pull(*a);
    if (s != status::kOk) return s;
    waiting = static_cast<uint32_t>(a->fifo.size());
    return status::kOk;
}

FT_STATUS LibFtdiDriver::FT_Read(FT_HANDLE handle, uint8_t* data, uint32_t wanted, uint32_t& got) {
    got = 0;
    Adaptor* a = find(handle);
    if (!a) return status::kInvalidHandle;
    // The vendor's read waits for the whole count under timeouts the program never sets; its callers
    // ask the queue first, so handing over what has arrived never holds the UI thread.
    if (a->fifo.size() < wanted) {
        const FT_STATUS s = pull(*a);
        if (s != status::kOk) return s;
    }
    const auto n = static_cast<uint32_t>(std::min<std::size_t>(wanted, a->fifo.size()));
    std::copy_n(a->fifo.begin(), n, data);
    a->fifo.erase(a->fifo.begin(), a->fifo.begin() + n);
    got = n;
    return status::kOk;
}

} // namespace ftdi
