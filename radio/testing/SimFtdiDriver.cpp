// A simulated FTDI driver.
#include "radio/testing/SimFtdiDriver.h"

#include <algorithm>

namespace pins {

using namespace ftdi;

void SimFtdiDriver::plugIn(const std::string& description, int64_t ticksPerByte) {
    adaptors_[description].description = description;
    ticksPerByte_[description] = ticksPerByte;
    trace_.record(deviceName(description), 0, true);
}

SimFtdiDriver::Adaptor* SimFtdiDriver::adaptor(const std::string& description) {
    const auto it = adaptors_.find(description);
    return it == adaptors_.end() ? nullptr : &it->second;
}

bool SimFtdiDriver::injected(Call call, FT_STATUS& status) {
    calls_.push_back(call);
    auto& queue = failures_[call];
    if (queue.empty()) return false;
    status = queue.front();
    queue.pop_front();
    return true;
}

SimFtdiDriver::Adaptor* SimFtdiDriver::byHandle(FT_HANDLE handle) {
    const auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : adaptor(it->second);
}

FT_STATUS SimFtdiDriver::FT_OpenEx(std::string_view description, FT_HANDLE& handle) {
    handle = 0;
    FT_STATUS status = status::kOk;
    if (injected(Call::Open, status)) return status;
    Adaptor* a = adaptor(std::string(description));
    if (!a) return status::kDeviceNotFound;
    if (a->open) return status::kDeviceNotOpened;
    a->open = true;
    handle = nextHandle_++;
    handles_[handle] = a->description;
    return status::kOk;
}

FT_STATUS SimFtdiDriver::FT_Close(FT_HANDLE handle) {
    FT_STATUS status = status::kOk;
    if (injected(Call::Close, status)) return status;
    Adaptor* a = byHandle(handle);
    if (!a) return status::kInvalidHandle;
    a->open = false;
    handles_.erase(handle);
    return status::kOk;
}

FT_STATUS SimFtdiDriver::FT_SetBitMode(FT_HANDLE handle, uint8_t mask, uint8_t mode) {
    FT_STATUS status = status::kOk;
    if (injected(Call::SetBitMode, status)) return status;
    Adaptor* a = byHandle(handle);
    if (!a) return status::kInvalidHandle;
    a->outputMask = mask;
    a->mode = mode;
    return status::kOk;
}

FT_STATUS SimFtdiDriver::FT_SetBaudRate(FT_HANDLE handle, uint32_t baudRate) {
    FT_STATUS status = status::kOk;
    if (injected(Call::SetBaudRate, status)) return status;
    Adaptor* a = byHandle(handle);
    if (!a) return status::kInvalidHandle;
    a->baudRate = baudRate;
    return status::kOk;
}

FT_STATUS SimFtdiDriver::FT_Write(FT_HANDLE handle, const uint8_t* data, uint32_t count, uint32_t& written) {
    written = 0;
    FT_STATUS status = status::kOk;
    if (injected(Call::Write, status)) return status;
    Adaptor* a = byHandle(handle);
    if (!a) return status::kInvalidHandle;
    a->writeSizes.push_back(count);
    // The adaptor plays the bytes one after another, after whatever it is still playing.
    const int64_t fixedStep = ticksPerByte_[a->description];
    const int64_t rate = int64_t{a->baudRate} * kBitBangClocksPerBaud;
    const auto offset = [&](uint32_t i) -> int64_t {
        if (fixedStep != kPacedByBaudRate || rate == 0) return int64_t{i} * std::max<int64_t>(fixedStep, 1);
        return int64_t{i} * trace_.frequency() / rate;
    };
    const int64_t start = std::max(trace_.now(), a->lastPinTime + offset(1));
    for (uint32_t i = 0; i < count; ++i) {
        const int64_t t = start + offset(i);
        auto levels = static_cast<uint8_t>(data[i] & a->outputMask);
        if (a->inputPins) levels |= static_cast<uint8_t>(a->inputPins(t) & ~a->outputMask);
        trace_.recordAt(t, deviceName(a->description), levels);
        a->lastPinTime = t;
    }
    written = count;
    return status::kOk;
}

FT_STATUS SimFtdiDriver::FT_GetQueueStatus(FT_HANDLE handle, uint32_t& waiting) {
    waiting = 0;
    FT_STATUS status = status::kOk;
    if (injected(Call::GetQueueStatus, status)) return status;
    Adaptor* a = byHandle(handle);
    if (!a) return status::kInvalidHandle;
    waiting = static_cast<uint32_t>(a->receiveQueue.size());
    return status::kOk;
}

FT_STATUS SimFtdiDriver::FT_Read(FT_HANDLE handle, uint8_t* data, uint32_t wanted, uint32_t& got) {
    got = 0;
    FT_STATUS status = status::kOk;
    if (injected(Call::Read, status)) return status;
    Adaptor* a = byHandle(handle);
    if (!a) return status::kInvalidHandle;
    while (got < wanted && !a->receiveQueue.empty()) {
        data[got++] = a->receiveQueue.front();
        a->receiveQueue.pop_front();
    }
    return status::kOk;
}

} // namespace pins
