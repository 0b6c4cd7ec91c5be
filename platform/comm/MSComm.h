// The serial event control: it owns a port in event mode, holds the settings the serial line interface
// gives it, and raises OnComm on the UI thread for every CTS or DSR change, with the status sampled at
// the change. The backend's watcher thread posts the changes; the UI layer drains the queue.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/comm/SerialPort.h"
#include "platform/runtime/PostQueue.h"

namespace comm {

// Raised by the control with its own error numbers.
inline constexpr int32_t kErrPortInvalid = 8002;
inline constexpr int32_t kErrPortAlreadyOpen = 8005;

// The front panel implements this for the main window's control.
class OnCommHandler {
public:
    virtual ~OnCommHandler() = default;
    virtual void OnComm(const ModemEvent& event) = 0;
};

class MSComm {
public:
    MSComm(SerialPortOpener& ports, runtime::PostQueue& uiQueue);
    // Closes the port; events still queued are dropped.
    ~MSComm();
    MSComm(const MSComm&) = delete;
    MSComm& operator=(const MSComm&) = delete;

    int16_t CommPort() const noexcept { return commPort_; }
    // Refused with 8005 while the port is open.
    void setCommPort(int16_t value);
    const std::string& Settings() const noexcept { return settings_; }
    void setSettings(std::string value) { settings_ = std::move(value); }
    bool DTREnable() const noexcept { return dtrEnable_; }
    void setDTREnable(bool value) noexcept { dtrEnable_ = value; }
    bool RTSEnable() const noexcept { return rtsEnable_; }
    void setRTSEnable(bool value) noexcept { rtsEnable_ = value; }
    int32_t Handshaking() const noexcept { return handshaking_; }
    void setHandshaking(int32_t value) noexcept { handshaking_ = value; }
    bool EOFEnable() const noexcept { return eofEnable_; }
    void setEOFEnable(bool value) noexcept { eofEnable_ = value; }
    int32_t InputMode() const noexcept { return inputMode_; }
    void setInputMode(int32_t value) noexcept { inputMode_ = value; }

    bool PortOpen() const noexcept { return port_ != nullptr; }
    // Opening a port that cannot be had raises 8002, one already open 8005. Closing stops the watch
    // before it returns; events of the closed port that still wait in the queue are dropped.
    void setPortOpen(bool open);
    // The open port's handle; 0 when closed.
    int32_t CommID() const noexcept;
    // The system's error number of the last open that failed, 0 after one that succeeded.
    int openError() const noexcept { return openError_; }
    // The event being raised, or the last one.
    int16_t CommEvent() const noexcept { return commEvent_; }
    // The open port's lines, for the line interface in event mode; null when closed.
    SerialControlLines* lines() noexcept { return port_.get(); }

    void setHandler(OnCommHandler* handler) noexcept { handler_ = handler; }

private:
    struct Alive {
        MSComm* control;
        uint64_t generation;
    };
    void close();
    void deliver(const ModemEvent& event);

    SerialPortOpener& ports_;
    runtime::PostQueue& uiQueue_;
    int16_t commPort_ = 1;
    std::string settings_ = "9600,n,8,1";
    bool dtrEnable_ = false;
    bool rtsEnable_ = false;
    int32_t handshaking_ = 0;
    bool eofEnable_ = false;
    int32_t inputMode_ = 0;
    int16_t commEvent_ = 0;
    OnCommHandler* handler_ = nullptr;
    std::unique_ptr<SerialPort> port_;
    int openError_ = 0;
    std::shared_ptr<Alive> alive_;
};

} // namespace comm
