// A simulated serial port's control lines.
#include "SimSerialLines.h"

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

} // namespace pins
