// An open serial port as a seam: its control lines, its handle, its line settings and a watch of its
// CTS and DSR inputs; and the opener that gives out ports by number.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/comm/SerialControlLines.h"

namespace comm {

// The serial control's event numbers for a CTS and a DSR change.
inline constexpr int16_t kEvCts = 3;
inline constexpr int16_t kEvDsr = 4;

// One input change and the modem status (kMsCtsOn / kMsDsrOn) right after it.
struct ModemEvent {
    int16_t commEvent;
    int32_t modemStatus;
};
using ModemEventSink = std::function<void(const ModemEvent&)>;

class SerialPort : public SerialControlLines {
public:
    // Positive, and the same for as long as the port stays open.
    virtual int32_t handle() const = 0;
    // Speed with eight data bits, no parity, one stop bit, no flow control; false when refused.
    virtual bool configure(int32_t baud) = 0;
    // From now on the sink is called, on a thread of the backend's, once for every CTS or DSR change.
    virtual void startWatch(ModemEventSink sink) = 0;
    // Returns once the sink will not be called again.
    virtual void stopWatch() = 0;
    // Stops the watch and gives the port up; true when it was open. The lines then move nothing.
    virtual bool close() = 0;
};

class SerialPortOpener {
public:
    virtual ~SerialPortOpener() = default;
    // Port portNo (1 is the first) for this program's sole use, with DTR, RTS and break off; null when it
    // cannot be opened.
    virtual std::unique_ptr<SerialPort> open(int32_t portNo) = 0;
    // The system's error number (errno) of the last open that gave null, which the user is told; 0 after
    // an open that succeeded, or where the opener has none.
    virtual int openError() const { return 0; }
};

} // namespace comm
