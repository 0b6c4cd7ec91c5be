// The control lines of one serial port (DTR, RTS, TXD break) and its modem-status inputs, as a seam.
#pragma once

#include <cstdint>

namespace comm {

// The escape codes of the comm API; the line interfaces speak in these.
enum class LineCode : int32_t {
    SetRts = 3,
    ClrRts = 4,
    SetDtr = 5,
    ClrDtr = 6,
    SetBreak = 8,
    ClrBreak = 9,
};

// Modem-status bits as the comm API reports them.
inline constexpr int32_t kMsCtsOn = 0x10;
inline constexpr int32_t kMsDsrOn = 0x20;

class SerialControlLines {
public:
    virtual ~SerialControlLines() = default;
    // Moves one line at once; false when no port is open or the driver refused (callers ignore it).
    virtual bool escape(LineCode code) = 0;
    // CTS and DSR as kMsCtsOn / kMsDsrOn; 0 when no port is open or the read failed.
    virtual int32_t modemStatus() = 0;
};

} // namespace comm
