// What the three FTDI adaptor line interfaces share: line changes become pin bytes in a buffer, and
// UpdateDevice opens the adaptor when needed and sends the whole buffer in one USB write. The
// three-wire part (the US232C and DRB30 adaptors) adds the data, clock and update lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ftdi/FtdiDriver.h"
#include "radio/LineInterfaceBase.h"
#include "radio/ThreeWireLine.h"
#include "radio/clsD2XX.h"

class FtdiLine : public LineInterfaceBase {
public:
    // What tells one adaptor from another.
    struct Adaptor {
        std::string_view description;
        uint8_t outputMask; // a set bit is an output pin
        int32_t baudRate;
        int32_t bufferSize; // pin bytes the buffer holds
    };

    // 0, or the status of the first driver call that failed; either way the buffer is empty afterwards.
    int32_t UpdateDevice() override;

    // Pin bytes waiting for the next UpdateDevice.
    int32_t PinCount() const noexcept { return pinCount_; }

protected:
    FtdiLine(std::string className, double defaultWaitSeconds, const Adaptor& adaptor,
             ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing);

    // A full buffer is sent first, so a long burst goes out in order in several writes instead of
    // running past the buffer's end; the pins hold their levels between the writes.
    void appendPin(uint8_t pins);
    // Replaces whatever is buffered by count copies of pins.
    void fillPins(uint8_t pins, int32_t count);
    clsD2XX& usb() noexcept { return usb_; }
    const clsD2XX& usb() const noexcept { return usb_; }

private:
    Adaptor adaptor_;
    clsD2XX usb_;
    std::vector<uint8_t> buffer_;
    int32_t pinCount_ = 0;
};

// The adaptor stays open until the object is released: ClosePort has nothing to close. The parallel
// port's keys are read and written back only: the lines always move the adaptor's fixed pins, never
// inverted, and Initialise keeps those.
class FtdiThreeWireLine : public ThreeWireLine<FtdiLine> {
public:
    struct Pins {
        int32_t data, clock, update;
    };

    int32_t Initialise() override;

    void SDATA(int32_t level) override;
    void SCLCK(int32_t level) override;
    void IOUPD(int32_t level) override;

protected:
    FtdiThreeWireLine(std::string className, const Adaptor& adaptor, const Pins& pins,
                      ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing);
    ~FtdiThreeWireLine() override;

private:
    void setLine(int32_t pinNo, bool level);
    // The keys with the adaptor's pins and no inversion, the port address as it is.
    void keepPins();

    Pins fixed_;
    uint16_t shadow_ = 0;
};
