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

class FtdiThreeWireLine : public FtdiLine {
public:
    struct Pins {
        int32_t data, clock, update;
    };

    int32_t Initialise() override;
    void RestoreSettings() override;
    void SaveSettings() override;
    // The adaptor stays open until the object is released.
    int32_t ClosePort() override { return 0; }

    void SDATA(int32_t level) override;
    void SCLCK(int32_t level) override;
    void IOUPD(int32_t level) override;
    void Out8(uint8_t value) override { sequenceOut8(value, true); }
    void Out8LSB(uint8_t value) override { sequenceOut8(value, false); }
    void Out16(uint16_t value) override { sequenceOut16(value); }
    int32_t SendSeqMSB(std::span<const uint8_t> bytes, int32_t count) override {
        return sequenceSend(bytes, count, true);
    }
    int32_t SendSeqLSB(std::span<const uint8_t> bytes, int32_t count) override {
        return sequenceSend(bytes, count, false);
    }

protected:
    FtdiThreeWireLine(std::string className, const Adaptor& adaptor, const Pins& pins,
                      ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing);
    ~FtdiThreeWireLine() override;

private:
    void setLine(int32_t pinNo, bool level);

    Pins fixed_;
    uint16_t shadow_ = 0;
    // Kept under the parallel port's keys, which a model's section shares with that interface. They
    // are read and written back only: the lines always move the adaptor's fixed pins, never inverted.
    int32_t portAddress_ = 888;
    bool inverting_ = false;
    Pins stored_;
};
