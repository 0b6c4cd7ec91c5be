// A simulated serial port's control lines, and the ports that hand them out.
#include "radio/testing/SimSerialLines.h"

#include <cerrno>

namespace pins {

SimSerialLines::SimSerialLines(PinTrace& trace, int portNo) : trace_(trace), device_(deviceName(portNo)) {
    trace_.record(device_, levels_, true);
}

bool SimSerialLines::escape(comm::LineCode code) {
    if (!open_) return false;
    switch (code) {
    case comm::LineCode::SetDtr:
        levels_ |= kDtr;
        break;
    case comm::LineCode::ClrDtr:
        levels_ &= static_cast<uint8_t>(~kDtr);
        break;
    case comm::LineCode::SetRts:
        levels_ |= kRts;
        break;
    case comm::LineCode::ClrRts:
        levels_ &= static_cast<uint8_t>(~kRts);
        break;
    case comm::LineCode::SetBreak:
        levels_ |= kBreak;
        break;
    case comm::LineCode::ClrBreak:
        levels_ &= static_cast<uint8_t>(~kBreak);
        break;
    default:
        return false;
    }
    trace_.record(device_, levels_);
    return true;
}

void SimSerialLines::clearOutputs() {
    levels_ = 0;
    trace_.record(device_, levels_);
}

void SimSerialLines::changeModemStatus(int32_t status) {
    const int32_t before = modemStatus_;
    modemStatus_ = status;
    if (!watch_) return;
    int32_t now = before;
    if ((before ^ status) & comm::kMsCtsOn) {
        now = (now & ~comm::kMsCtsOn) | (status & comm::kMsCtsOn);
        watch_({comm::kEvCts, now});
    }
    if ((before ^ status) & comm::kMsDsrOn) {
        now = (now & ~comm::kMsDsrOn) | (status & comm::kMsDsrOn);
        watch_({comm::kEvDsr, now});
    }
}

namespace {

class SimSerialPort final : public comm::SerialPort {
public:
    SimSerialPort(SimSerialLines& device, int32_t handle) : device_(&device), handle_(handle) {}
    ~SimSerialPort() override { close(); }

    bool escape(comm::LineCode code) override { return device_ && device_->escape(code); }
    int32_t modemStatus() override { return device_ ? device_->modemStatus() : 0; }
    int32_t handle() const override { return handle_; }
    bool configure(int32_t baud) override {
        baud_ = baud;
        return device_ != nullptr;
    }
    void startWatch(comm::ModemEventSink sink) override {
        if (device_) device_->setWatch(std::move(sink));
    }
    void stopWatch() override {
        if (device_) device_->setWatch({});
    }
    bool close() override {
        if (!device_) return false;
        device_->setWatch({});
        device_->setOpen(false);
        device_ = nullptr;
        return true;
    }

private:
    SimSerialLines* device_;
    int32_t handle_;
    int32_t baud_ = 0;
};

} // namespace

SimSerialLines& SimSerialPorts::plugIn(int portNo) {
    auto& slot = devices_[portNo];
    if (!slot) {
        slot = std::make_unique<SimSerialLines>(trace_, portNo);
        slot->setOpen(false);
    }
    return *slot;
}

SimSerialLines* SimSerialPorts::device(int portNo) {
    const auto it = devices_.find(portNo);
    return it == devices_.end() ? nullptr : it->second.get();
}

std::unique_ptr<comm::SerialPort> SimSerialPorts::open(int32_t portNo) {
    SimSerialLines* dev = device(portNo);
    // A port that is missing, or already open, is refused.
    if (!dev || dev->isOpen()) {
        openError_ = dev ? EBUSY : ENOENT;
        return nullptr;
    }
    openError_ = 0;
    ++opens_;
    dev->setOpen(true);
    dev->clearOutputs();
    return std::make_unique<SimSerialPort>(*dev, nextHandle_++);
}

} // namespace pins
