// A simulated FTDI driver with adaptors in bit-bang mode: adaptors keyed by description, failures
// injectable per call, every written byte a trace entry paced by the baud rate, input pins from a test
// source, and a receive queue the test fills.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ftdi/FtdiDriver.h"
#include "radio/testing/PinTrace.h"

namespace pins {

class SimFtdiDriver final : public ftdi::FtdiDriver {
public:
    enum class Call { Open, Close, SetBitMode, SetBaudRate, Write, GetQueueStatus, Read };

    struct Adaptor {
        std::string description;
        bool open = false;
        uint8_t outputMask = 0;
        uint8_t mode = 0;
        uint32_t baudRate = 0;
        std::vector<uint32_t> writeSizes; // one entry per FT_Write
        std::deque<uint8_t> receiveQueue;
        int64_t lastPinTime = 0;
        // The levels the outside world puts on the input pins at a time; they read 0 without it.
        std::function<uint8_t(int64_t time)> inputPins;
    };

    // Paces an adaptor's bytes by its baud rate in bit-bang mode instead of a fixed step.
    static constexpr int64_t kPacedByBaudRate = 0;

    explicit SimFtdiDriver(PinTrace& trace) : trace_(trace) {}

    static std::string deviceName(std::string_view description) { return "FTDI:" + std::string(description); }

    // Plugs in an adaptor; ticksPerByte is how long it holds each written byte on its pins, or
    // kPacedByBaudRate for the time the baud rate set gives (the counter's frequency over
    // ftdi::kBitBangClocksPerBaud times the rate).
    void plugIn(const std::string& description, int64_t ticksPerByte = 1);
    // The next call of that kind (on any adaptor) returns status instead of acting.
    void failNext(Call call, ftdi::FT_STATUS status) { failures_[call].push_back(status); }
    Adaptor* adaptor(const std::string& description);

    ftdi::FT_STATUS FT_OpenEx(std::string_view description, ftdi::FT_HANDLE& handle) override;
    ftdi::FT_STATUS FT_Close(ftdi::FT_HANDLE handle) override;
    ftdi::FT_STATUS FT_SetBitMode(ftdi::FT_HANDLE handle, uint8_t mask, uint8_t mode) override;
    ftdi::FT_STATUS FT_SetBaudRate(ftdi::FT_HANDLE handle, uint32_t baudRate) override;
    ftdi::FT_STATUS FT_Write(ftdi::FT_HANDLE handle, const uint8_t* data, uint32_t count,
                             uint32_t& written) override;
    ftdi::FT_STATUS FT_GetQueueStatus(ftdi::FT_HANDLE handle, uint32_t& waiting) override;
    ftdi::FT_STATUS FT_Read(ftdi::FT_HANDLE handle, uint8_t* data, uint32_t wanted, uint32_t& got) override;

    std::vector<Call> calls() const { return calls_; }

private:
    bool injected(Call call, ftdi::FT_STATUS& status);
    Adaptor* byHandle(ftdi::FT_HANDLE handle);

    PinTrace& trace_;
    std::map<std::string, Adaptor> adaptors_;
    std::map<std::string, int64_t> ticksPerByte_;
    std::map<ftdi::FT_HANDLE, std::string> handles_;
    std::map<Call, std::deque<ftdi::FT_STATUS>> failures_;
    std::vector<Call> calls_;
    ftdi::FT_HANDLE nextHandle_ = 1;
};

} // namespace pins
