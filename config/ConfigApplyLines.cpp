// Apply's steps on the line interface and the ports: the kind chosen, the parallel port, the serial port.
#include "config/ApplyRun.h"
#include "config/ConfigNumbers.h"

namespace config::detail {

namespace {

constexpr const char* kSerialName = "DDSInterface.Serial";

} // namespace

using runtime::resumeNext;

// 8. The kind is compared with the one recorded at the filling or the last Apply, also after a model
// change whose rebuild has attached the new model's line already.
void ApplyRun::lineInterface() {
    if (in_.InterfaceKind)
        resumeNext([&] { vfo().setDDSInterfaceType(*in_.InterfaceKind); }, log_, "Vfo.DDSInterfaceType");
    std::optional<int32_t> kind;
    resumeNext([&] { kind = vfo().DDSInterfaceType(); }, log_, "Vfo.DDSInterfaceType");
    if (!kind || *kind == m_.InitialDDSInterfaceType) return;
    resumeNext([&] { handlerOf(osc()).ClosePort(); }, log_, "Vfo.OscType.IFHandler.ClosePort");
    using R = modSetupRX::RadioObjects;
    switch (*kind) {
    case 0:
        serialSequence();
        break;
    case 1:
        attach(&R::ParallelLine, "ParallelLine");
        break;
    case 2:
        resumeNext([&] { osc().setIFHandler(nullptr); }, log_, "Vfo.OscType.IFHandler = Nothing");
        break;
    case 3:
        attach(&R::NullLine, "NullLine");
        break;
    case 4:
        attach(&R::Drb30Line, "Drb30Line");
        break;
    case 5:
        attach(&R::Us232cLine, "Us232cLine");
        break;
    case 6:
        attach(&R::Ft232Line, "Ft232Line");
        break;
    default:
        break;
    }
}

void ApplyRun::attach(LineInterface* modSetupRX::RadioObjects::*member, const char* name) {
    resumeNext([&] { osc().setIFHandler(&line(member, name)); }, log_,
               std::string("Vfo.OscType.IFHandler = ") + name);
    resumeNext([&] { osc().Initialise(); }, log_, "Vfo.OscType.Initialise");
}

// The serial line is attached also when its port did not open.
void ApplyRun::serialSequence() {
    resumeNext([&] { serial().setName(kSerialName); }, log_, "SerialLine.Name");
    resumeNext([&] { serial().setMSCommCtl(shell().MSComm1()); }, log_, "SerialLine.MSCommCtl");
    resumeNext([&] { serial().Initialise(); }, log_, "SerialLine.Initialise");
    std::optional<int32_t> handle;
    resumeNext([&] { handle = serial().OpenPort(encoderBefore_); }, log_, "SerialLine.OpenPort");
    if (handle == 0) {
        // Our errors carry no line number.
        const runtime::SkipLog::SkippedError last = log_.lastError();
        resumeNext(
            [&] {
                const std::string text = "Unable to open Serial Interface COM" +
                                         std::to_string(serial().PortNo()) + "\r\n" + kRoutine + "():0" +
                                         "\r\nError Code=" + std::to_string(last.Number) +
                                         "\r\nError Desc=" + last.Description;
                ports_.Dialogs.MsgBox(text, runtime::mb::kOkOnly, runtime::kProductName);
            },
            log_, "MsgBox");
    }
    resumeNext([&] { osc().setIFHandler(&serial()); }, log_, "Vfo.OscType.IFHandler = SerialLine");
    resumeNext([&] { osc().Initialise(); }, log_, "Vfo.OscType.Initialise");
}

// 9. Whatever kind is chosen.
void ApplyRun::parallelPort() {
    if (const auto address =
            typed(kPortAddressLabel, [&] { return strictLong(in_.PortAddress, separators_); }))
        resumeNext([&] { parallel().setPortAddress(*address); }, log_, "ParallelLine.PortAddress");
    if (const auto period = typed(kParallelBitPeriodLabel,
                                  [&] { return strictNumber(in_.ParallelPortBitPeriod, separators_); }))
        resumeNext([&] { parallel().setWaitTime(*period); }, log_, "ParallelLine.WaitTime");
    resumeNext([&] { parallel().setInverting(in_.InvertingIF); }, log_, "ParallelLine.Inverting");
    bit("ParallelLine.IOUPDBitNo", m_.NewIOUPDBitNo, [&](int32_t b) { parallel().setIOUPDBitNo(b); });
    bit("ParallelLine.SCLCKBitNo", m_.NewSCLCKBitNo, [&](int32_t b) { parallel().setSCLCKBitNo(b); });
    bit("ParallelLine.SDATABitNo", m_.NewSDATABitNo, [&](int32_t b) { parallel().setSDATABitNo(b); });
}

// 10. Only with "Ser" chosen.
void ApplyRun::serialPort() {
    std::optional<int32_t> n;
    if (!in_.ComPortEnabled)
        resumeNext([&] { n = serial().PortNo(); }, log_, "SerialLine.PortNo");
    else if (in_.ComPortIndex < 0)
        log_.leftOut("SerialLine.PortNo", "no COM port is chosen");
    else
        n = in_.ComPortIndex + 1;
    std::optional<int32_t> current;
    if (n) resumeNext([&] { current = serial().PortNo(); }, log_, "SerialLine.PortNo");
    if (n && current && *n != *current) {
        resumeNext([&] { serial().ClosePort(); }, log_, "SerialLine.ClosePort");
        resumeNext([&] { serial().setPortNo(*n); }, log_, "SerialLine.PortNo");
        // Its result is not looked at: OpenPort shows its own message.
        resumeNext([&] { serial().OpenPort(encoderBefore_); }, log_, "SerialLine.OpenPort");
    }
    if (const auto period =
            typed(kSerialBitPeriodLabel, [&] { return strictNumber(in_.BitPeriod, separators_); }))
        resumeNext([&] { serial().setWaitTime(*period); }, log_, "SerialLine.WaitTime");
}

} // namespace config::detail
