// The serial event control.
#include "platform/comm/MSComm.h"

#include <cctype>

#include "platform/runtime/RuntimeError.h"

namespace comm {

MSComm::MSComm(SerialPortOpener& ports, runtime::PostQueue& uiQueue)
    : ports_(ports), uiQueue_(uiQueue), alive_(std::make_shared<Alive>(Alive{this, 0})) {}

MSComm::~MSComm() {
    close();
    alive_.reset();
}

void MSComm::setCommPort(int16_t value) {
    if (port_) runtime::raise(kErrPortAlreadyOpen, "MSComm.CommPort");
    commPort_ = value;
}

int32_t MSComm::CommID() const noexcept {
    return port_ ? port_->handle() : 0;
}

void MSComm::setPortOpen(bool open) {
    if (!open) {
        close();
        return;
    }
    if (port_) runtime::raise(kErrPortAlreadyOpen, "MSComm.PortOpen");
    std::unique_ptr<SerialPort> port = ports_.open(commPort_);
    openError_ = port ? 0 : ports_.openError();
    if (!port) runtime::raise(kErrPortInvalid, "MSComm.PortOpen");
    int32_t baud = 0;
    for (const char c : settings_) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        baud = baud * 10 + (c - '0');
        if (baud > 1'000'000) break;
    }
    port->configure(baud);
    port->escape(dtrEnable_ ? LineCode::SetDtr : LineCode::ClrDtr);
    port->escape(rtsEnable_ ? LineCode::SetRts : LineCode::ClrRts);
    // Each event is tagged with the opening it belongs to, so one that arrives after a close or a swap
    // of the port, or after the control is gone, is never raised.
    const std::weak_ptr<Alive> alive = alive_;
    const uint64_t generation = ++alive_->generation;
    runtime::PostQueue& queue = uiQueue_;
    port->startWatch([alive, generation, &queue](const ModemEvent& event) {
        queue.post([alive, generation, event] {
            const auto target = alive.lock();
            if (target && target->generation == generation) target->control->deliver(event);
        });
    });
    port_ = std::move(port);
}

void MSComm::close() {
    if (!port_) return;
    ++alive_->generation;
    port_->stopWatch();
    port_->close();
    port_.reset();
}

void MSComm::deliver(const ModemEvent& event) {
    commEvent_ = event.commEvent;
    if (handler_) handler_->OnComm(event);
}

} // namespace comm
