// The serial line interface.
#include "radio/clsDDSSerialIF.h"

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

clsDDSSerialIF::clsDDSSerialIF(profile::SettingsStore& store, modTiming::Timing& timing,
                               comm::SerialPortOpener& ports)
    : LineInterfaceBase("clsDDSSerialIF", 1.0 / 230400.0, store, &timing), ports_(ports) {}

clsDDSSerialIF::~clsDDSSerialIF() {
    runtime::resumeNext([&] { ClosePort(); });
    runtime::resumeNext([&] { SaveSettings(); });
    control_ = nullptr;
}

int32_t clsDDSSerialIF::Initialise() {
    timing()->InitTiming();
    RestoreSettings();
    SDATA(0);
    IOUPD(0);
    SCLCK(0);
    markInitialised();
    return 0;
}

void clsDDSSerialIF::RestoreSettings() {
    if (!hasSection()) return;
    const SettingsSection settings = section();
    portNo_ = settings.readInt32("PortNo", portNo_);
    if (portNo_ < 1) portNo_ = 1;
    restoreWaitTime(settings, "SerialWaitTime");
}

void clsDDSSerialIF::SaveSettings() {
    if (!canSaveSettings()) return;
    SettingsSection settings = section();
    settings.writeInt("PortNo", portNo_);
    settings.writeDouble("SerialWaitTime", WaitTime());
    settings.commit();
}

comm::SerialControlLines* clsDDSSerialIF::lines() {
    if (hComm_ < 1) return nullptr;
    if (pollPort_) return pollPort_.get();
    return eventMode_ && control_ ? control_->lines() : nullptr;
}

void clsDDSSerialIF::escape(comm::LineCode code) {
    if (comm::SerialControlLines* port = lines()) port->escape(code);
}

void clsDDSSerialIF::IOUPD(int32_t level) {
    escape(level > 0 ? comm::LineCode::ClrDtr : comm::LineCode::SetDtr);
    settle();
}

void clsDDSSerialIF::SDATA(int32_t level) {
    escape(level != 0 ? comm::LineCode::ClrRts : comm::LineCode::SetRts);
    settle();
}

void clsDDSSerialIF::SCLCK(int32_t level) {
    escape((level & 1) == 1 ? comm::LineCode::SetBreak : comm::LineCode::ClrBreak);
    settle();
}

void clsDDSSerialIF::Out16(uint16_t value) {
    // The frame opens and closes without the settle wait; the bits wait as everywhere.
    escape(comm::LineCode::SetDtr);
    escape(comm::LineCode::ClrBreak);
    for (uint32_t mask = 0x8000; mask != 0; mask >>= 1) {
        SDATA(static_cast<int32_t>(value & mask));
        SCLCK(1);
        SCLCK(0);
    }
    escape(comm::LineCode::ClrDtr);
}

int32_t clsDDSSerialIF::SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) {
    return sequenceSend(bytes, count, true);
}

int32_t clsDDSSerialIF::I2CSendSeq(std::span<const uint8_t> bytes, int32_t count) {
    return sequenceI2CSendSeq(bytes, count);
}

int32_t clsDDSSerialIF::GetEncoderBits() {
    comm::SerialControlLines* port = lines();
    return port ? port->modemStatus() : 0;
}

int32_t clsDDSSerialIF::OpenPort(bool eventMode) {
    eventMode_ = eventMode;
    if (hComm_ >= 1) return hComm_;
    return eventMode ? openEventMode() : openPollMode();
}

int32_t clsDDSSerialIF::openEventMode() {
    // Every step that fails is skipped and the rest still run, so one refused setting leaves the others
    // in place.
    openError_ = 0;
    if (control_) {
        comm::MSComm& c = *control_;
        runtime::resumeNext([&] { c.setCommPort(runtime::CInt(portNo_)); });
        c.setSettings("1200,n,8,1");
        c.setDTREnable(false);
        c.setHandshaking(0);
        c.setEOFEnable(false);
        c.setInputMode(1);
        c.setRTSEnable(false);
        runtime::resumeNext([&] { c.setPortOpen(true); });
        openError_ = c.openError();
        if (c.PortOpen()) {
            hComm_ = c.CommID();
            return hComm_;
        }
    }
    // Without a control the message names the port that was wanted.
    const int32_t shownPort = control_ ? control_->CommPort() : portNo_;
    runtime::MsgBox(std::string(kOpenSource) + " : Unable to Open COM" + std::to_string(shownPort) + "\r\n" +
                        std::string(kSetValidPort) + "\r\n" + std::string(kOpenSource) + ":0",
                    runtime::mb::kOkOnly);
    return 0;
}

int32_t clsDDSSerialIF::openPollMode() {
    if (control_ && control_->PortOpen()) runtime::resumeNext([&] { control_->setPortOpen(false); });
    std::unique_ptr<comm::SerialPort> port = ports_.open(portNo_);
    openError_ = port ? 0 : ports_.openError();
    if (!port || port->handle() < 1) {
        runtime::MsgBox(std::string(kOpenSource) + " : PollMode : Unable to Open COM" +
                            std::to_string(portNo_) + "\r\n" + std::string(kSetValidPort),
                        runtime::mb::kOkOnly);
        return 0;
    }
    // Only fills in the line settings; a failure is not reported.
    port->configure(9600);
    hComm_ = port->handle();
    pollPort_ = std::move(port);
    return hComm_;
}

int32_t clsDDSSerialIF::ClosePort() {
    if (hComm_ < 1) return 0;
    int32_t result = 0;
    if (pollPort_) {
        result = pollPort_->close() ? 1 : 0;
        pollPort_.reset();
    } else if (control_) {
        runtime::resumeNext([&] { control_->setPortOpen(false); });
    }
    hComm_ = 0;
    return result;
}
